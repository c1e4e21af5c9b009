// Start-up and close of the main window over seeded stores: the language, the update mode, the
// window's place and height, the screen-scale check, the leftover update files (left alone while
// another instance uses them), a store that cannot be used, the position written on close and a
// close abandoned after a refused write.
#include "about/aboutdialog.h"
#include "app/entry.h"
#include "app/mainwindow.h"
#include "settings/settingsdialog.h"
#include "state/global.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"
#include "update/updatedialog.h"
#include "update/updatefolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include <sys/stat.h>

using velmora::AnswerNo;
using velmora::AnswerOk;
using velmora::AnswerYes;
using velmora::TextTable;
using velmora::UpdateMode;
using velmora::test::MessageBoxRecorder;
using velmora::test::ShownBox;
using velmora::test::TemporaryStore;

namespace {

const QString kProgramKey = QStringLiteral("SOFTWARE\\Velmora\\3.2");

// One stored value: "ROOT|key path|name" and its JSON value.
using Seed = QList<std::pair<QString, QJsonValue>>;

QString program(const char* name) {
    return QStringLiteral("HKEY_LOCAL_MACHINE|") + kProgramKey + QLatin1Char('|') +
           QLatin1String(name);
}
const QString kVersion =
    QStringLiteral("HKEY_LOCAL_MACHINE|SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion|"
                   "CurrentVersion");
const QString kUserDpi = QStringLiteral("HKEY_CURRENT_USER|Control Panel\\Desktop|LogPixels");
const QString kConfigDpi = QStringLiteral("HKEY_CURRENT_CONFIG|Software\\Fonts|LogPixels");
const QString kCommonAppData = QStringLiteral(
    "HKEY_LOCAL_MACHINE|SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
    "Folders|Common AppData");

// The program's key is always there, if only empty, so no row is a user's first start.
QByteArray storeJson(const Seed& seed) {
    QJsonObject roots{
        {QStringLiteral("HKEY_LOCAL_MACHINE"), QJsonObject{{kProgramKey, QJsonObject()}}}};
    for (const auto& [place, value] : seed) {
        const QStringList parts = place.split(QLatin1Char('|'));
        QJsonObject keys = roots.value(parts[0]).toObject();
        QJsonObject values = keys.value(parts[1]).toObject();
        values.insert(parts[2], value);
        keys.insert(parts[1], values);
        roots.insert(parts[0], keys);
    }
    return QJsonDocument(roots).toJson();
}

QJsonValue storedValue(const QString& storePath, const QString& place) {
    QFile file(storePath);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonValue(QJsonValue::Undefined);
    const QStringList parts = place.split(QLatin1Char('|'));
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(parts[0])
        .toObject()
        .value(parts[1])
        .toObject()
        .value(parts[2]);
}

QString boxText(const ShownBox& box) {
    return QStringLiteral("%1 | %2 | 0x%3").arg(box.caption, box.text).arg(box.flags, 0, 16);
}

// Texts of the fixture language, so every box shows which lines it took.
const QByteArray kFixtureLanguage = "[Main Menu]\n1=File\n"
                                    "[Messages]\n1=information caption\n2=scale caption\n"
                                    "3=error caption\n4=scale question\n5=scale notice\n";

// A store that is not JSON: cut short after its first value.
const QByteArray kDamagedStore =
    R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Language": "English", )";

// The copies of damaged stores kept beside the store, with their bytes.
QMap<QString, QByteArray> keptCopies(const QString& storePath) {
    QMap<QString, QByteArray> copies;
    const QFileInfo store(storePath);
    const QDir folder = store.absoluteDir();
    for (const QString& name :
         folder.entryList({store.fileName() + QStringLiteral(".corrupt-*")}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            copies.insert(folder.filePath(name), file.readAll());
    }
    return copies;
}

} // namespace

class TstStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // First: a later row whose update mode is "auto" starts a check, which opens the library.
    void startLoadsNoTransferOrCryptoLibrary();
    void startUp_data();
    void startUp();
    void storeWithoutAUsableLanguageShowsTheLocales_data();
    void storeWithoutAUsableLanguageShowsTheLocales();
    void firstStartWritesInstallerDefaults();
    void failedStepIsReportedAndStartupGoesOn();
    void leftoverUpdateFilesAreDeleted_data();
    void leftoverUpdateFilesAreDeleted();
    void closeWritesBothEdges_data();
    void closeWritesBothEdges();
    void refusedCloseIsReportedOnceAndTheNextOneEnds();
    void unusableStoreStartsWithTheFirstStartValues_data();
    void unusableStoreStartsWithTheFirstStartValues();
    void damagedStoreIsToldOnceAfterTheLanguage_data();
    void damagedStoreIsToldOnceAfterTheLanguage();
    void damagedStoreFoundLaterIsToldAtOnce();

private:
    // Points the data folder at one whose three language files hold the fixture's texts and a
    // notice line, so whichever language start-up picks, its texts are known.
    void useNoticeLanguage(QTemporaryDir& data);

