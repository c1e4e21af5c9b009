// The settings catalogue: the flag strings, where a stored letter is found, the first start's
// defaults (held in memory when the store refuses them) and the reads that fall back silently,
// over seeded stores.
#include "platform/base/failure.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <functional>

#include <sys/stat.h>

using namespace velmora;
using velmora::test::TemporaryStore;
using FirstStart = velmora::catalogue::FirstStart;

namespace {

// The program's key in the store file at the path, compact; "" when there is none.
QByteArray storedProgramKey(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonValue key = QJsonDocument::fromJson(file.readAll())
                               .object()
                               .value(QStringLiteral("HKEY_LOCAL_MACHINE"))
                               .toObject()
                               .value(QStringLiteral("SOFTWARE\\Velmora\\3.2"));
    return key.isObject() ? QJsonDocument(key.toObject()).toJson(QJsonDocument::Compact)
                          : QByteArray();
}

// What a call fails with, or "" when it does not fail.
QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return {};
}

const QByteArray kDefaults = R"({"Auto update":"true","Detailed solution":"true",)"
                             R"("Keep window position":"true","Language":"%1",)"
                             R"("Replacement":"y"})";

} // namespace

class TstCatalogue : public QObject {
    Q_OBJECT

private slots:
    void flags_data();
    void flags();
    void replacementPosition_data();
    void replacementPosition();
    void firstRunDefaults_data();
    void firstRunDefaults();
    void unusableStoreHoldsTheDefaults_data();
    void unusableStoreHoldsTheDefaults();
    void fallbacks_data();
    void fallbacks();
};

void TstCatalogue::flags_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<catalogue::Flag>("flag");
    QTest::newRow("true") << "true" << catalogue::Flag::True;
    QTest::newRow("false") << "false" << catalogue::Flag::False;
    QTest::newRow("capitals are neither") << "TRUE" << catalogue::Flag::Neither;
    QTest::newRow("padded is neither") << " true" << catalogue::Flag::Neither;
    QTest::newRow("1 is neither") << "1" << catalogue::Flag::Neither;
    QTest::newRow("empty is neither") << "" << catalogue::Flag::Neither;
}

void TstCatalogue::flags() {
    QFETCH(QString, text);
    QFETCH(catalogue::Flag, flag);
    QCOMPARE(catalogue::flagOf(text), flag);
    if (flag != catalogue::Flag::Neither)
        QCOMPARE(catalogue::flagText(flag == catalogue::Flag::True), text);
}

void TstCatalogue::replacementPosition_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // -1: not found
    QTest::newRow("a is the first item") << "a" << 0;
    QTest::newRow("y is item 23, after w") << "y" << 23;
    QTest::newRow("z is the last item") << "z" << 24;
    QTest::newRow("mn found where m is") << "mn" << 12;
    QTest::newRow("x is not offered") << "x" << -1;
    QTest::newRow("capital Y is not found") << "Y" << -1;
    QTest::newRow("empty text is not found") << "" << -1;
    QTest::newRow("wx spans the gap: not found") << "wx" << -1;
}

void TstCatalogue::replacementPosition() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(catalogue::replacementPosition(text).value_or(-1), position);
}

void TstCatalogue::firstRunDefaults_data() {
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<FirstStart>("result");
    QTest::addColumn<QByteArray>("programKey"); // as stored afterwards, compact

    QTest::newRow("no store, Russian locale") << QByteArray() << "ru_RU" << FirstStart::Written
                                              << QByteArray(kDefaults).replace("%1", "Russian");
    QTest::newRow("empty store, Ukrainian locale")
        << QByteArray("{}") << "uk_UA" << FirstStart::Written
        << QByteArray(kDefaults).replace("%1", "Ukrainian");
    QTest::newRow("other roots only, German locale")
        << QByteArray(R"({"HKEY_CURRENT_USER":{"Control Panel\Desktop":{"LogPixels":96}}})")
        << "de_DE" << FirstStart::Written << QByteArray(kDefaults).replace("%1", "English");
    QTest::newRow("C locale") << QByteArray() << "C" << FirstStart::Written
                              << QByteArray(kDefaults).replace("%1", "English");
    QTest::newRow("an empty key is left alone")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{}}})") << "ru_RU"
        << FirstStart::NotFirst << QByteArray("{}");
    QTest::newRow("a key with values is left alone")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Language":"English"}}})")
        << "ru_RU" << FirstStart::NotFirst << QByteArray(R"({"Language":"English"})");
}

void TstCatalogue::firstRunDefaults() {
    QFETCH(QByteArray, store);
    QFETCH(QString, locale);
    QFETCH(FirstStart, result);
    QFETCH(QByteArray, programKey);
    TemporaryStore temporary;
    if (!store.isNull())
        temporary.seed(store);
    QCOMPARE(catalogue::writeFirstRunDefaults(locale), result);
    QCOMPARE(storedProgramKey(temporary.path()), programKey);
}

