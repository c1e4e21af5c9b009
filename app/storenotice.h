#pragma once

#include <QString>

namespace velmora {

// Tells the user, in an information box, that the settings store found its file damaged and
// kept it aside, naming the copy: once for each file set aside, when it is set aside. Start-up
// reads the store before the language is loaded, so from installStoreNotice() until
// showHeldStoreNotices() the notices wait and are then shown in the user's language. Without a
// language file they are shown in English, not blank.
void installStoreNotice();
// Tells the user, once the language is loaded, that the store at the path can be neither read
// nor written, so the program runs with the first-start settings held in memory.
void tellStoreUnusable(const QString& storePath);
void showHeldStoreNotices();
void removeStoreNotice();

} // namespace velmora