    // The result of the program's event loop run briefly: 0 when the start-up asked the
    // program to end, -1 when the loop was still running after a while.
    static int runEventLoopBriefly();

    QTemporaryDir m_data;
    std::unique_ptr<TemporaryStore> m_store;
};

void TstStartup::initTestCase() {
    QVERIFY(m_data.isValid());
    QVERIFY(QDir(m_data.path()).mkpath(QStringLiteral("language")));
    QFile language(m_data.filePath(QStringLiteral("language/Russian.lng")));
    QVERIFY(language.open(QIODevice::WriteOnly));
    language.write(kFixtureLanguage);
    qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit());
}

void TstStartup::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    // The tables and the shared state outlive a window; start every row from nothing.
    for (int table = 0; table < velmora::Global::TableCount; ++table)
        for (int line = 1; line <= velmora::Global::LinesPerTable; ++line)
            velmora::Global::setText(static_cast<TextTable>(table), line, QString());
    velmora::Global::setLanguageName(QString());
    velmora::Global::setUpdateMode(UpdateMode::None);
    // A locale of the English interface, whatever the machine's.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TstStartup::cleanup() {
    QLocale::setDefault(QLocale::system());
    velmora::destroyWindows();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

int TstStartup::runEventLoopBriefly() {
    // A timer of this call only, so it cannot end a later row's loop.
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &fallback, [] { QCoreApplication::exit(-1); });
    fallback.start(200);
    return QCoreApplication::exec();
}

