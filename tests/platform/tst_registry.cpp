#include "platform/failure.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <limits>
#include <memory>

using velmora::Failure;
using velmora::Registry;
using velmora::RootKey;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Velmora\\3.2");
constexpr int kWritesPerProcess = 200;

// What a call fails with, or a marker when it does not fail.
QString failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return QStringLiteral("<no failure>");
}

// Child mode: announce readiness, wait for "go" on stdin so both writers start together, then
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

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private slots:
    void init();

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
    void heldLockRefusesWrite();
    void lockLeftByKilledProcessIsTaken();
    void twoWriterProcessesLoseNothing();
    void storePathDefault_data();
    void storePathDefault();

private:
    QString storeFile() const {
        return m_dir->filePath(QStringLiteral("config/velmora/registry.json"));
    }
    QString storeFolder() const { return QFileInfo(storeFile()).absolutePath(); }
    void seed(const QByteArray& bytes) const;
    QJsonObject storedRoot(const QString& root = QStringLiteral("HKEY_LOCAL_MACHINE")) const;
    QMap<QString, QByteArray> keptCopies() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRegistry::init() {
    // The store sits in folders that do not exist yet, so every test also covers creating them.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("VELMORA_REGISTRY", storeFile().toLocal8Bit());
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

// Set-aside copies of corrupt stores, by file name.
QMap<QString, QByteArray> TestRegistry::keptCopies() const {
    QMap<QString, QByteArray> copies;
    const QDir folder(storeFolder());
    for (const QString& name :
         folder.entryList({QStringLiteral("registry.json.corrupt-*")}, QDir::Files)) {
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
    QTest::newRow("array read as integer") << QByteArray("[1]") << true;
    QTest::newRow("object read as string") << QByteArray("{}") << false;
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
    QTest::newRow("string over object") << QByteArray(R"({"a": 1})") << false;
    QTest::newRow("integer over array") << QByteArray("[1, 2]") << true;
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

    // Reading finds no key and keeps the broken bytes aside.
    Registry registry;
    QVERIFY(!registry.openKey(kKey, false));
    QCOMPARE(keptCopies().values(), QList<QByteArray>{broken});
    QVERIFY(!QFile::exists(storeFile()));

    // The store starts over empty.
    QVERIFY(registry.openKey(kKey, true));
    registry.writeInteger(QStringLiteral("Digits"), 10);
    QCOMPARE(storedRoot().value(kKey).toObject().keys(), QStringList{QStringLiteral("Digits")});
    QCOMPARE(keptCopies().size(), 1);
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

void TestRegistry::twoWriterProcessesLoseNothing() {
    const QStringList ids{QStringLiteral("1"), QStringLiteral("2")};
    QProcess writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w].start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--writer"), ids[w]});
        QVERIFY(writers[w].waitForStarted());
    }
    for (QProcess& writer : writers) {
        QVERIFY(writer.waitForReadyRead(10000));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
    }
    for (QProcess& writer : writers) {
        writer.write("go\n");
        writer.closeWriteChannel();
    }
    // QProcess only hands its buffer to the pipe when waited on; do it now, not one by one below.
    for (QProcess& writer : writers)
        QVERIFY(writer.bytesToWrite() == 0 || writer.waitForBytesWritten(10000));
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
    TestRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registry.moc"
