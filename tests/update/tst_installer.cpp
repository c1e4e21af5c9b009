// The installer download behind the update dialog's download button, against hostile local
// servers and manifests: nothing starts that was not verified (a manifest signed whole by the
// release key made with the release tool, not expired, offering a newer version, and the
// installer's digest it names), no transfer that was cut, endless, trickling, redirected away or
// down to http, and no kind of file this system should not start. Each such case starts nothing,
// leaves no file, keeps the program running and says why. A verified installer that will not start
// stays for the user and is named, until a newer verified one replaces it; one that starts ends
// the program; what starts is what was checked, whatever is renamed over it. The update folder is
// private. Also the dialog's progress figures on a transfer held half-way.
#include "platform/desktop/launch.h"
#include "platform/net/download.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "tests/support/releasetool.h"
#include "tests/support/testsupport.h"
#include "tests/update/updateloop.h"
#include "tests/update/updatetexts.h"
#include "update/installerplan.h"
#include "update/manifest.h"
#include "update/taskbar.h"
#include "update/updatecontroller.h"
#include "update/updatedialog.h"
#include "update/updatefolder.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>

#include <sys/stat.h>

using velmora::LaunchMethod;
using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;
using velmora::test::withManifestLine;

namespace Global = velmora::Global;

namespace {

QByteArray installerOf(int bytes) {
    QByteArray body(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        body[i] = char(i * 7 % 251);
    return body;
}

const QByteArray kInstaller = installerOf(64 * 1024);
const QByteArray kOlderInstaller = installerOf(48 * 1024);

// An installer that really runs: a script that leaves its mark, named, in the update folder.
QByteArray runningInstaller(const QString& mark) {
    return "#!/bin/sh\ntouch \"" + QFile::encodeName(QDir(Global::updateFolder()).filePath(mark)) +
           "\"\n";
}

// How the row's manifest is signed, after its edits.
enum class Signing {
    Resigned, // signed again by the release key: the program's checks beyond the signature
    Tampered, // the edits made after the release tool signed it
    OtherKey, // signed by a key that is not the build's
    Unsigned, // without its signature section
};

// How the start is made: recorded by a handler that says it started or that it failed, or real,
// through the row's xdg-open on PATH.
enum class Launch { Handler, HandlerFails, Real, RealOpenerRefuses };

struct Case {
    QString path = QStringLiteral("/get/velmora.deb"); // empty: the manifest names no address
    HttpAnswer answer = HttpAnswer::ok(kInstaller);
    QByteArray installer = kInstaller; // what the manifest was made for
    bool secureInstaller = false;      // the installer's address is https
    bool secureManifest = false;       // the manifest came over https
    // "Info setup" lines changed (a null value removes the line), besides the address.
    QList<std::pair<QByteArray, QByteArray>> edits{};
    Signing signing = Signing::Resigned;
    bool signedBuild = true; // the build carries the release key
    Launch launch = Launch::Handler;
    // What must come of it.
    bool asked = true;    // the installer was requested from a server
    bool started = false; // an installer started and the program ended
    QStringList files{};  // in the update folder besides the manifest
    QString status{};     // the dialog's status line, when the program goes on
    // The check offers the update dialog; when it does not, the box it shows instead.
    bool offered = true;
    QString box{};
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TstInstaller : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hostileServersAndManifests_data();
    void hostileServersAndManifests();
    void aFileRenamedOverTheCheckedOneDoesNotRun();
    void aKeptInstallerStaysUntilAVerifiedOneReplacesIt();
    void theUpdateFolderIsPrivate();
    void theBuildsOwnKey();
    void closingTheDialogCancelsTheDownload();
    void aWorkerThatWillNotEndIsLetGo();
    void secondPressStartsNothing();
    void progressOfATransferHeldHalfWay();

private:
    // Serves the manifest and runs the update check the menu asks for: true when the check
    // offers the update dialog with it.
    bool offer(const QByteArray& manifest);
    QStringList updateFiles() const;
    // Runs the program's event loop until it is asked to end (0) or for the given time (-1).
    static int runEventLoop(int milliseconds);
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }

    HttpTestServer m_server;
    HttpTestServer m_secureServer{HttpTestServer::Tls::On};
    velmora::test::ReleaseTool m_release;
    velmora::test::ReleaseTool m_otherRelease;
    QTemporaryDir m_common;
    QTemporaryDir m_bin; // the row's xdg-open
    QByteArray m_path;
    std::unique_ptr<velmora::TForm4> m_dialog;
    std::unique_ptr<velmora::UpdateController> m_controller;
    QStringList m_boxes;
    std::mutex m_startedMutex;
    QStringList m_started; // by the handler, from the download's thread
};

void TstInstaller::initTestCase() {
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QVERIFY2(m_otherRelease.problem().isEmpty(), qPrintable(m_otherRelease.problem()));
    // Stalls end after a second below the lowest speed, a trickle among them.
    velmora::setDownloadTimeouts({2000, 1, 2});
    velmora::setDownloadCertificateAuthorities(m_secureServer.certificateFile());
    Global::setCommonAppData(m_common.path());
    // The update folder lies in the home folder, as it does for users.
    qputenv("HOME", QFile::encodeName(m_common.path()));
    velmora::test::useNamedTexts();
    m_path = qgetenv("PATH");
    velmora::setMessageBoxHandler([this](const QString& text, const QString& caption, unsigned) {
        m_boxes << text + QStringLiteral(" | ") + caption;
        return velmora::AnswerOk;
    });
}

void TstInstaller::init() {
    velmora::test::recordTopLevelWidgets();
    m_started.clear();
    QDir(Global::updateFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(Global::updateFolder()));
    qputenv("VELMORA_UPDATE_SERVER", m_server.base().toLatin1());
    velmora::setUpdateSigningKey(m_release.publicKey());
    velmora::setLaunchHandler([this](const QString& path, LaunchMethod) {
        const std::lock_guard lock(m_startedMutex);
        m_started << path;
        return true;
    });
    m_dialog = std::make_unique<velmora::TForm4>();
    m_controller = std::make_unique<velmora::UpdateController>(m_dialog.get());
    m_boxes.clear();
}

void TstInstaller::cleanup() {
    QVERIFY(m_controller->stopWorkers());
    velmora::setLaunchHandler({});
    velmora::setBeforeStartHook({});
    qputenv("PATH", m_path);
    m_controller.reset();
    m_dialog.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

bool TstInstaller::offer(const QByteArray& manifest) {
    // Closed, as the user closes it before asking again.
    m_dialog->hide();
    const QString at = QString::fromLatin1(velmora::manifest::ServerPath);
    for (HttpTestServer* server : {&m_server, &m_secureServer})
        server->answer(at, HttpAnswer::ok(manifest));
    Global::setUpdateMode(velmora::UpdateMode::Custom);
    return m_controller->startCheck() &&
           QTest::qWaitFor([this] { return !m_controller->checkRunning(); }, 30000) &&
           m_dialog->isVisible();
}

QStringList TstInstaller::updateFiles() const {
    QStringList files = QDir(Global::updateFolder()).entryList(QDir::Files | QDir::Hidden);
    // The copies handed to a package installer are in folders of their own.
    files.removeOne(QStringLiteral("update.ums"));
    // Held while the download runs; the instances' test looks at it.
    files.removeOne(QStringLiteral("update.lock"));
    return files;
}

int TstInstaller::runEventLoop(int milliseconds) {
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &fallback, [] { QCoreApplication::exit(-1); });
    fallback.start(milliseconds);
    return QCoreApplication::exec();
}

void TstInstaller::hostileServersAndManifests_data() {
    QTest::addColumn<Case>("row");
    const QByteArray half = kInstaller.left(kInstaller.size() / 2);
    const QString manifestRefused =
        velmora::test::namedMoreText(velmora::MoreText::ManifestRefused);
    const QString addressRefused = velmora::test::namedMoreText(velmora::MoreText::AddressRefused);
    const QString downloadFailed = QStringLiteral("more 4");
    const QString notVerified = QStringLiteral("more 5");
    const QString unusable = QStringLiteral("more 8");
    // Named as users write a path in their home folder.
    const auto failedStart = [](const QString& file) {
        return QStringLiteral("more 6: ~/Velmora/Update for 3.2/") + file;
    };
    using Kind = HttpAnswer::Kind;
    const QByteArray past = QDateTime::currentDateTimeUtc()
                                .addSecs(-60)
                                .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))
                                .toLatin1();

    // Transfers that never complete.
    QTest::newRow("404") << Case{.answer = HttpAnswer::failure(404), .status = downloadFailed};
    QTest::newRow("500") << Case{.answer = HttpAnswer::failure(500), .status = downloadFailed};
    QTest::newRow("a length longer than what is sent")
        << Case{.answer = HttpAnswer::of(Kind::LongLength, half), .status = downloadFailed};
    QTest::newRow("no length and cut, size announced")
        << Case{.answer = HttpAnswer::of(Kind::CutNoLength, half), .status = notVerified};
    QTest::newRow("no length and cut, no size")
        << Case{.answer = HttpAnswer::of(Kind::CutNoLength, half),
                .edits = {{"Size 1", {}}},
                .status = notVerified};
    QTest::newRow("endless, size announced")
        << Case{.answer = HttpAnswer::of(Kind::Endless, {}), .status = downloadFailed};
    QTest::newRow("endless, no size: stopped at the cap")
        << Case{.answer = HttpAnswer::of(Kind::Endless, {}),
                .edits = {{"Size 1", {}}},
                .status = downloadFailed};
    QTest::newRow("more bytes than announced")
        << Case{.answer = HttpAnswer::of(Kind::CutNoLength, kInstaller + "extra"),
                .status = downloadFailed};
    QTest::newRow("stall past the time-out")
        << Case{.answer = HttpAnswer::of(Kind::Stall, kInstaller), .status = downloadFailed};
    QTest::newRow("trickle below the lowest speed")
        << Case{.answer = HttpAnswer::slow(kInstaller, 2, 1000), .status = downloadFailed};
    QTest::newRow("redirect loop")
        << Case{.answer = HttpAnswer::redirect("/get/velmora.deb"), .status = downloadFailed};
    QTest::newRow("redirect to file://")
        << Case{.answer = HttpAnswer::redirect("file:///etc/hostname"), .status = downloadFailed};
    QTest::newRow("https redirect down to http")
        << Case{.answer = HttpAnswer::redirect(m_server.url("/get/velmora.deb").toLatin1()),
                .secureInstaller = true,
                .secureManifest = true,
                .status = downloadFailed};

    // Addresses and kinds refused before any request.
    QTest::newRow("http installer from an https manifest")
        << Case{.secureManifest = true, .asked = false, .status = addressRefused};
    QTest::newRow("no address") << Case{
        .path = QString(), .asked = false, .status = addressRefused};
    QTest::newRow("refused kind: shell script")
        << Case{.path = QStringLiteral("/get/velmora.sh"), .asked = false, .status = unusable};
    QTest::newRow("refused kind: desktop entry")
        << Case{.path = QStringLiteral("/get/velmora.desktop"), .asked = false, .status = unusable};

    // Manifests that do not vouch for a newer installer: nothing is asked for. One whose
    // signature does not hold is refused by the check itself, which says it failed and offers
    // nothing; a replayed older one is not news.
    const QString checkFailed = QStringLiteral("message 11 | message 3");
    const QString latest = QStringLiteral("message 12 | message 1");
    QTest::newRow("no digest") << Case{
        .edits = {{"SHA-256", {}}}, .asked = false, .status = manifestRefused};
    QTest::newRow("tampered version") << Case{.edits = {{"Version 1", "99"}},
                                              .signing = Signing::Tampered,
                                              .asked = false,
                                              .offered = false,
                                              .box = checkFailed};
    QTest::newRow("tampered version text") << Case{.edits = {{"Version 2", "9.9"}},
                                                   .signing = Signing::Tampered,
                                                   .asked = false,
                                                   .offered = false,
                                                   .box = checkFailed};
    QTest::newRow("tampered address") << Case{.path = QStringLiteral("/get/other.deb"),
                                              .signing = Signing::Tampered,
                                              .asked = false,
                                              .offered = false,
                                              .box = checkFailed};
    QTest::newRow("tampered kind: the signed bytes under a .run address")
        << Case{.path = QStringLiteral("/get/velmora.run"),
                .signing = Signing::Tampered,
                .asked = false,
                .offered = false,
                .box = checkFailed};
    QTest::newRow("tampered size") << Case{.edits = {{"Size 1", "65537"}},
                                           .signing = Signing::Tampered,
                                           .asked = false,
                                           .offered = false,
                                           .box = checkFailed};
    QTest::newRow("tampered digest") << Case{
        .answer = HttpAnswer::ok(kOlderInstaller),
        .edits = {{"SHA-256",
                   QCryptographicHash::hash(kOlderInstaller, QCryptographicHash::Sha256).toHex()}},
        .signing = Signing::Tampered,
        .asked = false,
        .offered = false,
        .box = checkFailed};
    QTest::newRow("signed by another key")
        << Case{.signing = Signing::OtherKey, .asked = false, .offered = false, .box = checkFailed};
    QTest::newRow("unsigned") << Case{
        .signing = Signing::Unsigned, .asked = false, .offered = false, .box = checkFailed};
    QTest::newRow("expired") << Case{
        .edits = {{"Expires", past}}, .asked = false, .offered = false, .box = checkFailed};
    QTest::newRow("an older release's signed manifest, replayed")
        << Case{.edits = {{"Version 1", "32"}}, .asked = false, .offered = false, .box = latest};

    // Transfers that complete with other bytes than the manifest names.
    QTest::newRow("an older installer under the current manifest")
        << Case{.answer = HttpAnswer::ok(kOlderInstaller), .status = notVerified};
    QTest::newRow("a shell script under the signed .deb address")
        << Case{.answer = HttpAnswer::ok("#!/bin/sh\nexit 0\n"), .status = notVerified};
    QTest::newRow("wrong digest") << Case{.edits = {{"SHA-256", QByteArray(64, 'a')}},
                                          .status = notVerified};
    QTest::newRow("wrong size") << Case{.edits = {{"Size 1", "65537"}}, .status = notVerified};

    // Verified installers.
    QTest::newRow("good digest and signature") << Case{.started = true};
    QTest::newRow("a build without a key takes an unsigned manifest")
        << Case{.signing = Signing::Unsigned, .signedBuild = false, .started = true};
    QTest::newRow("https installer from an https manifest")
        << Case{.secureInstaller = true, .secureManifest = true, .started = true};
    QTest::newRow("a start that fails keeps the file") << Case{
        .launch = Launch::HandlerFails, .files = {"setup.deb"}, .status = failedStart("setup.deb")};
    QTest::newRow("an opener that refuses the package") << Case{.launch = Launch::RealOpenerRefuses,
                                                                .files = {"setup.deb"},
                                                                .status = failedStart("setup.deb")};
    QTest::newRow("an opener that accepts the package")
        << Case{.launch = Launch::Real, .started = true};
    const QByteArray running = runningInstaller(QStringLiteral("it ran"));
    QTest::newRow("an AppImage that is a program runs")
        << Case{.path = QStringLiteral("/get/Velmora.AppImage"),
                .answer = HttpAnswer::ok(running),
                .installer = running,
                .launch = Launch::Real,
                .started = true,
                .files = {"it ran"}};
    QTest::newRow("an AppImage the system will not run")
        << Case{.path = QStringLiteral("/get/Velmora.AppImage"),
                .launch = Launch::Real,
                .files = {"setup.AppImage"},
                .status = failedStart("setup.AppImage")};
}

