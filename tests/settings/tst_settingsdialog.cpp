// The settings dialog offscreen over seeded stores: the designed dialog, the keyboard and the
// screen-reader names, what a showing reads, what the buttons write, the glass layout, the
// failures and their reports, the texts of the three languages, and the main window following
// a language change.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/store/registry.h"
#include "settings/settingsdialog.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "state/language.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using velmora::TextTable;
using velmora::TForm3;
using velmora::test::MessageBoxRecorder;
using velmora::test::ShownBox;
using velmora::test::TemporaryStore;
namespace Global = velmora::Global;

namespace {

const QString kProgramKey = QStringLiteral("SOFTWARE\\Velmora\\3.2");
const QString kDwmKey = QStringLiteral("Software\\Microsoft\\Windows\\DWM");

// A store with the program's key holding the given values and, when given, the desktop's
// composition values.
QByteArray storeJson(const QJsonObject& program, const QJsonObject& dwm = {}) {
    QJsonObject roots{{QStringLiteral("HKEY_LOCAL_MACHINE"), QJsonObject{{kProgramKey, program}}}};
    if (!dwm.isEmpty())
        roots.insert(QStringLiteral("HKEY_CURRENT_USER"), QJsonObject{{kDwmKey, dwm}});
    return QJsonDocument(roots).toJson();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's stored values as "name=text" in name order; a number shows as "#n".
QString programValues(const QString& storePath) {
    const QJsonObject values = QJsonDocument::fromJson(fileBytes(storePath))
                                   .object()
                                   .value(QStringLiteral("HKEY_LOCAL_MACHINE"))
                                   .toObject()
                                   .value(kProgramKey)
                                   .toObject();
    QStringList entries;
    for (auto it = values.begin(); it != values.end(); ++it)
        entries << it.key() + QLatin1Char('=') +
                       (it.value().isString() ? it.value().toString()
                                              : QStringLiteral("#%1").arg(it.value().toInt()));
    return entries.join(QLatin1String("; "));
}

QString boxText(const ShownBox& box) {
    return QStringLiteral("%1 | %2 | 0x%3").arg(box.caption, box.text).arg(box.flags, 0, 16);
}

QStringList boxTexts(const QList<ShownBox>& boxes) {
    QStringList texts;
    for (const ShownBox& box : boxes)
        texts << boxText(box);
    return texts;
}

QString focusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// What a screen reader reads as a selector's label: on Linux a drop-down list's name is its
// selected item, and the label comes through the "labelled by" relation; elsewhere the name.
QString selectorLabel(QWidget* selector) {
    QStringList labels;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(selector);
    for (const auto& [other, relation] : face->relations(QAccessible::Label))
        labels << other->text(QAccessible::Name);
    if (selector->accessibleName() != labels.value(0))
        labels << QStringLiteral("named ") + selector->accessibleName();
    return labels.join(QLatin1String(", "));
}

void useLanguage(const QString& name) {
    Global::setLanguageName(name);
    velmora::loadLanguage(name);
}

// Every stored program value of a "full" seed, none of them a default.
QJsonObject nonDefaultSettings() {
    return {{QStringLiteral("Language"), QStringLiteral("English")},
            {QStringLiteral("Auto update"), QStringLiteral("false")},
            {QStringLiteral("Detailed solution"), QStringLiteral("false")},
            {QStringLiteral("Keep window position"), QStringLiteral("false")},
            {QStringLiteral("Replacement"), QStringLiteral("m")}};
}

// A Russian language file whose "Settings" lines say where each caption went.
QByteArray fixtureSettings(const QMap<int, QByteArray>& changed = {}) {
    QMap<int, QByteArray> lines{{1, "caption"},  {2, "label one"}, {3, "120"},       {4, "box one"},
                                {5, "box two"},  {6, "box three"}, {7, "label two"}, {8, "300"},
                                {9, "defaults"}, {10, "ok"},       {11, "cancel"},   {12, "apply"}};
    for (auto it = changed.begin(); it != changed.end(); ++it)
        lines[it.key()] = it.value();
    QByteArray text = "[Settings]\n";
    for (auto it = lines.begin(); it != lines.end(); ++it)
        text += QByteArray::number(it.key()) + '=' + it.value() + '\n';
    return text;
}

} // namespace

class TstSettingsDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designedControls_data();
    void designedControls();
    void designedFrameAndLists();
    void keyboardAndScreenReaders();
    void showingReadsTheStore_data();
    void showingReadsTheStore();
    void buttons_data();
    void buttons();
    void restoreDefaultsOffersTheLocalesLanguage_data();
    void restoreDefaultsOffersTheLocalesLanguage();
    void glassLayout_data();
    void glassLayout();
    void failuresWhileShowing_data();
    void failuresWhileShowing();
    void refusedWriteKeepsTheDialogOpen_data();
    void refusedWriteKeepsTheDialogOpen();
    void textsFitInEveryLanguage_data();
    void textsFitInEveryLanguage();
    void mainWindowFollowsTheLanguage_data();
    void mainWindowFollowsTheLanguage();

private:
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }
    QComboBox* languages() const { return child<QComboBox>("ComboBox1"); }
    QComboBox* letters() const { return child<QComboBox>("ComboBox2"); }
    QCheckBox* box(int n) const {
        return m_dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
    }
    QPushButton* button(const QString& name) const {
        return m_dialog->findChild<QPushButton*>(QStringLiteral("Button") + name);
    }
    // "language | boxes | letter", e.g. "English | on off on | m".
    QString controls() const;
    // The captions and selector positions that the texts set, in the order they are set.
    QString captions() const;
    void showDialog();
    // Russian language files holding the given text, in a data folder of their own.
    void useFixtureLanguage(const QByteArray& text);

    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<TForm3> m_dialog;
};

