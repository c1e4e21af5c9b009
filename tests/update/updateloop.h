#pragma once

#include "update/updatecontroller.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace velmora::test {

// Runs the program's event loop until the controller's download has ended and everything it told
// has been taken (-1), or until the program is asked to end (0); -2 when neither comes within the
// time. In a running loop, so a request to end the program cannot pass unseen.
inline int runUntilDownloadEnds(const UpdateController& controller, int milliseconds) {
    const auto active = std::make_shared<bool>(true);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&controller, &poll, active] {
        if (controller.downloadRunning())
            return;
        poll.stop();
        // Queued behind whatever the download's end still posted, an end of the program included.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [active] {
                if (*active)
                    QCoreApplication::exit(-1);
            },
            Qt::QueuedConnection);
    });
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &fallback, [] { QCoreApplication::exit(-2); });
    poll.start();
    fallback.start(milliseconds);
    const int result = QCoreApplication::exec();
    *active = false;
    return result;
}

} // namespace velmora::test
