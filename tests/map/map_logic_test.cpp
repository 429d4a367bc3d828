// The domain map's logic without a display: grid lines, PROJ, the consistency check, the scene,
// the graticule and the GSHHG reader.
#include "map/graticule.h"
#include "map/grid_definition.h"
#include "map/grid_outline.h"
#include "map/map_scene.h"
#include "map/projection.h"
#include "map/shoreline_library.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"

#include <cmath>
#include <netcdf.h>

using namespace gridloom;
using gridloom::testing::addRow;
using gridloom::testing::columns;
using gridloom::testing::fetchRow;

namespace {

// A 12 km grid and a 4 km grid nested in it, with extent lines whose limits cs2cs gave for
// the centres of their edge cells (+proj=lcc +lat_1=30 +lat_2=60 +lat_0=40 +lon_0=-97
// +R=6370000 +units=km, inverse).
const char* const coarseLine = "LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";
const char* const fineLine = "LCC 40.0000 -97.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23";
// Records of cells i 1-60, j 1-50, k 1-23: latitudes, longitudes, spacing, grid line.
const InputFileInfo coarse{1,           60,         1,  50, 1, 23, 37.198118, 42.730618,
                           -101.478396, -92.521604, 12, {}, 0, {}, coarseLine};
const InputFileInfo fine{1,          60,         1, 50, 1, 23, 38.873221, 40.704925,
                         -98.835971, -95.947253, 4, {}, 0, {}, fineLine};

DomainSelection box(double a, double b, double c, double d)
{
    return {{a, b, c, d, 1, 23}, true};
}

bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) < tolerance;
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
        addRow("a parallel past the pole", "LCC 40 -97 30 91 -354 -294 12 60 50 23", false);
        addRow("text for a number", "LCC 40 -97 30 60 west -294 12 60 50 23", false);
    }
    void gridLines()
    {
        auto [line, read] = fetchRow<QString, bool>("line", "read");
        QCOMPARE(parseGridLine(line.toStdString()).has_value(), read);
    }

    // The extent line's limits are cs2cs's centres of the grid's edge cells.
    void cellCentres()
    {
        const auto grid = parseGridLine(coarseLine);
        const auto projection = Projection::create(projectionDefinition(*grid));
        const auto c = cellCentreExtent(*grid, *projection, {1, 1, 60, 50});
        QVERIFY(c && near(c->west, coarse.lonStart, 1e-4) && near(c->east, coarse.lonEnd, 1e-4));
        QVERIFY(near(c->south, coarse.latStart, 1e-4) && near(c->north, coarse.latEnd, 1e-4));
    }

    void extentCheck_data()
    {
        columns<Extent, bool>("extent", "agrees");
        const Extent e{coarse.lonStart, coarse.lonEnd, coarse.latStart, coarse.latEnd};
        addRow("limits as cs2cs gave them", e, true);
        addRow("limits written with two decimals", Extent{-101.48, -92.52, 37.2, 42.73}, true);
        addRow("west and east the other way round", Extent{e.east, e.west, e.south, e.north}, true);
        addRow("longitudes from 0 to 360", Extent{e.west + 360, e.east + 360, e.south, e.north},
               true);
        addRow("shifted a cell east", Extent{e.west + 0.15, e.east + 0.15, e.south, e.north},
               false);
        addRow("shifted a cell north", Extent{e.west, e.east, e.south + 0.11, e.north + 0.11},
               false);
        addRow("north limit of the corners", Extent{e.west, e.east, e.south, 42.638533}, false);
    }
    void extentCheck()
    {
        auto [extent, agrees] = fetchRow<Extent, bool>("extent", "agrees");
        const auto grid = parseGridLine(coarseLine);
        const auto projection = Projection::create(projectionDefinition(*grid));
        QCOMPARE(agreesWithExtent(*grid, *projection, {1, 1, 60, 50}, extent), agrees);
        // A block without cells has no centres to agree with anything.
        QVERIFY(!agreesWithExtent(*grid, *projection, {1, 1, 0, 50}, extent));
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
        std::vector polar{coarse};
        polar[0].gridLineText = "PS 90 -105 60 60 -354 -294 12 60 50 23";
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
        addRow("unsupported projection", polar, Merge, None, none, 0,
               "its projection PS is not supported");
        addRow("X/Y box without a known projection", polar, Merge, XY, box(-50, 50, -50, 50), 0,
               "The output box is not drawn: X/Y kilometres need a listed file with a known grid");
        addRow("index box past a file's cells", inverted, Extract, IJK, box(1, 70, 1, 50), 2,
               "The output box reaches outside file 2's cells i 1-60, j 1-50");
        addRow("index box on the edge cells", inverted, Extract, IJK, box(1, 60, 1, 50), 0,
               confirmed);
    }
    void scene()
    {
        auto [inputs, mode, type, domain, problems, saying] =
            fetchRow<std::vector<InputFileInfo>, ProcessingMode, CoordinateType, DomainSelection,
                     int, QString>("inputs", "mode", "type", "domain", "problems", "saying");
        const MapScene scene = buildScene({mode, type, inputs, domain, std::nullopt});
        QString legend;
        int problemLines = 0;
        for (const LegendLine& line : scene.legend) {
            legend += QString::fromStdString(line.text) + QLatin1Char('\n');
            problemLines += line.style == LegendLine::Style::Problem ? 1 : 0;
        }
        QCOMPARE(problemLines, problems);
        QVERIFY2(legend.contains(saying), qPrintable(legend));
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
        QVERIFY(
            view(box(-99, -95, 38.5, 41), {}).contains(QLatin1String("+lat_ts=40 +lon_0=-97 ")));
        const EnteredBox typed{CoordinateType::LatLon, box(10, 30, -20, 0)};
        QVERIFY(view({}, typed).contains(QLatin1String("+lat_ts=-10 +lon_0=20 ")));
        QVERIFY(view({}, {}).contains(QLatin1String("+lat_ts=0 +lon_0=0 ")));
    }

    // A block of cells reaches half a cell past the centres of its edge cells.
    void cellBoxOnGrid()
    {
        MapScene scene = buildScene(
            {ProcessingMode::Extract, CoordinateType::IJK, {coarse}, box(11, 20, 6, 15), {}});
        // The grid's own outline comes first.
        scene.shapes.erase(scene.shapes.begin());
        const Extent drawn = sceneBounds(scene);
        QVERIFY(near(drawn.west, -240, 1e-6) && near(drawn.east, -120, 1e-6));
        QVERIFY(near(drawn.south, -240, 1e-6) && near(drawn.north, -120, 1e-6));
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
        auto [place, kind, within] =
            fetchRow<MapPoint, ShoreKind, double>("place", "kind", "within");
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
        QVERIFY(!missing.available(ShoreResolution::Intermediate));
        QVERIFY(missing.binsIn({-10, 10, -10, 10}, ShoreResolution::Crude).empty());
        ShoreLibrary shores;
        if (!shores.available(ShoreResolution::Crude))
            QSKIP("gmt-gshhg-low is not installed");
        // Crude bins are 20 degrees: 18 across, 9 down, each once however wide the box.
        QCOMPARE(shores.binsIn({-200, 200, -90, 90}, ShoreResolution::Crude).size(),
                 std::size_t{162});
        QCOMPARE(shores.binsIn({-75.5, -75.5, 35.2, 35.2}, ShoreResolution::Crude).size(),
                 std::size_t{1});
    }

    // A shore file whose bin table does not add up is refused as a whole, before any bin is
    // read through it.
    void damagedShoreFileRefused_data()
    {
        columns<QByteArray, int>("variable", "value");
        addRow("bins of no size", QByteArray("Bin_size_in_minutes"), 0);
        addRow("no bins around the globe", QByteArray("N_bins_in_360_longitude_range"), 0);
        addRow("rows not whole", QByteArray("N_bins_in_360_longitude_range"), 17);
        addRow("fewer bins than the tables hold", QByteArray("N_bins_in_file"), 18);
    }
    void damagedShoreFileRefused()
    {
        auto [variable, value] = fetchRow<QByteArray, int>("variable", "value");
        const QString crude = QStringLiteral("/binned_GSHHS_c.nc");
        QTemporaryDir folder;
        if (!QFile::copy(QString::fromStdString(defaultShoreFolder()) + crude,
                         folder.path() + crude))
            QSKIP("gmt-gshhg-low is not installed");
        int file = 0;
        int id = 0;
        QCOMPARE(nc_open(qPrintable(folder.path() + crude), NC_WRITE, &file), NC_NOERR);
        QCOMPARE(nc_inq_varid(file, variable.constData(), &id), NC_NOERR);
        QCOMPARE(nc_put_var_int(file, id, &value), NC_NOERR);
        QCOMPARE(nc_close(file), NC_NOERR);
        QVERIFY(!ShoreLibrary(folder.path().toStdString()).available(ShoreResolution::Crude));
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
        auto [span, area, step, labels] =
            fetchRow<double, Extent, double, QString>("span", "area", "step", "labels");
        QCOMPARE(graticuleStep(span, 10), step);
        QStringList placed;
        for (const GraticuleLine& line : graticule(area, step)) {
            placed << QString::fromStdString(degreeLabel(line.degrees, line.meridian));
            for (std::size_t n = 1; n < line.points.size(); ++n) {
                const MapPoint a = line.points[n - 1];
                const MapPoint b = line.points[n];
                QVERIFY(std::hypot(b.x - a.x, b.y - a.y) <= step / 10 * (1 + 1e-9));
            }
        }
        QCOMPARE(placed.join(QLatin1Char(' ')), labels);
    }
};

QTEST_APPLESS_MAIN(MapLogicTest)
#include "map_logic_test.moc"
