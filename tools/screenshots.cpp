// Renders Gridloom's windows to PNG files, so anyone can look at them without a display:
//   gridloom_screenshots <folder>
#include "app/main_window.h"
#include "app/splash_window.h"
#include "common/date_hour_stamp.h"
#include "common/numbers.h"
#include "domain/coordinate_dialog.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/input_hours_window.h"
#include "input/input_list_controller.h"
#include "map/grid_outline.h"
#include "map/map_canvas.h"
#include "map/map_window.h"
#include "map/projection.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <utility>

using namespace gridloom;

namespace {

bool save(QWidget& widget, const QDir& folder, const char* name)
{
    QApplication::processEvents();
    const QString path = folder.filePath(QLatin1String(name));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED to write", qPrintable(path));
    return saved;
}

// A 3D.DAT sample on a Lambert conformal grid, its extent line true to the grid.
QString writeGridSample(const QDir& folder, const char* name, const std::string& gridLine)
{
    const auto grid = parseGridLine(gridLine);
    const auto projection = Projection::create(projectionDefinition(*grid));
    const auto extent = cellCentreExtent(*grid, *projection, {1, 1, grid->nx, grid->ny});
    fixtures::SampleHeader sample;
    sample.gridLine = gridLine;
    sample.gridSpacingKm = grid->spacingKm;
    sample.extent = {"1",
                     "1",
                     std::to_string(grid->nx),
                     std::to_string(grid->ny),
                     "1",
                     "23",
                     formatFixed(extent->west, 4),
                     formatFixed(extent->east, 4),
                     formatFixed(extent->south, 4),
                     formatFixed(extent->north, 4)};
    const QString path = folder.filePath(QLatin1String(name));
    fixtures::writeFixture(path.toStdString(), sample);
    return path;
}

// The map of two nested grids around Chesapeake Bay, 4 km inside 12 km, with a confirmed
// longitude/latitude output box.
bool saveDomainMap(const QDir& folder)
{
    QTemporaryDir samples;
    const QDir sampleFolder(samples.path());
    const QStringList files = {
        writeGridSample(sampleFolder, "bay_4km.m3d",
                        "LCC 38.0000 -76.0000 30.00 60.00 -150.000 -130.000 4.000 76 70 23"),
        writeGridSample(sampleFolder, "east_12km.m3d",
                        "LCC 38.0000 -76.0000 30.00 60.00 -402.000 -354.000 12.000 68 60 23")};
    testing::FakeServices fakes;
    MainWindow window(fakes.services());
    window.setDomainMapFactory([](QWidget* parent) { return new MapWindow(parent); });
    window.inputList().addPaths(files);
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    CoordinateDialog* dialog = window.coordinateDialogs().dialog();
    const std::pair<const char*, const char*> fields[] = {
        {"txtLon1", "77.3"}, {"txtLon2", "75.4"}, {"txtLat1", "37.1"}, {"txtLat2", "39.2"}};
    for (const char* box : {"cboLonLL1", "cboLonLL2"})
        dialog->findChild<QComboBox*>(QLatin1String(box))->setCurrentText(QStringLiteral("W"));
    for (const auto& [name, text] : fields)
        dialog->findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(text));
    dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    window.openDomainMap();
    auto* map = static_cast<MapWindow*>(window.domainMap()->window());
    map->resize(960, 720);
    QApplication::processEvents();
    map->canvas().fit();
    bool saved = save(*map, folder, "domain_map.png");
    // A new box being drawn with Shift held, curved as a longitude/latitude box is, with its
    // corner's values beside the pointer; Esc then abandons it.
    MapCanvas& canvas = map->canvas();
    const auto send = [&canvas](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas.mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::ShiftModifier);
        QApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseButtonPress, QPointF(250, 470), Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(400, 350), Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(560, 200), Qt::LeftButton);
    saved &= save(*map, folder, "domain_map_drawing.png");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &escape);
    return saved;
}

// A year appended in time from twelve monthly files, one of them February twice and none of
// them March: the hours window must show both at a glance.
bool saveInputHours(const QDir& folder)
{
    QTemporaryDir samples;
    QStringList files;
    for (const int month : {1, 2, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        using namespace std::chrono;
        const year_month_day first = year{2002} / month / 1;
        fixtures::SampleHeader sample;
        sample.startStamp = dateHourStamp(first, 0);
        sample.hourCount =
            static_cast<int>((sys_days{first + months{1}} - sys_days{first}).count() * 24);
        const QString path =
            QDir(samples.path())
                .filePath(QStringLiteral("mm5_2002_%1%2.m3d")
                              .arg(month, 2, 10, QLatin1Char('0'))
                              .arg(files.size() == 2 ? QStringLiteral("_copy") : QString()));
        fixtures::writeFixture(path.toStdString(), sample);
        files << path;
    }
    testing::FakeServices fakes;
    MainWindow window(fakes.services());
    window.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
    window.inputList().addPaths(files);
    window.openInputHours();
    window.inputHours()->resize(960, 560);
    return save(*window.inputHours(), folder, "input_hours.png");
}

// The main window with its File menu open. The menu is a window of its own, which a grab of
// the main window leaves out, so it is drawn onto that grab where it stands.
bool saveFileMenu(MainWindow& window, const QDir& folder)
{
    auto* menu = window.findChild<QMenu*>(QStringLiteral("File"));
    const QRect item = window.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(window.menuBar()->mapToGlobal(item.bottomLeft()));
    QApplication::processEvents();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(menu->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint()), menu->grab());
    painter.end();
    menu->hide();
    const QString path = folder.filePath(QStringLiteral("main_file_menu.png"));
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED to write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The pictures show a first start, not the recent control files of whoever renders them.
    QStandardPaths::setTestModeEnabled(true);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    bool ok = true;
    SplashWindow splash([] {});
    splash.show();
    ok &= save(splash, folder, "splash.png");
    splash.close();

    testing::FakeServices fakes;
    MainWindow window(fakes.services());
    window.show();
    ok &= save(window, folder, "main_merge.png");
    ok &= saveFileMenu(window, folder);
    window.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
    ok &= save(window, folder, "main_extract.png");

    const std::pair<CoordinateType, const char*> layouts[] = {
        {CoordinateType::LatLon, "coordinate_latlon.png"},
        {CoordinateType::IJK, "coordinate_ijk.png"},
        {CoordinateType::XY, "coordinate_xy.png"}};
    for (const auto& [type, name] : layouts) {
        window.coordinateDialogs().open(type);
        ok &= save(*window.coordinateDialogs().dialog(), folder, name);
    }
    window.coordinateDialogs().dialog()->reject();
    ok &= saveDomainMap(folder);
    ok &= saveInputHours(folder);
    return ok ? 0 : 1;
}
