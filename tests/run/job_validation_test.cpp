#include "run/job_validation.h"

#include <QDir>
#include <QTest>
#include <functional>
#include <set>

using namespace gridloom;
using namespace std::chrono;

using JobEdit = std::function<void(JobSettings&)>;
Q_DECLARE_METATYPE(JobEdit)

namespace {

/// An Extract job that passes every check, against the folders `existing` knows.
JobSettings runnableJob(ProcessingMode mode)
{
    JobSettings job;
    job.mode = mode;
    job.coordinateType =
        mode == ProcessingMode::Extract ? CoordinateType::IJK : CoordinateType::LatLon;
    job.workingDirectory = "/data/run/";
    job.inputPaths = {"/data/a.m3d"};
    job.domain.domainValid = true;
    job.startDate = year_month_day{year{2002}, October, day{1}};
    job.startHour = "0";
    job.endDate = year_month_day{year{2002}, October, day{5}};
    job.endHour = "0";
    job.daysPerFile = "4";
    job.outputName = mode == ProcessingMode::Extract ? "out" : "west.m3d";
    return job;
}

const std::set<std::string> existing{"/data/run/", "/data/run", "/data/file.txt"};

JobCheck check(const JobSettings& job)
{
    return validateJob(job, [](const std::string& path) { return existing.count(path) > 0; });
}

const std::string hoursMessage = "Start and end hours must be between 0 and 23";
const std::string laterMessage = "End date must be later than begin date";
const std::string daysMessage = "The number of days in output 3D files must be greater than 0 ";

} // namespace

class JobValidationTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusesInOrder_data();
    void refusesInOrder();
    void mergeOutputName_data();
    void mergeOutputName();
    void asksForTheTrimmedDirectory();
    void realFileSystemLookUp();
};

void JobValidationTest::refusesInOrder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<JobEdit>("edit");
    QTest::addColumn<QString>("message"); // empty: the job passes

    const int extract = int(ProcessingMode::Extract);
    const int merge = int(ProcessingMode::Merge);
    auto row = [](const char* name, int mode, JobEdit edit, const std::string& message) {
        QTest::newRow(name) << mode << edit << QString::fromStdString(message);
    };

    row(
        "runnable extraction", extract, [](JobSettings&) {}, "");
    row(
        "runnable merge", merge, [](JobSettings&) {}, "");
    row(
        "empty working directory", extract, [](JobSettings& j) { j.workingDirectory = ""; },
        "You must enter a working directory");
    row(
        "blank working directory is empty, not missing", extract,
        [](JobSettings& j) { j.workingDirectory = "   "; }, "You must enter a working directory");
    row(
        "missing directory quoted untrimmed", extract,
        [](JobSettings& j) { j.workingDirectory = " /data/gone/ "; },
        "Unable to find working directory  /data/gone/ . Please make sure it exists");
    row(
        "blanks around an existing directory", extract,
        [](JobSettings& j) { j.workingDirectory = "  /data/run/ "; }, "");
    row(
        "directory without trailing separator", extract,
        [](JobSettings& j) { j.workingDirectory = "/data/run"; }, "");
    row(
        "start hour 24", extract, [](JobSettings& j) { j.startHour = "24"; }, hoursMessage);
    row(
        "end hour 24", extract, [](JobSettings& j) { j.endHour = "24"; }, hoursMessage);
    row(
        "hour beyond 16 bits", extract, [](JobSettings& j) { j.endHour = "99999"; }, hoursMessage);
    row(
        "hours 0 and 23", extract,
        [](JobSettings& j) {
            j.startHour = "0";
            j.endHour = "23";
        },
        "");
    row(
        "empty start hour", extract, [](JobSettings& j) { j.startHour = ""; },
        "The start hour must be a whole number between 0 and 23");
    row(
        "non-numeric end hour", extract, [](JobSettings& j) { j.endHour = "1/2"; },
        "The end hour must be a whole number between 0 and 23");
    row(
        "same date and hour", extract,
        [](JobSettings& j) {
            j.endDate = j.startDate;
            j.endHour = j.startHour = "7";
        },
        laterMessage);
    row(
        "one hour apart", extract,
        [](JobSettings& j) {
            j.endDate = j.startDate;
            j.startHour = "7";
            j.endHour = "8";
        },
        "");
    row(
        "end hour before start hour on the same day", extract,
        [](JobSettings& j) {
            j.endDate = j.startDate;
            j.startHour = "8";
            j.endHour = "7";
        },
        laterMessage);
    row(
        "23 h on the eve to 0 h next day", extract,
        [](JobSettings& j) {
            j.startDate = year_month_day{year{2004}, February, day{29}};
            j.endDate = year_month_day{year{2004}, March, day{1}};
            j.startHour = "23";
            j.endHour = "0";
        },
        "");
    row(
        "end date a day early", extract,
        [](JobSettings& j) {
            j.endDate = year_month_day{year{2002}, September, day{30}};
        },
        laterMessage);
    row(
        "no input file", extract, [](JobSettings& j) { j.inputPaths.clear(); },
        "Enter at least one MM5 file");
    row(
        "domain not confirmed", extract, [](JobSettings& j) { j.domain.domainValid = false; },
        "MM5 domain not specified or not valid");
    row(
        "empty output name", extract, [](JobSettings& j) { j.outputName = ""; },
        "You must enter a output file basename first ");
    row(
        "blank output name", merge, [](JobSettings& j) { j.outputName = "  "; },
        "You must enter a output file basename first ");
    row(
        "zero days", extract, [](JobSettings& j) { j.daysPerFile = "0"; }, daysMessage);
    row(
        "negative days", extract, [](JobSettings& j) { j.daysPerFile = "-3"; }, daysMessage);
    row(
        "days far below 16 bits", extract, [](JobSettings& j) { j.daysPerFile = "-40000"; },
        daysMessage);
    row(
        "days above 16 bits", extract, [](JobSettings& j) { j.daysPerFile = "40000"; },
        "The number of days in output 3D files must be at most 32767");
    row(
        "empty days", extract, [](JobSettings& j) { j.daysPerFile = ""; },
        "The number of days in output 3D files must be a whole number");
    row(
        "one day", extract, [](JobSettings& j) { j.daysPerFile = "1"; }, "");
    row(
        "merge ignores the hidden day count", merge, [](JobSettings& j) { j.daysPerFile = ""; },
        "");
    row(
        "missing directory hides missing input", extract,
        [](JobSettings& j) {
            j.workingDirectory = "/nowhere/";
            j.inputPaths.clear();
        },
        "Unable to find working directory /nowhere/. Please make sure it exists");
    row(
        "hours before period", extract,
        [](JobSettings& j) {
            j.startHour = "30";
            j.endDate = j.startDate;
        },
        hoursMessage);
    row(
        "period before inputs", extract,
        [](JobSettings& j) {
            j.endDate = j.startDate;
            j.inputPaths.clear();
        },
        laterMessage);
    row(
        "inputs before domain", extract,
        [](JobSettings& j) {
            j.inputPaths.clear();
            j.domain.domainValid = false;
        },
        "Enter at least one MM5 file");
    row(
        "domain before output name", extract,
        [](JobSettings& j) {
            j.domain.domainValid = false;
            j.outputName.clear();
        },
        "MM5 domain not specified or not valid");
    row(
        "output name before days", extract,
        [](JobSettings& j) {
            j.outputName.clear();
            j.daysPerFile = "0";
        },
        "You must enter a output file basename first ");
}

