// The main window as the user drives it (offscreen): window creation, the designed window,
// what showing it does, page switching by tab and menu, showing and hiding the detailed
// solution, the menu icons and Exit; the keyboard on the menu bar and on the buttons of every
// window; captions in the chosen language; readable answers and tabs in light and dark palettes.
#include "about/aboutdialog.h"
#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/ui/uifont.h"
#include "settings/settingsdialog.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "tests/support/captionlanguage.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"
#include "trig/trigpage.h"
#include "update/updatedialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using velmora::TForm1;
using velmora::test::contrast;
using velmora::test::MessageBoxRecorder;
using velmora::test::TemporaryStore;

namespace {

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

// Counts the close requests a window receives.
class CloseCounter : public QObject {
public:
    int closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            ++closes;
        return QObject::eventFilter(watched, event);
    }
};

// Whether the dialogs exist when the window is first painted, and again once the event loop
// reaches what was queued during that painting: the window queues the dialogs' making as it is
// exposed, before it paints, so that is done by then.
class FirstPictureWatch : public QObject {
public:
    explicit FirstPictureWatch(QWidget* window) { window->installEventFilter(this); }

    bool painted = false;
    bool dialogsWhenPainted = false;
    bool queuedRan = false;
    bool dialogsAfterPainting = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            dialogsWhenPainted = dialogsMade();
            QMetaObject::invokeMethod(
                this,
                [this] {
                    queuedRan = true;
                    dialogsAfterPainting = dialogsMade();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool dialogsMade() {
        return velmora::test::aboutDialog() && velmora::test::settingsDialog() &&
               velmora::test::updateDialog();
    }
};

// A size the control takes from its text.
constexpr int kAuto = std::numeric_limits<int>::min();

// The text a control shows: caption, title, field text, list items or tab captions.
QString shownText(const QWidget* control) {
    if (const auto* window = qobject_cast<const QMainWindow*>(control))
        return window->windowTitle();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    if (const auto* box = qobject_cast<const QTextEdit*>(control))
        return box->toPlainText();
    QStringList items;
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
    } else if (const auto* pages = qobject_cast<const QTabWidget*>(control)) {
        for (int i = 0; i < pages->count(); ++i)
            items << pages->tabText(i);
    }
    return items.join(QLatin1String(" | "));
}

// A menu item as the menu shows it: name, caption ("-" for a separator), and its marks.
QString describeItem(const QAction* item) {
    const QMenu* submenu = item->menu();
    QString text = (submenu ? submenu->objectName() : item->objectName()) + QLatin1Char(' ') +
                   (item->isSeparator() ? QStringLiteral("-") : item->text());
    QStringList marks;
    if (item->isCheckable())
        marks << QLatin1String(item->actionGroup() && item->actionGroup()->isExclusive() ? "radio"
                                                                                         : "check");
    if (item->isChecked())
        marks << QStringLiteral("checked");
    if (!item->icon().isNull())
        marks << QStringLiteral("icon");
    if (!marks.isEmpty())
        text += QLatin1String(" [") + marks.join(QLatin1String(", ")) + QLatin1Char(']');
    return text;
}

// A menu and, after it, each of its submenus: "N1: item, item, ...".
void describeMenu(const QString& name, const QList<QAction*>& items, QStringList& out) {
    QStringList shown;
    for (const QAction* item : items)
        shown << describeItem(item);
    out << name + QLatin1String(": ") + shown.join(QLatin1String(", "));
    for (const QAction* item : items)
        if (const QMenu* submenu = item->menu())
            describeMenu(submenu->objectName(), submenu->actions(), out);
}

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createWindowsInOrder();
    void dialogsFollowTheFirstPicture();
    void commandsShowTheirDialogs_data();
    void commandsShowTheirDialogs();
    void updateCommandMakesTheUpdateDialogFirst();
    void designedWindow();
    void designedControls_data();
    void designedControls();
    void menuTree();
    void detailedSolutionBoxScrolls();
    void trigonometryTabOrder();
    void menuIconsArePainted();
    void showingFocusesEdit1AndDisablesResults();
    void pageSwitching_data();
    void pageSwitching();
    void detailedSolutionToggle_data();
    void detailedSolutionToggle();
    void exitEndsTheEventLoopWithoutClosing();
    void languageLeavesNoCaptionEmpty_data();
    void languageLeavesNoCaptionEmpty();
    void menusHaveMnemonicsInEveryLanguage_data();
    void menusHaveMnemonicsInEveryLanguage();
    void languageResetsTheTypeButNotTheFormula();
    void menuBarFromTheKeyboard_data();
    void menuBarFromTheKeyboard();
    void f1OpensTheHelp();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void readableInLightAndDarkPalettes_data();
    void readableInLightAndDarkPalettes();
    void indicatorsStandOutFromTheWindow_data();
    void indicatorsStandOutFromTheWindow();

private:
    template <typename T> T* child(const char* name) const {
        return m_window->findChild<T*>(QLatin1String(name));
    }
    QLineEdit* edit(int n) const {
        return m_window->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QTabWidget* pages() const { return child<QTabWidget>("PageControl1"); }
    QList<int> heights() const {
        return {child<QTextEdit>("Memo1")->height(), child<QWidget>("GroupBox4")->height(),
                m_window->clientHeight()};
    }
    // Types a solve into the equation page and presses Button1. Empty: nothing is done.
    // {type, a, b, c}, type "0" quadratic, "1" biquadratic.
    void solve(const QStringList& input);
    QString pageState() const;
    QStringList resultTexts() const;

    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<TForm1> m_window;
};

void TstMainWindow::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
    m_window = std::make_unique<TForm1>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstMainWindow::cleanup() {
    m_window.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstMainWindow::solve(const QStringList& input) {
    if (input.isEmpty())
        return;
    auto* list = child<QComboBox>("ComboBox1");
    list->setFocus();
    QTest::keyClick(list, input[0] == QLatin1String("1") ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(list->currentIndex(), input[0].toInt());
    for (int i = 1; i <= 3; ++i) {
        edit(i)->clear();
        QTest::mouseClick(edit(i), Qt::LeftButton);
        QTest::keyClicks(edit(i), input[i]);
    }
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
}

QString TstMainWindow::pageState() const {
    const auto mark = [this](const char* name) {
        return QLatin1String(action(name)->isChecked() ? "checked" : "unchecked");
    };
    return QStringLiteral("page %1, N7 %2, N12 %3, N5 %4 %5, client %6")
        .arg(pages()->currentIndex())
        .arg(mark("N7"), mark("N12"), mark("N5"),
             QLatin1String(action("N5")->isEnabled() ? "enabled" : "disabled"))
        .arg(m_window->clientHeight());
}

QStringList TstMainWindow::resultTexts() const {
    QStringList texts;
    for (int n = 4; n <= 8; ++n)
        texts << edit(n)->text();
    texts << child<QTextEdit>("Memo1")->toPlainText();
    return texts;
}

void TstMainWindow::createWindowsInOrder() {
    QVERIFY(!velmora::mainWindow());
    velmora::createWindows();
    const QPointer<QWidget> form1 = velmora::mainWindow();
    const QList<QPointer<QWidget>> dialogs = {velmora::test::aboutDialog(),
                                              velmora::test::settingsDialog(),
                                              velmora::test::updateDialog()};

    QVERIFY(form1);
    QVERIFY(!form1->isVisible());
    // The dialogs belong to the main window, made after it in the order About, settings, update.
    const QObjectList children = form1->children();
    qsizetype previous = -1;
    for (const auto& dialog : dialogs) {
        QVERIFY(dialog);
        QCOMPARE(dialog->parent(), form1.data());
        const qsizetype position = children.indexOf(dialog.data());
        QVERIFY(position > previous);
        previous = position;
    }

    velmora::destroyWindows();
    QVERIFY(!velmora::mainWindow() && !velmora::test::aboutDialog() &&
            !velmora::test::settingsDialog() && !velmora::test::updateDialog());
    QVERIFY(!form1);
    for (const auto& dialog : dialogs)
        QVERIFY(!dialog);
}

void TstMainWindow::designedWindow() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Velmora 3.2"));
    QCOMPARE(m_window->width(), 264);
    QCOMPARE(m_window->clientHeight(), 498);
    QCOMPARE(m_window->centralWidget()->height(), 498);
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());

    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));

    QCOMPARE(pageState(),
             QStringLiteral("page 0, N7 checked, N12 unchecked, N5 checked enabled, client 498"));

    // The pages sit right below the button tabs, with no frame around them.
    const QWidget* page = m_window->equationPage();
    const QRect tabs = pages()->tabBar()->geometry();
    QCOMPARE(page->mapTo(pages(), QPoint(0, 0)), QPoint(0, tabs.bottom() + 1));
    QCOMPARE(page->width(), pages()->width());
}

