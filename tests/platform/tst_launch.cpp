// Starting a verified installer from the handle it was checked through: by its extension it is
// executed from that handle (after its mode became 0700), handed to the desktop's opener as a
// copy in a private folder, or refused; what starts is what the handle holds, whatever was renamed
// over the path; and whether it started is told truly: a program the system will not run, an
// opener that refuses the file or is missing, and a folder mounted noexec all count as not
// started.
#include "platform/desktop/launch.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using velmora::LaunchMethod;
using velmora::test::writeTestFile;

Q_DECLARE_METATYPE(std::optional<LaunchMethod>)

namespace {

// A shell script that leaves a mark when it runs.
QByteArray markingScript(const QString& mark, int exitCode = 0) {
    return "#!/bin/sh\necho \"$@\" > '" + mark.toLocal8Bit() + "'\nexit " +
           QByteArray::number(exitCode) + "\n";
}

// Starts the file at path through a handle, as the installer download does after its check.
bool startThroughHandle(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return velmora::startInstaller(file, path);
}

} // namespace

class TstLaunch : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void methodByExtension_data();
    void methodByExtension();
    void realStarts_data();
    void realStarts();
    void whatRunsIsWhatWasOpened_data();
    void whatRunsIsWhatWasOpened();
    void noexecFolder();

private:
    QTemporaryDir m_dir;
    QByteArray m_path; // the PATH before the row
};

void TstLaunch::init() {
    QVERIFY(m_dir.isValid());
    m_path = qgetenv("PATH");
}

void TstLaunch::cleanup() {
    qputenv("PATH", m_path);
    velmora::setLaunchHandler({});
    velmora::setBeforeStartHook({});
}

void TstLaunch::methodByExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<LaunchMethod>>("method");
    const std::optional<LaunchMethod> none;
    QTest::newRow("AppImage runs") << "setup.AppImage" << std::optional(LaunchMethod::Execute);
    QTest::newRow("appimage in any case runs")
        << "setup.appimage" << std::optional(LaunchMethod::Execute);
    QTest::newRow("run script runs") << "setup.run" << std::optional(LaunchMethod::Execute);
    QTest::newRow("Debian package opens")
        << "setup.deb" << std::optional(LaunchMethod::OpenWithPackageInstaller);
    QTest::newRow("desktop entry is refused") << "setup.desktop" << none;
    QTest::newRow("shell script is refused") << "setup.sh" << none;
    QTest::newRow("Java archive is refused") << "setup.jar" << none;
    QTest::newRow("Windows installer is refused") << "setup.exe" << none;
    QTest::newRow("no extension is refused") << "setup" << none;
}

void TstLaunch::methodByExtension() {
    QFETCH(QString, name);
    QFETCH(std::optional<LaunchMethod>, method);
    const QString path = m_dir.filePath(name);
    writeTestFile(path, "installer", false);
    QList<std::pair<QString, LaunchMethod>> started;
    velmora::setLaunchHandler([&started](const QString& file, LaunchMethod how) {
        started.append({file, how});
        return true;
    });

    QCOMPARE(velmora::launchMethodFor(path), method);
    QCOMPARE(startThroughHandle(path), method.has_value());
    QCOMPARE(started.size(), method ? 1 : 0);
    if (method) {
        QCOMPARE(started[0].first, path);
        QCOMPARE(started[0].second, *method);
    }
    // A program is made 0700, anything else keeps its mode.
    const QFileDevice::Permissions owner =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions all = owner | QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                         QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                         QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions mode = QFile(path).permissions() & all;
    if (method == LaunchMethod::Execute)
        QCOMPARE(mode, owner);
    else
        QVERIFY(!mode.testFlag(QFileDevice::ExeOwner));
}

void TstLaunch::realStarts_data() {
    QTest::addColumn<QString>("installer");
    QTest::addColumn<QByteArray>("contents"); // <mark> stands for the mark's path
    QTest::addColumn<QByteArray>("opener");   // the xdg-open on PATH; empty: none at all
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("mark"); // what the mark says afterwards

    const QByteArray script = "#!/bin/sh\necho started > '<mark>'\n";
    QTest::newRow("an AppImage that is a program runs")
        << "setup.AppImage" << script << QByteArray() << true << "started";
    QTest::newRow("a run file that is no program does not start")
        << "setup.run"
        << QByteArray("\x7f"
                      "ELF but nothing more")
        << QByteArray() << false << "";
    QTest::newRow("a package the opener accepts")
        << "setup.deb" << QByteArray("!<arch>\n") << QByteArray("accepts") << true << "<copy>";
    QTest::newRow("a package the opener refuses")
        << "setup.deb" << QByteArray("!<arch>\n") << QByteArray("refuses") << false << "<copy>";
    QTest::newRow("a package without an opener")
        << "setup.deb" << QByteArray("!<arch>\n") << QByteArray() << false << "";
}