void TstSettingsDialog::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
    // The shipped language files, Russian loaded as at start-up.
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    useLanguage(QStringLiteral("Russian"));
    // A locale of the English interface, whatever the machine's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dialog = std::make_unique<TForm3>();
}

void TstSettingsDialog::cleanup() {
    QLocale::setDefault(QLocale::system());
    m_dialog.reset();
    velmora::destroyWindows();
    m_data.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
    // Nor is a hidden one left behind.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TstSettingsDialog::controls() const {
    QStringList boxes;
    for (int n = 1; n <= 3; ++n)
        boxes << QLatin1String(box(n)->isChecked() ? "on" : "off");
    return QStringLiteral("%1 | %2 | %3")
        .arg(languages()->currentText(), boxes.join(QLatin1Char(' ')), letters()->currentText());
}

QString TstSettingsDialog::captions() const {
    return QStringList{m_dialog->windowTitle(),
                       child<QLabel>("Label1")->text(),
                       QString::number(languages()->x()),
                       box(1)->text(),
                       box(2)->text(),
                       box(3)->text(),
                       child<QLabel>("Label2")->text(),
                       QString::number(letters()->x()),
                       button(QStringLiteral("Default"))->text(),
                       button(QStringLiteral("OK"))->text(),
                       button(QStringLiteral("Cancel"))->text(),
                       button(QStringLiteral("Apply"))->text()}
        .join(QLatin1String(" | "));
}

void TstSettingsDialog::showDialog() {
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TstSettingsDialog::useFixtureLanguage(const QByteArray& text) {
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_data->path()).mkpath(QStringLiteral("language")));
    if (!text.isNull()) {
        QFile file(m_data->filePath(QStringLiteral("language/Russian.lng")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    qputenv("VELMORA_DATA_DIR", m_data->path().toLocal8Bit());
    useLanguage(QStringLiteral("Russian"));
}

void TstSettingsDialog::designedControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("Label1") << "Label1" << QRect(16, 16, 110, 0) << "Язык интерфейса";
    QTest::newRow("ComboBox1") << "ComboBox1" << QRect(128, 13, 98, 0) << "Русский";
    QTest::newRow("CheckBox1") << "CheckBox1" << QRect(16, 48, 378, 0)
                               << "Автоматически проверять наличие обновлений";
    QTest::newRow("CheckBox2") << "CheckBox2" << QRect(16, 72, 378, 0)
                               << "При запуске показывать подробное решение";
    QTest::newRow("CheckBox3") << "CheckBox3" << QRect(16, 96, 378, 0)
                               << "Сохранять положение окна программы на экране";
    QTest::newRow("Label2") << "Label2" << QRect(16, 120, 350, 0)
                            << "Для замены в биквадратном уравнении x² использовать";
    QTest::newRow("ComboBox2") << "ComboBox2" << QRect(360, 117, 40, 0) << "a";
    QTest::newRow("ButtonDefault")
        << "ButtonDefault" << QRect(16, 148, 176, 24) << "Восстановить умолчания";
    QTest::newRow("ButtonOK") << "ButtonOK" << QRect(16, 184, 104, 26) << "OK";
    QTest::newRow("ButtonCancel") << "ButtonCancel" << QRect(128, 184, 104, 26) << "Отмена";
    QTest::newRow("ButtonApply") << "ButtonApply" << QRect(238, 184, 104, 26) << "Применить";
}

void TstSettingsDialog::designedControls() {
    // Height 0: the control's own. Labels are as wide as their captions in the window font,
    // and the language selector as its longest item ("Українська"; designed 96 wide).
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    const QWidget* control = m_dialog->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->pos(), geometry.topLeft());
    QCOMPARE(control->width(), geometry.width());
    if (geometry.height())
        QCOMPARE(control->height(), geometry.height());
    QString shown;
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        shown = label->text();
    } else if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        shown = list->currentText();
        QVERIFY(!list->isEditable());
    } else if (const auto* press = qobject_cast<const QAbstractButton*>(control)) {
        shown = press->text();
        QVERIFY(!press->isChecked());
        if (const auto* push = qobject_cast<const QPushButton*>(control))
            QVERIFY(!push->isDefault() && !push->autoDefault());
    }
    QCOMPARE(shown, text);
}

