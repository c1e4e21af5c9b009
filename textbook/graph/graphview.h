#pragma once

#include "textbook/graph/graphmodel.h"

#include <QWidget>

#include <optional>

namespace velmora::graph {

// The graph of the equation last solved, drawn from its model: zoom with the wheel or Ctrl++ and
// Ctrl+− about the pointer, pan by dragging or with the arrow keys, Home or 0 back to the first
// view; the coordinates of the point under the pointer are shown while it hovers.
class GraphView : public QWidget {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);

    // Shows a new graph in its first view; the accessible name and description follow it.
    void setGraph(GraphModel model, const QString& accessibleName, QChar separator);
    const GraphModel& graph() const { return m_model; }

    // The part of the plane shown now.
    const Range& range() const { return m_range; }
    void resetView();
    // Zooms by the factor (below 1 zooms in) keeping the point under the pixel in place.
    void zoomAbout(QPointF pixel, double factor);
    void panBy(QPointF pixels);

    // Draws the graph as shown now into any painter, scaled to the rectangle.
    void render(QPainter& painter, const QRectF& rect) const;
    // The picture as a PNG or SVG file; false when the file cannot be written.
    bool savePng(const QString& path) const;
    bool saveSvg(const QString& path) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where a keyboard zoom centres: the pointer when it is over the graph, else the middle.
    QPointF keyboardZoomCentre() const;

    GraphModel m_model;
    Range m_range;
    QChar m_separator = u',';
    std::optional<QPointF> m_hover;
    std::optional<QPointF> m_dragFrom;
};

} // namespace velmora::graph
