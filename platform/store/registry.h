#pragma once

#include <QString>

#include <functional>

namespace velmora {

enum class RootKey { LocalMachine, CurrentUser, CurrentConfig };

// What a read finds, as a value rather than a failure: the value of the type asked for, none
// (or no open key), or a value of another type.
template <typename T> struct StoredValue {
    enum class Found { Value, Missing, OtherType };
    Found found = Found::Missing;
    T value{};

    [[nodiscard]] bool has() const { return found == Found::Value; }
    [[nodiscard]] T valueOr(const T& otherwise) const { return has() ? value : otherwise; }
};

// The typed settings store, used the way every access is made: choose a root, open a key path
// (created when missing), read or write named values, close. Nothing is cached: each read loads
// the store file afresh and each write is a locked read-modify-write that replaces the file
// atomically (storefile.h says how the file is read, guarded, set aside and replaced). Key paths
// and value names compare case-insensitively and keep their case. A refused write prints the
// path and the reason on standard error.
//
// Failures are velmora::Failure with the messages "Invalid data type for '%s'",
// "Failed to get data for '%s'" and "Failed to set data for '%s'".
class Registry {
public:
    explicit Registry(RootKey root = RootKey::LocalMachine);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    void setRootKey(RootKey root);
    // Opens the key path, e.g. "SOFTWARE\\Velmora\\3.2". With canCreate a missing key is
    // created by the first write into it; until then it reads as empty. Without canCreate,
    // false when the key does not exist; the key is then not open.
    [[nodiscard]] bool openKey(const QString& path, bool canCreate);
    void closeKey();
    [[nodiscard]] bool hasOpenKey() const;

    // The value as found, for the readers that expect it may be missing or of another type.
    [[nodiscard]] StoredValue<QString> findString(const QString& name) const;
    [[nodiscard]] StoredValue<int> findInteger(const QString& name) const;

    // A missing value (or no open key) reads as the empty string; another type fails.
    QString readString(const QString& name) const;
    // A missing value fails with "Failed to get data"; another type with "Invalid data type".
    int readInteger(const QString& name) const;
    // Creates or replaces the value whatever type it had; a refused write fails.
    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, int value);

    // Called once for each corrupt store set aside, with the path of the copy kept, on the thread
    // that set it aside, once the store's lock is released. An empty handler tells no one.
    using CorruptStoreHandler = std::function<void(const QString& keptCopy)>;
    static void setCorruptStoreHandler(CorruptStoreHandler handler);

    // $VELMORA_REGISTRY, else velmora/registry.json in the user's XDG config folder.
    static QString storePath();

private:
    RootKey m_root;
    QString m_openPath; // empty: no key open
};

} // namespace velmora
