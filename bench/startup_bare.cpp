// Start-up benchmark child: a bare Qt Widgets main window, made with the toolkit's defaults and
// nothing of our own, as the floor to compare the program's start with. It is a main window with
// a menu bar, a line edit and a button at the program's window size rather than a plain widget:
// a window of that kind is what the program cannot start with less than, so the ratio shows what
// our own content, fonts, styling and start-up work add to it.
#include "startupchild.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    startupbench::stamp("main");
    startupbench::ChildApplication application(argc, argv);
    startupbench::stamp("application");
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    for (const char* title : {"File", "View", "Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QLatin1String(title));
        menu->addAction(QStringLiteral("First"));
        menu->addAction(QStringLiteral("Second"));
    }
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QPushButton(QStringLiteral("Solve")));
    layout->addStretch();
    window.setCentralWidget(central);
    window.resize(264, 520);
    startupbench::stamp("windows");
    application.watch(&window);
    window.show();
    startupbench::stamp("shown");
    return QApplication::exec();
}
