// The trigonometry page as the user drives it: radio buttons clicked, numbers typed, Calculate
// pressed, on a shown main window switched to that page. The evaluation core has its own
// tests; here a few evaluations prove which field is read and written, the colours, the
// button state and the error reports.

#include "app/entry.h"
#include "app/mainwindow.h"
#include "numbers/numberkeyfilter.h"
#include "platform/base/locale.h"
#include "platform/ui/looks.h"
#include "state/global.h"
#include "state/language.h"
#include "tests/support/testsupport.h"
#include "trig/trigpage.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

#include <memory>
#include <utility>

using namespace Qt::Literals::StringLiterals;
using velmora::FieldColour;
using velmora::hasFieldColour;

namespace {

const QString kErrorCaption = u"Velmora"_s;
const QString kDash = u"\u2014"_s;

// Radio buttons 1 to 4 are the direct functions (angle in, value out), 5 to 8 the inverse ones.
bool isDirectButton(int number) {
    return number <= 4;
}

QString colourName(const QWidget* field) {
    if (hasFieldColour(field, FieldColour::Window))
        return u"window"_s;
    if (hasFieldColour(field, FieldColour::ButtonFace))
        return u"button face"_s;
    return u"other"_s;
}

// Clicks where the style says the button reacts, so a short caption cannot make it miss.
void clickRadio(QRadioButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect area =
        button->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, area.center());
}

// Types the text key by key; keys beyond ASCII carry their character as a keyboard layout
// would deliver it.
void typeText(QWidget* field, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(field, char(character.unicode()));
        } else {
            const auto key = Qt::Key(character.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, field, key, QString(character), Qt::NoModifier);
        }
    }
}

// The rows write decimals with ","; typed and shown they carry the locale's separator.
QString local(const QString& text) {
    return velmora::test::withTestSeparator(text);
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* const face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

class TestTrigPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void disabledArctgCannotBeChosen();
    void chooseFunction_data();
    void chooseFunction();
    void chooseOtherFunctionClears_data();
    void chooseOtherFunctionClears();
    void chooseSameFunctionKeepsTexts();
    void keyFilter_data();
    void keyFilter();
    void editingKeysPass_data();
    void editingKeysPass();
    void enterNeitherCalculatesNorInserts();
    void ownSeparatorPassesFilter_data();
    void ownSeparatorPassesFilter();
    void changeRule_data();
    void changeRule();
    void clearingInputAfterEvaluationDisables();
    void evaluation_data();
    void evaluation();
    void evaluationError_data();
    void evaluationError();
    void errorReportsSpeakTheInterfacesLanguage_data();
    void errorReportsSpeakTheInterfacesLanguage();
    void errorKeepsPreviousAnswer_data();
    void errorKeepsPreviousAnswer();
    void answerCanBeCopied();
    void pageSurvivesSwitching();
    void accessibleNames();

private:
    template <typename T> T* child(const char* name) const {
        T* const found = m_form->trigPage()->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("the trigonometry page has no %s", name);
        return found;
    }
    QRadioButton* radio(int number) const {
        return child<QRadioButton>(qPrintable(u"RadioButton%1"_s.arg(number)));
    }
    QLineEdit* angle() const { return child<QLineEdit>("Edit9"); }
    QLineEdit* value() const { return child<QLineEdit>("Edit10"); }
    QPushButton* calculate() const { return child<QPushButton>("Button2"); }
    QLineEdit* inputFor(int number) const { return isDirectButton(number) ? angle() : value(); }
    QLineEdit* outputFor(int number) const { return isDirectButton(number) ? value() : angle(); }

    // Chooses the function, types the text into its input field and presses Calculate.
    void evaluate(int number, const QString& text) {
        clickRadio(radio(number));
        QTest::keyClicks(inputFor(number), text);
        QTest::mouseClick(calculate(), Qt::LeftButton);
    }
    // The boxes shown so far; the list is emptied, so cleanup() sees only unexpected ones.
    QList<velmora::test::ShownBox> takeBoxes() { return std::exchange(m_boxes->boxes, {}); }
    void verifyEntryState(int number) const;
    QStringList snapshot() const;

    std::unique_ptr<velmora::test::MessageBoxRecorder> m_boxes;
    std::unique_ptr<velmora::TForm1> m_form;
};

