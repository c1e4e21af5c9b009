#include "platform/base/terminate.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace velmora {

void requestTerminate() {
    // QCoreApplication::exit() is ignored while no loop runs, so it is posted instead; exit()
    // rather than quit() because quit() would first ask every window to close.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

} // namespace velmora
