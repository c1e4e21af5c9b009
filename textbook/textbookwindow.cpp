#include "textbook/textbookwindow.h"

#include "platform/base/failure.h"
#include "platform/base/locale.h"
#include "platform/desktop/windowsystem.h"
#include "platform/ui/errorreport.h"
#include "state/moretexts.h"
#include "state/settingscatalogue.h"
#include "textbook/equationline.h"
#include "textbook/graph/graphpainter.h"
#include "textbook/graph/graphview.h"
#include "textbook/solutiongraph.h"
#include "textbook/solutionprint.h"
#include "textbook/solutionview.h"
#include "textbook/textbookwords.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace velmora::textbook {
namespace {

constexpr int FormulaPixels = 20; // at zoom 1
constexpr qreal ZoomStep = 1.25;
constexpr qreal SmallestZoom = 0.5;
constexpr qreal LargestZoom = 4.0;
constexpr int DefaultSolutionShare = 550; // thousandths of the height, the graph below

std::optional<int> storedInteger(const catalogue::IntegerValue& value) {
    return catalogue::storedEdge(value);
}

} // namespace

TextbookWindow::TextbookWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_toolBar(new QToolBar(this)), m_viewBar(new QToolBar(this)),
      m_copyText(new QAction(this)), m_copyLatex(new QAction(this)), m_print(new QAction(this)),
      m_savePdf(new QAction(this)), m_saveGraph(new QAction(this)), m_zoomIn(new QAction(this)),
      m_zoomOut(new QAction(this)), m_zoomReset(new QAction(this)), m_close(new QAction(this)),
      m_decimalsLabel(new QLabel(this)), m_decimals(new QSpinBox(this)),
      m_line(new EquationLine(this)), m_splitter(new QSplitter(Qt::Vertical, this)),
      m_scroll(new QScrollArea(m_splitter)), m_view(new SolutionView(m_scroll)),
      m_graph(new graph::GraphView(m_splitter)) {
    setObjectName(QStringLiteral("TextbookWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_copyText->setShortcut(QKeySequence::Copy);
    m_copyLatex->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_print->setShortcut(QKeySequence::Print);
    m_savePdf->setShortcut(QKeySequence::Save);
    m_zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_zoomOut->setShortcut(QKeySequence::ZoomOut);
    m_zoomReset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    m_close->setShortcut(QKeySequence(Qt::Key_Escape));
    // The file commands above the solution, the size and the decimals below it: one row of all
    // would not fit a narrow window in the longer languages.
    for (QAction* action : {m_copyText, m_copyLatex, m_print, m_savePdf, m_saveGraph})
        m_toolBar->addAction(action);
    for (QAction* action : {m_zoomOut, m_zoomReset, m_zoomIn})
        m_viewBar->addAction(action);
    addActions({m_copyText, m_copyLatex, m_print, m_savePdf, m_saveGraph, m_zoomIn, m_zoomOut,
                m_zoomReset, m_close});
    m_viewBar->addSeparator();
    m_viewBar->addWidget(m_decimalsLabel);
    m_viewBar->addWidget(m_decimals);
    m_decimals->setRange(0, 12);
    m_decimals->setValue(std::clamp(
        storedInteger(catalogue::TextbookDecimals).value_or(catalogue::DefaultTextbookDecimals), 0,
        12));
    m_decimalsLabel->setBuddy(m_decimals);

    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Base);
    m_splitter->addWidget(m_scroll);
    m_splitter->addWidget(m_graph);
    m_splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_line);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_viewBar);

    connectGuarded(m_copyText, &QAction::triggered, this, [this] { copyText(); });
    connectGuarded(m_copyLatex, &QAction::triggered, this, [this] { copyLatex(); });
    connectGuarded(m_print, &QAction::triggered, this, [this] { printSolution(); });
    connectGuarded(m_savePdf, &QAction::triggered, this, [this] { saveAsPdf(); });
    connectGuarded(m_saveGraph, &QAction::triggered, this, [this] { saveGraph(); });
    connectGuarded(m_zoomIn, &QAction::triggered, this, [this] { zoomIn(); });
    connectGuarded(m_zoomOut, &QAction::triggered, this, [this] { zoomOut(); });
    connectGuarded(m_zoomReset, &QAction::triggered, this, [this] { resetZoom(); });
    connectGuarded(m_close, &QAction::triggered, this, [this] { close(); });
    connect(m_line, &EquationLine::edited, this,
            [this](const QString& text) { guarded([&] { lineEdited(text); }); });
    connect(m_line, &EquationLine::entered, this,
            [this](const QString& text) { guarded([&] { lineEntered(text); }); });
    connectGuarded(m_decimals, &QSpinBox::valueChanged, this, [this] {
        try {
            catalogue::write(catalogue::TextbookDecimals, m_decimals->value());
        } catch (const Failure&) {
            // An unusable store was reported at start-up; the view still follows the box.
        }
        rewrite();
    });

    applyZoom();
    restoreGeometryFromSettings();
    language();
}

