#include "update/updateservice.h"

#include "platform/uithread.h"
#include "update/checkforupdates.h"
#include "update/mythread.h"

namespace velmora {
namespace {

// The latest worker of each kind, touched on the user-interface thread only.
std::unique_ptr<CheckForUpdates> g_latestCheck;
std::unique_ptr<MyThread> g_latestDownload;

// A cancelled transfer notices within about a second; a worker that still has not ended is let
// go rather than destroyed while it runs.
constexpr int StopWaitMilliseconds = 10'000;

template <typename Worker> bool running(const std::unique_ptr<Worker>& worker) {
    return worker && !worker->done();
}

// Drops a worker that has ended, so a new one can take its place.
template <typename Worker> void dropIfDone(std::unique_ptr<Worker>& worker) {
    if (worker && worker->done() && worker->wait())
        worker.reset();
}

template <typename Worker> void stop(std::unique_ptr<Worker>& worker) {
    if (!worker)
        return;
    worker->cancel();
    // done() after wait(): its lock orders the worker's last writes before the deletion.
    if (worker->wait(QDeadlineTimer(StopWaitMilliseconds)) && worker->done())
        worker.reset();
    else
        (void)worker.release();
}

} // namespace

bool startUpdateCheck() {
    if (running(g_latestCheck))
        return false;
    dropIfDone(g_latestCheck);
    g_latestCheck = std::make_unique<CheckForUpdates>();
    g_latestCheck->start();
    return true;
}

bool updateCheckRunning() {
    return running(g_latestCheck);
}

bool startInstallerDownload(std::shared_ptr<DownloadProgress> progress,
                            std::function<void()> failed) {
    if (running(g_latestDownload))
        return false;
    dropIfDone(g_latestDownload);
    g_latestDownload = std::make_unique<MyThread>(std::move(progress), std::move(failed));
    g_latestDownload->start();
    return true;
}

bool installerDownloadRunning() {
    return running(g_latestDownload);
}

void stopUpdateWorkers() {
    uithread::refuse();
    if (g_latestCheck)
        g_latestCheck->cancel();
    if (g_latestDownload)
        g_latestDownload->cancel();
    stop(g_latestCheck);
    stop(g_latestDownload);
    uithread::accept();
}

} // namespace velmora
