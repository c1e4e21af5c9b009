#include "platform/store/registry.h"

#include "platform/base/failure.h"
#include "platform/store/storefile.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <limits>

namespace velmora {

namespace {

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

void writeValue(RootKey root, const QString& keyPath, const QString& name,
                const QJsonValue& value) {
    if (keyPath.isEmpty())
        throw Failure(FailureKind::StoreWriteFailed, name);
    const QString path = Registry::storePath();
    QString problem;
    const bool written = storefile::modify(
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
        problem);
    if (written)
        return;
    qWarning().noquote()
        << QStringLiteral("The setting '%1' cannot be saved in %2: %3.").arg(name, path, problem);
    throw Failure(FailureKind::StoreWriteFailed, name);
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
    if (!canCreate && !keyExists(storefile::read(storePath()), m_root, keyPath))
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

StoredValue<QString> Registry::findString(const QString& name) const {
    using Found = StoredValue<QString>::Found;
    if (!hasOpenKey())
        return {};
    const QJsonValue value = findValue(storefile::read(storePath()), m_root, m_openPath, name);
    switch (kindOf(value)) {
    case Kind::Missing:
        return {};
    case Kind::String:
        return {Found::Value, value.toString()};
    case Kind::Integer:
    case Kind::Other:
        break;
    }
    return {Found::OtherType, {}};
}

StoredValue<int> Registry::findInteger(const QString& name) const {
    using Found = StoredValue<int>::Found;
    if (!hasOpenKey())
        return {};
    const QJsonValue value = findValue(storefile::read(storePath()), m_root, m_openPath, name);
    switch (kindOf(value)) {
    case Kind::Missing:
        return {};
    case Kind::Integer:
        return {Found::Value, static_cast<int>(value.toInteger())};
    case Kind::String:
    case Kind::Other:
        break;
    }
    return {Found::OtherType, 0};
}

QString Registry::readString(const QString& name) const {
    const StoredValue<QString> found = findString(name);
    if (found.found == StoredValue<QString>::Found::OtherType)
        throw Failure(FailureKind::StoreInvalidType, name);
    return found.value;
}

int Registry::readInteger(const QString& name) const {
    const StoredValue<int> found = findInteger(name);
    switch (found.found) {
    case StoredValue<int>::Found::Value:
        return found.value;
    case StoredValue<int>::Found::Missing:
        throw Failure(FailureKind::StoreReadFailed, name);
    case StoredValue<int>::Found::OtherType:
        break;
    }
    throw Failure(FailureKind::StoreInvalidType, name);
}

void Registry::writeString(const QString& name, const QString& value) {
    writeValue(m_root, m_openPath, name, QJsonValue(value));
}

void Registry::writeInteger(const QString& name, int value) {
    writeValue(m_root, m_openPath, name, QJsonValue(value));
}

void Registry::setCorruptStoreHandler(CorruptStoreHandler handler) {
    storefile::setSetAsideHandler(std::move(handler));
}

QString Registry::storePath() {
    const QString fromEnvironment = qEnvironmentVariable("VELMORA_REGISTRY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora/registry.json");
}

} // namespace velmora
