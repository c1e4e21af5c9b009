#include "platform/base/failure.h"
#include "platform/store/registry.h"
#include "platform/store/storefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using velmora::Failure;
using velmora::Registry;
using velmora::RootKey;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Velmora\\3.2");
constexpr int kWriterProcesses = 4;
constexpr int kWritesPerProcess = 100;
// A value this long spreads the store over many blocks, so half a file is far from a whole one.
constexpr int kPaddingLength = 512 * 1024;
// How long a child process may take before the test calls it hung.
constexpr int kChildTimeoutMs = 10000;

// What a call fails with, or a marker when it does not fail.
QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return QStringLiteral("<no failure>");
}

// Child mode: announce readiness, wait for "go" on stdin so all writers start together, then
// write this process's values one at a time.
int runWriter(const QString& id) {
    QFile out;
    QFile in;
    if (!out.open(stdout, QIODevice::WriteOnly) || !in.open(stdin, QIODevice::ReadOnly))
        return 2;
    out.write("ready\n");
    out.flush();
    in.readLine();
    try {
        Registry registry(RootKey::CurrentUser);
        if (!registry.openKey(kKey, true))
            return 3;
        for (int i = 0; i < kWritesPerProcess; ++i)
            registry.writeInteger(QStringLiteral("p%1_%2").arg(id).arg(i), i);
    } catch (const Failure& failure) {
        QFile err;
        if (err.open(stderr, QIODevice::WriteOnly))
            err.write(failure.message().toUtf8() + '\n');
        return 1;
    }
    return 0;
}

// The value the n-th write of "Counter" stores: the number, then letters that tell whether the
// text belongs to that number.
QString counterValue(int n) {
    return QString::number(n) + QLatin1Char(':') +
           QString(kPaddingLength, QLatin1Char(static_cast<char>('a' + n % 26)));
}

// The names by which the test tells a writer where to stop.
const std::pair<const char*, velmora::storefile::SaveStep> kSaveSteps[] = {
    {"half-written", velmora::storefile::SaveStep::HalfWritten},
    {"written", velmora::storefile::SaveStep::Written},
    {"replaced", velmora::storefile::SaveStep::Replaced},
};
std::atomic<int> stopStep{-1};

// Says on standard output which step the write reached and waits there to be killed.
void stopAtStep(velmora::storefile::SaveStep step) {
    if (static_cast<int>(step) != stopStep.load())
        return;
    for (const auto& [name, known] : kSaveSteps) {
        if (known == step) {
            const QByteArray line = QByteArray("at ") + name + '\n';
            if (::write(STDOUT_FILENO, line.constData(), line.size()) != line.size())
                std::_Exit(2);
        }
    }
    for (;;)
        ::pause();
}

// Child mode: write "Counter" with the number after the stored one, stopping at the named step
// of the store's replacement until killed.
int runStoppedWriter(const QString& stepName) {
    for (const auto& [name, step] : kSaveSteps) {
        if (stepName == QLatin1String(name))
            stopStep = static_cast<int>(step);
    }
    if (stopStep.load() < 0)
        return 2;
    velmora::storefile::setSaveStepHook(stopAtStep);
    try {
        Registry registry(RootKey::CurrentUser);
        if (!registry.openKey(kKey, true))
            return 3;
        const int n =
            registry.readString(QStringLiteral("Counter")).section(QLatin1Char(':'), 0, 0).toInt();
        registry.writeString(QStringLiteral("Counter"), counterValue(n + 1));
    } catch (const Failure& failure) {
        QFile err;
        if (err.open(stderr, QIODevice::WriteOnly))
            err.write(failure.message().toUtf8() + '\n');
    }
    // Reaching here means the write never stopped where it was told to.
    return 1;
}

// Child mode: what a start of the program does with the store as it is - read "Mode" twice,
// then write it - printing what each step gave and every copy the store reports kept aside.
// Run as a child so a test can bound the wait and outlive a crash.
int runAccess() {
    QTextStream out(stdout);
    Registry::setCorruptStoreHandler([&out](const QString& keptCopy) {
        out << "kept " << keptCopy << '\n';
        out.flush();
    });
    Registry registry;
    if (!registry.openKey(kKey, true))
        return 3;
    for (int i = 0; i < 2; ++i) {
        QString text;
        const QString failure =
            failureOf([&] { text = registry.readString(QStringLiteral("Mode")); });
        out << "read " << (failure == QLatin1String("<no failure>") ? text : failure) << '\n';
        out.flush();
    }
    out << "write " << failureOf([&] {
        registry.writeString(QStringLiteral("Mode"), QStringLiteral("written"));
    }) << '\n';
    return 0;
}

// Child mode: take the store's lock and hang until killed, as a crashed writer would leave it.
int holdLock() {
    QLockFile lock(Registry::storePath() + QStringLiteral(".lock"));
    if (!lock.tryLock(0))
        return 2;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 2;
    out.write("locked\n");
    out.flush();
    QThread::sleep(60);
    return 0;
}

// What stands at the store's path in a row of the odd-file table.
enum class OddFile {
    Content, // a regular file holding the row's bytes
    Fifo,
    DevZeroLink,
    Folder,
    DanglingLink,
    LinkLoop,
    LinkToStore,    // a link to a regular file holding the row's bytes
    Huge,           // a 50 MB file
    NoPermission,   // the row's bytes, mode 000
    ReadOnlyFolder, // the row's bytes, in a folder nobody may write
    FullDisk,       // the row's bytes, on a disk with no space left
};

// What a start of the program meets there.
enum class Outcome {
    Readable,   // values read, the write goes in, everything else kept
    Rewritten,  // as Readable, and the file as it was is copied aside first, told to no one
    Misread,    // as Rewritten, but the reader takes a value otherwise than it stands there
    Refused,    // values read, the write is refused and the file left alone
    Unreadable, // reads fall back silently, the write is refused and the file left alone
    Corrupt,    // set aside byte for byte and reported once; the store starts empty
};

