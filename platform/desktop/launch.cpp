#include "platform/desktop/launch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <mutex>
#include <thread>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora {
namespace {

std::mutex g_handlerMutex;
LaunchHandler g_handler;       // set by tests
BeforeStartHook g_beforeStart; // set by tests

// How long the opener has to refuse a file. Openers that hand the file to a running desktop
// service end at once; a plain xdg-open runs the package installer itself and ends with it.
constexpr auto OpenerVerdictTime = std::chrono::seconds(5);

bool openWithDesktop(const QString& path) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    QByteArray program = QFile::encodeName(opener);
    QByteArray file = QFile::encodeName(path);
    char* arguments[] = {program.data(), file.data(), nullptr};

    // Its own session, so the package installer outlives this program.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failure =
        posix_spawn(&pid, program.constData(), nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (failure != 0)
        return false;

    const auto deadline = std::chrono::steady_clock::now() + OpenerVerdictTime;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Runs the program that fd holds, in its own session with folder as its working folder, and not
// waited for; false when the system refuses to run it. The child forks once more and ends, so
// the program is nobody's child here and leaves no zombie; between fork and exec only
// async-signal-safe calls. A script needs its descriptor open after the exec (its interpreter
// reads /dev/fd/N), so the grandchild clears close-on-exec on it.
bool executeFromDescriptor(int fd, QByteArray path, const QByteArray& folder) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    char* arguments[] = {path.data(), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild != 0)
            _exit(grandchild > 0 ? 0 : 1);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (chdir(folder.constData()) == 0 && fcntl(fd, F_SETFD, 0) == 0)
            fexecve(fd, arguments, environ);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // Nothing arrives when the exec closed the pipe; an errno when it failed.
    QFile pipe;
    if (!pipe.open(report[0], QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        close(report[0]);
        return false;
    }
    int error = 0;
    const qint64 got = pipe.read(reinterpret_cast<char*>(&error), sizeof error);
    return got == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Copies what `verified` holds into a fresh folder of mode 0700 beside `folder`, under `name`;
// the copy's path, or empty when it could not be made.
QString privateCopy(QFile& verified, const QString& folder, const QString& name) {
    QByteArray pattern = QFile::encodeName(
        folder + QLatin1Char('/') + QLatin1String(PrivateCopyPrefix) + QStringLiteral("XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return {};
    const QString copy = QFile::decodeName(pattern) + QLatin1Char('/') + name;
    QFile out;
    const int fd = open(QFile::encodeName(copy).constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || !out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            close(fd);
        rmdir(pattern.constData());
        return {};
    }
    bool whole = verified.seek(0);
    while (whole && !verified.atEnd()) {
        const QByteArray piece = verified.read(64 * 1024);
        whole = !piece.isEmpty() && out.write(piece) == piece.size();
    }
    whole = out.flush() && whole;
    out.close();
    if (!whole) {
        QFile::remove(copy);
        rmdir(pattern.constData());
        return {};
    }
    return copy;
}

} // namespace

std::optional<LaunchMethod> launchMethodFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const auto is = [&suffix](const char* kind) {
        return suffix.compare(QLatin1String(kind), Qt::CaseInsensitive) == 0;
    };
    if (is("AppImage") || is("run"))
        return LaunchMethod::Execute;
    if (is("deb"))
        return LaunchMethod::OpenWithPackageInstaller;
    return std::nullopt;
}

bool startInstaller(QFile& verified, const QString& path) {
    const std::optional<LaunchMethod> method = launchMethodFor(path);
    const int fd = verified.handle();
    if (!method || fd < 0)
        return false;
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();
    // Through the handle: the mode of what was verified, not of what the path names by now.
    if (*method == LaunchMethod::Execute && fchmod(fd, S_IRWXU) != 0)
        return false;
    LaunchHandler handler;
    {
        const std::lock_guard lock(g_handlerMutex);
        if (g_beforeStart)
            g_beforeStart(absolute);
        handler = g_handler;
    }
    if (handler)
        return handler(absolute, *method);
    if (*method == LaunchMethod::Execute)
        return executeFromDescriptor(fd, QFile::encodeName(absolute),
                                     QFile::encodeName(info.absolutePath()));
    // The package installer opens a path, later and in another process: it gets a copy that
    // nothing of this program's folder can be renamed over.
    const QString copy = privateCopy(verified, info.absolutePath(), info.fileName());
    if (copy.isEmpty())
        return false;
    if (openWithDesktop(copy))
        return true;
    QFile::remove(copy);
    QDir().rmdir(QFileInfo(copy).absolutePath());
    return false;
}

void setLaunchHandler(LaunchHandler handler) {
    const std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

void setBeforeStartHook(BeforeStartHook hook) {
    const std::lock_guard lock(g_handlerMutex);
    g_beforeStart = std::move(hook);
}

} // namespace velmora
