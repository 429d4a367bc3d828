#pragma once

#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "map/projection.h"
#include "map/shoreline_library.h"

#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace gridloom {

/// What a drag puts over the map: the box being drawn, in view kilometres, and its corner's
/// values beside the pointer.
struct DragOverlay {
    Polyline ring;
    std::string text;
    MapPoint pointer;
};

/// Paints a scene through a viewport into any painter: the screen, a picture, a PDF page.
/// Shores, graticule, the cell lattice of grids zoomed in far enough, the scene's outlines,
/// the legend and a scale bar. Outlines are projected when the scene changes, the graticule
/// when the view leaves the area it was made for, and each shore bin the first time it is
/// drawn; other paints only stroke paths.
class MapRenderer final {
public:
    explicit MapRenderer(const std::string& shoreFolder = {});
    ~MapRenderer();
    MapRenderer(const MapRenderer&) = delete;
    MapRenderer& operator=(const MapRenderer&) = delete;

    /// A new scene; returns true when its projection differs from the last one's.
    bool setScene(MapScene scene);
    const MapScene& scene() const { return m_scene; }
    /// The box around every outline of the scene, in view kilometres.
    Extent sceneBox() const;
    void paint(QPainter& painter, const MapViewport& viewport,
               const DragOverlay* overlay = nullptr);
    /// What stays while a box is dragged: paper, shores, graticule, lattices and outlines.
    void paintBase(QPainter& painter, const MapViewport& viewport);
    /// What a drag changes, over a painted base: the box being drawn, the legend, the scale.
    void paintOver(QPainter& painter, const MapViewport& viewport, const DragOverlay* overlay);
    /// Counts the scenes shown, so that a picture of the base can tell it is out of date.
    int sceneGeneration() const { return m_generation; }
    /// The shore resolution the last paint used; nothing when no shore file was found.
    std::optional<ShoreResolution> drawnResolution() const { return m_drawnResolution; }
    /// Where the last paint put the legend, in pixels; empty when it drew none.
    QRectF legendFrame() const { return m_legendFrame; }
    /// Every legend line, for a panel beside the map when the map shows only some; after a
    /// paint also why shores are missing, if they are.
    QString legendText() const;
    /// How many legend lines the last paint left out for want of room.
    int foldedLegendLines() const { return m_foldedLines; }

private:
    std::vector<LegendLine> legendLines() const;
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

    Extent visibleLonLat(const MapViewport& viewport) const;
    QPainterPath projectedPath(const Polyline& lonLat) const;
    void drawShores(QPainter& painter, const Extent& visible, const MapViewport& viewport);
    void drawGraticule(QPainter& painter, const Extent& visible, const MapViewport& viewport);
    void drawLattices(QPainter& painter, const MapViewport& viewport);
    void drawShapes(QPainter& painter, const MapViewport& viewport);
    void drawOverlay(QPainter& painter, const MapViewport& viewport, const DragOverlay& overlay);
    void drawLegend(QPainter& painter, const MapViewport& viewport, const DragOverlay* overlay);
    void drawScaleBar(QPainter& painter, const MapViewport& viewport);

    MapScene m_scene;
    /// The scene's view projection.
    std::shared_ptr<const Projection> m_view;
    std::unique_ptr<ShoreLibrary> m_shores;
    std::map<ShoreBin, ShorePaths> m_shorePaths;
    std::vector<QPainterPath> m_shapePaths;
    std::vector<GraticulePath> m_graticule;
    Extent m_graticuleBox{};
    double m_graticuleStep = 0.0;
    std::optional<ShoreResolution> m_drawnResolution;
    QRectF m_legendFrame;
    int m_foldedLines = 0;
    int m_generation = 0;
};

/// Lines through projected points, broken where a point failed or a step jumps across the
/// projection's cut.
QPainterPath pathThrough(const Polyline& km);

} // namespace gridloom
