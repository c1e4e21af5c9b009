// The About dialog and the Help menu as the user drives them (offscreen): the rows in each
// language and after repeated showings, the designed dialog, every launch with its verb, file
// and show mode, "Help index" written before the help program starts, and a refused write that
// keeps the help program from starting.
#include "about/aboutdialog.h"
#include "about/valuelisteditor.h"
#include "app/entry.h"
#include "app/mainwindow.h"
#include "state/global.h"
#include "state/language.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using velmora::ShellAction;
using velmora::TForm2;
using velmora::ValueListEditor;
using velmora::test::MessageBoxRecorder;
using velmora::test::ShellRecorder;
using velmora::test::TemporaryStore;

namespace {

// The host and address the build was configured with (the CMake cache variables); the
// page's address is written out here, not taken from the program's own constants.
const QString kEmail = QStringLiteral(VELMORA_TEST_CONTACT_EMAIL);
const QString kHost = QStringLiteral(VELMORA_TEST_WEB_HOST);
const QString kHomePage = QStringLiteral("http://") + kHost + QStringLiteral("/index/velmora/0-23");
const QString kAboutPage = kHomePage;

// The About copy of the address without its scheme, as row 6 shows it.
QString pageRow() {
    return kHost + QStringLiteral("/index/velmora/0-23");
}

// What the dialog shows: the caption, "key | value" for each row, the four button captions.
QStringList dialogTexts(const TForm2* dialog) {
    QStringList texts{dialog->windowTitle()};
    const ValueListEditor* list = dialog->valueList();
    for (int row = 0; row < list->rowCount(); ++row)
        texts << list->key(row) + QLatin1String(" | ") + list->value(row);
    for (const char* name : {"Button1", "Button2", "Button3", "Button4"})
        texts << dialog->findChild<QPushButton*>(QLatin1String(name))->text();
    return texts;
}

QPushButton* button(const TForm2* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

class TstAboutDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rowsInEachLanguage_data();
    void rowsInEachLanguage();
    void developerRowShowsTheConfiguredName_data();
    void developerRowShowsTheConfiguredName();
    void languageChangeShowsAtTheNextShowing();
    void missingLanguageFileKeepsTheFixedValues();
    void designedDialog();
    void tabOrderAndNoEditing();
    void keyColumnResizesByDraggingItsGridLine();
    void launches_data();
    void launches();
    void versionHistoryWritesHelpIndexFirst();
    void contentsLeavesHelpIndexAlone();
    void refusedWriteKeepsTheHelpProgramFromStarting();
    void closingTheDialog_data();
    void closingTheDialog();
    void enterInTheListPressesNothing();
    void desktopIdentity();

private:
    // Opens the dialog through Help > About and returns what it showed; closes it again.
    QStringList showThroughTheMenu();
    QAction* action(const char* name) const {
        return velmora::mainWindow()->findChild<QAction*>(QLatin1String(name));
    }
    void useLanguage(const QString& name) {
        velmora::Global::setLanguageName(name);
        velmora::loadLanguage(name);
    }

    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<ShellRecorder> m_shell;
};

void TstAboutDialog::initTestCase() {
    // The shipped language files.
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
}

void TstAboutDialog::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
    m_shell = std::make_unique<ShellRecorder>();
    velmora::createWindows();
}

void TstAboutDialog::cleanup() {
    velmora::destroyWindows();
    m_shell.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

QStringList TstAboutDialog::showThroughTheMenu() {
    QStringList shown;
    bool modal = false;
    QTimer::singleShot(0, velmora::test::aboutDialog(), [&] {
        modal = QApplication::activeModalWidget() == velmora::test::aboutDialog();
        shown = dialogTexts(velmora::test::aboutDialog());
        QTest::mouseClick(button(velmora::test::aboutDialog(), "Button4"), Qt::LeftButton);
    });
    action("N13")->trigger();
    // The menu command returns only once the dialog has closed.
    if (!modal || velmora::test::aboutDialog()->isVisible())
        return {QStringLiteral("not shown modally")};
    return shown;
}

void TstAboutDialog::rowsInEachLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("Russian") << "Russian"
                             << QStringList{"О программе",
                                            "Продукт | Velmora",
                                            "Версия | 3.2",
                                            "Модификация | 7 мая 2010 года",
                                            "Разработчик | Разработчики Velmora",
                                            "E-mail | " + kEmail,
                                            "Страница | " + pageRow(),
                                            "Перейти на страницу программы",
                                            "Просмотреть историю версий",
                                            "Соглашение",
                                            "Закрыть"};
    QTest::newRow("English") << "English"
                             << QStringList{"About",
                                            "Product | Velmora",
                                            "Version | 3.2",
                                            "Modified | May 7, 2010",
                                            "Developer | Velmora developers",
                                            "E-mail | " + kEmail,
                                            "Web page | " + pageRow(),
                                            "Go to the program's web page",
                                            "View the version history",
                                            "License",
                                            "Close"};
    QTest::newRow("Ukrainian") << "Ukrainian"
                               << QStringList{"Про програму",
                                              "Продукт | Velmora",
                                              "Версія | 3.2",
                                              "Модифікація | 7 травня 2010 року",
                                              "Розробник | Розробники Velmora",
                                              "E-mail | " + kEmail,
                                              "Сторінка | " + pageRow(),
                                              "Перейти на сторінку програми",
                                              "Переглянути історію версій",
                                              "Угода",
                                              "Закрити"};
}

