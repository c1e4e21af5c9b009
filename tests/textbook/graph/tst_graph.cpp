// The graph of the equation: from the equation to the view's marks and ranges, its description
// in words, the picture itself in light and dark palettes, the SVG file, and the wheel and keys
// that zoom and pan it.

#include "numbers/exactdecimal.h"
#include "state/language.h"
#include "tests/support/testsupport.h"
#include "textbook/graph/graphmodel.h"
#include "textbook/graph/graphpainter.h"
#include "textbook/graph/graphview.h"
#include "textbook/solutiongraph.h"
#include "textbook/textbookwords.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using velmora::graph::GraphModel;
using velmora::graph::Mark;
using velmora::graph::Viewport;

Q_DECLARE_METATYPE(GraphModel)

namespace {

const QChar comma = u',';

// The graph's words as the English language file has them.
const velmora::graph::GraphTexts& englishTexts() {
    static const velmora::graph::GraphTexts texts = [] {
        qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
        velmora::loadLanguage(u"English"_s);
        return velmora::textbook::graphTextsOfLanguage();
    }();
    return texts;
}

// "kind x y" of every mark, in order: R root, V vertex, E extremum, Y y-intercept.
QStringList marksOf(const GraphModel& g) {
    QStringList out;
    for (const Mark& m : g.marks) {
        const char kind = "RVEY"[m.kind];
        out << QStringLiteral("%1 %2 %3").arg(QLatin1Char(kind)).arg(m.at.x()).arg(m.at.y());
    }
    return out;
}

// The graph of an equation as the textbook view makes it: solved exactly, its roots handed over
// as exact values. Numbers are written with three decimals.
GraphModel graphFor(velmora::EquationType type, const char* a, const char* b, const char* c,
                    int decimals = 3) {
    const auto exact = [](const char* text) {
        return *velmora::parseExactDecimal(QString::fromLatin1(text), u'.');
    };
    velmora::Equation equation;
    equation.coefficients = {exact(a), exact(b), exact(c)};
    equation.type = type;
    equation.letter = u"t"_s;
    equation.separator = comma;
    const velmora::textbook::Solution solution =
        velmora::textbook::solve(equation, velmora::textbook::Words(), comma, decimals);
    return velmora::textbook::graphOf(equation, solution, comma, decimals, englishTexts());
}

constexpr auto Q = velmora::EquationType::Quadratic;
constexpr auto B = velmora::EquationType::Biquadratic;

const QPalette& darkPalette() {
    static const QPalette dark = [] {
        QPalette p;
        p.setColor(QPalette::Base, QColor("#2d2d2d"));
        p.setColor(QPalette::Text, QColor("#eeeeec"));
        p.setColor(QPalette::Window, QColor("#353535"));
        p.setColor(QPalette::WindowText, QColor("#eeeeec"));
        p.setColor(QPalette::Highlight, QColor("#1d5fa8"));
        return p;
    }();
    return dark;
}

} // namespace

class TstGraph : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void marksAndView_data();
    void marksAndView();
    void description_data();
    void description();
    void picture_data();
    void picture();
    void svgHoldsTheCurveAndTheMarks();
    void wheelKeysAndHome();
    void shortNumbers_data();
    void shortNumbers();
};

void TstGraph::init() {
    velmora::test::recordTopLevelWidgets();
}

void TstGraph::cleanup() {
    velmora::test::verifyNoWindowLeftOpen();
}

