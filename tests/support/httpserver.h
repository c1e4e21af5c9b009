#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <mutex>

namespace velmora::test {

// What the test server answers for one path, including the ways a server goes wrong.
struct HttpAnswer {
    enum class Kind {
        Body,        // the status, an exact Content-Length and the body
        LongLength,  // announces more bytes than it sends, then closes
        CutNoLength, // no Content-Length: sends the body and closes, as a cut transfer looks
        Stall,       // announces the body, sends its first half, then nothing while it lives
        Silent,      // reads the request and never answers
        Redirect,    // 302 to location
        Slow,        // the body in pieces of chunkBytes every chunkMilliseconds
        Endless,     // no Content-Length, then the body over and over until the client leaves
        Held,        // nothing until the test releases the path, then the status and the body
    };
    Kind kind = Kind::Body;
    int status = 200;
    QByteArray body;
    QByteArray location;
    int chunkBytes = 0;
    int chunkMilliseconds = 0;

    static HttpAnswer ok(const QByteArray& body);
    static HttpAnswer failure(int status);
    static HttpAnswer redirect(const QByteArray& location);
    static HttpAnswer of(Kind kind, const QByteArray& body);
    static HttpAnswer slow(const QByteArray& body, int chunkBytes, int chunkMilliseconds);
    static HttpAnswer held(const QByteArray& body);
};

// A small HTTP/1.1 server on 127.0.0.1 with its own thread, so it answers while the test's thread
// is blocked or busy. Paths without an answer get 404. With Tls::On it serves https with a
// certificate of its own for 127.0.0.1, which transfers trust through certificateFile().
class HttpTestServer {
public:
    enum class Tls { Off, On };
    explicit HttpTestServer(Tls tls = Tls::Off);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // "http://127.0.0.1:<port>", or https
    QString base() const;
    // The server's certificate (PEM), empty without Tls::On.
    QString certificateFile() const;
    QString url(const QString& path) const;
    void answer(const QString& path, const HttpAnswer& answer);
    // Requests that reached the path so far.
    int requests(const QString& path) const;
    // Lets the held answers of the path go out, now and from now on.
    void release(const QString& path);

    // The base address of a local port where nothing listens.
    static QString unreachableBase();

    // For the server's thread.
    struct Shared {
        mutable std::mutex mutex;
        QHash<QString, HttpAnswer> answers;
        QHash<QString, int> requests;
        QSet<QString> released;
    };

private:
    class Thread;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QTemporaryDir> m_certificates;
    std::unique_ptr<Thread> m_thread;
    quint16 m_port = 0;
};

} // namespace velmora::test
