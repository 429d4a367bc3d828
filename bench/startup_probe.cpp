// Starts the way the program starts, up to the splash's first paint, then ends: what the map
// benchmark times to see whether the map's libraries reach start-up. Built twice: as the
// program is (the map in its module), and with PROJ and netCDF linked in as plain linking
// would do it.
#include "app/splash_window.h"
#include "common/messages.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

namespace {

// Ends the program once the watched window has painted for the first time.
class FirstPaint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

// Prints the peak resident memory and how many shared libraries are mapped, which the
// benchmark reads.
void reportMemory()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    long peakKb = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            peakKb = std::stol(line.substr(6));
    }
    std::ifstream maps("/proc/self/maps");
    std::set<std::string> libraries;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash != std::string::npos && line.find(".so", slash) != std::string::npos)
            libraries.insert(line.substr(slash));
    }
    std::printf("%ld %zu\n", peakKb, libraries.size());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(gridloom::applicationTitle());
    gridloom::SplashWindow splash([] {});
    FirstPaint watcher;
    splash.installEventFilter(&watcher);
    splash.start();
    const int result = QApplication::exec();
    reportMemory();
    return result;
}
