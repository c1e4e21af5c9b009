#include "tests/support/httpserver.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <future>

namespace velmora::test {

HttpAnswer HttpAnswer::ok(const QByteArray& body) {
    return of(Kind::Body, body);
}

HttpAnswer HttpAnswer::failure(int status) {
    HttpAnswer answer = of(Kind::Body, "<html><body><h1>Error</h1></body></html>\n");
    answer.status = status;
    return answer;
}

HttpAnswer HttpAnswer::redirect(const QByteArray& location) {
    HttpAnswer answer = of(Kind::Redirect, {});
    answer.status = 302;
    answer.location = location;
    return answer;
}

HttpAnswer HttpAnswer::of(Kind kind, const QByteArray& body) {
    HttpAnswer answer;
    answer.kind = kind;
    answer.body = body;
    return answer;
}

HttpAnswer HttpAnswer::held(const QByteArray& body) {
    return of(Kind::Held, body);
}

HttpAnswer HttpAnswer::slow(const QByteArray& body, int chunkBytes, int chunkMilliseconds) {
    HttpAnswer answer = of(Kind::Slow, body);
    answer.chunkBytes = chunkBytes;
    answer.chunkMilliseconds = chunkMilliseconds;
    return answer;
}

namespace {

QByteArray head(int status, const QList<QByteArray>& headers) {
    QByteArray text = "HTTP/1.1 " + QByteArray::number(status) +
                      (status < 300   ? " OK"
                       : status < 400 ? " Found"
                                      : " Error") +
                      "\r\n";
    for (const QByteArray& header : headers)
        text += header + "\r\n";
    return text + "\r\n";
}

QByteArray length(qint64 bytes) {
    return "Content-Length: " + QByteArray::number(bytes);
}

// Reads one request on its connection and answers it; lives in the server's thread.
void serve(QTcpSocket* socket, const std::shared_ptr<HttpTestServer::Shared>& shared) {
    auto buffer = std::make_shared<QByteArray>();
    auto answered = std::make_shared<bool>(false);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, shared, buffer, answered] {
        *buffer += socket->readAll();
        if (*answered || !buffer->contains("\r\n\r\n"))
            return;
        *answered = true; // one request per connection; later bytes are ignored
        const QList<QByteArray> requestLine = buffer->left(buffer->indexOf("\r\n")).split(' ');
        const QString path =
            requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
        HttpAnswer answer = HttpAnswer::failure(404);
        {
            const std::lock_guard lock(shared->mutex);
            ++shared->requests[path];
            answer = shared->answers.value(path, answer);
        }
        using Kind = HttpAnswer::Kind;
        switch (answer.kind) {
        case Kind::Body:
            socket->write(head(answer.status, {length(answer.body.size()), "Connection: close"}) +
                          answer.body);
            socket->disconnectFromHost();
            break;
        case Kind::LongLength:
            socket->write(head(200, {length(answer.body.size() + 1000), "Connection: close"}) +
                          answer.body);
            socket->disconnectFromHost();
            break;
        case Kind::CutNoLength:
            socket->write(head(200, {"Connection: close"}) + answer.body);
            socket->disconnectFromHost();
            break;
        case Kind::Stall:
            socket->write(head(200, {length(answer.body.size())}) +
                          answer.body.left(answer.body.size() / 2));
            break;
        case Kind::Silent:
            break;
        case Kind::Redirect:
            socket->write(head(answer.status,
                               {"Location: " + answer.location, length(0), "Connection: close"}));
            socket->disconnectFromHost();
            break;
        case Kind::Slow: {
            socket->write(head(200, {length(answer.body.size()), "Connection: close"}));
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent, answer] {
                socket->write(answer.body.mid(*sent, answer.chunkBytes));
                *sent += answer.chunkBytes;
                if (*sent >= answer.body.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
            timer->start(answer.chunkMilliseconds);
            break;
        }
        case Kind::Held: {
            // Looks for the release now and then, in the server's thread.
            auto* timer = new QTimer(socket);
            QObject::connect(
                timer, &QTimer::timeout, socket, [socket, timer, shared, path, answer] {
                    {
                        const std::lock_guard lock(shared->mutex);
                        if (!shared->released.contains(path))
                            return;
                    }
                    timer->stop();
                    socket->write(
                        head(answer.status, {length(answer.body.size()), "Connection: close"}) +
                        answer.body);
                    socket->disconnectFromHost();
                });
            timer->start(10);
            break;
        }
        case Kind::Endless: {
            socket->write(head(200, {"Connection: close"}));
            const QByteArray piece = answer.body.isEmpty() ? QByteArray(65536, 'x') : answer.body;
            // More goes out whenever the client has taken what was sent.
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, piece] {
                if (socket->bytesToWrite() < 4 * piece.size())
                    socket->write(piece);
            });
            socket->write(piece);
            break;
        }
        }
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

// A self-signed certificate for 127.0.0.1 and its key, made by the openssl tool.
bool makeCertificate(const QString& certificate, const QString& key) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), key,
                   QStringLiteral("-out"), certificate});
    return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit &&
           openssl.exitCode() == 0;
}

} // namespace