void TstSettingsDialog::designedFrameAndLists() {
    // A fixed client area and a dialog frame with a title but no border icons.
    QCOMPARE(m_dialog->size(), QSize(410, 220));
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Настройки"));
    const Qt::WindowFlags flags = m_dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    for (Qt::WindowType icon :
         {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
        QVERIFY(!flags.testFlag(icon));

    QStringList items;
    for (int i = 0; i < languages()->count(); ++i)
        items << languages()->itemText(i);
    QCOMPARE(items, QStringList({"Русский", "English", "Українська"}));

    // Item i is letter i of the letters the stored value is looked up in.
    QString all;
    for (int i = 0; i < letters()->count(); ++i)
        all += letters()->itemText(i);
    QCOMPARE(all, QStringLiteral("abcdefghijklmnopqrstuvwyz"));
    QCOMPARE(all, velmora::catalogue::ReplacementLetters.toString());

    // The texts of another language do not touch the fixed lists.
    useLanguage(QStringLiteral("English"));
    showDialog();
    QCOMPARE(languages()->itemText(2), QStringLiteral("Українська"));
    QCOMPARE(letters()->count(), 25);
}

void TstSettingsDialog::keyboardAndScreenReaders() {
    m_store->seed(storeJson(nonDefaultSettings()));
    const QByteArray stored = fileBytes(m_store->path());
    QSignalSpy requests(m_dialog.get(), &TForm3::mainWindowTextsRequested);
    showDialog();
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));

    // Tab visits every control in the designed order, and Escape presses nothing on the way,
    // nor does Enter anywhere but on a button (which it presses, as the main window's test
    // shows for every button).
    QStringList visited{focusName()};
    for (int step = 0; step < 9; ++step) {
        QWidget* focus = QApplication::focusWidget();
        if (!qobject_cast<QPushButton*>(focus)) {
            QTest::keyClick(focus, Qt::Key_Return);
            QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY2(m_dialog->isVisible(), qPrintable(focusName()));
        QTest::keyClick(focus, Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited, QStringList({"ComboBox1", "CheckBox1", "CheckBox2", "CheckBox3", "ComboBox2",
                                   "ButtonDefault", "ButtonOK", "ButtonCancel", "ButtonApply",
                                   "ComboBox1"}));
    QCOMPARE(fileBytes(m_store->path()), stored);
    QCOMPARE(requests.count(), 0);
    QCOMPARE(controls(), QStringLiteral("English | off off off | m"));

    // The selectors follow the arrow keys, the check boxes Space.
    QTest::keyClick(languages(), Qt::Key_Down);
    QTest::keyClick(letters(), Qt::Key_Down);
    QTest::keyClick(letters(), Qt::Key_Down);
    QTest::keyClick(letters(), Qt::Key_Up);
    QTest::keyClick(box(2), Qt::Key_Space);
    QCOMPARE(controls(), QStringLiteral("Українська | off on off | n"));

    // Screen readers name each selector after its label and each other control by its text.
    QCOMPARE(selectorLabel(languages()), QStringLiteral("Язык интерфейса"));
    QCOMPARE(selectorLabel(letters()), QStringLiteral("В биквадратном уравнении заменять x² на"));
    QCOMPARE(accessibleName(box(1)), QStringLiteral("Автоматически проверять наличие обновлений"));
    QCOMPARE(accessibleName(button(QStringLiteral("Default"))),
             QStringLiteral("Восстановить умолчания"));
    QVERIFY(m_boxes->boxes.isEmpty());
}

void TstSettingsDialog::showingReadsTheStore_data() {
    QTest::addColumn<QJsonObject>("program");
    QTest::addColumn<bool>("shownBefore"); // the controls as an earlier showing left them
    QTest::addColumn<QString>("expected");

    // Where the store names no language with a file, the list shows the language the window
    // shows: the locale's (English here, see init()).
    const QString before = QStringLiteral("English | on off on | k");
    const QString designed = QStringLiteral("English | off off off | a");
    using Values = QJsonObject;

    QTest::newRow("nothing stored, first showing") << Values() << false << designed;
    QTest::newRow("nothing stored keeps the controls") << Values() << true << before;
    QTest::newRow("every value stored") << Values{{"Language", "English"},
                                                  {"Auto update", "false"},
                                                  {"Detailed solution", "true"},
                                                  {"Keep window position", "false"},
                                                  {"Replacement", "z"}}
                                        << true << "English | off on off | z";
    QTest::newRow("Russian") << Values{{"Language", "Russian"}} << true
                             << "Русский | on off on | k";
    QTest::newRow("unknown language at the first showing")
        << Values{{"Language", "German"}} << false << designed;
    QTest::newRow("unknown language: the locale's")
        << Values{{"Language", "German"}} << true << before;
    QTest::newRow("language name in other letter case")
        << Values{{"Language", "english"}} << true << before;
    QTest::newRow("language stored as a number, silently")
        << Values{{"Language", 1}} << true << before;
    QTest::newRow("flags in other letter case or empty") << Values{{"Auto update", "False"},
                                                                   {"Detailed solution", "TRUE"},
                                                                   {"Keep window position", ""}}
                                                         << true << before;
    QTest::newRow("each flag on its own") << Values{{"Auto update", "false"},
                                                    {"Detailed solution", "yes"},
                                                    {"Keep window position", "false"}}
                                          << true << "English | off off off | k";
    QTest::newRow("letter a, the first item")
        << Values{{"Replacement", "a"}} << true << "English | on off on | a";
    QTest::newRow("letter y, item 23")
        << Values{{"Replacement", "y"}} << true << "English | on off on | y";
    QTest::newRow("mn gives m") << Values{{"Replacement", "mn"}} << true
                                << "English | on off on | m";
    QTest::newRow("wy gives w, x is not in the list")
        << Values{{"Replacement", "wy"}} << true << "English | on off on | w";
    QTest::newRow("x keeps the letter") << Values{{"Replacement", "x"}} << true << before;
    QTest::newRow("upper case keeps the letter") << Values{{"Replacement", "Y"}} << true << before;
    QTest::newRow("empty letter keeps the letter") << Values{{"Replacement", ""}} << true << before;
}

void TstSettingsDialog::showingReadsTheStore() {
    QFETCH(QJsonObject, program);
    QFETCH(bool, shownBefore);
    QFETCH(QString, expected);

    m_store->seed(storeJson(program));
    if (shownBefore) {
        languages()->setCurrentIndex(2);
        box(1)->setChecked(true);
        box(3)->setChecked(true);
        letters()->setCurrentIndex(letters()->findText(QStringLiteral("k")));
    }
    const QByteArray stored = fileBytes(m_store->path());
    showDialog();
    QCOMPARE(controls(), expected);
    if (expected.endsWith(QLatin1String("| y")))
        QCOMPARE(letters()->currentIndex(), 23);
    QCOMPARE(boxTexts(m_boxes->boxes), QStringList());
    // The texts were applied after the settings were read.
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(languages()->x(), 136);
    // Showing writes nothing.
    QCOMPARE(fileBytes(m_store->path()), stored);
}

void TstSettingsDialog::buttons_data() {
    // Steps: show, OK, Cancel, Apply, Default, "language <item>", "letter <text>",
    // "box <n>" (click), "store <name>=<text>" (written behind the dialog's back).
    QTest::addColumn<QJsonObject>("program");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("stored");
    // "<language name> | <Settings line 1 of the tables> | <dialog caption> | <controls> |
    // <shown or hidden> | <main window text requests>"
    QTest::addColumn<QString>("after");

    const QJsonObject full = nonDefaultSettings();
    const QString fullStored = QStringLiteral("Auto update=false; Detailed solution=false; "
                                              "Keep window position=false; Language=English; "
                                              "Replacement=m");

    QTest::newRow("OK writes what the controls show")
        << full << QStringList{"show", "box 1", "letter q", "OK"}
        << "Auto update=true; Detailed solution=false; Keep window position=false; "
           "Language=English; Replacement=q"
        << "English | Settings | Настройки | English | on off off | q | hidden | 1";
    QTest::newRow("unknown language: OK writes the locale's")
        << QJsonObject{{"Language", "German"}, {"Replacement", "c"}} << QStringList{"show", "OK"}
        << "Auto update=false; Detailed solution=false; Keep window position=false; "
           "Language=English; Replacement=c"
        << "English | Settings | Настройки | English | off off off | c | hidden | 1";
    QTest::newRow("unknown language shows the locale's, OK writes it")
        << full << QStringList{"show", "Cancel", "store Language=english", "show", "OK"}
        << fullStored << "English | Settings | Настройки | English | off off off | m | hidden | 2";
    QTest::newRow("Auto update missing keeps the box, OK writes false")
        << QJsonObject{{"Language", "Russian"},
                       {"Detailed solution", "true"},
                       {"Keep window position", "true"},
                       {"Replacement", "m"}}
        << QStringList{"show", "OK"}
        << "Auto update=false; Detailed solution=true; Keep window position=true; "
           "Language=Russian; Replacement=m"
        << "Russian | Настройки | Настройки | Русский | off on on | m | hidden | 1";
    QTest::newRow("defaults, then Cancel writes nothing")
        << QJsonObject{{"Language", "Ukrainian"}} << QStringList{"show", "Default", "Cancel"}
        << "Language=Ukrainian"
        << "Russian | Настройки | Настройки | English | on on on | y | hidden | 1";
    QTest::newRow("defaults, then OK writes the defaults, the locale's language")
        << full << QStringList{"show", "language 0", "Default", "OK"}
        << "Auto update=true; Detailed solution=true; Keep window position=true; "
           "Language=English; Replacement=y"
        << "English | Settings | Настройки | English | on on on | y | hidden | 1";
    QTest::newRow("Apply English: the dialog's texts change, it stays open")
        << QJsonObject{{"Language", "Russian"}} << QStringList{"show", "language 1", "Apply"}
        << "Auto update=false; Detailed solution=false; Keep window position=false; "
           "Language=English; Replacement=a"
        << "English | Settings | Settings | English | off off off | a | shown | 0";
    QTest::newRow("Apply English, then Cancel: English stays")
        << QJsonObject{{"Language", "Russian"}}
        << QStringList{"show", "language 1", "Apply", "Cancel"}
        << "Auto update=false; Detailed solution=false; Keep window position=false; "
           "Language=English; Replacement=a"
        << "English | Settings | Settings | English | off off off | a | hidden | 1";
    QTest::newRow("Ukrainian, then Cancel: nothing saved or loaded")
        << full << QStringList{"show", "language 2", "Cancel"} << fullStored
        << "Russian | Настройки | Настройки | Українська | off off off | m | hidden | 1";
    QTest::newRow("y round trip: item 23 at the next showing")
        << full << QStringList{"show", "letter y", "OK", "letter c", "show"}
        << "Auto update=false; Detailed solution=false; Keep window position=false; "
           "Language=English; Replacement=y"
        << "English | Settings | Settings | English | off off off | y | shown | 1";
    QTest::newRow("the next showing reads what was stored meanwhile")
        << full << QStringList{"show", "OK", "store Detailed solution=true", "show"}
        << "Auto update=false; Detailed solution=true; Keep window position=false; "
           "Language=English; Replacement=m"
        << "English | Settings | Settings | English | off on off | m | shown | 1";
}

void TstSettingsDialog::buttons() {
    QFETCH(QJsonObject, program);
    QFETCH(QStringList, steps);
    QFETCH(QString, stored);
    QFETCH(QString, after);

    m_store->seed(storeJson(program));
    QSignalSpy requests(m_dialog.get(), &TForm3::mainWindowTextsRequested);
    for (const QString& step : steps) {
        const QString argument = step.section(QLatin1Char(' '), 1);
        if (step == QLatin1String("show")) {
            showDialog();
        } else if (step.startsWith(QLatin1String("language "))) {
            languages()->setCurrentIndex(argument.toInt());
        } else if (step.startsWith(QLatin1String("letter "))) {
            letters()->setCurrentIndex(letters()->findText(argument));
        } else if (step.startsWith(QLatin1String("box "))) {
            QCheckBox* checkBox = box(argument.toInt());
            QTest::mouseClick(checkBox, Qt::LeftButton, {}, QPoint(8, checkBox->height() / 2));
        } else if (step.startsWith(QLatin1String("store "))) {
            velmora::Registry store;
            QVERIFY(store.openKey(kProgramKey, true));
            store.writeString(argument.section(QLatin1Char('='), 0, 0),
                              argument.section(QLatin1Char('='), 1));
        } else {
            QPushButton* pressed = button(step);
            QVERIFY2(pressed, qPrintable(step));
            QVERIFY2(pressed->isVisible(), qPrintable(step));
            QTest::mouseClick(pressed, Qt::LeftButton);
        }
    }
    QCOMPARE(programValues(m_store->path()), stored);
    QCOMPARE(QStringList({Global::languageName(), Global::text(TextTable::Settings, 1),
                          m_dialog->windowTitle(), controls(),
                          QLatin1String(m_dialog->isVisible() ? "shown" : "hidden"),
                          QString::number(requests.count())})
                 .join(QLatin1String(" | ")),
             after);
    QCOMPARE(boxTexts(m_boxes->boxes), QStringList());
}

// Restore defaults offers the language of the user's locale, as a first start stores it.
void TstSettingsDialog::restoreDefaultsOffersTheLocalesLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("stored"); // the language before
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("caption"); // "Settings" line 1 after OK

    QTest::newRow("Russian locale") << QLocale(QLocale::Russian, QLocale::Russia) << "English"
                                    << "Russian"
                                    << "Настройки";
    QTest::newRow("Ukrainian locale") << QLocale(QLocale::Ukrainian, QLocale::Ukraine) << "Russian"
                                      << "Ukrainian"
                                      << "Налаштування";
    QTest::newRow("English locale")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << "Ukrainian"
        << "English"
        << "Settings";
    QTest::newRow("another locale gives English")
        << QLocale(QLocale::French, QLocale::France) << "Russian"
        << "English"
        << "Settings";
}

void TstSettingsDialog::restoreDefaultsOffersTheLocalesLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(QString, stored);
    QFETCH(QString, language);
    QFETCH(QString, caption);

    QLocale::setDefault(locale);
    m_store->seed(storeJson({{QStringLiteral("Language"), stored}}));
    useLanguage(stored);
    showDialog();
    QTest::mouseClick(button(QStringLiteral("Default")), Qt::LeftButton);
    QTest::mouseClick(button(QStringLiteral("OK")), Qt::LeftButton);
    QVERIFY2(programValues(m_store->path()).contains(QStringLiteral("Language=") + language),
             qPrintable(programValues(m_store->path())));
    QCOMPARE(Global::languageName(), language);
    QCOMPARE(Global::text(TextTable::Settings, 1), caption);
}

