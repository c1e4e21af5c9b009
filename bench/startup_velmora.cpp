// Start-up benchmark child: the program's own start, as app/main.cpp does it, with moments
// noted for the parent.
#include "startupchild.h"

#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/ui/uifont.h"
#include "tests/support/windows.h"
#include "update/updatedialog.h"

int main(int argc, char* argv[]) {
    startupbench::stamp("main");
    velmora::FontConfigurationLoader fonts;
    startupbench::ChildApplication application(argc, argv);
    startupbench::stamp("application");
    velmora::initApplication();
    fonts.wait();
    velmora::createMainWindow();
    startupbench::stamp("windows");
    // Ready once the dialogs, which follow the first picture, exist.
    application.watch(velmora::mainWindow(),
                      [] { return velmora::test::updateDialog() != nullptr; });
    velmora::showMainWindow();
    startupbench::stamp("shown");
    const int result = QApplication::exec();
    velmora::destroyWindows();
    return result;
}
