// The equation page as the user drives it: keys typed into the coefficient fields, the type
// list, Button1 and Enter, on a shown main window (offscreen). Every message box is recorded.
#include "app/mainwindow.h"
#include "platform/base/locale.h"
#include "platform/ui/looks.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "state/language.h"
#include "tests/support/testsupport.h"
#include "trig/trigpage.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>

#include <memory>

using velmora::EquationPage;
using velmora::TextTable;
using velmora::TForm1;
using velmora::test::MessageBoxRecorder;
using velmora::test::TemporaryStore;

namespace {

// Distinct texts for the message lines the page uses, so each box shows which line it took.
const QString kInfoCaption = QStringLiteral("msg1 information");
const QString kErrorCaption = QStringLiteral("msg3 error");
const QString kMissingA = QStringLiteral("msg7 a is missing");
const QString kZeroA = QStringLiteral("msg8 a is zero");
const QString kNotANumber = QStringLiteral("msg9 not a number:");
const QString kNoRoots = QStringLiteral("msg10 no real roots");

const QString kQuadraticFormula = QStringLiteral("ax² + bx + c = 0");
const QString kBiquadraticFormula = QStringLiteral("ax⁴ + bx² + c = 0");

const QByteArray kLetterY =
    R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Replacement":"y"}}})";
const QByteArray kLetterAsNumber =
    R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Replacement":5}}})";

QString box(const QString& text, const QString& caption, unsigned flags) {
    return QStringLiteral("%1 | %2 | 0x%3").arg(text, caption).arg(flags, 2, 16, QLatin1Char('0'));
}

QString errorBox(const QString& text) {
    return box(text, kErrorCaption, 0x10);
}

// The standard error report: application title as caption, error icon.
QString report(const QString& text) {
    return box(text, QStringLiteral("Velmora"), 0x10);
}

QString notANumber(const char* letter) {
    return report(kNotANumber + QStringLiteral(" \"") + QLatin1String(letter) + QLatin1Char('"'));
}

QStringList shownBoxes(const MessageBoxRecorder& recorder) {
    QStringList shown;
    for (const auto& b : recorder.boxes)
        shown << box(b.text, b.caption, b.flags);
    return shown;
}

QStringList memoLines(const QTextEdit* memo) {
    const QString text = memo->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

// The look the user sees: "active" is enabled on the system's window colour, "inactive" is
// disabled on the button-face colour; anything else is reported as it is.
QString look(const QWidget* control) {
    const QPalette system = QApplication::palette();
    const QColor base = control->palette().color(
        control->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
    if (control->isEnabled() && base == system.color(QPalette::Active, QPalette::Base))
        return QStringLiteral("active");
    if (!control->isEnabled() && base == system.color(QPalette::Active, QPalette::Button))
        return QStringLiteral("inactive");
    return QStringLiteral("enabled=%1 base=%2").arg(control->isEnabled()).arg(base.name());
}

// What a coefficient entry is made of.
struct Input {
    int type = 0; // 0 quadratic, 1 biquadratic
    QString a{}, b{}, c{};
    bool pasted = false;  // set the texts directly instead of typing them
    bool byEnter = false; // Enter in Edit3 instead of Button1
    QByteArray store{};   // settings store contents; empty = an empty store
};

// What the page shows after the solve. Result fields and Memo1 are expected active exactly
// when they hold text; Panel1 shows the first solution line, or the type's formula if none.
struct Expected {
    QStringList results = QStringList(5, QString()); // Edit4..Edit8
    QStringList lines{};                             // Memo1
    QStringList boxes{};
    QString focus{};                      // object name of the focused control; empty = not checked
    QList<int> heights = {102, 136, 498}; // Memo1, GroupBox4, client area
};

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Expected)

class TstEquationPage : public QObject {
    Q_OBJECT

public:
    // The solver takes the decimal separator from the system locale: "," unless CTest runs
    // this program under another locale.
    static void initMain() { velmora::test::useTestLocale(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyFilter_data();
    void keyFilter();
    void decimalKeyTypesTheSeparator_data();
    void decimalKeyTypesTheSeparator();
    void editingKeysPass_data();
    void editingKeysPass();
    void pastedTextIsNotFiltered_data();
    void pastedTextIsNotFiltered();
    void enterRunsTheSolve_data();
    void enterRunsTheSolve();

    void solve_data();
    void solve();
    void checkFailureEmptiesResultsAndKeepsSizes_data();
    void checkFailureEmptiesResultsAndKeepsSizes();
    void focusMovesAroundTheReports_data();
    void focusMovesAroundTheReports();
    void typeSwitchChangesOnlyThePanel();
    void typeSetByTheProgramRunsNoSwitch();
    void resultFieldsShowTheirStart_data();
    void resultFieldsShowTheirStart();
    void answerLineInTheLanguage_data();
    void answerLineInTheLanguage();

    void accessibleNames();
    void screenReadersReadTheFormula();
    void editingShortcutsWorkInTheFields();
    void longNumbersAndEquationsShowWhole();

private:
    static void initTestTexts();
    QLineEdit* field(const QString& name) const { return m_page->findChild<QLineEdit*>(name); }
    QLineEdit* edit(int n) const { return field(QStringLiteral("Edit%1").arg(n)); }
    QTextEdit* memo() const { return m_page->findChild<QTextEdit*>(QStringLiteral("Memo1")); }
    QLabel* panel() const { return m_page->findChild<QLabel*>(QStringLiteral("Panel1")); }
    QComboBox* typeList() const {
        return m_page->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    }
    QWidget* group4() const { return m_page->findChild<QWidget*>(QStringLiteral("GroupBox4")); }

    void type(QLineEdit* target, const QString& text) {
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keyClicks(target, text);
    }
    void enter(const Input& input);
    void pressButton1() {
        QTest::mouseClick(m_page->findChild<QPushButton*>(QStringLiteral("Button1")),
                          Qt::LeftButton);
    }
    void chooseType(int index);
    QStringList resultTexts() const;
    QStringList resultLooks() const;
    QList<int> heights() const {
        return {memo()->height(), group4()->height(), m_window->clientHeight()};
    }

    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<TForm1> m_window;
    EquationPage* m_page = nullptr;
};

void TstEquationPage::initTestCase() {
    QCOMPARE(velmora::test::testLocaleProblem(), QString());
    const QPalette system = QApplication::palette();
    QVERIFY2(system.color(QPalette::Base) != system.color(QPalette::Button),
             "the two field colours must differ for the looks to be told apart");
    initTestTexts();
}

// The message lines the page uses, each with a text that shows which line a box took.
void TstEquationPage::initTestTexts() {
    using velmora::Global::setText;
    setText(TextTable::Messages, 1, kInfoCaption);
    setText(TextTable::Messages, 3, kErrorCaption);
    setText(TextTable::Messages, 7, kMissingA);
    setText(TextTable::Messages, 8, kZeroA);
    setText(TextTable::Messages, 9, kNotANumber);
    setText(TextTable::Messages, 10, kNoRoots);
}

void TstEquationPage::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
    m_window = std::make_unique<TForm1>();
    m_page = m_window->equationPage();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
}

void TstEquationPage::cleanup() {
    m_page = nullptr;
    m_window.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstEquationPage::chooseType(int index) {
    // The list is not editable: the arrow keys pick the neighbouring item, as a user would.
    QComboBox* list = typeList();
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

void TstEquationPage::enter(const Input& input) {
    m_store->seed(input.store.isEmpty() ? QByteArray("{}") : input.store);
    chooseType(input.type);
    const QString texts[] = {input.a, input.b, input.c};
    for (int i = 0; i < 3; ++i) {
        if (input.pasted)
            edit(i + 1)->setText(texts[i]);
        else
            type(edit(i + 1), texts[i]);
        QCOMPARE(edit(i + 1)->text(), texts[i]);
    }
    if (input.byEnter)
        QTest::keyClick(edit(3), Qt::Key_Return);
    else
        pressButton1();
}

QStringList TstEquationPage::resultTexts() const {
    QStringList texts;
    for (int n = 4; n <= 8; ++n)
        texts << edit(n)->text();
    return texts;
}

QStringList TstEquationPage::resultLooks() const {
    QStringList looks;
    for (int n = 4; n <= 8; ++n)
        looks << look(edit(n));
    looks << look(memo());
    return looks;
}

// ---- key filter ----

void TstEquationPage::keyFilter_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* tag, const char* field, const char* typed,
                        const char* expected) {
        QTest::newRow(tag) << QString::fromLatin1(field) << QString::fromLatin1(typed)
                           << QString::fromLatin1(expected);
    };
    // Expected texts write the separator as ","; the run's locale may have ".".
    row("digits", "Edit1", "1234", "1234");
    row("point types the separator", "Edit1", "1.5", "1,5");
    row("letters and exponent refused", "Edit2", "a1bE2e", "12");
    row("space and plus refused", "Edit3", " +1 ", "1");
    row("other punctuation refused", "Edit1", ";:/*=_", "");
    row("minus and comma anywhere", "Edit2", "-1-,2,", "-1-,2,");
    row("repeated signs", "Edit3", "--,,5", "--,,5");
    row("repeated points", "Edit3", "-.,.5", "-,,,5");
    row("seventh character refused", "Edit1", "1234567", "123456");
    row("backspace deletes", "Edit2", "12\b3", "13");
    row("backspace frees the last place", "Edit3", "123456\b7", "123457");
}

void TstEquationPage::keyFilter() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    type(this->field(field), typed);
    QCOMPARE(this->field(field)->text(), velmora::test::withTestSeparator(expected));
    QVERIFY(m_boxes->boxes.isEmpty());
}

void TstEquationPage::decimalKeyTypesTheSeparator_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText"); // what the keyboard layout puts in the key event
    QTest::addColumn<QString>("before");  // the field's text, all of it selected when "[…]"
    QTest::addColumn<QString>("after");   // "," stands for the run's separator

    const int none = Qt::NoModifier;
    const int keypad = Qt::KeypadModifier;
    const struct {
        const char* name;
        int key;
        int modifiers;
        const char* text;
    } keys[] = {
        {"full stop", Qt::Key_Period, none, "."},
        {"comma", Qt::Key_Comma, none, ","},
        {"keypad decimal giving a point", Qt::Key_Period, keypad, "."},
        {"keypad decimal giving a comma", Qt::Key_Comma, keypad, ","},
    };
    // The coefficient fields and both fields of the trigonometry page.
    for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit9", "Edit10"})
        for (const auto& key : keys)
            QTest::addRow("%s, %s", key.name, field)
                << field << key.key << key.modifiers << key.text << "12"
                << "12,";
    QTest::newRow("in place of a selection") << "Edit2" << int(Qt::Key_Period) << none << "."
                                             << "[12]"
                                             << ",";
    QTest::newRow("a coefficient field keeps its six places")
        << "Edit3" << int(Qt::Key_Period) << none << "."
        << "123456"
        << "123456";
    QTest::newRow("a trigonometry field keeps its fourteen places")
        << "Edit9" << int(Qt::Key_Comma) << keypad << ","
        << "12345678901234"
        << "12345678901234";
}

// Whichever decimal mark the keyboard gives, the field gets the separator the numbers are read
// with.
void TstEquationPage::decimalKeyTypesTheSeparator() {
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, before);
    QFETCH(QString, after);

