// Measures the "Input hours" window at the sizes of real jobs: a year of daily files, a decade of
// monthly files and a thousand files, added through Add File and by a drop while the window is
// open, then the strip's redraw with a thousand bars. The times are printed, not judged: the
// window must stay usable, so adding a thousand files should take well under 2 s and a redraw
// well under a 60 Hz frame (16 ms).
#include "app/main_window.h"
#include "common/date_hour_stamp.h"
#include "fixtures/fake_services.h"
#include "fixtures/fixture_writer.h"
#include "input/hours_strip.h"
#include "input/input_hours_window.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace gridloom;
using namespace std::chrono;

namespace {

// `count` files of `step` each from 1 January 2000; every tenth holds one hour more (an
// overlap) and every hundredth starts an hour late (a gap), as a careless job would.
QStringList writeFiles(const QDir& folder, const char* prefix, int count, bool monthly)
{
    QStringList paths;
    for (int n = 0; n < count; ++n) {
        const year_month_day day = monthly
                                       ? year_month_day{year{2000} / January / 1} + months{n}
                                       : year_month_day{sys_days{2000y / January / 1} + days{n}};
        const int hours =
            monthly ? static_cast<int>((sys_days{day + months{1}} - sys_days{day}).count() * 24)
                    : 24;
        fixtures::SampleHeader sample;
        const int late = n % 100 == 99 ? 1 : 0;
        sample.startStamp = dateHourStamp(day, late);
        sample.hourCount = hours - late + (n % 10 == 9 ? 1 : 0);
        const QString path = folder.filePath(
            QStringLiteral("%1_%2.m3d").arg(QLatin1String(prefix)).arg(n, 4, 10, QLatin1Char('0')));
        fixtures::writeFixture(path.toStdString(), sample);
        paths << path;
    }
    return paths;
}

struct Job {
    testing::FakeServices fakes;
    MainWindow main{fakes.services()};
    Job()
    {
        main.show();
        main.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
        main.openInputHours();
        QApplication::processEvents();
    }
};

// Milliseconds to add `paths` with one press of Add File, the hours window open.
double addByButton(const QStringList& paths, std::size_t& listed)
{
    Job job;
    job.fakes.files.answers << paths;
    QElapsedTimer clock;
    clock.start();
    job.main.findChild<QPushButton*>(QStringLiteral("AddFileButton"))->click();
    const double ms = clock.nsecsElapsed() / 1e6;
    listed = job.main.inputHours()->strip().coverage().files.size();
    return ms;
}

double addByDrop(const QStringList& paths, std::size_t& listed)
{
    Job job;
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* target = job.main.findChild<QListWidget*>(QStringLiteral("FileListBox"))->viewport();
    QElapsedTimer clock;
    clock.start();
    // A drag enters before it drops; the list reads the files once, at the drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    const double ms = clock.nsecsElapsed() / 1e6;
    listed = job.main.inputHours()->strip().coverage().files.size();
    return ms;
}

// The median and the 90th percentile of `rounds` full redraws of the strip, in milliseconds;
// the slowest few tell of the machine's other work more than of the strip.
std::pair<double, double> redraws(HoursStrip& strip, int rounds)
{
    std::vector<double> times;
    for (int n = 0; n < rounds; ++n) {
        QElapsedTimer clock;
        clock.start();
        strip.repaint();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QStringList daily = writeFiles(dir, "day", 1000, false);
    const QStringList monthly = writeFiles(dir, "month", 120, true);

    std::printf("Input hours: adding files through Add File with the hours window open\n");
    const std::pair<const char*, QStringList> jobs[] = {
        {"a year of daily files", daily.mid(0, 365)},
        {"a decade of monthly files", monthly},
        {"1000 daily files", daily}};
    for (const auto& [name, paths] : jobs) {
        std::size_t listed = 0;
        const double ms = addByButton(paths, listed);
        std::printf("  %-26s %4lld files: %8.1f ms (%zu on the strip)\n", name,
                    static_cast<long long>(paths.size()), ms, listed);
    }
    std::size_t dropped = 0;
    const double dropMs = addByDrop(daily, dropped);
    std::printf("  %-26s %4lld files: %8.1f ms (%zu on the strip)\n", "1000 daily files dropped",
                static_cast<long long>(daily.size()), dropMs, dropped);

    Job job;
    job.fakes.files.answers << daily;
    job.main.findChild<QPushButton*>(QStringLiteral("AddFileButton"))->click();
    QWidget* window = job.main.inputHours();
    window->resize(1280, 800);
    QApplication::processEvents();
    HoursStrip& strip = job.main.inputHours()->strip();
    const auto [fitted, fittedWorst] = redraws(strip, 60);
    strip.showHours(strip.viewFirst() + 24.0 * 200, strip.viewFirst() + 24.0 * 260);
    const auto [zoomed, zoomedWorst] = redraws(strip, 60);
    std::printf("Strip redraw with %zu files at %dx%d: %.2f ms median, %.2f ms 90th percentile "
                "(all shown); %.2f ms median, %.2f ms 90th percentile (60 days shown)\n",
                strip.coverage().files.size(), strip.width(), strip.height(), fitted, fittedWorst,
                zoomed, zoomedWorst);

    return 0;
}