// The designed controls of the window and its two pages: place and size in their parent (the
// window row gives the client area), design-time text and font. Labels sized to their text are
// checked only for their place and for holding the whole text.
void TstMainWindow::designedControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font"); // family and pixel size

    const auto row = [](const char* name, int x, int y, int width, int height, const char* text,
                        const char* font = "Velmora 13") {
        QTest::newRow(name) << QString::fromLatin1(name) << x << y << width << height
                            << QString::fromUtf8(text) << QString::fromLatin1(font);
    };
    // The main window; its place is left to the window system.
    row("TForm1", kAuto, kAuto, 264, 498, "Velmora 3.2");
    row("PageControl1", -2, 0, 272, 546, "Square root | Тригонометрия");

    // The equation page.
    row("Label7", 6, 8, kAuto, kAuto, "Тип уравнения");
    row("ComboBox1", 104, 4, 150, 23, "Квадратное | Биквадратное");
    row("GroupBox1", 6, 38, 250, 56, "Коэффициенты");
    row("Label1", 8, 26, kAuto, kAuto, "a", "Arial 16");
    row("Label2", 88, 26, kAuto, kAuto, "b", "Arial 16");
    row("Label3", 168, 26, kAuto, kAuto, "c", "Arial 16");
    row("Edit1", 23, 24, 52, 23, "");
    row("Edit2", 104, 24, 52, 23, "");
    row("Edit3", 182, 24, 52, 23, "");
    row("Button1", 6, 104, 248, 26, "Вычислить");
    row("GroupBox2", 6, 136, 250, 60, "Квадратный трёхчлен");
    row("Panel1", 8, 24, 233, 24, "ax² + bx + c = 0", "Velmora 16");
    row("GroupBox3", 6, 204, 250, 114, "Краткий ответ");
    row("Label4", 10, 26, kAuto, kAuto, "Дискриминант");
    row("Edit4", 112, 24, 128, 23, "");
    row("Label5", 10, 56, kAuto, kAuto, "Корни уравнения:");
    row("Edit5", 8, 80, 50, 23, "");
    row("Edit6", 68, 80, 50, 23, "");
    row("Edit7", 128, 80, 50, 23, "");
    row("Edit8", 188, 80, 50, 23, "");
    row("GroupBox4", 6, 326, 250, 136, "Подробное решение");
    row("Memo1", 8, 24, 232, 102, "");

    // The trigonometry page.
    row("GroupBox5", 6, 8, 250, 120, "Тригонометрические функции");
    row("RadioButton1", 8, 24, 112, 17, "sin ɑ");
    row("RadioButton2", 8, 48, 112, 17, "cos ɑ");
    row("RadioButton3", 8, 72, 112, 17, "tg ɑ");
    row("RadioButton4", 8, 96, 112, 17, "ctg ɑ");
    row("RadioButton5", 128, 24, 112, 17, "arcsin ɑ");
    row("RadioButton6", 128, 48, 112, 17, "arccos ɑ");
    row("RadioButton7", 128, 72, 112, 17, "arctg ɑ");
    row("RadioButton8", 128, 96, 112, 17, "arcctg ɑ");
    row("Label6", 8, 144, kAuto, kAuto, "Значение угла °");
    row("Edit9", 134, 141, 120, 23, "");
    row("Label8", 8, 176, kAuto, kAuto, "Значение функции");
    row("Edit10", 134, 173, 120, 23, "");
    row("Button2", 6, 204, 248, 26, "Вычислить");
}