// A store file's kind, link, permissions and (for a regular file) bytes, to show it untouched.
struct FileState {
    mode_t mode = 0;
    QByteArray linkTarget;
    QByteArray bytes;

    bool operator==(const FileState&) const = default;
};

FileState fileState(const QString& path) {
    FileState state;
    const QByteArray native = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(native.constData(), &status) != 0)
        return state;
    state.mode = status.st_mode;
    if (S_ISLNK(status.st_mode)) {
        char target[4096];
        const ssize_t length = ::readlink(native.constData(), target, sizeof target);
        state.linkTarget = QByteArray(target, std::max<ssize_t>(length, 0));
    } else if (S_ISREG(status.st_mode)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            state.bytes = file.readAll();
    }
    return state;
}

// A store whose program key holds "Mode": "seeded" and the given members.
QByteArray storeWith(const QByteArray& members) {
    return R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Mode": "seeded", )" + members +
           "}}}";
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingValues();
    void wrongTypeFails_data();
    void wrongTypeFails();
    void integerLimitsRoundTrip_data();
    void integerLimitsRoundTrip();
    void writeReplacesAnyType_data();
    void writeReplacesAnyType();
    void valueNamesIgnoreCaseAndKeepIt();
    void keyPathsIgnoreCaseAndSeparators_data();
    void keyPathsIgnoreCaseAndSeparators();
    void rootsAreSeparate();
    void openingMissingKeyCreatesIt_data();
    void openingMissingKeyCreatesIt();
    void openingMissingKeyWithoutCreateFails();
    void noOpenKey_data();
    void noOpenKey();
    void unwritableLocation();
    void emptyFileIsEmptyStore();
    void corruptStoreIsSetAside();
    void corruptStoreNeverOverwritesAKeptCopy();
    void handWrittenStoreIsCopiedOnceBeforeItIsRewritten();
    void oddStoreFiles_data();
    void oddStoreFiles();
    void writePastTheSizeCapIsRefused();
    void heldLockRefusesWrite();
    void lockLeftByKilledProcessIsTaken();
    void writerProcessesLoseNothing();
    void killedWritersLeaveOldOrNewStore_data();
    void killedWritersLeaveOldOrNewStore();
    void storePathDefault_data();
    void storePathDefault();

private:
    QString storeFile() const {
        return m_dir->filePath(QStringLiteral("config/velmora/registry.json"));
    }
    QString storeFolder() const { return QFileInfo(storeFile()).absolutePath(); }
    void seed(const QByteArray& bytes) const;
    QJsonObject storedRoot(const QString& root = QStringLiteral("HKEY_LOCAL_MACHINE")) const;
    QMap<QString, QByteArray> keptCopies(const QString& kind = QStringLiteral("corrupt")) const;
    void makeOddFile(OddFile odd, const QByteArray& content);
    QString mountFullDisk(const QByteArray& content);
    QString runAsNobody(QString& program, QStringList& arguments) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mounted;            // a small disk mounted over the store's folder
    bool m_privateMounts = false; // mounts of this process are its own, never the machine's
};

void TestRegistry::init() {
    // The store sits in folders that do not exist yet, so every test also covers creating them.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("VELMORA_REGISTRY", storeFile().toLocal8Bit());
}

void TestRegistry::cleanup() {
    Registry::setCorruptStoreHandler({});
    if (!m_mounted.isEmpty()) {
        ::umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
        m_mounted.clear();
    }
    // What a row made unreadable or unwritable must not stop the folder's removal.
    ::chmod(QFile::encodeName(storeFolder()).constData(), 0755);
}

void TestRegistry::seed(const QByteArray& bytes) const {
    QVERIFY(QDir().mkpath(storeFolder()));
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QJsonObject TestRegistry::storedRoot(const QString& root) const {
    QFile file(storeFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(root).toObject();
}

// Copies kept beside the store, by file name: "corrupt" ones set aside, "original" ones of a
// store that was rewritten.
QMap<QString, QByteArray> TestRegistry::keptCopies(const QString& kind) const {
    QMap<QString, QByteArray> copies;
    const QDir folder(storeFolder());
    for (const QString& name :
         folder.entryList({QStringLiteral("registry.json.%1-*").arg(kind)}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            copies.insert(name, file.readAll());
    }
    return copies;
}

void TestRegistry::missingValues() {
    seed(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Other": 1}}})");
    Registry registry;
    QVERIFY(registry.openKey(kKey, false));
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QString());
    QCOMPARE(failureOf([&] { registry.readInteger(QStringLiteral("Mode")); }),
             QStringLiteral("Failed to get data for 'Mode'"));
}

void TestRegistry::wrongTypeFails_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("readAsInteger");

    QTest::newRow("integer read as string") << QByteArray("42") << false;
    QTest::newRow("string read as integer") << QByteArray("\"42\"") << true;
    QTest::newRow("double read as integer") << QByteArray("2.5") << true;
    QTest::newRow("double read as string") << QByteArray("2.5") << false;
    QTest::newRow("bool read as integer") << QByteArray("true") << true;
    QTest::newRow("bool read as string") << QByteArray("false") << false;
    QTest::newRow("null read as string") << QByteArray("null") << false;
    QTest::newRow("above 32 bits read as integer") << QByteArray("2147483648") << true;
    QTest::newRow("below 32 bits read as integer") << QByteArray("-2147483649") << true;
    QTest::newRow("beyond 64 bits read as integer") << QByteArray("1e30") << true;
}

void TestRegistry::wrongTypeFails() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, readAsInteger);
    seed(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Value": )" + stored + "}}}");

    Registry registry;
    QVERIFY(registry.openKey(kKey, false));
    const QString failure = failureOf([&] {
        if (readAsInteger)
            registry.readInteger(QStringLiteral("Value"));
        else
            registry.readString(QStringLiteral("Value"));
    });
    QCOMPARE(failure, QStringLiteral("Invalid data type for 'Value'"));
}

