// The textbook view as the user drives it (offscreen): made on the first Ctrl+T and not before,
// following the equation page's solves, copying, zooming, the PDF, Escape, its remembered size,
// the language and the palette; the equation line at its top, reached with Ctrl+E, with its
// refusals and its remembered equations.
#include "app/mainwindow.h"
#include "state/global.h"
#include "state/language.h"
#include "state/settingscatalogue.h"
#include "state/storednames.h"
#include "tests/support/testsupport.h"
#include "textbook/equationline.h"
#include "textbook/graph/graphview.h"
#include "textbook/solutionprint.h"
#include "textbook/solutionview.h"
#include "textbook/textbookwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using velmora::TForm1;
using velmora::test::MessageBoxRecorder;
using velmora::test::TemporaryStore;
using velmora::textbook::TextbookWindow;

namespace {

QStringList rootLabels(const TextbookWindow* view) {
    QStringList labels;
    for (const velmora::graph::Mark& mark : view->graphView()->graph().marks)
        if (mark.kind == velmora::graph::Mark::Root)
            labels << mark.label;
    return labels;
}

// The curve's blue on the printed page, in its lower half where the graph goes, whatever the
// desktop's colours: how many pixels of it.
int printedCurveInk(const TextbookWindow* view) {
    QImage page(595, 842, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    view->paintPages(painter, QRectF(56, 56, 483, 730), [] { return false; });
    painter.end();
    int blue = 0;
    for (int y = page.height() / 2; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 100;
        }
    return blue;
}

// The equation line, where the keyboard's keys go when it has the focus (its text field is
// inside it).
QComboBox* lineOf(const TextbookWindow* view) {
    return view->equationLine()->box();
}

// Types over the equation line's text, key by key, as the student does.
void typeOver(const TextbookWindow* view, const QString& text) {
    lineOf(view)->lineEdit()->selectAll();
    QTest::keyClicks(lineOf(view), text);
}

// The refusal under the line, when one is shown.
QString shownRefusal(const TextbookWindow* view) {
    const auto* label = view->findChild<QLabel*>(u"equationRefusal"_s);
    return label && label->isVisible() ? label->text() : QString();
}

QStringList accessibleLines(const TextbookWindow* view) {
    QStringList lines;
    for (int i = 0;; ++i) {
        const auto* line = view->findChild<QWidget*>(u"solutionLine%1"_s.arg(i));
        if (!line)
            return lines;
        lines << line->accessibleName();
    }
}

// The share of pixels that differ from the corner's colour.
double inkShare(const QImage& image) {
    const QRgb ground = image.pixel(0, 0);
    qsizetype ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != ground;
    return double(ink) / (double(image.width()) * image.height());
}

QPalette darkPalette() {
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, "#353535"},
                                       {QPalette::WindowText, "#eeeeec"},
                                       {QPalette::Base, "#2d2d2d"},
                                       {QPalette::Text, "#eeeeec"},
                                       {QPalette::Button, "#3a3a3a"},
                                       {QPalette::ButtonText, "#eeeeec"},
                                       {QPalette::Highlight, "#2a76c6"},
                                       {QPalette::HighlightedText, "#ffffff"}})
        dark.setColor(role, QColor(QLatin1String(colour)));
    return dark;
}

} // namespace

class TstTextbookWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void madeOnFirstCtrlT();
    void followsTheSolves();
    void linearWhenThePageRefusesZeroA();
    void copiesTextAndLatex();
    void zooms();
    void savesAPdf();
    void escapeClosesAndTheSizeIsKept();
    void followsTheLanguage();
    void followsThePalette();
    void decimalsSetting();
    void graphFollowsTheSolve_data();
    void graphFollowsTheSolve();
    void graphIsPrintedAndSaved();
    void splitterIsKept();
    void typingFollowsTheLine();
    void refusalWaitsForEnter_data();
    void refusalWaitsForEnter();
    void ctrlEGoesToTheLine();
    void typedSolutionIsCopiedAndPrinted();
    void historyKeepsTheLastTwenty();
    void historyFromTheStore_data();
    void historyFromTheStore();
    void screenshots();

private:
    void solve(const QString& type, const QString& a, const QString& b, const QString& c);
    TextbookWindow* openView();

    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<TForm1> m_window;
};