void TstInstaller::hostileServersAndManifests() {
    QFETCH(Case, row);
    HttpTestServer& installerServer = row.secureInstaller ? m_secureServer : m_server;
    const QString path = row.path.isEmpty() ? QStringLiteral("/none") : row.path;
    installerServer.answer(path, row.answer);
    const int requestsBefore = installerServer.requests(path);
    qputenv("VELMORA_UPDATE_SERVER",
            (row.secureManifest ? m_secureServer.base() : m_server.base()).toLatin1());
    velmora::setUpdateSigningKey(row.signedBuild ? m_release.publicKey() : QByteArray());

    // The manifest as the release tool writes it, then the row's address and edits, signed as the
    // row says. The tool publishes only kinds this system starts: another address is put in
    // afterwards.
    const QString url = installerServer.url(QStringLiteral("/get/velmora.deb"));
    QByteArray manifest = m_release.manifest(row.installer, url);
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    if (row.path != QLatin1String("/get/velmora.deb"))
        manifest = withManifestLine(manifest, "URL",
                                    row.path.isEmpty() ? QByteArray()
                                                       : installerServer.url(row.path).toLatin1());
    for (const auto& [key, value] : row.edits)
        manifest = withManifestLine(manifest, key, value);
    switch (row.signing) {
    case Signing::Resigned:
        manifest = m_release.resign(manifest);
        break;
    case Signing::Tampered:
        break;
    case Signing::OtherKey:
        manifest = m_otherRelease.resign(manifest);
        break;
    case Signing::Unsigned:
        manifest = velmora::test::signedPart(manifest);
        break;
    }
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QCOMPARE(offer(manifest), row.offered);
    if (!row.offered) {
        QCOMPARE(m_boxes, QStringList{row.box});
        QCOMPARE(installerServer.requests(path), requestsBefore);
        QCOMPARE(updateFiles(), QStringList());
        return;
    }

    // The row's opener for a real start of a package, found first on PATH. What really starts
    // leaves a mark: the opener beside itself, the AppImage in its folder.
    const QString openerMark = m_bin.filePath(QStringLiteral("opener ran"));
    QFile::remove(openerMark);
    const QString mark = row.files.contains(QLatin1String("it ran"))
                             ? QDir(Global::updateFolder()).filePath(QStringLiteral("it ran"))
                             : openerMark;
    if (row.launch == Launch::Real || row.launch == Launch::RealOpenerRefuses) {
        velmora::setLaunchHandler({});
        QFile opener(m_bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\ntouch '" + openerMark.toLocal8Bit() + "'\nexit " +
                     (row.launch == Launch::Real ? "0" : "3") + "\n");
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
    } else if (row.launch == Launch::HandlerFails) {
        velmora::setLaunchHandler([](const QString&, LaunchMethod) { return false; });
    }

    m_dialog->Button2Click();
    // A plan refused starts no download at all.
    QCOMPARE(m_controller->downloadRunning(), row.asked);
    if (row.started) {
        // The program ends after the start, and only then.
        QCOMPARE(runEventLoop(60000), 0);
        if (row.launch == Launch::Handler) {
            const std::lock_guard lock(m_startedMutex);
            QCOMPARE(m_started, QStringList{QDir(Global::updateFolder())
                                                .filePath(QStringLiteral("setup.") +
                                                          QFileInfo(row.path).suffix())});
        }
        QTRY_VERIFY(QFile::exists(mark) || row.launch == Launch::Handler);
    } else {
        // Everything the download handed over has run: the program goes on and says why.
        QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 60000), -1);
        QCOMPARE(child<QLabel>("Label5")->text(), row.status);
        QVERIFY(child<QPushButton>("Button2")->isEnabled());
        QCOMPARE(child<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(!m_dialog->taskbarIndicator()->ShowInTaskbar());
        const std::lock_guard lock(m_startedMutex);
        QCOMPARE(m_started, QStringList());
    }
    if (row.launch == Launch::RealOpenerRefuses)
        QVERIFY(QFile::exists(openerMark)); // asked, and refused
    QCOMPARE(updateFiles(), row.files);
    QCOMPARE(installerServer.requests(path) > requestsBefore, row.asked);
}

