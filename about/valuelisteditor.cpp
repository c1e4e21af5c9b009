#include "about/valuelisteditor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

namespace velmora {
namespace {

// How far from the grid line, in pixels, a press still grabs it.
constexpr int GripDistance = 3;

} // namespace

ValueListEditor::ValueListEditor(QWidget* parent) : QTableWidget(parent) {
    // The title rows go before the columns come: a visible title row would measure its titles
    // in a bold face, loading that face only to be hidden.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setColumnCount(2);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setMinimumSectionSize(MinimumColumnWidth);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, KeyColumnWidth);

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A plain two-pixel sunken frame whatever the style, so the designed size holds the rows
    // exactly.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the list for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    setMouseTracking(true);
}

void ValueListEditor::clearRows() {
    setRowCount(0);
}

void ValueListEditor::appendRow(const QString& key, const QString& value) {
    const int row = rowCount();
    insertRow(row);
    auto* keyItem = new QTableWidgetItem(key);
    keyItem->setFlags(Qt::ItemIsEnabled);
    keyItem->setBackground(palette().button());
    keyItem->setForeground(palette().buttonText());
    setItem(row, 0, keyItem);
    auto* valueItem = new QTableWidgetItem(value);
    valueItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    // A value wider than its cell is cut; the whole text shows on hover.
    valueItem->setToolTip(value);
    setItem(row, 1, valueItem);
}

QString ValueListEditor::key(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell ? cell->text() : QString();
}

QString ValueListEditor::value(int row) const {
    const QTableWidgetItem* cell = item(row, 1);
    return cell ? cell->text() : QString();
}

bool ValueListEditor::onKeyColumnEdge(int x) const {
    const int edge = columnViewportPosition(0) + columnWidth(0);
    return std::abs(x - edge) <= GripDistance;
}

void ValueListEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onKeyColumnEdge(event->position().toPoint().x())) {
        m_resizing = true;
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void ValueListEditor::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (m_resizing) {
        // The value column keeps at least its minimum width.
        const int widest = viewport()->width() - MinimumColumnWidth;
        setColumnWidth(0, std::clamp(x - columnViewportPosition(0), MinimumColumnWidth, widest));
        event->accept();
        return;
    }
    if (onKeyColumnEdge(x))
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void ValueListEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (m_resizing && event->button() == Qt::LeftButton) {
        m_resizing = false;
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void ValueListEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && currentItem()) {
        QGuiApplication::clipboard()->setText(currentItem()->text());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace velmora
