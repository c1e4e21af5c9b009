#include "update/updatefolder.h"

#include "platform/desktop/launch.h"
#include "update/manifest.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr const char* LockFileName = "update.lock";

// The folder's lock file, open; the descriptor closes with it, and with it any lock taken on it.
// Every use holds a shared lock, the cleanup an exclusive one, so any number of instances can use
// the folder at once and the cleanup runs only when none does. The kernel drops the locks of a
// process that ends, killed or not.
class LockFile {
public:
    explicit LockFile(const QString& folder)
        : m_fd(open(
              QFile::encodeName(QDir(folder).filePath(QLatin1String(LockFileName))).constData(),
              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {}
    ~LockFile() {
        if (m_fd >= 0)
            close(m_fd);
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool lock(int operation) {
        if (m_fd < 0)
            return false;
        int result = 0;
        do
            result = flock(m_fd, operation);
        while (result != 0 && errno == EINTR);
        return result == 0;
    }

private:
    int m_fd;
};

} // namespace

bool makePrivateFolder(const QString& folder) {
    return QDir().mkpath(folder) &&
           QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

std::shared_ptr<void> holdUpdateFolder(const QString& folder) {
    struct Held {
        QString folder;
        std::weak_ptr<LockFile> lock;
    };
    static Held held; // the user-interface thread's
    if (held.folder == folder) {
        if (std::shared_ptr<LockFile> lock = held.lock.lock())
            return lock;
    }
    if (!makePrivateFolder(folder))
        return nullptr;
    // Waits while another instance's cleanup runs, which takes moments.
    auto lock = std::make_shared<LockFile>(folder);
    if (!lock->lock(LOCK_SH))
        return nullptr;
    held = {folder, lock};
    return lock;
}

bool updateFolderHeld(const QString& folder) {
    if (!QFile::exists(QDir(folder).filePath(QLatin1String(LockFileName))))
        return false;
    LockFile lock(folder);
    return !lock.lock(LOCK_EX | LOCK_NB);
}

void removeLeftoverUpdateFiles(const QString& folder) {
    if (!QDir(folder).exists())
        return;
    LockFile lock(folder);
    if (!lock.lock(LOCK_EX | LOCK_NB))
        return;
    const QDir dir(folder);
    const QString manifestName = QLatin1String(manifest::FileName);
    // The installer names a download takes once verified; anything else named "setup.…" is not.
    const QStringList kept{QStringLiteral("setup.deb"), QStringLiteral("setup.AppImage"),
                           QStringLiteral("setup.run")};
    const QStringList leftovers =
        dir.entryList({manifestName, manifestName + QStringLiteral(".*"), QStringLiteral("setup"),
                       QStringLiteral("setup.*")},
                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : leftovers) {
        if (!kept.contains(name))
            QFile::remove(dir.filePath(name));
    }
    const QStringList copies = dir.entryList({QLatin1String(PrivateCopyPrefix) + QLatin1Char('*')},
                                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : copies)
        QDir(dir.filePath(name)).removeRecursively();
}

} // namespace velmora
