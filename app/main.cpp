#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/download.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before any thread exists: the transfer library's set-up is not thread-safe.
    velmora::initDownloads();
    QApplication application(argc, argv);
    velmora::initApplication();
    velmora::createWindows();
    velmora::Form1->show();
    const int result = QApplication::exec();
    velmora::destroyWindows();
    return result;
}
