#pragma once

#include <QFile>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

// How a downloaded installer is started: a self-contained Linux program runs directly; a Debian
// package goes to the desktop's opener, which hands it to the package installer.
enum class LaunchMethod { Execute, OpenWithPackageInstaller };

// By the file's extension, ignoring case: ".AppImage" and ".run" are executed, ".deb" is opened;
// none for any other kind, which this program never starts.
std::optional<LaunchMethod> launchMethodFor(const QString& path);

// Starts the installer that `verified` holds open (read-only, its bytes checked through this very
// handle), without waiting for it to end, and tells whether it started. What starts is what the
// handle holds, whatever the path names by now: a file to be executed is made 0700 through the
// handle and executed from it (fexecve); it has not started when the system refuses to run it (a
// folder mounted noexec, a file that is no program). A package is copied from the handle into a
// fresh folder of mode 0700 beside it, and that copy goes to the desktop's opener (xdg-open); it
// has started when the opener accepts it: it ends without an error, or is still running the
// package installer after a few seconds. The file's name says its kind; false for a kind that is
// never started. Any thread; it may take those few seconds.
// `path` is where the file is known: its name gives the kind, its folder the working folder and
// the place of a package's copy.
bool startInstaller(QFile& verified, const QString& path);

// The folders startInstaller makes for packages start with this; the start-up cleanup removes
// them.
inline constexpr const char* PrivateCopyPrefix = "start-";

// Replaces the real start (the file is still made 0700), so tests can record what would be
// started and answer whether it started. An empty handler restores the real start.
using LaunchHandler = std::function<bool(const QString& path, LaunchMethod method)>;
void setLaunchHandler(LaunchHandler handler);

// Called with the file's path right before a start, real or replaced; for tests that swap the
// file under the path then. An empty hook calls nothing.
using BeforeStartHook = std::function<void(const QString& path)>;
void setBeforeStartHook(BeforeStartHook hook);

} // namespace velmora
