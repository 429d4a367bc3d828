#include "map/map_renderer.h"

#include "common/palette.h"
#include "map/graticule.h"

#include <QPainter>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace gridloom {

namespace {

// Two consecutive shore points further apart than this lie on both sides of the projection's
// cut; the line is broken there rather than drawn across the map.
constexpr double longestStepKm = 1500.0;
// A grid's cell lattice is drawn once its cells are this many pixels apart.
constexpr double latticeSpacingPixels = 8.0;
// The legend covers at most this share of the map.
constexpr double legendShare = 0.2;

QColor inputColour(int index)
{
    return fileOutlines[static_cast<std::size_t>(std::max(index, 0)) % std::size(fileOutlines)];
}

// Sets the painter's font to the map's text size for one kind of writing and returns its
// metrics, so every caption measures itself with the font it is drawn in.
QFontMetricsF useFont(QPainter& painter, double points, bool bold = false)
{
    QFont font = painter.font();
    font.setPointSizeF(points);
    font.setBold(bold);
    painter.setFont(font);
    return QFontMetricsF(font);
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
        shape.problem ? warningColour : (box ? boxOutline : inputColour(shape.inputIndex));
    const double width = (box ? 2.4 : 1.8) + (shape.problem ? 0.6 : 0.0);
    QPen pen = cosmeticPen(colour, width);
    if (shape.role == SceneShape::Role::Entered)
        pen.setDashPattern({4.0, 3.0});
    else if (shape.approximate)
        pen.setDashPattern({1.0, 2.5});
    return pen;
}

QTransform transformOf(const MapViewport& viewport)
{
    const double scale = 1.0 / viewport.kmPerPixel();
    return QTransform(scale, 0, 0, -scale, viewport.width() / 2.0 - viewport.centre().x * scale,
                      viewport.height() / 2.0 + viewport.centre().y * scale);
}

QRectF pixelBounds(const Polyline& km, const MapViewport& viewport)
{
    QRectF bounds;
    for (const MapPoint& p : km) {
        const MapPoint pixel = viewport.toPixels(p);
        bounds |= QRectF(pixel.x, pixel.y, 1, 1);
    }
    return bounds;
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

QPainterPath pathThrough(const Polyline& km)
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

MapRenderer::MapRenderer(const std::string& shoreFolder)
    : m_shores(
          std::make_unique<ShoreLibrary>(shoreFolder.empty() ? defaultShoreFolder() : shoreFolder))
{
}

MapRenderer::~MapRenderer() = default;

bool MapRenderer::setScene(MapScene scene)
{
    const bool newProjection = !m_view || scene.viewDefinition != m_scene.viewDefinition;
    m_scene = std::move(scene);
    ++m_generation;
    // Always the new scene's object, even for the same definition: its grids share that one.
    m_view = m_scene.view;
    if (newProjection) {
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
    return newProjection;
}

Extent MapRenderer::sceneBox() const
{
    return sceneBounds(m_scene);
}

Extent MapRenderer::visibleLonLat(const MapViewport& viewport) const
{
    const Extent world{-180.0, 180.0, -90.0, 90.0};
    if (!m_view)
        return world;
    Polyline edge;
    constexpr int perSide = 16;
    const double w = viewport.width();
    const double h = viewport.height();
    for (int k = 0; k <= perSide; ++k) {
        const double t = static_cast<double>(k) / perSide;
        for (const MapPoint p : {MapPoint{t * w, 0}, MapPoint{t * w, h}, MapPoint{0, t * h},
                                 MapPoint{w, t * h}, MapPoint{t * w, t * h}})
            edge.push_back(viewport.toKm(p));
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
    for (const double pole : {90.0, -90.0}) {
        const auto km = m_view->forward(MapPoint{reference, pole});
        if (!km)
            continue;
        const MapPoint pixel = viewport.toPixels(*km);
        if (pixel.x >= 0 && pixel.x <= w && pixel.y >= 0 && pixel.y <= h) {
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

QPainterPath MapRenderer::projectedPath(const Polyline& lonLat) const
{
    if (!m_view)
        return {};
    Polyline km = lonLat;
    m_view->forward(km);
    return pathThrough(km);
}

void MapRenderer::paint(QPainter& painter, const MapViewport& viewport, const DragOverlay* overlay)
{
    paintBase(painter, viewport);
    paintOver(painter, viewport, overlay);
}

void MapRenderer::paintBase(QPainter& painter, const MapViewport& viewport)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, viewport.width(), viewport.height()), mapPaper);
    const Extent visible = visibleLonLat(viewport);
    drawShores(painter, visible, viewport);
    drawGraticule(painter, visible, viewport);
    drawLattices(painter, viewport);
    drawShapes(painter, viewport);
    painter.restore();
}

void MapRenderer::paintOver(QPainter& painter, const MapViewport& viewport,
                            const DragOverlay* overlay)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (overlay)
        drawOverlay(painter, viewport, *overlay);
    drawLegend(painter, viewport, overlay);
    drawScaleBar(painter, viewport);
    painter.restore();
}

void MapRenderer::drawScaleBar(QPainter& painter, const MapViewport& viewport)
{
    // A round length of about 120 pixels; true along the projection's standard parallels.
    const double wanted = 120.0 * viewport.kmPerPixel();
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double km = power;
    for (const double factor : {2.0, 5.0, 10.0}) {
        if (power * factor <= wanted)
            km = power * factor;
    }
    const double length = km / viewport.kmPerPixel();
    const QPointF end(viewport.width() - 16.0, viewport.height() - 16.0);
    const QPointF start = end - QPointF(length, 0);
    painter.setPen(cosmeticPen(mapScaleBar, 1.5));
    painter.drawLine(start, end);
    painter.drawLine(start, start - QPointF(0, 5));
    painter.drawLine(end, end - QPointF(0, 5));
    useFont(painter, 8.0);
    painter.drawText(QRectF(start.x(), start.y() - 20, length, 14), Qt::AlignCenter,
                     QStringLiteral("%1 km").arg(km));
}

void MapRenderer::drawShores(QPainter& painter, const Extent& visible, const MapViewport& viewport)
{
    const double widthKm = viewport.kmPerPixel() * viewport.width();
    m_drawnResolution = m_shores->available(resolutionForWidth(widthKm));
    if (!m_drawnResolution || !m_view)
        return;
    painter.setTransform(transformOf(viewport));
    const QPen coast = cosmeticPen(mapCoast, 1.0);
    const QPen lakes = cosmeticPen(mapLakes, 0.8);
    const QPen borders = cosmeticPen(mapBorders, 0.9, Qt::DashLine);
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

void MapRenderer::drawGraticule(QPainter& painter, const Extent& visible,
                                const MapViewport& viewport)
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
    const QTransform toPixels = transformOf(viewport);
    painter.setTransform(toPixels);
    const QPen pen = cosmeticPen(mapGraticule, 0.7);
    for (const GraticulePath& line : m_graticule)
        painter.strokePath(line.path, pen);
    painter.resetTransform();

    useFont(painter, 7.5);
    painter.setPen(mapLabels);
    for (const GraticulePath& line : m_graticule) {
        QPolygonF pixels;
        for (const MapPoint& p : line.km) {
            if (std::isfinite(p.x))
                pixels << toPixels.map(QPointF(p.x, p.y));
        }
        // Meridians are named where they meet the top edge, parallels at the left edge; the
        // legend keeps the bottom.
        const auto at = line.meridian ? crossing(pixels, false, 0.0, viewport.width())
                                      : crossing(pixels, true, 0.0, viewport.height());
        if (!at)
            continue;
        const QPointF place = line.meridian ? *at + QPointF(3, 11) : *at + QPointF(3, -3);
        painter.drawText(place, line.label);
    }
}

void MapRenderer::drawLattices(QPainter& painter, const MapViewport& viewport)
{
    if (!m_view)
        return;
    for (const SceneGrid& lattice : m_scene.grids) {
        const GridDefinition& grid = lattice.grid;
        const CellRange& cells = lattice.cells;
        if (!lattice.projection)
            continue;
        // Grids in the view's projection share its object.
        const bool sameAsView = lattice.projection == m_view;
        if (grid.spacingKm / viewport.kmPerPixel() < latticeSpacingPixels)
            continue;
        // The cells the window shows, from a few points of it in the grid's kilometres.
        Polyline probe;
        for (int a = 0; a <= 4; ++a)
            for (int b = 0; b <= 4; ++b)
                probe.push_back(
                    viewport.toKm({viewport.width() * a / 4, viewport.height() * b / 4}));
        if (!sameAsView) {
            m_view->inverse(probe);
            lattice.projection->forward(probe);
            dropFailedPoints(probe);
        }
        if (probe.empty())
            continue;
        double iLow = cells.i2 + 1.0;
        double iHigh = cells.i1 - 1.0;
        double jLow = cells.j2 + 1.0;
        double jHigh = cells.j1 - 1.0;
        for (const MapPoint& p : probe) {
            const double i = (p.x - grid.xSouthWest) / grid.spacingKm + 1.0;
            const double j = (p.y - grid.ySouthWest) / grid.spacingKm + 1.0;
            iLow = std::min(iLow, i);
            iHigh = std::max(iHigh, i);
            jLow = std::min(jLow, j);
            jHigh = std::max(jHigh, j);
        }
        const int i1 = std::max(cells.i1, static_cast<int>(std::floor(std::max(iLow, -1e6))));
        const int i2 = std::min(cells.i2, static_cast<int>(std::ceil(std::min(iHigh, 1e6))));
        const int j1 = std::max(cells.j1, static_cast<int>(std::floor(std::max(jLow, -1e6))));
        const int j2 = std::min(cells.j2, static_cast<int>(std::ceil(std::min(jHigh, 1e6))));
        if (i1 > i2 || j1 > j2)
            continue;
        const double half = grid.spacingKm / 2;
        const double west = cellCentreX(grid, i1) - half;
        const double east = cellCentreX(grid, i2) + half;
        const double south = cellCentreY(grid, j1) - half;
        const double north = cellCentreY(grid, j2) + half;
        const int bends = sameAsView ? 1 : 8;
        std::vector<Polyline> lines;
        for (int i = i1; i <= i2 + 1; ++i) {
            const double x = cellCentreX(grid, i) - half;
            Polyline line;
            for (int n = 0; n <= bends; ++n)
                line.push_back({x, south + (north - south) * n / bends});
            lines.push_back(std::move(line));
        }
        for (int j = j1; j <= j2 + 1; ++j) {
            const double y = cellCentreY(grid, j) - half;
            Polyline line;
            for (int n = 0; n <= bends; ++n)
                line.push_back({west + (east - west) * n / bends, y});
            lines.push_back(std::move(line));
        }
        // Lines of a grid in the view's own projection are straight and run along the pixel
        // rows and columns: drawn without smoothing, they cost a fraction of a stroked path.
        QVector<QLineF> segments;
        for (Polyline& line : lines) {
            if (!sameAsView) {
                lattice.projection->inverse(line);
                m_view->forward(line);
            }
            for (std::size_t n = 1; n < line.size(); ++n) {
                if (!std::isfinite(line[n - 1].x) || !std::isfinite(line[n].x))
                    continue;
                const MapPoint a = viewport.toPixels(line[n - 1]);
                const MapPoint b = viewport.toPixels(line[n]);
                segments.push_back(QLineF(a.x, a.y, b.x, b.y));
            }
        }
        QColor colour = inputColour(lattice.inputIndex);
        colour.setAlpha(60);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, !sameAsView);
        painter.setPen(QPen(colour, 1.0));
        painter.drawLines(segments);
        painter.restore();
    }
}

void MapRenderer::drawShapes(QPainter& painter, const MapViewport& viewport)
{
    const QTransform toPixels = transformOf(viewport);
    painter.setTransform(toPixels);
    for (std::size_t n = 0; n < m_scene.shapes.size(); ++n) {
        const SceneShape& shape = m_scene.shapes[n];
        if (shape.role == SceneShape::Role::Input) {
            QColor fill = shape.problem ? warningColour : inputColour(shape.inputIndex);
            fill.setAlpha(22);
            painter.fillPath(m_shapePaths[n], fill);
        }
        painter.strokePath(m_shapePaths[n], shapePen(shape));
    }
    painter.resetTransform();

    const QFontMetricsF metrics = useFont(painter, 8.5, true);
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
        painter.fillRect(box, captionBacking);
        painter.setPen(shapePen(shape).color());
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void MapRenderer::drawOverlay(QPainter& painter, const MapViewport& viewport,
                              const DragOverlay& overlay)
{
    painter.setTransform(transformOf(viewport));
    QPainterPath ring = pathThrough(overlay.ring);
    QColor fill = drawnBox;
    fill.setAlpha(28);
    painter.fillPath(ring, fill);
    QPen pen = cosmeticPen(drawnBox, 2.0);
    pen.setDashPattern({6.0, 3.0});
    painter.strokePath(ring, pen);
    painter.resetTransform();
    if (overlay.text.empty())
        return;
    const QFontMetricsF metrics = useFont(painter, 8.5);
    const QString text = QString::fromStdString(overlay.text);
    QRectF box = metrics.boundingRect(text).adjusted(-4, -2, 4, 2);
    // Below right of the pointer, moved inside the window near its edges.
    QPointF at(overlay.pointer.x + 14, overlay.pointer.y + 16);
    at.setX(std::min(at.x(), viewport.width() - box.width() - 4));
    at.setY(std::min(at.y(), viewport.height() - box.height() - 4));
    box.moveTopLeft(at);
    painter.setPen(mapFrame);
    painter.setBrush(legendBacking);
    painter.drawRect(box);
    painter.setPen(mapText);
    painter.drawText(box, Qt::AlignCenter, text);
}

std::vector<LegendLine> MapRenderer::legendLines() const
{
    std::vector<LegendLine> lines = m_scene.legend;
    // A damaged file is named as such: telling the user to install a package they have would
    // send them the wrong way.
    if (!m_shores->warning().empty())
        lines.push_back({LegendLine::Style::Note, -1, m_shores->warning()});
    else if (!m_drawnResolution)
        lines.push_back(
            {LegendLine::Style::Note, -1,
             "No coastline file in " + m_shores->folder() + ": install the package gmt-gshhg-low"});
    return lines;
}

QString MapRenderer::legendText() const
{
    QStringList lines;
    for (const LegendLine& line : legendLines())
        lines << QString::fromStdString(line.text);
    return lines.join(QLatin1Char('\n'));
}

void MapRenderer::drawLegend(QPainter& painter, const MapViewport& viewport,
                             const DragOverlay* overlay)
{
    m_legendFrame = QRectF();
    m_foldedLines = 0;
    const std::vector<LegendLine> lines = legendLines();
    if (lines.empty())
        return;
    const QFontMetricsF metrics = useFont(painter, 8.0);
    const double swatch = 22.0;
    const double w = viewport.width();
    const double h = viewport.height();
    const double textWidth = std::max(120.0, w * 0.42 - swatch - 18);
    // The frame is never wider than this, so a height up to the share's area over it keeps the
    // legend within its share of the map.
    const double widest = textWidth + swatch + 18;
    const double tallest = std::min(legendShare * w * h / widest, h - 16);
    const auto heightOf = [&](const QString& text) {
        return metrics.boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap, text).height();
    };
    const auto foldLine = [](std::size_t more) {
        return QStringLiteral("… %1 more: Legend").arg(more);
    };
    std::vector<QString> texts;
    std::vector<double> heights;
    double height = 8.0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const QString text = QString::fromStdString(lines[n].text);
        const double next = heightOf(text) + 3;
        // Room is kept for the line that says how many more there are.
        const bool last = n + 1 == lines.size();
        const double reserve = last ? 0.0 : heightOf(foldLine(lines.size() - n)) + 3;
        if (height + next + reserve > tallest) {
            m_foldedLines = static_cast<int>(lines.size() - n);
            break;
        }
        texts.push_back(text);
        heights.push_back(next - 3);
        height += next;
    }
    if (m_foldedLines > 0) {
        texts.push_back(foldLine(static_cast<std::size_t>(m_foldedLines)));
        heights.push_back(heightOf(texts.back()));
        height += heights.back() + 3;
    }
    double usedWidth = 0;
    for (const QString& text : texts)
        usedWidth = std::max(
            usedWidth,
            metrics.boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap, text).width());
    const QSizeF size(usedWidth + swatch + 18, height);

