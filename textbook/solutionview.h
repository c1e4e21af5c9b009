#pragma once

#include "textbook/formula.h"

#include <QWidget>

#include <vector>

class QLabel;
class QVBoxLayout;

namespace velmora::textbook {

// The solution's lines one under the other, each drawn by the formula painter in the palette's
// text colour, each with its linear text as its accessible name for screen readers. Before any
// solve it shows a hint instead.
class SolutionView : public QWidget {
    Q_OBJECT
public:
    explicit SolutionView(QWidget* parent = nullptr);

    void setLines(const std::vector<Formula>& lines);
    void setHint(const QString& hint);
    // The size of the formulas' font in pixels.
    void setFormulaPixelSize(int pixels);
    int formulaPixelSize() const { return m_pixels; }
    int lineCount() const;

private:
    QVBoxLayout* m_layout;
    QLabel* m_hint;
    int m_pixels = 20;
};

} // namespace velmora::textbook
