#include "map/map_canvas.h"

#include "map/graticule.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace gridloom {

namespace {

// Between a street and the whole earth across the window.
constexpr double finestKmPerPixel = 0.02;
constexpr double coarsestKmPerPixel = 60.0;
// Two consecutive shore points further apart than this lie on both sides of the projection's
// cut; the line is broken there rather than drawn across the map.
constexpr double longestStepKm = 1500.0;

const QColor paper(251, 250, 246);
const QColor coastColour(70, 96, 120);
const QColor lakeColour(110, 155, 196);
const QColor borderColour(150, 138, 128);
const QColor graticuleColour(214, 218, 223);
const QColor labelColour(110, 120, 130);
const QColor boxColour(20, 20, 20);
const QColor warningColour(232, 89, 12);
const QColor inputColours[] = {QColor(31, 119, 180), QColor(44, 160, 44), QColor(148, 103, 189),
                               QColor(140, 86, 75), QColor(23, 190, 207)};

QColor inputColour(int index)
{
    return inputColours[static_cast<std::size_t>(std::max(index, 0)) % std::size(inputColours)];
}

QPen cosmeticPen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    return pen;
}

QPen shapePen(const SceneShape& shape)
{
    const bool box = shape.role != SceneShape::Role::Input;
    const QColor colour =
        shape.problem ? warningColour : (box ? boxColour : inputColour(shape.input));
    const double width = (box ? 2.4 : 1.8) + (shape.problem ? 0.6 : 0.0);
    QPen pen = cosmeticPen(colour, width);
    if (shape.role == SceneShape::Role::Entered)
        pen.setDashPattern({4.0, 3.0});
    else if (shape.approximate)
        pen.setDashPattern({1.0, 2.5});
    return pen;
}

// The point where a polyline in pixels first crosses the vertical (`vertical`) or horizontal
// line at `at`, within 0..limit along it.
std::optional<QPointF> crossing(const QPolygonF& line, bool vertical, double at, double limit)
{
    for (qsizetype n = 1; n < line.size(); ++n) {
        const QPointF a = line[n - 1];
        const QPointF b = line[n];
        const double da = (vertical ? a.x() : a.y()) - at;
        const double db = (vertical ? b.x() : b.y()) - at;
        if ((da < 0) == (db < 0) || da == db)
            continue;
        const QPointF p = a + (b - a) * (da / (da - db));
        const double along = vertical ? p.y() : p.x();
        if (along >= 0 && along <= limit)
            return p;
    }
    return std::nullopt;
}

} // namespace

