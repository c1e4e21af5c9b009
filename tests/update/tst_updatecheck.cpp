// The update check against a local server, in both update modes: each outcome's boxes (shown by
// the user-interface thread) and the update dialog, in a build without a key and in a keyed one
// (which takes only a manifest signed whole by its key and not expired, and keeps no other), the
// mode "custom" afterwards, one check at a time that answers every request, a trickling server that
// cannot hold it, the start-up check that begins after the windows and the cleanup, and no check at
// all without an update server.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/net/download.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "tests/support/releasetool.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"
#include "tests/update/updatetexts.h"
#include "update/installerplan.h"
#include "update/manifest.h"
#include "update/updatecontroller.h"
#include "update/updatedialog.h"
#include "update/updatefolder.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

#include <sys/stat.h>

using velmora::AnswerNo;
using velmora::AnswerYes;
using velmora::UpdateMode;
using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

namespace Global = velmora::Global;

namespace {

const QString kManifestPath = QString::fromLatin1(velmora::manifest::ServerPath);

QByteArray manifestOf(const QByteArray& version) {
    return "[Info setup]\nVersion 1=" + version + "\nVersion 2=4.0\n";
}

// What the build carries and how the served manifest is signed.
enum class Signing {
    NoKey,    // a build without a key, a manifest as written
    Signed,   // a keyed build, the release tool's manifest
    Unsigned, // a keyed build, the manifest without its signature
    OtherKey, // a keyed build, signed by another key
    Expired,  // a keyed build, signed with an expiry that has passed
};

// Closes the update dialog as soon as it shows and counts the showings.
class DialogCatcher : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* dialog = qobject_cast<velmora::TForm4*>(watched);
            dialog && event->type() == QEvent::Show) {
            ++shows;
            QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

Q_DECLARE_METATYPE(Signing)

class TstUpdateCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void outcomes_data();
    void outcomes();
    void signedOutcomes_data();
    void signedOutcomes();
    void requestWhileACheckRunsIsAnswered_data();
    void requestWhileACheckRunsIsAnswered();
    void tricklingServerEndsTheCheck();
    void stoppingReleasesAStalledCheck();
    void startupCheckRunsAfterWindowsAndCleanup();
    void noServerNoService();

private:
    QString updateFolder() const { return Global::updateFolder(); }
    // The files in the update folder but its lock file, which stays once made.
    QStringList updateFiles() const {
        QStringList files = QDir(updateFolder()).entryList(QDir::Files | QDir::Hidden);
        files.removeOne(QStringLiteral("update.lock"));
        return files;
    }

    std::unique_ptr<velmora::TForm4> m_dialog;
    std::unique_ptr<velmora::UpdateController> m_controller;
    HttpTestServer m_server;
    velmora::test::ReleaseTool m_release;
    velmora::test::ReleaseTool m_otherRelease;
    QTemporaryDir m_common;
    DialogCatcher m_catcher;
    QStringList m_boxes;
    bool m_boxesOnUiThread = true;
    int m_answer = AnswerNo;
};

void TstUpdateCheck::initTestCase() {
    umask(002);
    // A brief transfer, the manifest's, ends after two seconds.
    velmora::setDownloadTimeouts({2000, 1, 2});
    Global::setCommonAppData(m_common.path());
    velmora::test::useNamedTexts();
    m_dialog = std::make_unique<velmora::TForm4>();
    m_dialog->installEventFilter(&m_catcher);
    m_controller = std::make_unique<velmora::UpdateController>(m_dialog.get());
    velmora::setMessageBoxHandler(
        [this](const QString& text, const QString& caption, unsigned flags) {
            m_boxes << QStringLiteral("%1 | %2 | 0x%3").arg(text, caption).arg(flags, 0, 16);
            m_boxesOnUiThread &= QThread::currentThread() == qApp->thread();
            return m_answer;
        });
}

void TstUpdateCheck::cleanupTestCase() {
    m_controller.reset();
    m_dialog.reset();
}

void TstUpdateCheck::init() {
    velmora::test::recordTopLevelWidgets();
    qputenv("VELMORA_UPDATE_SERVER", m_server.base().toLatin1());
    // The boxes and the dialog of each outcome, whatever key this build carries; the signed
    // outcomes set one.
    velmora::setUpdateSigningKey({});
    m_boxes.clear();
    m_catcher.shows = 0;
    QDir(updateFolder()).removeRecursively();
}

void TstUpdateCheck::cleanup() {
    QVERIFY(m_controller->stopWorkers());
    velmora::test::verifyNoWindowLeftOpen();
}

