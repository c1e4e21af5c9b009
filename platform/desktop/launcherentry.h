#pragma once

#include <QString>

#include <optional>

namespace velmora {

// The desktop's launcher progress: the broadcast D-Bus signal
// com.canonical.Unity.LauncherEntry.Update(s app_uri, a{sv} properties) on the session bus,
// which KDE Plasma's task manager, Ubuntu Dock, Plank and others show on the program's launcher.
namespace launcherentry {

inline constexpr const char* Interface = "com.canonical.Unity.LauncherEntry";
inline constexpr const char* Member = "Update";

// True when a session bus is reachable; without one every send does nothing.
bool available();

// Sends "progress-visible" and, when given, "progress" (0..1) for the launcher of app_uri, such
// as "application://velmora.desktop". False when nothing was sent.
bool send(const QString& appUri, bool visible, std::optional<double> progress);

} // namespace launcherentry
} // namespace velmora
