#include "update/updateservice.h"

#include "state/global.h"
#include "update/checkforupdates.h"
#include "update/manifest.h"
#include "update/mythread.h"
#include "update/updatefolder.h"

namespace velmora {
namespace {

// A cancelled transfer notices within about a second.
int g_stopWaitMilliseconds = 10'000; // the user-interface thread's

// A worker with its hold on the update folder, released as soon as the worker has ended.
template <typename Worker> struct Slot {
    std::unique_ptr<Worker> worker;
    std::shared_ptr<void> folder;

    bool running() const { return worker && !worker->done(); }

    void start(std::unique_ptr<Worker> next) {
        worker = std::move(next);
        folder = holdUpdateFolder(Global::updateFolder());
        // Queued to this thread, and gone with the worker; the slot lives as long as the program.
        QObject::connect(worker.get(), &QThread::finished, worker.get(),
                         [this] { folder.reset(); });
        worker->start();
    }

    // Drops a worker that has ended, so a new one can take its place.
    void dropIfDone() {
        if (worker && worker->done() && worker->wait()) {
            worker.reset();
            folder.reset();
        }
    }

    bool stop() {
        folder.reset();
        if (!worker)
            return true;
        worker->stop();
        // done() after wait(): its lock orders the worker's last writes before the deletion.
        if (worker->wait(QDeadlineTimer(g_stopWaitMilliseconds)) && worker->done()) {
            worker.reset();
            return true;
        }
        // Let go rather than destroyed while it runs; its hand-overs are refused for good, and it
        // is deleted here once it has ended.
        Worker* released = worker.release();
        // Its end no longer concerns the slot, which may hold the folder for a new worker.
        QObject::disconnect(released, &QThread::finished, released, nullptr);
        QObject::connect(released, &QThread::finished, released, &QObject::deleteLater);
        if (released->isFinished()) {
            released->wait();
            delete released;
        }
        return false;
    }
};

Slot<CheckForUpdates> g_check;
Slot<MyThread> g_download;

} // namespace

bool updateServiceAvailable() {
    return !manifest::serverBase().isEmpty();
}

bool startUpdateCheck() {
    if (!updateServiceAvailable())
        return false;
    if (g_check.running() && !g_check.worker->reported())
        return true;
    // Told its outcome: it only ends its thread now.
    if (g_check.worker)
        g_check.worker->wait();
    g_check.dropIfDone();
    g_check.start(std::make_unique<CheckForUpdates>());
    return true;
}

bool updateCheckRunning() {
    return g_check.running();
}

bool startInstallerDownload(std::shared_ptr<DownloadProgress> progress,
                            DownloadFailedHandler failed) {
    if (g_download.running())
        return false;
    g_download.dropIfDone();
    g_download.start(std::make_unique<MyThread>(std::move(progress), std::move(failed)));
    return true;
}

bool installerDownloadRunning() {
    return g_download.running();
}

void cancelInstallerDownload() {
    if (g_download.running())
        g_download.worker->stop();
}

void setUpdateWorkerStopWait(int milliseconds) {
    g_stopWaitMilliseconds = milliseconds;
}

bool stopUpdateWorkers() {
    // Both transfers are cancelled before either is waited for.
    if (g_check.worker)
        g_check.worker->stop();
    if (g_download.worker)
        g_download.worker->stop();
    const bool check = g_check.stop();
    const bool download = g_download.stop();
    return check && download;
}

} // namespace velmora
