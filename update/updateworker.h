#pragma once

#include "platform/net/download.h"

#include <QDeadlineTimer>
#include <QObject>

#include <memory>

class QThread;

namespace velmora {

// One piece of the update service's work on a thread of its own: start() runs Execute once there.
// A worker only works and tells what came of it by its signals, which reach the objects of the
// user-interface thread queued; it never waits for that thread. The object itself belongs to the
// thread that made it, which deletes it once ended() has come (or keeps it, when it is let go).
class UpdateWorker : public QObject {
    Q_OBJECT
public:
    UpdateWorker();
    ~UpdateWorker() override;

    void start();
    // True from start() until its thread has ended.
    bool running() const;
    // Ends the worker's transfer, if one runs, as failed; from any thread. A cancelled worker
    // starts nothing.
    void cancel();
    bool cancelled() const;
    // Waits for the thread to end; true when it has (or never started).
    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

signals:
    // Its thread has ended, whatever Execute did; after every other signal of the worker.
    void ended();

protected:
    // Runs on the worker's thread. Whatever it throws ends the worker without a signal.
    virtual void Execute() = 0;
    DownloadProgress& transfer() { return *m_progress; }

private:
    std::unique_ptr<DownloadProgress> m_progress;
    std::unique_ptr<QThread> m_thread;
};

} // namespace velmora