void TstTextbookWindow::initTestCase() {
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
}

void TstTextbookWindow::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
    velmora::Global::setLanguageName(u"English"_s);
    velmora::loadLanguage(u"English"_s);
    m_window = std::make_unique<TForm1>();
    m_window->language();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstTextbookWindow::cleanup() {
    m_window.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstTextbookWindow::solve(const QString& type, const QString& a, const QString& b,
                              const QString& c) {
    auto* list = m_window->findChild<QComboBox*>(u"ComboBox1"_s);
    list->setCurrentIndex(type.toInt());
    const QString texts[] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        m_window->findChild<QLineEdit*>(u"Edit%1"_s.arg(i + 1))->setText(texts[i]);
    QTest::mouseClick(m_window->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
}

TextbookWindow* TstTextbookWindow::openView() {
    m_window->activateWindow();
    QTest::keyClick(m_window.get(), Qt::Key_T, Qt::ControlModifier);
    TextbookWindow* view = m_window->textbookView();
    if (view && !QTest::qWaitForWindowExposed(view))
        return nullptr;
    return view;
}

// Nothing of the view exists until it is asked for; then it is a window of its own, with the
// solution in the first pane of a splitter, and before any solve it says how to start.
void TstTextbookWindow::madeOnFirstCtrlT() {
    QVERIFY(!m_window->textbookView());
    QVERIFY(!m_window->findChild<TextbookWindow*>());
    auto* item = m_window->findChild<QAction*>(u"TextbookView"_s);
    QVERIFY(item);
    QCOMPARE(QString(item->text()).remove(u'&'), u"Textbook view"_s);
    QCOMPARE(item->shortcut(), QKeySequence(u"Ctrl+T"_s));

    TextbookWindow* view = openView();
    QVERIFY(view);
    QVERIFY(view->isVisible());
    QVERIFY(view->isWindow());
    QVERIFY(!view->isModal());
    QCOMPARE(view->windowTitle(), u"Textbook view"_s);
    QCOMPARE(view->splitter()->widget(0)->objectName().isEmpty(), true);
    QVERIFY(view->splitter()->widget(0)->isAncestorOf(view->solutionView()));
    QCOMPARE(view->solutionView()->lineCount(), 0);
    QVERIFY(!view->solution());
    auto* hint = view->solutionView()->findChild<QLabel*>();
    QVERIFY(hint && hint->isVisible());
    QCOMPARE(hint->text(), u"Type an equation in the line above, or solve one on the equation "
                           "page: its solution appears here, written as in a textbook."_s);
    // The same window again.
    QCOMPARE(openView(), view);
}

void TstTextbookWindow::followsTheSolves() {
    solve(u"0"_s, u"2"_s, u"3"_s, u"-7"_s); // solved before the view is opened
    TextbookWindow* view = openView();
    QVERIFY(view);
    // The decimals with the page's separator, the locale's.
    const QStringList expected{u"2x² + 3x − 7 = 0"_s, u"D = b² − 4ac = 3² − 4·2·(−7) = 65"_s,
                               u"x₁,₂ = (−b ± √D)/(2a) = (−3 ± √65)/(2·2) = (−3 ± √65)/4"_s,
                               velmora::test::withTestSeparator(u"x₁ = (−3 + √65)/4 ≈ 1,27"_s),
                               velmora::test::withTestSeparator(u"x₂ = (−3 − √65)/4 ≈ −2,77"_s)};
    QCOMPARE(accessibleLines(view).mid(0, 5), expected);

    solve(u"1"_s, u"1"_s, u"-13"_s, u"36"_s);
    QTRY_COMPARE(accessibleLines(view).value(0), u"x⁴ − 13x² + 36 = 0"_s);
    QCOMPARE(accessibleLines(view).value(1), u"Let x² = y, y ≥ 0"_s);
    QCOMPARE(accessibleLines(view).last(), u"Answer: x = −3 or x = −2 or x = 2 or x = 3."_s);
}

// The page keeps its message for a = 0; the view solves the linear equation.
void TstTextbookWindow::linearWhenThePageRefusesZeroA() {
    TextbookWindow* view = openView();
    solve(u"0"_s, u"0"_s, u"3"_s, u"-6"_s);
    QCOMPARE(m_boxes->boxes.size(), 1);
    QCOMPARE(accessibleLines(view),
             (QStringList{u"3x − 6 = 0"_s, u"a = 0: the equation is linear"_s,
                          u"x = −c/b = 6/3 = 2"_s, u"Answer: x = 2."_s}));
}

void TstTextbookWindow::copiesTextAndLatex() {
    solve(u"0"_s, u"1"_s, u"0"_s, u"-8"_s);
    TextbookWindow* view = openView();
    QApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    const QString text = QApplication::clipboard()->text();
    QVERIFY2(text.startsWith(u"x² − 8 = 0\nx² = 8 ⇒ x = ±√8 = ±2√2 ≈ ±2"_s), qPrintable(text));
    QCOMPARE(text.count(u'\n'), qsizetype(accessibleLines(view).size()));

    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString latex = QApplication::clipboard()->text();
    QVERIFY2(latex.startsWith(u"\\begin{align*}\n&{x}^{2} - 8 = 0 \\\\\n"_s), qPrintable(latex));
    QVERIFY(latex.contains(u"\\pm 2\\sqrt{2}"_s));
}

void TstTextbookWindow::zooms() {
    solve(u"0"_s, u"2"_s, u"3"_s, u"-7"_s);
    TextbookWindow* view = openView();
    auto* line = view->findChild<QWidget*>(u"solutionLine2"_s);
    QVERIFY(line);
    const int width = line->sizeHint().width();
    QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view->solutionView()->formulaPixelSize(), 25);
    QVERIFY(line->sizeHint().width() > width * 1.15);
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view->solutionView()->formulaPixelSize(), 16);
    QVERIFY(line->sizeHint().width() < width);
    QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view->solutionView()->formulaPixelSize(), 20);
    QCOMPARE(line->sizeHint().width(), width);
}

