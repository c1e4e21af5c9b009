#include "update/updateworker.h"

namespace velmora {

UpdateWorker::UpdateWorker(std::shared_ptr<DownloadProgress> progress)
    : m_progress(std::move(progress)) {}

bool UpdateWorker::done() const {
    const std::lock_guard lock(m_mutex);
    return m_done;
}

void UpdateWorker::cancel() {
    m_progress->cancelled.store(true);
}

void UpdateWorker::run() {
    try {
        Execute();
    } catch (...) {
        // A failure ends the worker without a message (nothing may unwind out of a thread).
    }
    const std::lock_guard lock(m_mutex);
    m_done = true;
}

} // namespace velmora