void TestRegistry::integerLimitsRoundTrip_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -7;
    QTest::newRow("largest") << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << std::numeric_limits<int>::min();
}

void TestRegistry::integerLimitsRoundTrip() {
    QFETCH(int, value);
    {
        Registry writer;
        QVERIFY(writer.openKey(kKey, true));
        writer.writeInteger(QStringLiteral("Value"), value);
    }
    // The file holds a plain JSON integer that a fresh reader takes back exactly.
    QCOMPARE(storedRoot().value(kKey).toObject().value(QStringLiteral("Value")).toInteger(),
             qint64(value));
    Registry reader;
    QVERIFY(reader.openKey(kKey, false));
    QCOMPARE(reader.readInteger(QStringLiteral("Value")), value);
}

void TestRegistry::writeReplacesAnyType_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("writeInteger");

    QTest::newRow("string over integer") << QByteArray("5") << false;
    QTest::newRow("integer over string") << QByteArray("\"five\"") << true;
    QTest::newRow("integer over double") << QByteArray("2.5") << true;
    QTest::newRow("string over bool") << QByteArray("true") << false;
    QTest::newRow("integer over null") << QByteArray("null") << true;
}

void TestRegistry::writeReplacesAnyType() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, writeInteger);
    seed(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Value": )" + stored + "}}}");

    Registry registry;
    QVERIFY(registry.openKey(kKey, false));
    // Written under another case: the value is replaced, not joined by a second one.
    if (writeInteger) {
        registry.writeInteger(QStringLiteral("VALUE"), 12);
        QCOMPARE(registry.readInteger(QStringLiteral("value")), 12);
    } else {
        registry.writeString(QStringLiteral("VALUE"), QStringLiteral("twelve"));
        QCOMPARE(registry.readString(QStringLiteral("value")), QStringLiteral("twelve"));
    }
    QCOMPARE(storedRoot().value(kKey).toObject().keys(), QStringList{QStringLiteral("Value")});
}

void TestRegistry::valueNamesIgnoreCaseAndKeepIt() {
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));
    registry.writeString(QStringLiteral("DecimalSeparator"), QStringLiteral(","));
    registry.writeString(QStringLiteral("DECIMALSEPARATOR"), QStringLiteral("."));
    registry.writeInteger(QStringLiteral("Précision"), 8);

    QCOMPARE(registry.readString(QStringLiteral("decimalseparator")), QStringLiteral("."));
    QCOMPARE(registry.readInteger(QStringLiteral("PRÉCISION")), 8);
    QStringList names = storedRoot().value(kKey).toObject().keys();
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("DecimalSeparator"), QStringLiteral("Précision")}));
}

void TestRegistry::keyPathsIgnoreCaseAndSeparators_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("same") << kKey;
    QTest::newRow("other case") << QStringLiteral("software\\VELMORA\\3.2");
    QTest::newRow("outer backslashes") << QStringLiteral("\\Software\\Velmora\\3.2\\");
    QTest::newRow("doubled backslash") << QStringLiteral("SOFTWARE\\\\Velmora\\3.2");
}

void TestRegistry::keyPathsIgnoreCaseAndSeparators() {
    QFETCH(QString, path);
    {
        Registry creator;
        QVERIFY(creator.openKey(kKey, true));
        creator.writeInteger(QStringLiteral("Mode"), 1);
    }
    Registry registry;
    QVERIFY(registry.openKey(path, false));
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 1);
    registry.writeInteger(QStringLiteral("Digits"), 10);
    QVERIFY(registry.openKey(path, true));

    // Still one key, under the name it was created with, holding both values.
    const QJsonObject root = storedRoot();
    QCOMPARE(root.keys(), QStringList{kKey});
    QCOMPARE(root.value(kKey).toObject().value(QStringLiteral("Digits")).toInteger(), 10);
}

void TestRegistry::rootsAreSeparate() {
    Registry machine(RootKey::LocalMachine);
    QVERIFY(machine.openKey(kKey, true));
    machine.writeInteger(QStringLiteral("Mode"), 1);

    Registry user(RootKey::CurrentUser);
    QVERIFY(!user.openKey(kKey, false));
    QVERIFY(user.openKey(kKey, true));
    QCOMPARE(user.readString(QStringLiteral("Mode")), QString());

    // Switching root leaves the other root's key behind rather than writing across roots.
    machine.setRootKey(RootKey::CurrentUser);
    QVERIFY(!machine.hasOpenKey());
}

void TestRegistry::openingMissingKeyCreatesIt_data() {
    QTest::addColumn<RootKey>("root");
    QTest::addColumn<QString>("rootName");
    QTest::newRow("local machine") << RootKey::LocalMachine << "HKEY_LOCAL_MACHINE";
    QTest::newRow("current user") << RootKey::CurrentUser << "HKEY_CURRENT_USER";
    QTest::newRow("current config") << RootKey::CurrentConfig << "HKEY_CURRENT_CONFIG";
}

void TestRegistry::openingMissingKeyCreatesIt() {
    QFETCH(RootKey, root);
    QFETCH(QString, rootName);
    Registry registry(root);
    QVERIFY(registry.openKey(QStringLiteral("\\Software\\Velmora\\"), true));
    QVERIFY(registry.hasOpenKey());

    // Opening writes nothing: the new key reads as empty until the first write creates it.
    QVERIFY(!QFile::exists(storeFile()));
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QString());
    QCOMPARE(failureOf([&] { registry.readInteger(QStringLiteral("Mode")); }),
             QStringLiteral("Failed to get data for 'Mode'"));
    QVERIFY(!QFile::exists(storeFile()));

    registry.writeInteger(QStringLiteral("Mode"), 1);
    const QJsonObject stored = storedRoot(rootName);
    QCOMPARE(stored.keys(), QStringList{QStringLiteral("Software\\Velmora")});
    QCOMPARE(
        stored.value(QStringLiteral("Software\\Velmora")).toObject().value(QStringLiteral("Mode")),
        QJsonValue(1));
    QVERIFY(Registry().openKey(QStringLiteral("Software\\Velmora"), false) ==
            (root == RootKey::LocalMachine));
}

