#include "app/entry.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    velmora::initApplication();
    velmora::createMainWindow();
    velmora::showMainWindow();
    const int result = QApplication::exec();
    velmora::destroyWindows();
    return result;
}
