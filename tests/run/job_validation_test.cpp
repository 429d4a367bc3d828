// The rules of the job check, against a made-up file system that knows one folder. Every
// message, in the order of the checks, is reached through the window in whole_job_test.
#include "run/job_validation.h"
#include "run_test_support.h"

#include <QTest>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

const QString hours = QStringLiteral("Start and end hours must be between 0 and 23");
const QString later = QStringLiteral("End date must be later than begin date");
const QString days =
    QStringLiteral("The number of days in output 3D files must be greater than 0 ");

/// A job that passes every check: 1 October 2002 0 h to 5 October 0 h, one input.
JobCheck check(ProcessingMode mode, const QString& steps)
{
    JobSettings job;
    job.mode = mode;
    editJob(job, u"dir=/data/run/;inputs=1;domainValid=1;startDate=2002-10-01;"
                 u"endDate=2002-10-05;startHour=0;endHour=0;days=4;output=out"_s);
    editJob(job, steps);
    return validateJob(job, [](const std::string& path) { return path == "/data/run/"; });
}

} // namespace

class JobValidationTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules_data();
    void rules();
};

void JobValidationTest::rules_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("message");    // empty: the job passes
    QTest::addColumn<QString>("outputName"); // after the check
    const auto row = [](const char* name, ProcessingMode mode, const char* steps,
                        const QString& message, const char* outputName = "out") {
        QTest::newRow(name) << int(mode) << QString::fromUtf8(steps) << message
                            << QString::fromUtf8(outputName);
    };
    const auto extract = ProcessingMode::Extract;
    const auto merge = ProcessingMode::Merge;
    row("runnable extraction leaves the name alone", extract, "", {});
    row("blank directory is empty", extract, "dir=   ", u"You must enter a working directory"_s);
    row("directory looked up trimmed", extract, "dir=  /data/run/ ", {});
    row("missing directory quoted untrimmed", extract, "dir= /gone/ ",
        u"Unable to find working directory  /gone/ . Please make sure it exists"_s);
    row("hours 0 and 23", extract, "startHour=0;endHour=23", {});
    row("start hour -1", extract, "startHour=-1", hours);
    row("end hour 24", extract, "endHour=24", hours);
    row("hour beyond 16 bits", extract, "endHour=99999", hours);
    row("one hour apart", extract, "endDate=2002-10-01;endHour=1", {});
    row("hour before on the same day", extract, "endDate=2002-10-01;startHour=8;endHour=7", later);
    row("23 h to 0 h over a leap day", extract,
        "startDate=2004-02-29;endDate=2004-03-01;startHour=23;endHour=0", {});
    row("one day", extract, "days=1", {});
    row("days far below 16 bits", extract, "days=-40000", days);
    row("merge ignores the hidden day count", merge, "days=0", {}, "out.m3d");
    // A refused job keeps its name: completing it is the last step.
    row("refused merge keeps its name", merge, "inputs=0", u"Enter at least one MM5 file"_s);
    row("blank merge name", merge, "output=  ", u"You must enter a output file basename first "_s,
        "  ");
    row("merge name trimmed when completed", merge, "output=  run1 ", {}, "run1.m3d");
    row("complete name kept with its blanks", merge, "output= west.m3d ", {}, " west.m3d ");
    row("other extension", merge, "output=west.dat", {}, "west.dat");
    row("two-letter extension", merge, "output=west.m3", {}, "west.m3.m3d");
    row("three characters", merge, "output=a.b", {}, "a.b.m3d");
    row("just an extension", merge, "output=.m3d", {}, ".m3d");
    row("extension counted in letters", merge, "output=x.äöü", {}, "x.äöü");
}

void JobValidationTest::rules()
{
    QFETCH(int, mode);
    QFETCH(QString, steps);
    QFETCH(QString, message);
    QFETCH(QString, outputName);
    const JobCheck result = check(ProcessingMode(mode), steps);
    QCOMPARE(QString::fromStdString(result.refusal.value_or("")), message);
    QCOMPARE(QString::fromStdString(result.outputName), outputName);
}

QTEST_GUILESS_MAIN(JobValidationTest)
#include "job_validation_test.moc"