void TestRegistry::openingMissingKeyWithoutCreateFails() {
    Registry registry;
    QVERIFY(!registry.openKey(kKey, false));
    QVERIFY(!QFile::exists(storeFile()));

    // A failed open also closes the key that was open before.
    QVERIFY(registry.openKey(QStringLiteral("SOFTWARE"), true));
    QVERIFY(!registry.openKey(kKey, false));
    QVERIFY(!registry.hasOpenKey());
    QCOMPARE(failureOf([&] { registry.writeInteger(QStringLiteral("Mode"), 1); }),
             QStringLiteral("Failed to set data for 'Mode'"));
    QVERIFY(!registry.openKey(QString(), true));
}

void TestRegistry::noOpenKey_data() {
    QTest::addColumn<bool>("closed");
    QTest::newRow("never opened") << false;
    QTest::newRow("closed") << true;
}

void TestRegistry::noOpenKey() {
    QFETCH(bool, closed);
    Registry registry;
    if (closed) {
        QVERIFY(registry.openKey(kKey, true));
        registry.writeInteger(QStringLiteral("X"), 1);
        registry.closeKey();
    }
    QVERIFY(!registry.hasOpenKey());
    QCOMPARE(registry.readString(QStringLiteral("X")), QString());
    QCOMPARE(failureOf([&] { registry.readInteger(QStringLiteral("X")); }),
             QStringLiteral("Failed to get data for 'X'"));
    QCOMPARE(failureOf([&] { registry.writeString(QStringLiteral("X"), QStringLiteral("v")); }),
             QStringLiteral("Failed to set data for 'X'"));
    QCOMPARE(failureOf([&] { registry.writeInteger(QStringLiteral("X"), 2); }),
             QStringLiteral("Failed to set data for 'X'"));
}

void TestRegistry::unwritableLocation() {
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));

    // A plain file where the store's folder should be: nothing can be created below it, whoever
    // runs the test.
    const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("VELMORA_REGISTRY", (blocker + QStringLiteral("/registry.json")).toLocal8Bit());

    QCOMPARE(failureOf([&] { registry.writeString(QStringLiteral("Mode"), QStringLiteral("v")); }),
             QStringLiteral("Failed to set data for 'Mode'"));
    QCOMPARE(failureOf([&] { registry.writeInteger(QStringLiteral("Mode"), 1); }),
             QStringLiteral("Failed to set data for 'Mode'"));
    // Opening anew still succeeds (the key is only created by a write), and the write fails.
    QVERIFY(registry.openKey(kKey, true));
    QCOMPARE(failureOf([&] { registry.writeInteger(QStringLiteral("Mode"), 1); }),
             QStringLiteral("Failed to set data for 'Mode'"));
}

void TestRegistry::emptyFileIsEmptyStore() {
    seed(QByteArray());
    Registry registry;
    QVERIFY(!registry.openKey(kKey, false));
    QVERIFY(registry.openKey(kKey, true));
    registry.writeInteger(QStringLiteral("Mode"), 3);
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 3);
    QVERIFY(keptCopies().isEmpty());
}

void TestRegistry::corruptStoreIsSetAside() {
    const QByteArray broken =
        "{\"HKEY_LOCAL_MACHINE\": {\"SOFTWARE\\\\Velmora\\\\3.2\": {\"Mode\": 1";
    seed(broken);
    QStringList told;
    bool lockFree = false;
    Registry::setCorruptStoreHandler([&](const QString& keptCopy) {
        told << keptCopy;
        // The handler may show a box for as long as the user likes: other processes must not
        // wait for it.
        QLockFile lock(storeFile() + QStringLiteral(".lock"));
        lockFree = lock.tryLock(0);
    });

    // Reading finds no key and keeps the broken bytes aside.
    Registry registry;
    QVERIFY(!registry.openKey(kKey, false));
    QCOMPARE(keptCopies().values(), QList<QByteArray>{broken});
    QVERIFY(!QFile::exists(storeFile()));
    QCOMPARE(told, QStringList{QDir(storeFolder()).filePath(keptCopies().firstKey())});
    QVERIFY(lockFree);

    // The store starts over empty.
    QVERIFY(registry.openKey(kKey, true));
    registry.writeInteger(QStringLiteral("Digits"), 10);
    QCOMPARE(storedRoot().value(kKey).toObject().keys(), QStringList{QStringLiteral("Digits")});
    QCOMPARE(keptCopies().size(), 1);
    QCOMPARE(told.size(), 1);
}

void TestRegistry::corruptStoreNeverOverwritesAKeptCopy() {
    seed("[\"a JSON array is not a store\"]");
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QString());
    const QMap<QString, QByteArray> first = keptCopies();
    QCOMPARE(first.size(), 1);

    // Taken names for every millisecond of the next two seconds: the next copy must find its own.
    seed("second broken store");
    const QDateTime now = QDateTime::currentDateTime();
    int decoys = 0;
    for (int ms = 0; ms < 2000; ++ms) {
        const QString name = storeFile() + QStringLiteral(".corrupt-") +
                             now.addMSecs(ms).toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
        QFile decoy(name);
        if (decoy.exists())
            continue;
        QVERIFY(decoy.open(QIODevice::WriteOnly));
        decoy.write("decoy");
        ++decoys;
    }
    registry.writeInteger(QStringLiteral("Mode"), 1);

    const QMap<QString, QByteArray> copies = keptCopies();
    QCOMPARE(copies.size(), 1 + decoys + 1);
    QCOMPARE(copies.value(first.firstKey()), first.first());
    QCOMPARE(copies.values().count("decoy"), decoys);
    QCOMPARE(copies.values().count("second broken store"), 1);
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 1);
}