void TestTrigPage::initTestCase() {
    // The run's locale must exist; the page reads its separator as the C library does.
    QCOMPARE(velmora::test::testLocaleProblem(), QString());
    QCOMPARE(velmora::localeDecimalSeparator(), velmora::test::testDecimalSeparator());
    // The colour checks mean nothing if the two system colours coincide.
    QVERIFY(QApplication::palette().color(QPalette::Active, QPalette::Base) !=
            QApplication::palette().color(QPalette::Active, QPalette::Button));
}

void TestTrigPage::init() {
    velmora::test::recordTopLevelWidgets();
    m_boxes = std::make_unique<velmora::test::MessageBoxRecorder>();
    m_form = std::make_unique<velmora::TForm1>();
    m_form->N12Click();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    const auto* pages = m_form->findChild<QTabWidget*>(u"PageControl1"_s);
    QVERIFY(pages);
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(pages->currentWidget(), m_form->trigPage());
}

void TestTrigPage::cleanup() {
    m_form.reset();
    velmora::test::verifyNoWindowLeftOpen();
    // A box no test asked for is a fault of the test that showed it.
    const QList<velmora::test::ShownBox> unexpected = takeBoxes();
    m_boxes.reset();
    for (const velmora::test::ShownBox& box : unexpected)
        qWarning("unexpected message box: %s", qPrintable(box.text));
    QVERIFY(unexpected.isEmpty());
}

// The input field of the chosen function open for typing and focused, the output field
// read-only, both empty, Calculate disabled.
void TestTrigPage::verifyEntryState(int number) const {
    QLineEdit* const input = inputFor(number);
    QLineEdit* const output = outputFor(number);
    QVERIFY(radio(number)->isChecked());
    QVERIFY(input->isEnabled());
    QVERIFY(hasFieldColour(input, FieldColour::Window));
    QVERIFY(input->hasFocus());
    QVERIFY(!input->isReadOnly());
    QVERIFY(output->isEnabled() && output->isReadOnly());
    QVERIFY(hasFieldColour(output, FieldColour::ButtonFace));
    QCOMPARE(input->text(), QString());
    QCOMPARE(output->text(), QString());
    QVERIFY(!calculate()->isEnabled());
}

// Everything the user can see of the page's state, one line per control.
QStringList TestTrigPage::snapshot() const {
    QStringList lines;
    for (int number = 1; number <= 8; ++number) {
        const QRadioButton* const button = radio(number);
        lines << u"%1 checked=%2 enabled=%3"_s.arg(button->objectName())
                     .arg(button->isChecked())
                     .arg(button->isEnabled());
    }
    for (const QLineEdit* field : {angle(), value()})
        lines << u"%1 text='%2' enabled=%3 colour=%4"_s.arg(field->objectName(), field->text())
                     .arg(field->isEnabled())
                     .arg(colourName(field));
    lines << u"Button2 enabled=%1"_s.arg(calculate()->isEnabled());
    return lines;
}

void TestTrigPage::startState() {
    for (int number = 1; number <= 8; ++number)
        QVERIFY2(!radio(number)->isChecked(), qPrintable(radio(number)->objectName()));
    for (const QLineEdit* field : {angle(), value()}) {
        QVERIFY(!field->isEnabled());
        QCOMPARE(colourName(field), u"button face"_s);
        QCOMPARE(field->text(), QString());
        QCOMPARE(field->maxLength(), 14);
    }
    QVERIFY(!calculate()->isEnabled());
    QVERIFY(!radio(7)->isEnabled());

    // With no function chosen there is nothing to evaluate: no text, no colour, no box.
    m_form->trigPage()->Button2Click();
    QCOMPARE(angle()->text(), QString());
    QCOMPARE(value()->text(), QString());
    QCOMPARE(colourName(angle()), u"button face"_s);
    QCOMPARE(colourName(value()), u"button face"_s);
}

