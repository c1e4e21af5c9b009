#pragma once

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

// Starts the installer without waiting for it to end, and tells whether it started. A file to be
// executed first gets its owner's execute bit; it has not started when the system refuses to run
// it (a folder mounted noexec, a file that is no program). A package has started when the
// desktop's opener (xdg-open) accepts it: it ends without an error, or is still running the
// package installer after a few seconds. False for a kind of file that is never started. Any
// thread; it may take those few seconds.
bool startInstaller(const QString& path);

// Replaces the real start (the execute bit is still set), so tests can record what would be
// started and answer whether it started. An empty handler restores the real start.
using LaunchHandler = std::function<bool(const QString& path, LaunchMethod method)>;
void setLaunchHandler(LaunchHandler handler);

} // namespace velmora
