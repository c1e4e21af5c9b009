// The keys of a window's menu items against its fields: a field keeps the keys it edits with
// unless the window gives its menu items the first say.
#include "platform/ui/keyboard.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

class TstKeyboard : public QObject {
    Q_OBJECT

private slots:
    void menuItemsBeforeFields_data();
    void menuItemsBeforeFields();
};

void TstKeyboard::menuItemsBeforeFields_data() {
    QTest::addColumn<bool>("precedence");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("runs");

    QTest::newRow("the field keeps its key by default") << false << true << 0;
    QTest::newRow("given precedence, the item in a submenu runs") << true << true << 1;
    QTest::newRow("a disabled item leaves the key to the field") << true << false << 0;
}

// Ctrl+A selects a field's text on every desktop, as Ctrl+E moves to its end on Linux ones: a
// field asked keeps it, so an item with that key runs only when the window comes first.
void TstKeyboard::menuItemsBeforeFields() {
    QFETCH(bool, precedence);
    QFETCH(bool, enabled);
    QFETCH(int, runs);

    QMainWindow window;
    auto* field = new QLineEdit(QStringLiteral("x = 1"), &window);
    window.setCentralWidget(field);
    QMenu* submenu =
        window.menuBar()->addMenu(QStringLiteral("View"))->addMenu(QStringLiteral("More"));
    QAction* item = submenu->addAction(QStringLiteral("Item"));
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    item->setEnabled(enabled);
    if (precedence) {
        velmora::giveMenuShortcutsPrecedence(&window);
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    field->deselect();

    QSignalSpy triggered(item, &QAction::triggered);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(triggered.size(), runs);
    QCOMPARE(field->hasSelectedText(), runs == 0);
    // Typing is the field's whatever the window's items.
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_2);
    QCOMPARE(field->text(), QStringLiteral("x = 12"));
}

QTEST_MAIN(TstKeyboard)
#include "tst_keyboard.moc"
