// The transfer against local servers that the test starts, over http and https: a whole body
// lands in the target, and every way a server fails (a redirect from https down to http and a
// trickle past a brief transfer's time limit among them) leaves the target as it was and no
// temporary file behind.
#include "platform/net/download.h"
#include "tests/support/httpserver.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using velmora::downloadFile;
using velmora::DownloadLimits;
using velmora::DownloadProgress;
using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

Q_DECLARE_METATYPE(HttpAnswer)
Q_DECLARE_METATYPE(DownloadLimits)

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
    void secureTransfers_data();
    void secureTransfers();

private:
    QStringList folderEntries() const;

    HttpTestServer m_server;
    HttpTestServer m_secureServer{HttpTestServer::Tls::On};
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_target;
};

void TstDownload::initTestCase() {
    // The transfer library is opened at run time; without it every download fails.
    QVERIFY(velmora::initDownloads());
    // A stall ends after a second instead of half a minute, a brief transfer after two.
    velmora::setDownloadTimeouts({2000, 1, 2});
    velmora::setDownloadCertificateAuthorities(m_secureServer.certificateFile());
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
    QTest::addColumn<DownloadLimits>("limits");

    const DownloadLimits any;
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
    QTest::newRow("body past the size limit")
        << "/file" << HttpAnswer::ok(kBody) << DownloadLimits{4999};
    QTest::newRow("announced length past the size limit")
        << "/file" << HttpAnswer::ok(kBody) << DownloadLimits{100};
    QTest::newRow("endless body past the size limit")
        << "/file" << HttpAnswer::of(HttpAnswer::Kind::Endless, {}) << DownloadLimits{1 << 20};
    QTest::newRow("a 3xx without a place to go") << "/file" << HttpAnswer::failure(300) << any;
    // Two bytes a second never trip the stall time-out; the brief limit ends it.
    QTest::newRow("trickle past a brief transfer's time limit")
        << "/file" << HttpAnswer::slow(kBody, 2, 1000)
        << DownloadLimits{velmora::NoSizeLimit, true};
}

void TstDownload::failedTransfersLeaveNothing() {
    QFETCH(QString, path);
    QFETCH(HttpAnswer, answer);
    QFETCH(DownloadLimits, limits);
    m_server.answer(path, answer);
    QVERIFY(!downloadFile(m_server.url(path), m_target, nullptr, limits));
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
    // A stall that only a day would end: the transfer can end within the test only by the cancel.
    velmora::setDownloadTimeouts({2000, 86400, 86400});
    const auto restore = qScopeGuard([] { velmora::setDownloadTimeouts({2000, 1, 2}); });
    const QString path = QStringLiteral("/file");
    m_server.answer(path, HttpAnswer::of(HttpAnswer::Kind::Stall, kBody));
    DownloadProgress progress;
    std::thread canceller([this, &progress, &path] {
        // Cancelled once the transfer is under way: its request has reached the server.
        while (m_server.requests(path) == 0)
            std::this_thread::yield();
        progress.cancelled.store(true);
    });
    const bool ok = downloadFile(m_server.url(path), m_target, &progress);
    canceller.join();
    QVERIFY(!ok);
    QCOMPARE(folderEntries(), QStringList());
}

void TstDownload::secureTransfers_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<bool>("whole");

    QTest::newRow("https body") << "/file" << HttpAnswer::ok(kBody) << true;
    QTest::newRow("https redirect on https") << "/moved" << HttpAnswer::redirect("/file") << true;
    // Anyone on the path could replace a plain answer: once on https, never back.
    QTest::newRow("https redirect down to http")
        << "/down" << HttpAnswer::redirect(m_server.url(QStringLiteral("/file")).toLatin1())
        << false;
}

void TstDownload::secureTransfers() {
    QFETCH(QString, path);
    QFETCH(HttpAnswer, answer);
    QFETCH(bool, whole);
    m_server.answer(QStringLiteral("/file"), HttpAnswer::ok(kBody));
    m_secureServer.answer(QStringLiteral("/file"), HttpAnswer::ok(kBody));
    m_secureServer.answer(path, answer);
    const int plainRequests = m_server.requests(QStringLiteral("/file"));

    QCOMPARE(downloadFile(m_secureServer.url(path), m_target), whole);
    QCOMPARE(folderEntries(), whole ? QStringList{QStringLiteral("setup.deb")} : QStringList());
    QCOMPARE(m_server.requests(QStringLiteral("/file")), plainRequests);
}

QTEST_GUILESS_MAIN(TstDownload)
#include "tst_download.moc"