void TstSettingsDialog::glassLayout_data() {
    QTest::addColumn<QJsonObject>("first");  // composition values at the first showing
    QTest::addColumn<bool>("again");         // shown a second time
    QTest::addColumn<QJsonObject>("second"); // the values then
    QTest::addColumn<bool>("glass");

    using Values = QJsonObject;
    const Values glass{{"ColorizationOpaqueBlend", 0}, {"Composition", 1}};
    const Values none;

    QTest::newRow("no values: plain") << none << false << none << false;
    QTest::newRow("blend 0, composition 1: glass") << glass << false << none << true;
    QTest::newRow("blend 1: plain")
        << Values{{"ColorizationOpaqueBlend", 1}, {"Composition", 1}} << false << none << false;
    QTest::newRow("blend 0, composition 0: plain")
        << Values{{"ColorizationOpaqueBlend", 0}, {"Composition", 0}} << false << none << false;
    QTest::newRow("blend 0, composition 2: plain")
        << Values{{"ColorizationOpaqueBlend", 0}, {"Composition", 2}} << false << none << false;
    QTest::newRow("blend 0, composition missing: plain")
        << Values{{"ColorizationOpaqueBlend", 0}} << false << none << false;
    QTest::newRow("composition without blend: plain")
        << Values{{"Composition", 1}} << false << none << false;
    QTest::newRow("blend stored as a string: plain, silently")
        << Values{{"ColorizationOpaqueBlend", "0"}, {"Composition", 1}} << false << none << false;
    QTest::newRow("composition stored as a string: plain, silently")
        << Values{{"ColorizationOpaqueBlend", 0}, {"Composition", "1"}} << false << none << false;
    QTest::newRow("glass stays when a later showing finds blend 1")
        << glass << true << Values{{"ColorizationOpaqueBlend", 1}, {"Composition", 1}} << true;
    QTest::newRow("glass stays when the values are gone later") << glass << true << none << true;
    QTest::newRow("a later showing may turn glass on") << none << true << glass << true;
}

