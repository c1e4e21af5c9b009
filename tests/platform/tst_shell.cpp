// The shell layer: what a launch comes to (web address, program, document, nothing) for files
// in the current folder, the data folder and given by path, the executable in the current
// folder that is passed over, a replaced launch that opens nothing, and a real detached start of
// a program that goes on after the call has returned.
#include "platform/desktop/shell.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

using velmora::ShellAction;
using velmora::test::writeTestFile;

Q_DECLARE_METATYPE(ShellAction)

namespace {} // namespace

class TstShell : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void resolve_data();
    void resolve();
    void handlerSeesEveryLaunchAndStartsNothing();
    void startsAProgramDetached();

private:
    QTemporaryDir m_root;
    QString m_current; // the current folder of each row
    QString m_data;    // the installed data folder of each row
    QString m_previousFolder;
};

void TstShell::init() {
    QVERIFY(m_root.isValid());
    m_current = m_root.filePath(QStringLiteral("current"));
    m_data = m_root.filePath(QStringLiteral("data"));
    QDir(m_current).removeRecursively();
    QDir(m_data).removeRecursively();
    QVERIFY(QDir().mkpath(m_current) && QDir().mkpath(m_data));
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_current));
    qputenv("VELMORA_DATA_DIR", m_data.toLocal8Bit());
}

void TstShell::cleanup() {
    QDir::setCurrent(m_previousFolder);
    velmora::setShellHandler({});
}

// Files are placed as "current/<name>" or "data/<name>", "+x" marking an executable one, so
// each row shows where a name is found and what it comes to. "<current>" and "<data>" in the
// expected location stand for the row's folders.
void TstShell::resolve_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("file");
    QTest::addColumn<ShellAction>("action");
    QTest::addColumn<QString>("location");

    const QString page = QStringLiteral("http://velmora.example.org/index/velmora/0-23");
    QTest::newRow("http address") << QStringList() << page << ShellAction::OpenWebAddress << page;
    QTest::newRow("https address, scheme in capitals")
        << QStringList() << "HTTPS://example.org/a?b=c" << ShellAction::OpenWebAddress
        << "HTTPS://example.org/a?b=c";
    QTest::newRow("other scheme is a file name")
        << QStringList() << "ftp://example.org/x" << ShellAction::Nothing << "";
    QTest::newRow("empty") << QStringList() << "" << ShellAction::Nothing << "";

    QTest::newRow("document in the current folder")
        << QStringList{"current/License.txt", "data/License.txt"} << "License.txt"
        << ShellAction::OpenDocument << "<current>/License.txt";
    QTest::newRow("document in the data folder only")
        << QStringList{"data/License.txt"} << "License.txt" << ShellAction::OpenDocument
        << "<data>/License.txt";
    QTest::newRow("document below a folder")
        << QStringList{"data/pictures/update logo.png"} << "pictures/update logo.png"
        << ShellAction::OpenDocument << "<data>/pictures/update logo.png";
    QTest::newRow("missing everywhere")
        << QStringList{"data/other.txt"} << "License.txt" << ShellAction::Nothing << "";
    QTest::newRow("a folder is not a file")
        << QStringList{"current/License.txt/inner"} << "License.txt" << ShellAction::Nothing << "";

    QTest::newRow("program in the data folder is started")
        << QStringList{"data/velmora-help+x"} << "velmora-help" << ShellAction::StartProgram
        << "<data>/velmora-help";
    QTest::newRow("program in the current folder only is passed over")
        << QStringList{"current/velmora-help+x"} << "velmora-help" << ShellAction::Nothing << "";
    QTest::newRow("program in the current folder: the installed one starts")
        << QStringList{"current/velmora-help+x", "data/velmora-help+x"} << "velmora-help"
        << ShellAction::StartProgram << "<data>/velmora-help";
    QTest::newRow("non-executable file in the current folder opens as a document")
        << QStringList{"current/velmora-help", "data/velmora-help+x"} << "velmora-help"
        << ShellAction::OpenDocument << "<current>/velmora-help";

    QTest::newRow("absolute path to a program")
        << QStringList{"current/setup.AppImage+x"} << "<current>/setup.AppImage"
        << ShellAction::StartProgram << "<current>/setup.AppImage";
    QTest::newRow("absolute path to a document")
        << QStringList{"current/setup.deb"} << "<current>/setup.deb" << ShellAction::OpenDocument
        << "<current>/setup.deb";
    QTest::newRow("absolute path to nothing")
        << QStringList() << "<current>/setup.deb" << ShellAction::Nothing << "";
}

