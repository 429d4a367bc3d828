#include "app/main_window.h"
#include "app/splash_window.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "input/dialog_file_chooser.h"
#include "run/storage_volumes.h"
#include "run/terminal_starter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(gridloom::applicationTitle());
    // Ties the windows to the installed desktop entry, whose icon Wayland shows for them.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.gridloom.Gridloom"));

    // gridloom [PATH]: PATH is a control file to open once the window is up.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepares and starts the wxjoin2 and gridfuse processors of 3D.DAT files."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("A control file to open: wxjoin2.inp or a merge control file."),
        QStringLiteral("[PATH]"));
    parser.process(application);
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 1;
    }
    const QString controlFile = paths.isEmpty() ? QString() : paths.front();

    gridloom::BoxMessages messages;
    gridloom::DialogFileChooser files;
    gridloom::TerminalStarter starter;
    gridloom::StorageVolumes volumes;
    const gridloom::Services services{messages, files, starter, volumes, gridloom::programFolder()};

    gridloom::SplashWindow splash([&services, &controlFile] {
        // The same drawing as the installed icon, for desktops that take it from the window.
        // It comes with the main window, not before the splash: the first picture read wakes
        // Qt's image-format plugins, which costs the splash milliseconds, and the frameless
        // splash shows no icon anyway.
        QIcon icon;
        for (const int size : {16, 24, 32, 48, 64, 128})
            icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
        QApplication::setWindowIcon(icon);

        auto* window = new gridloom::MainWindow(services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        if (!controlFile.isEmpty())
            window->openControlFile(controlFile);
    });
    splash.start();
    return QApplication::exec();
}
