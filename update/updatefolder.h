#pragma once

#include <QString>

#include <memory>

// The update folder is shared by every instance of the program that the user runs. An instance
// that uses it (an update check, the update dialog, an installer download) holds its lock, and
// the start-up cleanup of another instance leaves the folder alone while the lock is held. The
// lock of an instance that has ended, killed or not, does not count.
namespace velmora {

// A hold on the lock of the update folder, shared by all of this instance's uses at the time:
// the lock goes when the last hold goes. Creates the folder. Null when the lock cannot be taken
// (the folder cannot be made, or another instance holds it); the use goes on without it. On the
// user-interface thread.
std::shared_ptr<void> holdUpdateFolder(const QString& folder);

// Removes what the last run left in the update folder (the manifest, the installer, their
// unfinished temporary copies), unless another instance holds the folder's lock. Creates
// nothing: a missing folder stays missing.
void removeLeftoverUpdateFiles(const QString& folder);

} // namespace velmora