void TestRegistry::handWrittenStoreIsCopiedOnceBeforeItIsRewritten() {
    const QByteArray handWritten = storeWith(R"("Other": 1, "other": 2)");
    seed(handWritten);
    QStringList told;
    Registry::setCorruptStoreHandler([&told](const QString& keptCopy) { told << keptCopy; });

    // Reading changes nothing.
    Registry registry;
    QVERIFY(registry.openKey(kKey, false));
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QStringLiteral("seeded"));
    QVERIFY(keptCopies(QStringLiteral("original")).isEmpty());

    // The first write keeps the file as the user left it; later writes replace the store's own.
    registry.writeInteger(QStringLiteral("Digits"), 10);
    registry.writeInteger(QStringLiteral("Digits"), 12);
    QCOMPARE(keptCopies(QStringLiteral("original")).values(), QList<QByteArray>{handWritten});
    QCOMPARE(registry.readInteger(QStringLiteral("Digits")), 12);
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QStringLiteral("seeded"));
    QVERIFY(keptCopies().isEmpty());
    QVERIFY(told.isEmpty());
}

void TestRegistry::oddStoreFiles_data() {
    QTest::addColumn<OddFile>("odd");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("reason"); // on standard error when the write is refused
    QTest::addColumn<QString>("read");   // what "Mode" reads as, where the file is read

    const QString seeded = QStringLiteral("seeded");
    // Byte for byte what the store writes.
    const QByteArray plain = R"({
    "HKEY_LOCAL_MACHINE": {
        "SOFTWARE\\Velmora\\3.2": {
            "Mode": "seeded",
            "Other": 1
        }
    }
}
)";
    const QString notRegular = QStringLiteral("not a regular file");
    QTest::newRow("FIFO") << OddFile::Fifo << QByteArray() << Outcome::Unreadable << notRegular
                          << QString();
    QTest::newRow("link to /dev/zero")
        << OddFile::DevZeroLink << QByteArray() << Outcome::Unreadable << notRegular << QString();
    QTest::newRow("folder") << OddFile::Folder << QByteArray() << Outcome::Unreadable << notRegular
                            << QString();
    QTest::newRow("link to nothing") << OddFile::DanglingLink << QByteArray() << Outcome::Unreadable
                                     << QStringLiteral("link to nothing") << QString();
    QTest::newRow("link to itself") << OddFile::LinkLoop << QByteArray() << Outcome::Unreadable
                                    << systemError(ELOOP) << QString();
    QTest::newRow("50 MB file") << OddFile::Huge << QByteArray() << Outcome::Unreadable
                                << QStringLiteral("larger than 16777216 bytes") << QString();
    QTest::newRow("link to a store")
        << OddFile::LinkToStore << plain << Outcome::Readable << QString() << seeded;
    QTest::newRow("link to a hand-written store")
        << OddFile::LinkToStore << storeWith(R"("Other": 1, "Other": 2)") << Outcome::Rewritten
        << QString() << seeded;
    QTest::newRow("link to a damaged store") << OddFile::LinkToStore << storeWith(R"("Other": 1,)")
                                             << Outcome::Corrupt << QString() << QString();
    QTest::newRow("mode 000") << OddFile::NoPermission << plain << Outcome::Unreadable
                              << systemError(EACCES) << QString();
    QTest::newRow("read-only folder")
        << OddFile::ReadOnlyFolder << plain << Outcome::Refused << systemError(EACCES) << seeded;
    QTest::newRow("read-only folder, hand-written store")
        << OddFile::ReadOnlyFolder << storeWith(R"("Other": 1)") << Outcome::Refused
        << systemError(EACCES) << seeded;
    QTest::newRow("full disk") << OddFile::FullDisk << plain << Outcome::Refused
                               << systemError(ENOSPC) << seeded;

    const auto content = [&seeded](const char* tag, const QByteArray& bytes, Outcome outcome,
                                   const QString& read = {}) {
        const bool readable = outcome != Outcome::Corrupt;
        QTest::newRow(tag) << OddFile::Content << bytes << outcome << QString()
                           << (readable && read.isNull() ? seeded : read);
    };
    // What the reader refuses.
    content("cut short", plain.left(plain.size() - 4), Outcome::Corrupt);
    content("not an object", "[\"a JSON array is not a store\"]", Outcome::Corrupt);
    content("invalid UTF-8", storeWith("\"Other\": \"\xff\xfe\""), Outcome::Corrupt);
    content("nested 2,000 levels",
            storeWith("\"Other\": " + QByteArray(2000, '[') + QByteArray(2000, ']')),
            Outcome::Corrupt);
    // What the reader takes, but the store would write otherwise: kept as it was.
    content("spaced by hand", storeWith(R"("Other": 1)"), Outcome::Rewritten);
    content("the store's bytes after a byte order mark", "\xEF\xBB\xBF" + plain,
            Outcome::Rewritten);
    content("the store's bytes without the last line break", plain.chopped(1), Outcome::Rewritten);
    content("nested 1,000 levels",
            storeWith("\"Other\": " + QByteArray(1000, '[') + QByteArray(1000, ']')),
            Outcome::Rewritten);
    content("object as a value", storeWith(R"("Other": {"a": 1})"), Outcome::Rewritten);
    content("integer beyond a double", storeWith(R"("Other": 123456789012345678901234567890)"),
            Outcome::Rewritten);
    content("integer past 64 bits", storeWith(R"("Other": 9223372036854775808)"),
            Outcome::Rewritten);
    content("more decimals than a double", storeWith(R"("Other": 0.10000000000000000001)"),
            Outcome::Rewritten);
    content("fraction past a double's integers", storeWith(R"("Other": 9007199254740993.0)"),
            Outcome::Rewritten);
    content("largest 64-bit integer", storeWith(R"("Other": 9223372036854775807)"),
            Outcome::Rewritten);
    content("smallest 64-bit integer", storeWith(R"("Other": -9223372036854775808)"),
            Outcome::Rewritten);
    content("64-bit integer past a double's", storeWith(R"("Other": 9007199254740993)"),
            Outcome::Rewritten);
    content("round number past 64 bits", storeWith(R"("Other": 100000000000000000000)"),
            Outcome::Rewritten);
    content("decimal a double rounds", storeWith(R"("Other": 0.1)"), Outcome::Rewritten);
    content("array as a value", storeWith(R"("Other": [1, 2])"), Outcome::Rewritten);
    content(
        "duplicate value names",
        R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Mode": "lost", "Mode": "seeded"}}})",
        Outcome::Rewritten);
    content("duplicate root objects",
            R"({"HKEY_LOCAL_MACHINE": {"Lost": {"Mode": "lost"}},)"
            R"( "HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Mode": "seeded"}}})",
            Outcome::Rewritten);
    // The reader keeps the last of two names: the value the user wrote first is in the copy.
    content("duplicate names, one escaped", storeWith(R"("\u004dode": "other")"),
            Outcome::Rewritten, QStringLiteral("other"));
    content("duplicate names, one with a needless escape", storeWith(R"("\Mode": "other")"),
            Outcome::Rewritten, QStringLiteral("other"));
    content("names that differ in an unpaired surrogate", storeWith(R"("\ud800": 1, "\ud801": 2)"),
            Outcome::Rewritten);
    content("one name in two keys",
            R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Mode": "seeded"},)"
            R"( "Other": {"Mode": "other"}}})",
            Outcome::Rewritten);
    content("escaped NUL in a string", storeWith(R"("Other": "a\u0000b")"), Outcome::Rewritten);
    content("raw NUL in a string", storeWith(QByteArray("\"Other\": \"a\0b\"", 14)),
            Outcome::Rewritten);
    content("lone surrogate", storeWith(R"("Other": "\ud800")"), Outcome::Rewritten);
    // Qt's reader mistakes a raw byte order mark at the start of a string: the copy keeps it.
    content("name starting with a byte order mark", storeWith("\"\xEF\xBB\xBFOther\": 1"),
            Outcome::Misread);
    content("name starting with an escaped byte order mark", storeWith(R"("\ufeffOther": 1)"),
            Outcome::Rewritten);
    content("value starting with a byte order mark", storeWith("\"Other\": \"\xEF\xBB\xBFx\""),
            Outcome::Misread);
    content("byte order mark inside a name", storeWith("\"Ot\xEF\xBB\xBFher\": 1"),
            Outcome::Rewritten);
    content("names that differ in a byte order mark after an escape",
            storeWith("\"O\\\\\xEF\xBB\xBFther\": 1, \"O\\\\ther\": 2"), Outcome::Rewritten);
}

