// The domain map's window: the module the program loads, following the job through the real
// main window, drawing the box where it belongs, zoom, pan and fit, and pictures.
#include "app/domain_map_loader.h"
#include "app/main_window.h"
#include "domain/coordinate_dialog.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/input_list_controller.h"
#include "map/map_canvas.h"
#include "map/map_window.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"

#include <QPaintEngine>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

// The 12 km grid of the map's logic tests, with the limits cs2cs gave for its edge cells.
const char* const coarseLine = "LCC 40.0000 -97.0000 30.00 60.00 -354.000 -294.000 12.000 60 50 23";
// Records of cells i 1-60, j 1-50, k 1-23: latitudes, longitudes, spacing, grid line.
const InputFileInfo coarse{1,           60,         1,  50, 1, 23, 37.198118, 42.730618,
                           -101.478396, -92.521604, 12, {}, 0, {}, coarseLine};

// The outlines in drawing order: i an input file, c the output box, e the box being entered;
// in capitals when the legend names them in a problem.
QString outlines(const MapScene& scene)
{
    QString letters;
    for (const SceneShape& shape : scene.shapes)
        letters += QLatin1Char((shape.problem ? "ICE" : "ice")[static_cast<int>(shape.role)]);
    return letters;
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
        const DomainMapModule module = loadDomainMapModule(QStringLiteral(GRIDLOOM_MAP_MODULE_DIR));
        QVERIFY2(module.create, qPrintable(module.error));
        QWidget owner;
        QVERIFY(module.create(&owner)->window()->isWindow());
        QVERIFY(!loadDomainMapModule(QTemporaryDir().path()).error.isEmpty());
    }

    void mapFollowsTheJob()
    {
        QTemporaryDir folder;
        fixtures::SampleHeader sample;
        sample.gridLine = coarseLine;
        sample.extent = {"1",  "1",           "60",         "50",        "1",
                         "23", "-101.478396", "-92.521604", "37.198118", "42.730618"};
        const QString file = folder.filePath(QStringLiteral("coarse.m3d"));
        fixtures::writeFixture(file.toStdString(), sample);
        FakeServices fakes;
        MainWindow window(fakes.services());
        window.setDomainMapFactory([](QWidget* parent) { return new MapWindow(parent); });

        auto* item = window.findChild<QAction*>(QStringLiteral("DomainMapItem"));
        QCOMPARE(qobject_cast<QMenu*>(item->parent())->title(), QStringLiteral("View"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        item->trigger();
        auto* map = qobject_cast<MapWindow*>(window.domainMap()->window());
        QVERIFY(map && map->isVisible() && map->isWindow() &&
                map->windowModality() == Qt::NonModal);
        const MapScene& scene = map->canvas().scene();

        window.inputList().addPaths({file});
        QCOMPARE(outlines(scene), QStringLiteral("i"));
        QVERIFY(!scene.shapes[0].approximate);

        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        auto* dialog = window.coordinateDialogs().dialog();
        for (const char* name : {"cboLonLL1", "cboLonLL2"})
            dialog->findChild<QComboBox*>(QLatin1String(name))->setCurrentText(QStringLiteral("W"));
        const char* const fields[][2] = {
            {"txtLon1", "98"}, {"txtLon2", "96"}, {"txtLat1", "39"}, {"txtLat2", "40"}};
        for (const auto& [name, value] : fields)
            dialog->findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(value));
        QCOMPARE(outlines(scene), QStringLiteral("ie"));
        dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        QCOMPARE(outlines(scene), QStringLiteral("ic"));

        // Extract reads the stored bounds as cell indices, which no file has.
        window.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
        QCOMPARE(outlines(scene), QStringLiteral("iC"));
        window.findChild<QPushButton*>(QStringLiteral("ClearAllFileButton"))->click();
        QCOMPARE(outlines(scene), QString());
    }

    void outputBoxWhereItBelongsThroughZoomPanAndFit()
    {
        MapWindow map;
        map.resize(820, 620);
        map.show();
        QVERIFY(QTest::qWaitForWindowExposed(&map));
        const DomainSelection box{{-120, 120, -60, 90, 1, 23}, true};
        map.showSnapshot({ProcessingMode::Merge, CoordinateType::XY, {coarse}, box, {}});
        MapCanvas& canvas = map.canvas();
        const QImage image = canvas.grab().toImage();
        QCOMPARE(canvas.drawnResolution().value_or(ShoreResolution::Crude),
                 ShoreResolution::Intermediate);
        const QPointF northWest = canvas.toPixels({-120, 90});
        const QPointF southEast = canvas.toPixels({120, -60});
        const double x = (northWest.x() + southEast.x()) / 2;
        QVERIFY2(dark(image, {x, northWest.y()}), "top edge");
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
        map.findChild<QAction*>(QStringLiteral("FitAction"))->trigger();
        QCOMPARE(canvas.toPixels({120, -60}), southEast);
    }

    void saysWhichPackageGivesTheShores()
    {
        MapCanvas canvas(nullptr, "/nonexistent");
        canvas.resize(400, 300);
        QVERIFY(!canvas.drawnResolution());
        // The words as painted, wrapped lines joined again.
        struct TextRecorder final : QPaintDevice, QPaintEngine {
            QStringList texts;
            QPaintEngine* paintEngine() const override { return const_cast<TextRecorder*>(this); }
            int metric(PaintDeviceMetric m) const override
            {
                return m == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale())
                       : m == PdmDevicePixelRatio     ? 1
                                                      : 96;
            }
            bool begin(QPaintDevice*) override { return true; }
            bool end() override { return true; }
            void updateState(const QPaintEngineState&) override {}
            void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
            void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
            void drawTextItem(const QPointF&, const QTextItem& item) override
            {
                texts << item.text();
            }
            Type type() const override { return User; }
        } recorder;
        QPainter painter(&recorder);
        canvas.paintMap(painter, canvas.size());
        painter.end();
        const QString said = recorder.texts.join(u' ').simplified();
        QVERIFY2(said.contains(QStringLiteral("No coastline file in /nonexistent: install the "
                                              "package gmt-gshhg-low")),
                 qPrintable(said));
        // The legend's frame stands 8 pixels from the left edge.
        const QImage image = canvas.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(251, 250, 246));
        QVERIFY(image.pixelColor(7, 270) != image.pixelColor(2, 2));
    }

    void savesPictures_data()
    {
        columns<QString, QByteArray>("name", "start");
        addRow("PNG", "map.png", QByteArray("\x89PNG"));
        addRow("PDF", "map.pdf", QByteArray("%PDF"));
    }
    void savesPictures()
    {
        auto [name, start] = fetchRow<QString, QByteArray>("name", "start");
        QTemporaryDir folder;
        MapWindow map;
        const QString path = folder.filePath(name);
        QCOMPARE(map.savePicture(path), QStringLiteral("Saved ") + path);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly) && written.read(4) == start);
        QVERIFY(map.savePicture(folder.filePath(QStringLiteral("none/") + name))
                    .startsWith(QStringLiteral("Could not write")));
    }
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