// The marks of each kind of equation, the axis of symmetry, and a first view that holds every
// mark and the x-axis with room around them, with a note for what it cannot show.
void TstGraph::marksAndView_data() {
    QTest::addColumn<GraphModel>("graph");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<double>("axis"); // NaN for none
    QTest::addColumn<int>("notes");

    const double none = std::nan("");
    QTest::newRow("quadratic, two roots")
        << graphFor(Q, "1", "-5", "6")
        << QStringList{u"R 2 0"_s, u"R 3 0"_s, u"V 2.5 -0.25"_s, u"Y 0 6"_s} << 2.5 << 0;
    QTest::newRow("negative a: the vertex is the intercept")
        << graphFor(Q, "-1", "0", "4") << QStringList{u"R -2 0"_s, u"R 2 0"_s, u"V 0 4"_s} << 0.0
        << 0;
    QTest::newRow("one root: the vertex is on it")
        << graphFor(Q, "1", "-2", "1") << QStringList{u"R 1 0"_s, u"Y 0 1"_s} << 1.0 << 0;
    QTest::newRow("no real roots")
        << graphFor(Q, "1", "0", "1") << QStringList{u"V 0 1"_s} << 0.0 << 0;
    QTest::newRow("every mark at one point")
        << graphFor(Q, "1", "0", "0") << QStringList{u"R 0 0"_s} << 0.0 << 0;
    QTest::newRow("biquadratic, four roots")
        << graphFor(B, "1", "-5", "4")
        << QStringList{u"R -2 0"_s, u"R -1 0"_s,           u"R 1 0"_s,          u"R 2 0"_s,
                       u"E 0 4"_s,  u"E -1.58114 -2.25"_s, u"E 1.58114 -2.25"_s}
        << 0.0 << 0;
    QTest::newRow("biquadratic, no roots")
        << graphFor(B, "1", "5", "4") << QStringList{u"E 0 4"_s} << 0.0 << 0;
    QTest::newRow("biquadratic, the root 0 on the maximum")
        << graphFor(B, "-1", "4", "0")
        << QStringList{u"R -2 0"_s, u"R 0 0"_s, u"R 2 0"_s, u"E -1.41421 4"_s, u"E 1.41421 4"_s}
        << 0.0 << 0;
    QTest::newRow("a = 0: linear")
        << graphFor(Q, "0", "2", "-4") << QStringList{u"R 2 0"_s, u"Y 0 -4"_s} << none << 0;
    QTest::newRow("a = 0: linear without a solution")
        << graphFor(Q, "0", "0", "3") << QStringList{u"Y 0 3"_s} << none << 0;
    // With a = 0 the biquadratic equation is 2x² − 4 = 0: a parabola, not a line.
    QTest::newRow("a = 0: biquadratic")
        << graphFor(B, "0", "2", "-4")
        << QStringList{u"R -1.41421 0"_s, u"R 1.41421 0"_s, u"V 0 -4"_s} << 0.0 << 0;
    // Roots 1E-10 and 1E5: beside the intercept at (0; 1E-5) the small root is one dot.
    QTest::newRow("roots far apart")
        << graphFor(Q, "1", "-100000.0000000001", "1e-5")
        << QStringList{u"R 1e-10 0"_s, u"R 100000 0"_s, u"V 50000 -2.5e+09"_s, u"Y 0 1e-05"_s}
        << 50000.0 << 1;
    // Roots ±1E-40 are two points, not one at 0, and too close to tell apart at this scale.
    QTest::newRow("tiny roots") << graphFor(Q, "1", "0", "-1E-80")
                                << QStringList{u"R -1e-40 0"_s, u"R 1e-40 0"_s, u"V 0 -1e-80"_s}
                                << 0.0 << 3;
    QTest::newRow("huge roots") << graphFor(Q, "1", "0", "-1E300")
                                << QStringList{u"R -1e+150 0"_s, u"R 1e+150 0"_s, u"V 0 -1e+300"_s}
                                << 0.0 << 0;
}

void TstGraph::marksAndView() {
    QFETCH(GraphModel, graph);
    QFETCH(QStringList, marks);
    QFETCH(double, axis);
    QFETCH(int, notes);

    const GraphModel& g = graph;
    QCOMPARE(marksOf(g), marks);
    QCOMPARE(g.symmetryAxis.has_value(), !std::isnan(axis));
    if (g.symmetryAxis)
        QCOMPARE(*g.symmetryAxis, axis);
    QCOMPARE(g.notes.size(), notes);

    const velmora::graph::Range& v = g.firstView;
    QVERIFY(v.xMax > v.xMin && v.yMax > v.yMin);
    QVERIFY2(v.yMin < 0 && v.yMax > 0, "the x-axis is in view");
    for (const Mark& m : g.marks) {
        // Inside, and not on the edge: a margin of a tenth of the span at least.
        QVERIFY(m.at.x() > v.xMin + (v.xMax - v.xMin) * 0.1);
        QVERIFY(m.at.x() < v.xMax - (v.xMax - v.xMin) * 0.1);
        QVERIFY(m.at.y() > v.yMin + (v.yMax - v.yMin) * 0.1);
        QVERIFY(m.at.y() < v.yMax - (v.yMax - v.yMin) * 0.1);
    }
}