MapCanvas::MapCanvas(QWidget* parent, const std::string& shoreFolder)
    : QWidget(parent), m_shores(std::make_unique<ShoreLibrary>(
                           shoreFolder.empty() ? defaultShoreFolder() : shoreFolder))
{
    setObjectName(QStringLiteral("MapCanvas"));
    setMinimumSize(320, 240);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MapCanvas::~MapCanvas() = default;

void MapCanvas::setScene(MapScene scene)
{
    const bool newProjection = !m_view || scene.viewDefinition != m_scene.viewDefinition;
    std::size_t inputs = 0;
    for (const SceneShape& shape : scene.shapes)
        inputs += shape.role == SceneShape::Role::Input ? 1 : 0;
    m_scene = std::move(scene);
    if (newProjection) {
        m_view = Projection::create(m_scene.viewDefinition);
        m_shorePaths.clear();
        m_graticule.clear();
        m_graticuleStep = 0.0;
    }
    m_shapePaths.clear();
    for (const SceneShape& shape : m_scene.shapes) {
        QPainterPath path;
        for (std::size_t n = 0; n < shape.ring.size(); ++n) {
            const QPointF p(shape.ring[n].x, shape.ring[n].y);
            if (n == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        m_shapePaths.push_back(path);
    }
    if (newProjection || inputs != m_fittedInputs) {
        m_fittedInputs = inputs;
        fit();
    }
    update();
}

void MapCanvas::fit()
{
    Extent box = sceneBounds(m_scene);
    if (box.east - box.west <= 0.0 || box.north - box.south <= 0.0) {
        // Nothing placed yet: the whole earth, as far as the view can show it.
        box = {-20000.0, 20000.0, -10000.0, 10000.0};
    }
    m_centre = {(box.west + box.east) / 2, (box.south + box.north) / 2};
    const double across = (box.east - box.west) / std::max(width() - 40, 40);
    const double down = (box.north - box.south) / std::max(height() - 60, 40);
    m_kmPerPixel = std::clamp(std::max(across, down) * 1.08, finestKmPerPixel, coarsestKmPerPixel);
    update();
}

void MapCanvas::zoomAt(QPointF pixel, double factor)
{
    const QTransform toKm = transformFor(size()).inverted();
    const QPointF before = toKm.map(pixel);
    m_kmPerPixel = std::clamp(m_kmPerPixel / factor, finestKmPerPixel, coarsestKmPerPixel);
    const QPointF after = transformFor(size()).inverted().map(pixel);
    m_centre.x += before.x() - after.x();
    m_centre.y += before.y() - after.y();
    update();
}

void MapCanvas::panBy(QPointF pixels)
{
    m_centre.x -= pixels.x() * m_kmPerPixel;
    m_centre.y += pixels.y() * m_kmPerPixel;
    update();
}

QTransform MapCanvas::transformFor(QSize size) const
{
    const double scale = 1.0 / m_kmPerPixel;
    return QTransform(scale, 0, 0, -scale, size.width() / 2.0 - m_centre.x * scale,
                      size.height() / 2.0 + m_centre.y * scale);
}

QPointF MapCanvas::toPixels(const MapPoint& km) const
{
    return transformFor(size()).map(QPointF(km.x, km.y));
}

Extent MapCanvas::visibleLonLat(QSize size) const
{
    const Extent world{-180.0, 180.0, -90.0, 90.0};
    if (!m_view)
        return world;
    const QTransform toKm = transformFor(size).inverted();
    Polyline edge;
    constexpr int perSide = 16;
    const double w = size.width();
    const double h = size.height();
    for (int k = 0; k <= perSide; ++k) {
        const double t = static_cast<double>(k) / perSide;
        for (const QPointF p : {QPointF(t * w, 0), QPointF(t * w, h), QPointF(0, t * h),
                                QPointF(w, t * h), QPointF(t * w, t * h)}) {
            const QPointF km = toKm.map(p);
            edge.push_back({km.x(), km.y()});
        }
    }
    m_view->inverse(edge);
    dropFailedPoints(edge);
    if (edge.empty())
        return world;
    // Longitudes are unwrapped around the first point so a view across the date line stays
    // one box.
    const double reference = edge.front().x;
    Extent box{reference, reference, edge.front().y, edge.front().y};
    for (const MapPoint& p : edge) {
        const double lon = reference + std::remainder(p.x - reference, 360.0);
        box = {std::min(box.west, lon), std::max(box.east, lon), std::min(box.south, p.y),
               std::max(box.north, p.y)};
    }
    const QRectF visible(0, 0, w, h);
    const QTransform toPixels = transformFor(size);
    for (const double pole : {90.0, -90.0}) {
        const auto km = m_view->forward(MapPoint{reference, pole});
        if (km && visible.contains(toPixels.map(QPointF(km->x, km->y)))) {
            box.west = reference - 180.0;
            box.east = reference + 180.0;
            (pole > 0 ? box.north : box.south) = pole;
        }
    }
    // A margin of a few percent, so shores that leave the window do not stop at its edge.
    const double lonMargin = (box.east - box.west) * 0.05 + 0.1;
    const double latMargin = (box.north - box.south) * 0.05 + 0.1;
    return {box.west - lonMargin, box.east + lonMargin, std::max(box.south - latMargin, -90.0),
            std::min(box.north + latMargin, 90.0)};
}

QPainterPath MapCanvas::projectedPath(const Polyline& lonLat) const
{
    if (!m_view)
        return {};
    Polyline km = lonLat;
    m_view->forward(km);
    return pathThrough(km);
}

QPainterPath MapCanvas::pathThrough(const Polyline& km)
{
    QPainterPath path;
    bool drawing = false;
    MapPoint last;
    for (const MapPoint& p : km) {
        const bool placed = std::isfinite(p.x);
        if (placed && drawing && std::hypot(p.x - last.x, p.y - last.y) < longestStepKm)
            path.lineTo(p.x, p.y);
        else if (placed)
            path.moveTo(p.x, p.y);
        drawing = placed;
        last = p;
    }
    return path;
}

void MapCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintMap(painter, size());
}

void MapCanvas::paintMap(QPainter& painter, QSize size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), size), paper);
    const Extent visible = visibleLonLat(size);
    drawShores(painter, visible, size);
    drawGraticule(painter, visible, size);
    drawShapes(painter, size);
    drawLegend(painter, size);
    drawScaleBar(painter, size);
    painter.restore();
}