// Two showings give the same six rows, never twelve.
void TstAboutDialog::rowsInEachLanguage() {
    QFETCH(QString, language);
    QFETCH(QStringList, texts);

    useLanguage(language);
    QCOMPARE(showThroughTheMenu(), texts);
    QCOMPARE(showThroughTheMenu(), texts);
    QVERIFY(m_boxes->boxes.isEmpty());
}

// A build configured with a developer's own name shows it in every language; the default name
// is shown in the language's words.
void TstAboutDialog::developerRowShowsTheConfiguredName_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("shown");

    const QString school = QStringLiteral("Школа № 7, кафедра математики");
    for (const char* language : {"Russian", "English", "Ukrainian"})
        QTest::addRow("%s, a name of its own", language) << language << school << school;
    const QString standard = QStringLiteral(VELMORA_TEST_DEFAULT_DEVELOPER_NAME);
    QTest::newRow("Russian, the default name") << "Russian" << standard << "Разработчики Velmora";
    QTest::newRow("English, the default name") << "English" << standard << "Velmora developers";
    QTest::newRow("Ukrainian, the default name") << "Ukrainian" << standard << "Розробники Velmora";
}

void TstAboutDialog::developerRowShowsTheConfiguredName() {
    QFETCH(QString, language);
    QFETCH(QString, configured);
    QFETCH(QString, shown);

    useLanguage(language);
    TForm2 dialog(velmora::mainWindow(), configured);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList rows = dialogTexts(&dialog);
    QVERIFY2(rows.size() > 4, qPrintable(rows.join(u'\n')));
    QCOMPARE(rows[4].section(QLatin1String(" | "), 1), shown);
    dialog.close();
}

// The list is rebuilt from the tables on every showing: a language loaded while the dialog is
// hidden shows the next time it opens, and the row count stays six.
void TstAboutDialog::languageChangeShowsAtTheNextShowing() {
    useLanguage(QStringLiteral("English"));
    const QStringList english = showThroughTheMenu();
    QCOMPARE(english.value(3), QStringLiteral("Modified | May 7, 2010"));

    useLanguage(QStringLiteral("Ukrainian"));
    QCOMPARE(dialogTexts(velmora::test::aboutDialog()), english);
    const QStringList ukrainian = showThroughTheMenu();
    QCOMPARE(ukrainian.size(), english.size());
    QCOMPARE(ukrainian.value(3), QStringLiteral("Модифікація | 7 травня 2010 року"));
    // The fixed values stay whatever the language.
    for (int row : {1, 2, 5, 6})
        QCOMPARE(ukrainian[row].section(QLatin1String(" | "), 1),
                 english[row].section(QLatin1String(" | "), 1));
    QCOMPARE(ukrainian[5], english[5]);
}

void TstAboutDialog::missingLanguageFileKeepsTheFixedValues() {
    qputenv("VELMORA_DATA_DIR", QByteArray("/nonexistent"));
    useLanguage(QStringLiteral("Russian"));
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    QCOMPARE(showThroughTheMenu(),
             (QStringList{"", " | Velmora", " | 3.2", " | ",
                          " | " + QStringLiteral(VELMORA_TEST_DEVELOPER_NAME), "E-mail | " + kEmail,
                          " | " + pageRow(), "", "", "", ""}));
}

