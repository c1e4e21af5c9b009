#include "state/storenoticetext.h"

#include "state/global.h"

namespace velmora {

QString storeNoticeText(const QString& keptCopy) {
    QString text = Global::text(TextTable::Messages, 6);
    if (text.isEmpty())
        text = QStringLiteral("The settings file was damaged and has been kept as %1; Velmora "
                              "starts with default settings.");
    return text.arg(keptCopy);
}

QString storeNoticeCaption() {
    const QString caption = Global::text(TextTable::Messages, 1);
    return caption.isEmpty() ? QStringLiteral("Information") : caption;
}

} // namespace velmora
