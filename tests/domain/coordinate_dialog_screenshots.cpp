// Renders the coordinate dialog's three layouts to PNG files, for looking at them:
//   coordinate_dialog_screenshots <output folder>
// writes coordinate_latlon.png, coordinate_ijk.png and coordinate_xy.png there.

#include "domain/coordinate_dialog.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <utility>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: coordinate_dialog_screenshots <output folder>\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }

    gridloom::DomainSelection domain;
    gridloom::testing::RecordingMessages messages;
    gridloom::CoordinateDialogHost host(nullptr, domain, messages);
    const std::pair<gridloom::CoordinateType, const char*> layouts[] = {
        {gridloom::CoordinateType::LatLon, "coordinate_latlon.png"},
        {gridloom::CoordinateType::IJK, "coordinate_ijk.png"},
        {gridloom::CoordinateType::XY, "coordinate_xy.png"}};
    for (const auto& [type, name] : layouts) {
        host.open(type);
        QApplication::processEvents();
        const QString path = folder.filePath(QLatin1String(name));
        if (!host.dialog()->grab().save(path)) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
