// The help window: where it opens (centred on the screen it is asked for, within that screen's
// available area), its zoom keys, its find bar, and pages readable in light and dark palettes.
// Runs on two screens of different sizes.
#include "help/helpstart.h"
#include "help/helpwindow.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFrame>

#include <QToolBar>
#include <algorithm>
#include <cmath>

using velmora::test::contrast;

namespace {

const QString kData = QStringLiteral(VELMORA_BUILD_DATA_DIR);

// The point size of the page's first paragraph of body text.
qreal bodyTextSize(const QTextBrowser* browser) {
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() == 0 && block.text().size() > 40)
            return block.charFormat().fontPointSize();
    return 0;
}

// Types the text key by key, each key carrying its character as a keyboard layout gives it.
void typeText(QWidget* field, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(character.toUpper().unicode()),
                            QString(character), Qt::NoModifier);
}

} // namespace

class TstHelpWindow : public QObject {
    Q_OBJECT

public:
    // Two screens side by side: a small one on the left, where the pointer is, a large one on
    // the right.
    static void initMain() {
        static QTemporaryDir folder;
        const QString config = folder.filePath(QStringLiteral("screens.json"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the screen set-up");
        file.write(R"({"screens": [
            {"name": "small", "x": 0, "y": 0, "width": 640, "height": 480,
             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
            {"name": "large", "x": 640, "y": 0, "width": 1280, "height": 1024,
             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    }

private slots:
    void initTestCase();
    void init();
    void cleanup() { velmora::test::verifyNoWindowLeftOpen(); }
    void centredArea_data();
    void centredArea();
    void opensCentredOnItsScreen_data();
    void opensCentredOnItsScreen();
    void zoomKeys_data();
    void zoomKeys();
    void findBar();
    void closingKeys_data();
    void closingKeys();
    void readableInLightAndDarkPalettes_data();
    void readableInLightAndDarkPalettes();
};

void TstHelpWindow::initTestCase() {
    QCOMPARE(QGuiApplication::screens().size(), 2);
}

void TstHelpWindow::init() {
    velmora::test::recordTopLevelWidgets();
    qputenv("VELMORA_DATA_DIR", kData.toLocal8Bit());
    qunsetenv("VELMORA_HELP_SCREEN");
}

void TstHelpWindow::centredArea_data() {
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("area");

    QTest::newRow("fits") << QSize(760, 640) << QRect(0, 0, 1280, 1024)
                          << QRect(260, 192, 760, 640);
    QTest::newRow("a panel above and a screen to the left")
        << QSize(760, 640) << QRect(1280, 27, 1920, 1053) << QRect(1860, 233, 760, 640);
    QTest::newRow("taller than the screen")
        << QSize(760, 640) << QRect(0, 0, 1366, 600) << QRect(303, 0, 760, 600);
    QTest::newRow("larger both ways")
        << QSize(760, 640) << QRect(0, 32, 640, 448) << QRect(0, 32, 640, 448);
}

void TstHelpWindow::centredArea() {
    QFETCH(QSize, wanted);
    QFETCH(QRect, available);
    QFETCH(QRect, area);
    QCOMPARE(velmora::help::centredWindowArea(wanted, available), area);
}

void TstHelpWindow::opensCentredOnItsScreen_data() {
    QTest::addColumn<QByteArray>("named"); // VELMORA_HELP_SCREEN; empty: not set
    QTest::addColumn<QString>("screen");
    QTest::newRow("the large screen named") << QByteArray("large") << "large";
    QTest::newRow("the small screen named, the window shrunk to it")
        << QByteArray("small") << "small";
    QTest::newRow("none named: the screen under the pointer") << QByteArray() << "small";
    QTest::newRow("a screen that is gone: the screen under the pointer")
        << QByteArray("HDMI-9") << "small";
}

// As velmora-help starts: the window on the screen the main program names, within its
// available area, in its middle.
void TstHelpWindow::opensCentredOnItsScreen() {
    QFETCH(QByteArray, named);
    QFETCH(QString, screen);
    if (!named.isEmpty())
        qputenv("VELMORA_HELP_SCREEN", named);

    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("index.html")));
    window.placeOn(velmora::help::helpScreen());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.screen()->name(), screen);
    const QRect available = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                       .arg(frame.x())
                                                       .arg(frame.y())
                                                       .arg(frame.width())
                                                       .arg(frame.height())));
    const QPoint offCentre = frame.center() - available.center();
    QVERIFY2(std::abs(offCentre.x()) <= 20 && std::abs(offCentre.y()) <= 20,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TstHelpWindow::zoomKeys_data() {
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<int>("step");
    QTest::newRow("Ctrl++") << QKeyCombination(Qt::ControlModifier, Qt::Key_Plus) << 1;
    QTest::newRow("Ctrl+=") << QKeyCombination(Qt::ControlModifier, Qt::Key_Equal) << 1;
    QTest::newRow("Ctrl+-") << QKeyCombination(Qt::ControlModifier, Qt::Key_Minus) << -1;
}

// Each zoom key scales the page's text by a tenth, on this page and the next; Ctrl+0 takes it
// back to the pages' own size.
void TstHelpWindow::zoomKeys() {
    QFETCH(QKeyCombination, key);
    QFETCH(int, step);

    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("equation.html")));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTextBrowser* browser = window.browser();
    const qreal own = bodyTextSize(browser);
    QVERIFY(own > 0);

