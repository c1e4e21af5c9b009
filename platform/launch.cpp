#include "platform/launch.h"

#include "platform/shell.h"

#include <QFile>
#include <QFileInfo>

namespace velmora {
namespace {

LaunchHandler g_handler; // set by tests; both sides run on the user-interface thread

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
    if (g_handler) {
        g_handler(path, method);
        return;
    }
    // The shell starts an executable file and opens any other, so the execute bit set above
    // decides which happens.
    shellExecute({QString(), QFileInfo(path).absoluteFilePath(), ShowMode::Normal});
}

void setLaunchHandler(LaunchHandler handler) {
    g_handler = std::move(handler);
}

} // namespace velmora