void TstLaunch::realStarts() {
    QFETCH(QString, installer);
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, opener);
    QFETCH(bool, started);
    QFETCH(QString, mark);
    const QString markFile = m_dir.filePath(QStringLiteral("mark"));
    QFile::remove(markFile);
    const QString path = m_dir.filePath(installer);
    writeTestFile(path, contents.replace("<mark>", markFile.toLocal8Bit()), false);

    // Only the row's opener can be found: PATH holds its folder and the shell's.
    const QString bin = m_dir.filePath(QStringLiteral("bin"));
    QDir(bin).removeRecursively();
    QVERIFY(QDir().mkpath(bin));
    if (!opener.isEmpty())
        writeTestFile(bin + QStringLiteral("/xdg-open"),
                      markingScript(markFile, opener == "accepts" ? 0 : 3), true);
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");

    QCOMPARE(startThroughHandle(path), started);
    // An opener has left its mark when the start is told; a program runs on by itself.
    const auto marked = [&markFile] {
        QFile file(markFile);
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().trimmed())
                                              : QString();
    };
    if (mark != QLatin1String("<copy>")) {
        QTRY_COMPARE_WITH_TIMEOUT(marked(), mark, 20000);
        return;
    }
    // The opener got a copy of the package in a fresh folder of this program's, 0700; one it
    // refused is gone again.
    const QFileInfo copy(marked());
    QCOMPARE(copy.fileName(), QStringLiteral("setup.deb"));
    QCOMPARE(copy.absolutePath().section(QLatin1Char('/'), 0, -2), m_dir.path());
    QVERIFY(copy.absolutePath().section(QLatin1Char('/'), -1).startsWith(QLatin1String("start-")));
    QCOMPARE(copy.exists(), started);
    if (started) {
        QCOMPARE(QFileInfo(copy.absolutePath()).permissions() & QFileDevice::Permissions(0x7077),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile bytes(copy.filePath());
        QVERIFY(bytes.open(QIODevice::ReadOnly));
        QCOMPARE(bytes.readAll(), contents);
    }
    QDir(copy.absolutePath()).removeRecursively();
}

// Another process of the user renames its own file over the checked installer right before the
// start: the bytes that were checked run, the swapped ones do not.
void TstLaunch::whatRunsIsWhatWasOpened_data() {
    QTest::addColumn<QString>("installer");
    QTest::newRow("a run file") << "setup.run";
    QTest::newRow("an AppImage") << "setup.AppImage";
    QTest::newRow("a package") << "setup.deb";
}

void TstLaunch::whatRunsIsWhatWasOpened() {
    QFETCH(QString, installer);
    const QString checkedMark = m_dir.filePath(QStringLiteral("checked ran"));
    const QString swappedMark = m_dir.filePath(QStringLiteral("swapped ran"));
    QFile::remove(checkedMark);
    QFile::remove(swappedMark);
    const QString path = m_dir.filePath(installer);
    const QString swapped = m_dir.filePath(QStringLiteral("swapped"));
    const auto script = [](const QString& mark) {
        return "#!/bin/sh\ntouch '" + mark.toLocal8Bit() + "'\n";
    };
    writeTestFile(path, script(checkedMark), false);
    writeTestFile(swapped, script(swappedMark), true);
    // A package is "opened" by running it, so the opener shows which bytes it was given.
    const QString bin = m_dir.filePath(QStringLiteral("bin"));
    QDir(bin).removeRecursively();
    QVERIFY(QDir().mkpath(bin));
    writeTestFile(bin + QStringLiteral("/xdg-open"), "#!/bin/sh\nexec /bin/sh \"$1\"\n", true);
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");

    // The helper process renames the other file over the installer, and has ended, before the
    // start goes on.
    velmora::setBeforeStartHook([&](const QString& at) {
        QCOMPARE(QProcess::execute(QStringLiteral("mv"), {QStringLiteral("-f"), swapped, at}), 0);
    });
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(velmora::startInstaller(file, path));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(checkedMark), 20000);
    QVERIFY(!QFile::exists(swappedMark));
    QVERIFY(!QFile::exists(swapped)); // the swap did happen
    for (const QString& copy :
         QDir(m_dir.path()).entryList({QStringLiteral("start-*")}, QDir::Dirs))
        QDir(m_dir.filePath(copy)).removeRecursively();
}

// A school's home folders are often mounted noexec: there an AppImage has not started, however
// its execute bit stands. The folder is a noexec mount in a namespace of the test's own.
void TstLaunch::noexecFolder() {
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        QSKIP("unshare (util-linux) is missing, so no noexec folder can be mounted");
    QProcess probe;
    probe.start(unshare, {QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                          QStringLiteral("--mount"), QStringLiteral("true")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("this machine lets no test mount a folder: ") +
                         QString::fromLocal8Bit(probe.readAllStandardError()).trimmed()));

    const QString folder = m_dir.filePath(QStringLiteral("noexec"));
    QVERIFY(QDir().mkpath(folder));
    // In the namespace: mount the folder noexec, put a real program there, and start it.
    QProcess child;
    child.start(unshare, {QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                          QStringLiteral("--mount"), QCoreApplication::applicationFilePath(),
                          QStringLiteral("--start-in-noexec"), folder});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed(),
             QStringLiteral("mounted noexec; started: no"));
}

namespace {

// In the child: mounts the folder noexec and tries to start a program copied there.
int startInNoexecFolder(const QString& folder) {
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("noexec"), QStringLiteral("tmpfs"), folder});
    if (!mount.waitForFinished(30000) || mount.exitCode() != 0) {
        std::printf("mount failed: %s\n", mount.readAllStandardError().constData());
        return 0;
    }
    const QString installer = QDir(folder).filePath(QStringLiteral("setup.AppImage"));
    writeTestFile(installer, "#!/bin/sh\nexit 0\n", true);
    std::printf("mounted noexec; started: %s\n", startThroughHandle(installer) ? "yes" : "no");
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--start-in-noexec")
        return startInNoexecFolder(QString::fromLocal8Bit(argv[2]));
    TstLaunch test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_launch.moc"
