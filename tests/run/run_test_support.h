#pragma once

#include "common/job_settings.h"
#include "run/job_validation.h"
#include "support/test_platform.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <tuple>
#include <vector>

// Helpers the tests of the Run action share: the stand-in processor and compact job edits
// for data tables.
namespace gridloom::testing {

using namespace Qt::StringLiterals;

/// The bytes of a file, or an empty array when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes `bytes` to `path`, replacing what was there; false when that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// Runs a run script of the platform's form without a console and returns what it wrote to
/// standard error, or "(did not finish)": with /bin/sh from `folder`; on Windows with cmd.exe
/// from the script's own folder, as Gridloom's console start does, and by its bare name, since
/// cmd.exe's command line would expand "%" or split at "&" in a folder name that the script
/// itself takes literally.
inline QByteArray runScript(const QString& script, const QString& folder)
{
    const auto once = [&] {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        const QFileInfo file(script);
        process.setWorkingDirectory(onWindows ? file.absolutePath() : folder);
        onWindows ? process.start(u"cmd.exe"_s, {u"/d"_s, u"/c"_s, file.fileName()})
                  : process.start(u"/bin/sh"_s, {script});
        return process.waitForFinished(15000) ? process.readAllStandardError()
                                              : QByteArray("(did not finish)");
    };
    QByteArray errors = once();
    // Wine on a busy machine now and then fails to start a program that is there, and its
    // cmd.exe then says it cannot recognize the command. The script runs again, and a command
    // it really cannot find fails the same way twice.
    if (onWindows && errors.contains("Can't recognize")) {
        qWarning("cmd.exe could not start a program, trying once more: %s", errors.constData());
        errors = once();
    }
    return errors;
}

/// A golden file of tests/data: bytes written by hand from the rules.
inline QByteArray goldenFile(const QString& name)
{
    QFile file(QStringLiteral(GRIDLOOM_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no golden file %s", qPrintable(name));
    return file.readAll();
}

/// Copies the stand-in processor into `folder` under the processor's name, executable (with
/// ".exe" on Windows).
inline bool placeStandIn(const QString& folder, const QString& toolName)
{
    const QString target = QDir(folder).filePath(toolName + (onWindows ? u".exe"_s : QString()));
    QFile::remove(target);
    return QFile::copy(QStringLiteral(GRIDLOOM_STAND_IN_PROCESSOR), target) &&
           QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

/// Makes a job's program folder, holding both stand-in processors, and its input and working
/// folders in `base`, spelled as the system spells them, as the user would type them.
inline bool makeJobFolders(const QString& base, QString& program, QString& inputs, QString& work)
{
    program = QDir::toNativeSeparators(base + u"/program"_s);
    inputs = QDir::toNativeSeparators(base + u"/in/"_s);
    work = QDir::toNativeSeparators(base + u"/work/"_s);
    return QDir().mkpath(program) && QDir().mkpath(inputs) && QDir().mkpath(work) &&
           placeStandIn(program, u"wxjoin2"_s) && placeStandIn(program, u"gridfuse"_s);
}

/// What the stand-in writes when started as `program` with `argument` (none when empty) in
/// `directory`, having read `controlFile` with the given content.
inline QByteArray standInRecord(const QString& program, const QString& argument,
                                const QString& directory, const QString& controlFile,
                                const QByteArray& content)
{
    QByteArray record = "program: " + program.toUtf8() + '\n';
    if (!argument.isEmpty())
        record += "argument: " + argument.toUtf8() + '\n';
    record += "directory: " + QFile::encodeName(QDir::toNativeSeparators(directory)) + '\n';
    return record + "control file: " + controlFile.toUtf8() + '\n' + content;
}

/// The job as the check passes it, its working directory taken as existing; a job the check
/// refuses stops the test with the refusal.
inline CheckedJob checked(const JobSettings& job)
{
    JobCheck check = validateJob(job, [](const std::string&) { return true; });
    if (!check.job)
        qFatal("the job check refused: %s", check.refusal->c_str());
    return std::move(*check.job);
}

/// Changes a job from "field=value" steps separated by ";", so that a table row says in one
/// line what sets it apart. Dates are ISO dates; "inputs" is a count of made-up paths.
inline void editJob(JobSettings& job, const QString& steps)
{
    using J = JobSettings;
    const std::map<QString, std::string J::*> texts{
        {u"dir"_s, &J::workingDirectory}, {u"title"_s, &J::title},
        {u"output"_s, &J::outputName},    {u"days"_s, &J::daysPerFile},
        {u"startHour"_s, &J::startHour},  {u"endHour"_s, &J::endHour}};
    for (const QString& step : steps.split(u';', Qt::SkipEmptyParts)) {
        const QString field = step.section(u'=', 0, 0);
        const QString value = step.section(u'=', 1);
        const QDate date = QDate::fromString(value, Qt::ISODate);
        const std::chrono::year_month_day day{std::chrono::year(date.year()),
                                              std::chrono::month(unsigned(date.month())),
                                              std::chrono::day(unsigned(date.day()))};
        if (texts.contains(field))
            job.*texts.at(field) = value.toStdString();
        else if (field.endsWith(u"Date"_s))
            (field == u"startDate"_s ? job.startDate : job.endDate) = day;
        else if (field == u"domainValid"_s)
            job.domain.domainValid = value == u"1"_s;
        else if (field == u"type"_s)
            job.coordinateType = value == u"XY"_s    ? CoordinateType::XY
                                 : value == u"IJK"_s ? CoordinateType::IJK
                                                     : CoordinateType::LatLon;
        else if (field == u"bounds"_s)
            for (std::size_t i = 0; i < 6; ++i)
                job.domain.bounds[i] = value.section(u',', int(i), int(i)).toDouble();
        else if (field == u"inputs"_s) {
            job.inputPaths.clear();
            for (int k = 1; k <= value.toInt(); ++k)
                job.inputPaths.push_back("/in/" + std::to_string(k) + ".m3d");
        } else
            qFatal("no job field named %s", qPrintable(field));
    }
}

/// A golden control file with line `line` (from 1) replaced, or removed when `replacement` is
/// null.
inline QByteArray damaged(const char* golden, int line, const char* replacement)
{
    QList<QByteArray> lines = goldenFile(QString::fromLatin1(golden)).split('\n');
    if (replacement)
        lines[line - 1] = QByteArray(replacement) + '\r';
    else
        lines.removeAt(line - 1);
    return lines.join('\n');
}

/// A worked example's control file broken on one line, which is the line to be blamed.
struct BrokenControlFile {
    QByteArray name;
    QByteArray text;
    int line;
};

/// Every data line of both worked examples after the title, gone or ending in another fixed
/// text, and each number on them replaced by a letter.
inline std::vector<BrokenControlFile> brokenControlFiles()
{
    std::vector<BrokenControlFile> broken;
    const std::tuple<const char*, int, std::set<int>> layouts[] = {
        {"extract_example.inp", 9, {3, 4, 7, 8, 9}}, {"merge_example.inp", 11, {4, 5, 6, 7, 8, 9}}};
    for (const auto& [golden, last, numeric] : layouts) {
        const QList<QByteArray> lines = goldenFile(QLatin1String(golden)).split('\n');
        for (int line = 2; line <= last; ++line) {
            const QByteArray name = golden + QByteArray(" line ") + QByteArray::number(line);
            const QByteArray value = lines[line - 1].split(' ').front();
            broken.push_back({name + " gone", damaged(golden, line, nullptr), line});
            broken.push_back({name + " other text",
                              damaged(golden, line, value + "       ! not this line"), line});
            if (numeric.contains(line))
                broken.push_back(
                    {name + " no number",
                     damaged(golden, line, "x" + lines[line - 1].mid(value.size()).chopped(1)),
                     line});
        }
    }
    return broken;
}

} // namespace gridloom::testing
