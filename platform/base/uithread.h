#pragma once

#include <atomic>
#include <functional>
#include <memory>

// Hands work from a worker thread to the user-interface thread (the application object's thread)
// and waits for it.
//
// What runs meanwhile: a handed-over body runs from the user-interface thread's event loop like
// any queued event. It is not guaranteed to run to its end before that thread does anything else:
// a body that opens a modal window or a message box runs a nested event loop, and inside it the
// thread handles input, timers and other queued work, other workers' hand-overs included (those
// then end before this body does). So a body must not rely, after showing anything modal, on what
// it saw before.
//
// Refusal: a hand-over is refused (the body does not run, and the call answers at once) before
// the application object exists, from the moment shutDown() is called to the end of the process,
// and for a worker whose permit was revoked, from the revocation on. A hand-over that is waiting
// and has not started yet when refused is released at once; one that has started runs to its end
// and its caller waits for it. What this needs to lock lives for the whole process, so a worker
// let go at the end can still ask, and is refused, while static objects are destroyed.
namespace velmora::uithread {

// Runs body on the user-interface thread and waits until it has run; on that thread itself the
// body runs at once. A failure the body throws is thrown again in the caller. False, with the
// body not run, when the hand-over is refused.
bool call(std::function<void()> body);

// One worker's right to hand over. Its owner revokes it when it stops waiting for the worker:
// from then on, that worker's hand-overs are refused for good.
class Permit {
public:
    void revoke();
    bool revoked() const { return m_revoked.load(); }

private:
    std::atomic<bool> m_revoked{false};
};

// Makes permit the current thread's while it lives: the thread's hand-overs follow it.
class PermitScope {
public:
    explicit PermitScope(std::shared_ptr<Permit> permit);
    ~PermitScope();
    PermitScope(const PermitScope&) = delete;
    PermitScope& operator=(const PermitScope&) = delete;

private:
    std::shared_ptr<Permit> m_previous;
};

// Refuses every later hand-over for the rest of the process and releases the waiting ones that
// have not started. For the program's end, before it waits for its workers.
void shutDown();

} // namespace velmora::uithread