    QLineEdit* target = m_window->findChild<QLineEdit*>(field);
    QVERIFY(target);
    if (field == QLatin1String("Edit9") || field == QLatin1String("Edit10")) {
        m_window->N12Click();
        // sin types into the angle field, arcsin into the value field.
        m_window->trigPage()
            ->findChild<QRadioButton*>(field == QLatin1String("Edit9") ? "RadioButton1"
                                                                       : "RadioButton5")
            ->setChecked(true);
    }
    const bool selected = before.startsWith(u'[');
    target->setFocus();
    QTest::keyClicks(target, selected ? before.mid(1, before.size() - 2) : before);
    if (selected)
        target->selectAll();
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), keyText,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(target->text(), velmora::test::withTestSeparator(after));
}

void TstEquationPage::editingKeysPass_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText"); // the text the window system puts in the key event
    QTest::addColumn<QString>("text");    // the field's text afterwards ("123" typed, cursor at 1)
    QTest::addColumn<QString>("focus");

    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Tab moves on") << "Edit1" << int(Qt::Key_Tab) << none << "\t"
                                  << "123"
                                  << "Edit2";
    QTest::newRow("Tab from c to the button") << "Edit3" << int(Qt::Key_Tab) << none << "\t"
                                              << "123"
                                              << "Button1";
    QTest::newRow("Shift+Tab moves back") << "Edit2" << int(Qt::Key_Backtab) << shift << "\t"
                                          << "123"
                                          << "Edit1";
    QTest::newRow("Shift+Tab without text") << "Edit1" << int(Qt::Key_Backtab) << shift << ""
                                            << "123"
                                            << "ComboBox1";
    // X11 gives Delete the text DEL (0x7f).
    QTest::newRow("Delete as X11 sends it") << "Edit2" << int(Qt::Key_Delete) << none << "\x7f"
                                            << "13"
                                            << "Edit2";
    QTest::newRow("Delete without text") << "Edit3" << int(Qt::Key_Delete) << none << ""
                                         << "13"
                                         << "Edit3";
}