void TstMainWindow::designedControls() {
    QFETCH(QString, name);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, text);
    QFETCH(QString, font);

    const bool isWindow = name == QLatin1String("TForm1");
    QWidget* control = isWindow ? m_window.get() : m_window->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    const QRect place =
        isWindow ? QRect(0, 0, m_window->width(), m_window->clientHeight()) : control->geometry();
    if (x != kAuto)
        QCOMPARE(place.x(), x);
    if (y != kAuto)
        QCOMPARE(place.y(), y);
    if (width != kAuto)
        QCOMPARE(place.width(), width);
    else
        QVERIFY2(place.width() >= control->sizeHint().width(), "the text is cut");
    if (height != kAuto)
        QCOMPARE(place.height(), height);
    else
        QVERIFY2(place.height() >= control->sizeHint().height(), "the text is cut");
    QCOMPARE(shownText(control), text);
    // "Velmora" and "Arial" in the table are the window and letter faces, which name the first
    // installed stand-in.
    QString expectedFont = font;
    expectedFont.replace(QLatin1String("Velmora"), velmora::windowFont().family());
    expectedFont.replace(QLatin1String("Arial"), velmora::letterFont().family());
    QCOMPARE(QStringLiteral("%1 %2").arg(control->font().family()).arg(control->font().pixelSize()),
             expectedFont);
}

// The menu as designed: items in order with their parents, separators named as the other items.
void TstMainWindow::menuTree() {
    // Icons are put on when a menu first opens.
    for (const char* name : {"N1", "N8"}) {
        QMenu* menu = child<QMenu>(name);
        menu->popup(m_window->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->hide();
    }
    QStringList tree;
    describeMenu(QStringLiteral("MainMenu1"), child<QMenuBar>("MainMenu1")->actions(), tree);
    const QStringList expected = {
        "MainMenu1: N1 Файл, N4 Вид, N8 Справка",
        "N1: N2 Настройки [icon], N14 -, N3 Выход [icon]",
        "N4: N5 Подробное решение [check, checked], TextbookView Решение как в учебнике, "
        "TypeEquation Ввести уравнение…, N6 Окно",
        "N6: N7 Square root [radio, checked], N12 Тригонометрия [radio]",
        "N8: N11 Содержание [icon], N16 -, N10 Домашняя страница [icon], "
        "N9 Проверить обновления [icon], N15 -, N13 О программе [icon]",
    };
    QCOMPARE(tree, expected);
}

// One solution line is one text line: no wrapping, a horizontal scroll bar for long lines and
// no vertical one (the box is fitted to the lines instead).
void TstMainWindow::detailedSolutionBoxScrolls() {
    const auto* memo = child<QTextEdit>("Memo1");
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

// Tab walks the group's radio buttons by number, then the angle and value fields and Calculate.
void TstMainWindow::trigonometryTabOrder() {
    const QWidget* page = m_window->trigPage();
    QWidget* const first = child<QWidget>("RadioButton1");
    QStringList order;
    QWidget* widget = first;
    do {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    const QStringList expected = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
                                  "RadioButton5", "RadioButton6", "RadioButton7", "RadioButton8",
                                  "Edit9",        "Edit10",       "Button2"};
    QCOMPARE(order, expected);
}

void TstMainWindow::menuIconsArePainted() {
    // The items carry their pictures when their menu opens.
    const struct {
        const char* menu;
        QStringList items;
    } menus[] = {{"N1", {"N2", "N3"}}, {"N8", {"N11", "N10", "N9", "N13"}}};
    for (const auto& [name, items] : menus) {
        QMenu* menu = child<QMenu>(name);
        menu->popup(m_window->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        for (const QString& item : items) {
            const QPixmap picture = action(qPrintable(item))->icon().pixmap(QSize(16, 16));
            QVERIFY2(!picture.isNull(), qPrintable(item));
        }
        menu->hide();
    }
}

void TstMainWindow::showingFocusesEdit1AndDisablesResults() {
    const QStringList controls = {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Memo1"};
    const auto enabledControls = [&] {
        QStringList enabled;
        for (const QString& name : controls)
            if (m_window->findChild<QWidget*>(name)->isEnabled())
                enabled << name;
        return enabled;
    };

    // First showing (done by the fixture).
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QCOMPARE(enabledControls(), QStringList());

    solve({"0", "1", "-3", "2"});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(enabledControls(), QStringList({"Edit4", "Edit5", "Edit6", "Memo1"}));
    const QStringList texts = resultTexts();
    QCOMPARE(texts.first(), QStringLiteral("1"));
    QCOMPARE(focusName(), QStringLiteral("Button1"));

    // Hidden, with another window active meanwhile, then shown and activated again.
    m_window->hide();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(QApplication::activeWindow(), m_window.get());

    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QCOMPARE(enabledControls(), QStringList());
    const QColor buttonFace = QApplication::palette().color(QPalette::Active, QPalette::Button);
    for (const QString& name : controls) {
        const QWidget* control = m_window->findChild<QWidget*>(name);
        QCOMPARE(control->palette().color(QPalette::Disabled, QPalette::Base), buttonFace);
    }
    QCOMPARE(resultTexts(), texts);
}

void TstMainWindow::pageSwitching_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    // Runs of PageControl1Change: only a page picked by its tab runs it, never the menu.
    QTest::addColumn<int>("pageChanges");

    const QString equation =
        QStringLiteral("page 0, N7 checked, N12 unchecked, N5 checked enabled, client 498");
    const QString trigonometry =
        QStringLiteral("page 1, N7 unchecked, N12 checked, N5 checked disabled, client 498");

    QTest::newRow("trigonometry tab") << QStringList{"tab 1"} << trigonometry << 1;
    QTest::newRow("trigonometry tab, then equation tab")
        << QStringList{"tab 1", "tab 0"} << equation << 2;
    QTest::newRow("trigonometry tab, then menu first page")
        << QStringList{"tab 1", "N7"} << equation << 1;
    QTest::newRow("menu second page") << QStringList{"N12"} << trigonometry << 0;
    QTest::newRow("menu second page while on it")
        << QStringList{"tab 1", "N12"} << trigonometry << 1;
    QTest::newRow("menu second page twice") << QStringList{"N12", "N12"} << trigonometry << 0;
    QTest::newRow("menu first page while on it") << QStringList{"N7"} << equation << 0;
    QTest::newRow("back and forth by menu") << QStringList{"N12", "N7", "N12"} << trigonometry << 0;
    QTest::newRow("menu second page, then equation tab")
        << QStringList{"N12", "tab 0"} << equation << 1;
}

void TstMainWindow::pageSwitching() {
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    QFETCH(int, pageChanges);

    // PageControl1Change is bound to this signal and to nothing else.
    QSignalSpy changes(pages(), &QTabWidget::currentChanged);
    QTabBar* tabs = pages()->tabBar();
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("tab "))) {
            const int index = step.mid(4).toInt();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        } else {
            action(qPrintable(step))->trigger();
        }
    }
    QCOMPARE(pageState(), expected);
    QCOMPARE(changes.count(), pageChanges);
}

