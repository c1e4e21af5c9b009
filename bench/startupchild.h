#pragma once

#include <QApplication>

class QWidget;

// The child side of the start-up benchmark: a process started afresh by the benchmark, which
// notes moments on CLOCK_MONOTONIC (shared with the parent) and prints them to its standard
// output as "name nanoseconds" lines when it ends.
namespace startupbench {

// Notes the present moment under the given name.
void stamp(const char* name);

// The application of a benchmark child. Once the watched window's first exposure has been
// handled (the window is on screen and painted) it notes "exposed" and ends the event loop; a
// window never exposed ends the loop after ten seconds without that note.
class ChildApplication : public QApplication {
public:
    ChildApplication(int& argc, char** argv);
    ~ChildApplication() override;

    void watch(QWidget* window);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QWidget* m_window = nullptr;
    bool m_exposed = false;
};

} // namespace startupbench
