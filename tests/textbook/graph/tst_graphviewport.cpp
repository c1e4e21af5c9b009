// The plane in pixels: the curve's points for a picture, the view's mapping of the range onto
// its pixels, and zoom and pan that keep the point under the pointer in place.

#include "textbook/graph/graphmodel.h"

#include <QList>
#include <QString>
#include <QTest>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

using namespace Qt::Literals::StringLiterals;
using velmora::graph::Curve;
using velmora::graph::Range;
using velmora::graph::Viewport;

Q_DECLARE_METATYPE(Curve)
Q_DECLARE_METATYPE(Range)

namespace {

// Empty when the point is within the tolerance of the expected one, else both.
QString farFrom(QPointF seen, QPointF expected, QPointF tolerance) {
    if (std::fabs(seen.x() - expected.x()) <= tolerance.x() &&
        std::fabs(seen.y() - expected.y()) <= tolerance.y())
        return {};
    return u"(%1; %2) where (%3; %4) was expected"_s.arg(seen.x())
        .arg(seen.y())
        .arg(expected.x())
        .arg(expected.y());
}

} // namespace

class TstGraphViewport : public QObject {
    Q_OBJECT

private slots:
    void curvePoints_data();
    void curvePoints();
    void viewportMapsBothWays_data();
    void viewportMapsBothWays();
    void zoomKeepsThePointUnderThePointer_data();
    void zoomKeepsThePointUnderThePointer();
    void panFollowsThePointer();
};

// The curve's points for a picture of `columns` pixel columns: one a column and one more, evenly
// from one end of the range to the other, each on the curve, in runs split where it has no value.
void TstGraphViewport::curvePoints_data() {
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<Range>("range");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("runs"); // the points in each run
    QTest::addColumn<QPointF>("first");
    QTest::addColumn<QPointF>("last");

    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("parabola x² − 5x + 6")
        << Curve(Curve::Quadratic, 1, -5, 6) << Range{-1, 6, -1, 13} << 7 << QList<int>{8}
        << QPointF(-1, 12) << QPointF(6, 12);
    QTest::newRow("quartic x⁴ − 5x² + 4, the range off-centre")
        << Curve(Curve::Biquadratic, 1, -5, 4) << Range{-2.5, 0.5, -3, 20} << 600 << QList<int>{601}
        << QPointF(-2.5, 11.8125) << QPointF(0.5, 2.8125);
    QTest::newRow("line 2x − 4, fewer than two columns drawn as two")
        << Curve(Curve::Linear, 0, 2, -4) << Range{0, 4, -5, 5} << 0 << QList<int>{3}
        << QPointF(0, -4) << QPointF(4, 4);
    // b beyond the doubles: (x + ∞)·x is −∞ left of 0, +∞ right of it, and no number at 0.
    QTest::newRow("x² + 10⁴⁰⁰·x, no value at 0")
        << Curve(Curve::Quadratic, 1, mpq_class("1" + std::string(400, '0')), 0)
        << Range{-1, 1, -1, 1} << 4 << QList<int>{2, 2} << QPointF(-1, -infinity)
        << QPointF(1, infinity);
}

void TstGraphViewport::curvePoints() {
    QFETCH(Curve, curve);
    QFETCH(Range, range);
    QFETCH(int, columns);
    QFETCH(QList<int>, runs);
    QFETCH(QPointF, first);
    QFETCH(QPointF, last);

    const std::vector<std::vector<QPointF>> sampled =
        velmora::graph::sampleCurve(curve, range, columns);
    QList<int> sizes;
    for (const std::vector<QPointF>& run : sampled)
        sizes << int(run.size());
    QCOMPARE(sizes, runs);
    QCOMPARE(sampled.front().front().x(), first.x());
    QCOMPARE(sampled.front().front().y(), first.y());
    QCOMPARE(sampled.back().back().x(), last.x());
    QCOMPARE(sampled.back().back().y(), last.y());
    const double step = (range.xMax - range.xMin) / std::max(columns, 2);
    for (const std::vector<QPointF>& run : sampled) {
        for (std::size_t i = 0; i < run.size(); ++i) {
            QCOMPARE(run[i].y(), curve.valueAt(run[i].x()));
            if (i > 0)
                QVERIFY(std::fabs(run[i].x() - run[i - 1].x() - step) < 1e-12 * step);
        }
    }
}

