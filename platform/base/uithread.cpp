#include "platform/base/uithread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <exception>
#include <mutex>

namespace velmora::uithread {
namespace {

// One hand-over. Its flags, the permits and the shut-down are guarded by one standard mutex,
// which also orders every write of the worker before the user-interface thread's reads (and the
// reverse).
struct Call {
    std::function<void()> body;
    std::shared_ptr<Permit> permit;
    bool started = false;
    bool done = false;
    bool abandoned = false;
    std::exception_ptr error;
};

struct Shared {
    std::mutex mutex;
    std::condition_variable finished;
    bool shutDown = false;
};

// Never destroyed: a worker let go at the program's end may still ask while static objects go.
Shared& shared() {
    static Shared* state = new Shared;
    return *state;
}

thread_local std::shared_ptr<Permit> t_permit;

// Under the lock.
bool refused(const Call& call) {
    return shared().shutDown || (call.permit && call.permit->revoked());
}

void runOnUiThread(const std::shared_ptr<Call>& call) {
    {
        const std::lock_guard lock(shared().mutex);
        if (call->abandoned || refused(*call)) {
            call->abandoned = true;
            return;
        }
        call->started = true;
    }
    std::exception_ptr error;
    try {
        call->body();
    } catch (...) {
        error = std::current_exception();
    }
    {
        const std::lock_guard lock(shared().mutex);
        call->error = error;
        call->done = true;
    }
    shared().finished.notify_all();
}

} // namespace

bool call(std::function<void()> body) {
    auto pending = std::make_shared<Call>();
    pending->body = std::move(body);
    pending->permit = t_permit;
    std::unique_lock lock(shared().mutex);
    // Checked before the application object is looked at: after the shut-down it may be gone.
    if (refused(*pending))
        return false;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    if (QThread::currentThread() == application->thread()) {
        lock.unlock();
        pending->body();
        return true;
    }
    // Posted while the lock is held, so everything the posting writes comes before what the
    // user-interface thread does with it.
    QMetaObject::invokeMethod(
        application, [pending] { runOnUiThread(pending); }, Qt::QueuedConnection);
    shared().finished.wait(
        lock, [&] { return pending->done || (!pending->started && refused(*pending)); });
    if (!pending->done) {
        pending->abandoned = true;
        return false;
    }
    if (pending->error)
        std::rethrow_exception(pending->error);
    return true;
}

void Permit::revoke() {
    {
        // Set under the lock, so a caller cannot miss it between its test and its wait.
        const std::lock_guard lock(shared().mutex);
        m_revoked.store(true);
    }
    shared().finished.notify_all();
}

PermitScope::PermitScope(std::shared_ptr<Permit> permit) : m_previous(std::move(t_permit)) {
    t_permit = std::move(permit);
}

PermitScope::~PermitScope() {
    t_permit = std::move(m_previous);
}

void shutDown() {
    {
        const std::lock_guard lock(shared().mutex);
        shared().shutDown = true;
    }
    shared().finished.notify_all();
}

} // namespace velmora::uithread
