#include "help/helpstart.h"
#include "help/helpwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora-help"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("velmora"), QIcon(QStringLiteral(":/velmora.png"))));

    const velmora::help::StartPage start = velmora::help::chooseStartPage(QLocale::system().name());
    velmora::help::HelpWindow window(start.language);
    window.openPage(start.path);
    window.show();
    velmora::help::showStoreNotices(start.keptCopies, start.language);
    return QApplication::exec();
}
