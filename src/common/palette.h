#pragma once

#include <QColor>

namespace gridloom {

/// The one colour for "look here": clashing hours, gaps, files on another grid. The hours strip,
/// its legend and the map all use it, so a warning on one reads the same on the others.
inline constexpr QColor warningColour(232, 89, 12);

/// A colour as designers write it, #rrggbb, with an opacity from 0 to 255.
constexpr QColor hexColour(unsigned rgb, int alpha = 0xff)
{
    return QColor(int(rgb >> 16) & 0xff, int(rgb >> 8) & 0xff, int(rgb) & 0xff, alpha);
}

// The map. Boxes (confirmed, entered, being drawn) must stand out from every file's outline and
// from shores on land and sea alike; files are told apart by their outlines' colours.
inline constexpr QColor mapPaper = hexColour(0xfbfaf6);
inline constexpr QColor mapCoast = hexColour(0x466078);
inline constexpr QColor mapLakes = hexColour(0x6e9bc4);
inline constexpr QColor mapBorders = hexColour(0x968a80);
inline constexpr QColor mapGraticule = hexColour(0xd6dadf);
inline constexpr QColor mapLabels = hexColour(0x6e7882);
inline constexpr QColor mapText = hexColour(0x282828);
inline constexpr QColor mapFrame = hexColour(0xc8c8c8);
// White under captions and the legend, opaque enough to read over shores and outlines.
inline constexpr QColor captionBacking = hexColour(0xffffff, 0xc8);
inline constexpr QColor legendBacking = hexColour(0xffffff, 0xe1);
inline constexpr QColor mapScaleBar = hexColour(0x3c3c3c);
inline constexpr QColor boxOutline = hexColour(0x141414);
inline constexpr QColor drawnBox = hexColour(0xc81e5a);
inline constexpr QColor fileOutlines[] = {hexColour(0x1f77b4), hexColour(0x2ca02c),
                                          hexColour(0x9467bd), hexColour(0x8c564b),
                                          hexColour(0x17becf)};

// The hours strip: bars of files on the output period's band, the summary row's held hours.
inline constexpr QColor fileBar = hexColour(0x3a6ea5);
inline constexpr QColor periodBand = hexColour(0xe0eee0);
inline constexpr QColor periodEdge = hexColour(0x3c8c46);
inline constexpr QColor gapTint = hexColour(0xfadece);
inline constexpr QColor heldHours = hexColour(0x96c498);
inline constexpr QColor hourLines = hexColour(0x000000, 0x16);
inline constexpr QColor dayLines = hexColour(0x000000, 0x46);
// Laid over a clash in the warning colour, so the clash reads as striped.
inline constexpr QColor clashStripe = hexColour(0xffffff, 0x96);

// The splash picture: a night sky and the captions on it.
inline constexpr QColor skyTop = hexColour(0x081438);
inline constexpr QColor skyBottom = hexColour(0x14466e);
inline constexpr QColor splashCaption = hexColour(0xc0c0ff);
inline constexpr QColor splashSubtitle = hexColour(0xc8dcff);
inline constexpr QColor splashRule = hexColour(0x7896c8);
inline constexpr QColor windArrows = hexColour(0xffd278);
// The model's levels, nearer the viewer brighter and more opaque.
inline constexpr QColor splashLevels[] = {hexColour(0x5aa0dc, 0x96), hexColour(0x78bef0, 0xaa),
                                          hexColour(0xaadcff, 0xc8)};

} // namespace gridloom
