// Measures the domain map: opening it on a regional domain with intermediate shores, a redraw
// after a pan or a zoom, and the program's start-up to the splash with the map in its module
// against PROJ and netCDF linked into the program. Prints times and ratios; judges nothing.
//   map_bench <folder holding startup_probe and startup_probe_linked>

#include "input/grid_line.h"
#include "map/map_canvas.h"
#include "map/map_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace gridloom;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// A 12 km grid over the Chesapeake Bay region, 816 by 720 km, with a lon/lat box in it; the
// extent line's limits are those cs2cs gives for its edge cells, so it is drawn on its grid.
MapSnapshot regionalJob()
{
    MapSnapshot job;
    job.coordinateType = CoordinateType::LatLon;
    job.inputs.push_back(
        {.iStart = 1,
         .iEnd = 68,
         .jStart = 1,
         .jEnd = 60,
         .latStart = 34.641546,
         .latEnd = 41.279177,
         .lonStart = -80.961889,
         .lonEnd = -71.038111,
         .gridSpacingKm = 12.0,
         .grid =
             parseGridLine("LCC 38.0000 -76.0000 30.00 60.00 -402.000 -354.000 12.000 68 60 23")});
    job.confirmed = {{-77.3, -75.4, 37.1, 39.2, 1, 23}, true};
    return job;
}

double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() * 95 / 100];
}

void sendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}