// Keys that type no digit still do their usual work in a filtered field.
void TstEquationPage::editingKeysPass() {
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, text);
    QFETCH(QString, focus);

    QLineEdit* target = this->field(field);
    type(target, QStringLiteral("123"));
    target->setCursorPosition(1);
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), keyText,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(target->text(), text);
    QCOMPARE(focusName(), focus);
    QVERIFY(m_boxes->boxes.isEmpty());
}

void TstEquationPage::pastedTextIsNotFiltered_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* tag, const char* how, const char* text, const char* expected) {
        QTest::newRow(tag) << QString::fromLatin1(how) << QString::fromLatin1(text)
                           << QString::fromLatin1(expected);
    };
    row("setText keeps a point", "setText", "1.5", "1.5");
    row("setText is cut to six", "setText", "1e308x9", "1e308x");
    row("insert keeps letters", "insert", "abc", "abc");
    row("insert is cut to six", "insert", "1234567", "123456");
    row("clipboard paste keeps an exponent", "paste", "1e+5", "1e+5");
    row("clipboard paste is cut to six", "paste", "-1.5e-300", "-1.5e-");
}

void TstEquationPage::pastedTextIsNotFiltered() {
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QLineEdit* target = edit(2);
    if (how == QLatin1String("setText")) {
        target->setText(text);
    } else if (how == QLatin1String("insert")) {
        target->insert(text);
    } else {
        QGuiApplication::clipboard()->setText(text);
        target->paste();
    }
    QCOMPARE(target->text(), expected);
}

void TstEquationPage::enterRunsTheSolve_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<QString>("discriminant");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("focus");

    const QStringList workedExample = {"1", "-3", "2"};
    QTest::newRow("Enter in c while a is empty")
        << "Edit3" << int(Qt::Key_Return) << QStringList{"", "", "2"} << QString()
        << QStringList{errorBox(kMissingA)} << "Edit1";
    QTest::newRow("Enter in a") << "Edit1" << int(Qt::Key_Return) << workedExample << "1"
                                << QStringList() << QString();
    QTest::newRow("Enter in b") << "Edit2" << int(Qt::Key_Return) << workedExample << "1"
                                << QStringList() << QString();
    QTest::newRow("keypad Enter in c")
        << "Edit3" << int(Qt::Key_Enter) << workedExample << "1" << QStringList() << QString();
}

