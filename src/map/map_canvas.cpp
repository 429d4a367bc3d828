#include "map/map_canvas.h"

#include "map/pointer_readout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace gridloom {

namespace {

// How near an edge of the confirmed box a press takes hold of it.
constexpr double edgeReach = 6.0;
// A press that moves less than this before its release drew no box.
constexpr double leastDrag = 3.0;

MapPoint point(QPointF p)
{
    return {p.x(), p.y()};
}

} // namespace

MapCanvas::MapCanvas(QWidget* parent, const std::string& shoreFolder)
    : QWidget(parent), m_renderer(shoreFolder)
{
    setObjectName(QStringLiteral("MapCanvas"));
    setMinimumSize(320, 240);
    // The status line follows the pointer without a button held.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_viewport.resize(width(), height());
}

MapCanvas::~MapCanvas() = default;

void MapCanvas::setScene(MapScene scene)
{
    std::size_t inputs = 0;
    for (const SceneShape& shape : scene.shapes)
        inputs += shape.role == SceneShape::Role::Input ? 1 : 0;
    const CoordinateType type = scene.boxType;
    const bool newProjection = m_renderer.setScene(std::move(scene));
    m_frame = std::make_unique<BoxFrame>(m_renderer.scene(), type);
    m_readout = std::make_unique<PointerReadout>(m_renderer.scene());
    // A box half drawn belongs to the scene it was begun on.
    m_boxDrag.reset();
    m_dragged.reset();
    const bool inputsChanged = inputs != m_fittedInputs;
    m_fittedInputs = inputs;
    if (newProjection || (inputsChanged && !m_userMoved))
        fit();
    update();
}

void MapCanvas::fit()
{
    m_viewport.resize(width(), height());
    m_viewport.fit(m_renderer.sceneBox());
    m_userMoved = false;
    update();
}

void MapCanvas::zoomAt(QPointF pixel, double factor)
{
    m_viewport.zoomAt(point(pixel), factor);
    m_userMoved = true;
    update();
}

void MapCanvas::panBy(QPointF pixels)
{
    m_viewport.panBy(point(pixels));
    m_userMoved = true;
    update();
}

void MapCanvas::showView(MapPoint centre, double kmPerPixel)
{
    m_viewport = MapViewport(width(), height(), centre, kmPerPixel);
    m_userMoved = true;
    update();
}

QPointF MapCanvas::toPixels(const MapPoint& km) const
{
    const MapPoint p = m_viewport.toPixels(km);
    return {p.x, p.y};
}

void MapCanvas::setBoxDrawnHandler(std::function<void(const DrawnBox&)> handler)
{
    m_boxDrawn = std::move(handler);
}

void MapCanvas::paintEvent(QPaintEvent*)
{
    const double ratio = devicePixelRatioF();
    const MapViewport& v = m_viewport;
    const MapViewport& kept = m_baseKey.viewport;
    const bool current = m_baseKey.generation == m_renderer.sceneGeneration() &&
                         m_baseKey.pixelRatio == ratio && kept.width() == v.width() &&
                         kept.height() == v.height() && kept.kmPerPixel() == v.kmPerPixel() &&
                         kept.centre().x == v.centre().x && kept.centre().y == v.centre().y;
    if (!current) {
        m_base = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_base.setDevicePixelRatio(ratio);
        QPainter base(&m_base);
        m_renderer.paintBase(base, m_viewport);
        m_baseKey = {m_viewport, m_renderer.sceneGeneration(), ratio};
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_base);
    m_renderer.paintOver(painter, m_viewport, m_dragged ? &m_overlay : nullptr);
}

void MapCanvas::paintMap(QPainter& painter, QSize size)
{
    MapViewport viewport = m_viewport;
    viewport.resize(size.width(), size.height());
    m_renderer.paint(painter, viewport, m_dragged ? &m_overlay : nullptr);
}

void MapCanvas::resizeEvent(QResizeEvent* event)
{
    m_viewport.resize(width(), height());
    QWidget::resizeEvent(event);
}

std::optional<MapPoint> MapCanvas::framePoint(QPointF pixel) const
{
    if (!m_frame)
        return std::nullopt;
    return m_frame->fromView(m_viewport.toKm(point(pixel)));
}

void MapCanvas::wheelEvent(QWheelEvent* event)
{
    zoomAt(event->position(), std::pow(1.2, event->angleDelta().y() / 120.0));
    event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedAt = event->position();
    const auto at = framePoint(event->position());
    if (at && (event->modifiers() & Qt::ShiftModifier)) {
        m_boxDrag = newBoxDrag(*at, m_frame->geographic());
        setFocus(Qt::MouseFocusReason);
        return;
    }
    if (at) {
        if (const auto confirmed = m_frame->confirmedBox()) {
            const BoxEdges edges =
                edgesNear(*m_frame, *confirmed, m_viewport, point(event->position()), edgeReach);
            if (edges.any()) {
                m_boxDrag = BoxDrag{*confirmed, edges, m_frame->geographic()};
                setFocus(Qt::MouseFocusReason);
                return;
            }
        }
    }
    m_panFrom = event->position();
}

void MapCanvas::showDragAt(QPointF pixel, MapPoint at)
{
    m_dragged = dragTo(*m_boxDrag, at);
    m_overlay = {m_frame->viewRing(*m_dragged), m_frame->cornerText(at), point(pixel)};
    update();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (m_readout)
        Q_EMIT pointerRead(
            QString::fromStdString(m_readout->textAt(m_viewport.toKm(point(event->position())))));
    if (m_boxDrag) {
        const QPointF moved = event->position() - m_pressedAt;
        if (m_dragged || std::hypot(moved.x(), moved.y()) >= leastDrag) {
            if (const auto at = framePoint(event->position()))
                showDragAt(event->position(), *at);
        }
        return;
    }
    if (!m_panFrom) {
        showGrip(event->position());
        return;
    }
    panBy(event->position() - *m_panFrom);
    m_panFrom = event->position();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_panFrom.reset();
    if (!m_boxDrag)
        return;
    if (const auto at = framePoint(event->position()); at && m_dragged)
        showDragAt(event->position(), *at);
    const std::optional<Extent> drawn = m_dragged;
    endBoxDrag();
    // The handler opens a modal dialog; the map is drawn without the drag before it does.
    if (drawn && m_boxDrawn)
        m_boxDrawn(m_frame->describe(*drawn));
}

void MapCanvas::showGrip(QPointF pixel)
{
    // The pointer shows where a press takes hold of the confirmed box.
    BoxEdges edges;
    const auto confirmed = m_frame ? m_frame->confirmedBox() : std::nullopt;
    if (confirmed)
        edges = edgesNear(*m_frame, *confirmed, m_viewport, point(pixel), edgeReach);
    const bool across = edges.west || edges.east;
    const bool along = edges.south || edges.north;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (across && along)
        shape = (edges.west == edges.north) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    else if (across)
        shape = Qt::SizeHorCursor;
    else if (along)
        shape = Qt::SizeVerCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
}

void MapCanvas::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_boxDrag) {
        endBoxDrag();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MapCanvas::leaveEvent(QEvent* event)
{
    Q_EMIT pointerRead(QString());
    QWidget::leaveEvent(event);
}

void MapCanvas::endBoxDrag()
{
    m_boxDrag.reset();
    m_dragged.reset();
    m_overlay = {};
    update();
}

} // namespace gridloom
