// The domain map's pictures for the screenshot tool, in builds with the map module.
#include "screenshot_map.h"

#include "app/main_window.h"
#include "common/numbers.h"
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/grid_line.h"
#include "input/input_list_controller.h"
#include "map/grid_outline.h"
#include "map/map_canvas.h"
#include "map/map_window.h"
#include "map/projection.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <utility>

using namespace gridloom;
using gridloom::tools::save;

namespace {

// A 3D.DAT sample on a Lambert conformal grid, its extent line true to the grid.
QString writeGridSample(const QDir& folder, const char* name, const std::string& gridLine)
{
    const GridLine line = readGridLine(gridLine).value();
    const auto grid = std::get<GridDefinition>(line.grid);
    const auto projection = Projection::create(projectionDefinition(grid));
    const auto extent = cellCentreExtent(grid, *projection, {1, 1, line.cells->nx, line.cells->ny});
    fixtures::SampleHeader sample;
    sample.gridLine = gridLine;
    sample.gridSpacingKm = grid.spacingKm;
    sample.extent = {"1",
                     "1",
                     std::to_string(line.cells->nx),
                     std::to_string(line.cells->ny),
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

} // namespace

// The map of two nested grids around Chesapeake Bay, 4 km inside 12 km, with a confirmed
// longitude/latitude output box.
bool gridloom::tools::saveDomainMap(const QDir& folder)
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
