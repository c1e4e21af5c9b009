#pragma once

#include <QString>

#include <functional>

namespace velmora {

// How a downloaded file is started: a self-contained Linux program runs directly, anything else
// (a package, a document) opens in the desktop's default application for its type.
enum class LaunchMethod { Execute, OpenWithDefaultApplication };

// By the file's extension, ignoring case: ".AppImage" and ".run" are executed.
LaunchMethod launchMethodFor(const QString& path);

// Starts the file without waiting for it, through the shell layer. A file to be executed first
// gets its owner's execute bit. Whether the start succeeded is not reported: the caller does not
// look at it. Call on the user-interface thread.
void launchFile(const QString& path);

// Replaces the real start (the execute bit is still set), so tests can record what would be
// started. An empty handler restores the real start.
using LaunchHandler = std::function<void(const QString& path, LaunchMethod method)>;
void setLaunchHandler(LaunchHandler handler);

} // namespace velmora