void TstMainWindow::detailedSolutionToggle_data() {
    QTest::addColumn<QStringList>("before");      // solved while the solution is shown
    QTest::addColumn<QStringList>("whileHidden"); // solved while it is hidden
    QTest::addColumn<QList<int>>("hidden");       // Memo1, GroupBox4, client after hiding
    QTest::addColumn<QList<int>>("shown");        // the same after showing it again
    QTest::addColumn<bool>("byCall"); // N5Click called with the state instead of the menu item

    const QStringList threeLines = {"0", "1", "", "1"};
    const QStringList eightLines = {"1", "1", "-5", "4"};
    const QStringList stopsAtCheck = {"0", "", "1", "1"};

    QTest::newRow("no solve yet") << QStringList() << QStringList() << QList<int>{102, 136, 354}
                                  << QList<int>{102, 136, 498} << false;
    QTest::newRow("three lines") << threeLines << QStringList() << QList<int>{72, 106, 354}
                                 << QList<int>{72, 106, 468} << false;
    QTest::newRow("eight lines") << eightLines << QStringList() << QList<int>{147, 181, 354}
                                 << QList<int>{147, 181, 543} << false;
    QTest::newRow("three lines solved while hidden")
        << QStringList() << threeLines << QList<int>{102, 136, 354} << QList<int>{72, 106, 468}
        << false;
    QTest::newRow("eight lines, then a solve stopped at a check while hidden")
        << eightLines << stopsAtCheck << QList<int>{147, 181, 354} << QList<int>{147, 181, 498}
        << false;
    QTest::newRow("eight lines, by direct calls")
        << eightLines << QStringList() << QList<int>{147, 181, 354} << QList<int>{147, 181, 543}
        << true;
    QTest::newRow("three lines solved while hidden, by direct calls")
        << QStringList() << threeLines << QList<int>{102, 136, 354} << QList<int>{72, 106, 468}
        << true;
}

void TstMainWindow::detailedSolutionToggle() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, whileHidden);
    QFETCH(QList<int>, hidden);
    QFETCH(QList<int>, shown);
    QFETCH(bool, byCall);

    QAction* n5 = action("N5");
    // The menu toggles the mark before the handler runs; a direct call passes the new state.
    const auto toggle = [&](bool show) {
        if (byCall)
            m_window->N5Click(show);
        else
            n5->trigger();
    };
    solve(before);
    toggle(false);
    QVERIFY(!n5->isChecked());
    solve(whileHidden);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(heights(), hidden);
    QCOMPARE(m_window->centralWidget()->height(), hidden[2]);

    toggle(true);
    QVERIFY(n5->isChecked());
    QCOMPARE(heights(), shown);
    QCOMPARE(m_window->centralWidget()->height(), shown[2]);
    QCOMPARE(m_window->width(), 264);
    // Every line of the last solve is in view.
    QCOMPARE(velmora::test::verticalOverflow(child<QTextEdit>("Memo1")), QString());
}

