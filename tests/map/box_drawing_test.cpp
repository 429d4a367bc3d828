// Drawing a box on the map without a window: the drag, snapping to whole cells, the view's
// arithmetic and the status line's text.
#include "input/grid_line.h"
#include "map/box_drawing.h"
#include "map/graticule.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "map/pointer_readout.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"

using namespace gridloom;
using namespace gridloom::testing;

namespace {

// The 12 km grid of the map tests: cell (1, 1) centred at (-354, -294) km, cells 1-60, 1-50.
const GridDefinition grid{40, -97, 30, 60, -354, -294, 12, 60, 50};
const CellRange wholeFile{1, 1, 60, 50};

QString text(const Extent& box)
{
    return QStringLiteral("%1 %2 %3 %4").arg(box.west).arg(box.east).arg(box.south).arg(box.north);
}

QString text(const CellRange& cells)
{
    return QString::asprintf("i %d-%d j %d-%d", cells.i1, cells.i2, cells.j1, cells.j2);
}

} // namespace

class BoxDrawingTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        QCOMPARE(text(dragTo(east, {25, 99})), QStringLiteral("0 25 0 10"));
        QCOMPARE(text(dragTo(east, {-4, 99})), QStringLiteral("-4 0 0 10"));
        const BoxDrag corner{{0, 10, 0, 10}, {true, false, true, false}, false};
        QCOMPARE(text(dragTo(corner, {3, 4})), QStringLiteral("3 10 4 10"));
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
        const QStringList v = km.split(QLatin1Char(' '));
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
        QVERIFY(!cellAt(grid, wholeFile, {-361, 0}));
        QVERIFY(!cellAt(grid, CellRange{5, 5, 9, 9}, {-354, -294}));
    }

    void viewport()
    {
        MapViewport view(800, 600, {100, 50}, 2.0);
        QCOMPARE(view.toPixels({100, 50}).x, 400.0);
        QCOMPARE(view.toPixels({120, 30}).y, 310.0);
        QCOMPARE(view.toKm({200, 100}).x, -300.0);
        QCOMPARE(view.toKm({200, 100}).y, 450.0);
        // Zoom and pan are checked through the map window, where they keep the box in place.
        // A box with width but no height is nothing to fit: the whole earth is shown.
        for (const Extent& empty : {Extent{0, 500, 10, 10}, Extent{7, 7, 0, 500}}) {
            view.fit(empty);
            QVERIFY(view.kmPerPixel() > 40.0);
        }
        view.fit({-380, 420, -290, 310});
        QCOMPARE(view.centre().x, 20.0);
        QCOMPARE(view.centre().y, 10.0);
        QCOMPARE(view.kmPerPixel(), 600.0 / 540 * 1.08);
    }

    void pointerLine()
    {
        // A point with files is read through the map window; here the lines with none.
        QCOMPARE(QString::fromStdString(pointerText(std::nullopt, {-20000, 0.04}, {})),
                 QStringLiteral("X -20000.0 km, Y 0.0 km"));
        QCOMPARE(QString::fromStdString(geographicText({190, -0.5}, 2)),
                 QStringLiteral("0.50°S 170.00°W"));
        // The date line's label is the same from either side.
        for (const double lon : {-180.0, 180.0, 540.0})
            QCOMPARE(QString::fromStdString(degreeLabel(lon, true)), QStringLiteral("180°"));
    }
};

QTEST_MAIN(BoxDrawingTest)
#include "box_drawing_test.moc"
