#include "platform/store/storefile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QScopeGuard>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::storefile {

namespace {

using namespace std::chrono_literals;

// A write holds the lock for milliseconds; a lock older than this belongs to a hung process.
constexpr auto kStaleLockTime = 10s;
// How long a write waits for another process before it gives up.
constexpr auto kLockWait = 5s;
// Poll in short steps: QLockFile's own wait sleeps in ever longer steps and keeps missing the
// brief gaps between a busy writer's writes.
constexpr auto kLockPoll = 2ms;
// Far above any real store (a few kilobytes). A larger file is not loaded, nor written.
constexpr qint64 kMaxStoreSize = 16 * 1024 * 1024;

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The bytes the store writes for these contents. A byte order mark (U+FEFF, whose UTF-8 form is
// always these three bytes, and only ever inside a string here) is written as an escape: the
// reader drops one at the start of a string when it stands there raw.
QByteArray serialized(const QJsonObject& store) {
    return QJsonDocument(store).toJson(QJsonDocument::Indented).replace("\xEF\xBB\xBF", "\\ufeff");
}

std::atomic<SaveStepHook> saveStepHook{nullptr};

void reached(SaveStep step) {
    if (const SaveStepHook hook = saveStepHook.load())
        hook(step);
}

// Writes `bytes` into the file's temporary file and hands them to the system, not only to the
// file's buffer, so that a process killed after this has them on disk.
bool writeThrough(QSaveFile& file, QByteArrayView bytes) {
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
}

// The handler told of every store set aside, and the lock that guards it.
struct SetAsideNotice {
    QMutex mutex;
    SetAsideHandler handler;
};

SetAsideNotice& setAsideNotice() {
    static SetAsideNotice notice;
    return notice;
}

void tellSetAside(const QString& keptCopy) {
    if (keptCopy.isEmpty())
        return;
    SetAsideHandler handler;
    {
        SetAsideNotice& notice = setAsideNotice();
        const QMutexLocker locker(&notice.mutex);
        handler = notice.handler;
    }
    if (handler)
        handler(keptCopy);
}

class StoreLock {
public:
    explicit StoreLock(const QString& storePath) : m_lock(storePath + QStringLiteral(".lock")) {
        m_lock.setStaleLockTime(kStaleLockTime);
    }

    // On failure, `problem` says why, for the log.
    bool acquire(QString& problem) {
        const QDeadlineTimer deadline(kLockWait);
        while (!m_lock.tryLock(0ms)) {
            const int error = errno;
            switch (m_lock.error()) {
            case QLockFile::LockFailedError:
                if (!deadline.hasExpired()) {
                    std::this_thread::sleep_for(kLockPoll);
                    continue;
                }
                problem = QStringLiteral("%1 is held by another process").arg(m_lock.fileName());
                return false;
            case QLockFile::NoError:
            case QLockFile::PermissionError:
            case QLockFile::UnknownError:
                break;
            }
            problem =
                QStringLiteral("%1 cannot be made: %2").arg(m_lock.fileName(), systemError(error));
            return false;
        }
        return true;
    }

private:
    QLockFile m_lock;
};

// <path>.<kind>-<time>, with a number added when that is taken. Looked for under the store's
// lock, so no other instance takes the name meanwhile.
QString unusedName(const QString& path, const QString& kind) {
    const QString stem =
        path + QLatin1Char('.') + kind + QLatin1Char('-') +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    QString target = stem;
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = stem + QLatin1Char('-') + QString::number(n);
    return target;
}

// Keeps a corrupt store for the user by renaming it; the kept copy's path, or empty with the
// reason in `problem`.
QString setAside(const QString& path, QString& problem) {
    const QString target = unusedName(path, QStringLiteral("corrupt"));
    QFile file(path);
    if (file.rename(target))
        return target;
    problem = QStringLiteral("it cannot be kept as %1: %2").arg(target, file.errorString());
    return {};
}

// Writes the store's bytes as they were found beside it, synced before the store is replaced;
// false with the reason in `problem`.
bool keepOriginal(const QString& path, const QByteArray& bytes, QString& problem) {
    QSaveFile copy(unusedName(path, QStringLiteral("original")));
    if (copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size() && copy.commit())
        return true;
    problem = QStringLiteral("its original cannot be kept as %1: %2")
                  .arg(copy.fileName(), copy.errorString());
    copy.cancelWriting();
    return false;
}

enum class FileRead { Missing, Read, Unreadable };

// Reads the store file if it is a regular file (or a link to one) within the size cap. Anything
// else - a FIFO, a device, a folder, a link to nothing - is never read: opening a FIFO blocks
// until someone writes, and a device such as /dev/zero never ends.
FileRead readBytes(const QString& path, QByteArray& bytes, QString& problem) {
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    if (::stat(native.constData(), &status) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(native.constData(), &link) != 0)
            return FileRead::Missing;
        problem = error == ENOENT ? QStringLiteral("it is a link to nothing") : systemError(error);
        return FileRead::Unreadable;
    }
    const auto unusable = [&problem](const struct stat& found) {
        if (!S_ISREG(found.st_mode)) {
            problem = QStringLiteral("it is not a regular file");
            return true;
        }
        if (found.st_size > kMaxStoreSize) {
            problem = QStringLiteral("it is larger than %1 bytes").arg(kMaxStoreSize);
            return true;
        }
        return false;
    };
    if (unusable(status))
        return FileRead::Unreadable;

    // Non-blocking, and judged again by what was opened: the path may have been replaced by a
    // FIFO or a device since it was looked at.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = systemError(errno);
        return FileRead::Unreadable;
    }
    const auto closeLater = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &status) != 0) {
        problem = systemError(errno);
        return FileRead::Unreadable;
    }
    if (unusable(status))
        return FileRead::Unreadable;

    // Up to one byte past the cap, in case the file grows while it is read.
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)) {
        problem = file.errorString();
        return FileRead::Unreadable;
    }
    char chunk[16 * 1024];
    bytes.clear();
    bytes.reserve(status.st_size + 1);
    for (;;) {
        if (bytes.size() > kMaxStoreSize) {
            problem = QStringLiteral("it is larger than %1 bytes").arg(kMaxStoreSize);
            return FileRead::Unreadable;
        }
        const qint64 count = file.read(chunk, sizeof chunk);
        if (count == 0)
            return FileRead::Read;
        if (count < 0) {
            problem = file.errorString();
            return FileRead::Unreadable;
        }
        bytes.append(chunk, count);
    }
}

