#pragma once

#include "platform/download.h"

#include <functional>
#include <memory>

// The update service's workers: at most one update check and one installer download at a time.
namespace velmora {

// Starts an update check unless one is running. A request made while one runs is left to it:
// the running check reads the update mode afresh at each test, so a request from the menu
// (which has just set "custom") is answered by it. True when a new check started.
bool startUpdateCheck();
bool updateCheckRunning();

// Starts the installer download unless one is running (then the request is ignored, so two
// transfers never write the same file). True when it started.
bool startInstallerDownload(std::shared_ptr<DownloadProgress> progress,
                            std::function<void()> failed);
bool installerDownloadRunning();

// Ends the workers before the windows go: cancels their transfers, releases their hand-overs to
// the user-interface thread and waits for them. Hand-overs are taken again afterwards.
void stopUpdateWorkers();

} // namespace velmora