void MapCanvas::drawScaleBar(QPainter& painter, QSize size)
{
    // A round length of about 120 pixels; true along the projection's standard parallels.
    const double wanted = 120.0 * m_kmPerPixel;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double km = power;
    for (const double factor : {2.0, 5.0, 10.0}) {
        if (power * factor <= wanted)
            km = power * factor;
    }
    const double length = km / m_kmPerPixel;
    const QPointF end(size.width() - 16.0, size.height() - 16.0);
    const QPointF start = end - QPointF(length, 0);
    painter.setPen(cosmeticPen(QColor(60, 60, 60), 1.5));
    painter.drawLine(start, end);
    painter.drawLine(start, start - QPointF(0, 5));
    painter.drawLine(end, end - QPointF(0, 5));
    QFont font = painter.font();
    font.setPointSizeF(8.0);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(start.x(), start.y() - 20, length, 14), Qt::AlignCenter,
                     QStringLiteral("%1 km").arg(km));
}

void MapCanvas::drawShores(QPainter& painter, const Extent& visible, QSize size)
{
    const double widthKm = m_kmPerPixel * size.width();
    m_drawnResolution = m_shores->available(resolutionForWidth(widthKm));
    if (!m_drawnResolution || !m_view)
        return;
    painter.setTransform(transformFor(size));
    const QPen coast = cosmeticPen(coastColour, 1.0);
    const QPen lakes = cosmeticPen(lakeColour, 0.8);
    const QPen borders = cosmeticPen(borderColour, 0.9, Qt::DashLine);
    for (const ShoreBin& bin : m_shores->binsIn(visible, *m_drawnResolution)) {
        auto known = m_shorePaths.find(bin);
        if (known == m_shorePaths.end()) {
            ShorePaths paths;
            for (const ShoreLine& line : m_shores->lines(bin)) {
                QPainterPath& target = line.kind == ShoreKind::Coast  ? paths.coast
                                       : line.kind == ShoreKind::Lake ? paths.lakes
                                                                      : paths.borders;
                target.addPath(projectedPath(line.points));
            }
            known = m_shorePaths.emplace(bin, std::move(paths)).first;
        }
        painter.strokePath(known->second.borders, borders);
        painter.strokePath(known->second.lakes, lakes);
        painter.strokePath(known->second.coast, coast);
    }
    painter.resetTransform();
}

void MapCanvas::drawGraticule(QPainter& painter, const Extent& visible, QSize size)
{
    const double step =
        graticuleStep(std::max(visible.east - visible.west, visible.north - visible.south), 10);
    // The lines are made again only when the view leaves the area they were made for.
    const bool covered = step == m_graticuleStep && visible.west >= m_graticuleBox.west &&
                         visible.east <= m_graticuleBox.east &&
                         visible.south >= m_graticuleBox.south &&
                         visible.north <= m_graticuleBox.north;
    if (!covered && m_view) {
        m_graticuleStep = step;
        const double lonPad = visible.east - visible.west;
        const double latPad = visible.north - visible.south;
        m_graticuleBox = {visible.west - lonPad, visible.east + lonPad,
                          std::max(visible.south - latPad, -90.0),
                          std::min(visible.north + latPad, 90.0)};
        m_graticule.clear();
        for (const GraticuleLine& line : graticule(m_graticuleBox, step)) {
            Polyline km = line.points;
            m_view->forward(km);
            m_graticule.push_back({line.meridian,
                                   QString::fromUtf8(degreeLabel(line.degrees, line.meridian)),
                                   pathThrough(km), std::move(km)});
        }
    }
    const QTransform toPixels = transformFor(size);
    painter.setTransform(toPixels);
    const QPen pen = cosmeticPen(graticuleColour, 0.7);
    for (const GraticulePath& line : m_graticule)
        painter.strokePath(line.path, pen);
    painter.resetTransform();

    QFont font = painter.font();
    font.setPointSizeF(7.5);
    painter.setFont(font);
    painter.setPen(labelColour);
    for (const GraticulePath& line : m_graticule) {
        QPolygonF pixels;
        for (const MapPoint& p : line.km) {
            if (std::isfinite(p.x))
                pixels << toPixels.map(QPointF(p.x, p.y));
        }
        // Meridians are named where they meet the top edge, parallels at the left edge; the
        // legend keeps the bottom.
        const auto at = line.meridian ? crossing(pixels, false, 0.0, size.width())
                                      : crossing(pixels, true, 0.0, size.height());
        if (!at)
            continue;
        const QPointF place = line.meridian ? *at + QPointF(3, 11) : *at + QPointF(3, -3);
        painter.drawText(place, line.label);
    }
}

