#include "platform/desktop/windowsystem.h"

namespace velmora {

DisplayEnvironment currentDisplayEnvironment() {
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
            qgetenv("DISPLAY")};
}

QByteArray preferredPlatform(const DisplayEnvironment& environment) {
    if (!environment.chosenPlatform.isEmpty() || environment.xDisplay.isEmpty())
        return {};
    const bool wayland = !environment.waylandDisplay.isEmpty() ||
                         environment.sessionType.compare("wayland", Qt::CaseInsensitive) == 0;
    return wayland ? QByteArrayLiteral("xcb") : QByteArray();
}

void preferPlaceableWindows() {
    const QByteArray platform = preferredPlatform(currentDisplayEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool reportsWindowPosition(const QString& platformName) {
    return !platformName.startsWith(QLatin1String("wayland"));
}

} // namespace velmora