void TstSettingsDialog::glassLayout() {
    QFETCH(QJsonObject, first);
    QFETCH(bool, again);
    QFETCH(QJsonObject, second);
    QFETCH(bool, glass);

    const QJsonObject program{{"Language", "English"}};
    m_store->seed(storeJson(program, first));
    QByteArray stored = fileBytes(m_store->path());
    showDialog();
    // Reading the composition values creates no key.
    QCOMPARE(fileBytes(m_store->path()), stored);
    if (again) {
        m_dialog->hide();
        m_store->seed(storeJson(program, second));
        stored = fileBytes(m_store->path());
        showDialog();
        QCOMPARE(fileBytes(m_store->path()), stored);
    }

    const QList<QPoint> plain{{16, 184}, {128, 184}, {238, 184}};
    const QList<QPoint> inBand{{0, 192}, {112, 192}, {224, 192}};
    QList<QPoint> places;
    for (const char* name : {"OK", "Cancel", "Apply"})
        places << button(QLatin1String(name))->pos();
    QCOMPARE(places, glass ? inBand : plain);
    // The rest of the showing went on: the settings and the texts.
    QCOMPARE(languages()->currentIndex(), 1);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(boxTexts(m_boxes->boxes), QStringList());

    // The band is painted along the bottom, 36 pixels high, and nowhere above it.
    const QImage picture = m_dialog->grab().toImage();
    const QColor face = m_dialog->palette().color(QPalette::Window);
    QCOMPARE(picture.pixelColor(400, 219) != face, glass);
    QCOMPARE(picture.pixelColor(400, 184) != face, glass);
    QCOMPARE(picture.pixelColor(400, 183), face);
}