void TstStartup::startUp_data() {
    QTest::addColumn<Seed>("seed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("languageName");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<UpdateMode>("updateMode");
    QTest::addColumn<QString>("position"); // "default", "centred" or "x,y"
    QTest::addColumn<QString>("view");     // client height and N5
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("dpiPlace");
    QTest::addColumn<QJsonValue>("dpiAfter");
    QTest::addColumn<bool>("ends");

    const QString shown = QStringLiteral("498, N5 checked");
    const QString hidden = QStringLiteral("354, N5 unchecked");
    const QJsonValue none(QJsonValue::Undefined);
    const QStringList noBoxes;
    const QString question = QStringLiteral("scale caption | scale question | 0x34");
    const QString notice = QStringLiteral("information caption | scale notice | 0x40");
    const auto language = [](const char* name) {
        return Seed{{program("Language"), QString::fromLatin1(name)}};
    };
    const auto keep = [](const QJsonValue& flag, const QJsonValue& x, const QJsonValue& y) {
        Seed seed{{program("Language"), QStringLiteral("Russian")},
                  {program("Keep window position"), flag}};
        if (!x.isUndefined())
            seed.append({program("Keep window position_x"), x});
        if (!y.isUndefined())
            seed.append({program("Keep window position_y"), y});
        return seed;
    };
    const auto scale = [](const char* version, const QString& dpiPlace, const QJsonValue& dpi) {
        Seed seed{{program("Language"), QStringLiteral("Russian")},
                  {kVersion, QString::fromLatin1(version)}};
        if (!dpi.isUndefined())
            seed.append({dpiPlace, dpi});
        return seed;
    };

    // The locale's language is English (see init()), whose file the fixture lacks.
    QTest::newRow("fresh empty key: no language, custom, default place, designed height")
        << Seed{} << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("language Russian loads its file")
        << language("Russian") << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("language stored as a number reads as Russian")
        << Seed{{program("Language"), 7}} << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("unknown language: the locale's")
        << language("German") << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("auto update true")
        << Seed{{program("Auto update"), QStringLiteral("true")}} << AnswerOk << "English"
        << "" << UpdateMode::Auto << "default" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("auto update TRUE is not true")
        << Seed{{program("Auto update"), QStringLiteral("TRUE")}} << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none << false;

    QTest::newRow("keep position true restores both edges")
        << keep(QStringLiteral("true"), 40, 30) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "40,30" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("keep position true, partly off the screen: moved onto it")
        << keep(QStringLiteral("true"), -100, 20) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "0,20" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("keep position true, only y stored: x centred")
        << keep(QStringLiteral("true"), none, 30) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "centred x,30" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("keep position true, x stored as a string: x centred")
        << keep(QStringLiteral("true"), QStringLiteral("40"), 30) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "centred x,30" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("keep position true, nothing stored: centred")
        << keep(QStringLiteral("true"), none, none) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "centred" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("keep position true, a screen that is gone: centred")
        << keep(QStringLiteral("true"), 5000, -3000) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "centred" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("keep position false: centred, stored edges ignored")
        << keep(QStringLiteral("false"), 40, 30) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "centred" << shown << noBoxes << kUserDpi << none
        << false;
    QTest::newRow("keep position TRUE: default place")
        << keep(QStringLiteral("TRUE"), 40, 30) << AnswerOk << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none
        << false;

    QTest::newRow("detailed solution false: hidden")
        << Seed{{program("Detailed solution"), QStringLiteral("false")}} << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << hidden << noBoxes << kUserDpi << none << false;
    QTest::newRow("detailed solution true: shown")
        << Seed{{program("Detailed solution"), QStringLiteral("true")}} << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none << false;
    QTest::newRow("detailed solution other text: designed state")
        << Seed{{program("Detailed solution"), QStringLiteral("no")}} << AnswerOk << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << none << false;

    QTest::newRow("6.1 without LogPixels: 96 written silently")
        << scale("6.1", kUserDpi, none) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi
        << QJsonValue(96) << false;
    QTest::newRow("6.1 LogPixels stored as a string: 96 written silently")
        << scale("6.1", kUserDpi, QStringLiteral("120")) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi
        << QJsonValue(96) << false;
    QTest::newRow("6.1 LogPixels 96: no question")
        << scale("6.1", kUserDpi, 96) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi
        << QJsonValue(96) << false;
    QTest::newRow("6.1 LogPixels 120, No: start-up goes on")
        << scale("6.1", kUserDpi, 120) << AnswerNo << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << QStringList{question} << kUserDpi
        << QJsonValue(120) << false;
    QTest::newRow("6.1 LogPixels 120, Yes: 96, notice, the program ends")
        << scale("6.1", kUserDpi, 120) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << QStringList{question, notice}
        << kUserDpi << QJsonValue(96) << true;
    QTest::newRow("6.1 LogPixels 288 holds as 32: no question")
        << scale("6.1", kUserDpi, 288) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi
        << QJsonValue(288) << false;
    QTest::newRow("6.0 LogPixels 120 in the config key, Yes")
        << scale("6.0", kConfigDpi, 120) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << QStringList{question, notice}
        << kConfigDpi << QJsonValue(96) << true;
    QTest::newRow("5.1 without LogPixels: nothing written, no question")
        << scale("5.1", kConfigDpi, none) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kConfigDpi << none
        << false;
    QTest::newRow("other version: no check")
        << scale("10.0", kUserDpi, 120) << AnswerYes << "Russian"
        << "File" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi
        << QJsonValue(120) << false;
    QTest::newRow("version stored as a number reads as 0: no check")
        << Seed{{kVersion, 61}, {kUserDpi, 120}} << AnswerYes << "English"
        << "" << UpdateMode::Custom << "default" << shown << noBoxes << kUserDpi << QJsonValue(120)
        << false;
}

void TstStartup::startUp() {
    QFETCH(Seed, seed);
    QFETCH(int, answer);
    QFETCH(QString, languageName);
    QFETCH(QString, fileMenu);
    QFETCH(UpdateMode, updateMode);
    QFETCH(QString, position);
    QFETCH(QString, view);
    QFETCH(QStringList, boxes);
    QFETCH(QString, dpiPlace);
    QFETCH(QJsonValue, dpiAfter);
    QFETCH(bool, ends);

    m_store->seed(storeJson(seed));
    MessageBoxRecorder recorder(answer);
    velmora::createWindows();
    velmora::TForm1* window = velmora::mainWindow();
    QVERIFY(window && velmora::test::aboutDialog() && velmora::test::settingsDialog() &&
            velmora::test::updateDialog());

    QCOMPARE(velmora::Global::languageName(), languageName);
    QCOMPARE(window->findChild<QMenu*>(QStringLiteral("N1"))->menuAction()->iconText(), fileMenu);
    QCOMPARE(velmora::Global::updateMode(), updateMode);

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint centred((screen.width() - 264) / 2, (screen.height() - 498) / 2);
    QString expected = position;
    expected.replace(QLatin1String("centred x"), QString::number(centred.x()));
    if (position == QLatin1String("centred"))
        expected = QStringLiteral("%1,%2").arg(centred.x()).arg(centred.y());
    const QString placed = window->testAttribute(Qt::WA_Moved)
                               ? QStringLiteral("%1,%2").arg(window->x()).arg(window->y())
                               : QStringLiteral("default");
    QCOMPARE(placed, expected);

    const QAction* n5 = window->findChild<QAction*>(QStringLiteral("N5"));
    QCOMPARE(QStringLiteral("%1, N5 %2")
                 .arg(window->clientHeight())
                 .arg(QLatin1String(n5->isChecked() ? "checked" : "unchecked")),
             view);

    QStringList shownBoxes;
    for (const ShownBox& box : recorder.boxes)
        shownBoxes << boxText(box);
    QCOMPARE(shownBoxes, boxes);
    QCOMPARE(storedValue(m_store->path(), dpiPlace), dpiAfter);
    QCOMPARE(runEventLoopBriefly(), ends ? 0 : -1);
}

// A store that names no language, or one whose file is missing, starts in the locale's
// language with every caption, as a first start does, and is left as it is.
void TstStartup::storeWithoutAUsableLanguageShowsTheLocales_data() {
    QTest::addColumn<QJsonValue>("stored"); // "Language"; undefined: none
    QTest::addColumn<QStringList>("files"); // the language files there are
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("language");

    const QStringList all = {"Russian", "English", "Ukrainian"};
    const QJsonValue none(QJsonValue::Undefined);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("no Language, Russian locale") << none << all << russian << "Russian";
    QTest::newRow("no Language, Ukrainian locale") << none << all << ukrainian << "Ukrainian";
    QTest::newRow("no Language, English locale") << none << all << english << "English";
    QTest::newRow("empty Language, Ukrainian locale")
        << QJsonValue("") << all << ukrainian << "Ukrainian";
    QTest::newRow("unknown Language, Russian locale")
        << QJsonValue("German") << all << russian << "Russian";
    QTest::newRow("Language in another case, English locale")
        << QJsonValue("ukrainian") << all << english << "English";
    QTest::newRow("Language whose file is missing, Ukrainian locale")
        << QJsonValue("English") << QStringList{"Russian", "Ukrainian"} << ukrainian << "Ukrainian";
    QTest::newRow("Language with its file wins over the locale")
        << QJsonValue("English") << all << russian << "English";
}

void TstStartup::storeWithoutAUsableLanguageShowsTheLocales() {
    QFETCH(QJsonValue, stored);
    QFETCH(QStringList, files);
    QFETCH(QLocale, locale);
    QFETCH(QString, language);

    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath(QStringLiteral("language")));
    for (const QString& name : files) {
        QFile file(data.filePath(QStringLiteral("language/%1.lng").arg(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Main Menu]\n1=%1 file\n[Square root]\n1=%1 equations\n"
                                  "6=%1 calculate\n")
                       .arg(name)
                       .toUtf8());
    }
    qputenv("VELMORA_DATA_DIR", data.path().toLocal8Bit());
    const auto restoreData =
        qScopeGuard([this] { qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit()); });
    QLocale::setDefault(locale);

    Seed seed;
    if (!stored.isUndefined())
        seed.append({program("Language"), stored});
    m_store->seed(storeJson(seed));
    QFile store(m_store->path());
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray before = store.readAll();
    store.close();

    velmora::createMainWindow();
    QCOMPARE(velmora::Global::languageName(), language);
    velmora::TForm1* window = velmora::mainWindow();
    QCOMPARE(window->findChild<QMenu*>(QStringLiteral("N1"))->menuAction()->iconText(),
             language + " file");
    QCOMPARE(window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabText(0),
             language + " equations");
    QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
             language + " calculate");
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll(), before);
}

