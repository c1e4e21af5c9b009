#include "app/entry.h"

#include "app/mainwindow.h"
#include "app/storenotice.h"
#include "platform/base/version.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/looks.h"
#include "state/moretexts.h"
#include "state/settingscatalogue.h"
#include "update/updatecontroller.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <QWindow>

#include <chrono>

// Resources of a static library must be registered by name before use.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velmora {
namespace {

// The program's main window, which owns every other window of the program.
TForm1* g_mainWindow = nullptr;

} // namespace

TForm1* mainWindow() {
    return g_mainWindow;
}

void initApplication() {
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QString::fromUtf16(version::Text16));
    // Lets the desktop tie the window to the installed launcher and its progress.
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    // The window's own icon, for title bars and window switchers; docks and menus take the
    // installed theme icon through the desktop file name. The sizes stop at 64 and the icon
    // themes are not asked: the window system is handed every size at the first show, and a
    // look-up in the themes parses their index files, some milliseconds at every start.
    initResources();
    QIcon icon;
    for (const char* size : {"16", "32", "48", "64"})
        icon.addFile(QStringLiteral(":/icons/velmora/%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    // In every window, the update dialog's and the message boxes' included.
    letEnterPressFocusedButtons();
    // Check boxes, radio buttons and the keyboard focus that can be seen on a dark window too.
    drawReadableMarks();
    // Error reports in the language of the interface.
    setErrorReportWording({&errorReportCaption, &failureText});
}

void createMainWindow() {
    // The first look at the store comes before the language is loaded: a damaged store found
    // now, or one that cannot be used at all, is told once FormCreate has loaded it.
    installStoreNotice();
    if (catalogue::writeFirstRunDefaults(QLocale::system().name()) ==
        catalogue::FirstStart::HeldInMemory)
        tellStoreUnusable(Registry::storePath());
    g_mainWindow = new TForm1;
    // Start-up runs while only the main window exists; a failure in it is reported and the
    // other windows are made all the same.
    guarded([] { g_mainWindow->FormCreate(); });
    showHeldStoreNotices();
}

void createDialogs() {
    if (g_mainWindow)
        g_mainWindow->makeDialogs();
}

void createWindows() {
    createMainWindow();
    createDialogs();
}

namespace {

// Makes the dialogs once the main window has been painted for the first time, so the window
// does not wait for three hidden dialogs and the update check. A window that is never exposed
// (a window manager that starts it minimised) gets them after a second all the same.
class DialogsAfterFirstPicture : public QObject {
public:
    explicit DialogsAfterFirstPicture(QWidget* window) : QObject(window) {
        if (QWindow* handle = window->windowHandle())
            handle->installEventFilter(this);
        QTimer::singleShot(std::chrono::seconds(1), this, [this] { create(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window paints while it handles its exposure; the queued call runs after that.
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { create(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void create() {
        guarded([] { createDialogs(); });
        deleteLater();
    }
};

} // namespace

void showMainWindow() {
    g_mainWindow->show();
    new DialogsAfterFirstPicture(g_mainWindow);
}

void destroyWindows() {
    // The workers end first: nothing they tell reaches a window from now on.
    if (g_mainWindow && g_mainWindow->updates())
        g_mainWindow->updates()->stopWorkers();
    removeStoreNotice();
    catalogue::forgetHeldFirstStartValues();
    delete g_mainWindow; // owns the other windows
    g_mainWindow = nullptr;
}

void endApplication() {
    destroyWindows();
}

} // namespace velmora
