#pragma once

#include "map/map_scene.h"
#include "map/projection.h"
#include "map/shoreline_library.h"

#include <QPainterPath>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gridloom {

/// The drawing surface of the domain map: shores, graticule, the scene's outlines and the
/// legend, in the scene's projection. The wheel zooms around the pointer, dragging pans.
/// Outlines are projected when the scene changes, the graticule when the view leaves the area
/// it was made for, and each shore bin the first time it is drawn; other repaints only stroke
/// paths.
class MapCanvas final : public QWidget {
    Q_OBJECT

public:
    explicit MapCanvas(QWidget* parent = nullptr, const std::string& shoreFolder = {});
    ~MapCanvas() override;

    /// Shows a new scene. The view is fitted to it when its projection or its number of files
    /// changed; otherwise the user's zoom and pan stay.
    void setScene(MapScene scene);
    const MapScene& scene() const { return m_scene; }
    /// Shows every input and the output box, with a margin.
    void fit();
    /// Multiplies the scale by `factor` (above 1 zooms in), keeping the point under `pixel`.
    void zoomAt(QPointF pixel, double factor);
    /// Moves the map by a pixel offset, as a drag does.
    void panBy(QPointF pixels);
    /// Where a point in view kilometres is drawn on a canvas of the widget's size.
    QPointF toPixels(const MapPoint& km) const;
    /// Draws the whole map into a surface of `size`: the screen, a picture or a PDF page.
    void paintMap(QPainter& painter, QSize size);
    /// The shore resolution the last drawing used; nothing when no shore file was found.
    std::optional<ShoreResolution> drawnResolution() const { return m_drawnResolution; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct ShorePaths {
        QPainterPath coast;
        QPainterPath lakes;
        QPainterPath borders;
    };
    struct GraticulePath {
        bool meridian;
        QString label;
        QPainterPath path;
        Polyline km;
    };

    QTransform transformFor(QSize size) const;
    Extent visibleLonLat(QSize size) const;
    QPainterPath projectedPath(const Polyline& lonLat) const;
    /// Lines through projected points, broken where a point failed or a step jumps.
    static QPainterPath pathThrough(const Polyline& km);
    void drawShores(QPainter& painter, const Extent& visible, QSize size);
    void drawGraticule(QPainter& painter, const Extent& visible, QSize size);
    void drawShapes(QPainter& painter, QSize size);
    void drawLegend(QPainter& painter, QSize size);
    void drawScaleBar(QPainter& painter, QSize size);

    MapScene m_scene;
    std::optional<Projection> m_view;
    std::unique_ptr<ShoreLibrary> m_shores;
    std::map<ShoreBin, ShorePaths> m_shorePaths;
    std::vector<QPainterPath> m_shapePaths;
    std::vector<GraticulePath> m_graticule;
    Extent m_graticuleBox{};
    double m_graticuleStep = 0.0;
    std::optional<ShoreResolution> m_drawnResolution;

    MapPoint m_centre;
    double m_kmPerPixel = 50.0;
    std::size_t m_fittedInputs = 0;
    std::optional<QPointF> m_dragFrom;
};

} // namespace gridloom
