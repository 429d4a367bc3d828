// The domain map's window: the module the program loads, following the job through the real
// main window, drawing the box where it belongs, zoom, pan and fit, and pictures.
#include "app/domain_map_loader.h"
#include "app/main_window.h"
#include "common/palette.h"
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/header_reader.h"
#include "input/input_list_controller.h"
#include "map/map_canvas.h"
#include "map/map_renderer.h"
#include "map/map_window.h"
#include "support/data_rows.h"
#include "support/operate.h"
#include "support/qt_test_prelude.h"
#include "support/test_platform.h"

#include <QFile>
#include <limits>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

namespace {

// The 12 km grid of the map's logic tests, with the limits cs2cs gave for its edge cells.
const char* const coarseLine = "LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";
// The outlines in drawing order: i an input file, c the output box, e the box being entered;
// in capitals when the legend names them in a problem.
QString outlines(const MapScene& scene)
{
    QString letters;
    for (const SceneShape& shape : scene.shapes)
        letters += QLatin1Char((shape.problem ? "ICE" : "ice")[static_cast<int>(shape.role)]);
    return letters;
}

// A 10 km grid in a projection of its own, east of the 12 km one; its extent line holds what
// cs2cs gave for the centres of its edge cells (+proj=lcc +lat_0=42 +lon_0=-94 +lat_1=33
// +lat_2=45 +R=6370000 +units=km, inverse).
const char* const eastLine = "LCC 42.0000 -94.0000 33.00 45.00 -250.000 -200.000 10.000 50 40 23";

const std::array<std::string, 10> coarseExtent{
    "1", "1", "60", "50", "1", "23", "-101.478396", "-92.521604", "37.198118", "42.730618"};
// Its record as the header reader makes it: cells i 1-60, j 1-50, k 1-23.
const InputFileInfo coarse =
    parseHeader(fixtures::headerText({.gridLine = coarseLine, .extent = coarseExtent}),
                "coarse.m3d")
        .value();

QString writeInput(const QTemporaryDir& folder, const char* name, const char* gridLine,
                   const std::array<std::string, 10>& extent, double spacing)
{
    const QString path = folder.filePath(QLatin1String(name));
    fixtures::writeFixture(path.toStdString(),
                           {.gridSpacingKm = spacing, .gridLine = gridLine, .extent = extent});
    return path;
}

// The main window's map, opened from its menu item.
MapWindow* openMap(MainWindow& window)
{
    window.setDomainMapFactory([](QWidget* parent) { return new MapWindow(parent); });
    window.findChild<QAction*>(u"DomainMapItem"_s)->trigger();
    return qobject_cast<MapWindow*>(window.domainMap()->window());
}

// Puts a map window on the screen, at the size most tests draw in.
void showMap(MapWindow& map, QSize size = {820, 620})
{
    map.resize(size);
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
}

void drag(MapCanvas& canvas, QPoint from, QPoint to,
          Qt::KeyboardModifiers modifiers = Qt::ShiftModifier)
{
    QTest::mousePress(&canvas, Qt::LeftButton, modifiers, from);
    QTest::mouseMove(&canvas, (from + to) / 2);
    QTest::mouseMove(&canvas, to);
    QTest::mouseRelease(&canvas, Qt::LeftButton, modifiers, to);
}

// An extraction of the 12 km file (which gives the map its projection) and the 10 km file,
// whose limits the main window shows, with the map open at 1 km a pixel and pixel (0, 0) at
// view kilometres (-400, 300).
struct DrawingJob {
    QTemporaryDir folder;
    FakeServices fakes;
    MainWindow window{fakes.services()};
    MapWindow* map = nullptr;

