#include "platform/desktop/shell.h"

#include "platform/base/datafiles.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace velmora {
namespace {

ShellHandler& handler() {
    static ShellHandler installed;
    return installed;
}

bool isWebAddress(const QString& file) {
    const QUrl url(file, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

ShellTarget targetFor(const QFileInfo& file) {
    if (!file.isFile())
        return {};
    const ShellAction action =
        file.isExecutable() ? ShellAction::StartProgram : ShellAction::OpenDocument;
    return {action, file.absoluteFilePath()};
}

bool sameFolder(const QString& one, const QString& other) {
    const QString a = QFileInfo(one).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(other).canonicalFilePath();
}

} // namespace

ShellTarget resolveShellTarget(const QString& file) {
    if (file.isEmpty())
        return {};
    if (isWebAddress(file))
        return {ShellAction::OpenWebAddress, file};
    if (QDir::isAbsolutePath(file))
        return targetFor(QFileInfo(file));

    const QString current = QDir::currentPath();
    const QString inCurrentFolder = QDir(current).filePath(file);
    const bool currentIsProgramFolder = sameFolder(current, QCoreApplication::applicationDirPath());
    for (const QString& candidate : dataFileCandidates(file, DataPlace::CurrentFolder)) {
        const QFileInfo info(candidate);
        if (!info.isFile())
            continue;
        if (info.isExecutable() && candidate == inCurrentFolder && !currentIsProgramFolder)
            continue;
        return targetFor(info);
    }
    return {};
}

bool shellExecute(const ShellRequest& request) {
    const ShellTarget target = resolveShellTarget(request.file);
    if (handler()) {
        handler()(request, target);
        return target.action != ShellAction::Nothing;
    }
    switch (target.action) {
    case ShellAction::OpenWebAddress:
        return QDesktopServices::openUrl(QUrl(target.location));
    case ShellAction::StartProgram: {
        // Started without arguments, in the current folder, and not waited for.
        QProcess process;
        process.setProgram(target.location);
        if (!request.environment.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const QString& entry : request.environment)
                environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
            process.setProcessEnvironment(environment);
        }
        return process.startDetached();
    }
    case ShellAction::OpenDocument:
        return QDesktopServices::openUrl(QUrl::fromLocalFile(target.location));
    case ShellAction::Nothing:
        break;
    }
    return false;
}

void setShellHandler(ShellHandler replacement) {
    handler() = std::move(replacement);
}

} // namespace velmora
