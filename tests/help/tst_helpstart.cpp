// The help program: the language and the first page it chooses from the settings, "Help index"
// cleared once it has opened the version history, the pages found as installed or in English,
// and the window following links back and forth.
#include "help/helpinstance.h"
#include "help/helpstart.h"
#include "help/helpwindow.h"
#include "platform/base/failure.h"
#include "platform/store/registry.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

using velmora::test::TemporaryStore;

namespace {

const QString kData = QStringLiteral(VELMORA_BUILD_DATA_DIR);

QString storeWith(const QString& values) {
    return QStringLiteral(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {%1}}})")
        .arg(values);
}

// "Help index" as stored: its text, "<missing>", or "<not a string>".
QString storedHelpIndex() {
    try {
        velmora::Registry registry;
        if (!registry.openKey(QStringLiteral("SOFTWARE\\Velmora\\3.2"), false))
            return QStringLiteral("<missing>");
        const QString text = registry.readString(QStringLiteral("Help index"));
        QFile store(velmora::Registry::storePath());
        store.open(QIODevice::ReadOnly);
        return store.readAll().contains("Help index") ? text : QStringLiteral("<missing>");
    } catch (const velmora::Failure&) {
        return QStringLiteral("<not a string>");
    }
}

} // namespace

class TstHelpStart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pageLanguage_data();
    void pageLanguage();
    void startPage_data();
    void startPage();
    void refusedClearStillOpensTheHistory();
    void englishWhenALanguageHasNoPages();
    void damagedSettingsAreNamed();
    void windowFollowsLinks();
    void windowWithoutPages();
    void laterHelpProgramsShowTheirPageInTheOpenWindow();

private:
    std::unique_ptr<TemporaryStore> m_store;
};

// F1 pressed three times: the help program started while a help window is open hands that
// window the page it was asked for and ends, so one help window serves the session. This test
// holds the open window; the programs started after it hand over to it.
void TstHelpStart::laterHelpProgramsShowTheirPageInTheOpenWindow() {
    m_store->seed(storeWith(R"("Language": "English")").toUtf8());
    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("update.html")));
    window.show();
    velmora::help::HelpInstance instance(&window);
    QVERIFY(instance.listen());

    const auto startHelp = [] {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(VELMORA_HELP_PROGRAM), QStringList());
        return process;
    };
    const auto pageShown = [&] {
        return QFileInfo(window.browser()->source().toLocalFile()).fileName();
    };
    // Contents, twice: each program ends, the window shows the contents.
    for (int press = 0; press < 2; ++press) {
        std::unique_ptr<QProcess> help(startHelp());
        // The program waits for the window's answer, and the window answers from this event
        // loop, so the loop runs while the program finishes.
        QTRY_VERIFY_WITH_TIMEOUT(help->state() == QProcess::NotRunning, 10000);
        QCOMPARE(help->exitStatus(), QProcess::NormalExit);
        QCOMPARE(help->exitCode(), 0);
        QCOMPARE(pageShown(), QStringLiteral("index.html"));
    }
    // The About dialog's version history: the page asked for, and the request cleared.
    m_store->seed(storeWith(R"("Language": "English", "Help index": "version history")").toUtf8());
    std::unique_ptr<QProcess> help(startHelp());
    QTRY_VERIFY_WITH_TIMEOUT(help->state() == QProcess::NotRunning, 10000);
    QCOMPARE(help->exitCode(), 0);
    QCOMPARE(pageShown(), QStringLiteral("history.html"));
    QCOMPARE(storedHelpIndex(), QString());
    QVERIFY(window.isVisible());
}

void TstHelpStart::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    // The pages as the build stages them, laid out as installed.
    qputenv("VELMORA_DATA_DIR", kData.toLocal8Bit());
}

void TstHelpStart::cleanup() {
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstHelpStart::pageLanguage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("folder");

    QTest::newRow("Russian") << "Russian"
                             << "en_US"
                             << "ru";
    QTest::newRow("English") << "English"
                             << "ru_RU"
                             << "en";
    QTest::newRow("Ukrainian") << "Ukrainian"
                               << "en_US"
                               << "uk";
    QTest::newRow("names compare exactly") << "russian"
                                           << "de_DE"
                                           << "en";
    QTest::newRow("no name, Ukrainian locale") << ""
                                               << "uk_UA"
                                               << "uk";
    QTest::newRow("no name, Russian locale") << ""
                                             << "ru_UA"
                                             << "ru";
    QTest::newRow("no name, other locale") << ""
                                           << "C"
                                           << "en";
}

void TstHelpStart::pageLanguage() {
    QFETCH(QString, name);
    QFETCH(QString, locale);
    QFETCH(QString, folder);
    QCOMPARE(velmora::help::pageLanguage(name, locale), folder);
}