// Another process of the user renames its own program over the installer between the check and
// the start: the checked bytes run, the swapped ones do not.
void TstInstaller::aFileRenamedOverTheCheckedOneDoesNotRun() {
    velmora::setLaunchHandler({});
    const QString path = QStringLiteral("/get/velmora.run");
    const QByteArray checked = runningInstaller(QStringLiteral("checked ran"));
    m_server.answer(path, HttpAnswer::ok(checked));
    QVERIFY(offer(m_release.manifest(checked, m_server.url(path))));
    const QDir folder(Global::updateFolder());
    const QString swapped = folder.filePath(QStringLiteral("swap"));
    velmora::test::writeTestFile(swapped, runningInstaller(QStringLiteral("swapped ran")), true);
    // The helper has renamed its file over the installer, and ended, before the start goes on.
    bool swappedIn = false;
    velmora::setBeforeStartHook([&](const QString& at) {
        swappedIn =
            QProcess::execute(QStringLiteral("mv"), {QStringLiteral("-f"), swapped, at}) == 0;
    });

    m_dialog->Button2Click();
    QCOMPARE(runEventLoop(60000), 0);
    QVERIFY(swappedIn);
    QTRY_VERIFY(QFile::exists(folder.filePath(QStringLiteral("checked ran"))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("swapped ran"))));
}

