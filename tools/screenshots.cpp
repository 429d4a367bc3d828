// Renders Gridloom's windows to PNG files, so anyone can look at them without a display:
//   gridloom_screenshots <folder>
#include "app/main_window.h"
#include "app/splash_window.h"
#include "common/date_hour_stamp.h"
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/input_hours_window.h"
#include "input/input_list_controller.h"
#include "run/directory_chooser.h"
#include "screenshot_map.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <utility>

using namespace gridloom;
using gridloom::tools::save;
using gridloom::tools::saveDomainMap;

bool gridloom::tools::save(QWidget& widget, const QDir& folder, const char* name)
{
    // Windows' style animates a change of state, such as a radio button's check, and under
    // Wine that takes well over a second: the picture is taken once it has ended.
    const bool animated = QApplication::style()->name() == QStringLiteral("windowsvista");
    QElapsedTimer settling;
    settling.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    while (animated && settling.elapsed() < 2000);
    const QString path = folder.filePath(QLatin1String(name));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED to write", qPrintable(path));
    return saved;
}

namespace {

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

    // Browse, opened on a folder of a few subfolders, so the list shows its parents and children.
    QTemporaryDir working;
    for (const char* name : {"1999", "2002", "2002 (copy)", "scratch"})
        ok &= QDir(working.path()).mkpath(QLatin1String(name));
    QLineEdit workingDirBox(working.path());
    DirectoryChooser* chooser = openDirectoryChooser(&window, &workingDirBox, working.path(),
                                                     fakes.volumes, fakes.messages);
    ok &= save(*chooser, folder, "change_directory.png");
    chooser->reject();
    ok &= saveDomainMap(folder);
    ok &= saveInputHours(folder);
    return ok ? 0 : 1;
}