void TstCatalogue::unusableStoreHoldsTheDefaults_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("folder") << "folder";
    QTest::newRow("below a plain file") << "blocked";
}

// A store that can be neither read nor written: the first start's values are held in memory,
// so the windows have their language and the solver its letter, and the store is left alone.
void TstCatalogue::unusableStoreHoldsTheDefaults() {
    QFETCH(QString, kind);
    TemporaryStore temporary;
    const QByteArray path = QFile::encodeName(temporary.path());
    if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(path.constData(), 0600) == 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(temporary.path()));
    else
        temporary.refuseWrites();

    QCOMPARE(catalogue::writeFirstRunDefaults(QStringLiteral("uk_UA")), FirstStart::HeldInMemory);
    const auto forget = qScopeGuard([] { catalogue::forgetHeldFirstStartValues(); });
    QCOMPARE(catalogue::startupLanguage(), QStringLiteral("Ukrainian"));
    QCOMPARE(catalogue::read(catalogue::AutoUpdate), QStringLiteral("true"));
    QCOMPARE(catalogue::read(catalogue::DetailedSolution), QStringLiteral("true"));
    QCOMPARE(catalogue::read(catalogue::KeepWindowPosition), QStringLiteral("true"));
    QCOMPARE(catalogue::read(catalogue::Replacement), QStringLiteral("y"));
    // Values outside the first start's set read as the store gives them.
    QCOMPARE(catalogue::read(catalogue::HelpIndex), QString());

    // Writes are refused as before, and the values stay held.
    QCOMPARE(failureOf([] { catalogue::write(catalogue::WindowLeft, 5); }),
             QStringLiteral("Failed to set data for 'Keep window position_x'"));
    QCOMPARE(failureOf([] { catalogue::write(catalogue::Language, QStringLiteral("English")); }),
             QStringLiteral("Failed to set data for 'Language'"));
    QCOMPARE(catalogue::read(catalogue::Language), QStringLiteral("Ukrainian"));
    if (kind == QLatin1String("fifo")) {
        struct stat status {};
        QVERIFY(::lstat(path.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    }

    // A store that takes writes again gets the held values with the first write, so the next
    // start finds a whole key; from then on the store is read.
    TemporaryStore usable;
    catalogue::write(catalogue::WindowLeft, 5);
    QCOMPARE(storedProgramKey(usable.path()),
             QByteArray(R"({"Auto update":"true","Detailed solution":"true",)"
                        R"("Keep window position":"true","Keep window position_x":5,)"
                        R"("Language":"Ukrainian","Replacement":"y"})"));
    usable.seed(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Language":"English"}}})");
    QCOMPARE(catalogue::read(catalogue::Language), QStringLiteral("English"));
    QCOMPARE(catalogue::read(catalogue::Replacement), QString());
}

void TstCatalogue::fallbacks_data() {
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("commonAppData"); // "XDG": the user's XDG data folder
    QTest::addColumn<int>("left");              // -1: no value
    QTest::addColumn<QString>("version");

    QTest::newRow("nothing stored") << QByteArray("{}") << ""
                                    << "XDG" << -1 << "";
    QTest::newRow("strings and integers as stored") << QByteArray(R"({"HKEY_LOCAL_MACHINE":{
            "SOFTWARE\\Velmora\\3.2":{"Language":"English","Keep window position_x":-12},
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders":
                {"Common AppData":"/srv/shared"},
            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion":{"CurrentVersion":"6.1"}}})")
                                                    << "English"
                                                    << "/srv/shared" << -12 << "6.1";
    QTest::newRow("wrong types fall back") << QByteArray(R"({"HKEY_LOCAL_MACHINE":{
            "SOFTWARE\\Velmora\\3.2":{"Language":3,"Keep window position_x":"40"},
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders":
                {"Common AppData":7},
            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion":{"CurrentVersion":61}}})")
                                           << "Russian"
                                           << "XDG" << -1 << "0";
    QTest::newRow("value names ignore case")
        << QByteArray(
               R"({"HKEY_LOCAL_MACHINE":{"software\\velmora\\3.2":{"LANGUAGE":"Ukrainian"}}})")
        << "Ukrainian"
        << "XDG" << -1 << "";
}

void TstCatalogue::fallbacks() {
    QFETCH(QByteArray, store);
    QFETCH(QString, language);
    QFETCH(QString, commonAppData);
    QFETCH(int, left);
    QFETCH(QString, version);
    TemporaryStore temporary;
    temporary.seed(store);
    if (commonAppData == QLatin1String("XDG"))
        commonAppData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);

    QCOMPARE(catalogue::startupLanguage(), language);
    QCOMPARE(catalogue::commonAppDataFolder(), commonAppData);
    QCOMPARE(catalogue::storedEdge(catalogue::WindowLeft).value_or(-1), left);
    QCOMPARE(catalogue::windowsVersion(), version);
    // Reading never writes: the store file is as it was seeded.
    QFile file(temporary.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), store);
}

QTEST_GUILESS_MAIN(TstCatalogue)
#include "tst_catalogue.moc"