void TstHelpStart::startPage_data() {
    QTest::addColumn<QString>("store");
    QTest::addColumn<QString>("page"); // language folder and page
    QTest::addColumn<QString>("indexAfter");

    QTest::newRow("contents in Russian") << storeWith(R"("Language": "Russian")") << "ru/index.html"
                                         << "<missing>";
    QTest::newRow("version history, then cleared")
        << storeWith(R"("Language": "English", "Help index": "version history")")
        << "en/history.html"
        << "";
    QTest::newRow("another index opens the contents and stays")
        << storeWith(R"("Language": "Ukrainian", "Help index": "contents")") << "uk/index.html"
        << "contents";
    QTest::newRow("index compared exactly")
        << storeWith(R"("Language": "Ukrainian", "Help index": "Version history")")
        << "uk/index.html"
        << "Version history";
    QTest::newRow("index of another type is left alone")
        << storeWith(R"("Language": "English", "Help index": 7)") << "en/index.html"
        << "<not a string>";
    QTest::newRow("language of another type reads as Russian")
        << storeWith(R"("Language": 1)") << "ru/index.html"
        << "<missing>";
    QTest::newRow("no settings: the locale's language") << ""
                                                        << "en/index.html"
                                                        << "<missing>";
}

void TstHelpStart::startPage() {
    QFETCH(QString, store);
    QFETCH(QString, page);
    QFETCH(QString, indexAfter);

    if (!store.isEmpty())
        m_store->seed(store.toUtf8());
    const velmora::help::StartPage start = velmora::help::chooseStartPage(QStringLiteral("C"));
    QCOMPARE(start.language + u'/' + start.page, page);
    QCOMPARE(start.path, kData + QStringLiteral("/help/") + page);
    QCOMPARE(storedHelpIndex(), indexAfter);
}

void TstHelpStart::refusedClearStillOpensTheHistory() {
    m_store->seed(storeWith(R"("Language": "English", "Help index": "version history")").toUtf8());
    // A folder where the store's lock file goes: reads work, every write is refused.
    QVERIFY(QDir().mkpath(m_store->path() + QStringLiteral(".lock")));
    const velmora::help::StartPage start = velmora::help::chooseStartPage(QStringLiteral("C"));
    QCOMPARE(start.page, QStringLiteral("history.html"));
    QCOMPARE(storedHelpIndex(), QStringLiteral("version history"));
}

void TstHelpStart::englishWhenALanguageHasNoPages() {
    QTemporaryDir data;
    QVERIFY(QDir().mkpath(data.filePath(QStringLiteral("help/en"))));
    QVERIFY(QFile::copy(kData + QStringLiteral("/help/en/history.html"),
                        data.filePath(QStringLiteral("help/en/history.html"))));
    qputenv("VELMORA_DATA_DIR", data.path().toLocal8Bit());
    m_store->seed(
        storeWith(R"("Language": "Ukrainian", "Help index": "version history")").toUtf8());

    const velmora::help::StartPage start = velmora::help::chooseStartPage(QStringLiteral("C"));
    QCOMPARE(start.language, QStringLiteral("uk"));
    QCOMPARE(start.path, data.filePath(QStringLiteral("help/en/history.html")));
    QCOMPARE(velmora::help::findPage(QStringLiteral("uk"), QStringLiteral("index.html")),
             QString());
}

void TstHelpStart::damagedSettingsAreNamed() {
    m_store->seed("not a settings file");
    const velmora::help::StartPage start = velmora::help::chooseStartPage(QStringLiteral("uk_UA"));
    QCOMPARE(start.page, QStringLiteral("index.html"));
    QCOMPARE(start.keptCopies.size(), 1);
    QVERIFY(QFile::exists(start.keptCopies[0]));

    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::test::MessageBoxRecorder boxes;
    velmora::help::showStoreNotices(start.keptCopies, start.language);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Інформація"));
    QVERIFY2(boxes.boxes[0].text.contains(start.keptCopies[0]), qPrintable(boxes.boxes[0].text));
    QVERIFY(boxes.boxes[0].text.startsWith(QStringLiteral("Файл налаштувань")));
    QCOMPARE(boxes.boxes[0].flags, velmora::MessageFlags::InformationOk);
}

void TstHelpStart::windowFollowsLinks() {
    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("history.html")));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Version history — Velmora"));

    const auto action = [&window](const char* name) {
        return window.findChild<QAction*>(QLatin1String(name));
    };
    QVERIFY(!action("back")->isEnabled());
    action("contents")->trigger();
    QCOMPARE(window.windowTitle(), QStringLiteral("Velmora 3.2 Help — Velmora"));
    QVERIFY(action("back")->isEnabled());

    window.browser()->setSource(QUrl(QStringLiteral("trigonometry.html")));
    QCOMPARE(window.windowTitle(), QStringLiteral("Trigonometry — Velmora"));
    QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("5,7296E5")));
    action("back")->trigger();
    QCOMPARE(window.windowTitle(), QStringLiteral("Velmora 3.2 Help — Velmora"));
    QVERIFY(action("forward")->isEnabled());
}

void TstHelpStart::windowWithoutPages() {
    velmora::help::HelpWindow window(QStringLiteral("uk"));
    window.openPage(QString());
    QCOMPARE(window.windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(window.browser()->toPlainText(),
             QStringLiteral("Сторінки довідки не знайдено. Перевстановіть Velmora."));
}

QTEST_MAIN(TstHelpStart)
#include "tst_helpstart.moc"