void JobValidationTest::refusesInOrder()
{
    QFETCH(int, mode);
    QFETCH(JobEdit, edit);
    QFETCH(QString, message);

    JobSettings job = runnableJob(ProcessingMode(mode));
    edit(job);
    const JobCheck result = check(job);
    QCOMPARE(QString::fromStdString(result.refusal.value_or("")), message);
    QCOMPARE(result.passed(), message.isEmpty());
    if (!result.passed())
        QCOMPARE(result.outputName, job.outputName);
}

void JobValidationTest::mergeOutputName_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("completed");

    const int merge = int(ProcessingMode::Merge);
    QTest::newRow("bare name") << merge << "run1"
                               << "run1.m3d";
    QTest::newRow("blanks kept around a complete name") << merge << " west.m3d "
                                                        << " west.m3d ";
    QTest::newRow("other extension") << merge << "west.dat"
                                     << "west.dat";
    QTest::newRow("two-letter extension") << merge << "west.m3"
                                          << "west.m3.m3d";
    QTest::newRow("three characters with a dot") << merge << "a.b"
                                                 << "a.b.m3d";
    QTest::newRow("bare name trimmed when completed") << merge << "  run1 "
                                                      << "run1.m3d";
    QTest::newRow("just an extension") << merge << ".m3d"
                                       << ".m3d";
    QTest::newRow("non-ASCII extension counted in letters") << merge << "x.äöü"
                                                            << "x.äöü";
    QTest::newRow("extract leaves the name alone") << int(ProcessingMode::Extract) << "out"
                                                   << "out";
}

void JobValidationTest::mergeOutputName()
{
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(QString, completed);

    JobSettings job = runnableJob(ProcessingMode(mode));
    job.outputName = name.toStdString();
    const JobCheck result = check(job);
    QVERIFY(result.passed());
    QCOMPARE(QString::fromStdString(result.outputName), completed);
}

void JobValidationTest::asksForTheTrimmedDirectory()
{
    JobSettings job = runnableJob(ProcessingMode::Extract);
    job.workingDirectory = "  /data/run/  ";
    std::vector<std::string> asked;
    validateJob(job, [&asked](const std::string& path) {
        asked.push_back(path);
        return true;
    });
    QCOMPARE(asked, std::vector<std::string>{"/data/run/"});
}

void JobValidationTest::realFileSystemLookUp()
{
    JobSettings job = runnableJob(ProcessingMode::Extract);
    job.workingDirectory = QDir::tempPath().toStdString() + "/";
    QVERIFY(validateJob(job).passed());
    job.workingDirectory = QDir::tempPath().toStdString() + "/gridloom-no-such-folder-4711/";
    QVERIFY(!validateJob(job).passed());
}

QTEST_GUILESS_MAIN(JobValidationTest)
#include "job_validation_test.moc"
