#include "textbook/formulapainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace velmora::textbook {
namespace {

// Scripts are drawn smaller, and scripts of scripts smaller still, down to a floor.
qreal scaleAt(int level) {
    return level == 0 ? 1.0 : level == 1 ? 0.7 : 0.55;
}

struct TextRun {
    QString text;
    bool italic = false;
};

// A formula's letters are its variables, set in italics as textbooks set them; its digits and
// signs, and prose, stay upright.
std::vector<TextRun> runsOf(const Formula& f) {
    if (f.kind == Formula::Kind::Words)
        return {{f.text, false}};
    std::vector<TextRun> runs;
    for (const QChar c : f.text) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (runs.empty() || runs.back().italic != letter)
            runs.push_back({QString(), letter});
        runs.back().text += c;
    }
    return runs;
}

} // namespace

FormulaPainter::FormulaPainter(const QFont& font) : m_font(font) {}

QFont FormulaPainter::fontAt(int level) const {
    QFont font = m_font;
    if (m_font.pointSizeF() > 0)
        font.setPointSizeF(m_font.pointSizeF() * scaleAt(level));
    else
        font.setPixelSize(std::max(1, qRound(m_font.pixelSize() * scaleAt(level))));
    return font;
}

QFont FormulaPainter::italicAt(int level) const {
    QFont font = fontAt(level);
    font.setItalic(true);
    return font;
}

qreal FormulaPainter::em(int level) const {
    return QFontMetricsF(fontAt(level)).height();
}

FormulaBox FormulaPainter::measure(const Formula& f, int level) const {
    switch (f.kind) {
    case Formula::Kind::Math:
    case Formula::Kind::Words: {
        const QFontMetricsF metrics(fontAt(level));
        qreal width = 0;
        for (const TextRun& run : runsOf(f))
            width += QFontMetricsF(run.italic ? italicAt(level) : fontAt(level))
                         .horizontalAdvance(run.text);
        return {width, metrics.ascent(), metrics.descent()};
    }
    case Formula::Kind::Row: {
        FormulaBox box;
        for (const Formula& part : f.parts) {
            const FormulaBox p = measure(part, level);
            box.width += p.width;
            box.ascent = std::max(box.ascent, p.ascent);
            box.descent = std::max(box.descent, p.descent);
        }
        if (f.parts.empty()) {
            const QFontMetricsF metrics(fontAt(level));
            box.ascent = metrics.ascent();
            box.descent = metrics.descent();
        }
        return box;
    }
    case Formula::Kind::Fraction: {
        const FormulaBox top = measure(f.parts[0], level);
        const FormulaBox bottom = measure(f.parts[1], level);
        const QFontMetricsF metrics(fontAt(level));
        const qreal axis = metrics.xHeight() / 2;
        const qreal gap = em(level) * 0.12;
        const qreal pad = em(level) * 0.15;
        return {std::max(top.width, bottom.width) + 2 * pad, axis + gap + top.height(),
                gap + bottom.height() - axis};
    }
    case Formula::Kind::Root: {
        const FormulaBox inner = measure(f.parts[0], level);
        const qreal e = em(level);
        return {inner.width + e * 0.62, inner.ascent + e * 0.14, inner.descent + e * 0.04};
    }
    case Formula::Kind::Sup: {
        const FormulaBox base = measure(f.parts[0], level);
        const FormulaBox script = measure(f.parts[1], level + 1);
        const qreal shift = em(level) * 0.38;
        return {base.width + script.width, std::max(base.ascent, shift + script.ascent),
                std::max(base.descent, script.descent - shift)};
    }
    case Formula::Kind::Sub: {
        const FormulaBox base = measure(f.parts[0], level);
        const FormulaBox script = measure(f.parts[1], level + 1);
        const qreal shift = em(level) * 0.22;
        return {base.width + script.width, std::max(base.ascent, script.ascent - shift),
                std::max(base.descent, shift + script.descent)};
    }
    }
    return {};
}

void FormulaPainter::paint(QPainter& painter, QPointF origin, const Formula& f, int level) const {
    switch (f.kind) {
    case Formula::Kind::Math:
    case Formula::Kind::Words: {
        QPointF at = origin;
        for (const TextRun& run : runsOf(f)) {
            const QFont font = run.italic ? italicAt(level) : fontAt(level);
            painter.setFont(font);
            painter.drawText(at, run.text);
            at.rx() += QFontMetricsF(font).horizontalAdvance(run.text);
        }
        return;
    }
    case Formula::Kind::Row: {
        QPointF at = origin;
        for (const Formula& part : f.parts) {
            paint(painter, at, part, level);
            at.rx() += measure(part, level).width;
        }
        return;
    }
    case Formula::Kind::Fraction: {
        const FormulaBox box = measure(f, level);
        const FormulaBox top = measure(f.parts[0], level);
        const FormulaBox bottom = measure(f.parts[1], level);
        const QFontMetricsF metrics(fontAt(level));
        const qreal axis = metrics.xHeight() / 2;
        const qreal gap = em(level) * 0.12;
        const qreal bar = origin.y() - axis;
        const qreal thickness = std::max<qreal>(1.0, metrics.lineWidth());
        painter.save();
        painter.setPen(QPen(painter.pen().color(), thickness, Qt::SolidLine, Qt::FlatCap));
        const qreal inset = em(level) * 0.05;
        painter.drawLine(QPointF(origin.x() + inset, bar),
                         QPointF(origin.x() + box.width - inset, bar));
        painter.restore();
        paint(painter, QPointF(origin.x() + (box.width - top.width) / 2, bar - gap - top.descent),
              f.parts[0], level);
        paint(painter,
              QPointF(origin.x() + (box.width - bottom.width) / 2, bar + gap + bottom.ascent),
              f.parts[1], level);
        return;
    }
    case Formula::Kind::Root: {
        const FormulaBox inner = measure(f.parts[0], level);
        const qreal e = em(level);
        const QFontMetricsF metrics(fontAt(level));
        const qreal thickness = std::max<qreal>(1.0, metrics.lineWidth());
        const qreal top = origin.y() - inner.ascent - e * 0.08;
        const qreal bottom = origin.y() + inner.descent;
        const qreal signWidth = e * 0.5;
        const qreal x = origin.x() + e * 0.04;
        QPainterPath sign;
        sign.moveTo(x, origin.y() - e * 0.22);
        sign.lineTo(x + signWidth * 0.22, origin.y() - e * 0.28);
        sign.lineTo(x + signWidth * 0.5, bottom);
        sign.lineTo(x + signWidth, top);
        sign.lineTo(x + signWidth + inner.width + e * 0.08, top);
        painter.save();
        painter.setPen(
            QPen(painter.pen().color(), thickness, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(sign);
        painter.restore();
        paint(painter, QPointF(x + signWidth + e * 0.04, origin.y()), f.parts[0], level);
        return;
    }
    case Formula::Kind::Sup:
    case Formula::Kind::Sub: {
        const FormulaBox base = measure(f.parts[0], level);
        paint(painter, origin, f.parts[0], level);
        const qreal shift = f.kind == Formula::Kind::Sup ? -em(level) * 0.38 : em(level) * 0.22;
        paint(painter, QPointF(origin.x() + base.width, origin.y() + shift), f.parts[1], level + 1);
        return;
    }
    }
}

} // namespace velmora::textbook