// The PDF file is a PDF with a page; its page, drawn the same way into an image, is not blank.
void TstTextbookWindow::savesAPdf() {
    solve(u"1"_s, u"1"_s, u"-5"_s, u"3"_s);
    TextbookWindow* view = openView();
    QTemporaryDir folder;
    const QString path = folder.filePath(u"solution.pdf"_s);
    QVERIFY(view->writePdf(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), qsizetype(1));
    QVERIFY2(pdf.size() > 5000, qPrintable(QString::number(pdf.size()))); // fonts and drawing
    QVERIFY(!view->writePdf(folder.filePath(u"missing/folder/solution.pdf"_s)));

    QImage page(595, 842, QImage::Format_RGB32); // A4 at 72 dpi
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setPen(Qt::black);
    QFont font = view->font();
    font.setPointSizeF(13);
    int pagesAsked = 0;
    const int drawn = velmora::textbook::paintSolutionPages(
        painter, QRectF(56, 56, 483, 730), view->headingText(), *view->solution(), font,
        [&pagesAsked] { return ++pagesAsked, false; });
    painter.end();
    QCOMPARE(drawn, 1);
    QCOMPARE(pagesAsked, 0);
    const double ink = inkShare(page);
    QVERIFY2(ink > 0.005, qPrintable(QString::number(ink)));
    // The long answer line ("x = −√((5 + √13)/2) or …") is drawn within the page's width.
    for (int y = 0; y < page.height(); ++y)
        for (int x = 56 + 483 + 2; x < page.width(); ++x)
            QVERIFY2(page.pixel(x, y) == qRgb(255, 255, 255), qPrintable(u"%1,%2"_s.arg(x).arg(y)));
}

void TstTextbookWindow::escapeClosesAndTheSizeIsKept() {
    TextbookWindow* view = openView();
    view->resize(700, 400);
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!view->isVisible());
    QCOMPARE(velmora::catalogue::storedEdge(velmora::catalogue::TextbookWidth), 700);
    QCOMPARE(velmora::catalogue::storedEdge(velmora::catalogue::TextbookHeight), 400);

    // A new main window's view comes back at that size.
    m_window = std::make_unique<TForm1>();
    m_window->language();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    TextbookWindow* again = openView();
    QCOMPARE(again->size(), QSize(700, 400));
}

