// The domain map's window: following the job through the real main window, drawing the box
// where it belongs, zoom and pan, pictures, and loading the module the program uses.
#include "app/domain_map_loader.h"
#include "app/main_window.h"
#include "domain/coordinate_dialog.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/input_list_controller.h"
#include "map/map_canvas.h"
#include "map/map_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;

namespace {

// The 12 km grid of the map's logic tests, with the limits cs2cs gave for its edge cells.
const char* const coarseGrid = "LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";

QString writeSample(const QTemporaryDir& folder, const char* name, const char* gridLine,
                    double spacing, std::array<std::string, 10> extent)
{
    fixtures::SampleHeader sample;
    sample.gridLine = gridLine;
    sample.gridSpacingKm = spacing;
    sample.extent = std::move(extent);
    const QString path = folder.filePath(QLatin1String(name));
    fixtures::writeFixture(path.toStdString(), sample);
    return path;
}

int count(const MapScene& scene, SceneShape::Role role)
{
    return static_cast<int>(std::count_if(scene.shapes.begin(), scene.shapes.end(),
                                          [role](const SceneShape& s) { return s.role == role; }));
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
    void mapFollowsTheJob()
    {
        QTemporaryDir folder;
        const QString fine =
            writeSample(folder, "fine.m3d",
                        "LCC 40.0000 -97.0000 30.00 60.00 -150.000 -120.000 4.000 60 50 23", 4.0,
                        {"1", "1", "60", "50", "1", "23", "-98.835971", "-95.947253", "38.873221",
                         "40.704925"});
        const QString coarse = writeSample(folder, "coarse.m3d", coarseGrid, 12.0,
                                           {"1", "1", "60", "50", "1", "23", "-101.478396",
                                            "-92.521604", "37.198118", "42.730618"});
        testing::FakeServices fakes;
        MainWindow window(fakes.services());
        window.setDomainMapFactory([](QWidget* parent) { return new MapWindow(parent); });
        window.show();

        const auto menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[1]->text(), QStringLiteral("View"));
        auto* item = window.findChild<QAction*>(QStringLiteral("DomainMapItem"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        item->trigger();
        auto* map = qobject_cast<MapWindow*>(window.domainMap()->window());
        QVERIFY(map && map->isVisible() && map->isWindow());
        QCOMPARE(map->windowTitle(), QStringLiteral("Domain map"));
        QCOMPARE(map->windowModality(), Qt::NonModal);
        const MapScene& scene = map->canvas().scene();

        window.inputList().addPaths({fine, coarse});
        QCOMPARE(count(scene, SceneShape::Role::Input), 2);
        QVERIFY(!scene.shapes[0].approximate && !scene.shapes[1].approximate);
        QVERIFY(!scene.geographicView);

        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        auto* dialog = window.coordinateDialogs().dialog();
        dialog->findChild<QComboBox*>(QStringLiteral("cboLonLL1"))
            ->setCurrentText(QStringLiteral("W"));
        dialog->findChild<QComboBox*>(QStringLiteral("cboLonLL2"))
            ->setCurrentText(QStringLiteral("W"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtLon1"))->setText(QStringLiteral("98"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtLon2"))->setText(QStringLiteral("96"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtLat1"))->setText(QStringLiteral("39"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtLat2"))->setText(QStringLiteral("40"));
        QCOMPARE(count(scene, SceneShape::Role::Entered), 1);
        QCOMPARE(count(scene, SceneShape::Role::Confirmed), 0);

        dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        QVERIFY(fakes.messages.shown.isEmpty());
        QCOMPARE(count(scene, SceneShape::Role::Entered), 0);
        QCOMPARE(count(scene, SceneShape::Role::Confirmed), 1);
        QVERIFY(std::none_of(scene.shapes.begin(), scene.shapes.end(),
                             [](const SceneShape& s) { return s.problem; }));

        window.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
        // Extract reads the stored bounds as cell indices, which no file has.
        QVERIFY(scene.shapes.back().role == SceneShape::Role::Confirmed &&
                scene.shapes.back().problem);
        window.findChild<QPushButton*>(QStringLiteral("ClearAllFileButton"))->click();
        QCOMPARE(count(scene, SceneShape::Role::Input), 0);
    }

    void outputBoxDrawnWhereItBelongs()
    {
        MapWindow map;
        map.resize(820, 620);
        map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&map));
        MapSnapshot snapshot;
        snapshot.coordinateType = CoordinateType::XY;
        snapshot.inputs.push_back(
            {coarseGrid, 1, 1, 60, 50, -101.478396, -92.521604, 37.198118, 42.730618, 12.0});
        snapshot.confirmed = {{-120, 120, -60, 90, 1, 23}, true};
        map.showSnapshot(snapshot);
        MapCanvas& canvas = map.canvas();
        canvas.fit();
        const QImage image = canvas.grab().toImage();
        QCOMPARE(canvas.drawnResolution().value_or(ShoreResolution::Crude),
                 ShoreResolution::Intermediate);
        const QPointF northWest = canvas.toPixels({-120, 90});
        const QPointF southEast = canvas.toPixels({120, -60});
        for (const double t : {0.5, 0.75}) {
            const double x = northWest.x() + t * (southEast.x() - northWest.x());
            QVERIFY2(dark(image, {x, northWest.y()}), "top edge");
            QVERIFY2(dark(image, {x, southEast.y()}), "bottom edge");
            QVERIFY2(!dark(image, {x, northWest.y() - 12}), "above the box");
            QVERIFY2(!dark(image, {x, (northWest.y() + southEast.y()) / 2}), "inside the box");
        }
    }

    void zoomKeepsThePointAndPanFollowsTheDrag()
    {
        MapCanvas canvas;
        canvas.resize(600, 400);
        canvas.setScene(buildScene(
            {ProcessingMode::Merge,
             CoordinateType::None,
             {{coarseGrid, 1, 1, 60, 50, -101.478396, -92.521604, 37.198118, 42.730618, 12.0}},
             {},
             {}}));
        const MapPoint corner{-354, 294};
        const QPointF before = canvas.toPixels(corner);
        canvas.zoomAt(before, 2.0);
        QVERIFY((canvas.toPixels(corner) - before).manhattanLength() < 1e-6);
        canvas.zoomAt(QPointF(10, 10), 2.0);
        const QPointF zoomed = canvas.toPixels(corner);
        canvas.panBy(QPointF(30, -20));
        QVERIFY((canvas.toPixels(corner) - zoomed - QPointF(30, -20)).manhattanLength() < 1e-6);
    }

    void savesPictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("PNG") << QStringLiteral("map.png") << QByteArray("\x89PNG");
        QTest::newRow("PDF") << QStringLiteral("map.pdf") << QByteArray("%PDF");
    }
    void savesPictures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        QTemporaryDir folder;
        MapWindow map;
        map.showSnapshot({});
        const QString path = folder.filePath(name);
        QVERIFY(map.savePicture(path).startsWith(QStringLiteral("Saved")));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(4), start);
        QVERIFY(map.savePicture(folder.filePath(QStringLiteral("none/") + name))
                    .startsWith(QStringLiteral("Could not write")));
    }
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