enum class Parse { Ok, Unreadable, Corrupt };

// Reads and parses the store; `bytes` are the file's as read.
Parse parse(const QString& path, QJsonObject& store, QByteArray& bytes, QString& problem) {
    store = {};
    switch (readBytes(path, bytes, problem)) {
    case FileRead::Missing:
        return Parse::Ok;
    case FileRead::Unreadable:
        return Parse::Unreadable;
    case FileRead::Read:
        break;
    }
    if (bytes.isEmpty())
        return Parse::Ok;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        problem = QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset);
        return Parse::Corrupt;
    }
    if (!document.isObject()) {
        problem = QStringLiteral("it is not a JSON object");
        return Parse::Corrupt;
    }
    store = document.object();
    return Parse::Ok;
}

// What a load under the store's lock found.
struct LockedLoad {
    std::optional<QJsonObject> store; // nothing: the file cannot be read, nor set aside
    QByteArray original; // the file as read when the store would not have written it so
    QString keptCopy;    // where a corrupt store was set aside
    QString problem;     // why there is no store
};

// A corrupt file is set aside and the store starts empty. Nothing when the file cannot be read,
// so a write never replaces data it could not see.
LockedLoad loadLocked(const QString& path) {
    LockedLoad load;
    QJsonObject store;
    QByteArray bytes;
    switch (parse(path, store, bytes, load.problem)) {
    case Parse::Ok:
        // What the reader made of other bytes may not be all that they held.
        if (!bytes.isEmpty() && bytes != serialized(store))
            load.original = bytes;
        load.store = store;
        break;
    case Parse::Corrupt: {
        QString problem;
        load.keptCopy = setAside(path, problem);
        if (load.keptCopy.isEmpty()) {
            load.problem = QStringLiteral("it is damaged (%1) and %2").arg(load.problem, problem);
            break;
        }
        qWarning().noquote() << QStringLiteral("The settings file %1 is damaged (%2); it has been "
                                               "kept as %3.")
                                    .arg(path, load.problem, load.keptCopy);
        load.store = QJsonObject();
        load.problem.clear();
        break;
    }
    case Parse::Unreadable:
        break;
    }
    return load;
}