void TstEquationPage::enterRunsTheSolve() {
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(QStringList, coefficients);
    QFETCH(QString, discriminant);
    QFETCH(QStringList, boxes);
    QFETCH(QString, focus);

    for (int i = 0; i < 3; ++i)
        type(edit(i + 1), coefficients[i]);
    QTest::mouseClick(this->field(field), Qt::LeftButton);
    QTest::keyClick(this->field(field), Qt::Key(key));

    // The solve ran, and the Enter itself reached no field.
    QCOMPARE(edit(4)->text(), discriminant);
    QCOMPARE(shownBoxes(*m_boxes), boxes);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(edit(i + 1)->text(), coefficients[i]);
    if (!focus.isEmpty())
        QCOMPARE(focusName(), focus);
}

// ---- the solve ----

void TstEquationPage::solve_data() {
    QTest::addColumn<Input>("input");
    QTest::addColumn<Expected>("expected");

    const auto row = [](const char* tag, const Input& input, const Expected& expected) {
        QTest::newRow(tag) << input << expected;
    };

    const QStringList workedExample1 = {"x² - 3x + 2 = 0", "D = -3² - 4 • 1 • 2 = 9 - 8 = 1",
                                        "x₁ = - (-3) + √1̅ / 2 • 1 = 3 + 1 / 2 = 2",
                                        "x₂ = - (-3) - √1̅ / 2 • 1 = 3 - 1 / 2 = 1",
                                        "Ответ: x₁ = 2; x₂ = 1"};
    row("worked example 1", {.a = "1", .b = "-3", .c = "2"},
        {.results = {"1", "2", "1", "", ""}, .lines = workedExample1, .heights = {102, 136, 498}});
    row("worked example 2, biquadratic, by Enter",
        {.type = 1, .a = "1", .b = "-5", .c = "4", .byEnter = true, .store = kLetterY},
        {.results = {"9", "2", "-2", "1", "-1"},
         .lines = {"x⁴ - 5x² + 4 = 0", "x² = y", "y² - 5y + 4 = 0",
                   "D = -5² - 4 • 1 • 4 = 25 - 16 = 9", "y₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4",
                   "y₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1", "x² = 4; x² = 1",
                   "Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"},
         .heights = {147, 181, 543}});
    row("single root", {.a = "1", .b = "2", .c = "1", .byEnter = true},
        {.results = {"0", "-1", "", "", ""},
         .lines = {"x² + 2x + 1 = 0", "D = 2² - 4 • 1 • 1 = 4 - 4 = 0",
                   "x = -2 ± 0 / 2 • 1 = -2 / 2 = -1", "Ответ: x = -1"},
         .heights = {87, 121, 483}});
    row("no real roots, b empty", {.a = "1", .b = "", .c = "1"},
        {.results = {"-4", "", "", "", ""},
         .lines = {"x² + 1 = 0", "D = 0² - 4 • 1 • 1 = 0 - 4 = -4", "Ответ: нет корней"},
         .boxes = {box(kNoRoots, kInfoCaption, 0x40)},
         .heights = {72, 106, 468}});
    row("typed decimal fractions", {.a = "0,5", .b = "-1,5", .c = "1"},
        {.results = {"0,25", "2", "1", "", ""},
         .lines = {"0,5x² - 1,5x + 1 = 0", "D = -1,5² - 4 • 0,5 • 1 = 2,25 - 2 = 0,25",
                   "x₁ = - (-1,5) + √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 + 0,5 / 1 = 2",
                   "x₂ = - (-1,5) - √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 - 0,5 / 1 = 1", "Ответ: x₁ = 2; x₂ = 1"},
         .heights = {102, 136, 498}});
    row("negative a puts the smaller root first", {.a = "-1", .b = "", .c = "4"},
        {.results = {"16", "-2", "2", "", ""},
         .lines = {"-x² + 4 = 0", "D = 0² - 4 • (-1) • 4 = 0 - (-16) = 16",
                   "x₁ = 0 + √1̅6̅ / 2 • (-1) = 0 + 4 / -2 = -2",
                   "x₂ = 0 - √1̅6̅ / 2 • (-1) = 0 - 4 / -2 = 2", "Ответ: x₁ = -2; x₂ = 2"},
         .heights = {102, 136, 498}});
    row("biquadratic, both substitution roots negative",
        {.type = 1, .a = "1", .b = "5", .c = "4", .store = kLetterY},
        {.results = {"9", "", "", "", ""},
         .lines = {"x⁴ + 5x² + 4 = 0", "x² = y", "y² + 5y + 4 = 0",
                   "D = 5² - 4 • 1 • 4 = 25 - 16 = 9", "y₁ = -5 + √9̅ / 2 • 1 = -5 + 3 / 2 = -1",
                   "y₂ = -5 - √9̅ / 2 • 1 = -5 - 3 / 2 = -4", "x² = -1; x² = -4",
                   "Ответ: нет корней"},
         .heights = {147, 181, 543}});
    row("biquadratic, a substitution root below the double range, pasted",
        {.type = 1, .a = "1E300", .b = "1E-30", .c = "", .pasted = true, .store = kLetterY},
        {.results = {"1E-60", "0", "", "", ""},
         .lines = {"1E300x⁴ + 1E-30x² = 0", "x² = y", "1E300y² + 1E-30y = 0",
                   "D = 1E-30² - 4 • 1E300 • 0 = 1E-60 - 0 = 1E-60",
                   "y₁ = -1E-30 + √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 + 1E-30 / 2E300 = 0",
                   "y₂ = -1E-30 - √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 - 1E-30 / 2E300 = -1E-330",
                   "x² = 0; x² = -1E-330", "Ответ: x = 0"},
         .heights = {147, 181, 543}});
    row("biquadratic without a substitution letter", {.type = 1, .a = "1", .b = "-5", .c = "4"},
        {.results = {"9", "2", "-2", "1", "-1"},
         .lines = {"x⁴ - 5x² + 4 = 0", "x² = ", "² - 5 + 4 = 0",
                   "D = -5² - 4 • 1 • 4 = 25 - 16 = 9", "₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4",
                   "₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1", "x² = 4; x² = 1",
                   "Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"},
         .heights = {147, 181, 543}});
    row("substitution letter stored as a number",
        {.type = 1, .a = "1", .b = "-5", .c = "4", .store = kLetterAsNumber},
        {.results = {"9", "", "", "", ""},
         .boxes = {report(QStringLiteral("Invalid data type for 'Replacement'"))}});

    row("quadratic does not read the substitution letter",
        {.a = "1", .b = "-3", .c = "2", .store = kLetterAsNumber},
        {.results = {"1", "2", "1", "", ""}, .lines = workedExample1, .heights = {102, 136, 498}});

    row("a missing", {.a = "", .b = "1", .c = "1"},
        {.boxes = {errorBox(kMissingA)}, .focus = "Edit1"});
    row("a missing, by Enter", {.a = "", .b = "1", .c = "1", .byEnter = true},
        {.boxes = {errorBox(kMissingA)}, .focus = "Edit1"});
    for (const char* zero : {"0", "0,0", "-0", ",", "-,"})
        row(qPrintable(QStringLiteral("a zero written %1").arg(QLatin1String(zero))),
            {.a = zero, .b = "1", .c = "1"}, {.boxes = {errorBox(kZeroA)}, .focus = "Edit1"});
    row("a not a number", {.a = "1-2", .b = "1", .c = "1"},
        {.boxes = {notANumber("a")}, .focus = "Edit1"});
    row("a lone minus", {.a = "-", .b = "1", .c = "1", .byEnter = true},
        {.boxes = {notANumber("a")}, .focus = "Edit1"});
    row("b reported before c", {.a = "1", .b = "1-2", .c = "--"},
        {.boxes = {notANumber("b")}, .focus = "Edit2"});
    row("c not a number", {.a = "1", .b = "", .c = "1,2,3"},
        {.boxes = {notANumber("c")}, .focus = "Edit3"});
    row("pasted a beyond the double range", {.a = "1e999", .b = "1", .c = "1", .pasted = true},
        {.boxes = {notANumber("a")}, .focus = "Edit1"});

    // Pasted exponents can push a product or a root past the double range.
    const QString overflow = report(QStringLiteral("Floating point overflow."));
    row("pasted b whose square overflows", {.a = "1", .b = "1e200", .c = "1", .pasted = true},
        {.boxes = {overflow}});
    row("pasted a and c whose product overflows",
        {.a = "1e308", .b = "", .c = "1e308", .pasted = true}, {.boxes = {overflow}});
    row("pasted tiny a whose root overflows", {.a = "1e-308", .b = "9", .c = "0", .pasted = true},
        {.boxes = {overflow}});
}