double milliseconds(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// One run of a start-up probe: milliseconds from start to end, its peak resident memory in kB
// and the number of shared libraries it had mapped, as it reports them.
struct ProbeRun {
    double milliseconds = -1.0;
    long peakKb = 0;
    long libraries = 0;
};

ProbeRun runOnce(const std::string& program)
{
    ProbeRun run;
    QElapsedTimer clock;
    clock.start();
    // The platform's notes on stderr would only bury the results.
    FILE* output = popen((program + " 2>/dev/null").c_str(), "r");
    if (!output)
        return run;
    const bool read = std::fscanf(output, "%ld %ld", &run.peakKb, &run.libraries) == 2;
    const bool ended = pclose(output) == 0;
    if (read && ended)
        run.milliseconds = milliseconds(clock);
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string probes = argc > 1 ? argv[1] : ".";
    QApplication application(argc, argv);

    // Opening: the window made, the job turned into a scene, the first paint with shores read.
    std::vector<double> opens;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer clock;
        clock.start();
        MapWindow map;
        map.resize(960, 720);
        map.showSnapshot(regionalJob());
        map.show();
        map.canvas().fit();
        QImage first(map.canvas().size(), QImage::Format_ARGB32_Premultiplied);
        map.canvas().render(&first);
        opens.push_back(milliseconds(clock));
        if (round == 0 && map.canvas().drawnResolution() != ShoreResolution::Intermediate)
            std::printf("note: the shores drawn were not of intermediate resolution\n");
    }
    std::printf("open map, regional domain, intermediate shores: first %.1f ms, median of the "
                "next %zu %.1f ms\n",
                opens.front(), opens.size() - 1,
                median(std::vector<double>(opens.begin() + 1, opens.end())));

    MapWindow map;
    map.resize(960, 720);
    map.showSnapshot(regionalJob());
    map.show();
    MapCanvas& canvas = map.canvas();
    canvas.fit();
    // Each redraw paints the whole canvas into an image, as the window's backing store gets it.
    QImage frame(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const auto redraw = [&canvas, &frame] { canvas.render(&frame); };
    redraw();
    std::vector<double> pans;
    std::vector<double> zooms;
    for (int n = 0; n < 120; ++n) {
        QElapsedTimer clock;
        clock.start();
        canvas.panBy(QPointF(n % 40 < 20 ? 7 : -7, 3 * (n % 2 ? 1 : -1)));
        redraw();
        pans.push_back(milliseconds(clock));
        clock.restart();
        canvas.zoomAt(QPointF(400, 300), n % 10 < 5 ? 1.2 : 1 / 1.2);
        redraw();
        zooms.push_back(milliseconds(clock));
    }
    std::printf("redraw after a pan:  median %.2f ms, slowest %.2f ms (%zu redraws)\n",
                median(pans), *std::max_element(pans.begin(), pans.end()), pans.size());
    std::printf("redraw after a zoom: median %.2f ms, slowest %.2f ms (%zu redraws)\n",
                median(zooms), *std::max_element(zooms.begin(), zooms.end()), zooms.size());
    std::printf("ratio median redraw / 16 ms frame:   %.2f\n",
                std::max(median(pans), median(zooms)) / 16.0);

    // A box drawn with Shift held across the domain: each pointer move reshapes the box, and
    // the frame the window then paints is timed with it.
    canvas.fit();
    redraw();
    std::vector<double> drags;
    sendMouse(canvas, QEvent::MouseButtonPress, QPointF(300, 450), Qt::LeftButton,
              Qt::ShiftModifier);
    for (int n = 0; n < 200; ++n) {
        QElapsedTimer clock;
        clock.start();
        const double t = n / 200.0;
        sendMouse(canvas, QEvent::MouseMove, QPointF(320 + 360 * t, 430 - 300 * t), Qt::LeftButton,
                  Qt::ShiftModifier);
        redraw();
        drags.push_back(milliseconds(clock));
    }
    if (!canvas.drawingBox())
        std::printf("note: no box was being drawn\n");
    sendMouse(canvas, QEvent::MouseButtonRelease, QPointF(680, 130), Qt::NoButton,
              Qt::ShiftModifier);
    std::printf("redraw while dragging a box: median %.2f ms, 95th percentile %.2f ms, slowest "
                "%.2f ms (%zu redraws)\n",
                median(drags), percentile95(drags), *std::max_element(drags.begin(), drags.end()),
                drags.size());

    // The status line under the map: the pointer read for its position and files' cells.
    std::vector<double> readings;
    QString shown;
    QObject::connect(&canvas, &MapCanvas::pointerRead,
                     [&shown](const QString& text) { shown = text; });
    for (int n = 0; n < 400; ++n) {
        QElapsedTimer clock;
        clock.start();
        sendMouse(canvas, QEvent::MouseMove, QPointF(100 + n * 1.7, 80 + n), Qt::NoButton,
                  Qt::NoModifier);
        readings.push_back(milliseconds(clock));
    }
    std::printf("status line update: median %.3f ms, 95th percentile %.3f ms (%zu moves)\n",
                median(readings), percentile95(readings), readings.size());
    std::printf("  last: %s\n", qPrintable(shown));

    // Start-up to the splash's first paint, alternating the two builds so that the machine's
    // other work falls on both alike.
    const std::string module = probes + "/startup_probe";
    const std::string linked = probes + "/startup_probe_linked";
    std::vector<double> moduleTimes;
    std::vector<double> linkedTimes;
    ProbeRun moduleRun = runOnce(module);
    ProbeRun linkedRun = runOnce(linked);
    for (int round = 0; round < 21; ++round) {
        moduleRun = runOnce(module);
        linkedRun = runOnce(linked);
        if (moduleRun.milliseconds < 0 || linkedRun.milliseconds < 0) {
            std::fprintf(stderr, "a start-up probe failed; build the bench targets first\n");
            return 1;
        }
        moduleTimes.push_back(moduleRun.milliseconds);
        linkedTimes.push_back(linkedRun.milliseconds);
    }
    std::printf("start-up to splash, map in its module:  median %.1f ms, peak %ld kB, %ld "
                "libraries\n",
                median(moduleTimes), moduleRun.peakKb, moduleRun.libraries);
    std::printf("start-up to splash, PROJ+netCDF linked: median %.1f ms, peak %ld kB, %ld "
                "libraries\n",
                median(linkedTimes), linkedRun.peakKb, linkedRun.libraries);
    std::printf("ratio start-up linked / module:          %.2f\n",
                median(linkedTimes) / median(moduleTimes));
    return 0;
}
