#include "startupchild.h"

#include <QExposeEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <vector>

namespace startupbench {
namespace {

struct Stamp {
    const char* name;
    long long nanoseconds;
};

std::vector<Stamp>& stamps() {
    static std::vector<Stamp> noted;
    return noted;
}

} // namespace

void stamp(const char* name) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    stamps().push_back({name, now.tv_sec * 1'000'000'000LL + now.tv_nsec});
}

ChildApplication::ChildApplication(int& argc, char** argv) : QApplication(argc, argv) {
    QTimer::singleShot(10'000, this, [] { QCoreApplication::exit(1); });
}

ChildApplication::~ChildApplication() {
    for (const Stamp& noted : stamps())
        std::printf("%s %lld\n", noted.name, noted.nanoseconds);
    std::fflush(stdout);
}

void ChildApplication::watch(QWidget* window, std::function<bool()> ready) {
    m_window = window;
    m_ready = std::move(ready);
}

void ChildApplication::finishWhenReady() {
    if (m_ready && !m_ready()) {
        QTimer::singleShot(0, this, [this] { finishWhenReady(); });
        return;
    }
    if (m_ready)
        stamp("ready");
    QCoreApplication::exit(0);
}

bool ChildApplication::notify(QObject* receiver, QEvent* event) {
    const bool result = QApplication::notify(receiver, event);
    // The widget window paints its backing store while it handles the expose, so after the
    // call the window's first picture has been handed to the window system.
    if (!m_exposed && m_window && event->type() == QEvent::Expose &&
        receiver == m_window->windowHandle() && m_window->windowHandle()->isExposed()) {
        m_exposed = true;
        stamp("exposed");
        finishWhenReady();
    }
    return result;
}

} // namespace startupbench