// The transfer library and the twenty-odd libraries it needs are opened by the first download,
// not loaded with the program, where they would cost every start some milliseconds.
void TstStartup::startLoadsNoTransferOrCryptoLibrary() {
    m_store->seed(storeJson({}));
    velmora::createWindows();
    QCOMPARE(velmora::Global::updateMode(), UpdateMode::Custom);
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray loaded = maps.readAll();
    QVERIFY(loaded.contains("libQt6Widgets"));
    // Opened at the first download and the first check of an installer.
    QVERIFY(!loaded.contains("libcurl"));
    QVERIFY(!loaded.contains("libcrypto"));
    QVERIFY(!loaded.contains("libssl"));
}

void TstStartup::firstStartWritesInstallerDefaults() {
    // No key of the program at all: the installer's defaults are written before start-up
    // reads them, so the first start is not blank.
    m_store->seed("{}");
    velmora::createWindows();
    const QString language = velmora::Global::languageName();
    QVERIFY2(QStringList({"Russian", "English", "Ukrainian"}).contains(language),
             qPrintable(language));
    QCOMPARE(storedValue(m_store->path(), program("Replacement")), QJsonValue("y"));
    QCOMPARE(storedValue(m_store->path(), program("Keep window position")), QJsonValue("true"));
    QCOMPARE(velmora::Global::updateMode(), UpdateMode::Auto);
}