void TstTextbookWindow::followsTheLanguage() {
    solve(u"1"_s, u"1"_s, u"-13"_s, u"36"_s);
    TextbookWindow* view = openView();
    for (const auto& [language, caption, answer] :
         {std::tuple{u"Russian"_s, u"Решение как в учебнике"_s, u"Ответ: −3; −2; 2; 3."_s},
          {u"Ukrainian"_s, u"Розв'язок як у підручнику"_s, u"Відповідь: −3; −2; 2; 3."_s},
          {u"English"_s, u"Textbook view"_s, u"Answer: x = −3 or x = −2 or x = 2 or x = 3."_s}}) {
        velmora::loadLanguage(language);
        m_window->language();
        QCOMPARE(view->windowTitle(), caption);
        QCOMPARE(QString(m_window->findChild<QAction*>(u"TextbookView"_s)->text()).remove(u'&'),
                 caption);
        QCOMPARE(accessibleLines(view).last(), answer);
    }
}

// The formulas are drawn in the palette's text colour on its base colour.
void TstTextbookWindow::followsThePalette() {
    solve(u"0"_s, u"2"_s, u"3"_s, u"-7"_s);
    TextbookWindow* view = openView();
    view->setPalette(darkPalette());
    auto* line = view->findChild<QWidget*>(u"solutionLine2"_s);
    const QImage image = view->solutionView()->grab().toImage();
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(u"#2d2d2d"_s));
    const QImage drawn = line->grab().toImage();
    int light = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            light += qGray(drawn.pixel(x, y)) > 200;
    QVERIFY2(light > 20, qPrintable(QString::number(light)));
}

void TstTextbookWindow::decimalsSetting() {
    solve(u"0"_s, u"2"_s, u"3"_s, u"-7"_s);
    TextbookWindow* view = openView();
    auto* box = view->findChild<QSpinBox*>();
    QVERIFY(box);
    QCOMPARE(box->value(), 2);
    box->setValue(4);
    QVERIFY(
        accessibleLines(view).value(3).endsWith(velmora::test::withTestSeparator(u"≈ 1,2656"_s)));
    QCOMPARE(velmora::catalogue::storedEdge(velmora::catalogue::TextbookDecimals), 4);
}

// The graph below the solution follows each solve: its marks carry the roots' exact forms and
// its accessible description says what it shows in the interface language.
void TstTextbookWindow::graphFollowsTheSolve_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    QTest::newRow("English") << u"English"_s << u"Graph of the equation"_s
                             << u"Parabola opening upwards; vertex (2,5; −0,25); crosses the "
                                "x-axis at 2 and 3; crosses the y-axis at 6"_s;
    QTest::newRow("Russian") << u"Russian"_s << u"График уравнения"_s
                             << u"Парабола ветвями вверх; вершина (2,5; −0,25); "
                                "пересекает ось x: 2 и 3; пересекает ось y: 6"_s;
    QTest::newRow("Ukrainian") << u"Ukrainian"_s << u"Графік рівняння"_s
                               << u"Парабола вітками вгору; вершина (2,5; −0,25); "
                                  "перетинає вісь x: 2 і 3; перетинає вісь y: 6"_s;
}

void TstTextbookWindow::graphFollowsTheSolve() {
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(QString, description);
    velmora::loadLanguage(language);
    m_window->language();
    TextbookWindow* view = openView();
    QVERIFY(view->splitter()->widget(1)->isAncestorOf(view->graphView()) ||
            view->splitter()->widget(1) == view->graphView());

    solve(u"0"_s, u"1"_s, u"-5"_s, u"6"_s);
    QCOMPARE(view->graphView()->accessibleName(), name);
    QCOMPARE(view->graphView()->accessibleDescription(),
             velmora::test::withTestSeparator(description));

    solve(u"0"_s, u"2"_s, u"3"_s, u"-7"_s);
    QStringList labels;
    for (const velmora::graph::Mark& mark : view->graphView()->graph().marks)
        if (mark.kind == velmora::graph::Mark::Root)
            labels << mark.label;
    QCOMPARE(labels, (QStringList{velmora::test::withTestSeparator(u"(−3 − √65)/4 ≈ −2,77"_s),
                                  velmora::test::withTestSeparator(u"(−3 + √65)/4 ≈ 1,27"_s)}));

    // The labels follow the Decimals setting, rounded from the true values.
    view->findChild<QSpinBox*>()->setValue(3);
    labels.clear();
    for (const velmora::graph::Mark& mark : view->graphView()->graph().marks)
        if (mark.kind == velmora::graph::Mark::Root)
            labels << mark.label;
    QCOMPARE(labels, (QStringList{velmora::test::withTestSeparator(u"(−3 − √65)/4 ≈ −2,766"_s),
                                  velmora::test::withTestSeparator(u"(−3 + √65)/4 ≈ 1,266"_s)}));
}