// The shown program makes its dialogs once the main window has been painted, so the window
// does not wait for them.
void TstMainWindow::dialogsFollowTheFirstPicture() {
    velmora::createMainWindow();
    const auto destroy = qScopeGuard([] { velmora::destroyWindows(); });
    QVERIFY(velmora::mainWindow() && !velmora::test::aboutDialog());
    FirstPictureWatch watch(velmora::mainWindow());
    velmora::showMainWindow();
    QVERIFY(!velmora::test::aboutDialog() && !velmora::test::settingsDialog() &&
            !velmora::test::updateDialog());
    QVERIFY(QTest::qWaitForWindowExposed(velmora::mainWindow()));
    QTRY_VERIFY(watch.queuedRan);
    // The picture does not wait for the dialogs, and they are made right after it, not by the
    // fallback a second after the showing.
    QVERIFY(!watch.dialogsWhenPainted);
    QVERIFY(watch.dialogsAfterPainting);
    QCOMPARE(velmora::test::aboutDialog()->parent(), velmora::mainWindow());
}

void TstMainWindow::commandsShowTheirDialogs_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("dialogsMade");
    QTest::newRow("settings") << "N2"
                              << "TForm3" << true;
    // A command given before the dialogs exist makes them and shows its own.
    QTest::newRow("settings before the dialogs") << "N2"
                                                 << "TForm3" << false;
    QTest::newRow("about before the dialogs") << "N13"
                                              << "TForm2" << false;
}

void TstMainWindow::commandsShowTheirDialogs() {
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    QFETCH(bool, dialogsMade);
    if (dialogsMade)
        velmora::createWindows();
    else
        velmora::createMainWindow();
    const auto destroy = qScopeGuard([] { velmora::destroyWindows(); });
    QCOMPARE(velmora::test::aboutDialog() != nullptr, dialogsMade);

    // Answered from inside the dialog's own event loop: which window is modal there.
    QString modal;
    QPointer<QDialog> shown;
    QTimer::singleShot(0, this, [&] {
        shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        modal = shown ? shown->objectName() : QStringLiteral("<none>");
        if (shown)
            shown->reject();
    });
    velmora::mainWindow()->findChild<QAction*>(command)->trigger();

    QCOMPARE(modal, dialog);
    QVERIFY(!shown->isVisible());
    QVERIFY(velmora::test::aboutDialog() && velmora::test::settingsDialog() &&
            velmora::test::updateDialog());
}

// The check may end in the update dialog, which must exist by then.
void TstMainWindow::updateCommandMakesTheUpdateDialogFirst() {
    velmora::createMainWindow();
    const auto destroy = qScopeGuard([] { velmora::destroyWindows(); });
    QVERIFY(!velmora::test::updateDialog());
    velmora::mainWindow()->findChild<QAction*>(QStringLiteral("N9"))->trigger();
    QVERIFY(velmora::test::updateDialog());
}

void TstMainWindow::exitEndsTheEventLoopWithoutClosing() {
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    CloseCounter closes;
    m_window->installEventFilter(&closes);

    // If Exit did not end the loop, the guard would end it with another code.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    guard.start(5000);
    QTimer::singleShot(0, m_window.get(), [this] { action("N3")->trigger(); });

    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(quitting.count(), 1);
    // The close handler, which stores the window position, is not part of Exit.
    QCOMPARE(closes.closes, 0);
    QVERIFY(m_window->isVisible());
}

void TstMainWindow::languageLeavesNoCaptionEmpty_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("Russian") << "Russian";
    QTest::newRow("English") << "English";
    QTest::newRow("Ukrainian") << "Ukrainian";
}

void TstMainWindow::languageLeavesNoCaptionEmpty() {
    QFETCH(QString, language);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::Global::setLanguageName(language);
    m_window->LoadLang();
    m_window->language();

    // Every caption the language sets is there, and in that language.
    QStringList empty;
    QStringList foreign;
    const auto check = [&](const QObject* owner, const QString& text, const QString& what) {
        const QString place = owner->objectName() + QLatin1Char(' ') + what;
        if (text.trimmed().isEmpty())
            empty << place;
        const QString fault = velmora::test::captionLanguageFault(text, language);
        if (!fault.isEmpty())
            foreign << QStringLiteral("%1 \"%2\": %3").arg(place, text, fault);
    };
    for (const QAction* item : m_window->findChildren<QAction*>())
        if (!item->isSeparator() && !item->objectName().isEmpty())
            check(item, item->text(), QStringLiteral("text"));
    for (const QMenu* menu : m_window->findChildren<QMenu*>())
        check(menu, menu->title(), QStringLiteral("title"));
    for (int tab = 0; tab < pages()->count(); ++tab)
        check(pages(), pages()->tabText(tab), QStringLiteral("tab %1").arg(tab));
    // The coefficient letters and the formula are the same in every language.
    const QStringList fixed = {"Label1", "Label2", "Label3", "Panel1"};
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        if (!fixed.contains(label->objectName()))
            check(label, label->text(), QStringLiteral("text"));
    for (const QGroupBox* group : m_window->findChildren<QGroupBox*>())
        check(group, group->title(), QStringLiteral("title"));
    for (const QPushButton* button : m_window->findChildren<QPushButton*>())
        check(button, button->text(), QStringLiteral("text"));
    auto* type = child<QComboBox>("ComboBox1");
    QCOMPARE(type->count(), 2);
    for (int item = 0; item < type->count(); ++item)
        check(type, type->itemText(item), QStringLiteral("item %1").arg(item));
    QCOMPARE(empty.join(QLatin1String(", ")), QString());
    QCOMPARE(foreign, QStringList());

    // Screen readers hear the new captions.
    QCOMPARE(edit(4)->accessibleName(), child<QLabel>("Label4")->text());
    QCOMPARE(edit(9)->accessibleName(), child<QLabel>("Label6")->text());
    QCOMPARE(type->accessibleName(), child<QLabel>("Label7")->text());
    // Labels that follow their text are not cut.
    for (const char* name : {"Label4", "Label5", "Label6", "Label7", "Label8"}) {
        const QLabel* label = child<QLabel>(name);
        QVERIFY2(label->width() >= label->sizeHint().width(), name);
    }
}

