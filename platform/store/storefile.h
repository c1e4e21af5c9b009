#pragma once

#include <QJsonObject>
#include <QString>

#include <functional>

namespace velmora::storefile {

// The settings store's file, read and replaced with care and nothing known of what it holds but
// that it is a JSON object.
//
// Only a regular file (or a link to one) of at most 16 MB is read. Anything else - a FIFO, a
// device, a folder, a link to nothing, a file that cannot be opened - is unreadable: it reads as
// empty and every change to it is refused, so nothing is written over data that was not seen.
// A file that is not JSON, or whose JSON is not an object, is corrupt: it is renamed aside
// byte for byte to <file>.corrupt-<time>, the store starts empty, and the set-aside handler is
// told. A file that the reader takes but that the store would not have written byte for byte
// (edited by hand, a name twice, a number with more digits than a double holds) is used as the
// reader understood it, and copied byte for byte to <file>.original-<time> before it is first
// replaced; that copy is no news, since the settings stay as the user left them.
//
// Every change is made under a lock file beside the store (<file>.lock) and replaces the file
// atomically; a lock left by a killed process is taken over after 10 s.

// The store as an object; empty when the file is missing, empty, unreadable or corrupt.
QJsonObject read(const QString& path);

// Changes the store: `edit` gets the current contents under the lock and says whether to write
// them back, with the reason in `problem` when not. False, with the reason in `problem`, when
// the store's folder, lock, file or its replacement is refused or `edit` declines.
using Edit = std::function<bool(QJsonObject& store, QString& problem)>;
[[nodiscard]] bool modify(const QString& path, const Edit& edit, QString& problem);

// Called once for each corrupt store set aside, with the path of the copy kept, on the thread
// that set it aside, once the lock is released. An empty handler tells no one.
using SetAsideHandler = std::function<void(const QString& keptCopy)>;
void setSetAsideHandler(SetAsideHandler handler);

// The steps of every replacement of the store file, all under the lock: half of the new bytes
// are in the temporary file, all of them are, and the temporary file has been renamed onto the
// store. A test stops a writer process at one of them and kills it there.
enum class SaveStep { HalfWritten, Written, Replaced };
using SaveStepHook = void (*)(SaveStep step);
// For tests: calls `hook` at each step of each replacement, on the writing thread; null calls
// nothing.
void setSaveStepHook(SaveStepHook hook);

} // namespace velmora::storefile