void TstUpdateCheck::outcomes_data() {
    QTest::addColumn<QString>("server"); // "answers", "unreachable"
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<UpdateMode>("mode");
    QTest::addColumn<int>("reply"); // the user's answer to a question
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("dialogs");

    const QString failed = QStringLiteral("message 11 | message 3 | 0x10");
    const QString latest = QStringLiteral("message 12 | message 1 | 0x40");
    const QString question = QStringLiteral("message 13 | message 1 | 0x44");
    const QStringList none;
    const auto both = [&](const char* name, const QString& server, const HttpAnswer& answer,
                          const QStringList& autoBoxes, int autoDialogs,
                          const QStringList& customBoxes, int customDialogs) {
        QTest::addRow("%s, auto", name)
            << server << answer << UpdateMode::Auto << AnswerYes << autoBoxes << autoDialogs;
        QTest::addRow("%s, custom", name)
            << server << answer << UpdateMode::Custom << AnswerYes << customBoxes << customDialogs;
    };
    const QString up = QStringLiteral("answers");
    both("33", up, HttpAnswer::ok(manifestOf("33")), {question}, 1, none, 1);
    both("32", up, HttpAnswer::ok(manifestOf("32")), none, 0, {latest}, 0);
    both("Version 1 missing", up, HttpAnswer::ok("[Info setup]\nVersion 2=4.0\n"), none, 0,
         {latest}, 0);
    both("abc", up, HttpAnswer::ok(manifestOf("abc")), none, 0, {latest}, 0);
    both("empty file", up, HttpAnswer::ok({}), none, 0, {latest}, 0);
    both("31", up, HttpAnswer::ok(manifestOf("31")), none, 0, none, 0);
    both("0x21", up, HttpAnswer::ok(manifestOf("0x21")), {question}, 1, none, 1);
    both("an HTML page served as the manifest", up,
         HttpAnswer::ok("<!DOCTYPE html>\n<html><body>Sign in to the network</body></html>\n"),
         none, 0, {latest}, 0);
    both("an HTML error page with 404", up, HttpAnswer::failure(404), none, 0, {failed}, 0);
    both("unreachable server", QStringLiteral("unreachable"), HttpAnswer::ok({}), none, 0, {failed},
         0);
    QTest::newRow("33, auto, the user says No")
        << up << HttpAnswer::ok(manifestOf("33")) << UpdateMode::Auto << AnswerNo
        << QStringList{question} << 0;
}

void TstUpdateCheck::outcomes() {
    QFETCH(QString, server);
    QFETCH(HttpAnswer, answer);
    QFETCH(UpdateMode, mode);
    QFETCH(int, reply);
    QFETCH(QStringList, boxes);
    QFETCH(int, dialogs);

    m_server.answer(kManifestPath, answer);
    if (server == QLatin1String("unreachable"))
        qputenv("VELMORA_UPDATE_SERVER", HttpTestServer::unreachableBase().toLatin1());
    m_answer = reply;
    m_boxesOnUiThread = true;
    Global::setUpdateMode(mode);

    QVERIFY(m_controller->startCheck());
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->checkRunning(), 10000);
    QCOMPARE(m_boxes, boxes);
    QVERIFY(m_boxesOnUiThread);
    QCOMPARE(m_catcher.shows, dialogs);
    QCOMPARE(Global::updateMode(), UpdateMode::Custom);

    // A downloaded manifest stays for the dialog; a failed one leaves nothing. The folder's lock
    // goes once the check has ended.
    const bool downloaded = !boxes.contains(QStringLiteral("message 11 | message 3 | 0x10")) &&
                            server != QLatin1String("unreachable") && answer.status == 200;
    QTRY_VERIFY(!velmora::updateFolderHeld(updateFolder()));
    QCOMPARE(updateFiles(), downloaded ? QStringList{QStringLiteral("update.ums")} : QStringList());
}

void TstUpdateCheck::signedOutcomes_data() {
    QTest::addColumn<Signing>("signing");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<UpdateMode>("mode");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("kept"); // the manifest stays for the dialog

    const QString failed = QStringLiteral("message 11 | message 3 | 0x10");
    const QString latest = QStringLiteral("message 12 | message 1 | 0x40");
    const QString question = QStringLiteral("message 13 | message 1 | 0x44");
    QTest::newRow("signed 33, custom")
        << Signing::Signed << QByteArray("33") << UpdateMode::Custom << QStringList() << 1 << true;
    QTest::newRow("signed 33, auto") << Signing::Signed << QByteArray("33") << UpdateMode::Auto
                                     << QStringList{question} << 1 << true;
    QTest::newRow("signed 32, custom") << Signing::Signed << QByteArray("32") << UpdateMode::Custom
                                       << QStringList{latest} << 0 << true;
    for (const auto& [name, signing] :
         {std::pair{"unsigned", Signing::Unsigned}, std::pair{"another key's", Signing::OtherKey},
          std::pair{"expired", Signing::Expired}}) {
        QTest::addRow("%s 33, custom: the failure's box", name)
            << signing << QByteArray("33") << UpdateMode::Custom << QStringList{failed} << 0
            << false;
        QTest::addRow("%s 33, auto: silent", name)
            << signing << QByteArray("33") << UpdateMode::Auto << QStringList() << 0 << false;
    }
    QTest::newRow("a build without a key: unsigned 33, custom")
        << Signing::NoKey << QByteArray("33") << UpdateMode::Custom << QStringList() << 1 << true;
}