// A verified installer that would not start stays for the user: the start-up cleanup leaves it,
// a download that fails or is not verified leaves it, and a newer verified one replaces it.
// Everything else the cleanup removes.
void TstInstaller::aKeptInstallerStaysUntilAVerifiedOneReplacesIt() {
    velmora::setLaunchHandler([](const QString&, LaunchMethod) { return false; });
    const QString path = QStringLiteral("/get/velmora.deb");
    const QDir folder(Global::updateFolder());
    const QString kept = folder.filePath(QStringLiteral("setup.deb"));
    const auto contents = [&kept] {
        QFile file(kept);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto download = [&](const QByteArray& manifest, const HttpAnswer& answer) {
        QVERIFY(offer(manifest));
        m_server.answer(path, answer);
        m_dialog->Button2Click();
        QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 60000), -1);
    };
    const QByteArray newer = installerOf(1000);

    download(m_release.manifest(kInstaller, m_server.url(path)), HttpAnswer::ok(kInstaller));
    QCOMPARE(child<QLabel>("Label5")->text(),
             QStringLiteral("more 6: ~/Velmora/Update for 3.2/setup.deb"));
    QCOMPARE(contents(), kInstaller);

    // What a start-up cleanup finds: the kept installer among leftovers.
    for (const char* name : {"setup.deb.new", "setup.deb.new.a1b2c3", "setup", "setup.sh"})
        velmora::test::writeTestFile(folder.filePath(QLatin1String(name)), "x", false);
    QVERIFY(folder.mkpath(QStringLiteral("start-a1b2c3")));
    velmora::test::writeTestFile(folder.filePath(QStringLiteral("start-a1b2c3/setup.deb")), "x",
                                 false);
    // No instance uses the folder, this one's dialog included.
    m_dialog->hide();
    velmora::removeLeftoverUpdateFiles(folder.path());
    QCOMPARE(updateFiles(), QStringList{QStringLiteral("setup.deb")});
    // The next showing of the dialog, with the manifest fetched again, names it.
    QVERIFY(offer(m_release.manifest(kInstaller, m_server.url(path))));
    QCOMPARE(child<QLabel>("Label5")->text(),
             QStringLiteral("more 6: ~/Velmora/Update for 3.2/setup.deb"));
    m_dialog->hide();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(contents(), kInstaller);

    download(m_release.manifest(newer, m_server.url(path), 34), HttpAnswer::failure(404));
    QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("more 4"));
    QCOMPARE(contents(), kInstaller);
    download(m_release.manifest(newer, m_server.url(path), 34),
             HttpAnswer::ok(QByteArray(newer).replace(0, 1, "!")));
    QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("more 5"));
    QCOMPARE(contents(), kInstaller);
    download(m_release.manifest(newer, m_server.url(path), 34), HttpAnswer::ok(newer));
    QCOMPARE(contents(), newer);
    QCOMPARE(updateFiles(), QStringList{QStringLiteral("setup.deb")});
}

