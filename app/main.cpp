#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/desktop/windowsystem.h"
#include "platform/ui/uifont.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    velmora::preferPlaceableWindows();
    velmora::FontConfigurationLoader fonts;
    QApplication application(argc, argv);
    velmora::initApplication();
    fonts.wait();
    velmora::createMainWindow();
    velmora::showMainWindow();
    const int result = QApplication::exec();
    velmora::endApplication();
    return result;
}