void TstUpdateCheck::signedOutcomes() {
    QFETCH(Signing, signing);
    QFETCH(QByteArray, version);
    QFETCH(UpdateMode, mode);
    QFETCH(QStringList, boxes);
    QFETCH(int, dialogs);
    QFETCH(bool, kept);
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QVERIFY2(m_otherRelease.problem().isEmpty(), qPrintable(m_otherRelease.problem()));

    // The tool offers only versions above the program's own: 32 is signed as someone holding the
    // key could.
    QByteArray manifest =
        m_release.manifest("installer", QStringLiteral("https://example.org/v.deb"));
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    manifest = velmora::test::withManifestLine(manifest, "Version 1", version);
    if (signing == Signing::Expired)
        manifest =
            velmora::test::withManifestLine(manifest, "Expires",
                                            QDateTime::currentDateTimeUtc()
                                                .addSecs(-1)
                                                .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))
                                                .toLatin1());
    manifest = signing == Signing::OtherKey ? m_otherRelease.resign(manifest)
               : signing == Signing::NoKey || signing == Signing::Unsigned
                   ? velmora::test::signedPart(manifest)
                   : m_release.resign(manifest);
    velmora::setUpdateSigningKey(signing == Signing::NoKey ? QByteArray() : m_release.publicKey());
    m_server.answer(kManifestPath, HttpAnswer::ok(manifest));
    m_answer = AnswerYes;
    Global::setUpdateMode(mode);

    QVERIFY(m_controller->startCheck());
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->checkRunning(), 10000);
    QCOMPARE(m_boxes, boxes);
    QCOMPARE(m_catcher.shows, dialogs);
    QCOMPARE(Global::updateMode(), UpdateMode::Custom);
    QTRY_VERIFY(!velmora::updateFolderHeld(updateFolder()));
    QCOMPARE(updateFiles(), kept ? QStringList{QStringLiteral("update.ums")} : QStringList());
    // Private to the user, though the umask lets the group write.
    using P = QFileDevice;
    const auto modeOf = [](const QString& path) {
        return QFileInfo(path).permissions() & P::Permissions(0x7077);
    };
    QCOMPARE(modeOf(updateFolder()), P::ReadOwner | P::WriteOwner | P::ExeOwner);
    if (kept)
        QCOMPARE(modeOf(QDir(updateFolder()).filePath(QStringLiteral("update.ums"))),
                 P::ReadOwner | P::WriteOwner);
}

void TstUpdateCheck::requestWhileACheckRunsIsAnswered_data() {
    QTest::addColumn<bool>("whileFetching"); // else after the check has told its outcome
    QTest::addColumn<int>("transfers");
    QTest::newRow("while the start-up check fetches: it answers, with no second transfer")
        << true << 1;
    QTest::newRow("after the start-up check stayed silent: a new check answers") << false << 2;
}

// The start-up check finds nothing to tell ("32" in mode "auto"); the menu's request comes while
// it fetches or after it decided to stay silent. Either way the request gets its answer.
void TstUpdateCheck::requestWhileACheckRunsIsAnswered() {
    QFETCH(bool, whileFetching);
    QFETCH(int, transfers);
    const int before = m_server.requests(kManifestPath);
    m_server.answer(kManifestPath, whileFetching ? HttpAnswer::held(manifestOf("32"))
                                                 : HttpAnswer::ok(manifestOf("32")));
    Global::setUpdateMode(UpdateMode::Auto);
    QVERIFY(m_controller->startCheck());
    if (whileFetching)
        QTRY_COMPARE(m_server.requests(kManifestPath), before + 1);
    else
        QTRY_COMPARE(Global::updateMode(), UpdateMode::Custom); // told: nothing, in "auto"

    // The menu's request, as N9Click makes it.
    Global::setUpdateMode(UpdateMode::Custom);
    QVERIFY(m_controller->startCheck());
    m_server.release(kManifestPath);
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes, QStringList{QStringLiteral("message 12 | message 1 | 0x40")},
                              30000);
    QTRY_VERIFY(!m_controller->checkRunning());
    QCOMPARE(m_server.requests(kManifestPath), before + transfers);
}

