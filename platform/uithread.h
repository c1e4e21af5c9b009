#pragma once

#include <functional>
#include <optional>
#include <type_traits>

namespace velmora::uithread {

// Runs body on the user-interface thread (the application object's thread) and waits until it
// has run; on that thread itself the body runs at once. A failure the body throws is thrown again
// in the caller. False, with the body not run, while hand-overs are refused: a worker must not
// wait for a user-interface thread that has stopped taking work.
bool call(std::function<void()> body);

// call() for a body with a result; no value when the hand-over was refused.
template <typename Body> auto ask(Body body) -> std::optional<std::invoke_result_t<Body>> {
    std::optional<std::invoke_result_t<Body>> result;
    if (!call([&result, &body] { result = body(); }))
        return std::nullopt;
    return result;
}

// Refuses every later hand-over and releases the workers waiting for one that has not started.
// For the program's end, before it waits for its workers.
void refuse();
// Takes hand-overs again.
void accept();

} // namespace velmora::uithread
