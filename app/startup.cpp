#include "app/startup.h"

#include "platform/base/failure.h"
#include "platform/base/terminate.h"
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "state/settingscatalogue.h"

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
    quint8 dpi = 0; // the stored number modulo 256, as the system holds it
    try {
        dpi = static_cast<quint8>(read(*logPixels));
    } catch (const Failure&) {
        if (logPixels == &UserLogPixels)
            write(*logPixels, StandardDpi);
    }
    if (dpi <= StandardDpi)
        return;

    const auto message = [](int line) { return Global::text(TextTable::Messages, line); };
    if (showMessageBox(message(4), message(2), MessageFlags::WarningYesNo) != AnswerYes)
        return;
    write(*logPixels, StandardDpi);
    showMessageBox(message(5), message(1), MessageFlags::InformationOk);
    requestTerminate();
}

} // namespace velmora
