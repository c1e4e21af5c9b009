// The settings store's file loading on arbitrary contents, through the store's own interface:
// the bytes are the store file; two keys are read and then one value is written. Nothing may
// crash, and the contents must survive: a file the store cannot use stays byte for byte, in
// place or set aside, and is never overwritten; a file it rewrites is either kept byte for byte
// beside it or keeps everything but the written value. No other file is left behind.
//
// The store folder is made under $VELMORA_FUZZ_FOLDER, else in /dev/shm, else in the temporary
// folder: on a memory file system the syncs of the store's lock and atomic replace cost nothing,
// which makes the runs several times faster without a change to the store.

#include "fuzz/fuzzcheck.h"
#include "platform/base/failure.h"
#include "platform/store/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QMap>
#include <QTemporaryDir>

#include <memory>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

const QString Key = QStringLiteral("SOFTWARE\\Velmora\\3.2");
const QString Written = QStringLiteral("Probe");
const QString StoreName = QStringLiteral("registry.json");
const QString SetAsidePrefix = QStringLiteral("registry.json.corrupt-");
const QString OriginalPrefix = QStringLiteral("registry.json.original-");

std::unique_ptr<QTemporaryDir> g_folder;

QString storePath() {
    return g_folder->filePath(StoreName);
}

QMap<QString, QByteArray> filesInFolder() {
    QMap<QString, QByteArray> files;
    const QDir dir(g_folder->path());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return files;
}

void emptyFolder() {
    QDir dir(g_folder->path());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

// How the original bytes were kept.
enum class Kept { InPlace, SetAside, CopiedBeforeRewrite };

// The original bytes, in place, set aside or copied once; nothing else in the folder.
Kept checkKept(const QMap<QString, QByteArray>& files, const QByteArray& original, bool rewritten) {
    int copies = 0;
    Kept kept = Kept::InPlace;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (it.key().startsWith(SetAsidePrefix) || it.key().startsWith(OriginalPrefix)) {
            ++copies;
            kept = it.key().startsWith(SetAsidePrefix) ? Kept::SetAside : Kept::CopiedBeforeRewrite;
            check(it.value() == original, "a kept copy holds the bytes unchanged", it.key());
        } else {
            check(it.key() == StoreName, "no other file is left in the folder", it.key());
        }
    }
    check(copies <= 1, "a file is kept aside at most once", QString::number(copies));
    if (kept == Kept::CopiedBeforeRewrite)
        check(rewritten, "a file is copied only when it is rewritten", QString::fromUtf8(original));
    if (copies == 0 && !rewritten) {
        check(files.contains(StoreName) && files.value(StoreName) == original,
              "an unwritten store keeps its bytes", QString::fromUtf8(files.value(StoreName)));
    }
    return kept;
}

QString normalizedKey(const QString& path) {
    return path.split(u'\\', Qt::SkipEmptyParts).join(u'\\').toCaseFolded();
}

// Everything of `before` is in `after`, but for the written value under HKEY_CURRENT_USER\Key.
bool keepsAllButWritten(const QJsonObject& before, const QJsonObject& after) {
    const QString root = QStringLiteral("HKEY_CURRENT_USER");
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        if (it.key() != root) {
            if (after.value(it.key()) != it.value())
                return false;
            continue;
        }
        if (!it.value().isObject() || !after.value(root).isObject())
            return false;
        const QJsonObject keysBefore = it.value().toObject();
        const QJsonObject keysAfter = after.value(root).toObject();
        for (auto key = keysBefore.constBegin(); key != keysBefore.constEnd(); ++key) {
            if (normalizedKey(key.key()) != normalizedKey(Key)) {
                if (keysAfter.value(key.key()) != key.value())
                    return false;
                continue;
            }
            if (!key.value().isObject() || !keysAfter.value(key.key()).isObject())
                return false;
            const QJsonObject valuesBefore = key.value().toObject();
            const QJsonObject valuesAfter = keysAfter.value(key.key()).toObject();
            for (auto value = valuesBefore.constBegin(); value != valuesBefore.constEnd();
                 ++value) {
                if (value.key().toCaseFolded() != Written.toCaseFolded() &&
                    valuesAfter.value(value.key()) != value.value())
                    return false;
            }
        }
    }
    return true;
}

void expectFailure(const std::function<void()>& call, const QString& name) {
    try {
        call();
    } catch (const Failure& failure) {
        const QString& message = failure.message();
        check(message == QStringLiteral("Invalid data type for '%1'").arg(name) ||
                  message == QStringLiteral("Failed to get data for '%1'").arg(name),
              "a read fails only with the store's messages", message);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QString base = qEnvironmentVariable("VELMORA_FUZZ_FOLDER");
    if (base.isEmpty()) {
        const QFileInfo memory(QStringLiteral("/dev/shm"));
        base = memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    }
    g_folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/velmora-store-XXXXXX"));
    if (!g_folder->isValid())
        fail("a store folder can be made", base);
    qputenv("VELMORA_REGISTRY", storePath().toLocal8Bit());
    // The store logs every file it sets aside: thousands a second would bury libFuzzer's report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    emptyFolder();
    {
        QFile file(storePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(original) != original.size())
            fail("the store file can be seeded", storePath());
    }

    Registry registry;
    for (const RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser}) {
        registry.setRootKey(root);
        if (!registry.openKey(Key, false))
            continue;
        expectFailure([&] { registry.readString(QStringLiteral("Language")); },
                      QStringLiteral("Language"));
        expectFailure([&] { registry.readInteger(QStringLiteral("Update")); },
                      QStringLiteral("Update"));
    }
    checkKept(filesInFolder(), original, false);

    bool written = true;
    registry.setRootKey(RootKey::CurrentUser);
    check(registry.openKey(Key, true), "a key opens for writing", Key);
    try {
        registry.writeString(Written, QStringLiteral("fuzz"));
    } catch (const Failure& failure) {
        written = false;
        check(failure.message() == QStringLiteral("Failed to set data for 'Probe'"),
              "a write fails only with the store's message", failure.message());
    }
    const QMap<QString, QByteArray> files = filesInFolder();
    const Kept kept = checkKept(files, original, written);
    if (!written)
        return 0;

    check(registry.readString(Written) == u"fuzz", "the written value reads back", Written);
    if (kept == Kept::InPlace && !original.isEmpty()) {
        // Rewritten without a copy: everything else it held is still there.
        QJsonParseError error;
        const QJsonDocument before = QJsonDocument::fromJson(original, &error);
        check(error.error == QJsonParseError::NoError && before.isObject(),
              "only a JSON object is used in place", QString::fromUtf8(original));
        const QJsonObject after = QJsonDocument::fromJson(files.value(StoreName)).object();
        check(keepsAllButWritten(before.object(), after), "a write keeps every other value",
              QString::fromUtf8(files.value(StoreName)));
    }
    return 0;
}