// Two bytes a second keep a stall time-out from ever tripping; the manifest's time limit ends
// the check, and the request that was waiting for it gets the failure's box.
void TstUpdateCheck::tricklingServerEndsTheCheck() {
    velmora::setDownloadTimeouts({2000, 86400, 2, 1});
    const auto restore = qScopeGuard([] { velmora::setDownloadTimeouts({2000, 1, 2}); });
    m_server.answer(kManifestPath, HttpAnswer::slow(manifestOf("33"), 2, 1000));
    Global::setUpdateMode(UpdateMode::Custom);
    QVERIFY(m_controller->startCheck());
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->checkRunning(), 60000);
    QCOMPARE(m_boxes, QStringList{QStringLiteral("message 11 | message 3 | 0x10")});
    QCOMPARE(m_catcher.shows, 0);
}

void TstUpdateCheck::stoppingReleasesAStalledCheck() {
    // Only a day would end this transfer: the check can end within the test only by the stop.
    velmora::setDownloadTimeouts({2000, 86400, 86400});
    const auto restore = qScopeGuard([] { velmora::setDownloadTimeouts({2000, 1, 2}); });
    m_server.answer(kManifestPath, HttpAnswer::of(HttpAnswer::Kind::Silent, {}));
    const int before = m_server.requests(kManifestPath);
    Global::setUpdateMode(UpdateMode::Custom);
    QVERIFY(m_controller->startCheck());
    QTRY_COMPARE(m_server.requests(kManifestPath), before + 1);
    QVERIFY(m_controller->stopWorkers()); // ended, not let go
    QVERIFY(!m_controller->checkRunning());
    // Stopped, not failed: no box.
    QCOMPARE(m_boxes, QStringList());
}

void TstUpdateCheck::startupCheckRunsAfterWindowsAndCleanup() {
    velmora::test::TemporaryStore store;
    store.seed(QStringLiteral(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{
                 "Auto update":"true"},
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders":{
                 "Common AppData":"%1"}}})")
                   .arg(m_common.path())
                   .toUtf8());
    // The last run's files: an old manifest, an unfinished download, and an installer kept after
    // a start that failed.
    QVERIFY(QDir().mkpath(updateFolder()));
    for (const char* name : {"update.ums", "setup.deb.new", "setup.run"}) {
        QFile file(QDir(updateFolder()).filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(manifestOf("31"));
    }
    m_server.answer(kManifestPath, HttpAnswer::ok(manifestOf("33")));
    m_answer = AnswerYes;

    velmora::createWindows();
    velmora::UpdateController* updates = velmora::test::updates();
    velmora::test::updateDialog()->installEventFilter(&m_catcher);
    // The texts came from the (missing) language file; name them again.
    velmora::test::useNamedTexts();
    QCOMPARE(Global::updateMode(), UpdateMode::Auto);
    QTRY_VERIFY_WITH_TIMEOUT(!updates->checkRunning(), 10000);
    QCOMPARE(m_boxes, QStringList{QStringLiteral("message 13 | message 1 | 0x44")});
    QCOMPARE(m_catcher.shows, 1);
    // The fresh manifest survived the cleanup, and so did the kept installer; the unfinished
    // download did not.
    QTRY_COMPARE(updateFiles(),
                 (QStringList{QStringLiteral("setup.run"), QStringLiteral("update.ums")}));
    QFile manifest(QDir(updateFolder()).filePath(QStringLiteral("update.ums")));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    QCOMPARE(manifest.readAll(), manifestOf("33"));

    velmora::destroyWindows();
}

// Without an update server (the build names none, and neither does the environment) nothing
// goes on the network: no check at start-up, none from the menu, which says where updates come
// from instead, and no update folder.
void TstUpdateCheck::noServerNoService() {
    if (!QStringLiteral(VELMORA_UPDATE_SERVER_DEFAULT).isEmpty())
        QSKIP("this build names an update server");
    qunsetenv("VELMORA_UPDATE_SERVER");
    velmora::test::TemporaryStore store;
    store.seed(QStringLiteral(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\Velmora\3.2":{
                 "Auto update":"true"},
               "SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders":{
                 "Common AppData":"%1"}}})")
                   .arg(m_common.path())
                   .toUtf8());
    velmora::createWindows();
    const auto destroy = qScopeGuard([] { velmora::destroyWindows(); });
    velmora::test::useNamedTexts();
    QCOMPARE(Global::updateMode(), UpdateMode::Auto);
    QVERIFY(!velmora::test::updates()->checkRunning());

    velmora::mainWindow()->N9Click();
    QVERIFY(!velmora::test::updates()->checkRunning());
    QCOMPARE(m_boxes, QStringList{QStringLiteral("more 7 | message 1 | 0x40")});
    QVERIFY(!QFileInfo::exists(updateFolder()));
}

QTEST_MAIN(TstUpdateCheck)
#include "tst_updatecheck.moc"