class HttpTestServer::Thread : public QThread {
public:
    Thread(std::shared_ptr<Shared> shared, std::promise<quint16> port, QString certificate,
           QString key)
        : m_shared(std::move(shared)), m_port(std::move(port)),
          m_certificate(std::move(certificate)), m_key(std::move(key)) {}

protected:
    void run() override {
        std::unique_ptr<QTcpServer> server;
        if (m_certificate.isEmpty()) {
            server = std::make_unique<QTcpServer>();
            QObject::connect(server.get(), &QTcpServer::newConnection, server.get(),
                             [this, &server] { serveWaiting(*server); });
        } else {
            auto secure = std::make_unique<QSslServer>();
            QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
            QFile certificate(m_certificate);
            QFile key(m_key);
            if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
                m_port.set_value(0);
                return;
            }
            configuration.setLocalCertificate(QSslCertificate(&certificate));
            configuration.setPrivateKey(QSslKey(&key, QSsl::Ec));
            secure->setSslConfiguration(configuration);
            // Offered once the handshake is over.
            QObject::connect(secure.get(), &QTcpServer::pendingConnectionAvailable, secure.get(),
                             [this, &server] { serveWaiting(*server); });
            server = std::move(secure);
        }
        if (!server->listen(QHostAddress::LocalHost, 0)) {
            m_port.set_value(0);
            return;
        }
        m_port.set_value(server->serverPort());
        exec();
    }

private:
    void serveWaiting(QTcpServer& server) {
        while (QTcpSocket* socket = server.nextPendingConnection())
            serve(socket, m_shared);
    }

    std::shared_ptr<Shared> m_shared;
    std::promise<quint16> m_port;
    QString m_certificate;
    QString m_key;
};

HttpTestServer::HttpTestServer(Tls tls) : m_shared(std::make_shared<Shared>()) {
    QString certificate;
    QString key;
    if (tls == Tls::On) {
        m_certificates = std::make_unique<QTemporaryDir>();
        certificate = m_certificates->filePath(QStringLiteral("certificate.pem"));
        key = m_certificates->filePath(QStringLiteral("key.pem"));
        if (!m_certificates->isValid() || !makeCertificate(certificate, key))
            qFatal("the test https server cannot make its certificate (is openssl installed?)");
    }
    std::promise<quint16> port;
    std::future<quint16> listening = port.get_future();
    m_thread = std::make_unique<Thread>(m_shared, std::move(port), certificate, key);
    m_thread->start();
    m_port = listening.get();
    if (m_port == 0)
        qFatal("the test HTTP server cannot listen on 127.0.0.1");
}

HttpTestServer::~HttpTestServer() {
    m_thread->quit();
    m_thread->wait();
}

QString HttpTestServer::base() const {
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_certificates ? QLatin1String("https") : QLatin1String("http"))
        .arg(m_port);
}

QString HttpTestServer::certificateFile() const {
    return m_certificates ? m_certificates->filePath(QStringLiteral("certificate.pem")) : QString();
}

QString HttpTestServer::url(const QString& path) const {
    return base() + path;
}

void HttpTestServer::answer(const QString& path, const HttpAnswer& answer) {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->answers.insert(path, answer);
}

int HttpTestServer::requests(const QString& path) const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->requests.value(path);
}

void HttpTestServer::release(const QString& path) {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->released.insert(path);
}

QString HttpTestServer::unreachableBase() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("cannot find a free local port");
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

} // namespace velmora::test