    QTest::keyClick(browser, key.key(), key.keyboardModifiers());
    QTest::keyClick(browser, key.key(), key.keyboardModifiers());
    QCOMPARE(window.zoomStep(), 2 * step);
    QCOMPARE(bodyTextSize(browser), own * (1 + 0.2 * step));

    browser->setSource(QUrl(QStringLiteral("trigonometry.html")));
    QCOMPARE(bodyTextSize(browser), own * (1 + 0.2 * step));

    QTest::keyClick(browser, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(window.zoomStep(), 0);
    QCOMPARE(bodyTextSize(browser), own);
}

// Ctrl+F opens the find bar; typing selects the first place of the word, Enter the next one,
// round the end of the page; a word the page does not hold is said so; Escape closes the bar.
void TstHelpWindow::findBar() {
    velmora::help::HelpWindow window(QStringLiteral("ru"));
    window.openPage(velmora::help::findPage(QStringLiteral("ru"), QStringLiteral("index.html")));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTextBrowser* browser = window.browser();
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("findBar"));
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("findField"));
    auto* notFound = window.findChild<QLabel*>(QStringLiteral("notFound"));
    QVERIFY(bar && field && notFound);
    QVERIFY(!bar->isVisible());

    QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->isVisible());
    QVERIFY(field->hasFocus());

    const QString word = QStringLiteral("уравнени");
    const int places = browser->toPlainText().count(word, Qt::CaseInsensitive);
    QVERIFY(places >= 2);
    typeText(field, word);
    QCOMPARE(browser->textCursor().selectedText().toLower(), word);
    QVERIFY(!notFound->isVisible());
    const int first = browser->textCursor().selectionStart();

    QList<int> seen{first};
    for (int i = 1; i < places; ++i) {
        QTest::keyClick(field, Qt::Key_Return);
        seen << browser->textCursor().selectionStart();
        QVERIFY(seen.last() > seen[seen.size() - 2]);
    }
    // Past the page's last place, the next page that holds the word, at its first place; and
    // back again.
    const QUrl contents = browser->source();
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(browser->source() != contents);
    QCOMPARE(browser->textCursor().selectedText().toLower(), word);
    const int firstThere = browser->textCursor().selectionStart();
    QCOMPARE(browser->toPlainText().indexOf(word, 0, Qt::CaseInsensitive), firstThere);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(browser->source(), contents);
    QCOMPARE(browser->textCursor().selectionStart(), seen.last());
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(browser->textCursor().selectionStart(), seen[seen.size() - 2]);

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("xylophone"));
    // The bar lays its note out when it next handles its events.
    QTRY_VERIFY(notFound->isVisible());
    QCOMPARE(notFound->text().trimmed(), QStringLiteral("Не найдено"));

    // A word only other pages hold is found there.
    field->selectAll();
    typeText(field, QStringLiteral("Дискриминант"));
    QVERIFY(!browser->source().toLocalFile().endsWith(QLatin1String("index.html")));
    QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Дискриминант"));
    QTRY_VERIFY(!notFound->isVisible());

    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(browser->hasFocus());
    QVERIFY(window.isVisible());
}

// Escape (where the find bar does not take it) and Ctrl+W close the help window.
void TstHelpWindow::closingKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
}

void TstHelpWindow::closingKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("index.html")));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.browser(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(!window.isVisible());
}

void TstHelpWindow::readableInLightAndDarkPalettes_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, "#353535"},
                                       {QPalette::WindowText, "#eeeeec"},
                                       {QPalette::Base, "#2d2d2d"},
                                       {QPalette::AlternateBase, "#383838"},
                                       {QPalette::Text, "#eeeeec"},
                                       {QPalette::Button, "#3a3a3a"},
                                       {QPalette::ButtonText, "#eeeeec"}})
        dark.setColor(role, QColor(QLatin1String(colour)));
    QTest::newRow("dark") << dark;
}

// Every text block of a page, the worked examples and the headings with colours of their own
// among them, stands out from its ground.
void TstHelpWindow::readableInLightAndDarkPalettes() {
    QFETCH(QPalette, palette);
    velmora::help::HelpWindow window(QStringLiteral("en"));
    window.setPalette(palette);
    window.openPage(velmora::help::findPage(QStringLiteral("en"), QStringLiteral("solution.html")));
    const QTextBrowser* browser = window.browser();

    int shaded = 0;
    QStringList faults;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().trimmed().isEmpty())
            continue;
        const QBrush background = block.blockFormat().background();
        if (background.style() != Qt::NoBrush)
            ++shaded;
        const QColor ground =
            background.style() != Qt::NoBrush ? background.color() : palette.color(QPalette::Base);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor())
                continue;
            const QColor ink = format.foreground().style() != Qt::NoBrush
                                   ? format.foreground().color()
                                   : palette.color(QPalette::Text);
            if (contrast(ink, ground) < 4.5)
                faults << QStringLiteral("%1 on %2: %3")
                              .arg(ink.name(), ground.name(), it.fragment().text().left(30));
        }
    }
    QVERIFY(shaded > 0);
    QCOMPARE(faults, QStringList());
}

QTEST_MAIN(TstHelpWindow)
#include "tst_helpwindow.moc"
