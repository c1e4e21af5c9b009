#include "app/storenotice.h"

#include "platform/store/registry.h"
#include "platform/ui/messagebox.h"
#include "state/moretexts.h"

#include <QCoreApplication>
#include <QList>
#include <QThread>

#include <utility>

namespace velmora {
namespace {

// A notice waiting for the language: a damaged store kept aside, or a store that cannot be
// used at all.
struct HeldNotice {
    bool unusable = false;
    QString path; // the kept copy, or the unusable store
};

struct Notices {
    bool holding = false;
    QList<HeldNotice> held;
};

Notices& notices() {
    static Notices state;
    return state;
}

void showStoreNotice(const HeldNotice& notice) {
    const QString text =
        notice.unusable ? unusableStoreNoticeText(notice.path) : storeNoticeText(notice.path);
    showMessageBox(text, storeNoticeCaption(), MessageFlags::InformationOk);
}

void onStoreSetAside(const QString& keptCopy) {
    // Boxes belong to the user-interface thread.
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [keptCopy] { onStoreSetAside(keptCopy); },
            Qt::QueuedConnection);
        return;
    }
    const HeldNotice notice{false, keptCopy};
    if (notices().holding)
        notices().held << notice;
    else
        showStoreNotice(notice);
}

} // namespace

void installStoreNotice() {
    notices() = {true, {}};
    Registry::setCorruptStoreHandler(onStoreSetAside);
}

void tellStoreUnusable(const QString& storePath) {
    const HeldNotice notice{true, storePath};
    if (notices().holding)
        notices().held << notice;
    else
        showStoreNotice(notice);
}

void showHeldStoreNotices() {
    notices().holding = false;
    const QList<HeldNotice> held = std::exchange(notices().held, {});
    for (const HeldNotice& notice : held)
        showStoreNotice(notice);
}

void removeStoreNotice() {
    Registry::setCorruptStoreHandler({});
    notices() = {};
}

} // namespace velmora
