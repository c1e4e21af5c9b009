#pragma once

#include <QString>

namespace velmora {

// The notice that a damaged settings file was kept aside: "Messages" line 6 with the kept
// copy's path, under "Messages" line 1. Without a language file the English text, not a blank.
QString storeNoticeText(const QString& keptCopy);
QString storeNoticeCaption();

} // namespace velmora