void TstSettingsDialog::failuresWhileShowing_data() {
    QTest::addColumn<QJsonObject>("program");
    QTest::addColumn<QByteArray>("languageFile"); // null: no file at all
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("captions");
    QTest::addColumn<QString>("controls");

    const QString designed = QStringLiteral(
        "Настройки | Язык интерфейса | 128 | Автоматически проверять наличие обновлений | "
        "При запуске показывать подробное решение | "
        "Сохранять положение окна программы на экране | "
        "Для замены в биквадратном уравнении x² использовать | 360 | Восстановить умолчания | "
        "OK | Отмена | Применить");
    // The caption and Label1 are set before line 3 fails; the rest keeps its design.
    const QString stoppedAtLine3 =
        QStringLiteral("caption | label one | ") + designed.section(QStringLiteral(" | "), 2);
    const QJsonObject settings{{"Language", "English"},
                               {"Auto update", "true"},
                               {"Detailed solution", "true"},
                               {"Replacement", "m"}};
    const auto with = [&](const char* name, const QJsonValue& value) {
        QJsonObject changed = settings;
        changed.insert(QLatin1String(name), value);
        return changed;
    };
    const auto report = [](const char* text) {
        return QStringList{QStringLiteral("Velmora | %1 | 0x10").arg(QString::fromUtf8(text))};
    };

    QTest::newRow("every line as it should be")
        << settings << fixtureSettings() << QStringList()
        << "caption | label one | 120 | box one | box two | box three | label two | 300 | "
           "defaults | ok | cancel | apply"
        << "English | on on off | m";
    QTest::newRow("Auto update stored as a number: the rest is skipped")
        << with("Auto update", 1) << fixtureSettings()
        << report("Invalid data type for 'Auto update'") << designed << "English | off off off | a";
    QTest::newRow("Replacement stored as a number: no texts")
        << with("Replacement", 2) << fixtureSettings()
        << report("Invalid data type for 'Replacement'") << designed << "English | on on off | a";
    QTest::newRow("line 3 not an integer") << settings << fixtureSettings({{3, "12a"}})
                                           << report("''12a'' is not a valid integer value.")
                                           << stoppedAtLine3 << "English | on on off | m";
    QTest::newRow("line 3 with a fraction") << settings << fixtureSettings({{3, "12,5"}})
                                            << report("''12,5'' is not a valid integer value.")
                                            << stoppedAtLine3 << "English | on on off | m";
    QTest::newRow("line 8 empty")
        << settings << fixtureSettings({{8, ""}}) << report("'''' is not a valid integer value.")
        << "caption | label one | 120 | box one | box two | box three | label two | 360 | "
           "Восстановить умолчания | OK | Отмена | Применить"
        << "English | on on off | m";
    QTest::newRow("no language file: every line empty")
        << settings << QByteArray() << report("'''' is not a valid integer value.")
        << " |  | 128 | Автоматически проверять наличие обновлений | "
           "При запуске показывать подробное решение | "
           "Сохранять положение окна программы на экране | "
           "Для замены в биквадратном уравнении x² использовать | 360 | "
           "Восстановить умолчания | OK | Отмена | Применить"
        << "English | on on off | m";
}

