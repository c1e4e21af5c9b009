#include "textbook/solutionprint.h"

#include "textbook/formulapainter.h"

#include <QFontMetricsF>
#include <QPainter>

namespace velmora::textbook {

int paintSolutionPages(QPainter& painter, const QRectF& page, const QString& heading,
                       const Solution& solution, const QFont& font,
                       const std::function<bool()>& newPage, qreal* bottom) {
    const FormulaPainter formulas(font);
    QFont headingFont = font;
    headingFont.setBold(true);
    const QFontMetricsF headingMetrics(headingFont);
    const qreal spacing = QFontMetricsF(font).height() * 0.6;

    int pages = 1;
    qreal y = page.top();
    painter.setFont(headingFont);
    y += headingMetrics.ascent();
    painter.drawText(QPointF(page.left(), y), heading);
    y += headingMetrics.descent() + spacing * 2;

    for (const Formula& line : solution.lines) {
        const FormulaBox box = formulas.measure(line);
        // A line wider than the page is drawn smaller, so paper shows all of it.
        const qreal scale = box.width > page.width() ? page.width() / box.width : 1.0;
        const qreal height = box.height() * scale;
        if (y + height > page.bottom() && y > page.top()) {
            if (!newPage())
                return pages;
            ++pages;
            y = page.top();
        }
        painter.save();
        painter.translate(page.left(), y);
        painter.scale(scale, scale);
        formulas.paint(painter, QPointF(0, box.ascent), line);
        painter.restore();
        y += height + spacing;
    }
    if (bottom)
        *bottom = y;
    return pages;
}

} // namespace velmora::textbook