// With a umask that lets the group write, and a folder and a kept program that others could
// read: the folder becomes 0700, the transfer's temporary file is 0600 (not executable, though
// the file it is to replace is), and only the verified installer becomes 0700.
void TstInstaller::theUpdateFolderIsPrivate() {
    const mode_t saved = umask(002);
    const auto restore = qScopeGuard([saved] { umask(saved); });
    velmora::setLaunchHandler([](const QString&, LaunchMethod) { return false; });
    const QDir folder(Global::updateFolder());
    const auto mode = [](const QString& file) {
        return QFileInfo(file).permissions() & QFileDevice::Permissions(0x7077);
    };
    using P = QFileDevice;
    QVERIFY(QFile::setPermissions(folder.path(), P::Permissions(0x7075)));
    const QString kept = folder.filePath(QStringLiteral("setup.run"));
    velmora::test::writeTestFile(kept, "#!/bin/sh\n", false);
    QVERIFY(QFile::setPermissions(kept, P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadGroup |
                                            P::ReadOther));

    const QByteArray installer = installerOf(1700000);
    const QString path = QStringLiteral("/get/held.run");
    m_server.answer(path, HttpAnswer::held(installer));
    QVERIFY(offer(m_release.manifest(installer, m_server.url(path))));
    m_dialog->Button2Click();
    // The transfer's file may have no name yet: it is found among the files this process holds
    // open in the update folder, the lock and the manifest aside; the modes of each.
    const auto temporaries = [&folder] {
        QList<mode_t> modes;
        const QDir descriptors(QStringLiteral("/proc/self/fd"));
        for (const QString& fd :
             descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            const QString link = QFile::symLinkTarget(descriptors.filePath(fd));
            if (!link.startsWith(folder.path() + QLatin1Char('/')) ||
                link.endsWith(QLatin1String("update.lock")) ||
                link.endsWith(QLatin1String("update.ums")))
                continue;
            struct stat status {};
            if (stat(QFile::encodeName(descriptors.filePath(fd)).constData(), &status) == 0)
                modes << (status.st_mode & 07777);
        }
        return modes;
    };
    QTRY_COMPARE_WITH_TIMEOUT(temporaries().size(), 1, 30000);
    QCOMPARE(temporaries(), QList<mode_t>{0600});
    const P::Permissions ownerReadWrite = P::ReadOwner | P::WriteOwner;
    QCOMPARE(mode(folder.path()), ownerReadWrite | P::ExeOwner);

    m_server.release(path);
    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 60000), -1);
    QCOMPARE(updateFiles(), QStringList{QStringLiteral("setup.run")});
    QCOMPARE(mode(kept), ownerReadWrite | P::ExeOwner);
}