// The printout has the graph under the solution; the graph saves as PNG or SVG by its name.
void TstTextbookWindow::graphIsPrintedAndSaved() {
    solve(u"0"_s, u"1"_s, u"-5"_s, u"6"_s);
    TextbookWindow* view = openView();
    QImage page(595, 842, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    int pagesAsked = 0;
    view->paintPages(painter, QRectF(56, 56, 483, 730),
                     [&pagesAsked] { return ++pagesAsked, false; });
    painter.end();
    QCOMPARE(pagesAsked, 0);
    const int blue = printedCurveInk(view);
    QVERIFY2(blue > 100, qPrintable(QString::number(blue)));

    QTemporaryDir folder;
    QVERIFY(view->writeGraph(folder.filePath(u"graph.svg"_s)));
    QFile svg(folder.filePath(u"graph.svg"_s));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));
    QVERIFY(view->writeGraph(folder.filePath(u"graph.png"_s)));
    QVERIFY(!QImage(folder.filePath(u"graph.png"_s)).isNull());
}

void TstTextbookWindow::splitterIsKept() {
    TextbookWindow* view = openView();
    view->splitter()->setSizes({300, 100});
    const QList<int> moved = view->splitter()->sizes();
    const int share = moved[0] * 1000 / (moved[0] + moved[1]);
    QVERIFY2(share > 600, qPrintable(QString::number(share))); // the graph gave way, within limits
    QTest::keyClick(view, Qt::Key_Escape);
    QCOMPARE(velmora::catalogue::storedEdge(velmora::catalogue::TextbookSplit).value_or(0), share);

    m_window = std::make_unique<TForm1>();
    m_window->language();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    TextbookWindow* again = openView();
    const QList<int> sizes = again->splitter()->sizes();
    QVERIFY2(std::abs(sizes[0] * 1000 / (sizes[0] + sizes[1]) - share) < 20,
             qPrintable(u"%1 %2"_s.arg(sizes[0]).arg(sizes[1])));
}

// The line names the page's equation after Calculate; as the student types over it, each line
// that reads as an equation is shown with its graph, and one that does not yet leaves the last
// solution on show without a word.
void TstTextbookWindow::typingFollowsTheLine() {
    solve(u"0"_s, u"1"_s, u"-3"_s, u"2"_s);
    TextbookWindow* view = openView();
    QCOMPARE(view->equationLine()->text(), u"x² − 3x + 2 = 0"_s);
    const QStringList pageLines = accessibleLines(view);
    QCOMPARE(pageLines.value(0), u"x² − 3x + 2 = 0"_s);

    typeOver(view, u"x(x - 3) = "_s);
    QCOMPARE(accessibleLines(view), pageLines);
    QCOMPARE(shownRefusal(view), QString());
    QTest::keyClick(lineOf(view), Qt::Key_4);
    const QStringList typedLines{
        u"x(x − 3) = 4"_s,
        u"Open the brackets: x² − 3x = 4"_s,
        u"Move every term to the left: x² − 3x − 4 = 0"_s,
        u"D = b² − 4ac = (−3)² − 4·1·(−4) = 25"_s,
        u"x₁,₂ = (−b ± √D)/(2a) = (3 ± 5)/(2·1)"_s,
        u"x₁ = (3 + 5)/2 = 4"_s,
        u"x₂ = (3 − 5)/2 = −1"_s,
        u"Factored form: x² − 3x − 4 = (x + 1)(x − 4)"_s,
        u"Check by Vieta's formulas: x₁ + x₂ = 3 = −b/a; x₁·x₂ = −4 = c/a"_s,
        u"Answer: x = −1 or x = 4."_s};
    QCOMPARE(accessibleLines(view), typedLines);
    QCOMPARE(rootLabels(view), (QStringList{u"−1"_s, u"4"_s}));

    // A key that spoils the line changes nothing on show.
    QTest::keyClicks(lineOf(view), u" +"_s);
    QCOMPARE(accessibleLines(view), typedLines);
    QCOMPARE(rootLabels(view), (QStringList{u"−1"_s, u"4"_s}));
    QCOMPARE(shownRefusal(view), QString());

    // An identity has no curve of its own: the last one goes.
    typeOver(view, u"2(x + 1) = 2x + 2"_s);
    QVERIFY(accessibleLines(view).contains(u"The equality holds for every number."_s));
    QVERIFY(view->graphView()->graph().marks.empty());
    QCOMPARE(view->graphView()->accessibleDescription(), QString());
    QCOMPARE(printedCurveInk(view), 0);

    // The decimals and the language write the typed equation again.
    typeOver(view, u"x^2 = 2"_s);
    view->findChild<QSpinBox*>()->setValue(3);
    QVERIFY2(accessibleLines(view).contains(
                 velmora::test::withTestSeparator(u"x² = 2 ⇒ x = ±√2 ≈ ±1,414"_s)),
             qPrintable(accessibleLines(view).join(u'\n')));
    velmora::loadLanguage(u"Russian"_s);
    m_window->language();
    QCOMPARE(accessibleLines(view).value(0), u"x² = 2"_s);
    QCOMPARE(accessibleLines(view).last(), u"Ответ: −√2; √2."_s);

    // Calculate on the page shows the page's equation again, and names it in the line.
    solve(u"0"_s, u"1"_s, u"-3"_s, u"2"_s);
    QCOMPARE(view->equationLine()->text(), u"x² − 3x + 2 = 0"_s);
    QCOMPARE(accessibleLines(view).value(0), u"x² − 3x + 2 = 0"_s);
    QCOMPARE(m_boxes->boxes.size(), 0);
}