void TstEquationPage::solve() {
    QFETCH(Input, input);
    QFETCH(Expected, expected);
    // The rows write decimals with ","; typed and shown they carry the locale's separator.
    using velmora::test::withTestSeparator;
    for (QString* text : {&input.a, &input.b, &input.c})
        *text = withTestSeparator(*text);
    for (QStringList* texts : {&expected.results, &expected.lines})
        for (QString& text : *texts)
            text = withTestSeparator(text);

    enter(input);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(resultTexts(), expected.results);
    QCOMPARE(memoLines(memo()), expected.lines);
    QStringList looks;
    for (const QString& text : expected.results)
        looks << (text.isEmpty() ? "inactive" : "active");
    looks << (expected.lines.isEmpty() ? "inactive" : "active");
    QCOMPARE(resultLooks(), looks);
    const QString formula = input.type == 1 ? kBiquadraticFormula : kQuadraticFormula;
    QCOMPARE(panel()->text(), expected.lines.isEmpty() ? formula : expected.lines.front());
    QCOMPARE(shownBoxes(*m_boxes), expected.boxes);
    if (!expected.focus.isEmpty())
        QCOMPARE(focusName(), expected.focus);
    QCOMPARE(heights(), expected.heights);
    QCOMPARE(m_page->solutionLineCount(), int(expected.lines.size()));
    // The fitted box shows every line: nothing to scroll, the last line not clipped.
    QCOMPARE(velmora::test::verticalOverflow(memo()), QString());

    // Whatever the input, no special floating-point value reaches the screen.
    QStringList shown = resultTexts() + memoLines(memo());
    shown << panel()->text();
    for (const QString& text : shown) {
        QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1String("nan"), Qt::CaseInsensitive), qPrintable(text));
    }
}

void TstEquationPage::checkFailureEmptiesResultsAndKeepsSizes_data() {
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<QString>("box");

    QTest::newRow("a missing") << QStringList{"", "1", "1"} << errorBox(kMissingA);
    QTest::newRow("a zero") << QStringList{"0", "1", "1"} << errorBox(kZeroA);
    QTest::newRow("b not a number") << QStringList{"1", "-", "1"} << notANumber("b");
}

