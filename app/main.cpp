#include "app/entry.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    velmora::initApplication();
    velmora::createWindows();
    velmora::Form1->show();
    const int result = QApplication::exec();
    velmora::destroyWindows();
    return result;
}