void TestTrigPage::disabledArctgCannotBeChosen() {
    QCOMPARE(radio(7)->text(), u"arctg \u0251"_s);
    const QStringList before = snapshot();
    clickRadio(radio(7));
    QCOMPARE(snapshot(), before);

    // Nor does it disturb a function already chosen.
    evaluate(1, u"30"_s);
    const QStringList evaluated = snapshot();
    clickRadio(radio(7));
    QCOMPARE(snapshot(), evaluated);
}

void TestTrigPage::chooseFunction_data() {
    QTest::addColumn<int>("button");
    const char* const names[] = {"sin", "cos", "tg", "ctg", "arcsin", "arccos", "", "arcctg"};
    for (int number : {1, 2, 3, 4, 5, 6, 8})
        QTest::newRow(names[number - 1]) << number;
}

void TestTrigPage::chooseFunction() {
    QFETCH(int, button);
    clickRadio(radio(button));
    verifyEntryState(button);
}

void TestTrigPage::chooseOtherFunctionClears_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("second");
    QTest::newRow("sin to cos") << 1 << u"30"_s << 2;
    QTest::newRow("sin to arcsin") << 1 << u"30"_s << 5;
    QTest::newRow("arcsin to arcctg") << 5 << u"0,5"_s << 8;
    QTest::newRow("arccos to ctg") << 6 << u"0,5"_s << 4;
}

// After an evaluation both fields hold text and Calculate is enabled; another function, in
// either group, starts afresh.
void TestTrigPage::chooseOtherFunctionClears() {
    QFETCH(int, first);
    QFETCH(QString, input);
    QFETCH(int, second);
    input = local(input);
    evaluate(first, input);
    QCOMPARE(inputFor(first)->text(), input);
    QVERIFY(!outputFor(first)->text().isEmpty());
    QVERIFY(calculate()->isEnabled());

    clickRadio(radio(second));
    QVERIFY(!radio(first)->isChecked());
    verifyEntryState(second);
}

void TestTrigPage::chooseSameFunctionKeepsTexts() {
    // Before an evaluation: the typed text stays.
    clickRadio(radio(5));
    QTest::keyClicks(value(), local(u"0,5"_s));
    clickRadio(radio(5));
    QCOMPARE(value()->text(), local(u"0,5"_s));
    QVERIFY(calculate()->isEnabled());

    // After one: the input and the answer stay, and so do the colours and the button.
    evaluate(1, u"30"_s);
    const QStringList evaluated = snapshot();
    clickRadio(radio(1));
    QCOMPARE(snapshot(), evaluated);
}

void TestTrigPage::keyFilter_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");

    // Each row runs in the angle field (sin) and in the value field (arcsin). The texts write
    // the separator as ","; "." and "," both type the run's separator.
    const struct {
        const char* name;
        QString typed;
        QString text;
    } rows[] = {
        {"full stop types the separator", u"1.5"_s, u"1,5"_s},
        {"latin letters refused", u"1e5x"_s, u"15"_s},
        {"cyrillic letter refused", u"1\u044e5"_s, u"15"_s},
        {"space refused", u" 1 2 "_s, u"12"_s},
        {"minus and comma anywhere, repeated", u"-1-,2,-,"_s, u"-1-,2,-,"_s},
        {"fifteenth character refused", u"123456789,1234-"_s, u"123456789,1234"_s},
    };
    for (const auto& row : rows) {
        for (int button : {1, 5})
            QTest::addRow("%s, %s", row.name, isDirectButton(button) ? "angle" : "value")
                << button << row.typed << row.text;
    }
}

void TestTrigPage::keyFilter() {
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    text = local(text);
    clickRadio(radio(button));
    typeText(inputFor(button), typed);
    QCOMPARE(inputFor(button)->text(), text);

    // Backspace passes too.
    QTest::keyClick(inputFor(button), Qt::Key_Backspace);
    QCOMPARE(inputFor(button)->text(), text.chopped(1));
}