void TstEquationPage::checkFailureEmptiesResultsAndKeepsSizes() {
    QFETCH(QStringList, coefficients);
    QFETCH(QString, box);

    // A three-line solve first: results on screen, the box fitted to 72 / 106 / 468.
    enter({.a = "1", .b = "", .c = "1"});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(heights(), QList<int>({72, 106, 468}));
    QCOMPARE(m_boxes->boxes.size(), 1);
    m_boxes->boxes.clear();

    for (int i = 0; i < 3; ++i)
        edit(i + 1)->clear();
    enter({.a = coefficients[0], .b = coefficients[1], .c = coefficients[2]});
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(shownBoxes(*m_boxes), QStringList{box});
    QCOMPARE(resultTexts(), QStringList({"", "", "", "", ""}));
    QVERIFY(memo()->toPlainText().isEmpty());
    QCOMPARE(resultLooks(), QStringList(6, QStringLiteral("inactive")));
    QCOMPARE(m_page->solutionLineCount(), 0);
    QCOMPARE(panel()->text(), QStringLiteral("x² + 1 = 0"));
    QCOMPARE(heights(), QList<int>({72, 106, 468}));
}

void TstEquationPage::focusMovesAroundTheReports_data() {
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<bool>("byEnter"); // Enter in Edit3 instead of Button1
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("focusDuringBox");
    QTest::addColumn<QString>("focusAfter");

    // A missing or zero a is reported first and then the focus goes to a; a coefficient that
    // is not a number gets the focus first and is then reported.
    QTest::newRow("a missing, by Button1")
        << QStringList{"", "1", "1"} << false << errorBox(kMissingA) << "Button1"
        << "Edit1";
    QTest::newRow("a missing, by Enter")
        << QStringList{"", "1", "1"} << true << errorBox(kMissingA) << "Edit3"
        << "Edit1";
    QTest::newRow("a zero, by Enter")
        << QStringList{"0", "1", "1"} << true << errorBox(kZeroA) << "Edit3"
        << "Edit1";
    QTest::newRow("a not a number")
        << QStringList{"1-2", "1", "1"} << true << notANumber("a") << "Edit1"
        << "Edit1";
    QTest::newRow("b not a number")
        << QStringList{"1", "1-2", "1"} << true << notANumber("b") << "Edit2"
        << "Edit2";
    QTest::newRow("c not a number")
        << QStringList{"1", "1", "--"} << false << notANumber("c") << "Edit3"
        << "Edit3";
}

void TstEquationPage::focusMovesAroundTheReports() {
    QFETCH(QStringList, coefficients);
    QFETCH(bool, byEnter);
    QFETCH(QString, box);
    QFETCH(QString, focusDuringBox);
    QFETCH(QString, focusAfter);

    enter({.a = coefficients[0], .b = coefficients[1], .c = coefficients[2], .byEnter = byEnter});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(shownBoxes(*m_boxes), QStringList{box});
    QCOMPARE(m_boxes->boxes.front().focus, focusDuringBox);
    QCOMPARE(focusName(), focusAfter);
}

void TstEquationPage::typeSwitchChangesOnlyThePanel() {
    enter({.a = "1", .b = "-3", .c = "2"});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(panel()->text(), QStringLiteral("x² - 3x + 2 = 0"));
    const QStringList texts = resultTexts();
    const QStringList looks = resultLooks();
    const QString solution = memo()->toPlainText();
    const auto sizes = heights();

    const struct {
        Qt::Key key;
        int index;
        QString formula;
    } steps[] = {{Qt::Key_Down, 1, kBiquadraticFormula}, {Qt::Key_Up, 0, kQuadraticFormula}};
    for (const auto& step : steps) {
        typeList()->setFocus();
        QCOMPARE(focusName(), QStringLiteral("ComboBox1"));
        QTest::keyClick(typeList(), step.key);

        QCOMPARE(typeList()->currentIndex(), step.index);
        QCOMPARE(panel()->text(), step.formula);
        QCOMPARE(focusName(), QStringLiteral("Edit1"));
        QCOMPARE(resultTexts(), texts);
        QCOMPARE(resultLooks(), looks);
        QCOMPARE(memo()->toPlainText(), solution);
        QCOMPARE(heights(), sizes);
        QCOMPARE(m_page->solutionLineCount(), 5);
        QCOMPARE(edit(1)->text(), QStringLiteral("1"));
    }
    QVERIFY(m_boxes->boxes.isEmpty());
}

// The switch answers the user's choice only: the list set from code, as the language step
// sets it, leaves the panel and the focus alone.
void TstEquationPage::typeSetByTheProgramRunsNoSwitch() {
    edit(2)->setFocus();
    typeList()->setCurrentIndex(1);
    QCOMPARE(panel()->text(), kQuadraticFormula);
    QCOMPARE(focusName(), QStringLiteral("Edit2"));

    typeList()->setFocus();
    QTest::keyClick(typeList(), Qt::Key_Up);
    QCOMPARE(typeList()->currentIndex(), 0);
    QCOMPARE(panel()->text(), kQuadraticFormula);
    QCOMPARE(focusName(), QStringLiteral("Edit1"));
}

