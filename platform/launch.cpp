#include "platform/launch.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <mutex>

namespace velmora {
namespace {

// Set by tests on the user-interface thread, read by the download worker.
std::mutex g_handlerMutex;
LaunchHandler g_handler;

} // namespace

LaunchMethod launchMethodFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("AppImage"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("run"), Qt::CaseInsensitive) == 0)
        return LaunchMethod::Execute;
    return LaunchMethod::OpenWithDefaultApplication;
}

void launchFile(const QString& path) {
    const LaunchMethod method = launchMethodFor(path);
    if (method == LaunchMethod::Execute) {
        QFile file(path);
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    LaunchHandler handler;
    {
        const std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    if (handler) {
        handler(path, method);
        return;
    }
    if (method == LaunchMethod::Execute)
        QProcess::startDetached(path, {});
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setLaunchHandler(LaunchHandler handler) {
    const std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

} // namespace velmora
