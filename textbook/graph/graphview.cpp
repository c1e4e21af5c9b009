#include "textbook/graph/graphview.h"

#include "textbook/graph/graphpainter.h"

#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QWheelEvent>

#include <cmath>

namespace velmora::graph {
namespace {

constexpr double ZoomStep = 1.25;

} // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::setGraph(GraphModel model, const QString& accessibleName, QChar separator) {
    m_model = std::move(model);
    m_separator = separator;
    m_range = m_model.firstView;
    setAccessibleName(accessibleName);
    setAccessibleDescription(m_model.description);
    update();
}

void GraphView::resetView() {
    m_range = m_model.firstView;
    update();
}

void GraphView::zoomAbout(QPointF pixel, double factor) {
    m_range = Viewport(m_range, rect()).zoomed(pixel, factor).range();
    update();
}

void GraphView::panBy(QPointF pixels) {
    m_range = Viewport(m_range, rect()).panned(pixels).range();
    update();
}

void GraphView::render(QPainter& painter, const QRectF& rect) const {
    paintGraph(painter, m_model, Viewport(m_range, rect), coloursFrom(palette()), m_separator);
}

bool GraphView::savePng(const QString& path) const {
    const qreal scale = devicePixelRatioF();
    QImage image(size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setFont(font());
    render(painter, rect());
    painter.end();
    return image.save(path, "PNG");
}

bool GraphView::saveSvg(const QString& path) const {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle(accessibleName());
    svg.setDescription(m_model.description);
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    painter.setFont(font());
    render(painter, rect());
    return painter.end() && QFile::exists(path);
}

QSize GraphView::sizeHint() const {
    const int line = fontMetrics().height();
    return {line * 30, line * 20};
}

QSize GraphView::minimumSizeHint() const {
    const int line = fontMetrics().height();
    return {line * 12, line * 8};
}

bool GraphView::event(QEvent* event) {
    // Ctrl++ and Ctrl+− zoom the graph while it has the focus, before a window's own shortcut
    // for the same keys (the text's zoom) takes them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::ControlModifier &&
            (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal ||
             key->key() == Qt::Key_Minus)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void GraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintGraph(painter, m_model, Viewport(m_range, rect()), coloursFrom(palette()), m_separator,
               m_hover);
    if (hasFocus()) {
        QPen focus(palette().color(QPalette::Highlight), 2);
        painter.setPen(focus);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void GraphView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomAbout(event->position(), std::pow(ZoomStep, -notches));
    event->accept();
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
    QWidget::mousePressEvent(event);
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom) {
        panBy(event->position() - *m_dragFrom);
        m_dragFrom = event->position();
    }
    m_hover = event->position();
    update();
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dragFrom) {
        m_dragFrom.reset();
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(event);
}

void GraphView::leaveEvent(QEvent* event) {
    m_hover.reset();
    update();
    QWidget::leaveEvent(event);
}

QPointF GraphView::keyboardZoomCentre() const {
    const QPointF pointer = mapFromGlobal(QCursor::pos());
    return rect().contains(pointer.toPoint()) ? pointer : QRectF(rect()).center();
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    const double step = fontMetrics().height() * 2;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        panBy({step, 0});
        break;
    case Qt::Key_Right:
        panBy({-step, 0});
        break;
    case Qt::Key_Up:
        panBy({0, step});
        break;
    case Qt::Key_Down:
        panBy({0, -step});
        break;
    case Qt::Key_Home:
    case Qt::Key_0:
        if (control && event->key() == Qt::Key_0) {
            event->ignore(); // Ctrl+0 is the window's zoom of the text
            return;
        }
        resetView();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // the plus key without Shift on many keyboards
        zoomAbout(keyboardZoomCentre(), 1 / ZoomStep);
        break;
    case Qt::Key_Minus:
        zoomAbout(keyboardZoomCentre(), ZoomStep);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace velmora::graph