void TestRegistry::oddStoreFiles() {
    QFETCH(OddFile, odd);
    QFETCH(QByteArray, content);
    QFETCH(Outcome, outcome);
    QFETCH(QString, reason);
    QFETCH(QString, read);

    if (odd == OddFile::FullDisk) {
        const QString why = mountFullDisk(content);
        if (!why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no full disk can be made here: ") + why));
    } else {
        makeOddFile(odd, content);
    }
    // Root reads and writes past file permissions: it hands these rows to an unprivileged
    // user, so they test the refusal whoever runs the test.
    QString program = QCoreApplication::applicationFilePath();
    QStringList arguments{QStringLiteral("--access")};
    if ((odd == OddFile::NoPermission || odd == OddFile::ReadOnlyFolder) && ::geteuid() == 0) {
        const QString problem = runAsNobody(program, arguments);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    const FileState before = fileState(storeFile());

    QProcess child;
    child.start(program, arguments);
    QVERIFY2(child.waitForStarted(), qPrintable(program + QLatin1Char(' ') + child.errorString()));
    if (!child.waitForFinished(kChildTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        QFAIL("The program hung on the store file.");
    }
    const QString err = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(err));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());

    const QString refused = QStringLiteral("write Failed to set data for 'Mode'\n");
    switch (outcome) {
    case Outcome::Readable:
    case Outcome::Rewritten:
    case Outcome::Misread: {
        QCOMPARE(out, QStringLiteral("read %1\nread %1\nwrite <no failure>\n").arg(read));
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QVERIFY(keptCopies().isEmpty());
        // Nothing is lost: the file as it was is kept beside the store unless the store would
        // have written it so.
        QCOMPARE(keptCopies(QStringLiteral("original")).values(),
                 outcome == Outcome::Readable ? QList<QByteArray>{} : QList<QByteArray>{content});
        // The write changed "Mode" and nothing else the reader took.
        QJsonObject expected = QJsonDocument::fromJson(content).object();
        QJsonObject keys = expected.value(QStringLiteral("HKEY_LOCAL_MACHINE")).toObject();
        QJsonObject values = keys.value(kKey).toObject();
        values.insert(QStringLiteral("Mode"), QStringLiteral("written"));
        keys.insert(kKey, values);
        expected.insert(QStringLiteral("HKEY_LOCAL_MACHINE"), keys);
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        if (outcome == Outcome::Misread)
            QCOMPARE(stored.value(QStringLiteral("HKEY_LOCAL_MACHINE"))
                         .toObject()
                         .value(kKey)
                         .toObject()
                         .value(QStringLiteral("Mode")),
                     QJsonValue(QStringLiteral("written")));
        else
            QCOMPARE(stored, expected);
        if (odd == OddFile::LinkToStore)
            QVERIFY(QFileInfo(storeFile()).isSymLink());
        break;
    }
    case Outcome::Refused:
    case Outcome::Unreadable: {
        const QString reads = QStringLiteral("read %1\n").arg(read);
        QCOMPARE(out, reads + reads + refused);
        QVERIFY2(
            err.contains(
                QStringLiteral("The setting 'Mode' cannot be saved in %1: ").arg(storeFile())) &&
                err.contains(reason),
            qPrintable(err));
        QVERIFY(keptCopies().isEmpty());
        QVERIFY(keptCopies(QStringLiteral("original")).isEmpty());
        QVERIFY(fileState(storeFile()) == before);
        break;
    }
    case Outcome::Corrupt: {
        const QMap<QString, QByteArray> kept = keptCopies();
        QCOMPARE(kept.values(), QList<QByteArray>{content});
        QCOMPARE(out, QStringLiteral("kept %1\nread \nread \nwrite <no failure>\n")
                          .arg(QDir(storeFolder()).filePath(kept.firstKey())));
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject fresh{{QStringLiteral("HKEY_LOCAL_MACHINE"),
                                 QJsonObject{{kKey, QJsonObject{{QStringLiteral("Mode"),
                                                                 QStringLiteral("written")}}}}}};
        QCOMPARE(QJsonDocument::fromJson(file.readAll()).object(), fresh);
        break;
    }
    }
}

void TestRegistry::makeOddFile(OddFile odd, const QByteArray& content) {
    QVERIFY(QDir().mkpath(storeFolder()));
    const QByteArray path = QFile::encodeName(storeFile());
    switch (odd) {
    case OddFile::Content:
    case OddFile::NoPermission:
    case OddFile::ReadOnlyFolder:
        seed(content);
        if (odd == OddFile::NoPermission)
            QVERIFY(::chmod(path.constData(), 0) == 0);
        if (odd == OddFile::ReadOnlyFolder)
            QVERIFY(::chmod(QFile::encodeName(storeFolder()).constData(), 0555) == 0);
        break;
    case OddFile::Fifo:
        QVERIFY(::mkfifo(path.constData(), 0600) == 0);
        break;
    case OddFile::DevZeroLink:
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), storeFile()));
        break;
    case OddFile::Folder:
        QVERIFY(QDir().mkpath(storeFile()));
        break;
    case OddFile::DanglingLink:
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone/registry.json")), storeFile()));
        break;
    case OddFile::LinkLoop:
        QVERIFY(::symlink(path.constData(), path.constData()) == 0);
        break;
    case OddFile::LinkToStore: {
        QFile target(m_dir->filePath(QStringLiteral("elsewhere.json")));
        QVERIFY(target.open(QIODevice::WriteOnly));
        QCOMPARE(target.write(content), content.size());
        QVERIFY(QFile::link(target.fileName(), storeFile()));
        break;
    }
    case OddFile::Huge: {
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(50 * 1024 * 1024));
        break;
    }
    case OddFile::FullDisk:
        QFAIL("a full disk is mounted, not made");
    }
}

