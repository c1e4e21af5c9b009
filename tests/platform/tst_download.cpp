// The transfer against a local server that the test starts: a whole body lands in the target,
// and every way a server fails leaves the target as it was and no temporary file behind.
#include "platform/download.h"
#include "tests/support/httpserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using velmora::downloadFile;
using velmora::DownloadProgress;
using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

Q_DECLARE_METATYPE(HttpAnswer)

namespace {

QByteArray bodyOf(int bytes) {
    QByteArray body;
    body.reserve(bytes);
    for (int i = 0; i < bytes; ++i)
        body.append(char('a' + i % 26));
    return body;
}

const QByteArray kBody = bodyOf(5000);

} // namespace

class TstDownload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wholeTransfers_data();
    void wholeTransfers();
    void failedTransfersLeaveNothing_data();
    void failedTransfersLeaveNothing();
    void failureKeepsAnEarlierFile();
    void missingFolderFails();
    void progressCountsTheBytes();
    void cancelEndsAStalledTransfer();

private:
    QStringList folderEntries() const;

    HttpTestServer m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_target;
};

void TstDownload::initTestCase() {
    // The transfer library is opened at run time; without it every download fails.
    QVERIFY(velmora::initDownloads());
    // A stall ends after a second instead of half a minute.
    velmora::setDownloadTimeouts({2000, 1});
}

void TstDownload::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_target = m_dir->filePath(QStringLiteral("setup.deb"));
}

QStringList TstDownload::folderEntries() const {
    return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

void TstDownload::wholeTransfers_data() {
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("body with its length") << HttpAnswer::ok(kBody) << kBody;
    QTest::newRow("empty body") << HttpAnswer::ok({}) << QByteArray();
    // Without a length the end of the connection is the end of the body: HTTP cannot tell a cut
    // here; the installer's announced size and digest catch it.
    QTest::newRow("body ended by closing, no length")
        << HttpAnswer::of(HttpAnswer::Kind::CutNoLength, kBody) << kBody;
    QTest::newRow("slow body in pieces") << HttpAnswer::slow(kBody, 1000, 20) << kBody;
}

void TstDownload::wholeTransfers() {
    QFETCH(HttpAnswer, answer);
    QFETCH(QByteArray, expected);
    m_server.answer(QStringLiteral("/file"), answer);
    QVERIFY(downloadFile(m_server.url(QStringLiteral("/file")), m_target));
    QFile file(m_target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("setup.deb")});
}

void TstDownload::failedTransfersLeaveNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<qint64>("maxBytes");

    const qint64 any = velmora::NoSizeLimit;
    QTest::newRow("404 with an error page") << "/file" << HttpAnswer::failure(404) << any;
    QTest::newRow("500") << "/file" << HttpAnswer::failure(500) << any;
    QTest::newRow("length longer than what is sent")
        << "/file" << HttpAnswer::of(HttpAnswer::Kind::LongLength, kBody) << any;
    QTest::newRow("stall past the time-out")
        << "/file" << HttpAnswer::of(HttpAnswer::Kind::Stall, kBody) << any;
    QTest::newRow("silent server past the time-out")
        << "/file" << HttpAnswer::of(HttpAnswer::Kind::Silent, {}) << any;
    QTest::newRow("redirect loop") << "/loop" << HttpAnswer::redirect("/loop") << any;
    QTest::newRow("redirect to file://")
        << "/file" << HttpAnswer::redirect("file:///etc/hostname") << any;
    QTest::newRow("redirect to ftp://")
        << "/file" << HttpAnswer::redirect("ftp://127.0.0.1/setup.deb") << any;
    QTest::newRow("body past the size limit") << "/file" << HttpAnswer::ok(kBody) << qint64(4999);
    QTest::newRow("announced length past the size limit")
        << "/file" << HttpAnswer::ok(kBody) << qint64(100);
    QTest::newRow("a 3xx without a place to go") << "/file" << HttpAnswer::failure(300) << any;
}

void TstDownload::failedTransfersLeaveNothing() {
    QFETCH(QString, path);
    QFETCH(HttpAnswer, answer);
    QFETCH(qint64, maxBytes);
    m_server.answer(path, answer);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!downloadFile(m_server.url(path), m_target, nullptr, maxBytes));
    QVERIFY2(clock.elapsed() < 8000, "a failed transfer must end within its time-outs");
    QCOMPARE(folderEntries(), QStringList());
}

void TstDownload::failureKeepsAnEarlierFile() {
    {
        QFile earlier(m_target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    m_server.answer(QStringLiteral("/long"), HttpAnswer::of(HttpAnswer::Kind::LongLength, kBody));
    QVERIFY(!downloadFile(m_server.url(QStringLiteral("/long")), m_target));
    QVERIFY(!downloadFile(HttpTestServer::unreachableBase() + "/file", m_target));
    QVERIFY(!downloadFile(QStringLiteral("file:///etc/hostname"), m_target));
    QVERIFY(!downloadFile(QString(), m_target));
    QFile file(m_target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier"));
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("setup.deb")});

    // A whole transfer replaces it; a redirect to another path of the server is followed.
    m_server.answer(QStringLiteral("/moved"), HttpAnswer::redirect("/file"));
    m_server.answer(QStringLiteral("/file"), HttpAnswer::ok(kBody));
    QVERIFY(downloadFile(m_server.url(QStringLiteral("/moved")), m_target));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kBody);
}

void TstDownload::missingFolderFails() {
    // The temporary file cannot be made, so nothing is asked of the server.
    m_server.answer(QStringLiteral("/unasked"), HttpAnswer::ok(kBody));
    QVERIFY(!downloadFile(m_server.url(QStringLiteral("/unasked")),
                          m_dir->filePath(QStringLiteral("missing/setup.deb"))));
    QCOMPARE(m_server.requests(QStringLiteral("/unasked")), 0);
}

void TstDownload::progressCountsTheBytes() {
    DownloadProgress progress;
    QCOMPARE(progress.received.load(), -1);
    m_server.answer(QStringLiteral("/file"), HttpAnswer::slow(kBody, 500, 10));
    QVERIFY(downloadFile(m_server.url(QStringLiteral("/file")), m_target, &progress));
    QCOMPARE(progress.received.load(), kBody.size());
}

void TstDownload::cancelEndsAStalledTransfer() {
    velmora::setDownloadTimeouts({2000, 30});
    m_server.answer(QStringLiteral("/file"), HttpAnswer::of(HttpAnswer::Kind::Stall, kBody));
    DownloadProgress progress;
    std::thread canceller([&progress] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        progress.cancelled.store(true);
    });
    QElapsedTimer clock;
    clock.start();
    const bool ok = downloadFile(m_server.url(QStringLiteral("/file")), m_target, &progress);
    canceller.join();
    velmora::setDownloadTimeouts({2000, 1});
    QVERIFY(!ok);
    QVERIFY2(clock.elapsed() < 5000, "a cancelled transfer ends long before its time-out");
    QCOMPARE(folderEntries(), QStringList());
}

QTEST_GUILESS_MAIN(TstDownload)
#include "tst_download.moc"