void TestTrigPage::editingKeysPass_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText"); // the text the window system puts in the key event
    QTest::addColumn<QString>("text");    // the field's text afterwards ("123" typed, cursor at 1)
    QTest::addColumn<QString>("focus");

    // The read-only answer field takes the focus, so its answer can be copied.
    QTest::newRow("Tab from the angle to the answer field")
        << 1 << int(Qt::Key_Tab) << int(Qt::NoModifier) << u"\t"_s << u"123"_s << u"Edit10"_s;
    QTest::newRow("Shift+Tab from the value to the answer field")
        << 5 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << u"\t"_s << u"123"_s << u"Edit9"_s;
    // X11 gives Delete the text DEL (0x7f).
    QTest::newRow("Delete in the angle")
        << 1 << int(Qt::Key_Delete) << int(Qt::NoModifier) << u"\x7f"_s << u"13"_s << u"Edit9"_s;
    QTest::newRow("Delete in the value")
        << 5 << int(Qt::Key_Delete) << int(Qt::NoModifier) << u"\x7f"_s << u"13"_s << u"Edit10"_s;
}

// Keys that type no digit still do their usual work in a filtered field.
void TestTrigPage::editingKeysPass() {
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, text);
    QFETCH(QString, focus);

    clickRadio(radio(button));
    QLineEdit* const input = inputFor(button);
    QTest::keyClicks(input, u"123"_s);
    input->setCursorPosition(1);
    QTest::sendKeyEvent(QTest::Click, input, Qt::Key(key), keyText,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(input->text(), text);
    const QWidget* const focused = QApplication::focusWidget();
    QCOMPARE(focused ? focused->objectName() : QString(), focus);
}

void TestTrigPage::enterNeitherCalculatesNorInserts() {
    for (int button : {1, 5}) {
        clickRadio(radio(button));
        QLineEdit* const input = inputFor(button);
        QTest::keyClicks(input, u"1"_s);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(input, key);
        QTest::keyClicks(input, u"0"_s);
        QCOMPARE(input->text(), u"10"_s);
        QCOMPARE(outputFor(button)->text(), QString());
        QCOMPARE(colourName(outputFor(button)), u"button face"_s);
        QVERIFY(calculate()->isEnabled());
    }
}

void TestTrigPage::ownSeparatorPassesFilter_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QChar>("character");
    QTest::addColumn<bool>("passes");
    QTest::newRow("full stop where it is the separator") << QChar(u'.') << QChar(u'.') << true;
    QTest::newRow("comma where the full stop is the separator")
        << QChar(u'.') << QChar(u',') << true;
    QTest::newRow("full stop where the comma is the separator")
        << QChar(u',') << QChar(u'.') << false;
}

// The filter's rule for both separators, whichever locale this run has.
void TestTrigPage::ownSeparatorPassesFilter() {
    QFETCH(QChar, separator);
    QFETCH(QChar, character);
    QFETCH(bool, passes);
    QCOMPARE(velmora::isNumberEntryCharacter(character.unicode(), separator), passes);
}

void TestTrigPage::changeRule_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    const struct {
        const char* name;
        QString typed;
        int backspaces;
        QString text;
        bool enabled;
    } rows[] = {
        {"typed then deleted", u"5"_s, 1, u""_s, false},
        {"lone minus", u"-"_s, 0, u"-"_s, false},
        {"lone comma", u","_s, 0, u","_s, false},
        {"-5", u"-5"_s, 0, u"-5"_s, true},
        {",5", u",5"_s, 0, u",5"_s, true},
        {"-,", u"-,"_s, 0, u"-,"_s, true},
        {"1-", u"1-"_s, 0, u"1-"_s, true},
        {"--5", u"--5"_s, 0, u"--5"_s, true},
        {"1,2,3", u"1,2,3"_s, 0, u"1,2,3"_s, true},
        {"-5 deleted back to minus", u"-5"_s, 1, u"-"_s, false},
        {",5 deleted back to comma", u",5"_s, 1, u","_s, false},
    };
    for (const auto& row : rows) {
        for (int button : {1, 5})
            QTest::addRow("%s, %s", row.name, isDirectButton(button) ? "angle" : "value")
                << button << row.typed << row.backspaces << row.text << row.enabled;
    }
    // Where the separator is not the comma, it alone disables the button as the comma does.
    if (velmora::test::testDecimalSeparator() != u',') {
        for (int button : {1, 5}) {
            const char* field = isDirectButton(button) ? "angle" : "value";
            QTest::addRow("lone separator, %s", field)
                << button << local(u","_s) << 0 << local(u","_s) << false;
            QTest::addRow("separator and digit, %s", field)
                << button << local(u",5"_s) << 0 << local(u",5"_s) << true;
            QTest::addRow("deleted back to the separator, %s", field)
                << button << local(u",5"_s) << 1 << local(u","_s) << false;
        }
    }
}