void TstStartup::failedStepIsReportedAndStartupGoesOn() {
    // "Auto update" of the wrong type fails unguarded: the report shows and the steps after it
    // (placing, the height) are skipped, yet all four windows are made.
    m_store->seed(storeJson({{program("Language"), QStringLiteral("Russian")},
                             {program("Auto update"), 1},
                             {program("Keep window position"), QStringLiteral("false")},
                             {program("Detailed solution"), QStringLiteral("false")}}));
    MessageBoxRecorder recorder;
    velmora::createWindows();
    QVERIFY(velmora::mainWindow() && velmora::test::aboutDialog() &&
            velmora::test::settingsDialog() && velmora::test::updateDialog());
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(boxText(recorder.boxes[0]),
             QStringLiteral("Velmora | Invalid data type for 'Auto update' | 0x10"));
    QCOMPARE(velmora::Global::languageName(), QStringLiteral("Russian"));
    QVERIFY(!velmora::mainWindow()->testAttribute(Qt::WA_Moved));
    QCOMPARE(velmora::mainWindow()->clientHeight(), 498);
}

void TstStartup::leftoverUpdateFilesAreDeleted_data() {
    // none, using the folder, killed while using it, or the second of two that use it, the first
    // of which has ended
    QTest::addColumn<QString>("otherInstance");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no other instance") << "none" << true;
    QTest::newRow("another instance uses the folder") << "using" << false;
    QTest::newRow("the instance that used it was killed") << "killed" << true;
    QTest::newRow("a second instance uses it after the first ended") << "second" << false;
}

