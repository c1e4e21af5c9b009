#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmora::help {

class HelpWindow;

// One help window per session: the first help program listens on a local socket, and a help
// program started while it runs hands it the page asked for and ends. The socket's name holds
// the user and the settings file, so the help of another user or another settings file (a test's)
// is another session.
QString instanceName();

// Hands the page to the help program already running; true when it took it (this program then
// ends without a window of its own).
[[nodiscard]] bool handToRunningHelp(const QString& pagePath);

// Listens for later help programs: each one's page is opened in the window, which is shown and
// raised.
class HelpInstance : public QObject {
    Q_OBJECT
public:
    explicit HelpInstance(HelpWindow* window);
    // False when the socket could not be made; the window then simply works alone.
    bool listen();

private:
    HelpWindow* m_window;
    QLocalServer* m_server;
};

} // namespace velmora::help