void TstSettingsDialog::failuresWhileShowing() {
    QFETCH(QJsonObject, program);
    QFETCH(QByteArray, languageFile);
    QFETCH(QStringList, boxes);
    QFETCH(QString, captions);
    QFETCH(QString, controls);

    useFixtureLanguage(languageFile);
    m_store->seed(storeJson(program, {{"ColorizationOpaqueBlend", 0}, {"Composition", 1}}));
    showDialog();
    // The dialog is shown as far as it was prepared; the glass probe ran first.
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(button(QStringLiteral("Apply"))->pos(), QPoint(224, 192));
    QCOMPARE(boxTexts(m_boxes->boxes), boxes);
    QCOMPARE(this->captions(), captions);
    QCOMPARE(this->controls(), controls);

    // The report comes again at every showing.
    m_dialog->hide();
    showDialog();
    QCOMPARE(m_boxes->boxes.size(), 2 * boxes.size());
}

void TstSettingsDialog::refusedWriteKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("pressed");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Apply") << "Apply";
}

void TstSettingsDialog::refusedWriteKeepsTheDialogOpen() {
    QFETCH(QString, pressed);

    m_store->seed(storeJson({{"Language", "Russian"}}));
    QSignalSpy requests(m_dialog.get(), &TForm3::mainWindowTextsRequested);
    showDialog();
    languages()->setCurrentIndex(1);

    m_store->refuseWrites();

    QTest::mouseClick(button(pressed), Qt::LeftButton);
    QCOMPARE(boxTexts(m_boxes->boxes),
             QStringList({"Velmora | Failed to set data for 'Language' | 0x10"}));
    // Nothing was reloaded or re-applied, and the dialog is still there to try again.
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(Global::languageName(), QStringLiteral("Russian"));
    QCOMPARE(Global::text(TextTable::Settings, 1), QStringLiteral("Настройки"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(requests.count(), 0);
    QCOMPARE(controls(), QStringLiteral("English | off off off | a"));
}

void TstSettingsDialog::textsFitInEveryLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("glass");
    for (const char* name : {"Russian", "English", "Ukrainian"}) {
        QTest::addRow("%s, plain", name) << QString::fromLatin1(name) << false;
        QTest::addRow("%s, glass", name) << QString::fromLatin1(name) << true;
    }
}

void TstSettingsDialog::textsFitInEveryLanguage() {
    QFETCH(QString, language);
    QFETCH(bool, glass);

    m_store->seed(storeJson({{"Language", language}},
                            glass ? QJsonObject{{"ColorizationOpaqueBlend", 0}, {"Composition", 1}}
                                  : QJsonObject()));
    useLanguage(language);
    showDialog();
    QCOMPARE(boxTexts(m_boxes->boxes), QStringList());

    const QRect client = m_dialog->rect();
    QStringList faults;
    const auto fault = [&](bool bad, const QWidget* control, const char* what) {
        if (bad)
            faults << control->objectName() + QLatin1Char(' ') + QLatin1String(what);
    };
    QList<QWidget*> controls;
    for (QWidget* control : m_dialog->findChildren<QWidget*>())
        if (control->parentWidget() == m_dialog.get())
            controls << control;
    for (const QWidget* control : controls) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const auto* press = qobject_cast<const QAbstractButton*>(control);
        fault(label && label->text().isEmpty(), control, "without text");
        fault(press && press->text().isEmpty(), control, "without text");
        fault(!client.contains(control->geometry()), control, "outside the dialog");
        // The caption fits: nothing is cut off or elided.
        fault(control->sizeHint().width() > control->width(), control, "too narrow");
        for (const QWidget* other : controls)
            if (other != control && control->geometry().intersects(other->geometry()))
                fault(true, control, qPrintable(QStringLiteral("over ") + other->objectName()));
    }
    QCOMPARE(faults.join(QLatin1String(", ")), QString());

    // A selector stands clear to the right of its label and is named after it.
    const auto* label1 = child<QLabel>("Label1");
    const auto* label2 = child<QLabel>("Label2");
    QVERIFY(languages()->x() >= label1->geometry().right() + 6);
    QVERIFY(letters()->x() >= label2->geometry().right() + 6);
    QCOMPARE(selectorLabel(languages()), label1->text());
    QCOMPARE(selectorLabel(letters()), label2->text());
    QCOMPARE(accessibleName(box(3)), box(3)->text());
    QCOMPARE(languages()->currentText(), languages()->itemText(languages()->currentIndex()));
}