    explicit DrawingJob(const char* coordinateOption)
    {
        window.findChild<QRadioButton*>(u"MergingOptionButton1"_s)->setChecked(true);
        const std::array<std::string, 10> eastExtent{
            "1", "1", "50", "40", "1", "23", "-97.116560", "-91.008010", "40.155560", "43.714541"};
        window.inputList().addPaths({writeInput(folder, "coarse.m3d", coarseLine, coarseExtent, 12),
                                     writeInput(folder, "east.m3d", eastLine, eastExtent, 10)});
        if (coordinateOption)
            window.findChild<QRadioButton*>(QLatin1String(coordinateOption))->setChecked(true);
        map = openMap(window);
        map->resize(900, 700);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QCoreApplication::processEvents();
        MapCanvas& canvas = map->canvas();
        canvas.showView({-400 + canvas.width() / 2.0, 300 - canvas.height() / 2.0}, 1.0);
    }
    MapCanvas& canvas() const { return map->canvas(); }
    CoordinateDialog* dialog() const { return window.coordinateDialogs().dialog(); }
    /// "name=text" with the named field's text, to compare with an expected one.
    QString actual(const QString& expected) const
    {
        const QString name = expected.section(u'=', 0, 0);
        if (auto* edit = dialog()->findChild<QLineEdit*>(name))
            return name + u'=' + edit->text();
        return name + u'=' + dialog()->findChild<QComboBox*>(name)->currentText();
    }
};

// The drawn box: from view kilometres (60, 40) to (260, 240).
const QPoint drawFrom(460, 260);
const QPoint drawTo(660, 60);

// How far apart two colours are, summed over the channels.
int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// How many pixels of `area` are near `colour`.
int pixelsNear(const QImage& image, const QRect& area, QColor colour)
{
    int near = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            near += distance(image.pixelColor(x, y), colour) < 40;
    return near;
}

bool dark(const QImage& image, QPointF at)
{
    // The box is stroked 2.4 pixels wide; look within a pixel of where its edge must be.
    for (int dy = -1; dy <= 1; ++dy) {
        const QColor c = image.pixelColor(qRound(at.x()), qRound(at.y()) + dy);
        if (c.red() < 80 && c.green() < 80 && c.blue() < 80)
            return true;
    }
    return false;
}

} // namespace

class MapWindowTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void moduleLoadsOrSaysWhy()
    {
        QWidget owner;
        // What the program opens: the map from its folder, and from an empty one the notice,
        // whichever folder was asked first.
        const QString empty = QTemporaryDir().path();
        const auto kind = [&owner](const QString& folder) {
            return QString::fromLatin1(
                createDomainMap(&owner, folder)->window()->metaObject()->className());
        };
        QCOMPARE(kind(empty), u"QLabel"_s);
        QCOMPARE(kind(QStringLiteral(GRIDLOOM_MAP_MODULE_DIR)), u"gridloom::MapWindow"_s);
        // Modules from other builds end the program if their creating function is called: a
        // notice in the map's place means the version was asked first.
        const QString other =
            u"interface version %1, this program needs %2"_s.arg(domainMapInterfaceVersion + 1)
                .arg(domainMapInterfaceVersion);
        for (const auto& [folder, why] :
             {std::pair(u"/other_version"_s, other),
              std::pair(u"/unversioned"_s, u"it gives no interface version"_s)}) {
            const QString path = QStringLiteral(GRIDLOOM_STAND_IN_MAP_DIR) + folder;
            const QString notice = u"it is from another build of Gridloom ("_s + why + u')';
            QCOMPARE(loadDomainMapModule(path).error, notice);
            auto* shown = qobject_cast<QLabel*>(createDomainMap(&owner, path)->window());
            QCOMPARE(shown->text(), u"The map module could not be loaded: "_s + notice);
        }
    }

    void mapFollowsTheJob()
    {
        QTemporaryDir folder;
        const QString file = writeInput(folder, "coarse.m3d", coarseLine, coarseExtent, 12);
        FakeServices fakes;
        MainWindow window(fakes.services());
        auto* item = window.findChild<QAction*>(u"DomainMapItem"_s);
        QCOMPARE(qobject_cast<QMenu*>(item->parent())->title(), u"View"_s);
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        auto* map = openMap(window);
        QVERIFY(map && map->isVisible() && map->isWindow() &&
                map->windowModality() == Qt::NonModal);
        const MapScene& scene = map->canvas().scene();
        // Before any file is listed in Merge mode no coordinate type is selected to draw with.
        QVERIFY(QTest::qWaitForWindowExposed(map));
        drag(map->canvas(), QPoint(100, 100), QPoint(200, 150));
        QCOMPARE(fakes.messages.shown, QStringList{u"job: Select a type of coordinnate first"_s});
        QVERIFY(!window.coordinateDialogs().dialog());

        window.inputList().addPaths({file});
        QCOMPARE(outlines(scene), u"i"_s);
        QVERIFY(!scene.shapes[0].approximate);

        window.findChild<QPushButton*>(u"Command1"_s)->click();
        auto* dialog = window.coordinateDialogs().dialog();
        operate(*dialog, {u"cboLonLL1=W"_s, u"cboLonLL2=W"_s, u"txtLon1=98"_s, u"txtLon2=96"_s,
                          u"txtLat1=39"_s, u"txtLat2=40"_s});
        QCOMPARE(outlines(scene), u"ie"_s);
        dialog->findChild<QPushButton*>(u"OkButton"_s)->click();
        QCOMPARE(outlines(scene), u"ic"_s);

        // Extract reads the stored bounds as cell indices, which no file has.
        window.findChild<QRadioButton*>(u"MergingOptionButton1"_s)->setChecked(true);
        QCOMPARE(outlines(scene), u"iC"_s);
        window.findChild<QPushButton*>(u"ClearAllFileButton"_s)->click();
        QCOMPARE(outlines(scene), QString());
    }

    void outputBoxWhereItBelongsThroughZoomPanAndFits()
    {
        MapWindow map;
        showMap(map);
        const DomainSelection box{{-120, 120, -60, 90, 1, 23}, true};
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse}, box, {}});
        MapCanvas& canvas = map.canvas();
        const QImage image = canvas.grab().toImage();
        QCOMPARE(canvas.drawnResolution().value_or(ShoreResolution::Crude),
                 ShoreResolution::Intermediate);
        const QPointF northWest = canvas.toPixels({-120, 90});
        const QPointF southEast = canvas.toPixels({120, -60});
        const double x = (northWest.x() + southEast.x()) / 2;
        for (double along = northWest.x() + 4; along < southEast.x() - 4; ++along) // no dashes
            QVERIFY2(dark(image, {along, northWest.y()}), "a confirmed box's top edge");
        QVERIFY2(dark(image, {x, southEast.y()}), "bottom edge");
        QVERIFY2(!dark(image, {x, northWest.y() - 12}), "above the box");
        QVERIFY2(!dark(image, {x, (northWest.y() + southEast.y()) / 2}), "inside the box");
        // Input files are shaded.
        const QColor outside = image.pixelColor(canvas.toPixels({-380, -200}).toPoint());
        int shaded = 0;
        for (const MapPoint& km : {MapPoint{200, 200}, MapPoint{-250, -200}, MapPoint{250, -220}})
            shaded += image.pixelColor(canvas.toPixels(km).toPoint()) != outside ? 1 : 0;
        QVERIFY(shaded >= 2);

        canvas.zoomAt(northWest, 2.0);
        QCOMPARE(canvas.toPixels({-120, 90}), northWest);
        QCOMPARE(canvas.toPixels({120, -60}), northWest + 2 * (southEast - northWest));
        canvas.panBy(QPointF(30, -20));
        QCOMPARE(canvas.toPixels({-120, 90}), northWest + QPointF(30, -20));
        map.findChild<QAction*>(u"FitAction"_s)->trigger();
        QCOMPARE(canvas.toPixels({120, -60}), southEast);
        // A second file and a wide box: fitted again, the box now in view; once the user zooms,
        // files coming and going leave the view alone.
        const double fileScale = canvas.viewport().kmPerPixel();
        const DomainSelection wide{{-900, 900, -100, 100, 1, 23}, true};
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse, coarse}, wide, {}});
        QVERIFY(canvas.viewport().kmPerPixel() > fileScale * 1.5);
        QVERIFY(canvas.toPixels({900, 0}).x() < canvas.width());
        canvas.zoomAt(QPointF(100, 100), 1.5);
        const QPointF zoomed = canvas.toPixels({0, 0});
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse}, {}, {}});
        QCOMPARE(canvas.toPixels({0, 0}), zoomed);
        // A pan sideways alone takes the files' shade along.
        const QPoint fileMiddle = canvas.toPixels({0, 0}).toPoint();
        const QColor shade = canvas.grab().toImage().pixelColor(fileMiddle);
        canvas.panBy(QPointF(canvas.width(), 0));
        QVERIFY(canvas.grab().toImage().pixelColor(fileMiddle) != shade);
    }

    // The words a map without shores says: which package gives them, or which file is damaged.
    void saysWhyShoresAreMissing_data()
    {
        columns<QByteArray, QString>("damagedFile", "said");
        addRow("no shore file", QByteArray(),
               u"No coastline file in %1: install the package gmt-gshhg-low"_s);
        addRow("a coastline file of other bytes", QByteArray("CDF\x01 not really"),
               u"Shores left out: %1/binned_GSHHS_c.nc is damaged (it is not a "
               "netCDF file netCDF can read)"_s);
    }
    void saysWhyShoresAreMissing()
    {
        const auto [damagedFile, said] = fetchRow<QByteArray, QString>();
        QTemporaryDir folder;
        if (!damagedFile.isEmpty()) {
            QFile file(folder.filePath(u"binned_GSHHS_c.nc"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damagedFile) > 0);
        }
        MapCanvas canvas(nullptr, folder.path().toStdString());
        canvas.resize(400, 300);
        canvas.grab();
        QVERIFY(!canvas.drawnResolution());
        const QString legend = canvas.renderer().legendText();
        QVERIFY2(legend.contains(said.arg(folder.path())), qPrintable(legend));
    }

    // The expected texts come from cs2cs: the corners' longitudes and latitudes in the view's
    // projection, and their kilometres in the 10 km file's projection (-191.215902,
    // -178.145753 and 21.577899, 19.869283), which lie in its cells i 7 and 28, j 3 and 23.
    void drawnBoxFillsTheDialog_data()
    {
        columns<QString, QString>("option", "fields");
        addRow("lat/lon", "LatLonOption",
               "txtLon1=96.269524 cboLonLL1=W txtLat1=40.368380 cboLatLL1=N txtLon2=93.737039 "
               "cboLonLL2=W txtLat2=42.179169 cboLatLL2=N txtLonD1=96 txtLonM1=16 txtLonS1=10.29 "
               "txtLatD2=42 txtLatM2=10 txtLatS2=45.01");
        addRow("x/y", "XYOption", "TextXStart=-192 TextXEnd=22 TextYStart=-179 TextYEnd=20");
        addRow("i,j,k", "ijkOption",
               "TextIndexiStart=7 TextIndexiEnd=28 TextIndexjStart=3 TextIndexjEnd=23 "
               "TextIndexkStart=0 TextIndexkEnd=0");
    }
    void drawnBoxFillsTheDialog()
    {
        auto [option, fields] = fetchRow<QString, QString>();
        DrawingJob job(qPrintable(option));
        drag(job.canvas(), drawFrom, drawTo);
        QVERIFY(job.dialog() && job.dialog()->isVisible());
        QCOMPARE(job.dialog()->windowModality(), Qt::ApplicationModal);
        for (const QString& expected : fields.split(u' '))
            QCOMPARE(job.actual(expected), expected);
        QCOMPARE(job.fakes.messages.shown, QStringList());
        // Cancel leaves the domain as it was: the map never stores a box.
        QTest::mouseClick(job.dialog()->findChild<QPushButton*>(u"CancelButton"_s), Qt::LeftButton);
        QVERIFY(!job.window.domain().domainValid);
    }

    void statusLineAndDragsThatDrawNothing()
    {
        DrawingJob job("XYOption");
        QLabel* status = job.map->findChild<QLabel*>(u"MapPointer"_s);
        // View (55, 38), which cs2cs puts at 40.350235°N 96.330597°W and at (-196.41, -180.02)
        // km of the 10 km file: cell i 35, j 29 of the 12 km file (centre 54, 42), cell i 6,
        // j 3 of the 10 km one (centre -200, -180).
        QTest::mouseMove(&job.canvas(), QPoint(455, 262));
        QCOMPARE(status->text(), u"40.3502°N 96.3306°W   X 55.0 km, Y 38.0 km   file 1: i 35, j 29"
                                 "   file 2: i 6, j 3"_s);
        QTest::mousePress(&job.canvas(), Qt::LeftButton, Qt::ShiftModifier, drawFrom);
        QTest::mouseMove(&job.canvas(), drawTo);
        QVERIFY(job.canvas().drawingBox());
        // The box being drawn is outlined in its own colour, from the corner where it began.
        const QImage drawing = job.canvas().grab().toImage();
        for (int d = 1; d <= 3; ++d)
            QVERIFY(distance(drawing.pixelColor(drawFrom + QPoint(d, 0)), drawnBox) < 48);
        QTest::keyClick(&job.canvas(), Qt::Key_A); // only Esc abandons the drag
        QVERIFY(job.canvas().drawingBox());
        QTest::keyClick(&job.canvas(), Qt::Key_Escape);
        QTest::mouseRelease(&job.canvas(), Qt::LeftButton, Qt::ShiftModifier, drawTo);
        QVERIFY(!job.dialog());
        // Without Shift a drag pans.
        const QPointF before = job.canvas().toPixels({0, 0});
        drag(job.canvas(), drawFrom, drawTo, Qt::NoModifier);
        QVERIFY(!job.dialog());
        QCOMPARE(job.canvas().toPixels({0, 0}), before + QPointF(drawTo - drawFrom));
    }

    // The confirmed box's east edge, at 100 km of the 10 km file, lies at view kilometres
    // (336.87, 223.65); dragged from there to view (367, 224), which cs2cs puts at 130.99 km.
    void confirmedBoxResizedByItsEdge()
    {
        DrawingJob job("XYOption");
        job.window.findChild<QPushButton*>(u"Command1"_s)->click();
        operate(*job.dialog(), {u"TextXStart=-100"_s, u"TextXEnd=100"_s, u"TextYStart=-50"_s,
                                u"TextYEnd=50"_s, u"OkButton"_s});
        QVERIFY(job.window.domain().domainValid && !job.dialog()->isVisible());
        // The pointer shows what a press takes hold of: a side, a corner, or nothing inside.
        const Polyline& ring = job.canvas().scene().shapes.back().ring; // from the north-west
        const std::size_t side = (ring.size() - 1) / 4;
        const MapPoint middle{(ring[0].x + ring[2 * side].x) / 2,
                              (ring[0].y + ring[2 * side].y) / 2};
        for (const auto& [at, shape] : {std::pair{ring[side / 2], Qt::SizeVerCursor},
                                        {ring[side * 3 / 2], Qt::SizeHorCursor},
                                        {ring[0], Qt::SizeFDiagCursor},
                                        {ring[side], Qt::SizeBDiagCursor},
                                        {middle, Qt::ArrowCursor}}) {
            QTest::mouseMove(&job.canvas(), job.canvas().toPixels(at).toPoint());
            QCOMPARE(job.canvas().cursor().shape(), shape);
        }
        drag(job.canvas(), QPoint(737, 76), QPoint(767, 76), Qt::NoModifier);
        QVERIFY(job.dialog()->isVisible());
        for (const QString& expected :
             u"TextXStart=-100 TextXEnd=131 TextYStart=-50 TextYEnd=50"_s.split(u' '))
            QCOMPARE(job.actual(expected), expected);
        QTest::mouseClick(job.dialog()->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
        QCOMPARE(job.window.domain().bounds[1], 131.0);
    }

    // A new user's merge of three nested grids of one projection (4, 12 and 36 km): the box is
    // drawn from view kilometres (60, 40) to (260, 240), whose corners cs2cs gives as
    // 96.269524°W 40.368380°N and 93.737039°W 42.179169°N, and the control file carries them.
    void boxDrawnOnTheMapIsWhatRunWrites()
    {
        QTemporaryDir folder;
        FakeServices fakes;
        // The console is a stand-in that records the start; the processor need only be there.
        fakes.programFolder = folder.path();
        QFile processor(folder.filePath(u"gridfuse"_s + (onWindows ? u".exe"_s : QString())));
        QVERIFY(processor.open(QIODevice::WriteOnly) && processor.setPermissions(QFile::ExeOwner));
        MainWindow window(fakes.services());
        QStringList files;
        for (const auto& [name, grid, km, i, j, lon1, lon2, lat1, lat2] :
             {std::tuple{"fine.m3d", "-150.000 -120.000 4.000 60 50", 4, "60", "50", "-98.835971",
                         "-95.947253", "38.873221", "40.704925"},
              {"mid.m3d", "-354.000 -294.000 12.000 60 50", 12, "60", "50", "-101.478396",
               "-92.521604", "37.198118", "42.730618"},
              {"coarse.m3d", "-540.000 -432.000 36.000 31 25", 36, "31", "25", "-103.973490",
               "-90.026510", "35.821716", "44.014997"}})
            files << writeInput(
                folder, name,
                ("LCC 40.0000 -97.0000 30.00 60.00 " + std::string(grid) + " 23").c_str(),
                {"1", "1", i, j, "1", "23", lon1, lon2, lat1, lat2}, km);
        window.inputList().addPaths(files);
        operate(window,
                {u"LatLonOption"_s, u"TitleBox=drawn"_s, u"WorkingDirBox="_s + folder.path() + u'/',
                 u"OutFileBaseNameBox=drawn"_s});
        MapWindow* map = openMap(window);
        showMap(*map, {900, 700});
        MapCanvas& canvas = map->canvas();
        canvas.showView({-400 + canvas.width() / 2.0, 300 - canvas.height() / 2.0}, 1.0);
        drag(canvas, drawFrom, drawTo);
        CoordinateDialog* dialog = window.coordinateDialogs().dialog();
        QVERIFY(dialog && dialog->isVisible());
        operate(*dialog, {u"OkButton"_s});
        operate(window, {u"RunButton"_s});
        QCOMPARE(fakes.messages.shown.join(u'|'), QString());
        QCOMPARE(fakes.starter.started.size(), std::size_t(1));
        QFile written(folder.filePath(u"drawn.inp"_s));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QByteArrayList lines = written.readAll().split('\n').mid(5, 4);
        for (QByteArray& line : lines)
            line = line.trimmed();
        QCOMPARE(lines, QByteArrayList(
                            {"2                    ! Method of select domain (1: X/Y; 2: lon/lat)",
                             "-96.269524,-93.737039            ! Beg/End X(km) or longitudes",
                             "40.36838,42.179169            ! Beg/End Y(km) or latitudes",
                             "3                    ! Number of source 3D.DAT files"}));
    }

    // The shores are drawn, each kind in its colour, and the graticule is named at two edges.
    void drawsTheShores_data()
    {
        // The view from its west and south edges in degrees; where to look, or nowhere for all.
        columns<QRectF, QColor, QRect, int>("view", "colour", "area", "least");
        const QRectF chesapeake(-77.5, 36.5, 2.5, 3);
        addRow("Chesapeake Bay's coastline", chesapeake, mapCoast, QRect(), 200);
        addRow("the lakes of Finland", QRectF(26, 61, 4, 2), mapLakes, QRect(), 20);
        addRow("parallels named at the left", chesapeake, mapLabels, QRect(0, 30, 30, 500), 20);
        addRow("meridians named at the top", chesapeake, mapLabels, QRect(40, 0, 700, 12), 20);
    }
    void drawsTheShores()
    {
        auto [view, colour, area, least] = fetchRow<QRectF, QColor, QRect, int>();
        MapWindow map;
        showMap(map);
        const DomainSelection box{{view.left(), view.right(), view.top(), view.bottom(), 1, 23},
                                  true};
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::LatLon, {}, box, {}});
        const QImage image = map.canvas().grab().toImage();
        const int seen = pixelsNear(image, area.isNull() ? image.rect() : area, colour);
        QVERIFY2(seen >= least, qPrintable(QString::number(seen)));
    }

    void cellLatticeOnceCellsAreEightPixelsApart()
    {
        MapWindow map;
        showMap(map);
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse}, {}, {}});
        MapCanvas& canvas = map.canvas();
        // Cell edges of the 12 km grid run at x = 0, x = 348 and y = -264 km, each 6 km from a
        // cell's middle; the last two lie near the window's right and bottom edges.
        const auto edgeShows = [&canvas](double kmPerPixel) {
            canvas.showView({0, 0}, kmPerPixel);
            const QImage image = canvas.grab().toImage();
            const auto colour = [&](MapPoint km) {
                const QPointF at = canvas.toPixels(km);
                return image.pixelColor(int(at.x()), int(at.y()));
            };
            return colour({0, 102}) != colour({6, 102}) &&
                   colour({348, 102}) != colour({342, 102}) &&
                   colour({102, -264}) != colour({102, -270});
        };
        QVERIFY(edgeShows(1.0) && edgeShows(1.5) && !edgeShows(1.6));
        // The job shown again draws the same picture: its lattice is still in the view's own
        // projection, not bent through longitude and latitude.
        canvas.showView({0, 0}, 1.0);
        const QImage first = canvas.grab().toImage();
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse}, {}, {}});
        canvas.showView({0, 0}, 1.0);
        QCOMPARE(canvas.grab().toImage(), first);
    }

    void pathsStartWithAMoveAndBreakAtGaps()
    {
        const double nowhere = std::numeric_limits<double>::infinity();
        const QPainterPath path =
            pathThrough({{5, 5}, {6, 6}, {nowhere, 0}, {7, 7}, {8, 8}, {3000, 8}, {3001, 9}});
        QCOMPARE(path.elementCount(), 6);
        const QPointF points[] = {{5, 5}, {6, 6}, {7, 7}, {8, 8}, {3000, 8}, {3001, 9}};
        for (int n = 0; n < 6; ++n) // a move opens each pair
            QCOMPARE(std::pair(path.elementAt(n).isMoveTo(), QPointF(path.elementAt(n))),
                     std::pair(n % 2 == 0, points[n]));
    }

    void legendKeepsToAFifthInItsCorner()
    {
        MapWindow map;
        showMap(map, {420, 330});
        MapSnapshot job{ProcessingMode::Merge, CoordinateType::XY, {}, {}, {}};
        job.inputs.assign(5, coarse);
        map.showSnapshot(job);
        MapCanvas& canvas = map.canvas();
        const QImage image = canvas.grab().toImage();
        const QRectF frame = canvas.renderer().legendFrame();
        QVERIFY(frame.width() * frame.height() <= canvas.width() * canvas.height() / 5.0);
        QVERIFY(canvas.renderer().foldedLegendLines() > 0);
        QCOMPARE(frame.left(), 8.0);
        QCOMPARE(frame.bottom(), canvas.height() - 8.0);
        // The frame is drawn there: its edge is darker than the paper beside it.
        const int middle = qRound(frame.center().y());
        QVERIFY(image.pixelColor(8, middle).lightness() < image.pixelColor(3, middle).lightness());
        // A file's sample line wears the file's colour, as its outline does.
        QVERIFY(pixelsNear(image, frame.toRect(), fileOutlines[0]) > 10);
        // An output box in the bottom left corner sends the legend to the top left.
        job.confirmed = {{-354, -200, -294, -200, 1, 23}, true};
        map.showSnapshot(job);
        canvas.showView({-354 + canvas.width() / 2.0 - 10, -294 + canvas.height() / 2.0 - 8}, 1.0);
        canvas.grab();
        const QRectF moved = canvas.renderer().legendFrame();
        const QRectF box(canvas.toPixels({-354, -200}), canvas.toPixels({-200, -294}));
        QVERIFY(box.bottom() > canvas.height() - 20 && box.left() < 20);
        QCOMPARE(moved.topLeft(), QPointF(8, 8));
        QVERIFY(!moved.intersects(box));
        // The box is named inside, below its top edge, so that it does not hide a file's name.
        const QRect nameInside(box.topLeft().toPoint() + QPoint(5, 5), QSize(40, 8));
        QVERIFY(pixelsNear(canvas.grab().toImage(), nameInside, boxOutline) > 10);
        // The panel holds every line.
        const QString panel = map.findChild<QLabel*>(u"MapLegendText"_s)->text();
        QCOMPARE(panel.count(u'\n') + 1, static_cast<qsizetype>(canvas.scene().legend.size()));
    }

    void savesPictures()
    {
        QTemporaryDir folder;
        MapWindow map;
        for (const auto& [name, start] : {std::pair{"map.png", "\x89PNG"}, {"map.pdf", "%PDF"}}) {
            const QString path = folder.filePath(QLatin1String(name));
            QCOMPARE(map.savePicture(path), u"Saved "_s + path);
            QFile written(path);
            QVERIFY(written.open(QIODevice::ReadOnly) && written.read(4) == start);
            QVERIFY(map.savePicture(folder.filePath(u"none/"_s + QLatin1String(name)))
                        .startsWith(u"Could not write"_s));
        }
    }
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
