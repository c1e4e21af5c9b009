#pragma once

#include "solver/equation.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QLineEdit;

namespace Ui {
class EquationPage;
}

namespace velmora {

class NumberKeyFilter;

// The equation page of the main window: the coefficient fields, the equation type, the short
// answer and the detailed solution. The arithmetic and the texts come from the solver core;
// this class only reads and writes its controls.
class EquationPage : public QWidget {
    Q_OBJECT
public:
    explicit EquationPage(QWidget* parent = nullptr);
    ~EquationPage() override;

    // The solve: checks and converts the coefficients, fills the short answer and the detailed
    // solution. Emits solved() when it got past the coefficient checks.
    void raschet();
    void Button1Click();
    void ComboBox1Change();

    // What the main window does to this page whenever it is shown: focus on the first
    // coefficient, the six result controls inactive (their texts stay).
    void prepareOnShow();

    // Lines the last solve wrote into the detailed solution (0 when it stopped at a check).
    int solutionLineCount() const { return m_lineCount; }
    // Sets the heights of the detailed-solution box and its group.
    void setSolutionBoxHeights(int memoHeight, int groupHeight);
    // Makes the detailed-solution box and its group up to `by` pixels shorter, so that a window
    // too tall for its screen fits; the box keeps room for two lines and scrolls. Returns the
    // pixels taken.
    int shortenSolutionBox(int by);

    // Puts the "Square root" texts on the page (the tab caption is the main window's), resets
    // the equation type to quadratic without running ComboBox1Change, and renews the
    // accessible names.
    void language();
    // Forgets the last solve's line count, as start-up does.
    void resetSolutionLineCount() { m_lineCount = 0; }

    // Accessible names from the labels' current texts; to be called whenever captions change.
    void updateAccessibleNames();

signals:
    // The equation as read, exactly, for the textbook view, which writes it its own way.
    void solved(const velmora::Equation& equation);
    // The page refused a zero a with its message; the textbook view solves the linear equation.
    void linearEquationTyped(const velmora::Equation& equation);

private:
    void resetResults();
    // Puts the formula on Panel1, for the eye and for screen readers.
    void showFormula(const QString& formula);
    std::array<QWidget*, 6> resultControls() const;
    void writeSolution(const std::vector<QString>& lines);

    std::unique_ptr<Ui::EquationPage> m_ui;
    quint8 m_lineCount = 0;
};

} // namespace velmora
