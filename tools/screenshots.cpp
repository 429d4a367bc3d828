// Renders Gridloom's windows to PNG files, so anyone can look at them without a display:
//   gridloom_screenshots <folder>
#include "app/main_window.h"
#include "app/splash_window.h"
#include "domain/coordinate_dialog.h"
#include "fixtures/fake_services.h"
#include "screenshot_map.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <cstdio>
#include <utility>

using namespace gridloom;
using gridloom::tools::save;
using gridloom::tools::saveDomainMap;

bool gridloom::tools::save(QWidget& widget, const QDir& folder, const char* name)
{
    QApplication::processEvents();
    const QString path = folder.filePath(QLatin1String(name));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED to write", qPrintable(path));
    return saved;
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
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
    return ok ? 0 : 1;
}
