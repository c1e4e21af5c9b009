#pragma once

#include "solver/equation.h"
#include "textbook/solution.h"
#include "textbook/typedsolution.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QPagedPaintDevice;
class QPainter;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QToolBar;

namespace velmora::graph {
class GraphView;
}

namespace velmora::textbook {

class EquationLine;
class SolutionView;

// The textbook view: an equation written as the class writes it, with its commands (copy as
// text or LaTeX, print, save as PDF, zoom, decimals), and below it the graph of the equation (a
// splitter between them, remembered). The equation is the equation page's last solve or one
// typed in the line at the top. Made when first opened.
class TextbookWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextbookWindow(QWidget* parent = nullptr);
    ~TextbookWindow() override;

    // Writes the equation the page read, and shows it with its graph; the equation line then
    // holds its text, to be changed and solved again.
    void showEquation(const Equation& equation);
    // Gives the keyboard to the equation line.
    void focusEquationLine();
    // Puts the current language's texts on the window and writes the solution again in it.
    void language();

    const std::optional<Solution>& solution() const { return m_solution; }
    QString headingText() const;
    void copyText();
    void copyLatex();
    void printSolution();
    void saveAsPdf();
    // Saves the graph as a PNG or an SVG file, by the name's ending (PNG when it has none).
    void saveGraph();
    bool writeGraph(const QString& path) const;
    // Writes the solution as a PDF file; false when the file cannot be written.
    bool writePdf(const QString& path);
    // Draws the pages of the printout: the heading, the solution and the graph below it (or on
    // a page of its own), calling newPage() for each further page.
    void paintPages(QPainter& painter, const QRectF& page,
                    const std::function<bool()>& newPage) const;
    void zoomIn();
    void zoomOut();
    void resetZoom();
    qreal zoom() const { return m_zoom; }
    int decimals() const;

    QSplitter* splitter() const { return m_splitter; }
    SolutionView* solutionView() const { return m_view; }
    EquationLine* equationLine() const { return m_line; }
    graph::GraphView* graphView() const { return m_graph; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void rewrite();
    // The line as the student changes it: shown when it solves, else the last solution stays
    // and nothing is said until Enter.
    void lineEdited(const QString& text);
    // Enter: a line that solves is shown and remembered; one that does not says why.
    void lineEntered(const QString& text);
    TypedOutcome solveLine(const QString& text) const;
    void showTyped(const TypedSolution& typed);
    void applyZoom();
    void restoreGeometryFromSettings();
    void storeGeometry();
    void paintOn(QPagedPaintDevice& device);

    QToolBar* m_toolBar;
    QToolBar* m_viewBar;
    QAction* m_copyText;
    QAction* m_copyLatex;
    QAction* m_print;
    QAction* m_savePdf;
    QAction* m_saveGraph;
    QAction* m_zoomIn;
    QAction* m_zoomOut;
    QAction* m_zoomReset;
    QAction* m_close;
    QLabel* m_decimalsLabel;
    QSpinBox* m_decimals;
    EquationLine* m_line;
    QSplitter* m_splitter;
    QScrollArea* m_scroll;
    SolutionView* m_view;
    graph::GraphView* m_graph;
    // What is shown: the page's equation, or the typed line when it is not empty.
    std::optional<Equation> m_equation;
    QString m_typed;
    std::optional<Solution> m_solution;
    qreal m_zoom = 1.0;
    QChar m_separator = u',';
};

} // namespace velmora::textbook
