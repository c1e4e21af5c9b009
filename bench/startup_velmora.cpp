// Start-up benchmark child: the program's own start, as app/main.cpp does it, with moments
// noted for the parent.
#include "startupchild.h"

#include "app/entry.h"
#include "app/mainwindow.h"

int main(int argc, char* argv[]) {
    startupbench::stamp("main");
    startupbench::ChildApplication application(argc, argv);
    startupbench::stamp("application");
    velmora::initApplication();
    velmora::createWindows();
    startupbench::stamp("windows");
    application.watch(velmora::Form1);
    velmora::Form1->show();
    startupbench::stamp("shown");
    const int result = QApplication::exec();
    velmora::destroyWindows();
    return result;
}
