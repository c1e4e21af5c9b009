#include "platform/desktop/launcherentry.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace velmora::launcherentry {

bool available() {
    return QDBusConnection::sessionBus().isConnected();
}

bool send(const QString& appUri, bool visible, std::optional<double> progress) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // Any path below this prefix serves; the process id keeps two running copies apart.
    const QString path = QStringLiteral("/com/canonical/unity/launcherentry/%1")
                             .arg(QCoreApplication::applicationPid());
    QDBusMessage signal =
        QDBusMessage::createSignal(path, QLatin1String(Interface), QLatin1String(Member));
    QVariantMap properties{{QStringLiteral("progress-visible"), visible}};
    if (progress)
        properties.insert(QStringLiteral("progress"), *progress);
    signal << appUri << properties;
    return bus.send(signal);
}

} // namespace velmora::launcherentry