// Every menu and every item has a mnemonic taken from its caption, none twice in one menu, in
// every language; Alt and the File menu's letter opens it.
void TstMainWindow::menusHaveMnemonicsInEveryLanguage_data() {
    languageLeavesNoCaptionEmpty_data();
}

void TstMainWindow::menusHaveMnemonicsInEveryLanguage() {
    QFETCH(QString, language);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::Global::setLanguageName(language);
    m_window->LoadLang();
    m_window->language();

    QStringList faults;
    const auto checkMenu = [&](const QString& name, const QList<QAction*>& items) {
        QString letters;
        for (const QAction* item : items) {
            if (item->isSeparator())
                continue;
            const QString text = item->text();
            const qsizetype mark = text.indexOf(QLatin1Char('&'));
            if (mark < 0 || mark + 1 >= text.size() ||
                text.indexOf(QLatin1Char('&'), mark + 1) >= 0) {
                faults << QStringLiteral("%1: \"%2\" has no single mnemonic").arg(name, text);
                continue;
            }
            const QChar letter = text[mark + 1].toLower();
            if (letters.contains(letter))
                faults << QStringLiteral("%1: \"%2\" repeats %3").arg(name, text, letter);
            letters += letter;
            // The caption itself is the language's.
            QString caption = text;
            caption.remove(mark, 1);
            if (!caption.isEmpty() && item->iconText() != caption)
                faults << QStringLiteral("%1: \"%2\" shows \"%3\"").arg(name, caption, text);
        }
    };
    auto* bar = child<QMenuBar>("MainMenu1");
    checkMenu(QStringLiteral("MainMenu1"), bar->actions());
    for (const QMenu* menu : m_window->findChildren<QMenu*>())
        checkMenu(menu->objectName(), menu->actions());
    QCOMPARE(faults, QStringList());
    QCOMPARE(child<QMenu>("N1")->menuAction()->iconText(),
             velmora::Global::text(velmora::TextTable::MainMenu, 1));

    const QString file = child<QMenu>("N1")->title();
    const QChar letter = file[file.indexOf(QLatin1Char('&')) + 1];
    // With the letter's own text: the keyboard layout of the language types it.
    QTest::sendKeyEvent(QTest::Click, m_window.get(), QKeySequence::mnemonic(file)[0].key(),
                        QString(letter), Qt::AltModifier);
    QTRY_VERIFY2(child<QMenu>("N1")->isVisible(), qPrintable(QString(letter)));
    child<QMenu>("N1")->hide();
}

void TstMainWindow::languageResetsTheTypeButNotTheFormula() {
    // Applying the texts picks the quadratic item again without running the list's change
    // handling, so the panel still shows the biquadratic formula.
    solve({"1", "1", "-5", "4"});
    auto* panel = child<QLabel>("Panel1");
    const QString formula = panel->text();
    QVERIFY(formula.contains(QStringLiteral("x⁴")));
    m_window->language();
    QCOMPARE(child<QComboBox>("ComboBox1")->currentIndex(), 0);
    QCOMPARE(panel->text(), formula);
    QCOMPARE(m_window->clientHeight(), 543);
}

void TstMainWindow::menuBarFromTheKeyboard_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("styleOffersAlt"); // whether the desktop's style has Alt navigation
    QTest::newRow("F10") << "F10" << true;
    QTest::newRow("a lone Alt") << "Alt" << true;
    QTest::newRow("F10 with a style without Alt navigation") << "F10" << false;
    QTest::newRow("a lone Alt with a style without Alt navigation") << "Alt" << false;
}