void TstStartup::leftoverUpdateFilesAreDeleted() {
    QFETCH(QString, otherInstance);
    QFETCH(bool, deleted);
    QTemporaryDir common;
    const QDir update(common.filePath(QStringLiteral("Velmora/Update for 3.2")));
    QVERIFY(update.mkpath(QStringLiteral(".")));
    const QStringList leftovers = {"update.ums", "update.ums.AbCdEf", "setup",
                                   "setup.exe",  "setup.deb.new",     "setup.run.new.AbCdEf"};
    // Besides files of others, the installers a start that failed left for the user.
    const QStringList kept = {"notes.txt", "setupx.exe", "update.bak", "setup.deb",
                              "setup.AppImage"};
    for (const QString& name : leftovers + kept) {
        QFile file(update.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Other instances of the program, holding the folder as an update dialog does.
    QProcess other;
    QProcess first;
    const auto hold = [&update](QProcess& process) {
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--hold-update-folder"), update.path()});
        QVERIFY(process.waitForReadyRead(30000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("held"));
    };
    const auto endOther = qScopeGuard([&other, &first] {
        for (QProcess* process : {&other, &first}) {
            process->kill();
            process->waitForFinished(30000);
        }
    });
    if (otherInstance == QLatin1String("second"))
        hold(first);
    if (otherInstance != QLatin1String("none"))
        hold(other);
    if (otherInstance == QLatin1String("killed")) {
        other.kill();
        QVERIFY(other.waitForFinished(30000));
    }
    if (otherInstance == QLatin1String("second")) {
        first.kill();
        QVERIFY(first.waitForFinished(30000));
    }

    m_store->seed(storeJson({{kCommonAppData, common.path()}}));
    velmora::createWindows();
    QCOMPARE(velmora::Global::commonAppData(), common.path());
    QStringList remaining = update.entryList(QDir::Files);
    remaining.removeOne(QStringLiteral("update.lock"));
    remaining.sort();
    QStringList expected = kept;
    if (!deleted)
        expected += leftovers;
    expected.sort();
    QCOMPARE(remaining, expected);
}

void TstStartup::closeWritesBothEdges_data() {
    QTest::addColumn<bool>("minimised");
    QTest::newRow("normal window") << false;
    QTest::newRow("minimised window writes its restored place") << true;
}

void TstStartup::closeWritesBothEdges() {
    QFETCH(bool, minimised);
    // "Keep window position" is false: the edges are written all the same.
    m_store->seed(storeJson({{program("Keep window position"), QStringLiteral("false")}}));
    velmora::createWindows();
    velmora::TForm1* window = velmora::mainWindow();
    window->move(-37, 52);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    if (minimised)
        window->showMinimized();
    MessageBoxRecorder recorder;
    QVERIFY(window->close());
    QVERIFY(recorder.boxes.isEmpty());
    QCOMPARE(storedValue(m_store->path(), program("Keep window position_x")), QJsonValue(-37));
    QCOMPARE(storedValue(m_store->path(), program("Keep window position_y")), QJsonValue(52));
}

void TstStartup::refusedCloseIsReportedOnceAndTheNextOneEnds() {
    velmora::createWindows();
    velmora::TForm1* window = velmora::mainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    m_store->refuseWrites();

    MessageBoxRecorder recorder;
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(boxText(recorder.boxes[0]),
             QStringLiteral("Velmora | Failed to set data for 'Keep window position_x' | 0x10"));

    // The close that follows ends the program without writing, even into a store that would
    // take it now, and reports nothing more.
    qputenv("VELMORA_REGISTRY", m_store->path().toLocal8Bit());
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(storedValue(m_store->path(), program("Keep window position_x")),
             QJsonValue(QJsonValue::Undefined));
}

void TstStartup::unusableStoreStartsWithTheFirstStartValues_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("folder") << "folder";
    QTest::newRow("below a plain file") << "blocked";
}

// Neither read nor written: the windows come up with the first start's values in the locale's
// language, not blank, the user is told once, and the store is left as it was.
void TstStartup::unusableStoreStartsWithTheFirstStartValues() {
    QFETCH(QString, kind);
    QTemporaryDir data;
    useNoticeLanguage(data);
    const auto restoreData =
        qScopeGuard([this] { qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit()); });
    const QString path = m_store->path();
    if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else
        m_store->refuseWrites();
    const QString store = qEnvironmentVariable("VELMORA_REGISTRY");
    const QFileInfo before(store);

    MessageBoxRecorder recorder;
    velmora::createWindows();
    QVERIFY(velmora::mainWindow() && velmora::test::aboutDialog() &&
            velmora::test::settingsDialog() && velmora::test::updateDialog());

    const QString language = velmora::Global::languageName();
    QVERIFY2(QStringList({"Russian", "English", "Ukrainian"}).contains(language),
             qPrintable(language));
    QCOMPARE(
        velmora::mainWindow()->findChild<QMenu*>(QStringLiteral("N1"))->menuAction()->iconText(),
        QStringLiteral("File"));
    QCOMPARE(velmora::Global::updateMode(), UpdateMode::Auto);
    QCOMPARE(velmora::mainWindow()->clientHeight(), 498);
    QCOMPARE(velmora::catalogue::read(velmora::catalogue::Replacement), QStringLiteral("y"));
    QStringList shownBoxes;
    for (const ShownBox& box : recorder.boxes)
        shownBoxes << boxText(box);
    QCOMPARE(shownBoxes,
             QStringList{QStringLiteral("information caption | cannot use %1 | 0x40").arg(store)});

    const QFileInfo after(store);
    QCOMPARE(after.exists(), before.exists());
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isFile(), before.isFile());
}

