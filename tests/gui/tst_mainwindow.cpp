// The main window as the user drives it (offscreen): window creation, the designed window,
// what showing it does, page switching by tab and menu, showing and hiding the detailed
// solution, the menu icons and Exit.
#include "about/aboutdialog.h"
#include "app/entry.h"
#include "app/mainwindow.h"
#include "settings/settingsdialog.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "tests/support/testsupport.h"
#include "update/updatedialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>

using velmora::TForm1;
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

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createWindowsInOrder();
    void designedWindow();
    void menuIconsArePainted();
    void showingFocusesEdit1AndDisablesResults();
    void pageSwitching_data();
    void pageSwitching();
    void detailedSolutionToggle_data();
    void detailedSolutionToggle();
    void exitEndsTheEventLoopWithoutClosing();
    void languageLeavesNoCaptionEmpty_data();
    void languageLeavesNoCaptionEmpty();
    void languageResetsTheTypeButNotTheFormula();

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
    QVERIFY(!velmora::Form1);
    velmora::createWindows();
    const QPointer<QWidget> form1 = velmora::Form1;
    const QList<QPointer<QWidget>> dialogs = {velmora::Form2, velmora::Form3, velmora::Form4};

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
    QVERIFY(!velmora::Form1 && !velmora::Form2 && !velmora::Form3 && !velmora::Form4);
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

    const QString equation =
        QStringLiteral("page 0, N7 checked, N12 unchecked, N5 checked enabled, client 498");
    const QString trigonometry =
        QStringLiteral("page 1, N7 unchecked, N12 checked, N5 checked disabled, client 498");

    QTest::newRow("trigonometry tab") << QStringList{"tab 1"} << trigonometry;
    QTest::newRow("trigonometry tab, then equation tab")
        << QStringList{"tab 1", "tab 0"} << equation;
    QTest::newRow("trigonometry tab, then menu first page")
        << QStringList{"tab 1", "N7"} << equation;
    QTest::newRow("menu second page") << QStringList{"N12"} << trigonometry;
    QTest::newRow("menu second page while on it") << QStringList{"tab 1", "N12"} << trigonometry;
    QTest::newRow("menu second page twice") << QStringList{"N12", "N12"} << trigonometry;
    QTest::newRow("menu first page while on it") << QStringList{"N7"} << equation;
    QTest::newRow("back and forth by menu") << QStringList{"N12", "N7", "N12"} << trigonometry;
}

void TstMainWindow::pageSwitching() {
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);

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
}

void TstMainWindow::detailedSolutionToggle_data() {
    QTest::addColumn<QStringList>("before");      // solved while the solution is shown
    QTest::addColumn<QStringList>("whileHidden"); // solved while it is hidden
    QTest::addColumn<QList<int>>("hidden");       // Memo1, GroupBox4, client after hiding
    QTest::addColumn<QList<int>>("shown");        // the same after showing it again

    const QStringList threeLines = {"0", "1", "", "1"};
    const QStringList eightLines = {"1", "1", "-5", "4"};
    const QStringList stopsAtCheck = {"0", "", "1", "1"};

    QTest::newRow("no solve yet") << QStringList() << QStringList() << QList<int>{102, 136, 354}
                                  << QList<int>{102, 136, 498};
    QTest::newRow("three lines") << threeLines << QStringList() << QList<int>{72, 106, 354}
                                 << QList<int>{72, 106, 468};
    QTest::newRow("eight lines") << eightLines << QStringList() << QList<int>{147, 181, 354}
                                 << QList<int>{147, 181, 543};
    QTest::newRow("three lines solved while hidden")
        << QStringList() << threeLines << QList<int>{102, 136, 354} << QList<int>{72, 106, 468};
    QTest::newRow("eight lines, then a solve stopped at a check while hidden")
        << eightLines << stopsAtCheck << QList<int>{147, 181, 354} << QList<int>{147, 181, 498};
}

void TstMainWindow::detailedSolutionToggle() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, whileHidden);
    QFETCH(QList<int>, hidden);
    QFETCH(QList<int>, shown);

    QAction* n5 = action("N5");
    solve(before);
    n5->trigger();
    QVERIFY(!n5->isChecked());
    solve(whileHidden);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(heights(), hidden);
    QCOMPARE(m_window->centralWidget()->height(), hidden[2]);

    n5->trigger();
    QVERIFY(n5->isChecked());
    QCOMPARE(heights(), shown);
    QCOMPARE(m_window->centralWidget()->height(), shown[2]);
    QCOMPARE(m_window->width(), 264);
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

    QStringList empty;
    const auto check = [&](const QObject* owner, const QString& text, const QString& what) {
        if (text.trimmed().isEmpty())
            empty << owner->objectName() + QLatin1Char(' ') + what;
    };
    for (const QAction* item : m_window->findChildren<QAction*>())
        if (!item->isSeparator() && !item->objectName().isEmpty())
            check(item, item->text(), QStringLiteral("text"));
    for (const QMenu* menu : m_window->findChildren<QMenu*>())
        check(menu, menu->title(), QStringLiteral("title"));
    for (int tab = 0; tab < pages()->count(); ++tab)
        check(pages(), pages()->tabText(tab), QStringLiteral("tab %1").arg(tab));
    for (const QLabel* label : m_window->findChildren<QLabel*>())
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

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