namespace {

// A desktop style that leaves the menu bar to the mouse.
class NoAltNavigationStyle : public QProxyStyle {
public:
    NoAltNavigationStyle() : QProxyStyle(QStringLiteral("fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

// F10 or a lone Alt highlights the first menu without opening it; the arrows move along the
// bar, Down opens the highlighted menu, Escape closes it and then gives the keyboard back.
void TstMainWindow::menuBarFromTheKeyboard() {
    QFETCH(QString, key);
    QFETCH(bool, styleOffersAlt);
    const QString style = QApplication::style()->name();
    const auto restore = qScopeGuard([&style] { QApplication::setStyle(style); });
    if (!styleOffersAlt) {
        m_window.reset();
        QApplication::setStyle(new NoAltNavigationStyle);
        m_window = std::make_unique<TForm1>();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QMenuBar* bar = m_window->menuBar();
    QLineEdit* field = edit(1);
    field->setFocus();
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    const auto toTheBar = [&] {
        if (key == QLatin1String("F10")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        } else {
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt);
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
        }
    };

    const QRect first = bar->actionGeometry(child<QMenu>("N1")->menuAction());
    const QImage plain = bar->grab(first).toImage();
    toTheBar();
    QCOMPARE(bar->activeAction(), child<QMenu>("N1")->menuAction());
    QVERIFY(bar->hasFocus());
    QVERIFY(!QApplication::activePopupWidget());
    // The highlight shows.
    QVERIFY(bar->grab(first).toImage() != plain);

    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->activeAction(), child<QMenu>("N4")->menuAction());
    QTest::keyClick(bar, Qt::Key_Down);
    QMenu* view = child<QMenu>("N4");
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Escape);
    QTRY_VERIFY(!view->isVisible());
    QTest::keyClick(bar, Qt::Key_Escape);
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QVERIFY(!bar->activeAction());

    // Enter opens the highlighted menu as well; the same key again leaves the bar.
    toTheBar();
    QTest::keyClick(bar, Qt::Key_Return);
    QMenu* file = child<QMenu>("N1");
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
    toTheBar();
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QVERIFY(!bar->activeAction());

    // Alt held for a shortcut is no lone Alt.
    QTest::keyClick(field, Qt::Key_X, Qt::AltModifier);
    QVERIFY(!bar->activeAction());
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
    QVERIFY(m_boxes->boxes.isEmpty());
}

// F1 starts the help as Help › Contents does, over the main window's screen.
void TstMainWindow::f1OpensTheHelp() {
    velmora::test::ShellRecorder shell;
    QTest::keyClick(edit(2), Qt::Key_F1);
    action("N11")->trigger();
    QCOMPARE(shell.launches.size(), 2);
    for (const velmora::test::ShellLaunch& launch : shell.launches) {
        QCOMPARE(launch.request.file, QStringLiteral("velmora-help"));
        QCOMPARE(launch.request.environment,
                 QStringList{QStringLiteral("VELMORA_HELP_SCREEN=") + m_window->screen()->name()});
    }
}

namespace {

// The state a press of any of the windows' buttons can change.
QString programState(const TemporaryStore& store, const velmora::test::ShellRecorder& shell) {
    QStringList state;
    for (QWidget* window : {static_cast<QWidget*>(velmora::test::aboutDialog()),
                            static_cast<QWidget*>(velmora::test::settingsDialog())})
        state << window->objectName() + (window->isVisible() ? " shown" : " hidden");
    QFile file(store.path());
    state << QStringLiteral("store ") +
                 (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "none");
    QStringList launched;
    for (const velmora::test::ShellLaunch& launch : shell.launches)
        launched << launch.request.file;
    state << QStringLiteral("launched ") + launched.join(u',');
    for (const char* name : {"Edit4", "Edit5", "Edit10"})
        state << velmora::mainWindow()->findChild<QLineEdit*>(QLatin1String(name))->text();
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3"})
        state << QString::number(velmora::test::settingsDialog()
                                     ->findChild<QCheckBox*>(QLatin1String(name))
                                     ->isChecked());
    state << velmora::test::settingsDialog()
                 ->findChild<QComboBox*>(QStringLiteral("ComboBox1"))
                 ->currentText();
    return state.join(QLatin1String(" | "));
}

} // namespace

void TstMainWindow::enterPressesTheFocusedButton_data() {
    QTest::addColumn<QString>("window"); // "main", "settings" or "about"
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");

    const int enter = Qt::Key_Return;
    QTest::newRow("Calculate on the equation page") << "main"
                                                    << "Button1" << enter;
    QTest::newRow("Calculate on the equation page, keypad Enter")
        << "main"
        << "Button1" << int(Qt::Key_Enter);
    QTest::newRow("Calculate on the trigonometry page") << "main"
                                                        << "Button2" << enter;
    for (const char* button : {"ButtonDefault", "ButtonOK", "ButtonCancel", "ButtonApply"})
        QTest::addRow("settings, %s", button) << "settings" << button << enter;
    QTest::newRow("settings, OK by keypad Enter") << "settings"
                                                  << "ButtonOK" << int(Qt::Key_Enter);
    for (const char* button : {"Button1", "Button2", "Button3", "Button4"})
        QTest::addRow("about, %s", button) << "about" << button << enter;
}

// Enter on a focused button does what a click on it does, in every window, and makes no
// button a default button.
void TstMainWindow::enterPressesTheFocusedButton() {
    QFETCH(QString, window);
    QFETCH(QString, button);
    QFETCH(int, key);
    m_window.reset();

    // The same press twice, from the same start: once by Enter, once by the mouse.
    QString before;
    QStringList after;
    for (const bool byEnter : {true, false}) {
        TemporaryStore store;
        store.seed(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Language": "English",
            "Auto update": "false", "Detailed solution": "false", "Keep window position": "false",
            "Replacement": "m"}}})");
        velmora::test::ShellRecorder shell;
        velmora::createWindows();
        const auto destroy = qScopeGuard([] { velmora::destroyWindows(); });
        velmora::mainWindow()->show();

        QWidget* owner = velmora::mainWindow();
        if (window == QLatin1String("main")) {
            const auto field = [](const char* name) {
                return velmora::mainWindow()->findChild<QLineEdit*>(QLatin1String(name));
            };
            if (button == QLatin1String("Button1")) {
                field("Edit1")->setText(QStringLiteral("1"));
                field("Edit2")->setText(QStringLiteral("-3"));
                field("Edit3")->setText(QStringLiteral("2"));
            } else {
                velmora::mainWindow()->N12Click();
                velmora::mainWindow()
                    ->findChild<QRadioButton*>(QStringLiteral("RadioButton1"))
                    ->setChecked(true);
                field("Edit9")->setText(QStringLiteral("30"));
            }
        } else {
            owner = window == QLatin1String("settings")
                        ? static_cast<QWidget*>(velmora::test::settingsDialog())
                        : static_cast<QWidget*>(velmora::test::aboutDialog());
            owner->show();
            // A language other than the stored one, so a save shows.
            velmora::test::settingsDialog()
                ->findChild<QComboBox*>(QStringLiteral("ComboBox1"))
                ->setCurrentIndex(0);
        }
        owner->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(owner));
        auto* target = owner->findChild<QPushButton*>(button);
        QVERIFY(target);
        target->setFocus();
        QVERIFY(target->hasFocus());

        const QString start = programState(store, shell);
        QVERIFY(before.isEmpty() || start == before);
        before = start;
        if (byEnter)
            QTest::keyClick(target, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else
            QTest::mouseClick(target, Qt::LeftButton);
        after << programState(store, shell);
        for (const QWidget* dialog : {static_cast<QWidget*>(velmora::test::aboutDialog()),
                                      static_cast<QWidget*>(velmora::test::settingsDialog()),
                                      static_cast<QWidget*>(velmora::mainWindow())})
            for (const QPushButton* other : dialog->findChildren<QPushButton*>())
                QVERIFY2(!other->isDefault(), qPrintable(other->objectName()));
    }
    QCOMPARE(after[0], after[1]);
    QVERIFY2(after[0] != before, qPrintable(before));
}