// A line that does not read waits quietly while typed; Enter says why, in the interface
// language, with the place in the line. An equation of a degree not solved here leaves nothing
// of the last solution on show.
void TstTextbookWindow::refusalWaitsForEnter_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("emptied");

    QTest::newRow("English, a character out of place")
        << u"English"_s << u"x + ) = 0"_s << u"Unexpected character ')' at position 5"_s << false;
    QTest::newRow("Russian, a bracket too many")
        << u"Russian"_s << u"(2x - 1))^2 = 9"_s << u"Неожиданный символ «)» в позиции 9"_s << false;
    QTest::newRow("Ukrainian, two unknowns, the first named before the second")
        << u"Ukrainian"_s << u"x + y = 1"_s << u"Два невідомих, x і y, у позиції 5"_s << false;
    QTest::newRow("Russian, no equals sign")
        << u"Russian"_s << u"x^2 - 4"_s << u"В уравнении нет знака «=»"_s << false;
    QTest::newRow("Ukrainian, a limit named in the words")
        << u"Ukrainian"_s << u"x^2 = 2^21"_s << u"Показник степеня більший за 20 у позиції 9"_s
        << false;
    QTest::newRow("English, a character that shows nothing, named by its code")
        << u"English"_s << u"x = 1\a"_s << u"Unexpected character 'U+0007' at position 6"_s
        << false;
    QTest::newRow("Russian, a degree not solved here")
        << u"Russian"_s << u"x^3 + x + 1 = 0"_s
        << u"Здесь решаются только линейные, квадратные и биквадратные уравнения; это уравнение "
           "степени 3."_s
        << true;
}

void TstTextbookWindow::refusalWaitsForEnter() {
    QFETCH(QString, language);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(bool, emptied);
    velmora::loadLanguage(language);
    m_window->language();
    solve(u"0"_s, u"1"_s, u"-5"_s, u"6"_s);
    TextbookWindow* view = openView();
    const QStringList pageLines = accessibleLines(view);

    lineOf(view)->lineEdit()->selectAll();
    lineOf(view)->lineEdit()->insert(typed); // as pasted: the control character cannot be typed
    QCOMPARE(shownRefusal(view), QString());
    QCOMPARE(accessibleLines(view), pageLines);

    QTest::keyClick(lineOf(view), Qt::Key_Return);
    QCOMPARE(shownRefusal(view), refusal);
    QCOMPARE(lineOf(view)->accessibleDescription(), refusal);
    QCOMPARE(accessibleLines(view), emptied ? QStringList() : pageLines);
    QCOMPARE(rootLabels(view).isEmpty(), emptied);
    QCOMPARE(view->graphView()->graph().curve.kind() == velmora::graph::Curve::None, emptied);
    QCOMPARE(view->solution().has_value(), !emptied);
    QVERIFY(view->equationLine()->history().isEmpty());
    QCOMPARE(m_boxes->boxes.size(), 0);

    // The next key takes the words away again.
    QTest::keyClick(lineOf(view), Qt::Key_Space);
    QCOMPARE(shownRefusal(view), QString());
}

