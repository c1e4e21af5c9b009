// The window font: the face it shows, script by script, is the one the face "Velmora" with its
// substitutes shows, however the font names its face.
#include "platform/ui/uifont.h"

#include <QApplication>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

// The faces that draw the text, in order, with their styles.
QStringList drawingFaces(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont face = run.rawFont();
        faces << face.familyName().toLower() + QLatin1Char('/') + face.styleName();
    }
    return faces;
}

// The face named as the windows name it, with the substitutes that stand in where it is missing.
QFont namedFace() {
    QFont::insertSubstitution(QStringLiteral("Velmora"), QStringLiteral("DejaVu Sans Condensed"));
    QFont::insertSubstitution(QStringLiteral("Velmora"), QStringLiteral("DejaVu Sans"));
    QFont font(QStringLiteral("Velmora"));
    font.setPixelSize(13);
    return font;
}

} // namespace

class TestUiFont : public QObject {
    Q_OBJECT

private slots:
    void sameFaceAsTheNamedFace_data();
    void sameFaceAsTheNamedFace();
    void letterFaceIsTheOneArialGets();
};

void TestUiFont::sameFaceAsTheNamedFace_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Latin caption") << QStringLiteral("Calculate") << false;
    QTest::newRow("Cyrillic caption") << QStringLiteral("Вычислить") << false;
    QTest::newRow("Cyrillic group title, bold") << QStringLiteral("Коэффициенты") << true;
    QTest::newRow("formula with superscripts") << QStringLiteral("ax⁴ + bx² + c = 0") << false;
    QTest::newRow("angle and degree sign") << QStringLiteral("sin α, 30°") << false;
    QTest::newRow("square root sign") << QStringLiteral("√D = 5") << false;
}

void TestUiFont::sameFaceAsTheNamedFace() {
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFont window = velmora::windowFont();
    QFont named = namedFace();
    window.setBold(bold);
    named.setBold(bold);

    QCOMPARE(QFontInfo(window).pixelSize(), 13);
    const QStringList faces = drawingFaces(window, text);
    QVERIFY(!faces.isEmpty());
    QCOMPARE(faces, drawingFaces(named, text));
    // The machines that run the tests have the condensed face, which the windows are laid out
    // for.
    QVERIFY2(faces.first().startsWith(QLatin1String("dejavu sans condensed/")),
             qPrintable(faces.first()));
}

// The coefficient letters name their face directly, yet look as "Arial" does through the font
// configuration's substitutes.
void TestUiFont::letterFaceIsTheOneArialGets() {
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(16);
    const QFont letters = velmora::letterFont();
    QCOMPARE(QFontInfo(letters).pixelSize(), 16);
    const QString text = QStringLiteral("abc");
    QCOMPARE(drawingFaces(letters, text), drawingFaces(arial, text));
}

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