// The key the build carries verifies what the release tool signs with the private key made for
// it, as the README's release steps do; CI's keyed build names that key in VELMORA_RELEASE_KEY.
void TstInstaller::theBuildsOwnKey() {
    const QByteArray buildKey = velmora::buildUpdateSigningKey();
    if (buildKey.isEmpty())
        QSKIP("this build carries no signing key");
    const QString privateKey = qEnvironmentVariable("VELMORA_RELEASE_KEY");
    if (privateKey.isEmpty())
        QSKIP("VELMORA_RELEASE_KEY names no private key for this build's key");
    const velmora::test::ReleaseTool release(privateKey);
    QVERIFY2(release.problem().isEmpty(), qPrintable(release.problem()));
    QCOMPARE(release.publicKey(), buildKey);
    velmora::setUpdateSigningKey(buildKey);

    const QString path = QStringLiteral("/get/velmora.deb");
    m_server.answer(path, HttpAnswer::ok(kInstaller));
    // Another key's manifest is refused, the build key's is started.
    QVERIFY(!offer(m_release.manifest(kInstaller, m_server.url(path))));
    QCOMPARE(m_boxes, QStringList{QStringLiteral("message 11 | message 3")});
    QVERIFY(offer(release.manifest(kInstaller, m_server.url(path))));
    QVERIFY2(release.problem().isEmpty(), qPrintable(release.problem()));
    m_dialog->Button2Click();
    QCOMPARE(runEventLoop(60000), 0);
    const std::lock_guard lock(m_startedMutex);
    QCOMPARE(m_started.size(), 1);
}

