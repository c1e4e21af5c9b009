// The installer download behind the update dialog's download button, against hostile local
// servers and manifests: nothing starts that was not verified (its digest, and its signature by
// the release key made with the release tool), no transfer that was cut, endless, trickling,
// redirected away or down to http, and no kind of file this system should not start. Each such
// case starts nothing, leaves no file, keeps the program running and says why. A verified
// installer that will not start stays for the user and is named; one that starts ends the
// program. Also the dialog's progress figures on a transfer held half-way.
#include "platform/desktop/launch.h"
#include "platform/net/download.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "tests/support/releasetool.h"
#include "tests/support/testsupport.h"
#include "tests/update/updatetexts.h"
#include "update/installerplan.h"
#include "update/taskbar.h"
#include "update/updatedialog.h"
#include "update/updateservice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <mutex>

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
// An AppImage that really runs: a script that leaves its mark in the update folder.
const QByteArray kRunningInstaller = "#!/bin/sh\ntouch \"$(dirname \"$0\")/it ran\"\n";

// How a row changes one line of the manifest the release tool wrote.
enum class Edit { Keep, Wrong, Remove };

// How the start is made: recorded by a handler that says it started or that it failed, or real,
// through the row's xdg-open on PATH.
enum class Launch { Handler, HandlerFails, Real, RealOpenerRefuses };

struct Case {
    QString path = QStringLiteral("/get/velmora.deb"); // empty: the manifest names no address
    HttpAnswer answer = HttpAnswer::ok(kInstaller);
    QByteArray installer = kInstaller; // what the manifest was made for
    bool secureInstaller = false;      // the installer's address is https
    bool secureManifest = false;       // the manifest came over https
    Edit digest = Edit::Keep;
    Edit signature = Edit::Keep;
    Edit size = Edit::Keep;  // Wrong: one byte more than the file
    bool signedBuild = true; // the build carries the release key
    Launch launch = Launch::Handler;
    // What must come of it.
    bool asked = true;    // the installer was requested from a server
    bool started = false; // an installer started and the program ended
    QStringList files{};  // in the update folder besides the manifest
    QString status{};     // the dialog's status line, when the program goes on
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
    void secondPressStartsNothing();
    void progressOfATransferHeldHalfWay();

private:
    void writeManifest(const QByteArray& text);
    QStringList updateFiles() const;
    // Runs the program's event loop until it is asked to end (0) or for the given time (-1).
    static int runEventLoop(int milliseconds);
    // Runs what is queued already: 0 when that asks the program to end, else -1.
    static int runQueuedEvents();
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }

    HttpTestServer m_server;
    HttpTestServer m_secureServer{HttpTestServer::Tls::On};
    velmora::test::ReleaseTool m_release;
    QTemporaryDir m_common;
    QTemporaryDir m_bin; // the row's xdg-open
    QByteArray m_path;
    std::unique_ptr<velmora::TForm4> m_dialog;
    std::mutex m_startedMutex;
    QStringList m_started; // by the handler, from the download's thread
};

void TstInstaller::initTestCase() {
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    // Stalls end after a second below the lowest speed, a trickle among them.
    velmora::setDownloadTimeouts({2000, 1, 2});
    velmora::setDownloadCertificateAuthorities(m_secureServer.certificateFile());
    Global::setCommonAppData(m_common.path());
    // The update folder lies in the home folder, as it does for users.
    qputenv("HOME", QFile::encodeName(m_common.path()));
    velmora::test::useNamedTexts();
    m_path = qgetenv("PATH");
}

void TstInstaller::init() {
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
}

