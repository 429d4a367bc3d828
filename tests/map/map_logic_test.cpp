// The domain map's logic without a display: grid lines, PROJ, the consistency check, the scene,
// the graticule and the GSHHG reader; and drawing a box on it: the drag, snapping to whole
// cells, the view's arithmetic and the status line's text.
#include "common/grid_definition.h"
#include "fixtures/fixture_writer.h"
#include "input/grid_line.h"
#include "input/header_reader.h"
#include "map/box_drawing.h"
#include "map/graticule.h"
#include "map/grid_outline.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "map/pointer_readout.h"
#include "map/projection.h"
#include "map/shoreline_library.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"

#include <cmath>
#include <netcdf.h>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

// A 12 km grid and a 4 km grid nested in it, with extent lines whose limits cs2cs gave for
// the centres of their edge cells (+proj=lcc +lat_1=30 +lat_2=60 +lat_0=40 +lon_0=-97
// +R=6370000 +units=km, inverse).
constexpr auto coarseLine = "LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";
constexpr auto fineLine = "LCC 40.0000 -97.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23";
// A grid across the 180th meridian with one nested in it, and one around the north pole with
// one nested round the pole too. Their limits are cs2cs's as above, for +lat_0=50 +lon_0=180
// and +lat_0=75 +lon_0=-40 +lat_1=60 +lat_2=80; round a pole the north limit is that of the
// centre nearest the pole, (10, 1730) and (0, 1720) km.
constexpr auto dateLineLine = "LCC 50.0000 180.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";
constexpr auto dateLineFineLine =
    "LCC 50.0000 180.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23";
constexpr auto polarLine = "LCC 75.0000 -40.0000 60.00 80.00 -1990.000 -1990.000 20.000 200 200 23";
constexpr auto polarFineLine = "LCC 75.0000 -40.0000 60.00 80.00 -300.000 1380.000 10.000 61 61 23";

// The record the header reader makes of a header the fixture writer wrote.
InputFileInfo header(const char* gridLine, const std::array<std::string, 10>& extent)
{
    return parseHeader(fixtures::headerText({.gridLine = gridLine, .extent = extent}), "sample.m3d")
        .value();
}

// The two as the header reader records them: cells i 1-60, j 1-50, k 1-23.
const InputFileInfo coarse = header(coarseLine, {"1", "1", "60", "50", "1", "23", "-101.478396",
                                                 "-92.521604", "37.198118", "42.730618"});
const InputFileInfo fine = header(fineLine, {"1", "1", "60", "50", "1", "23", "-98.835971",
                                             "-95.947253", "38.873221", "40.704925"});
const InputFileInfo dateLine = header(dateLineLine, {"1", "1", "60", "50", "1", "23", "174.606717",
                                                     "-174.606717", "47.165576", "52.724267"});
const InputFileInfo dateLineFine =
    header(dateLineFineLine, {"1", "1", "60", "50", "1", "23", "177.803088", "-178.740225",
                              "48.866243", "50.705489"});
const InputFileInfo polar = header(polarLine, {"1", "1", "200", "200", "1", "23", "-180.0000",
                                               "180.0000", "52.525803", "89.917409"});
const InputFileInfo polarFine = header(polarFineLine, {"1", "1", "61", "61", "1", "23", "-180.0000",
                                                       "180.0000", "86.311867", "89.985732"});

// A coastline file of 60-degree bins, 6 across and 3 down, written from scratch, with one
// two-point line in bin 10 (row 1, column 4: 240-300 degrees east, 30 south to 30 north); `damage`
// names the one thing written wrong, if any.
void writeShoreFile(const QString& path, const QString& damage)
{
    int file = 0;
    QCOMPARE(nc_create(qPrintable(path), NC_CLOBBER, &file), NC_NOERR);
    using Lengths = std::vector<std::size_t>;
    const auto table = [&](const char* name, nc_type type, Lengths lengths,
                           std::vector<int> values) {
        std::vector<int> dims;
        for (std::size_t n = 0; n < lengths.size(); ++n) {
            int dim = 0;
            const std::string dimName = name + std::string("_") + std::to_string(n);
            QCOMPARE(nc_def_dim(file, dimName.c_str(), lengths[n], &dim), NC_NOERR);
            dims.push_back(dim);
        }
        int variable = 0;
        QCOMPARE(
            nc_def_var(file, name, type, static_cast<int>(dims.size()), dims.data(), &variable),
            NC_NOERR);
        QCOMPARE(nc_enddef(file), NC_NOERR);
        QCOMPARE(nc_put_var_int(file, variable, values.data()), NC_NOERR);
        QCOMPARE(nc_redef(file), NC_NOERR);
    };
    // Tables are found by name: the first written is not one that comes first in GSHHG's files.
    table("Id_of_first_point_in_a_segment", NC_INT, {1}, {0});
    const bool fourSizes = damage == u"a number held four times"_s;
    table("Bin_size_in_minutes", NC_INT, {fourSizes ? 4u : 1u},
          std::vector(fourSizes ? 4 : 1, 3600));
    table("N_bins_in_360_longitude_range", NC_INT, {1}, {6});
    table("N_bins_in_file", NC_INT, {1}, {18});
    std::vector<int> counts(18, 0);
    counts[10] = 1;
    table("Id_of_first_segment_in_a_bin", NC_INT, {18}, std::vector(18, 0));
    const bool twoDimensions = damage == u"a bin table of two dimensions"_s;
    table("N_segments_in_a_bin", NC_SHORT, twoDimensions ? Lengths{9, 2} : Lengths{18}, counts);
    // Two points, level 1: the sea shore.
    table("Embedded_npts_levels_exit_entry_for_a_segment", NC_INT, {1}, {(2 << 9) | (1 << 6)});
    table("Relative_longitude_from_SW_corner_of_bin", NC_SHORT, {2}, {0, -1});
    const bool unequal = damage == u"point tables of unequal lengths"_s;
    table("Relative_latitude_from_SW_corner_of_bin", NC_SHORT, {unequal ? 3u : 2u},
          unequal ? std::vector{0, -32768, 0} : std::vector{0, -32768});
    QCOMPARE(nc_close(file), NC_NOERR);
}