// The words for screen readers, every number from its exact value: as it is where three decimals
// write it exactly, else "≈" and its rounding, never "0" for a value that is not zero.
void TstGraph::description_data() {
    QTest::addColumn<GraphModel>("graph");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two roots")
        << graphFor(Q, "1", "-5", "6")
        << u"Parabola opening upwards; vertex (2,5; −0,25); crosses the x-axis at 2 and 3; "
           "crosses the y-axis at 6"_s;
    QTest::newRow("no roots, downwards")
        << graphFor(Q, "-2", "0", "-1")
        << u"Parabola opening downwards; vertex (0; −1); does not reach the x-axis; crosses the "
           "y-axis at −1"_s;
    QTest::newRow("one root touches")
        << graphFor(Q, "1", "1.4", "0.49")
        << u"Parabola opening upwards; vertex (−0,7; 0); touches the x-axis at −0,7; crosses "
           "the y-axis at 0,49"_s;
    QTest::newRow("biquadratic")
        << graphFor(B, "1", "-5", "4")
        << u"Curve of the fourth degree opening upwards; maximum at (0; 4); minimum at "
           "(≈ −1,581; −2,25); minimum at (≈ 1,581; −2,25); crosses the x-axis at −2, −1, 1 and "
           "2; crosses the y-axis at 4"_s;
    QTest::newRow("line") << graphFor(Q, "0", "2", "-4")
                          << u"Straight line; crosses the x-axis at 2; crosses the y-axis at −4"_s;
    // The true values, rounded half up: 1,2345 → 1,235 and −0,18225 → −0,1823 at four decimals.
    QTest::newRow("rounded from the true value")
        << graphFor(Q, "1", "0", "1.2345", 3)
        << u"Parabola opening upwards; vertex (0; ≈ 1,235); does not reach the x-axis; crosses "
           "the y-axis at ≈ 1,235"_s;
    QTest::newRow("vertex rounded half up") << graphFor(Q, "0.1", "-0.51", "0.468", 4)
                                            << u"Parabola opening upwards; vertex (2,55; ≈ "
                                               u"−0,1823); crosses the x-axis at 1,2 and 3,9; "
                                               "crosses the y-axis at 0,468"_s;
    QTest::newRow("a tiny value is not 0")
        << graphFor(Q, "1", "0", "-1E-80", 2)
        << u"Parabola opening upwards; vertex (0; −1·10⁻⁸⁰); crosses the x-axis at −1·10⁻⁴⁰ "
           "and 1·10⁻⁴⁰; crosses the y-axis at −1·10⁻⁸⁰; −1·10⁻⁴⁰ and 1·10⁻⁴⁰ are too close "
           "together to tell apart at this scale; zoom in to see them; −1·10⁻⁴⁰ and (0; "
           "−1·10⁻⁸⁰) are too close together to tell apart at this scale; zoom in to see them; "
           "1·10⁻⁴⁰ and (0; −1·10⁻⁸⁰) are too close together to tell apart at this scale; zoom in "
           "to see them"_s;
    // ±√2/10⁴⁰: labelled with the exact form, its power of ten written as one, and its
    // approximation.
    const QString exact = u"√2/(10⁴⁰)"_s;
    const QString left = u"−"_s + exact + u" ≈ −1,41·10⁻⁴⁰"_s;
    const QString right = exact + u" ≈ 1,41·10⁻⁴⁰"_s;
    const QString vertex = u"(0; −2·10⁻⁸⁰)"_s;
    const QString tooClose = u"%1 and %2 are too close together to tell apart at this scale; "
                             "zoom in to see them"_s;
    QTest::newRow("an irrational tiny root is approximate, not 0")
        << graphFor(Q, "1", "0", "-2E-80", 2)
        << u"Parabola opening upwards; vertex (0; −2·10⁻⁸⁰); crosses the x-axis at "
           "≈ −1,41·10⁻⁴⁰ and ≈ 1,41·10⁻⁴⁰; crosses the y-axis at −2·10⁻⁸⁰; "_s +
               QStringList{tooClose.arg(left, right), tooClose.arg(left, vertex),
                           tooClose.arg(right, vertex)}
                   .join(u"; ");
}

void TstGraph::description() {
    QFETCH(GraphModel, graph);
    QFETCH(QString, expected);
    QCOMPARE(graph.description, expected);
}

