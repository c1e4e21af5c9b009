#include "app/storenotice.h"

#include "platform/messagebox.h"
#include "platform/registry.h"
#include "state/moretexts.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <utility>

namespace velmora {
namespace {

struct Notices {
    bool holding = false;
    QStringList held; // kept copies waiting for the language
};

Notices& notices() {
    static Notices state;
    return state;
}

void showStoreNotice(const QString& keptCopy) {
    showMessageBox(storeNoticeText(keptCopy), storeNoticeCaption(), MessageFlags::InformationOk);
}

void onStoreSetAside(const QString& keptCopy) {
    // Boxes belong to the user-interface thread.
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [keptCopy] { onStoreSetAside(keptCopy); },
            Qt::QueuedConnection);
        return;
    }
    if (notices().holding)
        notices().held << keptCopy;
    else
        showStoreNotice(keptCopy);
}

} // namespace

void installStoreNotice() {
    notices() = {true, {}};
    Registry::setCorruptStoreHandler(onStoreSetAside);
}

void showHeldStoreNotices() {
    notices().holding = false;
    const QStringList held = std::exchange(notices().held, {});
    for (const QString& keptCopy : held)
        showStoreNotice(keptCopy);
}

void removeStoreNotice() {
    Registry::setCorruptStoreHandler({});
    notices() = {};
}

} // namespace velmora
