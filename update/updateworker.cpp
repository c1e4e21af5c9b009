#include "update/updateworker.h"

namespace velmora {

UpdateWorker::UpdateWorker(std::shared_ptr<DownloadProgress> progress)
    : m_progress(std::move(progress)), m_permit(std::make_shared<uithread::Permit>()) {}

bool UpdateWorker::done() const {
    const std::lock_guard lock(m_mutex);
    return m_done;
}

void UpdateWorker::stop() {
    m_progress->cancelled.store(true);
    m_permit->revoke();
}

void UpdateWorker::run() {
    try {
        const uithread::PermitScope permit(m_permit);
        Execute();
    } catch (...) {
        // A failure ends the worker without a message (nothing may unwind out of a thread).
    }
    const std::lock_guard lock(m_mutex);
    m_done = true;
}

} // namespace velmora