TextbookWindow::~TextbookWindow() = default;

void TextbookWindow::language() {
    setWindowTitle(moreText(MoreText::TextbookCaption));
    const std::pair<QAction*, MoreText> captions[] = {
        {m_copyText, MoreText::TextbookCopyText}, {m_copyLatex, MoreText::TextbookCopyLatex},
        {m_print, MoreText::TextbookPrint},       {m_savePdf, MoreText::TextbookSavePdf},
        {m_saveGraph, MoreText::GraphSave},       {m_zoomIn, MoreText::TextbookZoomIn},
        {m_zoomOut, MoreText::TextbookZoomOut},   {m_zoomReset, MoreText::TextbookZoomReset},
        {m_close, MoreText::TextbookClose}};
    for (const auto& [action, line] : captions) {
        action->setText(moreText(line));
        const QString keys = action->shortcut().toString(QKeySequence::NativeText);
        action->setToolTip(keys.isEmpty() ? moreText(line)
                                          : QStringLiteral("%1 (%2)").arg(moreText(line), keys));
    }
    m_decimalsLabel->setText(moreText(MoreText::TextbookDecimals) + u' ');
    m_decimals->setAccessibleName(moreText(MoreText::TextbookDecimals));
    m_view->setHint(moreText(MoreText::TextbookEmpty));
    m_line->setLabelText(moreText(MoreText::TextbookEquationLabel));
    if (!m_line->refusal().isEmpty())
        m_line->setRefusal(refusalWords(solveLine(m_line->text())));
    rewrite();
}

void TextbookWindow::showEquation(const Equation& equation) {
    m_equation = equation;
    m_typed.clear();
    rewrite();
    // The line names what the view shows, so the student can change the page's equation there.
    m_line->setText(m_solution ? plainText(m_solution->equation) : QString());
}

void TextbookWindow::focusEquationLine() {
    m_line->focusLine();
}

TypedOutcome TextbookWindow::solveLine(const QString& text) const {
    return solveTyped(text, wordsOfLanguage(), localeDecimalSeparator(), decimals());
}

void TextbookWindow::lineEdited(const QString& text) {
    m_line->setRefusal({});
    const TypedOutcome outcome = solveLine(text);
    if (const auto* typed = std::get_if<TypedSolution>(&outcome)) {
        m_typed = text;
        showTyped(*typed);
    }
}

void TextbookWindow::lineEntered(const QString& text) {
    if (text.trimmed().isEmpty())
        return;
    const TypedOutcome outcome = solveLine(text);
    if (const auto* typed = std::get_if<TypedSolution>(&outcome)) {
        m_typed = text;
        showTyped(*typed);
        m_line->setRefusal({});
        m_line->remember(text.trimmed());
        return;
    }
    m_line->setRefusal(refusalWords(outcome));
    // An equation read but not solved here leaves nothing of the last one on show.
    if (std::holds_alternative<UnsolvedDegree>(outcome)) {
        m_typed.clear();
        m_equation.reset();
        m_solution.reset();
        m_view->setLines({});
        m_graph->setGraph({}, moreText(MoreText::GraphName), m_separator);
    }
}

void TextbookWindow::showTyped(const TypedSolution& typed) {
    m_separator = localeDecimalSeparator();
    m_solution = typed.solution;
    m_view->setLines(m_solution->lines);
    // An identity or a contradiction has no curve of its own: the graph is emptied.
    m_graph->setGraph(typed.solved ? graphOf(typed.problem, *m_solution, m_separator, decimals(),
                                             graphTextsOfLanguage())
                                   : graph::GraphModel{},
                      moreText(MoreText::GraphName), m_separator);
}

int TextbookWindow::decimals() const {
    return m_decimals->value();
}

void TextbookWindow::rewrite() {
    if (!m_typed.isEmpty()) {
        const TypedOutcome outcome = solveLine(m_typed);
        if (const auto* typed = std::get_if<TypedSolution>(&outcome))
            showTyped(*typed);
        return;
    }
    if (!m_equation) {
        m_view->setLines({});
        return;
    }
    Problem problem = *m_equation;
    if (problem.letter.isEmpty())
        problem.letter = QStringLiteral("y");
    m_separator = problem.separator;
    m_solution = solve(problem, wordsOfLanguage(), m_separator, decimals());
    m_view->setLines(m_solution->lines);
    m_graph->setGraph(
        graphOf(problem, *m_solution, m_separator, decimals(), graphTextsOfLanguage()),
        moreText(MoreText::GraphName), m_separator);
}

QString TextbookWindow::headingText() const {
    QString heading = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (m_solution)
        heading += QStringLiteral("    ") + plainText(m_solution->equation);
    return heading;
}

void TextbookWindow::copyText() {
    if (m_solution)
        QGuiApplication::clipboard()->setText(solutionText(*m_solution));
}

void TextbookWindow::copyLatex() {
    if (m_solution)
        QGuiApplication::clipboard()->setText(solutionLatex(*m_solution));
}