void TstSettingsDialog::mainWindowFollowsTheLanguage_data() {
    // Steps inside the modal showing: "English" (select it), "note" (record the main window),
    // OK, Cancel, Apply. Each record: File menu title, equation type item.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("records"); // the notes, then after the dialog closed

    QTest::newRow("English, OK: at once")
        << QStringList{"English", "OK"} << QStringList{"File, type 0"};
    QTest::newRow("English, Apply: not yet; then Cancel: now")
        << QStringList{"English", "Apply", "note", "Cancel"}
        << QStringList{"Файл, type 1", "File, type 0"};
    QTest::newRow("English, Cancel: nothing saved, the texts applied again")
        << QStringList{"English", "Cancel"} << QStringList{"Файл, type 0"};
}

void TstSettingsDialog::mainWindowFollowsTheLanguage() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, records);

    m_store->seed(storeJson({{"Language", "Russian"}}));
    velmora::createWindows();
    velmora::TForm1* mainWindow = velmora::mainWindow();
    TForm3* dialog = velmora::test::settingsDialog();
    // Far enough from the screen's edges for the dialog to be centred on it.
    mainWindow->move(200, 100);
    mainWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
    auto* type = mainWindow->equationPage()->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    type->setCurrentIndex(1);
    const auto record = [&] {
        return QStringLiteral("%1, type %2")
            .arg(mainWindow->findChild<QMenu*>(QStringLiteral("N1"))->menuAction()->iconText())
            .arg(type->currentIndex());
    };

    QStringList notes;
    QString whileShown;
    QTimer::singleShot(0, dialog, [&] {
        if (!dialog->isVisible())
            return;
        // Modal, and centred on the main window.
        whileShown =
            QStringLiteral("modal %1, centre offset %2")
                .arg(dialog->isModal())
                .arg((dialog->frameGeometry().center() - mainWindow->frameGeometry().center())
                         .manhattanLength());
        for (const QString& step : steps) {
            if (step == QLatin1String("English"))
                dialog->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(1);
            else if (step == QLatin1String("note"))
                notes << record();
            else
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button") + step),
                                  Qt::LeftButton);
        }
    });
    // Left elsewhere by an earlier showing.
    dialog->move(0, 0);
    // Should the steps leave the dialog open, this ends its modal showing.
    QTimer::singleShot(5000, dialog, [dialog] { dialog->reject(); });
    mainWindow->findChild<QAction*>(QStringLiteral("N2"))->trigger();
    notes << record();

    QCOMPARE(whileShown.section(QLatin1Char(','), 0, 0), QStringLiteral("modal 1"));
    QVERIFY2(whileShown.section(QLatin1Char(' '), -1).toInt() <= 1, qPrintable(whileShown));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(notes, records);
    QCOMPARE(boxTexts(m_boxes->boxes), QStringList());
}

QTEST_MAIN(TstSettingsDialog)
#include "tst_settingsdialog.moc"
