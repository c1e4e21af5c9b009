// The textbook view as the user drives it (offscreen): made on the first Ctrl+T and not before,
// following the equation page's solves, copying, zooming, the PDF, Escape, its remembered size,
// the language and the palette.
#include "app/mainwindow.h"
#include "state/global.h"
#include "state/language.h"
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"
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
    QCOMPARE(hint->text(), u"Solve an equation on the equation page: its solution appears here, "
                           "written as in a textbook."_s);
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
    // The curve in its blue, in the lower half where the graph goes, whatever the desktop's
    // colours.
    int blue = 0;
    for (int y = page.height() / 2; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 100;
        }
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

// With VELMORA_SCREENSHOTS set to a folder, the view in each language, light and dark, is saved
// there for a person to look at.
void TstTextbookWindow::screenshots() {
    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("VELMORA_SCREENSHOTS is not set");
    solve(u"1"_s, u"1"_s, u"-4"_s, u"1"_s);
    TextbookWindow* view = openView();
    view->resize(760, 640);
    for (const QString& language : {u"Russian"_s, u"English"_s, u"Ukrainian"_s}) {
        velmora::loadLanguage(language);
        m_window->language();
        for (const bool dark : {false, true}) {
            view->setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
            QApplication::processEvents();
            view->grab().save(
                u"%1/textbook-%2-%3.png"_s.arg(folder, language, dark ? u"dark"_s : u"light"_s));
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
