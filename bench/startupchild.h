#pragma once

#include <QApplication>

#include <functional>

class QWidget;

// The child side of the start-up benchmark: a process started afresh by the benchmark, which
// notes moments on CLOCK_MONOTONIC (shared with the parent) and prints them to its standard
// output as "name nanoseconds" lines when it ends.
namespace startupbench {

// Notes the present moment under the given name.
void stamp(const char* name);

// The application of a benchmark child. Once the watched window's first exposure has been
// handled (the window is on screen and painted) it notes "exposed"; then, when a readiness test
// is given, it lets the event loop run until the test holds and notes "ready" (the start's
// deferred work is done); then it ends the event loop. A window never exposed ends the loop
// after ten seconds without those notes.
class ChildApplication : public QApplication {
public:
    ChildApplication(int& argc, char** argv);
    ~ChildApplication() override;

    void watch(QWidget* window, std::function<bool()> ready = {});
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void finishWhenReady();

    QWidget* m_window = nullptr;
    std::function<bool()> m_ready;
    bool m_exposed = false;
};

} // namespace startupbench