void TstShell::resolve() {
    QFETCH(QStringList, files);
    QFETCH(QString, file);
    QFETCH(ShellAction, action);
    QFETCH(QString, location);

    const auto place = [this](QString text) {
        return text.replace(QLatin1String("<current>"), m_current)
            .replace(QLatin1String("<data>"), m_data);
    };
    for (QString name : files) {
        const bool executable = name.endsWith(QLatin1String("+x"));
        name.remove(QLatin1String("+x"));
        const QString folder = name.startsWith(QLatin1String("current/")) ? m_current : m_data;
        writeTestFile(folder + name.mid(name.indexOf(QLatin1Char('/'))), "#!/bin/sh\n", executable);
    }

    const velmora::ShellTarget target = velmora::resolveShellTarget(place(file));
    QCOMPARE(target.action, action);
    QCOMPARE(target.location, place(location));
}

void TstShell::handlerSeesEveryLaunchAndStartsNothing() {
    const QString program = m_data + QStringLiteral("/velmora-help");
    writeTestFile(program, "#!/bin/sh\n", true);
    // A real start opens the program's file before the launch returns: the system reads it to
    // run it. The watch sees every opening of it from here on.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    const auto closeWatch = qScopeGuard([watch] { close(watch); });
    QVERIFY(inotify_add_watch(watch, QFile::encodeName(program).constData(), IN_OPEN) >= 0);

    QList<std::pair<velmora::ShellRequest, velmora::ShellTarget>> seen;
    velmora::setShellHandler(
        [&](const velmora::ShellRequest& request, const velmora::ShellTarget& target) {
            seen.append({request, target});
        });
    QVERIFY(velmora::shellExecute({QStringLiteral("velmora-help")}));

    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].first.file, QStringLiteral("velmora-help"));
    QCOMPARE(seen[0].second.action, ShellAction::StartProgram);
    char events[4096];
    QCOMPARE(read(watch, events, sizeof events), ssize_t(-1)); // nothing opened the program
    QCOMPARE(errno, EAGAIN);
}

// Without a handler an executable really starts, and the call does not wait for it: the program
// waits for the test's word, which comes only after the call has returned. It gets the entries
// the request adds to the program's own environment.
void TstShell::startsAProgramDetached() {
    const QString started = m_root.filePath(QStringLiteral("started"));
    const QString release = m_root.filePath(QStringLiteral("release"));
    const QString finished = m_root.filePath(QStringLiteral("finished"));
    const QByteArray quoted = "'" + started.toLocal8Bit() + "'";
    writeTestFile(m_data + QStringLiteral("/velmora-help"),
                  "#!/bin/sh\nexec >/dev/null 2>&1\n"
                  "printf '%s %s' \"$VELMORA_HELP_SCREEN\" \"$VELMORA_TEST_ISOLATED\" >" +
                      quoted + ".part\nmv " + quoted + ".part " + quoted + "\nwhile [ ! -e '" +
                      release.toLocal8Bit() + "' ]; do sleep 0.05; done\ntouch '" +
                      finished.toLocal8Bit() + "'\n",
                  true);

    QVERIFY(velmora::shellExecute(
        {QStringLiteral("velmora-help"), {QStringLiteral("VELMORA_HELP_SCREEN=HDMI-1 =2")}}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 20000);
    QVERIFY(!QFile::exists(finished));
    QFile written(started);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("HDMI-1 =2 1"));
    QFile word(release);
    QVERIFY(word.open(QIODevice::WriteOnly));
    word.close();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(finished), 20000);
}

QTEST_GUILESS_MAIN(TstShell)
#include "tst_shell.moc"