void MapCanvas::drawShapes(QPainter& painter, QSize size)
{
    const QTransform toPixels = transformFor(size);
    painter.setTransform(toPixels);
    for (std::size_t n = 0; n < m_scene.shapes.size(); ++n) {
        const SceneShape& shape = m_scene.shapes[n];
        if (shape.role == SceneShape::Role::Input) {
            QColor fill = shape.problem ? warningColour : inputColour(shape.input);
            fill.setAlpha(22);
            painter.fillPath(m_shapePaths[n], fill);
        }
        painter.strokePath(m_shapePaths[n], shapePen(shape));
    }
    painter.resetTransform();

    QFont font = painter.font();
    font.setPointSizeF(8.5);
    font.setBold(true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (const SceneShape& shape : m_scene.shapes) {
        if (shape.ring.empty())
            continue;
        const QString text = QString::fromStdString(shape.label);
        const QPointF corner = toPixels.map(QPointF(shape.ring.front().x, shape.ring.front().y));
        QRectF box = metrics.boundingRect(text).adjusted(-3, -1, 3, 1);
        // Boxes are named below their top edge, input files above theirs, so a box that
        // shares a corner with a file does not hide its name.
        const bool below = shape.role != SceneShape::Role::Input;
        box.moveTopLeft(corner + QPointF(4, below ? 4 : -box.height() - 3));
        painter.fillRect(box, QColor(255, 255, 255, 200));
        painter.setPen(shapePen(shape).color());
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void MapCanvas::drawLegend(QPainter& painter, QSize size)
{
    std::vector<LegendLine> lines = m_scene.legend;
    if (!m_drawnResolution)
        lines.push_back(
            {LegendLine::Style::Note, -1,
             "No coastline file in " + m_shores->folder() + ": install the package gmt-gshhg-low"});
    if (lines.empty())
        return;
    QFont font = painter.font();
    font.setPointSizeF(8.0);
    font.setBold(false);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double swatch = 22.0;
    const double textWidth = std::max(160.0, size.width() * 0.62 - swatch - 16);
    std::vector<QRectF> textBoxes;
    double height = 8.0;
    for (const LegendLine& line : lines) {
        const QRectF box = metrics.boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap,
                                                QString::fromStdString(line.text));
        textBoxes.push_back(box);
        height += box.height() + 3;
    }
    double widest = 0;
    for (const QRectF& box : textBoxes)
        widest = std::max(widest, box.width());
    const QRectF frame(8, size.height() - height - 8, widest + swatch + 18, height);
    painter.setPen(QColor(200, 200, 200));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(frame, 4, 4);
    double y = frame.top() + 5;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const LegendLine& line = lines[n];
        const double middle = y + metrics.height() / 2;
        SceneShape sample;
        sample.input = line.input;
        sample.role = line.style == LegendLine::Style::Confirmed ? SceneShape::Role::Confirmed
                      : line.style == LegendLine::Style::Entered ? SceneShape::Role::Entered
                                                                 : SceneShape::Role::Input;
        sample.problem = line.style == LegendLine::Style::Problem;
        if (line.style != LegendLine::Style::Note) {
            painter.setPen(shapePen(sample));
            painter.drawLine(QPointF(frame.left() + 6, middle),
                             QPointF(frame.left() + 6 + swatch - 4, middle));
        }
        painter.setPen(sample.problem ? warningColour : QColor(40, 40, 40));
        painter.drawText(QRectF(frame.left() + swatch + 10, y, textWidth, textBoxes[n].height()),
                         Qt::TextWordWrap, QString::fromStdString(line.text));
        y += textBoxes[n].height() + 3;
    }
}

void MapCanvas::wheelEvent(QWheelEvent* event)
{
    zoomAt(event->position(), std::pow(1.2, event->angleDelta().y() / 120.0));
    event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom = event->position();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragFrom)
        return;
    panBy(event->position() - *m_dragFrom);
    m_dragFrom = event->position();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent*)
{
    m_dragFrom.reset();
}

} // namespace gridloom
