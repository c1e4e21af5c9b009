#pragma once

#include "textbook/formula.h"

#include <QFont>
#include <QPointF>

class QPainter;

namespace velmora::textbook {

// The room a formula takes: its width, and its height above and below the baseline.
struct FormulaBox {
    qreal width = 0;
    qreal ascent = 0;
    qreal descent = 0;
    qreal height() const { return ascent + descent; }
};

// Lays out and draws a formula as a textbook prints it: fraction bars, root signs with a bar
// over the radicand, raised and lowered scripts in a smaller size. The pen's colour is the
// painter's; nothing here knows of widgets.
class FormulaPainter {
public:
    explicit FormulaPainter(const QFont& font);

    FormulaBox measure(const Formula& formula) const { return measure(formula, 0); }
    // Draws with the baseline's left end at origin.
    void paint(QPainter& painter, QPointF origin, const Formula& formula) const {
        paint(painter, origin, formula, 0);
    }

private:
    FormulaBox measure(const Formula& formula, int level) const;
    void paint(QPainter& painter, QPointF origin, const Formula& formula, int level) const;
    QFont fontAt(int level) const;
    QFont italicAt(int level) const;
    qreal em(int level) const;

    QFont m_font;
};

} // namespace velmora::textbook