void TstMainWindow::readableInLightAndDarkPalettes_data() {
    QTest::addColumn<QPalette>("palette");

    QTest::newRow("light") << QApplication::style()->standardPalette();
    // A dark desktop theme: light text on dark grounds, and a disabled text that its own
    // dark button face shows dimly.
    QPalette dark;
    const auto set = [&dark](QPalette::ColorRole role, const char* active, const char* disabled) {
        dark.setColor(QPalette::Active, role, QColor(QLatin1String(active)));
        dark.setColor(QPalette::Inactive, role, QColor(QLatin1String(active)));
        dark.setColor(QPalette::Disabled, role, QColor(QLatin1String(disabled)));
    };
    set(QPalette::Window, "#353535", "#353535");
    set(QPalette::WindowText, "#eeeeec", "#7f7f7f");
    set(QPalette::Base, "#2d2d2d", "#2d2d2d");
    set(QPalette::AlternateBase, "#353535", "#353535");
    set(QPalette::Text, "#eeeeec", "#4f4f4f");
    set(QPalette::Button, "#3a3a3a", "#3a3a3a");
    set(QPalette::ButtonText, "#eeeeec", "#7f7f7f");
    set(QPalette::Light, "#4a4a4a", "#4a4a4a");
    set(QPalette::Midlight, "#404040", "#404040");
    set(QPalette::Mid, "#2a2a2a", "#2a2a2a");
    set(QPalette::Dark, "#1e1e1e", "#1e1e1e");
    set(QPalette::Shadow, "#101010", "#101010");
    set(QPalette::Highlight, "#2a76c6", "#3a3a3a");
    set(QPalette::HighlightedText, "#ffffff", "#7f7f7f");
    QTest::newRow("dark") << dark;
}

namespace {

// The colour an area of a picture mostly has, and the strongest contrast any pixel of it makes
// with that colour: the ground and the ink of the text drawn there.
std::pair<QColor, double> groundAndInk(const QImage& picture, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    double ink = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ink = std::max(ink, contrast(QColor(it.key()), QColor(ground)));
    return {QColor(ground), ink};
}

} // namespace

// The trigonometry answer in its field that cannot be edited, and the tab of the page shown,
// read well in the desktop's light and dark palettes alike.
void TstMainWindow::readableInLightAndDarkPalettes() {
    QFETCH(QPalette, palette);
    m_window.reset();
    const QPalette previous = QApplication::palette();
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&previous] { QApplication::setPalette(previous); });
    m_window = std::make_unique<TForm1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    m_window->N12Click();
    child<QRadioButton>("RadioButton1")->setChecked(true);
    edit(9)->setText(QStringLiteral("30"));
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    QLineEdit* answer = edit(10);
    QVERIFY(answer->isReadOnly());
    QVERIFY(!answer->text().isEmpty());
    const QImage field = answer->grab().toImage();
    const auto [fieldGround, answerInk] = groundAndInk(field, field.rect().adjusted(3, 3, -3, -3));
    QCOMPARE(fieldGround, palette.color(QPalette::Active, QPalette::Base));
    QVERIFY2(answerInk >= 4.5, qPrintable(QString::number(answerInk)));

    QTabBar* tabs = pages()->tabBar();
    const QImage bar = tabs->grab().toImage();
    const QRect selected = tabs->tabRect(tabs->currentIndex()).adjusted(3, 3, -3, -3);
    const QRect other = tabs->tabRect(1 - tabs->currentIndex()).adjusted(3, 3, -3, -3);
    const auto [selectedGround, selectedInk] = groundAndInk(bar, selected);
    const auto [otherGround, otherInk] = groundAndInk(bar, other);
    // The desktop's selection colours, shaded where they read below 4.5:1.
    QVERIFY2(selectedInk >= 4.5, qPrintable(QString::number(selectedInk)));
    QVERIFY2(otherInk >= 4.5, qPrintable(QString::number(otherInk)));
    QVERIFY2(contrast(selectedGround, otherGround) >= 1.5,
             qPrintable(selectedGround.name() + u' ' + otherGround.name()));
}

// On a dark window the unchecked check boxes and radio buttons keep a ring that stands out 3:1
// from the window, as the program sets its looks up.
void TstMainWindow::indicatorsStandOutFromTheWindow_data() {
    readableInLightAndDarkPalettes_data();
}

void TstMainWindow::indicatorsStandOutFromTheWindow() {
    QFETCH(QPalette, palette);
    velmora::initApplication();
    const QPalette previous = QApplication::palette();
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&previous] { QApplication::setPalette(previous); });

    QWidget window;
    auto* box = new QCheckBox(QStringLiteral("box"), &window);
    auto* radio = new QRadioButton(QStringLiteral("radio"), &window);
    radio->move(0, 40);
    window.resize(200, 80);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QColor ground = palette.color(QPalette::Active, QPalette::Window);
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(box), static_cast<QAbstractButton*>(radio)}) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QStyle::SubElement element = qobject_cast<QCheckBox*>(button)
                                               ? QStyle::SE_CheckBoxIndicator
                                               : QStyle::SE_RadioButtonIndicator;
        const QRect indicator = button->style()->subElementRect(element, &option, button);
        const QImage image = button->grab(indicator).toImage();
        double strongest = 1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                strongest = std::max(strongest, contrast(image.pixelColor(x, y), ground));
        QVERIFY2(strongest >= 3, qPrintable(button->text() + u' ' + QString::number(strongest)));
    }
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