void TstEquationPage::resultFieldsShowTheirStart_data() {
    QTest::addColumn<QStringList>("input");  // {type, a, b, c}, or {"trig", radio button, value}
    QTest::addColumn<QStringList>("fields"); // the result fields that must hold text

    QTest::newRow("biquadratic with long roots")
        << QStringList{"1", "2", "1", "-5"} << QStringList{"Edit4", "Edit5", "Edit6"};
    QTest::newRow("long discriminant and roots, pasted")
        << QStringList{"0", "1", "1E-9", "-1E-9"} << QStringList{"Edit4", "Edit5", "Edit6"};
    QTest::newRow("long negative discriminant")
        << QStringList{"0", ",11111", "1E-10", "1,2E-5"} << QStringList{"Edit4"};
    QTest::newRow("quadratic irrational roots")
        << QStringList{"0", "3", "1", "-1"} << QStringList{"Edit4", "Edit5", "Edit6"};
    QTest::newRow("trigonometry, value field")
        << QStringList{"trig", "RadioButton3", "89,999"} << QStringList{"Edit10"};
    QTest::newRow("trigonometry, angle field")
        << QStringList{"trig", "RadioButton8", "-0,001"} << QStringList{"Edit9"};
}

// A result longer than its field shows its first digits, not its last: the cursor stands at
// the start after every solve, a second one on top of the first included.
void TstEquationPage::resultFieldsShowTheirStart() {
    QFETCH(QStringList, input);
    QFETCH(QStringList, fields);
    for (QString& text : input)
        text = velmora::test::withTestSeparator(text);

    bool wider = false;
    for (int run = 0; run < 2; ++run) {
        if (input[0] == QLatin1String("trig")) {
            m_window->N12Click();
            velmora::TrigPage* page = m_window->trigPage();
            page->findChild<QRadioButton*>(input[1])->setChecked(true);
            QLineEdit* in = page->findChild<QLineEdit*>(input[1] == QLatin1String("RadioButton8")
                                                            ? QStringLiteral("Edit10")
                                                            : QStringLiteral("Edit9"));
            in->setText(input[2]);
            QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("Button2")),
                              Qt::LeftButton);
        } else {
            enter({.type = input[0].toInt(),
                   .a = input[1],
                   .b = input[2],
                   .c = input[3],
                   .pasted = true});
            if (QTest::currentTestFailed())
                return;
            m_boxes->boxes.clear();
        }
        for (const QString& name : fields) {
            QLineEdit* result = m_window->findChild<QLineEdit*>(name);
            QVERIFY2(!result->text().isEmpty(), qPrintable(name));
            QVERIFY2(result->cursorPosition() == 0, qPrintable(QStringLiteral("%1 %2 at %3")
                                                                   .arg(name, result->text())
                                                                   .arg(result->cursorPosition())));
            wider = wider || result->fontMetrics().horizontalAdvance(result->text()) >
                                 result->contentsRect().width();
        }
    }
    // The equation rows have a result that overflows its field, or they would show nothing.
    if (input[0] != QLatin1String("trig"))
        QVERIFY(wider);
}

void TstEquationPage::answerLineInTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("file"); // a language file of the test's own; empty: the shipped
    QTest::addColumn<QStringList>("answers"); // two roots, then none

    QTest::newRow("Russian") << "Russian" << QByteArray()
                             << QStringList{"Ответ: x₁ = 2; x₂ = 1", "Ответ: нет корней"};
    QTest::newRow("English") << "English" << QByteArray()
                             << QStringList{"Answer: x₁ = 2; x₂ = 1", "Answer: no roots"};
    QTest::newRow("Ukrainian") << "Ukrainian" << QByteArray()
                               << QStringList{"Відповідь: x₁ = 2; x₂ = 1",
                                              "Відповідь: немає коренів"};
    QTest::newRow("a file without the answer words gives the Russian ones")
        << "English" << QByteArray("[Square root]\n1=Equations\n[More]\n3=Damaged: %1\n")
        << QStringList{"Ответ: x₁ = 2; x₂ = 1", "Ответ: нет корней"};
}

// The answer line speaks the interface's language; every other line, and the short answer,
// stay as they are.
void TstEquationPage::answerLineInTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, answers);

    const auto restore = qScopeGuard([isolated = qgetenv("VELMORA_DATA_DIR")] {
        // English takes the toolkit's texts back; then every table is emptied again.
        velmora::loadLanguage(QStringLiteral("English"));
        qputenv("VELMORA_DATA_DIR", isolated);
        for (int table = 0; table < velmora::Global::TableCount; ++table)
            for (int line = 1; line <= velmora::Global::LinesPerTable; ++line)
                velmora::Global::setText(TextTable(table), line, QString());
        initTestTexts();
    });
    QTemporaryDir data;
    if (file.isEmpty()) {
        qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    } else {
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("language")));
        QFile lng(data.filePath(QStringLiteral("language/%1.lng").arg(language)));
        QVERIFY(lng.open(QIODevice::WriteOnly));
        lng.write(file);
        lng.close();
        qputenv("VELMORA_DATA_DIR", data.path().toLocal8Bit());
    }
    velmora::loadLanguage(language);
    initTestTexts();

    enter({.a = "1", .b = "-3", .c = "2"});
    QCOMPARE(memoLines(memo()),
             QStringList({"x² - 3x + 2 = 0", "D = -3² - 4 • 1 • 2 = 9 - 8 = 1",
                          "x₁ = - (-3) + √1̅ / 2 • 1 = 3 + 1 / 2 = 2",
                          "x₂ = - (-3) - √1̅ / 2 • 1 = 3 - 1 / 2 = 1", answers[0]}));
    QCOMPARE(resultTexts(), QStringList({"1", "2", "1", "", ""}));

    for (int i = 1; i <= 3; ++i)
        edit(i)->clear();
    enter({.a = "1", .b = "", .c = "1"});
    QCOMPARE(memoLines(memo()).value(2), answers[1]);
    QCOMPARE(shownBoxes(*m_boxes), QStringList{box(kNoRoots, kInfoCaption, 0x40)});
}

