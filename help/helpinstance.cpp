#include "help/helpinstance.h"

#include "help/helpwindow.h"
#include "platform/store/registry.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace velmora::help {
namespace {

constexpr int HandOverTimeoutMs = 3000;

} // namespace

QString instanceName() {
    const QByteArray store = QFileInfo(Registry::storePath()).absoluteFilePath().toUtf8();
    const QByteArray digest =
        QCryptographicHash::hash(store, QCryptographicHash::Sha256).toHex().left(12);
    return QStringLiteral("velmora-help-%1-%2").arg(getuid()).arg(QLatin1String(digest));
}

bool handToRunningHelp(const QString& pagePath) {
    QLocalSocket socket;
    socket.connectToServer(instanceName());
    if (!socket.waitForConnected(HandOverTimeoutMs))
        return false;
    socket.write(pagePath.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(HandOverTimeoutMs))
        return false;
    // The running help answers once it has the page, so the hand-over is not lost when this
    // program ends at once.
    return socket.waitForReadyRead(HandOverTimeoutMs) && socket.readAll().startsWith("ok");
}

HelpInstance::HelpInstance(HelpWindow* window)
    : QObject(window), m_window(window), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QString page = QString::fromUtf8(socket->readLine()).trimmed();
                m_window->openPage(page);
                m_window->showNormal();
                m_window->raise();
                m_window->activateWindow();
                socket->write("ok\n");
                socket->flush();
            });
        }
    });
}

bool HelpInstance::listen() {
    if (m_server->listen(instanceName()))
        return true;
    // A socket left by a help program that was killed: nobody answers on it (the caller asked
    // first), so it is removed and made anew.
    QLocalServer::removeServer(instanceName());
    return m_server->listen(instanceName());
}

} // namespace velmora::help