// Makes the test's folder the user nobody's, with a copy of this program in it (the build
// folder may be closed to others), and turns the child's command into that copy run as nobody
// through setpriv; why not, when that cannot be done.
QString TestRegistry::runAsNobody(QString& program, QStringList& arguments) const {
    const struct passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return QStringLiteral("there is no user nobody to hand the row to");
    const QString copy = m_dir->filePath(QStringLiteral("access-child"));
    if (!QFile::copy(program, copy) ||
        !QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther))
        return QStringLiteral("cannot copy the test program to ") + copy;
    QStringList owned{m_dir->path()};
    QDirIterator it(m_dir->path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        owned << it.next();
    for (const QString& path : owned) {
        if (::lchown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
            return QStringLiteral("cannot hand %1 to nobody: %2").arg(path, systemError(errno));
    }
    arguments.prepend(copy);
    arguments.prepend(QStringLiteral("--"));
    arguments.prepend(QStringLiteral("--clear-groups"));
    arguments.prepend(QStringLiteral("--regid=%1").arg(nobody->pw_gid));
    arguments.prepend(QStringLiteral("--reuid=%1").arg(nobody->pw_uid));
    program = QStringLiteral("setpriv");
    return {};
}

// Mounts a small disk over the store's folder, seeds the store there and fills the rest; why
// not, when this process may not mount.
QString TestRegistry::mountFullDisk(const QByteArray& content) {
    if (!QDir().mkpath(storeFolder()))
        return QStringLiteral("cannot make the store's folder");
    if (!m_privateMounts) {
        // The mount then lives and dies with this process and is seen by no one else.
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("unshare: ") + systemError(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("private mounts: ") + systemError(errno);
        m_privateMounts = true;
    }
    const QByteArray folder = QFile::encodeName(storeFolder());
    if (::mount("velmora-test", folder.constData(), "tmpfs", 0, "size=128k") != 0)
        return QStringLiteral("mounting a tmpfs: ") + systemError(errno);
    m_mounted = storeFolder();
    seed(content);
    const int fd = ::open(
        QFile::encodeName(QDir(storeFolder()).filePath(QStringLiteral("filler"))).constData(),
        O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return QStringLiteral("filling the disk: ") + systemError(errno);
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), block.size()) > 0) {
    }
    const int error = errno;
    ::close(fd);
    if (error != ENOSPC)
        return QStringLiteral("filling the disk: ") + systemError(error);
    return {};
}

void TestRegistry::writePastTheSizeCapIsRefused() {
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));
    registry.writeString(QStringLiteral("Mode"), QStringLiteral("kept"));
    const FileState before = fileState(storeFile());

    // A file past the cap would not be loaded again: every setting would seem lost.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^The setting 'Big' cannot be saved in "
                                                           ".*: the file would be larger than")));
    const QString big(17 * 1024 * 1024, QLatin1Char('b'));
    QCOMPARE(failureOf([&] { registry.writeString(QStringLiteral("Big"), big); }),
             QStringLiteral("Failed to set data for 'Big'"));
    QVERIFY(fileState(storeFile()) == before);
    QCOMPARE(registry.readString(QStringLiteral("Mode")), QStringLiteral("kept"));
}