    // Bottom left unless that hides an output box: then the first corner that does not.
    std::vector<QRectF> boxes;
    for (const SceneShape& shape : m_scene.shapes) {
        if (shape.role != SceneShape::Role::Input)
            boxes.push_back(pixelBounds(shape.ring, viewport));
    }
    if (overlay)
        boxes.push_back(pixelBounds(overlay->ring, viewport));
    const QRectF corners[] = {QRectF(QPointF(8, h - size.height() - 8), size),
                              QRectF(QPointF(8, 8), size),
                              QRectF(QPointF(w - size.width() - 8, 8), size),
                              QRectF(QPointF(w - size.width() - 8, h - size.height() - 34), size)};
    QRectF frame = corners[0];
    double leastHidden = -1;
    for (const QRectF& corner : corners) {
        double hidden = 0;
        for (const QRectF& box : boxes) {
            const QRectF overlap = corner.intersected(box);
            hidden += overlap.width() * overlap.height();
        }
        if (leastHidden < 0 || hidden < leastHidden) {
            leastHidden = hidden;
            frame = corner;
        }
        if (hidden == 0)
            break;
    }
    m_legendFrame = frame;
    painter.setPen(mapFrame);
    painter.setBrush(legendBacking);
    painter.drawRoundedRect(frame, 4, 4);
    double y = frame.top() + 5;
    for (std::size_t n = 0; n < texts.size(); ++n) {
        const bool folded = m_foldedLines > 0 && n + 1 == texts.size();
        const LegendLine line = folded ? LegendLine{} : lines[n];
        const double middle = y + metrics.height() / 2;
        SceneShape sample;
        sample.inputIndex = line.inputIndex;
        sample.role = line.style == LegendLine::Style::Confirmed ? SceneShape::Role::Confirmed
                      : line.style == LegendLine::Style::Entered ? SceneShape::Role::Entered
                                                                 : SceneShape::Role::Input;
        sample.problem = line.style == LegendLine::Style::Problem;
        if (line.style != LegendLine::Style::Note) {
            painter.setPen(shapePen(sample));
            painter.drawLine(QPointF(frame.left() + 6, middle),
                             QPointF(frame.left() + 6 + swatch - 4, middle));
        }
        painter.setPen(sample.problem ? warningColour : mapText);
        painter.drawText(QRectF(frame.left() + swatch + 10, y, textWidth, heights[n]),
                         Qt::TextWordWrap, texts[n]);
        y += heights[n] + 3;
    }
}

} // namespace gridloom