void TextbookWindow::paintOn(QPagedPaintDevice& device) {
    QPainter painter(&device);
    paintPages(painter, QRectF(QPointF(0, 0), QSizeF(painter.viewport().size())),
               [&device] { return device.newPage(); });
}

void TextbookWindow::paintPages(QPainter& painter, const QRectF& page,
                                const std::function<bool()>& newPage) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    QFont font = m_view->font();
    font.setPointSizeF(13);
    qreal bottom = page.top();
    paintSolutionPages(painter, page, headingText(), *m_solution, font, newPage, &bottom);

    // The graph as the window shows it, below the solution or on a page of its own, in a
    // paper's colours whatever the desktop's.
    const qreal gap = QFontMetricsF(font, painter.device()).height();
    const qreal fullHeight = page.width() * 2 / 3;
    qreal height = std::min(fullHeight, page.bottom() - bottom - gap);
    if (height < page.width() * 0.45) {
        if (!newPage())
            return;
        bottom = page.top() - gap;
        height = fullHeight;
    }
    QPalette paper;
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    paper.setColor(QPalette::Highlight, QColor(0x1f, 0x5f, 0xbf));
    painter.setFont(font);
    const QRectF area(page.left(), bottom + gap, page.width(), height);
    graph::paintGraph(painter, m_graph->graph(), graph::Viewport(m_graph->range(), area),
                      graph::coloursFrom(paper), m_separator);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

void TextbookWindow::printSolution() {
    if (!m_solution)
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        paintOn(printer);
}

void TextbookWindow::saveAsPdf() {
    if (!m_solution)
        return;
    const QString path =
        QFileDialog::getSaveFileName(this, moreText(MoreText::TextbookSavePdf), QString(),
                                     moreText(MoreText::TextbookPdfFilter));
    if (path.isEmpty())
        return;
    if (!writePdf(path))
        throw Failure(QStringLiteral("Cannot create file \"%1\"").arg(path));
}

bool TextbookWindow::writePdf(const QString& path) {
    if (!m_solution)
        return false;
    // Written aside and put in place when complete, so a failed save leaves no half file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setTitle(headingText());
    writer.setCreator(QStringLiteral("Velmora"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    paintOn(writer);
    return file.commit();
}

void TextbookWindow::saveGraph() {
    if (!m_solution)
        return;
    QString path = QFileDialog::getSaveFileName(this, moreText(MoreText::GraphSave), QString(),
                                                moreText(MoreText::GraphFileFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!writeGraph(path))
        throw Failure(QStringLiteral("Cannot create file \"%1\"").arg(path));
}

bool TextbookWindow::writeGraph(const QString& path) const {
    return QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0
               ? m_graph->saveSvg(path)
               : m_graph->savePng(path);
}

void TextbookWindow::zoomIn() {
    m_zoom = std::min(LargestZoom, m_zoom * ZoomStep);
    applyZoom();
}

void TextbookWindow::zoomOut() {
    m_zoom = std::max(SmallestZoom, m_zoom / ZoomStep);
    applyZoom();
}

void TextbookWindow::resetZoom() {
    m_zoom = 1.0;
    applyZoom();
}

void TextbookWindow::applyZoom() {
    m_view->setFormulaPixelSize(qRound(FormulaPixels * m_zoom));
}

void TextbookWindow::restoreGeometryFromSettings() {
    const int share = std::clamp(
        storedInteger(catalogue::TextbookSplit).value_or(DefaultSolutionShare), 100, 900);
    m_splitter->setSizes({share, 1000 - share});
    const std::optional<int> width = storedInteger(catalogue::TextbookWidth);
    const std::optional<int> height = storedInteger(catalogue::TextbookHeight);
    if (width && height && *width >= 200 && *height >= 150 && *width <= 10000 && *height <= 10000)
        resize(*width, *height);
    else
        resize(640, 720);
    const std::optional<int> left = storedInteger(catalogue::TextbookLeft);
    const std::optional<int> top = storedInteger(catalogue::TextbookTop);
    if (left && top && reportsWindowPosition(QGuiApplication::platformName()))
        move(*left, *top);
}

void TextbookWindow::storeGeometry() {
    try {
        catalogue::write(catalogue::TextbookWidth, width());
        catalogue::write(catalogue::TextbookHeight, height());
        const QList<int> sizes = m_splitter->sizes();

        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0)
            catalogue::write(catalogue::TextbookSplit, sizes.value(0) * 1000 / total);
        if (reportsWindowPosition(QGuiApplication::platformName())) {
            catalogue::write(catalogue::TextbookLeft, x());
            catalogue::write(catalogue::TextbookTop, y());
        }
    } catch (const Failure&) {
        // An unusable store was reported at start-up; the window only forgets its place.
    }
}

void TextbookWindow::hideEvent(QHideEvent* event) {
    storeGeometry();
    QWidget::hideEvent(event);
}

} // namespace velmora::textbook