void TestTrigPage::changeRule() {
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(int, backspaces);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    // The comma key types the run's separator.
    text = local(text);
    clickRadio(radio(button));
    QLineEdit* const input = inputFor(button);
    QTest::keyClicks(input, typed);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(input, Qt::Key_Backspace);
    QCOMPARE(input->text(), text);
    QCOMPARE(calculate()->isEnabled(), enabled);
}

void TestTrigPage::clearingInputAfterEvaluationDisables() {
    evaluate(1, u"30"_s);
    QVERIFY(calculate()->isEnabled());
    QTest::keyClick(angle(), Qt::Key_Backspace);
    QVERIFY(calculate()->isEnabled());
    QTest::keyClick(angle(), Qt::Key_Backspace);
    QCOMPARE(angle()->text(), QString());
    // The answer in the other field plays no part, and it stays until the next evaluation.
    QVERIFY(!calculate()->isEnabled());
    QCOMPARE(value()->text(), local(u"0,50000"_s));
}

void TestTrigPage::evaluation_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    // One row per usable function, so each button is shown to reach its own function.
    QTest::newRow("sin 30") << 1 << u"30"_s << u"0,50000"_s;
    QTest::newRow("sin 90, exact") << 1 << u"90"_s << u"1"_s;
    QTest::newRow("cos 120") << 2 << u"120"_s << u"-0,50000"_s;
    QTest::newRow("tg 90, undefined") << 3 << u"90"_s << kDash;
    QTest::newRow("ctg 1") << 4 << u"1"_s << u"57,29000"_s;
    QTest::newRow("arcsin 0,5") << 5 << u"0,5"_s << u"30,00000"_s;
    QTest::newRow("arccos -1, exact") << 6 << u"-1"_s << u"180"_s;
    QTest::newRow("arcctg -1") << 8 << u"-1"_s << u"-45,00000"_s;
}

void TestTrigPage::evaluation() {
    QFETCH(int, button);
    QFETCH(QString, input);
    QFETCH(QString, answer);
    input = local(input);
    answer = local(answer);
    evaluate(button, input);

    QLineEdit* const in = inputFor(button);
    QLineEdit* const out = outputFor(button);
    QCOMPARE(out->text(), answer);
    QCOMPARE(in->text(), input);
    // The answer is shown in the window colour in a field the user still cannot edit.
    QVERIFY(out->isEnabled() && out->isReadOnly());
    QCOMPARE(colourName(out), u"window"_s);
    QVERIFY(in->isEnabled());
    QCOMPARE(colourName(in), u"window"_s);
    QVERIFY(calculate()->isEnabled());

    // A second press with the same input gives the same answer.
    QTest::mouseClick(calculate(), Qt::LeftButton);
    QCOMPARE(out->text(), answer);
}

void TestTrigPage::evaluationError_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("outputColour");
    // A text that is no number stops before the output field changes colour; a failure in
    // the computation comes after it.
    QTest::newRow("sin 1,2,3") << 1 << u"1,2,3"_s
                               << u"'1,2,3' is not a valid floating point value."_s
                               << u"button face"_s;
    QTest::newRow("cos 1-") << 2 << u"1-"_s << u"'1-' is not a valid floating point value."_s
                            << u"button face"_s;
    QTest::newRow("arccos --5") << 6 << u"--5"_s << u"'--5' is not a valid floating point value."_s
                                << u"button face"_s;
    QTest::newRow("arcsin 2") << 5 << u"2"_s << u"Invalid floating point operation."_s
                              << u"window"_s;
    QTest::newRow("arccos -1,5") << 6 << u"-1,5"_s << u"Invalid floating point operation."_s
                                 << u"window"_s;
    QTest::newRow("ctg 0,0") << 4 << u"0,0"_s << u"Floating point division by zero."_s
                             << u"window"_s;
    QTest::newRow("ctg -0") << 4 << u"-0"_s << u"Floating point division by zero."_s << u"window"_s;
}

