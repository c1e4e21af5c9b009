// The installer download behind the update dialog's download button, against a local server:
// no failed, cut, stalled, redirected-away or mismatched transfer starts anything or leaves a
// file, and the program goes on and says so; a whole one starts the installer once and ends the
// program. Also the dialog's progress figures on a transfer held half-way.
#include "platform/download.h"
#include "platform/launch.h"
#include "state/global.h"
#include "tests/support/httpserver.h"
#include "tests/update/updatetexts.h"
#include "update/taskbar.h"
#include "update/updatedialog.h"
#include "update/updateservice.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

using velmora::LaunchMethod;
using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

namespace Global = velmora::Global;

namespace {

QByteArray installerOf(int bytes) {
    QByteArray body(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        body[i] = char(i * 7 % 251);
    return body;
}

const QByteArray kInstaller = installerOf(64 * 1024);

QString sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

struct Started {
    QString path;
    LaunchMethod method;
    bool onUiThread;
};

} // namespace

class TstInstaller : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void faultyServers_data();
    void faultyServers();
    void wholeTransferStartsTheInstaller_data();
    void wholeTransferStartsTheInstaller();
    void secondPressStartsNothing();
    void progressOfATransferHeldHalfWay();

private:
    // Writes the manifest the dialog and the download read.
    void writeManifest(const QString& url, int size, const QString& sha256 = {});
    QStringList updateFiles() const;
    // Runs the program's event loop until it is asked to end (0) or for the given time (-1).
    static int runEventLoop(int milliseconds);
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }

    HttpTestServer m_server;
    QTemporaryDir m_common;
    std::unique_ptr<velmora::TForm4> m_dialog;
    QList<Started> m_started;
};

void TstInstaller::initTestCase() {
    velmora::setDownloadTimeouts({2000, 1});
    Global::setCommonAppData(m_common.path());
    velmora::test::useNamedTexts();
    velmora::setLaunchHandler([this](const QString& path, LaunchMethod method) {
        m_started.append({path, method, QThread::currentThread() == qApp->thread()});
    });
}

void TstInstaller::init() {
    m_started.clear();
    QDir(Global::updateFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(Global::updateFolder()));
    m_dialog = std::make_unique<velmora::TForm4>();
}

void TstInstaller::cleanup() {
    velmora::stopUpdateWorkers();
    m_dialog.reset();
}