void TstStartup::useNoticeLanguage(QTemporaryDir& data) {
    QVERIFY(QDir(data.path()).mkpath(QStringLiteral("language")));
    for (const char* name : {"Russian", "English", "Ukrainian"}) {
        QFile language(data.filePath(QStringLiteral("language/%1.lng").arg(QLatin1String(name))));
        QVERIFY(language.open(QIODevice::WriteOnly));
        language.write(kFixtureLanguage + "[More]\n3=kept as %1\n9=cannot use %1\n");
    }
    qputenv("VELMORA_DATA_DIR", data.path().toLocal8Bit());
}

void TstStartup::damagedStoreIsToldOnceAfterTheLanguage_data() {
    QTest::addColumn<bool>("languageFiles");
    QTest::addColumn<QString>("box"); // %1: the kept copy
    QTest::newRow("in the language start-up loads")
        << true << QStringLiteral("information caption | kept as %1 | 0x40");
    QTest::newRow("no language file: in English")
        << false
        << QStringLiteral("Information | The settings file was damaged and has been kept as %1; "
                          "Velmora starts with default settings. | 0x40");
}

void TstStartup::damagedStoreIsToldOnceAfterTheLanguage() {
    QFETCH(bool, languageFiles);
    QFETCH(QString, box);
    QTemporaryDir data;
    if (languageFiles)
        useNoticeLanguage(data);
    else
        qputenv("VELMORA_DATA_DIR", data.path().toLocal8Bit());
    const auto restoreData =
        qScopeGuard([this] { qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit()); });
    m_store->seed(kDamagedStore);

    MessageBoxRecorder recorder;
    velmora::createWindows();

    // Kept byte for byte; the first start's defaults then fill a fresh store.
    const QMap<QString, QByteArray> kept = keptCopies(m_store->path());
    QCOMPARE(kept.values(), QList<QByteArray>{kDamagedStore});
    QCOMPARE(storedValue(m_store->path(), program("Replacement")), QJsonValue("y"));
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(boxText(recorder.boxes[0]), box.arg(kept.firstKey()));
}

void TstStartup::damagedStoreFoundLaterIsToldAtOnce() {
    QTemporaryDir data;
    useNoticeLanguage(data);
    const auto restoreData =
        qScopeGuard([this] { qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit()); });
    m_store->seed(storeJson({{program("Language"), QStringLiteral("Russian")}}));
    velmora::createWindows();

    // Damaged while the program runs: the next read sets it aside and tells it there and then.
    m_store->seed(kDamagedStore);
    MessageBoxRecorder recorder;
    QCOMPARE(velmora::catalogue::read(velmora::catalogue::Replacement), QString());
    const QMap<QString, QByteArray> kept = keptCopies(m_store->path());
    QCOMPARE(kept.values(), QList<QByteArray>{kDamagedStore});
    QCOMPARE(recorder.boxes.size(), 1);
    QCOMPARE(boxText(recorder.boxes[0]),
             QStringLiteral("information caption | kept as %1 | 0x40").arg(kept.firstKey()));

    // Told once: the store now reads as the fresh one it is.
    QCOMPARE(velmora::catalogue::read(velmora::catalogue::Replacement), QString());
    QCOMPARE(recorder.boxes.size(), 1);
}

int main(int argc, char* argv[]) {
    // Another instance of the program for the leftovers' test: holds the update folder until it
    // is killed.
    if (argc == 3 && QByteArray(argv[1]) == "--hold-update-folder") {
        QCoreApplication application(argc, argv);
        const std::shared_ptr<void> hold =
            velmora::holdUpdateFolder(QString::fromLocal8Bit(argv[2]));
        std::printf("%s\n", hold ? "held" : "not held");
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    // As QTEST_MAIN does it.
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TstStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
