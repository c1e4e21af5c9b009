#include "platform/registry.h"

#include "platform/exactjson.h"
#include "platform/failure.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

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
// The store itself never nests deeper: the document, a root, a key; values are plain.
constexpr int kStoreDepth = 3;

enum class Kind { Missing, String, Integer, Other };

QString rootName(RootKey root) {
    switch (root) {
    case RootKey::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RootKey::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case RootKey::CurrentConfig:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    }
    return {};
}

// "\\Software\\\\Velmora\\" and "Software\\Velmora" name the same key.
QString normalizedKeyPath(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

bool sameKeyPath(const QString& a, const QString& b) {
    return normalizedKeyPath(a).toCaseFolded() == normalizedKeyPath(b).toCaseFolded();
}

bool sameValueName(const QString& a, const QString& b) {
    return a.toCaseFolded() == b.toCaseFolded();
}

// The member name as stored (keeping its first-written case), or a null string when absent.
QString findMember(const QJsonObject& object, const QString& name,
                   bool (*same)(const QString&, const QString&)) {
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (same(it.key(), name))
            return it.key();
    }
    return {};
}

Kind kindOf(const QJsonValue& value) {
    if (value.isUndefined())
        return Kind::Missing;
    if (value.isString())
        return Kind::String;
    if (value.isDouble()) {
        // The parser keeps whole numbers that fit 64 bits as integers, everything else as double.
        const QVariant number = value.toVariant();
        if (number.typeId() == QMetaType::LongLong) {
            const qlonglong n = number.toLongLong();
            if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
                return Kind::Integer;
        }
    }
    return Kind::Other;
}

// The value under root/key, or undefined when the root, key or value is missing or malformed.
QJsonValue findValue(const QJsonObject& store, RootKey root, const QString& keyPath,
                     const QString& name) {
    const QJsonObject keys = store.value(rootName(root)).toObject();
    const QString keyName = findMember(keys, keyPath, sameKeyPath);
    if (keyName.isNull())
        return QJsonValue(QJsonValue::Undefined);
    const QJsonObject values = keys.value(keyName).toObject();
    const QString valueName = findMember(values, name, sameValueName);
    if (valueName.isNull())
        return QJsonValue(QJsonValue::Undefined);
    return values.value(valueName);
}

bool keyExists(const QJsonObject& store, RootKey root, const QString& keyPath) {
    const QJsonObject keys = store.value(rootName(root)).toObject();
    const QString keyName = findMember(keys, keyPath, sameKeyPath);
    return !keyName.isNull() && keys.value(keyName).isObject();
}

// Adds the key when missing and returns its values; false when something other than an object
// is in the way, which is left alone rather than overwritten.
bool ensureKey(QJsonObject& store, RootKey root, const QString& keyPath, QJsonObject& values,
               QString& keyName) {
    const QJsonValue rootValue = store.value(rootName(root));
    if (!rootValue.isUndefined() && !rootValue.isObject())
        return false;
    const QJsonObject keys = rootValue.toObject();
    keyName = findMember(keys, keyPath, sameKeyPath);
    if (keyName.isNull()) {
        keyName = normalizedKeyPath(keyPath);
        values = {};
        return true;
    }
    const QJsonValue keyValue = keys.value(keyName);
    if (!keyValue.isObject())
        return false;
    values = keyValue.toObject();
    return true;
}