void TstEquationPage::accessibleNames() {
    const auto label = [this](const char* name) {
        return m_page->findChild<QLabel*>(QLatin1String(name));
    };
    const auto names = [this] {
        QStringList all;
        for (int n = 1; n <= 8; ++n)
            all << edit(n)->accessibleName();
        return all;
    };
    const auto expected = [&] {
        const QString roots = label("Label5")->text();
        return QStringList{"a",          "b",          "c",          label("Label4")->text(),
                           roots + " 1", roots + " 2", roots + " 3", roots + " 4"};
    };

    QVERIFY(!label("Label4")->text().isEmpty());
    QVERIFY(!label("Label5")->text().isEmpty());
    QCOMPARE(names(), expected());

    // New captions (a language change) are followed once the names are renewed.
    label("Label4")->setText(QStringLiteral("Discriminant"));
    label("Label5")->setText(QStringLiteral("Roots:"));
    m_page->updateAccessibleNames();
    QCOMPARE(names(), expected());
    QCOMPARE(edit(5)->accessibleName(), QStringLiteral("Roots: 1"));
}

// What a screen reader reads for the formula panel is the formula it shows, whatever put it
// there.
void TstEquationPage::screenReadersReadTheFormula() {
    const auto spoken = [this] {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(panel());
        return face ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
    };
    QCOMPARE(spoken(), kQuadraticFormula);

    enter({.a = "1", .b = "-3", .c = "2"});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(spoken(), QStringLiteral("x² - 3x + 2 = 0"));

    chooseType(1);
    QCOMPARE(spoken(), kBiquadraticFormula);

    // New captions leave the formula as it is.
    m_window->language();
    QCOMPARE(panel()->text(), kBiquadraticFormula);
    QCOMPARE(spoken(), kBiquadraticFormula);
}

// The shortcuts the field's menu shows do what its menu does: select all, copy, cut, undo, and
// a paste that takes the text as the menu's Paste does; the solve then checks it.
void TstEquationPage::editingShortcutsWorkInTheFields() {
    QLineEdit* a = edit(1);
    type(a, QStringLiteral("42"));
    QTest::keyClick(a, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(a->selectedText(), QStringLiteral("42"));
    QApplication::clipboard()->clear();
    QTest::keyClick(a, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("42"));
    QTest::keyClick(a, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(a->text(), QString());
    QTest::keyClick(a, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(a->text(), QStringLiteral("42"));

    QApplication::clipboard()->setText(QStringLiteral("7x"));
    QTest::keyClick(a, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(a, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(a->text(), QStringLiteral("7x"));
    pressButton1();
    QCOMPARE(m_boxes->boxes.size(), 1);
    QVERIFY2(m_boxes->boxes.front().text.endsWith(QLatin1String("\"a\"")),
             qPrintable(m_boxes->boxes.front().text));
    m_boxes->boxes.clear();
}

// A number longer than its field shows whole in the field's tool tip; one that fits has none.
// A long equation is written smaller in the formula panel rather than cut.
void TstEquationPage::longNumbersAndEquationsShowWhole() {
    const QString point = QString(velmora::localeDecimalSeparator());
    const QString small = QStringLiteral("0") + point + QStringLiteral("0001");
    enter({.a = small, .b = QStringLiteral("999999"), .c = small, .pasted = true});
    if (QTest::currentTestFailed())
        return;
    const auto tipOf = [](QLineEdit* field) {
        QHelpEvent event(QEvent::ToolTip, QPoint(4, 4), field->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(field, &event);
        const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return tip;
    };
    // The root far from zero is the longer number of the two.
    QLineEdit* longRoot = edit(5)->text().size() > edit(6)->text().size() ? edit(5) : edit(6);
    QVERIFY2(!velmora::showsWholeText(longRoot), qPrintable(longRoot->text()));
    QCOMPARE(tipOf(longRoot), longRoot->text());

    const QFontMetrics shown(panel()->font());
    QCOMPARE(panel()->text(),
             small + QStringLiteral("x² + 999999x + ") + small + QStringLiteral(" = 0"));
    QVERIFY2(shown.horizontalAdvance(panel()->text()) <= panel()->contentsRect().width(),
             qPrintable(QString::number(panel()->font().pixelSize())));
    QVERIFY(panel()->font().pixelSize() < 16);

    // A short answer fits: no tool tip, and the formula keeps its size.
    enter({.a = QStringLiteral("1"),
           .b = QStringLiteral("-3"),
           .c = QStringLiteral("2"),
           .pasted = true});
    QVERIFY(velmora::showsWholeText(edit(5)));
    QCOMPARE(tipOf(edit(5)), QString());
    QCOMPARE(panel()->font().pixelSize(), 16);
    QTRY_VERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(TstEquationPage)
#include "tst_equationpage.moc"
