#include "update/updateworker.h"

#include <QThread>

namespace velmora {

UpdateWorker::UpdateWorker() : m_progress(std::make_unique<DownloadProgress>()) {}

UpdateWorker::~UpdateWorker() {
    // Deleted only after ended() (a worker that will not end is let go instead): its thread is at
    // most taking its last steps.
    if (m_thread)
        m_thread->wait();
}

void UpdateWorker::start() {
    Q_ASSERT(!m_thread);
    m_thread.reset(QThread::create([this] {
        try {
            Execute();
        } catch (...) {
            // Nothing may unwind out of a thread: a failure ends the worker without a signal.
        }
    }));
    // Emitted on the ending thread; it reaches the owner queued, after the worker's other signals.
    connect(m_thread.get(), &QThread::finished, this, &UpdateWorker::ended, Qt::DirectConnection);
    m_thread->start();
}

bool UpdateWorker::running() const {
    return m_thread && !m_thread->isFinished();
}

void UpdateWorker::cancel() {
    m_progress->cancelled.store(true);
}

bool UpdateWorker::cancelled() const {
    return m_progress->cancelled.load();
}

bool UpdateWorker::wait(QDeadlineTimer deadline) {
    return !m_thread || m_thread->wait(deadline);
}

} // namespace velmora
