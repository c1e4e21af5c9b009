#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// What the environment says about the desktop's window systems.
struct DisplayEnvironment {
    QByteArray chosenPlatform; // QT_QPA_PLATFORM: the user's own choice of the toolkit's platform
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray sessionType;    // XDG_SESSION_TYPE ("wayland", "x11" …)
    QByteArray xDisplay;       // DISPLAY
};

DisplayEnvironment currentDisplayEnvironment();

// The platform to start on: "xcb" when the user chose none and both a Wayland session and an X
// display are there, since only X lets a program place its window; otherwise empty, and the
// toolkit chooses as it always does.
QByteArray preferredPlatform(const DisplayEnvironment& environment);

// Applies preferredPlatform() to this process and the programs it starts. Call before the
// application object is made.
void preferPlaceableWindows();

// Whether the toolkit's platform of that name reports where the window system put a window.
// A Wayland compositor tells its clients nothing of their windows' places.
[[nodiscard]] bool reportsWindowPosition(const QString& platformName);

} // namespace velmora
