#include "app/startup.h"

#include "platform/base/failure.h"
#include "platform/base/terminate.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "state/settingscatalogue.h"
#include "state/tablelines.h"

namespace velmora {

QPoint centredPosition(QSize screen) {
    return {(screen.width() - DesignedClientSize.width()) / 2,
            (screen.height() - DesignedClientSize.height()) / 2};
}

QPoint reachablePosition(const QRect& restoredFrame, const QList<QRect>& availableAreas,
                         QPoint centred) {
    for (const QRect& area : availableAreas) {
        if (area.intersects(restoredFrame))
            return restoredFrame.topLeft();
    }
    return centred;
}

QRect keptInside(const QRect& frame, const QRect& area) {
    QRect kept = frame;
    if (kept.bottom() > area.bottom())
        kept.moveBottom(area.bottom());
    if (kept.right() > area.right())
        kept.moveRight(area.right());
    if (kept.top() < area.top())
        kept.moveTop(area.top());
    if (kept.left() < area.left())
        kept.moveLeft(area.left());
    return kept;
}

void runScreenScaleCheck(const QString& windowsVersion) {
    using namespace catalogue;
    const IntegerValue* logPixels = nullptr;
    if (windowsVersion == QLatin1StringView("6.1"))
        logPixels = &UserLogPixels;
    else if (windowsVersion == QLatin1StringView("6.0") ||
             windowsVersion == QLatin1StringView("5.1"))
        logPixels = &ConfigLogPixels;
    if (!logPixels)
        return;

    constexpr int StandardDpi = 96;
    // The stored number modulo 256, as the system holds it. A missing number, or one of another
    // type, is 96 written for the user's key, and nothing for the other.
    const StoredValue<int> stored = find(*logPixels);
    const quint8 dpi = stored.has() ? static_cast<quint8>(stored.value) : 0;
    if (!stored.has() && logPixels == &UserLogPixels)
        write(*logPixels, StandardDpi);
    if (dpi <= StandardDpi)
        return;

    if (showMessageBox(text(MessageLine::ScaleQuestion), text(MessageLine::ScreenScale),
                       MessageFlags::WarningYesNo) != AnswerYes)
        return;
    write(*logPixels, StandardDpi);
    showMessageBox(text(MessageLine::ScaleSet), text(MessageLine::Information),
                   MessageFlags::InformationOk);
    requestTerminate();
}

} // namespace velmora