// The range's corners go to the rectangle's, y flipped, and come back; so does a point inside.
// Also for the views of tiny and of huge roots, many powers of ten from a unit a pixel.
void TstGraphViewport::viewportMapsBothWays_data() {
    QTest::addColumn<Range>("range");
    QTest::addColumn<QRectF>("pixels");
    QTest::newRow("a parabola's view") << Range{-0.5, 3.5, -1.2, 7} << QRectF(0, 0, 600, 400);
    QTest::newRow("rectangle off the origin, as on a page")
        << Range{-3, 5, -2, 7} << QRectF(72.5, 140.25, 480, 321);
    QTest::newRow("roots ±10⁻⁴⁰") << Range{-1.3e-40, 1.3e-40, -1.3e-80, 0.3e-80}
                                  << QRectF(0, 0, 600, 400);
    QTest::newRow("roots ±10¹⁵⁰") << Range{-1.3e150, 1.3e150, -1.3e300, 0.3e300}
                                  << QRectF(10, 20, 600, 400);
}

void TstGraphViewport::viewportMapsBothWays() {
    QFETCH(Range, range);
    QFETCH(QRectF, pixels);
    const Viewport view(range, pixels);
    // Within a millionth of a pixel, both ways.
    const QPointF pixel(1e-6, 1e-6);
    const QPointF world((range.xMax - range.xMin) / pixels.width() * 1e-6,
                        (range.yMax - range.yMin) / pixels.height() * 1e-6);
    const std::pair<QPointF, QPointF> corners[] = {
        {{range.xMin, range.yMax}, pixels.topLeft()},
        {{range.xMax, range.yMax}, pixels.topRight()},
        {{range.xMin, range.yMin}, pixels.bottomLeft()},
        {{range.xMax, range.yMin}, pixels.bottomRight()},
    };
    for (const auto& [w, p] : corners) {
        const QString there = farFrom(view.toPixels(w), p, pixel);
        QVERIFY2(there.isEmpty(), qPrintable(there));
        const QString back = farFrom(view.toWorld(p), w, world);
        QVERIFY2(back.isEmpty(), qPrintable(back));
    }
    const QPointF inside(range.xMin + (range.xMax - range.xMin) * 0.3,
                         range.yMin + (range.yMax - range.yMin) * 0.8);
    const QPointF drawn = view.toPixels(inside);
    const QString there = farFrom(
        drawn, {pixels.left() + pixels.width() * 0.3, pixels.top() + pixels.height() * 0.2}, pixel);
    QVERIFY2(there.isEmpty(), qPrintable(there));
    const QString back = farFrom(view.toWorld(drawn), inside, world);
    QVERIFY2(back.isEmpty(), qPrintable(back));
}

void TstGraphViewport::zoomKeepsThePointUnderThePointer_data() {
    QTest::addColumn<QPointF>("pixel");
    QTest::addColumn<double>("factor");
    QTest::newRow("in, middle") << QPointF(300, 200) << 0.8;
    QTest::newRow("in, corner") << QPointF(10, 390) << 0.5;
    QTest::newRow("out, off centre") << QPointF(450, 120) << 1.25;
}

void TstGraphViewport::zoomKeepsThePointUnderThePointer() {
    QFETCH(QPointF, pixel);
    QFETCH(double, factor);
    const Viewport before({-3, 5, -2, 7}, QRectF(0, 0, 600, 400));
    const Viewport after = before.zoomed(pixel, factor);
    const QPointF was = before.toWorld(pixel);
    const QPointF is = after.toWorld(pixel);
    QVERIFY(std::fabs(was.x() - is.x()) < 1e-12 && std::fabs(was.y() - is.y()) < 1e-12);
    QCOMPARE(after.range().xMax - after.range().xMin, 8 * factor);
}

void TstGraphViewport::panFollowsThePointer() {
    const Viewport before({-3, 5, -2, 7}, QRectF(0, 0, 600, 400));
    const QPointF from(100, 100);
    const QPointF by(37, -21);
    const Viewport after = before.panned(by);
    const QPointF dragged = after.toWorld(from + by);
    QVERIFY(std::fabs(dragged.x() - before.toWorld(from).x()) < 1e-12);
    QVERIFY(std::fabs(dragged.y() - before.toWorld(from).y()) < 1e-12);
}

QTEST_APPLESS_MAIN(TstGraphViewport)
#include "tst_graphviewport.moc"