void storeKey(QJsonObject& store, RootKey root, const QString& keyName, const QJsonObject& values) {
    QJsonObject keys = store.value(rootName(root)).toObject();
    keys.insert(keyName, values);
    store.insert(rootName(root), keys);
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The handler told of every store set aside, and the lock that guards it.
struct CorruptStoreNotice {
    QMutex mutex;
    Registry::CorruptStoreHandler handler;
};

CorruptStoreNotice& corruptStoreNotice() {
    static CorruptStoreNotice notice;
    return notice;
}

void tellStoreSetAside(const QString& keptCopy) {
    if (keptCopy.isEmpty())
        return;
    Registry::CorruptStoreHandler handler;
    {
        CorruptStoreNotice& notice = corruptStoreNotice();
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

// Keeps a corrupt store for the user under a name not taken yet; the kept copy's path, or empty
// with the reason in `problem`.
QString setAside(const QString& path, QString& problem) {
    const QString stem =
        path + QStringLiteral(".corrupt-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    QString target = stem;
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = stem + QLatin1Char('-') + QString::number(n);
    QFile file(path);
    if (file.rename(target))
        return target;
    problem = QStringLiteral("it cannot be kept as %1: %2").arg(target, file.errorString());
    return {};
}

enum class FileRead { Missing, Read, Unreadable };

// Reads the store file if it is a regular file (or a link to one) within the size cap. Anything
// else - a FIFO, a device, a folder, a link to nothing - is never read: opening a FIFO blocks
// until someone writes, and a device such as /dev/zero never ends.
FileRead readStoreFile(const QString& path, QByteArray& bytes, QString& problem) {
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

// Reads and parses the store. Corrupt also covers valid JSON that the reader could not hold
// exactly, so that no write ever replaces it with something else.
Parse parseStore(const QString& path, QJsonObject& store, QString& problem) {
    store = {};
    QByteArray bytes;
    switch (readStoreFile(path, bytes, problem)) {
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
    problem = whatWouldNotRoundTrip(bytes, kStoreDepth);
    if (!problem.isEmpty())
        return Parse::Corrupt;
    store = document.object();
    return Parse::Ok;
}

// What a load under the store's lock found.
struct LockedLoad {
    std::optional<QJsonObject> store; // nothing: the file cannot be read, nor set aside
    QString keptCopy;                 // where a corrupt store was set aside
    QString problem;                  // why there is no store
};

// A corrupt file is set aside and the store starts empty. Nothing when the file cannot be read,
// so a write never replaces data it could not see.
LockedLoad loadLocked(const QString& path) {
    LockedLoad load;
    QJsonObject store;
    switch (parseStore(path, store, load.problem)) {
    case Parse::Ok:
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

// Loads the store for reading; anything unreadable reads as an empty store.
QJsonObject loadForRead(const QString& path) {
    QJsonObject store;
    QString problem;
    if (parseStore(path, store, problem) != Parse::Corrupt)
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
    tellStoreSetAside(load.keptCopy);
    return load.store.value_or(QJsonObject());
}

bool saveStore(const QString& path, const QJsonObject& store, QString& problem) {
    const QByteArray bytes = QJsonDocument(store).toJson(QJsonDocument::Indented);
    if (bytes.size() > kMaxStoreSize) {
        // Such a file would not be loaded again: every setting would seem lost.
        problem = QStringLiteral("the file would be larger than %1 bytes").arg(kMaxStoreSize);
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    problem = file.errorString();
    file.cancelWriting();
    return false;
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

// One locked read-modify-write of the store; false, with the reason in `problem`, when any step
// is refused. A corrupt store set aside on the way is named in `keptCopy`.
bool modifyLocked(const QString& path, const std::function<bool(QJsonObject&, QString&)>& edit,
                  QString& keptCopy, QString& problem) {
    if (!makeFolder(QFileInfo(path).absolutePath(), problem))
        return false;
    StoreLock lock(path);
    if (!lock.acquire(problem))
        return false;
    LockedLoad load = loadLocked(path);
    keptCopy = load.keptCopy;
    if (!load.store) {
        problem = load.problem;
        return false;
    }
    return edit(*load.store, problem) && saveStore(path, *load.store, problem);
}

QString message(const char* format, const QString& name) {
    return QString::fromLatin1(format).arg(name);
}

void writeValue(RootKey root, const QString& keyPath, const QString& name,
                const QJsonValue& value) {
    if (keyPath.isEmpty())
        throw Failure(message("Failed to set data for '%1'", name));
    const QString path = Registry::storePath();
    QString keptCopy;
    QString problem;
    const bool written = modifyLocked(
        path,
        [&](QJsonObject& store, QString& refusal) {
            QJsonObject values;
            QString keyName;
            if (!ensureKey(store, root, keyPath, values, keyName)) {
                refusal = QStringLiteral("%1\\%2 holds a value where a key belongs")
                              .arg(rootName(root), keyPath);
                return false;
            }
            const QString stored = findMember(values, name, sameValueName);
            values.insert(stored.isNull() ? name : stored, value);
            storeKey(store, root, keyName, values);
            return true;
        },
        keptCopy, problem);
    tellStoreSetAside(keptCopy);
    if (written)
        return;
    qWarning().noquote()
        << QStringLiteral("The setting '%1' cannot be saved in %2: %3.").arg(name, path, problem);
    throw Failure(message("Failed to set data for '%1'", name));
}

} // namespace

Registry::Registry(RootKey root) : m_root(root) {}

Registry::~Registry() = default;

void Registry::setRootKey(RootKey root) {
    // The open key belongs to the old root.
    if (root != m_root)
        closeKey();
    m_root = root;
}

bool Registry::openKey(const QString& path, bool canCreate) {
    closeKey();
    const QString keyPath = normalizedKeyPath(path);
    if (keyPath.isEmpty())
        return false;
    // A key is created by the first write into it. An empty key reads like a missing one, so
    // opening need not rewrite (and sync) the whole file, nor fill the store with empty keys
    // for values that are only ever read.
    if (!canCreate && !keyExists(loadForRead(storePath()), m_root, keyPath))
        return false;
    m_openPath = keyPath;
    return true;
}

void Registry::closeKey() {
    m_openPath.clear();
}

bool Registry::hasOpenKey() const {
    return !m_openPath.isEmpty();
}

QString Registry::readString(const QString& name) const {
    if (!hasOpenKey())
        return {};
    const QJsonValue value = findValue(loadForRead(storePath()), m_root, m_openPath, name);
    switch (kindOf(value)) {
    case Kind::Missing:
        return {};
    case Kind::String:
        return value.toString();
    case Kind::Integer:
    case Kind::Other:
        break;
    }
    throw Failure(message("Invalid data type for '%1'", name));
}

int Registry::readInteger(const QString& name) const {
    if (!hasOpenKey())
        throw Failure(message("Failed to get data for '%1'", name));
    const QJsonValue value = findValue(loadForRead(storePath()), m_root, m_openPath, name);
    switch (kindOf(value)) {
    case Kind::Missing:
        throw Failure(message("Failed to get data for '%1'", name));
    case Kind::Integer:
        return static_cast<int>(value.toInteger());
    case Kind::String:
    case Kind::Other:
        break;
    }
    throw Failure(message("Invalid data type for '%1'", name));
}

void Registry::writeString(const QString& name, const QString& value) {
    writeValue(m_root, m_openPath, name, QJsonValue(value));
}

void Registry::writeInteger(const QString& name, int value) {
    writeValue(m_root, m_openPath, name, QJsonValue(value));
}

void Registry::setCorruptStoreHandler(CorruptStoreHandler handler) {
    CorruptStoreNotice& notice = corruptStoreNotice();
    const QMutexLocker locker(&notice.mutex);
    notice.handler = std::move(handler);
}

QString Registry::storePath() {
    const QString fromEnvironment = qEnvironmentVariable("VELMORA_REGISTRY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora/registry.json");
}

} // namespace velmora
