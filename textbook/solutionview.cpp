#include "textbook/solutionview.h"

#include "textbook/formulapainter.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtMath>

namespace velmora::textbook {
namespace {

// One line of the solution.
class FormulaLine : public QWidget {
public:
    FormulaLine(Formula formula, QWidget* parent) : QWidget(parent), m_formula(std::move(formula)) {
        setAccessibleName(plainText(m_formula));
        setFocusPolicy(Qt::TabFocus); // a screen reader's user can step through the lines
        setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const FormulaBox box = FormulaPainter(font()).measure(m_formula);
        return QSize(qCeil(box.width) + 2 * Margin, qCeil(box.height()) + 2 * Margin);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(palette().color(QPalette::Text));
        const FormulaBox box = FormulaPainter(font()).measure(m_formula);
        FormulaPainter(font()).paint(painter, QPointF(Margin, Margin + box.ascent), m_formula);
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    static constexpr int Margin = 4;
    Formula m_formula;
};

} // namespace

SolutionView::SolutionView(QWidget* parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_hint(new QLabel(this)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_layout->setSpacing(2);
    m_layout->addWidget(m_hint);
    m_layout->addStretch(1);
    m_hint->setWordWrap(true);
    m_hint->setTextFormat(Qt::PlainText);
}

void SolutionView::setHint(const QString& hint) {
    m_hint->setText(hint);
}

void SolutionView::setLines(const std::vector<Formula>& lines) {
    // Every widget but the hint and the stretch goes.
    while (m_layout->count() > 2) {
        QLayoutItem* item = m_layout->takeAt(1);
        delete item->widget();
        delete item;
    }
    m_hint->setVisible(lines.empty());
    QFont font = this->font();
    font.setPixelSize(m_pixels);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto* line = new FormulaLine(lines[i], this);
        line->setFont(font);
        line->setObjectName(QStringLiteral("solutionLine%1").arg(i));
        m_layout->insertWidget(static_cast<int>(i) + 1, line, 0, Qt::AlignLeft);
    }
}

void SolutionView::setFormulaPixelSize(int pixels) {
    m_pixels = pixels;
    for (int i = 1; i + 1 < m_layout->count(); ++i) {
        if (QWidget* line = m_layout->itemAt(i)->widget()) {
            QFont font = line->font();
            font.setPixelSize(pixels);
            line->setFont(font);
            line->updateGeometry();
        }
    }
    adjustSize();
}

int SolutionView::lineCount() const {
    return m_layout->count() - 2;
}

} // namespace velmora::textbook
