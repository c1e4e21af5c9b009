#pragma once

#include <QString>

#include <memory>

// The update folder is shared by every instance of the program that the user runs, and private
// to the user: the folder 0700, its files 0600, only a verified installer 0700. Every instance
// that uses it (an update check, the update dialog, an installer download) holds it, and the
// start-up cleanup of another instance leaves the folder alone while any instance does. The hold
// of an instance that has ended, killed or not, does not count.
namespace velmora {

// A download is fetched as the installer's name with this added, and takes the installer's name
// only once verified.
inline constexpr const char* FetchedSuffix = ".new";

// Makes the folder (with its parents) and gives it mode 0700, also when it was there already.
bool makePrivateFolder(const QString& folder);

// A hold on the update folder, shared by all of this instance's uses at the time: it goes when the
// last hold goes. Any number of instances hold the folder at once. Creates the folder. Null when
// the hold cannot be taken (the folder or its lock file cannot be made); the use goes on without
// it. On the user-interface thread.
std::shared_ptr<void> holdUpdateFolder(const QString& folder);

// True while an instance, this one included, holds the folder. The lock file itself stays in the
// folder: only the lock on it counts.
bool updateFolderHeld(const QString& folder);

// Removes what the last run left in the update folder (the manifest, unfinished or unverified
// downloads, the copies handed to the package installer), unless any instance holds the folder. A
// verified installer that would not start stays there for the user. Creates nothing: a missing
// folder stays missing.
void removeLeftoverUpdateFiles(const QString& folder);

} // namespace velmora