void TstAboutDialog::designedDialog() {
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    QCOMPARE(dialog->size(), QSize(304, 248));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->font(), velmora::mainWindow()->font());

    ValueListEditor* list = dialog->valueList();
    QCOMPARE(list->geometry(), QRect(8, 8, 288, 130));
    const QList<std::pair<const char*, QRect>> buttons = {
        {"Button1", QRect(8, 150, 288, 26)},
        {"Button2", QRect(8, 182, 288, 26)},
        {"Button3", QRect(8, 214, 136, 26)},
        {"Button4", QRect(160, 214, 136, 26)},
    };
    for (const auto& [name, place] : buttons)
        QCOMPARE(button(dialog, name)->geometry(), place);

    // Six rows of 20 pixels and a key column of 95 pixels, each with its one-pixel grid line,
    // fill the list exactly: no title row, no scroll bars, nothing hidden, nothing left over.
    QCOMPARE(list->rowCount(), 6);
    QVERIFY(!list->horizontalHeader()->isVisible());
    QVERIFY(!list->verticalHeader()->isVisible());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(!list->verticalScrollBar()->isVisible());
    QCOMPARE(list->viewport()->size(), QSize(284, 126));
    for (int row = 0; row < 6; ++row) {
        QCOMPARE(list->rowHeight(row), 21);
        QCOMPARE(list->rowViewportPosition(row), 21 * row);
    }
    QCOMPARE(list->columnWidth(0), 96);
    QCOMPARE(list->columnWidth(1), 188);
    QVERIFY(list->showGrid());
}

void TstAboutDialog::tabOrderAndNoEditing() {
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));

    ValueListEditor* list = dialog->valueList();
    list->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int step = 0; step < 5; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"ValueListEditor1", "Button1", "Button2", "Button3", "Button4",
                                 "ValueListEditor1"}));

    // Neither a double click, F2 nor typing opens an editor on a cell.
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(list, Qt::Key_F2);
    QTest::keyClicks(list, QStringLiteral("zz"));
    QVERIFY(!list->findChild<QLineEdit*>());
    QCOMPARE(list->value(0), QStringLiteral("Velmora"));
}

void TstAboutDialog::keyColumnResizesByDraggingItsGridLine() {
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    ValueListEditor* list = dialog->valueList();
    QWidget* cells = list->viewport();
    const int y = list->rowViewportPosition(2) + 10;

    // A drag that starts inside a cell resizes nothing.
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(50, y));
    QTest::mouseMove(cells, QPoint(150, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(150, y));
    QCOMPARE(list->columnWidth(0), 96);

    // On the grid line after the key column the drag moves it; the value column takes the rest.
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(95, y));
    QTest::mouseMove(cells, QPoint(150, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(150, y));
    QCOMPARE(list->columnWidth(0), 150);
    QCOMPARE(list->columnWidth(0) + list->columnWidth(1), 284);

    // Dragged past the right edge, the value column keeps a sliver.
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(150, y));
    QTest::mouseMove(cells, QPoint(400, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(400, y));
    QCOMPARE(list->columnWidth(0), 284 - ValueListEditor::MinimumColumnWidth);
}

// The launches of the dialog and the Help menu: the file as the shell is asked, and what it
// comes to.
void TstAboutDialog::launches_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("file");
    QTest::addColumn<ShellAction>("action");

    QTest::newRow("About: page button") << "Button1" << kAboutPage << ShellAction::OpenWebAddress;
    // No help program beside the test: the launch comes to nothing, and nothing is reported.
    QTest::newRow("About: version-history button") << "Button2"
                                                   << "velmora-help" << ShellAction::Nothing;
    QTest::newRow("About: agreement button") << "Button3"
                                             << "License.txt" << ShellAction::Nothing;
    QTest::newRow("Menu: Home page") << "N10" << kHomePage << ShellAction::OpenWebAddress;
    QTest::newRow("Menu: Contents") << "N11"
                                    << "velmora-help" << ShellAction::Nothing;
}

void TstAboutDialog::launches() {
    QFETCH(QString, control);
    QFETCH(QString, file);
    QFETCH(ShellAction, action);

    useLanguage(QStringLiteral("English"));
    TForm2* dialog = velmora::test::aboutDialog();
    if (control.startsWith(QLatin1Char('N'))) {
        this->action(qPrintable(control))->trigger();
    } else {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QTest::mouseClick(button(dialog, qPrintable(control)), Qt::LeftButton);
        // The page, version-history and agreement buttons leave the dialog open.
        QVERIFY(dialog->isVisible());
    }

    QCOMPARE(m_shell->launches.size(), 1);
    const velmora::test::ShellLaunch& launch = m_shell->launches[0];
    QCOMPARE(launch.request.file, file);
    QCOMPARE(launch.target.action, action);
    QVERIFY(m_boxes->boxes.isEmpty());
}

