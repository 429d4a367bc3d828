#pragma once

#include "common/drawn_box.h"
#include "map/box_drawing.h"
#include "map/map_renderer.h"
#include "map/map_viewport.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace gridloom {

class PointerReadout;

/// The domain map's drawing surface. The wheel zooms around the pointer and dragging pans;
/// Shift + drag draws a new output box and dragging an edge or a corner of the confirmed box
/// resizes it, Esc abandons such a drag. The box is never stored here: on release the handler
/// the program gave is told what was drawn.
class MapCanvas final : public QWidget {
    Q_OBJECT

public:
    explicit MapCanvas(QWidget* parent = nullptr, const std::string& shoreFolder = {});
    ~MapCanvas() override;

    /// Shows a new scene. The view is fitted to it when its projection changed, or when its
    /// number of files changed and the user has not zoomed or panned since the last fit.
    void setScene(MapScene scene);
    const MapScene& scene() const { return m_renderer.scene(); }
    /// Shows every input and the output box, with a margin.
    void fit();
    /// Multiplies the scale by `factor` (above 1 zooms in), keeping the point under `pixel`.
    void zoomAt(QPointF pixel, double factor);
    /// Moves the map by a pixel offset, as a drag does.
    void panBy(QPointF pixels);
    /// Shows `centre` at the middle at `kmPerPixel`, as a zoom and a pan would.
    void showView(MapPoint centre, double kmPerPixel);
    /// Where a point in view kilometres is drawn on the canvas.
    QPointF toPixels(const MapPoint& km) const;
    const MapViewport& viewport() const { return m_viewport; }
    /// Draws the whole map into a surface of `size`: the screen, a picture or a PDF page.
    void paintMap(QPainter& painter, QSize size);
    const MapRenderer& renderer() const { return m_renderer; }
    /// The shore resolution the last drawing used; nothing when no shore file was found.
    std::optional<ShoreResolution> drawnResolution() const { return m_renderer.drawnResolution(); }
    /// Called with the box when a box drag ends.
    void setBoxDrawnHandler(std::function<void(const DrawnBox&)> handler);
    /// True while a box is being dragged.
    bool drawingBox() const { return m_boxDrag.has_value(); }

Q_SIGNALS:
    /// The status line for the point under the pointer changed.
    void pointerRead(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::optional<MapPoint> framePoint(QPointF pixel) const;
    void showDragAt(QPointF pixel, MapPoint point);
    void endBoxDrag();
    void showGrip(QPointF pixel);

    MapRenderer m_renderer;
    MapViewport m_viewport;
    std::unique_ptr<BoxFrame> m_frame;
    std::unique_ptr<PointerReadout> m_readout;
    std::function<void(const DrawnBox&)> m_boxDrawn;
    std::size_t m_fittedInputs = 0;
    bool m_userMoved = false;

    std::optional<QPointF> m_panFrom;
    std::optional<BoxDrag> m_boxDrag;
    std::optional<Extent> m_dragged;
    QPointF m_pressedAt;
    DragOverlay m_overlay;

    // The map under a drag, painted once per view and scene, so that moving the box only
    // copies it and draws the box over it.
    struct BaseKey {
        MapViewport viewport;
        int generation = -1;
        double pixelRatio = 0.0;
    };
    QImage m_base;
    BaseKey m_baseKey;
};

} // namespace gridloom
