#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

// One launch as the program asks for it: the file (a web address, a path, or a bare file name),
// opened or started as the desktop does (there is no verb or show mode to choose on Linux). A
// started program also gets the environment entries given ("NAME=value"), beside the program's
// own environment.
struct ShellRequest {
    QString file;
    QStringList environment{};
};

// What a request comes to.
enum class ShellAction {
    OpenWebAddress, // the user's default browser
    StartProgram,   // an executable file, started detached
    OpenDocument,   // any other file, in its default application
    Nothing,        // no such file: nothing happens, and nothing is reported
};

struct ShellTarget {
    ShellAction action = ShellAction::Nothing;
    QString location; // the web address, or the file's absolute path
};

// Decides what a request's file comes to. An http or https address is a web address. An
// absolute path is taken as it is. A relative name is looked for in the current folder, the
// program's folder and the installed data folder, in that order (see datafiles.h) — except that
// an executable in the current folder is passed over: a stray file there must not run with the
// user's rights in place of ours. An executable file is started, any other file opened.
ShellTarget resolveShellTarget(const QString& file);

// Starts or opens the request's file the way the desktop does, and tells whether it did: the
// program started, or the desktop took the address or the file; false when there is nothing to
// start. With a replaced launch, whether there was something to start. Call on the
// user-interface thread.
bool shellExecute(const ShellRequest& request);

// Replaces the launch, so tests can see each request and what it came to without starting
// anything. An empty handler restores the real launch.
using ShellHandler = std::function<void(const ShellRequest& request, const ShellTarget& target)>;
void setShellHandler(ShellHandler handler);

} // namespace velmora
