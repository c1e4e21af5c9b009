#include "update/updatefolder.h"

#include "update/manifest.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

namespace velmora {
namespace {

constexpr const char* LockFileName = "update.lock";

// The folder's lock, or null when another live instance holds it. Only a dead owner makes a lock
// stale, however long it has been held.
std::unique_ptr<QLockFile> lockFolder(const QString& folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QLatin1String(LockFileName)));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

std::shared_ptr<void> holdUpdateFolder(const QString& folder) {
    struct Held {
        QString folder;
        std::weak_ptr<QLockFile> lock;
    };
    static Held held; // the user-interface thread's
    if (held.folder == folder) {
        if (std::shared_ptr<QLockFile> lock = held.lock.lock())
            return lock;
    }
    if (!QDir().mkpath(folder))
        return nullptr;
    std::shared_ptr<QLockFile> lock = lockFolder(folder);
    held = {folder, lock};
    return lock;
}

void removeLeftoverUpdateFiles(const QString& folder) {
    if (!QDir(folder).exists())
        return;
    const std::unique_ptr<QLockFile> lock = lockFolder(folder);
    if (!lock)
        return;
    const QDir dir(folder);
    const QString manifestName = QLatin1String(manifest::FileName);
    const QStringList leftovers =
        dir.entryList({manifestName, manifestName + QStringLiteral(".*"), QStringLiteral("setup"),
                       QStringLiteral("setup.*")},
                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : leftovers)
        QFile::remove(dir.filePath(name));
}

} // namespace velmora
