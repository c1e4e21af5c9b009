#pragma once

#include "platform/base/uithread.h"
#include "platform/net/download.h"

#include <QThread>

#include <memory>
#include <mutex>

namespace velmora {

// A one-shot worker of the update service: its run() calls Execute once, with the worker's own
// permit to hand work to the user-interface thread. The service keeps it, can stop it, and
// deletes it once it has ended.
class UpdateWorker : public QThread {
    Q_OBJECT
public:
    explicit UpdateWorker(std::shared_ptr<DownloadProgress> progress);

    // True once Execute has returned. Seeing it true orders everything the worker wrote before
    // the caller's next reads.
    bool done() const;
    // Ends the worker's transfer, if one runs, as failed, and refuses its hand-overs for good,
    // so it never waits for a user-interface thread that is waiting for it.
    void stop();

protected:
    virtual void Execute() = 0;
    DownloadProgress* progress() const { return m_progress.get(); }

private:
    void run() final;

    std::shared_ptr<DownloadProgress> m_progress;
    std::shared_ptr<uithread::Permit> m_permit;
    mutable std::mutex m_mutex;
    bool m_done = false;
};

} // namespace velmora
