#pragma once

namespace velmora {

// Asks the application to end as soon as its event loop runs (or at once, when it already
// runs). Asking before the loop has started works too: the request waits in the queue. No
// window's close handler runs.
void requestTerminate();

} // namespace velmora