void TestTrigPage::evaluationError() {
    QFETCH(int, button);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QString, outputColour);
    input = local(input);
    message = local(message);
    evaluate(button, input);

    const QList<velmora::test::ShownBox> boxes = takeBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front().text, message);
    QCOMPARE(boxes.front().caption, kErrorCaption);
    QCOMPARE(boxes.front().flags, 0x10u);

    QCOMPARE(inputFor(button)->text(), input);
    QCOMPARE(outputFor(button)->text(), QString());
    QCOMPARE(colourName(outputFor(button)), outputColour);
    QVERIFY(outputFor(button)->isReadOnly());
    QVERIFY(inputFor(button)->isEnabled());
    QVERIFY(calculate()->isEnabled());
}

// The error reports speak the interface's language, the English file keeping the words of old.
void TestTrigPage::errorReportsSpeakTheInterfacesLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");

    QTest::newRow("Russian, arcsin 2")
        << u"Russian"_s << 5 << u"2"_s << u"Недопустимая операция с числами с плавающей запятой."_s;
    QTest::newRow("Russian, ctg 0,0") << u"Russian"_s << 4 << u"0,0"_s << u"Деление на ноль."_s;
    QTest::newRow("Russian, sin 1,2,3")
        << u"Russian"_s << 1 << u"1,2,3"_s << u"«1,2,3» не является правильным числом."_s;
    QTest::newRow("Ukrainian, arcsin 2")
        << u"Ukrainian"_s << 5 << u"2"_s << u"Неприпустима операція з числами з рухомою комою."_s;
    QTest::newRow("Ukrainian, ctg 0,0") << u"Ukrainian"_s << 4 << u"0,0"_s << u"Ділення на нуль."_s;
    QTest::newRow("Ukrainian, sin 1,2,3")
        << u"Ukrainian"_s << 1 << u"1,2,3"_s << u"«1,2,3» не є правильним числом."_s;
    QTest::newRow("English, arcsin 2")
        << u"English"_s << 5 << u"2"_s << u"Invalid floating point operation."_s;
    QTest::newRow("English, ctg 0,0")
        << u"English"_s << 4 << u"0,0"_s << u"Floating point division by zero."_s;
    QTest::newRow("English, sin 1,2,3")
        << u"English"_s << 1 << u"1,2,3"_s << u"'1,2,3' is not a valid floating point value."_s;
}

void TestTrigPage::errorReportsSpeakTheInterfacesLanguage() {
    QFETCH(QString, language);
    QFETCH(int, button);
    QFETCH(QString, input);
    QFETCH(QString, message);

    // What the program sets up before its first window, the report's wording among it.
    velmora::initApplication();
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::loadLanguage(language);
    const auto forget = qScopeGuard([] {
        for (int line = 1; line <= velmora::Global::MoreLines; ++line)
            velmora::Global::setText(velmora::TextTable::More, line, QString());
    });
    evaluate(button, local(input));

    const QList<velmora::test::ShownBox> boxes = takeBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front().text, local(message));
    QCOMPARE(boxes.front().caption, kErrorCaption);
    QCOMPARE(boxes.front().flags, 0x10u);
}

void TestTrigPage::errorKeepsPreviousAnswer_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("badInput");
    QTest::addColumn<QString>("message");
    QTest::newRow("sin, then not a number") << 1 << u"30"_s << u"0,50000"_s << u"1,2,3"_s
                                            << u"'1,2,3' is not a valid floating point value."_s;
    QTest::newRow("arcsin, then out of range")
        << 5 << u"0,5"_s << u"30,00000"_s << u"2"_s << u"Invalid floating point operation."_s;
    QTest::newRow("ctg, then a zero angle")
        << 4 << u"45"_s << u"1"_s << u"0,0"_s << u"Floating point division by zero."_s;
}