// Replaces the store with `store`, keeping `original` (when there is one) beside it first.
bool save(const QString& path, const QJsonObject& store, const QByteArray& original,
          QString& problem) {
    const QByteArray bytes = serialized(store);
    if (bytes.size() > kMaxStoreSize) {
        // Such a file would not be loaded again: every setting would seem lost.
        problem = QStringLiteral("the file would be larger than %1 bytes").arg(kMaxStoreSize);
        return false;
    }
    // In two halves, so that a test can kill a writer with half a new file written.
    const QByteArrayView view(bytes);
    const qsizetype half = view.size() / 2;
    QSaveFile file(path);
    const auto refused = [&] {
        problem = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly) || !writeThrough(file, view.first(half)))
        return refused();
    reached(SaveStep::HalfWritten);
    if (!writeThrough(file, view.sliced(half)))
        return refused();
    if (!original.isEmpty() && !keepOriginal(path, original, problem)) {
        file.cancelWriting();
        return false;
    }
    reached(SaveStep::Written);
    if (!file.commit()) {
        problem = file.errorString();
        return false;
    }
    reached(SaveStep::Replaced);
    return true;
}

bool makeFolder(const QString& folder, QString& problem) {
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (!error)
        return true;
    problem = QStringLiteral("the folder %1 cannot be made: %2")
                  .arg(folder, QString::fromLocal8Bit(error.message()));
    return false;
}

} // namespace

QJsonObject read(const QString& path) {
    QJsonObject store;
    QByteArray bytes;
    QString problem;
    if (parse(path, store, bytes, problem) != Parse::Corrupt)
        return store;
    // Another process may be setting it aside or replacing it: look again under the lock.
    LockedLoad load;
    {
        StoreLock lock(path);
        if (!lock.acquire(problem))
            return {};
        load = loadLocked(path);
    }
    // Told once the lock is free: the handler may keep a box open for as long as the user likes.
    tellSetAside(load.keptCopy);
    return load.store.value_or(QJsonObject());
}

bool modify(const QString& path, const Edit& edit, QString& problem) {
    if (!makeFolder(QFileInfo(path).absolutePath(), problem))
        return false;
    QString keptCopy;
    bool written = false;
    {
        StoreLock lock(path);
        if (!lock.acquire(problem))
            return false;
        LockedLoad load = loadLocked(path);
        keptCopy = load.keptCopy;
        if (!load.store) {
            problem = load.problem;
        } else {
            written = edit(*load.store, problem) && save(path, *load.store, load.original, problem);
        }
    }
    tellSetAside(keptCopy);
    return written;
}

void setSaveStepHook(SaveStepHook hook) {
    saveStepHook.store(hook);
}

void setSetAsideHandler(SetAsideHandler handler) {
    SetAsideNotice& notice = setAsideNotice();
    const QMutexLocker locker(&notice.mutex);
    notice.handler = std::move(handler);
}

} // namespace velmora::storefile
