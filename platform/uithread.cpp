#include "platform/uithread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace velmora::uithread {
namespace {

// One hand-over. Its flags and the refusal are guarded by one standard mutex, which also orders
// every write of the worker before the user-interface thread's reads (and the reverse).
struct Call {
    std::function<void()> body;
    bool started = false;
    bool done = false;
    bool abandoned = false;
    std::exception_ptr error;
};

std::mutex g_mutex;
std::condition_variable g_finished;
bool g_refused = false;

void runOnUiThread(const std::shared_ptr<Call>& call) {
    {
        const std::lock_guard lock(g_mutex);
        if (call->abandoned || g_refused) {
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
        const std::lock_guard lock(g_mutex);
        call->error = error;
        call->done = true;
    }
    g_finished.notify_all();
}

} // namespace

bool call(std::function<void()> body) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    if (QThread::currentThread() == application->thread()) {
        body();
        return true;
    }
    auto pending = std::make_shared<Call>();
    pending->body = std::move(body);
    std::unique_lock lock(g_mutex);
    if (g_refused)
        return false;
    // Posted while the mutex is held, so everything the posting writes comes before what the
    // user-interface thread does with it.
    QMetaObject::invokeMethod(
        application, [pending] { runOnUiThread(pending); }, Qt::QueuedConnection);
    // A body that has started runs to its end: it runs on the user-interface thread, which
    // finishes it before it can do anything else.
    g_finished.wait(lock, [&] { return pending->done || (g_refused && !pending->started); });
    if (!pending->done) {
        pending->abandoned = true;
        return false;
    }
    if (pending->error)
        std::rethrow_exception(pending->error);
    return true;
}

void refuse() {
    {
        const std::lock_guard lock(g_mutex);
        g_refused = true;
    }
    g_finished.notify_all();
}

void accept() {
    const std::lock_guard lock(g_mutex);
    g_refused = false;
}

} // namespace velmora::uithread
