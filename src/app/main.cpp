#include "app/main_window.h"
#include "app/splash_window.h"
#include "common/messages.h"
#include "common/window_helpers.h"
#include "input/dialog_file_chooser.h"
#include "run/storage_volumes.h"
#include "run/terminal_starter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(gridloom::applicationTitle());

    gridloom::BoxMessages messages;
    gridloom::DialogFileChooser files;
    gridloom::TerminalStarter starter;
    gridloom::StorageVolumes volumes;
    const gridloom::Services services{messages, files, starter, volumes, gridloom::programFolder()};

    gridloom::SplashWindow splash([&services] {
        auto* window = new gridloom::MainWindow(services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    splash.start();
    return QApplication::exec();
}
