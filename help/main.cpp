#include "help/helpinstance.h"
#include "help/helpstart.h"
#include "help/helpwindow.h"
#include "platform/base/version.h"
#include "platform/desktop/windowsystem.h"
#include "state/toolkittranslation.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[]) {
    velmora::preferPlaceableWindows();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora-help"));
    QApplication::setApplicationVersion(QString::fromUtf16(velmora::version::Text16));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("velmora"), QIcon(QStringLiteral(":/velmora.png"))));

    const velmora::help::StartPage start = velmora::help::chooseStartPage(QLocale::system().name());
    // A help window is open already: it shows the page asked for, and this program ends.
    if (velmora::help::handToRunningHelp(start.path))
        return 0;
    // The toolkit's own texts (the context menus) in the pages' language.
    velmora::useToolkitTranslation(velmora::help::languageNameOf(start.language));
    velmora::help::HelpWindow window(start.language);
    window.openPage(start.path);
    window.placeOn(velmora::help::helpScreen());
    window.show();
    velmora::help::HelpInstance instance(&window);
    instance.listen();
    velmora::help::showStoreNotices(start.keptCopies, start.language);
    return QApplication::exec();
}