DomainSelection box(double a, double b, double c, double d)
{
    return {{a, b, c, d, 1, 23}, true};
}

bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) < tolerance;
}

// The 12 km grid of the map tests: cell (1, 1) centred at (-354, -294) km, cells 1-60, 1-50.
const GridDefinition grid{40, -97, 30, 60, -354, -294, 12};
const CellRange wholeFile{1, 1, 60, 50};

QString text(const Extent& box)
{
    return u"%1 %2 %3 %4"_s.arg(box.west).arg(box.east).arg(box.south).arg(box.north);
}

QString text(const CellRange& cells)
{
    return QString::asprintf("i %d-%d j %d-%d", cells.i1, cells.i2, cells.j1, cells.j2);
}

} // namespace

class MapLogicTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gridLines_data()
    {
        columns<QString, bool>("line", "read");
        addRow("LCC with its ten numbers", coarseLine, true);
        addRow("origin on the 360th meridian", "LCC 40 360 30 60 -354 -294 12 60 50 23", true);
        addRow("polar stereographic", "PS 90 -105 60 60 -354 -294 12 60 50 23", false);
        addRow("a field missing", "LCC 40 -97 30 60 -354 -294 12 60 50", false);
        addRow("no spacing", "LCC 40 -97 30 60 -354 -294 0 60 50 23", false);
        addRow("no cells across", "LCC 40 -97 30 60 -354 -294 12 0 50 23", false);
        addRow("no cells down", "LCC 40 -97 30 60 -354 -294 12 60 0 23", false);
        addRow("a million cells down", "LCC 40 -97 30 60 -354 -294 12 60 1e6 23", false);
        addRow("parallels across the equator", "LCC 40 -97 -30 60 -354 -294 12 60 50 23", false);
        addRow("a parallel on the equator", "LCC 40 -97 0 60 -354 -294 12 60 50 23", false);
        addRow("a parallel past the pole", "LCC 40 -97 30 91 -354 -294 12 60 50 23", false);
        addRow("text for a number", "LCC 40 -97 30 60 west -294 12 60 50 23", false);
        addRow("origin run together", "LCC 40 -97 30 60 -354.000-294.000 12 60 50 23", true);
        addRow("an exponent's sign kept", "LCC 40 -97 30 60 -3.54e+2 -2.94E+2 12 60 50 23", true);
        addRow("spacing run into the counts", "LCC 40 -97 30 60 -354 -294 12.000060050 23", false);
        addRow("part of a cell", "LCC 40 -97 30 60 -354 -294 12 60.5 50 23", false);
        addRow("wider than the globe", "LCC 40 -97 30 60 -354 -294 1000 60 50 23", false);
    }
    void gridLines()
    {
        auto [line, read] = fetchRow<QString, bool>();
        const HeaderGrid header = parseGridLine(line.toStdString());
        const auto* grid = std::get_if<GridDefinition>(&header);
        QCOMPARE(grid != nullptr, read);
        QVERIFY(!grid || (grid->xSouthWest == -354.0 && grid->ySouthWest == -294.0 &&
                          grid->spacingKm == 12.0));
    }

    // The extent line's limits are cs2cs's centres of the grid's edge cells; longitudes run on
    // across the 180th meridian, and round a pole they go all the way.
    void cellCentres_data()
    {
        columns<InputFileInfo, Extent>("input", "centres");
        addRow("regional", coarse, Extent{-101.478396, -92.521604, 37.198118, 42.730618});
        addRow("across the 180th meridian", dateLine,
               Extent{174.606717, 185.393283, 47.165576, 52.724267});
        addRow("around the north pole", polar, Extent{-180, 180, 52.525803, 89.917409});
        addRow("a small one around the pole", polarFine, Extent{-180, 180, 86.311867, 89.985732});
    }
    void cellCentres()
    {
        auto [input, centres] = fetchRow<InputFileInfo, Extent>();
        const auto* grid = std::get_if<GridDefinition>(&input.grid);
        const auto projection = Projection::create(projectionDefinition(*grid));
        const auto c = cellCentreExtent(*grid, *projection,
                                        {input.iStart, input.jStart, input.iEnd, input.jEnd});
        QVERIFY(c && near(c->south, centres.south, 1e-5) && near(c->north, centres.north, 1e-5));
        QVERIFY(centres.east - centres.west < 360
                    ? near(c->west, centres.west, 1e-5) && near(c->east, centres.east, 1e-5)
                    : c->east - c->west == 360.0);
    }

    // A quarter of a cell, plus half the unit of the last decimal the limits were written with.
    void extentCheck_data()
    {
        columns<InputFileInfo, Extent, double, bool>("input", "extent", "writtenTo", "agrees");
        const Extent e{coarse.lonStart, coarse.lonEnd, coarse.latStart, coarse.latEnd};
        const double cell = 12 / 111.177; // degrees of latitude
        addRow("limits as cs2cs gave them", coarse, e, 1e-6, true);
        addRow("limits written with two decimals", coarse, Extent{-101.48, -92.52, 37.2, 42.73},
               0.01, true);
        addRow("west and east the other way round", coarse,
               Extent{e.east, e.west, e.south, e.north}, 1e-6, true);
        addRow("longitudes from 0 to 360", coarse,
               Extent{e.west + 360, e.east + 360, e.south, e.north}, 1e-6, true);
        addRow("a fifth of a cell north", coarse,
               Extent{e.west, e.east, e.south + cell / 5, e.north + cell / 5}, 1e-6, true);
        addRow("a third of a cell north", coarse,
               Extent{e.west, e.east, e.south + cell / 3, e.north + cell / 3}, 1e-6, false);
        addRow("whole degrees, said so", coarse, Extent{-101, -93, 37, 43}, 1.0, true);
        addRow("whole degrees, taken as exact", coarse, Extent{-101, -93, 37, 43}, 0.0, false);
        addRow("shifted a cell east", coarse,
               Extent{e.west + 0.15, e.east + 0.15, e.south, e.north}, 1e-6, false);
        addRow("north limit of the corners", coarse, Extent{e.west, e.east, e.south, 42.638533},
               1e-6, false);
        addRow("across 180, west of Greenwich at the east", dateLine,
               Extent{174.606717, -174.606717, 47.165576, 52.724267}, 1e-6, true);
        addRow("across 180, running past it", dateLine,
               Extent{174.606717, 185.393283, 47.165576, 52.724267}, 1e-6, true);
        addRow("across 180, a cell east", dateLine, Extent{174.8, -174.4, 47.165576, 52.724267},
               1e-6, false);
        addRow("around the pole", polar, Extent{-180, 180, 52.525803, 89.917409}, 1e-4, true);
        addRow("around the pole, north limit of its edge", polar,
               Extent{-180, 180, 52.525803, 87.896043}, 1e-6, false);
    }
    void extentCheck()
    {
        auto [input, extent, writtenTo, agrees] = fetchRow<InputFileInfo, Extent, double, bool>();
        const auto* grid = std::get_if<GridDefinition>(&input.grid);
        const auto projection = Projection::create(projectionDefinition(*grid));
        const CellRange cells{input.iStart, input.jStart, input.iEnd, input.jEnd};
        QCOMPARE(agreesWithExtent(*grid, *projection, cells, extent, writtenTo), agrees);
        // A block without cells has no centres to agree with anything.
        QVERIFY(!agreesWithExtent(*grid, *projection, {1, 1, 0, 50}, extent, writtenTo));
    }

    void scene_data()
    {
        columns<std::vector<InputFileInfo>, ProcessingMode, CoordinateType, DomainSelection, int,
                QString>("inputs", "mode", "type", "domain", "problems", "saying");
        using enum ProcessingMode;
        using enum CoordinateType;
        const std::vector nested{fine, coarse};
        const std::vector inverted{coarse, fine};
        std::vector madeUp{coarse};
        madeUp[0].lonStart = -120.5;
        std::vector stereographic{coarse};
        stereographic[0].grid = parseGridLine("PS 90 -105 60 60 -354 -294 12 60 50 23");
        // The header reader takes the fourth field from the end as the spacing.
        const std::vector runTogether{
            header("LCC 40.0000 -97.0000 30.00 60.00 -2699.020 -2339.860 36.000151131 23",
                   {"1", "1", "151", "131", "1", "23", "-125.5", "-65.5", "20.5", "50.5"})};
        const std::vector wholeDegrees{
            header(coarseLine, {"1", "1", "60", "50", "1", "23", "-101", "-93", "37", "43"})};
        const DomainSelection none;
        const char* confirmed = "Output domain (confirmed)";
        addRow("box inside the coarsest file", nested, Merge, LatLon, box(-99, -95, 38.5, 41), 0,
               confirmed);
        addRow("finer file listed after the coarser", inverted, Merge, LatLon, none, 1,
               "File 1 (12 km) does not lie inside file 2 (4 km)");
        addRow("box reaching past the coarsest file", nested, Merge, LatLon, box(-105, -95, 38, 41),
               1, "The output box reaches outside file 2, the coarsest");
        addRow("extent not matching the grid", madeUp, Merge, None, none, 0,
               "approximate, drawn as its longitude/latitude box: its grid line does not match");
        addRow("unsupported projection", stereographic, Merge, None, none, 0,
               "approximate, drawn as its longitude/latitude box: its projection PS is not");
        addRow("X/Y box without a known projection", stereographic, Merge, XY,
               box(-50, 50, -50, 50), 0,
               "The output box is not drawn: X/Y kilometres need a listed file with a known grid");
        addRow("index box past a file's cells", inverted, Extract, IJK, box(1, 70, 1, 50), 2,
               "The output box reaches outside file 2's cells i 1-60, j 1-50");
        addRow("index box on edge cells", inverted, Extract, IJK, box(1, 60, 1, 50), 0, confirmed);
        // The processor has nothing past the last data point to work with.
        addRow("box on the coarsest file's last centres", nested, Merge, XY,
               box(-100, 354, -100, 294), 0, confirmed);
        addRow("box a third of a cell past them", nested, Merge, XY, box(-100, 358, -100, 100), 1,
               "The output box reaches outside file 2, the coarsest");
        addRow("nested across the 180th meridian", std::vector{dateLineFine, dateLine}, Merge,
               LatLon, box(178, 182, 49, 51), 0, "2: 12 km grid, cells i 1-60, j 1-50\n");
        addRow("box past the grid across 180", std::vector{dateLineFine, dateLine}, Merge, LatLon,
               box(178, 186, 49, 51), 1, "The output box reaches outside file 2, the coarsest");
        addRow("nested around the pole", std::vector{polarFine, polar}, Merge, None, none, 0,
               "1: 10 km grid, cells i 1-61, j 1-61\n");
        addRow("around the pole, the other way", std::vector{polar, polarFine}, Merge, None, none,
               1, "File 1 (20 km) does not lie inside file 2 (10 km)");
        addRow("limits in whole degrees", wholeDegrees, Merge, None, none, 0,
               "1: 12 km grid, cells i 1-60, j 1-50\n");
        addRow("grid line run together", runTogether, Merge, None, none, 0,
               "1: grid spacing unreadable, cells i 1-151, j 1-131; approximate");
    }
    void scene()
    {
        auto [inputs, mode, type, domain, problems, saying] =
            fetchRow<std::vector<InputFileInfo>, ProcessingMode, CoordinateType, DomainSelection,
                     int, QString>();
        const MapScene scene = buildScene({mode, type, inputs, domain, std::nullopt});
        QString legend;
        int problemLines = 0;
        for (const LegendLine& line : scene.legend) {
            legend += QString::fromStdString(line.text) + u'\n';
            problemLines += line.style == LegendLine::Style::Problem ? 1 : 0;
        }
        QVERIFY2(legend.contains(saying), qPrintable(legend));
        QCOMPARE(problemLines, problems);
        // No spacing that cannot be true is printed, on the map or in the legend.
        for (const SceneShape& shape : scene.shapes)
            QVERIFY(!QString::fromStdString(shape.label).contains(u": -"_s));
        QCOMPARE(std::any_of(scene.shapes.begin(), scene.shapes.end(),
                             [](const SceneShape& s) { return s.problem; }),
                 problems > 0);
    }

    // Without a known grid the view is a plain one, centred on what there is to show.
    void plainViewCentre()
    {
        const auto view = [](DomainSelection confirmed, std::optional<EnteredBox> typed) {
            return QString::fromStdString(
                buildScene({ProcessingMode::Merge, CoordinateType::LatLon, {}, confirmed, typed})
                    .viewDefinition);
        };
        QVERIFY(view(box(-99, -95, 38.5, 41), {}).contains(u"+lat_ts=40 +lon_0=-97 "_s));
        const EnteredBox typed{CoordinateType::LatLon, box(10, 30, -20, 0)};
        QVERIFY(view({}, typed).contains(u"+lat_ts=-10 +lon_0=20 "_s));
        QVERIFY(view({}, {}).contains(u"+lat_ts=0 +lon_0=0 "_s));
    }

    // One projection per grid definition: nested grids and the view drawn in them share one
    // object, which is how the map knows to skip the way through longitude and latitude.
    void projectionsMadeOnce()
    {
        const MapScene nested =
            buildScene({ProcessingMode::Merge, CoordinateType::None, {fine, coarse}, {}, {}});
        QCOMPARE(nested.grids.size(), std::size_t{2});
        QVERIFY(nested.view && nested.grids[0].projection == nested.view &&
                nested.grids[1].projection == nested.view);
        const MapScene apart =
            buildScene({ProcessingMode::Merge, CoordinateType::None, {dateLine, coarse}, {}, {}});
        QCOMPARE(apart.grids.size(), std::size_t{2});
        QVERIFY(apart.grids[0].projection == apart.view && apart.grids[1].projection &&
                apart.grids[1].projection != apart.view);
    }

    // A block of cells is drawn through the centres of its edge cells.
    void cellBoxOnGrid()
    {
        MapScene scene = buildScene(
            {ProcessingMode::Extract, CoordinateType::IJK, {coarse}, box(11, 20, 6, 15), {}});
        // The grid's own outline comes first.
        scene.shapes.erase(scene.shapes.begin());
        const Extent drawn = sceneBounds(scene);
        QVERIFY(near(drawn.west, -234, 1e-6) && near(drawn.east, -126, 1e-6));
        QVERIFY(near(drawn.south, -234, 1e-6) && near(drawn.north, -126, 1e-6));
    }

    // Every point of a file's outline lies on the rectangle it is in the view: grids across 180
    // degrees and around a pole in their own projection, an approximate box across 180 in a
    // plain view centred there (cs2cs, +proj=eqc +lat_ts=50 +lon_0=180).
    void drawnAsTheyAre_data()
    {
        columns<std::vector<InputFileInfo>, Extent>("inputs", "rectangle");
        InputFileInfo approximate = dateLine;
        approximate.grid = parseGridLine("PS 90 -105 60 60 -354 -294 12 60 50 23");
        addRow("across the 180th meridian", std::vector{dateLine}, Extent{-354, 354, -294, 294});
        addRow("around the north pole", std::vector{polar}, Extent{-1990, 1990, -1990, 1990});
        addRow("its limits across 180 only", std::vector{approximate},
               Extent{-385.422892, 385.422892, 5243.749569, 5861.750789});
    }
    void drawnAsTheyAre()
    {
        auto [inputs, rectangle] = fetchRow<std::vector<InputFileInfo>, Extent>();
        const MapScene scene =
            buildScene({ProcessingMode::Merge, CoordinateType::None, inputs, {}, {}});
        QCOMPARE(scene.shapes.size(), std::size_t{1});
        const Extent drawn = sceneBounds(scene);
        QVERIFY2(near(drawn.west, rectangle.west, 1e-3) && near(drawn.east, rectangle.east, 1e-3) &&
                     near(drawn.south, rectangle.south, 1e-3) &&
                     near(drawn.north, rectangle.north, 1e-3),
                 qPrintable(QString::asprintf("%g %g %g %g", drawn.west, drawn.east, drawn.south,
                                              drawn.north)));
        for (const MapPoint& p : scene.shapes.front().ring) {
            const double away =
                std::min({std::abs(p.x - rectangle.west), std::abs(p.x - rectangle.east),
                          std::abs(p.y - rectangle.south), std::abs(p.y - rectangle.north)});
            QVERIFY2(away < 1e-3, qPrintable(u"%1 %2"_s.arg(p.x).arg(p.y)));
        }
    }

    void shores_data()
    {
        columns<MapPoint, ShoreKind, double>("place", "kind", "within");
        addRow("Cape Hatteras on the coast", MapPoint{-75.53, 35.23}, ShoreKind::Coast, 0.03);
        addRow("Lake Okeechobee's shore", MapPoint{-80.83, 26.72}, ShoreKind::Lake, 0.15);
        addRow("the 49th parallel border", MapPoint{-100.0, 49.0}, ShoreKind::Border, 0.02);
    }
    void shores()
    {
        auto [place, kind, within] = fetchRow<MapPoint, ShoreKind, double>();
        ShoreLibrary shores;
        if (!shores.available(ShoreResolution::Intermediate))
            QSKIP("gmt-gshhg-low is not installed");
        double nearest = 1e9;
        const Extent around{place.x - 1, place.x + 1, place.y - 1, place.y + 1};
        for (const ShoreBin& bin : shores.binsIn(around, ShoreResolution::Intermediate)) {
            for (const ShoreLine& line : shores.lines(bin)) {
                for (std::size_t n = 0; n < line.points.size(); ++n) {
                    const MapPoint& p = line.points[n];
                    if (line.kind == kind)
                        nearest = std::min(nearest, std::hypot(p.x - place.x, p.y - place.y));
                    // Shores are traced in short steps; only borders run straight for degrees.
                    const MapPoint& before = line.points[n > 0 ? n - 1 : 0];
                    if (line.kind != ShoreKind::Border)
                        QVERIFY(std::hypot(p.x - before.x, p.y - before.y) < 1);
                }
            }
        }
        QVERIFY2(nearest < within, qPrintable(QString::number(nearest)));
    }

    void shoreBins()
    {
        // A map wider than 5000 km gets the crude shores, one wider than 2000 km the low ones.
        QVERIFY(resolutionForWidth(5000) == ShoreResolution::Low);
        QVERIFY(resolutionForWidth(5000.5) == ShoreResolution::Crude);
        QVERIFY(resolutionForWidth(2000) == ShoreResolution::Intermediate);
        ShoreLibrary missing("/nonexistent");
        QVERIFY(!missing.available(ShoreResolution::Intermediate) && missing.warning().empty());
        QVERIFY(missing.binsIn({-10, 10, -10, 10}, ShoreResolution::Crude).empty());
        ShoreLibrary shores;
        if (!shores.available(ShoreResolution::Crude))
            QSKIP("gmt-gshhg-low is not installed");
        // Crude bins are 20 degrees: 18 across, 9 down, each once however wide the box.
        QCOMPARE(shores.binsIn({-200, 200, -90, 90}, ShoreResolution::Crude).size(),
                 std::size_t{162});
        QCOMPARE(shores.binsIn({-75.5, -75.5, 35.2, 35.2}, ShoreResolution::Crude).size(),
                 std::size_t{1});
        // A bin is one bin whichever side of the 180th meridian a view asks from, and its
        // lines come west of Greenwich when it lies east of 180 degrees.
        const auto west = shores.binsIn({170, 190, 52, 58}, ShoreResolution::Crude);
        const auto east = shores.binsIn({-190, -170, 52, 58}, ShoreResolution::Crude);
        QCOMPARE(west.size(), std::size_t{2});
        QVERIFY(west == east);
        std::size_t points = 0;
        for (const ShoreLine& line : shores.lines(west[1])) {
            for (const MapPoint& p : line.points) {
                QVERIFY2(p.x >= -180 && p.x <= -160 && p.y >= 50 && p.y <= 70,
                         qPrintable(u"%1 %2"_s.arg(p.x).arg(p.y)));
                ++points;
            }
        }
        QVERIFY(points > 0);
    }

    // A shore file whose layout does not add up is dropped whole with a one-line warning,
    // whether that shows on opening or only when a bin is read; until then nothing is drawn
    // from it, and afterwards nothing more.
    void damagedShoreFile_data()
    {
        columns<QByteArray, int, int>("variable", "index", "value");
        addRow("bins of no size", QByteArray("Bin_size_in_minutes"), 0, 0);
        addRow("bins that do not tile the globe", QByteArray("Bin_size_in_minutes"), 0, 1000);
        addRow("no bins around the globe", QByteArray("N_bins_in_360_longitude_range"), 0, 0);
        addRow("rows not whole", QByteArray("N_bins_in_360_longitude_range"), 0, 17);
        addRow("fewer bins than the tables hold", QByteArray("N_bins_in_file"), 0, 18);
        addRow("a bin's segments past the table", QByteArray("Id_of_first_segment_in_a_bin"), 5,
               1 << 30);
        addRow("a segment's points past the table", QByteArray("Id_of_first_point_in_a_segment"), 0,
               1 << 30);
    }
    void damagedShoreFile()
    {
        auto [variable, index, value] = fetchRow<QByteArray, int, int>();
        const QString crude = u"/binned_GSHHS_c.nc"_s;
        QTemporaryDir folder;
        if (!QFile::copy(QString::fromStdString(defaultShoreFolder()) + crude,
                         folder.path() + crude))
            QSKIP("gmt-gshhg-low is not installed");
        QFile::setPermissions(folder.path() + crude, QFile::ReadOwner | QFile::WriteOwner);
        int file = 0;
        int id = 0;
        const auto at = static_cast<std::size_t>(index);
        QCOMPARE(nc_open(qPrintable(folder.path() + crude), NC_WRITE, &file), NC_NOERR);
        QCOMPARE(nc_inq_varid(file, variable.constData(), &id), NC_NOERR);
        QCOMPARE(nc_put_var1_int(file, id, &at, &value), NC_NOERR);
        QCOMPARE(nc_close(file), NC_NOERR);
        ShoreLibrary shores(folder.path().toStdString());
        std::optional<ShoreBin> readBeforeDamage;
        // A file damaged at its opening has no bins to read.
        for (const ShoreBin& bin : shores.binsIn({-180, 180, -90, 90}, ShoreResolution::Crude))
            if (!shores.lines(bin).empty() && !readBeforeDamage)
                readBeforeDamage = bin;
        QVERIFY(!shores.available(ShoreResolution::Crude) &&
                shores.binsIn({-180, 180, -90, 90}, ShoreResolution::Crude).empty());
        QVERIFY(!readBeforeDamage || shores.lines(*readBeforeDamage).empty());
        const QString warning = QString::fromStdString(shores.warning());
        QVERIFY2(warning.contains(folder.path() + crude) && !warning.contains(u'\n'),
                 qPrintable(warning));
    }

    // Steps of a bin's side from its south-west corner, the bin found from its index; a bin
    // east of 180 degrees given west of Greenwich. A file with a table of the wrong shape is
    // refused with a warning, never read past its tables.
    void generatedShoreFile_data()
    {
        columns<QString>("damage");
        for (const char* damage : {"", "a number held four times", "a bin table of two dimensions",
                                   "point tables of unequal lengths"})
            addRow(*damage ? damage : "none", damage);
    }
    void generatedShoreFile()
    {
        auto [damage] = fetchRow<QString>();
        QTemporaryDir folder;
        writeShoreFile(folder.filePath(u"binned_GSHHS_c.nc"_s), damage);
        ShoreLibrary shores(folder.path().toStdString());
        QCOMPARE(shores.available(ShoreResolution::Crude).has_value(), damage.isEmpty());
        QCOMPARE(shores.warning().empty(), damage.isEmpty());
        if (!damage.isEmpty())
            return;
        const auto bins = shores.binsIn({-100, -90, -10, 10}, ShoreResolution::Crude);
        QCOMPARE(bins.size(), std::size_t{1});
        QCOMPARE(bins[0].index, 10);
        const auto& lines = shores.lines(bins[0]);
        QCOMPARE(lines.size(), std::size_t{1});
        QCOMPARE(lines[0].kind, ShoreKind::Coast);
        QCOMPARE(lines[0].points.size(), std::size_t{2});
        QVERIFY(near(lines[0].points[0].x, -120, 1e-9) && near(lines[0].points[0].y, -30, 1e-9));
        QVERIFY(near(lines[0].points[1].x, -60, 1e-9) &&
                near(lines[0].points[1].y, -30 + 60 * 32768.0 / 65535, 1e-9));
    }

    // The unit of a limit's last written decimal, which bounds how far rounding took it.
    void lastDecimalUnits()
    {
        const std::pair<const char*, double> units[] = {{"37.198118", 1e-6},       {"-101", 1},
                                                        {"-1.01478396e+02", 1e-6}, {"4.5E-3", 1e-4},
                                                        {"1.5e+301", 1},           {"x", 0}};
        for (const auto& [written, unit] : units)
            QCOMPARE(lastDecimalUnit(written), unit);
    }

    // Lines fall on the multiples of a round step, cut finely enough to bend smoothly, and are
    // named with longitudes brought into -180..180.
    void graticuleLines_data()
    {
        columns<double, Extent, double, QString>("span", "area", "step", "labels");
        addRow("wider than the widest step", 1000.0, Extent{-45, 45, -45, 45}, 30.0,
               "30°W 0° 30°E 30°S 0° 30°N");
        addRow("a round step exactly", 50.0, Extent{-97.5, -87.5, 32.5, 42.5}, 5.0,
               "95°W 90°W 35°N 40°N");
        addRow("tenths across the date line", 0.5, Extent{179.85, 180.15, -0.35, -0.05}, 0.1,
               "179.9°E 180° 179.9°W 0.3°S 0.2°S 0.1°S");
    }
    void graticuleLines()
    {
        auto [span, area, step, labels] = fetchRow<double, Extent, double, QString>();
        QCOMPARE(graticuleStep(span, 10), step);
        QStringList placed;
        for (const GraticuleLine& line : graticule(area, step)) {
            placed << QString::fromStdString(degreeLabel(line.degrees, line.meridian));
            const MapPoint end = line.points.back(); // lines stop at the area's edge
            QVERIFY((line.meridian ? end.y - area.north : end.x - area.east) <= 1e-9);
            for (std::size_t n = 1; n < line.points.size(); ++n) {
                const MapPoint a = line.points[n - 1];
                const MapPoint b = line.points[n];
                QVERIFY(std::hypot(b.x - a.x, b.y - a.y) <= step / 10 * (1 + 1e-9));
            }
        }
        QCOMPARE(placed.join(u' '), labels);
    }

    void dragging_data()
    {
        columns<bool, QPointF, QPointF, QString>("longitudes", "anchor", "pointer", "box");
        addRow("pointer north-east", false, QPointF(10, 20), QPointF(30, 50), "10 30 20 50");
        addRow("pointer south-west: the edges swap", false, QPointF(10, 20), QPointF(-5, 0),
               "-5 10 0 20");
        addRow("across the date line eastward", true, QPointF(179, 50), QPointF(-179, 52),
               "179 181 50 52");
        addRow("across the date line westward", true, QPointF(-179, 50), QPointF(178, 48),
               "-182 -179 48 50");
        addRow("kilometres are not wrapped", false, QPointF(179, 50), QPointF(-179, 52),
               "-179 179 50 52");
    }
    void dragging()
    {
        auto [longitudes, anchor, pointer, box] = fetchRow<bool, QPointF, QPointF, QString>();
        const BoxDrag drag = newBoxDrag({anchor.x(), anchor.y()}, longitudes);
        QCOMPARE(text(dragTo(drag, {pointer.x(), pointer.y()})), box);
    }

    void resizingMovesOnlyTheGrabbedEdges()
    {
        const BoxDrag east{{0, 10, 0, 10}, {false, true, false, false}, false};
        QCOMPARE(text(dragTo(east, {25, 99})), u"0 25 0 10"_s);
        QCOMPARE(text(dragTo(east, {-4, 99})), u"-4 0 0 10"_s);
        const BoxDrag corner{{0, 10, 0, 10}, {true, false, true, false}, false};
        QCOMPARE(text(dragTo(corner, {3, 4})), u"3 10 4 10"_s);
    }

    void snapping_data()
    {
        columns<QString, QString>("km", "cells");
        // Cell i spans -360 + 12 (i - 1) to -348 + 12 (i - 1) km.
        addRow("exactly on cell edges", "-348 -336 -300 -288", "i 2-2 j 1-1");
        addRow("a little into the neighbours", "-348.1 -335.9 -294 -282.5", "i 1-3 j 1-2");
        addRow("inside one cell", "-340 -339 -285 -284", "i 2-2 j 2-2");
        addRow("beyond the file, clamped", "-1000 1000 -1e9 1e9", "i 1-60 j 1-50");
        addRow("wholly east of the file", "900 950 0 1", "i 60-60 j 26-26");
    }
    void snapping()
    {
        auto [km, cells] = fetchRow<QString, QString>();
        const QStringList v = km.split(u' ');
        const Extent box{v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble()};
        QCOMPARE(text(cellsCovering(grid, box, wholeFile)), cells);
    }

    // The corner's values beside the pointer while a box is drawn, in the box's own type: at
    // view (55, 38) of the 12 km grid's projection, which cs2cs puts at 40.350235°N 96.330597°W.
    void cornerValues()
    {
        const InputFileInfo file{
            1,          60,        1,
            50,         1,         23,
            37.198118,  42.730618, -101.478396,
            -92.521604, 12,        0,
            {},         {},        {},
            {},         {},        parseGridLine("LCC 40 -97 30 60 -354 -294 12 60 50 23")};
        for (const auto& [type, at, text] :
             {std::tuple{CoordinateType::XY, MapPoint{55, 38}, "X 55.0 km, Y 38.0 km"},
              {CoordinateType::IJK, MapPoint{55, 38}, "i 35, j 29"},
              {CoordinateType::LatLon, MapPoint{-96.330597, 40.350235}, "40.3502°N 96.3306°W"}}) {
            const MapScene scene = buildScene({ProcessingMode::Extract, type, {file}, {}, {}, 0});
            QCOMPARE(QString::fromStdString(BoxFrame(scene, type).cornerText(at)),
                     QString::fromUtf8(text));
        }
    }

    void cellUnderThePointer()
    {
        QCOMPARE(cellAt(grid, wholeFile, {-354, -294}), std::optional(std::pair(1, 1)));
        QCOMPARE(cellAt(grid, wholeFile, {55, 38}), std::optional(std::pair(35, 29)));
        QVERIFY(!cellAt(grid, wholeFile, {-361, 0}) && !cellAt(grid, {5, 5, 9, 9}, {-354, -294}));
    }

    void viewport()
    {
        MapViewport view(800, 600, {100, 50}, 2.0);
        QVERIFY(view.toPixels({100, 50}).x == 400.0 && view.toPixels({120, 30}).y == 310.0);
        QVERIFY(view.toKm({200, 100}).x == -300.0 && view.toKm({200, 100}).y == 450.0);
        // Zoom and pan are checked through the map window, where they keep the box in place.
        // A box with width but no height is nothing to fit: the whole earth is shown.
        for (const Extent& empty : {Extent{0, 500, 10, 10}, Extent{7, 7, 0, 500}}) {
            view.fit(empty);
            QVERIFY(view.kmPerPixel() > 40.0);
        }
        view.fit({-380, 420, -290, 310});
        QVERIFY(view.centre().x == 20.0 && view.centre().y == 10.0);
        QCOMPARE(view.kmPerPixel(), 600.0 / 540 * 1.08);
    }

    void pointerLine()
    {
        // A point with files is read through the map window; here the lines with none.
        QCOMPARE(QString::fromStdString(pointerText(std::nullopt, {-20000, 0.04}, {})),
                 u"X -20000.0 km, Y 0.0 km"_s);
        QCOMPARE(QString::fromStdString(geographicText({190, -0.5}, 2)), u"0.50°S 170.00°W"_s);
        QCOMPARE(QString::fromStdString(geographicText({0, 0}, 1)), u"0.0°N 0.0°E"_s);
        // The date line's label is the same from either side.
        for (const double lon : {-180.0, 180.0, 540.0})
            QCOMPARE(QString::fromStdString(degreeLabel(lon, true)), u"180°"_s);
    }
};

QTEST_MAIN(MapLogicTest)
#include "map_logic_test.moc"
