#include "map/map_viewport.h"

#include <algorithm>

namespace gridloom {

MapViewport::MapViewport(double width, double height, MapPoint centre, double kmPerPixel)
    : m_width(width), m_height(height), m_centre(centre),
      m_kmPerPixel(std::clamp(kmPerPixel, finestKmPerPixel, coarsestKmPerPixel))
{
}

void MapViewport::resize(double width, double height)
{
    m_width = width;
    m_height = height;
}

MapPoint MapViewport::toPixels(MapPoint km) const
{
    return {m_width / 2.0 + (km.x - m_centre.x) / m_kmPerPixel,
            m_height / 2.0 - (km.y - m_centre.y) / m_kmPerPixel};
}

MapPoint MapViewport::toKm(MapPoint pixel) const
{
    return {m_centre.x + (pixel.x - m_width / 2.0) * m_kmPerPixel,
            m_centre.y - (pixel.y - m_height / 2.0) * m_kmPerPixel};
}

void MapViewport::zoomAt(MapPoint pixel, double factor)
{
    const MapPoint before = toKm(pixel);
    m_kmPerPixel = std::clamp(m_kmPerPixel / factor, finestKmPerPixel, coarsestKmPerPixel);
    const MapPoint after = toKm(pixel);
    m_centre.x += before.x - after.x;
    m_centre.y += before.y - after.y;
}

void MapViewport::panBy(MapPoint pixels)
{
    m_centre.x -= pixels.x * m_kmPerPixel;
    m_centre.y += pixels.y * m_kmPerPixel;
}

void MapViewport::fit(const Extent& box)
{
    Extent shown = box;
    if (shown.east - shown.west <= 0.0 || shown.north - shown.south <= 0.0) {
        // Nothing placed yet: the whole earth, as far as the view can show it.
        shown = {-20000.0, 20000.0, -10000.0, 10000.0};
    }
    m_centre = {(shown.west + shown.east) / 2, (shown.south + shown.north) / 2};
    // Room for the labels along the edges and the scale bar below.
    const double across = (shown.east - shown.west) / std::max(m_width - 40, 40.0);
    const double down = (shown.north - shown.south) / std::max(m_height - 60, 40.0);
    m_kmPerPixel = std::clamp(std::max(across, down) * 1.08, finestKmPerPixel, coarsestKmPerPixel);
}

} // namespace gridloom