// A failed evaluation leaves the last answer where it was.
void TestTrigPage::errorKeepsPreviousAnswer() {
    QFETCH(int, button);
    QFETCH(QString, input);
    QFETCH(QString, answer);
    QFETCH(QString, badInput);
    QFETCH(QString, message);
    for (QString* text : {&input, &answer, &badInput, &message})
        *text = local(*text);
    evaluate(button, input);
    QCOMPARE(outputFor(button)->text(), answer);

    QLineEdit* const in = inputFor(button);
    in->selectAll();
    QTest::keyClicks(in, badInput);
    QCOMPARE(in->text(), badInput);
    // Editing the input does not touch the answer either.
    QCOMPARE(outputFor(button)->text(), answer);
    QTest::mouseClick(calculate(), Qt::LeftButton);

    const QList<velmora::test::ShownBox> boxes = takeBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front().text, message);
    QCOMPARE(in->text(), badInput);
    QCOMPARE(outputFor(button)->text(), answer);
    QCOMPARE(colourName(outputFor(button)), u"window"_s);
    QVERIFY(calculate()->isEnabled());
}

// The answer can be selected and copied, by the keyboard and by the field's menu, and not
// changed; the field keeps its role and its muted text.
void TestTrigPage::answerCanBeCopied() {
    evaluate(1, u"30"_s);
    QLineEdit* const out = outputFor(1);
    QCOMPARE(out->text(), local(u"0,50000"_s));
    QCOMPARE(out->palette().color(QPalette::Active, QPalette::Text),
             out->palette().color(QPalette::Disabled, QPalette::Text));
    QApplication::clipboard()->clear();
    out->setFocus();
    QVERIFY(out->hasFocus());
    QTest::keyClick(out, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(out->selectedText(), out->text());
    QTest::keyClick(out, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), local(u"0,50000"_s));
    QTest::keyClicks(out, u"12"_s);
    QTest::keyClick(out, Qt::Key_Backspace);
    QCOMPARE(out->text(), local(u"0,50000"_s));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(out);
    QCOMPARE(face->role(), QAccessible::EditableText);
    QVERIFY(face->state().readOnly);
    // Choosing another function makes the other field the answer field.
    clickRadio(radio(5));
    QVERIFY(!out->isReadOnly());
    QVERIFY(inputFor(5) == out && outputFor(5)->isReadOnly());
}

void TestTrigPage::pageSurvivesSwitching() {
    auto* const pages = m_form->findChild<QTabWidget*>(u"PageControl1"_s);
    QVERIFY(pages);
    // An inverse function evaluated, then the input edited, so neither field is at its start.
    evaluate(6, local(u"0,5"_s));
    QTest::keyClicks(value(), u"1"_s);
    const QStringList before = snapshot();
    QCOMPARE(value()->text(), local(u"0,51"_s));
    QCOMPARE(angle()->text(), local(u"60,00000"_s));

    m_form->N7Click();
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(!m_form->trigPage()->isVisible());
    m_form->N12Click();
    QCOMPARE(pages->currentIndex(), 1);
    QVERIFY(m_form->trigPage()->isVisible());
    QCOMPARE(snapshot(), before);

    // The same by the tabs themselves.
    pages->setCurrentIndex(0);
    pages->setCurrentIndex(1);
    QCOMPARE(snapshot(), before);
}

void TestTrigPage::accessibleNames() {
    const auto* angleLabel = child<QLabel>("Label6");
    const auto* valueLabel = child<QLabel>("Label8");
    QVERIFY(!angleLabel->text().isEmpty());
    QVERIFY(!valueLabel->text().isEmpty());
    QVERIFY(!calculate()->text().isEmpty());
    QCOMPARE(accessibleName(angle()), angleLabel->text());
    QCOMPARE(accessibleName(value()), valueLabel->text());
    QCOMPARE(accessibleName(calculate()), calculate()->text());
}

int main(int argc, char** argv) {
    // Answers are written with the locale's separator: "," unless CTest chose another locale.
    velmora::test::useTestLocale();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestTrigPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_trigpage.moc"