void TestRegistry::heldLockRefusesWrite() {
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));
    registry.writeInteger(QStringLiteral("Mode"), 1);

    QLockFile held(storeFile() + QStringLiteral(".lock"));
    QVERIFY(held.tryLock(0));
    QCOMPARE(failureOf([&] { registry.writeInteger(QStringLiteral("Mode"), 2); }),
             QStringLiteral("Failed to set data for 'Mode'"));
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 1);

    held.unlock();
    registry.writeInteger(QStringLiteral("Mode"), 2);
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 2);
}

void TestRegistry::lockLeftByKilledProcessIsTaken() {
    Registry registry;
    QVERIFY(registry.openKey(kKey, true));
    registry.writeInteger(QStringLiteral("Mode"), 3); // makes the store's folder

    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock")});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
    holder.kill();
    QVERIFY(holder.waitForFinished());
    QVERIFY(QFile::exists(storeFile() + QStringLiteral(".lock")));

    registry.writeInteger(QStringLiteral("Mode"), 4);
    QCOMPARE(registry.readInteger(QStringLiteral("Mode")), 4);
}

void TestRegistry::writerProcessesLoseNothing() {
    QStringList ids;
    for (int w = 1; w <= kWriterProcesses; ++w)
        ids << QString::number(w);
    QProcess writers[kWriterProcesses];
    for (int w = 0; w < kWriterProcesses; ++w) {
        writers[w].start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--writer"), ids[w]});
        QVERIFY(writers[w].waitForStarted());
    }
    for (QProcess& writer : writers) {
        QVERIFY(writer.waitForReadyRead(kChildTimeoutMs));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
    }
    for (QProcess& writer : writers) {
        writer.write("go\n");
        writer.closeWriteChannel();
    }
    // QProcess only hands its buffer to the pipe when waited on; do it now, not one by one below.
    for (QProcess& writer : writers)
        QVERIFY(writer.bytesToWrite() == 0 || writer.waitForBytesWritten(kChildTimeoutMs));
    for (QProcess& writer : writers) {
        QVERIFY(writer.waitForFinished(120000));
        QVERIFY2(writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0,
                 writer.readAllStandardError().constData());
    }

    const QJsonObject values =
        storedRoot(QStringLiteral("HKEY_CURRENT_USER")).value(kKey).toObject();
    QStringList lost;
    for (const QString& id : ids) {
        for (int i = 0; i < kWritesPerProcess; ++i) {
            const QString name = QStringLiteral("p%1_%2").arg(id).arg(i);
            if (values.value(name) != QJsonValue(i))
                lost << name;
        }
    }
    QVERIFY2(
        lost.isEmpty(),
        qPrintable(QStringLiteral("%1 writes lost, first %2").arg(lost.size()).arg(lost.value(0))));
}

void TestRegistry::killedWritersLeaveOldOrNewStore_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("expected"); // the write whose value the store holds after the kill
    QTest::newRow("killed with half the new file written") << QStringLiteral("half-written") << 1;
    QTest::newRow("killed with the new file whole, before its rename")
        << QStringLiteral("written") << 1;
    QTest::newRow("killed after the rename, holding the lock") << QStringLiteral("replaced") << 2;
}

void TestRegistry::killedWritersLeaveOldOrNewStore() {
    QFETCH(QString, step);
    QFETCH(int, expected);
    Registry registry(RootKey::CurrentUser);
    QVERIFY(registry.openKey(kKey, true));
    registry.writeString(QStringLiteral("Counter"), counterValue(1));

    // The writer stores write 2 and says where it stopped; it is killed there.
    QProcess writer;
    writer.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-to"), step});
    QVERIFY(writer.waitForStarted());
    while (!writer.canReadLine()) {
        QVERIFY2(writer.waitForReadyRead(kChildTimeoutMs),
                 qPrintable(QStringLiteral("the writer did not stop at the step: %1")
                                .arg(QString::fromLocal8Bit(writer.readAllStandardError()))));
    }
    QCOMPARE(writer.readLine().trimmed(), QByteArray("at ") + step.toLatin1());
    writer.kill();
    QVERIFY(writer.waitForFinished(kChildTimeoutMs));
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

    // The file on disk is one the store wrote whole: the old one or the new one.
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QString stored = document.object()
                               .value(QStringLiteral("HKEY_CURRENT_USER"))
                               .toObject()
                               .value(kKey)
                               .toObject()
                               .value(QStringLiteral("Counter"))
                               .toString();
    QCOMPARE(stored.section(QLatin1Char(':'), 0, 0).toInt(), expected);
    QVERIFY2(stored == counterValue(expected), "the stored value is torn");
    QVERIFY(keptCopies().isEmpty());

    // The killed writer's lock stops no one: the next write goes on from what is stored.
    registry.writeString(QStringLiteral("Counter"), counterValue(expected + 1));
    QCOMPARE(registry.readString(QStringLiteral("Counter")), counterValue(expected + 1));
}

void TestRegistry::storePathDefault_data() {
    QTest::addColumn<bool>("setEmpty");
    QTest::newRow("unset") << false;
    QTest::newRow("empty") << true;
}

void TestRegistry::storePathDefault() {
    QFETCH(bool, setEmpty);
    if (setEmpty)
        qputenv("VELMORA_REGISTRY", QByteArray());
    else
        qunsetenv("VELMORA_REGISTRY");
    QCOMPARE(Registry::storePath(),
             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/velmora/registry.json"));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--writer"))
        return runWriter(arguments.at(2));
    if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--hold-lock"))
        return holdLock();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--write-to"))
        return runStoppedWriter(arguments.at(2));
    if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--access"))
        return runAccess();
    TestRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registry.moc"