void TstInstaller::cleanup() {
    QVERIFY(velmora::stopUpdateWorkers());
    velmora::setLaunchHandler({});
    qputenv("PATH", m_path);
    m_dialog.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstInstaller::writeManifest(const QByteArray& text) {
    QFile file(QDir(Global::updateFolder()).filePath(QStringLiteral("update.ums")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList TstInstaller::updateFiles() const {
    QStringList files = QDir(Global::updateFolder()).entryList(QDir::Files | QDir::Hidden);
    files.removeOne(QStringLiteral("update.ums"));
    // Held while the download runs; the instances' test looks at it.
    files.removeOne(QStringLiteral("update.lock"));
    return files;
}

int TstInstaller::runEventLoop(int milliseconds) {
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    fallback.start(milliseconds);
    return QCoreApplication::exec();
}

int TstInstaller::runQueuedEvents() {
    // Queued after everything the download has handed over, an end it asked for included.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(-1); }, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

void TstInstaller::hostileServersAndManifests_data() {
    QTest::addColumn<Case>("row");
    const QByteArray half = kInstaller.left(kInstaller.size() / 2);
    const QString downloadFailed = QStringLiteral("more 4");
    const QString notVerified = QStringLiteral("more 5");
    const QString unusable = QStringLiteral("more 8");
    // Named as users write a path in their home folder.
    const auto failedStart = [](const QString& file) {
        return QStringLiteral("more 6: ~/Velmora/Update for 3.2/") + file;
    };
    using Kind = HttpAnswer::Kind;

    // Transfers that never complete.
    QTest::newRow("404") << Case{.answer = HttpAnswer::failure(404), .status = downloadFailed};
    QTest::newRow("500") << Case{.answer = HttpAnswer::failure(500), .status = downloadFailed};
    QTest::newRow("a length longer than what is sent")
        << Case{.answer = HttpAnswer::of(Kind::LongLength, half), .status = downloadFailed};
    QTest::newRow("no length and cut, size announced")
        << Case{.answer = HttpAnswer::of(Kind::CutNoLength, half), .status = notVerified};
    QTest::newRow("no length and cut, no size")
        << Case{.answer = HttpAnswer::of(Kind::CutNoLength, half),
                .size = Edit::Remove,
                .status = notVerified};
    QTest::newRow("endless, size announced")
        << Case{.answer = HttpAnswer::of(Kind::Endless, {}), .status = downloadFailed};
    QTest::newRow("endless, no size: stopped at the cap")
        << Case{.answer = HttpAnswer::of(Kind::Endless, {}),
                .size = Edit::Remove,
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
    QTest::newRow("http installer from an https manifest")
        << Case{.secureManifest = true, .asked = false, .status = downloadFailed};
    QTest::newRow("no address") << Case{
        .path = QString(), .asked = false, .status = downloadFailed};

    // Transfers that complete, with a manifest that does not vouch for them.
    QTest::newRow("no digest") << Case{
        .digest = Edit::Remove, .asked = false, .status = notVerified};
    QTest::newRow("wrong digest") << Case{.digest = Edit::Wrong, .status = notVerified};
    QTest::newRow("wrong size") << Case{.size = Edit::Wrong, .status = notVerified};
    QTest::newRow("good digest, no signature")
        << Case{.signature = Edit::Remove, .asked = false, .status = notVerified};
    QTest::newRow("good digest, bad signature")
        << Case{.signature = Edit::Wrong, .status = notVerified};
    QTest::newRow("refused kind: shell script")
        << Case{.path = QStringLiteral("/get/velmora.sh"), .asked = false, .status = unusable};
    QTest::newRow("refused kind: desktop entry")
        << Case{.path = QStringLiteral("/get/velmora.desktop"), .asked = false, .status = unusable};

    // Verified installers.
    QTest::newRow("good digest and signature") << Case{.started = true, .files = {"setup.deb"}};
    QTest::newRow("a build without a key checks the digest alone") << Case{
        .signature = Edit::Remove, .signedBuild = false, .started = true, .files = {"setup.deb"}};
    QTest::newRow("https installer from an https manifest") << Case{
        .secureInstaller = true, .secureManifest = true, .started = true, .files = {"setup.deb"}};
    QTest::newRow("a start that fails keeps the file") << Case{
        .launch = Launch::HandlerFails, .files = {"setup.deb"}, .status = failedStart("setup.deb")};
    QTest::newRow("an opener that refuses the package") << Case{.launch = Launch::RealOpenerRefuses,
                                                                .files = {"setup.deb"},
                                                                .status = failedStart("setup.deb")};
    QTest::newRow("an opener that accepts the package")
        << Case{.launch = Launch::Real, .started = true, .files = {"setup.deb"}};
    QTest::newRow("an AppImage that is a program runs")
        << Case{.path = QStringLiteral("/get/Velmora.AppImage"),
                .answer = HttpAnswer::ok(kRunningInstaller),
                .installer = kRunningInstaller,
                .launch = Launch::Real,
                .started = true,
                .files = {"it ran", "setup.AppImage"}};
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

    // The manifest as the release tool writes it, then the row's edits.
    // The tool publishes only kinds this system starts: another address is put in afterwards.
    const QString url = installerServer.url(QStringLiteral("/get/velmora.deb"));
    QByteArray manifest = m_release.manifest(row.installer, url);
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    manifest = withManifestLine(manifest, "URL",
                                row.path.isEmpty() ? QByteArray()
                                                   : installerServer.url(row.path).toLatin1());
    const auto edit = [&manifest](const QByteArray& key, Edit how, const QByteArray& wrong) {
        if (how != Edit::Keep)
            manifest = withManifestLine(manifest, key, how == Edit::Wrong ? wrong : QByteArray());
    };
    edit("SHA-256", row.digest, QByteArray(64, 'a'));
    edit("Signature", row.signature,
         QByteArray::fromBase64(QByteArray("x").repeated(86) + "==").toBase64());
    edit("Size 1", row.size, QByteArray::number(row.installer.size() + 1));
    if (row.signature == Edit::Wrong) {
        // A real signature by the release key, over other bytes.
        const QByteArray other = m_release.manifest(row.installer + "!", url);
        for (const QByteArray& line : other.split('\n'))
            if (line.startsWith("Signature="))
                manifest = withManifestLine(manifest, "Signature", line.mid(10));
    }
    writeManifest(manifest);

    // The row's opener for a real start of a package, found first on PATH. What really starts
    // leaves a mark: the opener beside itself, the AppImage in its folder.
    const QString openerMark = m_bin.filePath(QStringLiteral("opener ran"));
    QFile::remove(openerMark);
    const QString mark = row.path.endsWith(QLatin1String(".AppImage"))
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
    QVERIFY(velmora::installerDownloadRunning());
    if (row.started) {
        // The program ends after the start, and only then.
        QCOMPARE(runEventLoop(60000), 0);
        if (row.launch == Launch::Handler) {
            const std::lock_guard lock(m_startedMutex);
            QCOMPARE(m_started,
                     QStringList{QDir(Global::updateFolder()).filePath(row.files.last())});
        }
        QTRY_VERIFY(QFile::exists(mark) || row.launch == Launch::Handler);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!velmora::installerDownloadRunning(), 60000);
        // Everything the download handed over has run: the program goes on and says why.
        QCOMPARE(runQueuedEvents(), -1);
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

void TstInstaller::secondPressStartsNothing() {
    const QString path = QStringLiteral("/get/slow.deb");
    m_server.answer(path, HttpAnswer::slow(kInstaller, 8192, 40));
    writeManifest(m_release.manifest(kInstaller, m_server.url(path)));

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
    writeManifest(m_release.manifest(installer, m_server.url(path)));
    m_dialog->language();
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

    QTRY_VERIFY_WITH_TIMEOUT(!velmora::installerDownloadRunning(), 60000);
    QCOMPARE(runQueuedEvents(), -1);
    QCOMPARE(label->text(), QStringLiteral("more 4"));
    QCOMPARE(bar->value(), 0);
    QVERIFY(!child<QTimer>("Timer1")->isActive());
    QCOMPARE(updateFiles(), QStringList());
    const std::lock_guard lock(m_startedMutex);
    QCOMPARE(m_started.size(), 0);
}

QTEST_MAIN(TstInstaller)
#include "tst_installer.moc"