// The download belongs to the dialog: closed while the transfer runs, the transfer ends, nothing
// starts and the program goes on, although the server then sends a good installer.
void TstInstaller::closingTheDialogCancelsTheDownload() {
    const QString path = QStringLiteral("/get/held.deb");
    m_server.answer(path, HttpAnswer::held(kInstaller));
    QVERIFY(offer(m_release.manifest(kInstaller, m_server.url(path))));
    const int before = m_server.requests(path);
    m_dialog->Button2Click();
    QTRY_COMPARE(m_server.requests(path), before + 1);
    m_dialog->reject();
    QVERIFY(child<QPushButton>("Button2")->isEnabled());
    QVERIFY(!child<QTimer>("Timer1")->isActive());
    QVERIFY(!m_dialog->taskbarIndicator()->ShowInTaskbar());
    m_server.release(path);
    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 30000), -1);
    const std::lock_guard lock(m_startedMutex);
    QCOMPARE(m_started, QStringList());
}

// A worker that does not end when stopped (here its start never returns) is let go after the
// stop's wait, rather than destroyed while it runs or waited for for ever; what it hands over
// afterwards is refused, so the program is not ended by it; and the slot takes a new download.
void TstInstaller::aWorkerThatWillNotEndIsLetGo() {
    velmora::UpdateController::setStopWait(300);
    const auto restore = qScopeGuard([] { velmora::UpdateController::setStopWait(10'000); });
    std::atomic<bool> entered{false};
    std::atomic<bool> returned{false};
    QSemaphore release;
    velmora::setLaunchHandler([&](const QString&, LaunchMethod) {
        entered = true;
        release.acquire();
        returned = true;
        return true;
    });
    const QString path = QStringLiteral("/get/velmora.deb");
    m_server.answer(path, HttpAnswer::ok(kInstaller));
    QVERIFY(offer(m_release.manifest(kInstaller, m_server.url(path))));
    m_dialog->Button2Click();
    QTRY_VERIFY_WITH_TIMEOUT(entered.load(), 30000);

    // A stop that waited for the worker regardless would hang here: long after the stop wait,
    // this lets the worker go on, so the test tells it instead.
    std::promise<void> stopReturned;
    auto rescued = std::async(std::launch::async, [&release, stop = stopReturned.get_future()] {
        if (stop.wait_for(std::chrono::seconds(30)) == std::future_status::ready)
            return false;
        release.release();
        return true;
    });
    const bool ended = m_controller->stopWorkers();
    stopReturned.set_value();
    QVERIFY2(!rescued.get(), "the stop waited for a worker that does not end");
    QVERIFY(!ended); // let go, not ended
    QVERIFY(!m_controller->downloadRunning());

    release.release();
    QTRY_VERIFY(returned.load());
    // Its request to end the program is refused: only the fallback ends this loop.
    QCOMPARE(runEventLoop(1000), -1);

    // The slot is free for a new download, which ends the program as usual.
    velmora::setLaunchHandler([](const QString&, LaunchMethod) { return true; });
    m_dialog->Button2Click();
    QVERIFY(m_controller->downloadRunning());
    QCOMPARE(runEventLoop(60000), 0);
}

void TstInstaller::secondPressStartsNothing() {
    const QString path = QStringLiteral("/get/slow.deb");
    m_server.answer(path, HttpAnswer::slow(kInstaller, 8192, 40));
    QVERIFY(offer(m_release.manifest(kInstaller, m_server.url(path))));

    m_dialog->Button2Click();
    QVERIFY(!child<QPushButton>("Button2")->isEnabled());
    m_dialog->Button2Click();
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(runEventLoop(60000), 0);
    QCOMPARE(m_server.requests(path), 1);
    const std::lock_guard lock(m_startedMutex);
    QCOMPARE(m_started.size(), 1);
}

void TstInstaller::progressOfATransferHeldHalfWay() {
    // 1,700,000 bytes announced, 850,000 sent, then the server stalls until the time-out.
    const QByteArray installer = installerOf(1700000);
    const QString path = QStringLiteral("/get/held.deb");
    m_server.answer(path, HttpAnswer::of(HttpAnswer::Kind::Stall, installer));
    QVERIFY(offer(m_release.manifest(installer, m_server.url(path))));
    QCOMPARE(m_dialog->InstallerSize(), 1700000);

    auto* label = child<QLabel>("Label5");
    auto* bar = child<QProgressBar>("ProgressBar1");
    velmora::TaskbarProgressIndicator* taskbar = m_dialog->taskbarIndicator();
    m_dialog->Button2Click();
    QCOMPARE(label->text(), QStringLiteral("update 6"));
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QStringLiteral("update 7 830 update 8"), 30000);
    QCOMPARE(bar->value(), 202);
    QVERIFY(taskbar->ShowInTaskbar());
    QCOMPARE(taskbar->Position(), 50);
    QCOMPARE(child<QTimer>("Timer1")->interval(), 100);

    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 60000), -1);
    QCOMPARE(label->text(), QStringLiteral("more 4"));
    QCOMPARE(bar->value(), 0);
    QVERIFY(!child<QTimer>("Timer1")->isActive());
    QCOMPARE(updateFiles(), QStringList());
    const std::lock_guard lock(m_startedMutex);
    QCOMPARE(m_started.size(), 0);
}

QTEST_MAIN(TstInstaller)
#include "tst_installer.moc"
