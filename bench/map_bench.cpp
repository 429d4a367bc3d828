// Measures the domain map: opening it on a regional domain with intermediate shores, a redraw
// after a pan or a zoom, and the program's start-up to the splash with the map in its module
// against PROJ and netCDF linked into the program. Prints times and ratios; judges nothing.
//   map_bench <folder holding startup_probe and startup_probe_linked>

#include "map/map_canvas.h"
#include "map/map_window.h"

#include <QApplication>
#include <QElapsedTimer>
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

// A 12 km grid over the Chesapeake Bay region, 816 by 720 km, with a lon/lat box in it.
MapSnapshot regionalJob()
{
    MapSnapshot job;
    job.coordinateType = CoordinateType::LatLon;
    job.inputs.push_back(
        {.iStart = 1,
         .iEnd = 68,
         .jStart = 1,
         .jEnd = 60,
         .latStart = 34.7574,
         .latEnd = 41.3152,
         .lonStart = -80.5664,
         .lonEnd = -71.2954,
         .gridSpacingKm = 12.0,
         .gridLineText = "LCC 38.0000 -76.0000 30.00 60.00 -402.000 -354.000 12.000 68 60 23"});
    job.confirmed = {{-77.3, -75.4, 37.1, 39.2, 1, 23}, true};
    return job;
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