// Ctrl+E in the main window, even from a field of the page, opens the view with the keyboard on
// the line, its text selected to type over.
void TstTextbookWindow::ctrlEGoesToTheLine() {
    auto* item = m_window->findChild<QAction*>(u"TypeEquation"_s);
    QVERIFY(item);
    QCOMPARE(QString(item->text()).remove(u'&'), u"Type an equation…"_s);
    QCOMPARE(item->shortcut(), QKeySequence(u"Ctrl+E"_s));

    auto* field = m_window->findChild<QLineEdit*>(u"Edit1"_s);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    TextbookWindow* view = m_window->textbookView();
    QVERIFY(view);
    QVERIFY(QTest::qWaitForWindowActive(view));
    QTRY_COMPARE(QApplication::focusWidget(), lineOf(view));
    QTest::keyClicks(QApplication::focusWidget(), u"x^2 = 9"_s);
    QCOMPARE(accessibleLines(view).last(), u"Answer: x = −3 or x = 3."_s);

    // Again, with the keyboard elsewhere in the view: the same view, back on the line.
    view->findChild<QSpinBox*>()->setFocus();
    m_window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
    QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(m_window->textbookView(), view);
    QTRY_COMPARE(QApplication::focusWidget(), lineOf(view));
    QCOMPARE(lineOf(view)->lineEdit()->selectedText(), u"x^2 = 9"_s);
}

// Copy, the printout's heading and the PDF take the typed equation's solution. In the line the
// copy key copies what is selected there, else the solution.
void TstTextbookWindow::typedSolutionIsCopiedAndPrinted() {
    solve(u"0"_s, u"1"_s, u"-3"_s, u"2"_s);
    TextbookWindow* view = openView();
    lineOf(view)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), lineOf(view));
    typeOver(view, u"x^2/3 - x + 1/2 = 0"_s);
    QCOMPARE(accessibleLines(view).value(0), u"x²/3 − x + 1/2 = 0"_s);
    QTest::keyClick(lineOf(view), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts),
             accessibleLines(view));
    lineOf(view)->lineEdit()->setSelection(0, 3);
    QTest::keyClick(lineOf(view), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"x^2"_s);
    QTest::keyClick(lineOf(view), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(QApplication::clipboard()->text().contains(u"\\text{Multiply both sides by 6: }"_s),
             qPrintable(QApplication::clipboard()->text()));
    QVERIFY2(view->headingText().endsWith(u"    x²/3 − x + 1/2 = 0"_s),
             qPrintable(view->headingText()));
    QTemporaryDir folder;
    QVERIFY(view->writePdf(folder.filePath(u"typed.pdf"_s)));
}

// Enter keeps an equation that solves at the top of the drop-down, once, the last twenty of
// them, in the store for the next window; refused lines are not kept.
void TstTextbookWindow::historyKeepsTheLastTwenty() {
    TextbookWindow* view = openView();
    const auto enter = [view](const QString& text) {
        typeOver(view, text);
        QTest::keyClick(lineOf(view), Qt::Key_Return);
    };
    for (int i = 1; i <= 22; ++i)
        enter(u"x = %1"_s.arg(i));
    enter(u"x=5"_s); // "x = 5" written another way: moved up, not added
    enter(u"x + ) = 0"_s);
    enter(u"x^3 + x + 1 = 0"_s);
    QStringList expected{u"x=5"_s};
    for (int i = 22; i >= 3; --i)
        if (i != 5)
            expected << u"x = %1"_s.arg(i);
    QCOMPARE(view->equationLine()->history(), expected);
    QCOMPARE(view->equationLine()->text(), u"x^3 + x + 1 = 0"_s); // the typed text stays

    // Choosing from the drop-down shows that equation.
    QComboBox* box = lineOf(view);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QVERIFY(expected.contains(box->currentText()));
    QCOMPARE(accessibleLines(view).last(),
             u"Answer: x = %1."_s.arg(
                 box->currentText().mid(box->currentText().indexOf(u'=') + 1).trimmed()));

    m_window = std::make_unique<TForm1>();
    m_window->language();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(openView()->equationLine()->history(), expected);
}

