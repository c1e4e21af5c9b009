#pragma once

#include "platform/net/download.h"
#include "update/installerplan.h"

#include <QString>

#include <functional>
#include <memory>

// The update service's workers: at most one update check and one installer download at a time.
// On the user-interface thread.
namespace velmora {

// True when this installation has an update service: an update server is named, by the build or
// by $VELMORA_UPDATE_SERVER. Without one nothing here goes on the network.
bool updateServiceAvailable();

// Makes sure a check answers the request: starts one, or leaves the request to the running check
// when that one has not told its outcome yet (it reads the update mode when it does, so a request
// from the menu, which has just set "custom", is answered by it). A check that has told its
// outcome and is only ending is waited for, and a new one starts. False, with nothing started,
// without an update service.
bool startUpdateCheck();
bool updateCheckRunning();

// What the dialog is told when a download ends without starting the installer: why, and the
// installer's path when it stays in the update folder (a start that failed).
using DownloadFailedHandler = std::function<void(UpdateFailure failure, const QString& installer)>;

// Starts the installer download unless one is running (then the request is ignored, so two
// transfers never write the same file). True when it started.
bool startInstallerDownload(std::shared_ptr<DownloadProgress> progress,
                            DownloadFailedHandler failed);
bool installerDownloadRunning();
// Cancels the installer download, if one runs, without waiting for it: its transfer ends, it
// starts nothing, and its hand-overs are refused. For the update dialog when it closes.
void cancelInstallerDownload();

// Stops the workers: cancels their transfers, refuses their hand-overs to the user-interface
// thread for good and waits for them; a worker that has not ended after 10 s is let go. True
// when every worker ended.
bool stopUpdateWorkers();
// How long stopUpdateWorkers waits before it lets a worker go; for tests, which cannot wait 10 s.
void setUpdateWorkerStopWait(int milliseconds);

} // namespace velmora
