// The domain map's logic without a display: grid lines, PROJ, the consistency check, the scene
// and the GSHHG reader.
#include "map/graticule.h"
#include "map/grid_definition.h"
#include "map/grid_outline.h"
#include "map/map_scene.h"
#include "map/projection.h"
#include "map/shoreline_library.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(gridloom::Extent)
Q_DECLARE_METATYPE(gridloom::MapPoint)
Q_DECLARE_METATYPE(gridloom::DomainSelection)
Q_DECLARE_METATYPE(gridloom::ProcessingMode)
Q_DECLARE_METATYPE(gridloom::CoordinateType)
Q_DECLARE_METATYPE(gridloom::ShoreKind)
Q_DECLARE_METATYPE(std::vector<gridloom::MapInput>)

using namespace gridloom;

namespace {

// A 12 km grid and a 4 km grid nested in it, with extent lines whose limits cs2cs gave for
// the centres of their edge cells (+proj=lcc +lat_1=30 +lat_2=60 +lat_0=40 +lon_0=-97
// +R=6370000 +units=km, inverse).
MapInput coarse()
{
    return {"LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23",
            1,
            1,
            60,
            50,
            -101.478396,
            -92.521604,
            37.198118,
            42.730618,
            12.0};
}

MapInput fine()
{
    return {"LCC 40.0000 -97.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23",
            1,
            1,
            60,
            50,
            -98.835971,
            -95.947253,
            38.873221,
            40.704925,
            4.0};
}

Extent extentOf(const MapInput& input)
{
    return {input.lonStart, input.lonEnd, input.latStart, input.latEnd};
}

DomainSelection box(double a, double b, double c, double d)
{
    return {{a, b, c, d, 1, 23}, true};
}

// The smallest distance in degrees from a point to the points of the lines of one kind.
double nearestPoint(ShoreLibrary& shores, MapPoint at, ShoreKind kind)
{
    double nearest = 1e9;
    const Extent around{at.x - 1, at.x + 1, at.y - 1, at.y + 1};
    for (const ShoreBin& bin : shores.binsIn(around, ShoreResolution::Intermediate)) {
        for (const ShoreLine& line : shores.lines(bin)) {
            for (const MapPoint& p : line.points) {
                if (line.kind == kind)
                    nearest = std::min(nearest, std::hypot(p.x - at.x, p.y - at.y));
            }
        }
    }
    return nearest;
}

} // namespace

class MapLogicTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gridLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("read");
        QTest::newRow("LCC with its ten numbers")
            << QString::fromStdString(coarse().gridLine) << true;
        QTest::newRow("polar stereographic is not supported")
            << QStringLiteral("PS 90.0 -105.0 60.0 60.0 -354.0 -294.0 12.0 60 50 23") << false;
        QTest::newRow("a field missing")
            << QStringLiteral("LCC 40 -97 30 60 -354 -294 12 60 50") << false;
        QTest::newRow("no spacing")
            << QStringLiteral("LCC 40 -97 30 60 -354 -294 0 60 50 23") << false;
        QTest::newRow("parallels on both sides of the equator")
            << QStringLiteral("LCC 40 -97 -30 60 -354 -294 12 60 50 23") << false;
        QTest::newRow("text for a number")
            << QStringLiteral("LCC 40 -97 30 60 west -294 12 60 50 23") << false;
    }
    void gridLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, read);
        const auto grid = parseGridLine(line.toStdString());
        QCOMPARE(grid.has_value(), read);
        if (read)
            QVERIFY(grid->spacingKm == 12.0 && grid->nx == 60 && grid->ny == 50);
    }

    void cellCentres_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        // From cs2cs with the projection named above.
        QTest::newRow("south-west cell") << 1 << 1 << -101.098043 << 37.198118;
        QTest::newRow("south-east cell") << 60 << 1 << -92.901957 << 37.198118;
        QTest::newRow("north-west cell") << 1 << 50 << -101.478396 << 42.638533;
        QTest::newRow("north-east cell") << 60 << 50 << -92.521604 << 42.638533;
        QTest::newRow("inner cell") << 30 << 25 << -97.072542 << 39.944356;
    }
    void cellCentres()
    {
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(double, lon);
        QFETCH(double, lat);
        const auto grid = parseGridLine(coarse().gridLine);
        const auto projection = Projection::create(projectionDefinition(*grid));
        QVERIFY(projection);
        const auto centre = projection->inverse({cellCentreX(*grid, i), cellCentreY(*grid, j)});
        QVERIFY(centre);
        QVERIFY2(std::abs(centre->x - lon) < 1e-4 && std::abs(centre->y - lat) < 1e-4,
                 qPrintable(
                     QStringLiteral("%1 %2").arg(centre->x, 0, 'f', 6).arg(centre->y, 0, 'f', 6)));
    }

    void extentCheck_data()
    {
        QTest::addColumn<Extent>("extent");
        QTest::addColumn<int>("lastI");
        QTest::addColumn<bool>("agrees");
        const Extent exact = extentOf(coarse());
        QTest::newRow("limits as cs2cs gave them") << exact << 60 << true;
        QTest::newRow("no cells: i ends before it starts") << exact << 0 << false;
        QTest::newRow("limits written with two decimals")
            << Extent{-101.48, -92.52, 37.2, 42.73} << 60 << true;
        QTest::newRow("west and east written the other way round")
            << Extent{exact.east, exact.west, exact.south, exact.north} << 60 << true;
        QTest::newRow("shifted a cell east")
            << Extent{exact.west + 0.15, exact.east + 0.15, exact.south, exact.north} << 60
            << false;
        QTest::newRow("shifted a cell north")
            << Extent{exact.west, exact.east, exact.south + 0.11, exact.north + 0.11} << 60
            << false;
        QTest::newRow("north limit of the corners, not of the top edge")
            << Extent{exact.west, exact.east, exact.south, 42.638533} << 60 << false;
        QTest::newRow("the fixture's made-up limits")
            << Extent{-120.5, -95, 25.25, 50} << 60 << false;
    }
    void extentCheck()
    {
        QFETCH(Extent, extent);
        QFETCH(int, lastI);
        QFETCH(bool, agrees);
        const auto grid = parseGridLine(coarse().gridLine);
        const auto projection = Projection::create(projectionDefinition(*grid));
        QCOMPARE(agreesWithExtent(*grid, *projection, {1, 1, lastI, 50}, extent), agrees);
    }

    void scene_data()
    {
        QTest::addColumn<std::vector<MapInput>>("inputs");
        QTest::addColumn<ProcessingMode>("mode");
        QTest::addColumn<CoordinateType>("type");
        QTest::addColumn<DomainSelection>("domain");
        QTest::addColumn<int>("problems");
        QTest::addColumn<QString>("saying");

        MapInput madeUp = coarse();
        madeUp.lonStart = -120.5;
        MapInput polar = coarse();
        polar.gridLine = "PS 90 -105 60 60 -354 -294 12 60 50 23";
        const auto merge = ProcessingMode::Merge;
        const auto extract = ProcessingMode::Extract;
        const auto latLon = CoordinateType::LatLon;
        const auto none = DomainSelection{};
        QTest::newRow("nested files, box inside the coarse one")
            << std::vector{fine(), coarse()} << merge << latLon << box(-99, -95, 38.5, 41) << 0
            << QStringLiteral("Output domain (confirmed)");
        QTest::newRow("finer file listed after the coarser")
            << std::vector{coarse(), fine()} << merge << latLon << none << 1
            << QStringLiteral("File 1 (12 km) does not lie inside file 2 (4 km)");
        QTest::newRow("box reaching past the coarsest file")
            << std::vector{fine(), coarse()} << merge << latLon << box(-105, -95, 38, 41) << 1
            << QStringLiteral("The output box reaches outside file 2, the coarsest");
        QTest::newRow("extent not matching the grid")
            << std::vector{madeUp} << merge << latLon << none << 0
            << QStringLiteral("approximate, drawn as its longitude/latitude box: its grid line "
                              "does not match its extent line");
        QTest::newRow("unsupported projection")
            << std::vector{polar} << merge << latLon << none << 0
            << QStringLiteral("its projection PS is not supported");
        QTest::newRow("X/Y box without a known projection")
            << std::vector{polar} << merge << CoordinateType::XY << box(-50, 50, -50, 50) << 0
            << QStringLiteral("The output box is not drawn: X/Y kilometres need a listed file "
                              "with a known grid projection");
        QTest::newRow("index box past a file's cells")
            << std::vector{coarse(), fine()} << extract << CoordinateType::IJK << box(1, 70, 1, 50)
            << 2 << QStringLiteral("The output box reaches outside file 2's cells i 1-60, j 1-50");
        QTest::newRow("index box within every file")
            << std::vector{coarse(), fine()} << extract << CoordinateType::IJK << box(2, 40, 1, 50)
            << 0 << QStringLiteral("Output domain (confirmed)");
    }
    void scene()
    {
        QFETCH(std::vector<MapInput>, inputs);
        QFETCH(ProcessingMode, mode);
        QFETCH(CoordinateType, type);
        QFETCH(DomainSelection, domain);
        QFETCH(int, problems);
        QFETCH(QString, saying);
        const MapScene scene = buildScene({mode, type, inputs, domain, std::nullopt});
        QStringList legend;
        int problemLines = 0;
        for (const LegendLine& line : scene.legend) {
            legend << QString::fromStdString(line.text);
            problemLines += line.style == LegendLine::Style::Problem ? 1 : 0;
        }
        QCOMPARE(problemLines, problems);
        QVERIFY2(legend.join(QLatin1Char('\n')).contains(saying),
                 qPrintable(legend.join(QLatin1Char('\n'))));
        const bool anyProblemShape = std::any_of(scene.shapes.begin(), scene.shapes.end(),
                                                 [](const SceneShape& s) { return s.problem; });
        QCOMPARE(anyProblemShape, problems > 0);
    }

    // Boxes of the grid's own kind land on its kilometres: X/Y as given, cells by their edges.
    void boxOnGrid_data()
    {
        QTest::addColumn<CoordinateType>("type");
        QTest::addColumn<DomainSelection>("domain");
        QTest::addColumn<Extent>("expected");
        QTest::newRow("X/Y kilometres")
            << CoordinateType::XY << box(-100, 120, -50, 80) << Extent{-100, 120, -50, 80};
        QTest::newRow("cells i 11-20, j 6-15")
            << CoordinateType::IJK << box(11, 20, 6, 15) << Extent{-240, -120, -240, -120};
    }
    void boxOnGrid()
    {
        QFETCH(CoordinateType, type);
        QFETCH(DomainSelection, domain);
        QFETCH(Extent, expected);
        MapScene scene = buildScene({ProcessingMode::Extract, type, {coarse()}, domain, {}});
        QVERIFY(!scene.geographicView);
        QCOMPARE(scene.shapes.size(), std::size_t{2});
        scene.shapes.erase(scene.shapes.begin());
        const Extent drawn = sceneBounds(scene);
        QVERIFY(std::abs(drawn.west - expected.west) < 1e-6 &&
                std::abs(drawn.east - expected.east) < 1e-6);
        QVERIFY(std::abs(drawn.south - expected.south) < 1e-6 &&
                std::abs(drawn.north - expected.north) < 1e-6);
    }

    void shores_data()
    {
        QTest::addColumn<MapPoint>("place");
        QTest::addColumn<ShoreKind>("kind");
        QTest::addColumn<double>("within");
        QTest::newRow("Cape Hatteras on the coast")
            << MapPoint{-75.53, 35.23} << ShoreKind::Coast << 0.03;
        QTest::newRow("Lake Okeechobee's shore")
            << MapPoint{-80.83, 26.72} << ShoreKind::Lake << 0.15;
        QTest::newRow("the 49th parallel border")
            << MapPoint{-100.0, 49.0} << ShoreKind::Border << 0.02;
        QTest::newRow("open Atlantic, no coast near")
            << MapPoint{-40.0, 30.0} << ShoreKind::Coast << -1.0;
    }
    void shores()
    {
        QFETCH(MapPoint, place);
        QFETCH(ShoreKind, kind);
        QFETCH(double, within);
        ShoreLibrary shores;
        if (!shores.available(ShoreResolution::Intermediate))
            QSKIP("gmt-gshhg-low is not installed");
        const double nearest = nearestPoint(shores, place, kind);
        if (within < 0)
            QVERIFY2(nearest > 1.0, qPrintable(QString::number(nearest)));
        else
            QVERIFY2(nearest < within, qPrintable(QString::number(nearest)));
    }

    void wholeWorldBinsOnce()
    {
        ShoreLibrary shores;
        if (!shores.available(ShoreResolution::Crude))
            QSKIP("gmt-gshhg-low is not installed");
        // Crude bins are 20 degrees: 18 across, 9 down, each once however wide the box.
        QCOMPARE(shores.binsIn({-200, 200, -90, 90}, ShoreResolution::Crude).size(),
                 std::size_t{162});
    }

    void degreeLabels_data()
    {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<bool>("meridian");
        QTest::addColumn<QString>("label");
        QTest::newRow("west") << -97.0 << true << QStringLiteral("97°W");
        QTest::newRow("east past the date line") << 263.0 << true << QStringLiteral("97°W");
        QTest::newRow("Greenwich") << 0.0 << true << QStringLiteral("0°");
        QTest::newRow("date line") << 180.0 << true << QStringLiteral("180°");
        QTest::newRow("south, summed in tenths") << -0.1 * 3 << false << QStringLiteral("0.3°S");
        QTest::newRow("equator") << 0.0 << false << QStringLiteral("0°");
    }
    void degreeLabels()
    {
        QFETCH(double, degrees);
        QFETCH(bool, meridian);
        QFETCH(QString, label);
        QCOMPARE(QString::fromStdString(degreeLabel(degrees, meridian)), label);
    }

    void missingShoreFiles()
    {
        ShoreLibrary shores("/nonexistent");
        QVERIFY(!shores.available(ShoreResolution::Intermediate));
        QVERIFY(shores.binsIn({-10, 10, -10, 10}, ShoreResolution::Crude).empty());
    }
};

QTEST_APPLESS_MAIN(MapLogicTest)
#include "map_logic_test.moc"