// The picture: the curve's colour on the curve away from the marks, the marks' colour on the
// roots and the vertex, both readable on the background.
void TstGraph::picture_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void TstGraph::picture() {
    QFETCH(bool, dark);
    const QPalette palette = dark ? darkPalette() : QApplication::style()->standardPalette();
    const velmora::graph::GraphColours colours = velmora::graph::coloursFrom(palette);
    QVERIFY(velmora::graph::contrastRatio(colours.curve, colours.background) >= 3);
    QVERIFY(velmora::graph::contrastRatio(colours.marks, colours.background) >= 3);

    const GraphModel g = graphFor(Q, "1", "-5", "6");
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    const Viewport view(g.firstView, QRectF(image.rect()));
    velmora::graph::paintGraph(painter, g, view, colours, comma);
    painter.end();

    const auto near = [&image](QPointF at, const QColor& colour) {
        for (int dx = -2; dx <= 2; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) {
                const QColor seen = image.pixelColor(int(at.x()) + dx, int(at.y()) + dy);
                if (std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
                        std::abs(seen.blue() - colour.blue()) <
                    24)
                    return true;
            }
        }
        return false;
    };
    for (const QPointF mark : {QPointF(2, 0), QPointF(3, 0), QPointF(2.5, -0.25)})
        QVERIFY2(near(view.toPixels(mark), colours.marks), "a mark on each root and the vertex");
    for (const double x : {0.5, 1.0, 3.3})
        QVERIFY2(near(view.toPixels({x, x * x - 5 * x + 6}), colours.curve), "the curve");
    QVERIFY2(!near(view.toPixels({1.0, -1.0}), colours.curve), "no curve where there is none");
}

void TstGraph::svgHoldsTheCurveAndTheMarks() {
    velmora::graph::GraphView view;
    view.resize(600, 400);
    view.setGraph(graphFor(Q, "1", "-5", "6"), u"Graph"_s, comma);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"graph.svg"_s);
    QVERIFY(view.saveSvg(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    QVERIFY(svg.contains(u"<path"_s));
    QVERIFY2(svg.contains(u"(2,5; −0,25)"_s) || svg.contains(u"(2,5, −0,25)"_s),
             qPrintable(svg.left(200)));
    QVERIFY(svg.contains(u"Parabola opening upwards"_s));

    const QString png = dir.filePath(u"graph.png"_s);
    QVERIFY(view.savePng(png));
    QCOMPARE(QImage(png).size(), view.size() * view.devicePixelRatio());
}

void TstGraph::wheelKeysAndHome() {
    velmora::graph::GraphView view;
    view.resize(600, 400);
    view.setGraph(graphFor(Q, "1", "-5", "6"), u"Graph"_s, comma);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const velmora::graph::Range first = view.range();
    QCOMPARE(view.accessibleName(), u"Graph"_s);
    QVERIFY(view.accessibleDescription().startsWith(u"Parabola"_s));

    const QPointF at(150, 250);
    const QPointF world = Viewport(view.range(), view.rect()).toWorld(at);
    QWheelEvent wheel(at, view.mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    QVERIFY((view.range().xMax - view.range().xMin) < (first.xMax - first.xMin));
    const QPointF still = Viewport(view.range(), view.rect()).toWorld(at);
    QVERIFY(std::fabs(still.x() - world.x()) < 1e-9 && std::fabs(still.y() - world.y()) < 1e-9);

    const velmora::graph::Range zoomed = view.range();
    QTest::keyClick(&view, Qt::Key_Right);
    QVERIFY(view.range().xMin > zoomed.xMin);
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(view.range(), first);
    QTest::keyClick(&view, Qt::Key_Minus);
    QVERIFY((view.range().xMax - view.range().xMin) > (first.xMax - first.xMin));
    QTest::keyClick(&view, Qt::Key_0);
    QCOMPARE(view.range(), first);
    // Ctrl++ zooms the graph, also where the window has a shortcut of its own for it.
    QAction textZoom(u"Zoom the text"_s, &view);
    textZoom.setShortcut(QKeySequence::ZoomIn);
    view.addAction(&textZoom);
    QSignalSpy taken(&textZoom, &QAction::triggered);
    QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY((view.range().xMax - view.range().xMin) < (first.xMax - first.xMin));
    QCOMPARE(taken.size(), 0);
}

void TstGraph::shortNumbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << 6.0 << u"6"_s;
    QTest::newRow("negative fraction") << -0.25 << u"−0,25"_s;
    QTest::newRow("four digits") << 1.5811388 << u"1,581"_s;
    QTest::newRow("large, fixed") << 123456.0 << u"123456"_s;
    QTest::newRow("tiny") << 1e-10 << u"1E−10"_s;
    QTest::newRow("huge, negative") << -2.5e9 << u"−2,5E9"_s;
    // Beyond the doubles a value is infinite, never "0".
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << u"∞"_s;
    QTest::newRow("infinite, negative") << -std::numeric_limits<double>::infinity() << u"−∞"_s;
}

void TstGraph::shortNumbers() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(velmora::graph::shortNumber(value, comma), expected);
}

QTEST_MAIN(TstGraph)
#include "tst_graph.moc"
