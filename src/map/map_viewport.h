#pragma once

#include "map/geometry.h"

namespace gridloom {

/// What part of the map a surface of `width` by `height` pixels shows: the point in view
/// kilometres at its middle and the kilometres one pixel spans. Pixels run right and down,
/// kilometres east and north. A plain value: copying it copies the view.
class MapViewport final {
public:
    /// Between a street and the whole earth across the window.
    static constexpr double finestKmPerPixel = 0.02;
    static constexpr double coarsestKmPerPixel = 60.0;

    MapViewport() = default;
    MapViewport(double width, double height, MapPoint centre, double kmPerPixel);

    double width() const { return m_width; }
    double height() const { return m_height; }
    MapPoint centre() const { return m_centre; }
    double kmPerPixel() const { return m_kmPerPixel; }

    /// A new surface size; the centre and the scale stay.
    void resize(double width, double height);
    MapPoint toPixels(MapPoint km) const;
    MapPoint toKm(MapPoint pixel) const;
    /// Multiplies the scale by `factor` (above 1 zooms in), keeping the point under `pixel`.
    void zoomAt(MapPoint pixel, double factor);
    /// Moves the map by a pixel offset, as a drag does.
    void panBy(MapPoint pixels);
    /// Shows all of `box` with a margin; the whole earth when the box is empty.
    void fit(const Extent& box);

private:
    double m_width = 640.0;
    double m_height = 480.0;
    MapPoint m_centre;
    double m_kmPerPixel = 50.0;
};

} // namespace gridloom
