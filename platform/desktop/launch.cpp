#include "platform/desktop/launch.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <chrono>
#include <mutex>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace velmora {
namespace {

std::mutex g_handlerMutex;
LaunchHandler g_handler; // set by tests

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

bool startInstaller(const QString& path) {
    const std::optional<LaunchMethod> method = launchMethodFor(path);
    if (!method)
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (*method == LaunchMethod::Execute) {
        QFile file(absolute);
        if (!file.setPermissions(file.permissions() | QFileDevice::ExeOwner))
            return false;
    }
    {
        const std::lock_guard lock(g_handlerMutex);
        if (g_handler)
            return g_handler(absolute, *method);
    }
    if (*method == LaunchMethod::Execute) {
        // Started in its own folder and not waited for; false when the system refuses to run it.
        return QProcess::startDetached(absolute, {}, QFileInfo(absolute).absolutePath());
    }
    return openWithDesktop(absolute);
}

void setLaunchHandler(LaunchHandler handler) {
    const std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

} // namespace velmora