void TstInstaller::writeManifest(const QString& url, int size, const QString& sha256) {
    QByteArray text =
        "[Info setup]\nVersion 1=33\nVersion 2=4.0\nSize 2=0.06\nURL=" + url.toUtf8() + "\n";
    if (size != 0)
        text += "Size 1=" + QByteArray::number(size) + "\n";
    if (!sha256.isEmpty())
        text += "SHA-256=" + sha256.toLatin1() + "\n";
    QFile file(QDir(Global::updateFolder()).filePath(QStringLiteral("update.ums")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList TstInstaller::updateFiles() const {
    QStringList files = QDir(Global::updateFolder()).entryList(QDir::Files | QDir::Hidden);
    files.removeOne(QStringLiteral("update.ums"));
    return files;
}

int TstInstaller::runEventLoop(int milliseconds) {
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    fallback.start(milliseconds);
    return QCoreApplication::exec();
}

void TstInstaller::faultyServers_data() {
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("sha256");

    const int size = kInstaller.size();
    const QString digest = sha256Of(kInstaller);
    const QByteArray half = kInstaller.left(size / 2);
    const QString deb = QStringLiteral("/get/velmora.deb");
    QTest::newRow("404") << HttpAnswer::failure(404) << deb << size << digest;
    QTest::newRow("500") << HttpAnswer::failure(500) << deb << size << digest;
    QTest::newRow("length longer than what is sent")
        << HttpAnswer::of(HttpAnswer::Kind::LongLength, half) << deb << size << QString();
    QTest::newRow("cut without length")
        << HttpAnswer::of(HttpAnswer::Kind::CutNoLength, half) << deb << size << QString();
    QTest::newRow("cut without length, only the digest announced")
        << HttpAnswer::of(HttpAnswer::Kind::CutNoLength, half) << deb << 0 << digest;
    QTest::newRow("stall past the time-out")
        << HttpAnswer::of(HttpAnswer::Kind::Stall, kInstaller) << deb << size << digest;
    QTest::newRow("redirect loop") << HttpAnswer::redirect(deb.toLatin1()) << deb << size << digest;
    QTest::newRow("redirect to file://")
        << HttpAnswer::redirect("file:///etc/hostname") << deb << size << QString();
    QTest::newRow("digest mismatch")
        << HttpAnswer::ok(kInstaller) << deb << size << sha256Of("another installer");
    QTest::newRow("size mismatch") << HttpAnswer::ok(kInstaller) << deb << size + 1 << QString();
    QTest::newRow("more bytes than announced")
        << HttpAnswer::of(HttpAnswer::Kind::CutNoLength, kInstaller) << deb << size - 1
        << QString();
    QTest::newRow("no address") << HttpAnswer::ok(kInstaller) << "" << size << QString();
}

void TstInstaller::faultyServers() {
    QFETCH(HttpAnswer, answer);
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(QString, sha256);
    m_server.answer(path, answer);
    writeManifest(path.isEmpty() ? QString() : m_server.url(path), size, sha256);

    m_dialog->Button2Click();
    QVERIFY(velmora::installerDownloadRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!velmora::installerDownloadRunning(), 10000);
    // The program goes on: nothing asks it to end, nothing started, nothing left.
    QCOMPARE(runEventLoop(300), -1);
    QCOMPARE(m_started.size(), 0);
    QCOMPARE(updateFiles(), QStringList());
    QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("more 4"));
    QCOMPARE(child<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(child<QPushButton>("Button2")->isEnabled());
    QVERIFY(!m_dialog->taskbarIndicator()->ShowInTaskbar());
}

void TstInstaller::wholeTransferStartsTheInstaller_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("sha256");
    QTest::addColumn<QString>("file");
    QTest::addColumn<LaunchMethod>("method");
    const int size = kInstaller.size();
    const QString digest = sha256Of(kInstaller);
    QTest::newRow("package with size and digest")
        << "/get/velmora-4.0.deb" << size << digest << "setup.deb"
        << LaunchMethod::OpenWithDefaultApplication;
    QTest::newRow("AppImage with its size") << "/get/Velmora.AppImage" << size << QString()
                                            << "setup.AppImage" << LaunchMethod::Execute;
    QTest::newRow("run script, digest in capitals")
        << "/get/velmora.run" << 0 << digest.toUpper() << "setup.run" << LaunchMethod::Execute;
    QTest::newRow("an older manifest: no size, no digest")
        << "/get/setup.exe" << 0 << QString() << "setup.exe"
        << LaunchMethod::OpenWithDefaultApplication;
    QTest::newRow("no extension") << "/get/velmora" << size << QString() << "setup"
                                  << LaunchMethod::OpenWithDefaultApplication;
}

void TstInstaller::wholeTransferStartsTheInstaller() {
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(QString, sha256);
    QFETCH(QString, file);
    QFETCH(LaunchMethod, method);
    m_server.answer(path, HttpAnswer::ok(kInstaller));
    writeManifest(m_server.url(path), size, sha256);

    m_dialog->Button2Click();
    QCOMPARE(runEventLoop(10000), 0);
    QCOMPARE(m_started.size(), 1);
    const QString installer = QDir(Global::updateFolder()).filePath(file);
    QCOMPARE(m_started[0].path, installer);
    QCOMPARE(m_started[0].method, method);
    QVERIFY(m_started[0].onUiThread);
    QCOMPARE(updateFiles(), QStringList{file});
    QFile arrived(installer);
    QVERIFY(arrived.open(QIODevice::ReadOnly));
    QCOMPARE(arrived.readAll(), kInstaller);
    QCOMPARE(arrived.permissions().testFlag(QFileDevice::ExeOwner),
             method == LaunchMethod::Execute);
}

void TstInstaller::secondPressStartsNothing() {
    const QString path = QStringLiteral("/get/slow.deb");
    m_server.answer(path, HttpAnswer::slow(kInstaller, 8192, 40));
    writeManifest(m_server.url(path), kInstaller.size(), sha256Of(kInstaller));

    m_dialog->Button2Click();
    QVERIFY(!child<QPushButton>("Button2")->isEnabled());
    m_dialog->Button2Click();
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(runEventLoop(10000), 0);
    QCOMPARE(m_server.requests(path), 1);
    QCOMPARE(m_started.size(), 1);
}

void TstInstaller::progressOfATransferHeldHalfWay() {
    // 1,700,000 bytes announced, 850,000 sent, then the server stalls until the time-out.
    const QByteArray installer = installerOf(1700000);
    const QString path = QStringLiteral("/get/held.deb");
    m_server.answer(path, HttpAnswer::of(HttpAnswer::Kind::Stall, installer));
    writeManifest(m_server.url(path), 1700000);
    m_dialog->language();
    QCOMPARE(m_dialog->InstallerSize(), 1700000);

    auto* label = child<QLabel>("Label5");
    auto* bar = child<QProgressBar>("ProgressBar1");
    velmora::TaskbarProgressIndicator* taskbar = m_dialog->taskbarIndicator();
    m_dialog->Button2Click();
    QCOMPARE(label->text(), QStringLiteral("update 6"));
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QStringLiteral("update 7 830 update 8"), 5000);
    QCOMPARE(bar->value(), 202);
    QVERIFY(taskbar->ShowInTaskbar());
    QCOMPARE(taskbar->Position(), 50);
    QCOMPARE(child<QTimer>("Timer1")->interval(), 100);

    QTRY_VERIFY_WITH_TIMEOUT(!velmora::installerDownloadRunning(), 10000);
    QCOMPARE(label->text(), QStringLiteral("more 4"));
    QCOMPARE(bar->value(), 0);
    QVERIFY(!child<QTimer>("Timer1")->isActive());
    QCOMPARE(updateFiles(), QStringList());
    QCOMPARE(m_started.size(), 0);
}

QTEST_MAIN(TstInstaller)
#include "tst_installer.moc"
