#include "tests/support/httpserver.h"

#include <QHostAddress>
#include <QPointer>
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
        }
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

} // namespace

class HttpTestServer::Thread : public QThread {
public:
    Thread(std::shared_ptr<Shared> shared, std::promise<quint16> port)
        : m_shared(std::move(shared)), m_port(std::move(port)) {}

protected:
    void run() override {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost, 0)) {
            m_port.set_value(0);
            return;
        }
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                serve(socket, m_shared);
        });
        m_port.set_value(server.serverPort());
        exec();
    }

private:
    std::shared_ptr<Shared> m_shared;
    std::promise<quint16> m_port;
};

HttpTestServer::HttpTestServer() : m_shared(std::make_shared<Shared>()) {
    std::promise<quint16> port;
    std::future<quint16> listening = port.get_future();
    m_thread = std::make_unique<Thread>(m_shared, std::move(port));
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
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
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

QString HttpTestServer::unreachableBase() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("cannot find a free local port");
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

} // namespace velmora::test