// The stored list as the next view reads it: anything that is not such a list reads as none.
void TstTextbookWindow::historyFromTheStore_data() {
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<QStringList>("history");
    const QString separator(QChar(0x1E));
    QStringList twenty;
    for (int i = 1; i <= 20; ++i)
        twenty << u"x = %1"_s.arg(i);

    QTest::newRow("two equations, the latest first")
        << QJsonValue(u"x² = 4"_s + separator + u"x(x − 3) = 4"_s + separator)
        << QStringList{u"x² = 4"_s, u"x(x − 3) = 4"_s};
    QTest::newRow("twenty") << QJsonValue(twenty.join(separator) + separator) << twenty;
    QTest::newRow("twenty-one") << QJsonValue(twenty.join(separator) + separator + u"x = 21"_s +
                                              separator)
                                << QStringList();
    QTest::newRow("not a string") << QJsonValue(7) << QStringList();
    QTest::newRow("a word") << QJsonValue(u"garbage"_s) << QStringList();
    QTest::newRow("words with separators")
        << QJsonValue(u"garbage"_s + separator + u"x = 1"_s + separator) << QStringList();
    QTest::newRow("an equation without its separator") << QJsonValue(u"x = 1"_s) << QStringList();
    QTest::newRow("an empty line")
        << QJsonValue(u"x = 1"_s + separator + separator) << QStringList();
    QTest::newRow("the same equation twice")
        << QJsonValue(u"x = 1"_s + separator + u"x=1"_s + separator) << QStringList();
}

void TstTextbookWindow::historyFromTheStore() {
    QFETCH(QJsonValue, stored);
    QFETCH(QStringList, history);
    const QJsonObject program{{u"Textbook view equations"_s, stored}};
    const QJsonObject machine{{QString::fromUtf16(velmora::storednames::ProgramKey), program}};
    m_store->seed(QJsonDocument(QJsonObject{{u"HKEY_LOCAL_MACHINE"_s, machine}}).toJson());
    TextbookWindow* view = openView();
    QCOMPARE(view->equationLine()->history(), history);
    QCOMPARE(view->equationLine()->text(), QString());
}

// With VELMORA_SCREENSHOTS set to a folder, the view in each language, light and dark, is saved
// there for a person to look at.
void TstTextbookWindow::screenshots() {
    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("VELMORA_SCREENSHOTS is not set");
    solve(u"1"_s, u"1"_s, u"-4"_s, u"1"_s);
    TextbookWindow* view = openView();
    view->resize(760, 640);
    // New lines are laid out by posted layout requests, which may post further ones.
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    };
    for (const QString& language : {u"Russian"_s, u"English"_s, u"Ukrainian"_s}) {
        velmora::loadLanguage(language);
        m_window->language();
        for (const bool dark : {false, true}) {
            view->setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
            typeOver(view, u"(2x - 1)^2 = 9"_s);
            QTest::keyClick(lineOf(view), Qt::Key_Return);
            settle();
            view->grab().save(
                u"%1/textbook-%2-%3.png"_s.arg(folder, language, dark ? u"dark"_s : u"light"_s));
            // A refusal under the line, the last solution still below it.
            typeOver(view, u"x(x - 3)) = 4"_s);
            QTest::keyClick(lineOf(view), Qt::Key_Return);
            settle();
            view->grab().save(u"%1/textbook-%2-%3-refused.png"_s.arg(
                folder, language, dark ? u"dark"_s : u"light"_s));
        }
    }
    // The printed page, drawn as the PDF and the printer get it.
    QImage page(595, 842, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    view->paintPages(painter, QRectF(56, 56, 483, 730), [] { return false; });
    painter.end();
    page.save(u"%1/textbook-page.png"_s.arg(folder));
}

QTEST_MAIN(TstTextbookWindow)
#include "tst_textbookwindow.moc"