void TstAboutDialog::versionHistoryWritesHelpIndexFirst() {
    QString indexAtLaunch;
    velmora::setShellHandler([&](const velmora::ShellRequest&, const velmora::ShellTarget&) {
        indexAtLaunch = velmora::catalogue::read(velmora::catalogue::HelpIndex);
    });
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    QTest::mouseClick(button(dialog, "Button2"), Qt::LeftButton);

    QCOMPARE(indexAtLaunch, QStringLiteral("version history"));
    // This program never resets it; it is left for the help program.
    QTest::mouseClick(button(dialog, "Button4"), Qt::LeftButton);
    action("N11")->trigger();
    QCOMPARE(velmora::catalogue::read(velmora::catalogue::HelpIndex),
             QStringLiteral("version history"));
}

void TstAboutDialog::contentsLeavesHelpIndexAlone() {
    // A fresh key: the value is never created.
    action("N11")->trigger();
    QCOMPARE(m_shell->launches.size(), 1);
    QFile store(m_store->path());
    QVERIFY(store.open(QIODevice::ReadOnly));
    QVERIFY(!store.readAll().contains("Help index"));

    // A value already there is left as it is.
    m_store->seed(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {"Help index": "x"}}})");
    action("N11")->trigger();
    QCOMPARE(m_shell->launches.size(), 2);
    QCOMPARE(velmora::catalogue::read(velmora::catalogue::HelpIndex), QStringLiteral("x"));
}

void TstAboutDialog::refusedWriteKeepsTheHelpProgramFromStarting() {
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    m_store->refuseWrites();

    QTest::mouseClick(button(dialog, "Button2"), Qt::LeftButton);
    QVERIFY(m_shell->launches.isEmpty());
    QCOMPARE(m_boxes->boxes.size(), 1);
    QCOMPARE(m_boxes->boxes[0].text, QStringLiteral("Failed to set data for 'Help index'"));
    QCOMPARE(m_boxes->boxes[0].caption, QStringLiteral("Velmora"));
    QCOMPARE(m_boxes->boxes[0].flags, velmora::MessageFlags::ErrorOk);
    QVERIFY(dialog->isVisible());
}

void TstAboutDialog::closingTheDialog_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << "Button4";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("close box") << "close";
}

void TstAboutDialog::closingTheDialog() {
    QFETCH(QString, how);
    int result = -1;
    QTimer::singleShot(0, velmora::test::aboutDialog(), [&] {
        TForm2* dialog = velmora::test::aboutDialog();
        if (how == QLatin1String("Button4"))
            QTest::mouseClick(button(dialog, "Button4"), Qt::LeftButton);
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
    });
    result = velmora::test::aboutDialog()->exec();
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!velmora::test::aboutDialog()->isVisible());
    QVERIFY(m_shell->launches.isEmpty());
}

// No button is the default: Enter on the list starts nothing, Enter on a button presses it.
void TstAboutDialog::enterInTheListPressesNothing() {
    TForm2* dialog = velmora::test::aboutDialog();
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    dialog->valueList()->setFocus();
    QTest::keyClick(dialog->valueList(), Qt::Key_Return);
    QVERIFY(m_shell->launches.isEmpty());
    QVERIFY(dialog->isVisible());

    button(dialog, "Button3")->setFocus();
    QTest::keyClick(button(dialog, "Button3"), Qt::Key_Return);
    QCOMPARE(m_shell->launches.size(), 1);
    QCOMPARE(m_shell->launches[0].request.file, QStringLiteral("License.txt"));
}

// The desktop ties the windows to the installed menu entry and shows the program's own icon.
void TstAboutDialog::desktopIdentity() {
    velmora::initApplication();
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("velmora"));
    for (int size : {16, 32, 48, 64}) {
        const QPixmap icon = QApplication::windowIcon().pixmap(QSize(size, size));
        QVERIFY2(!icon.isNull(), qPrintable(QString::number(size)));
        QCOMPARE(icon.width(), size);
    }
}

QTEST_MAIN(TstAboutDialog)
#include "tst_aboutdialog.moc"
