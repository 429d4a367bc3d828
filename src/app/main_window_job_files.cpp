// The main window's File menu items for jobs kept on disk: opening a control file, the list of
// recent control files, and writing a job's files without running it. Opening takes a job into
// the window through the same steps a user's entries go through (the mode option, Add File, the
// coordinate dialog's OK); everything that can refuse is judged before anything changes, so a
// refused file leaves the window as it was.
#include "app/calendar_day.h"
#include "app/main_window.h"
#include "app/typed_length_limit.h"
#include "common/messages.h"
#include "common/native_text.h"
#include "common/platform.h"
#include "domain/coordinate_dialog_host.h"
#include "domain/domain_checks.h"
#include "input/file_chooser.h"
#include "input/input_list_controller.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"
#include "run/control_file_reader.h"
#include "run/recent_control_files.h"
#include "run/run_action.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace gridloom {

namespace {

const QString recentKey = QStringLiteral("RecentControlFiles");

// Kept under the program's own name, whatever the running executable is called, in the format
// and place the application chose for its settings.
QSettings settings()
{
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Gridloom"),
                     QStringLiteral("Gridloom"));
}

void storeRecent(const std::vector<std::string>& recent)
{
    QStringList list;
    for (const auto& path : recent)
        list << fromNativeText(path);
    settings().setValue(recentKey, list);
}

std::vector<std::string> loadRecent()
{
    std::vector<std::string> recent;
    const QStringList list = settings().value(recentKey).toStringList();
    for (const QString& path : list)
        recent.push_back(toNativeText(path));
    return recent;
}

DateHour toDateHour(const StampedHour& stamp)
{
    return std::chrono::sys_days(stamp.date) + std::chrono::hours(stamp.hour);
}

// A signed degree value as the dialog takes it: unsigned, the sign in the hemisphere box.
std::pair<std::string, std::string> degreesAndHemisphere(const std::string& value,
                                                         const char* positive, const char* negative)
{
    if (value.starts_with('-'))
        return {value.substr(1), negative};
    return {value.starts_with('+') ? value.substr(1) : value, positive};
}

// The box as the coordinate dialog's fields of the job's layout would hold it.
EnteredDomainTexts enteredDomain(const ReadJob& job)
{
    const auto& b = job.bounds;
    if (job.mode == ProcessingMode::Extract)
        return IndexDomainTexts{b[0], b[1], b[2], b[3], b[4], b[5]};
    if (job.coordinateType == CoordinateType::XY)
        return XYDomainTexts{b[0], b[1], b[2], b[3]};
    const auto [lonStart, lonStartHemisphere] = degreesAndHemisphere(b[0], "E", "W");
    const auto [lonEnd, lonEndHemisphere] = degreesAndHemisphere(b[1], "E", "W");
    const auto [latStart, latStartHemisphere] = degreesAndHemisphere(b[2], "N", "S");
    const auto [latEnd, latEndHemisphere] = degreesAndHemisphere(b[3], "N", "S");
    return LatLonDomainTexts{latStart, lonStart, latStartHemisphere, lonStartHemisphere,
                             latEnd,   lonEnd,   latEndHemisphere,   lonEndHemisphere};
}

// An input path as the file names it; a relative one counts from the control file's folder,
// where the processor runs, when a file is there.
std::string inputPath(const std::string& written, const QString& folder)
{
    const QString path = fromNativeText(written);
    if (!QDir::isRelativePath(path))
        return written;
    const QString resolved = QDir::toNativeSeparators(QDir(folder).absoluteFilePath(path));
    return isOrdinaryFile(toNativeText(resolved)) ? toNativeText(resolved) : written;
}

} // namespace

void MainWindow::buildJobFileItems(QMenu* fileMenu)
{
    m_openControlFileAction = fileMenu->addAction(QStringLiteral("Open control file\u2026"));
    m_openControlFileAction->setObjectName(QStringLiteral("OpenControlFile"));
    m_openControlFileAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_openControlFileAction, &QAction::triggered, this, &MainWindow::chooseControlFile);

    m_recentMenu = fileMenu->addMenu(QStringLiteral("Recent control files"));
    m_recentMenu->setObjectName(QStringLiteral("RecentControlFiles"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::refreshRecentMenu);
    // The File menu itself too, so the submenu's entries are current when it is pointed at.
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::refreshRecentMenu);

    m_writeJobFilesAction = fileMenu->addAction(QStringLiteral("Write job files"));
    m_writeJobFilesAction->setObjectName(QStringLiteral("WriteJobFiles"));
    m_writeJobFilesAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_writeJobFilesAction, &QAction::triggered, this, &MainWindow::writeJobFiles);
    fileMenu->addSeparator();

    // Where Write job files says what it wrote; made now so the window's size stays put.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    refreshRecentMenu();
}

void MainWindow::chooseControlFile()
{
    QString folder = m_workingDirBox->text().trimmed();
    if (!dirExists(toNativeText(folder))) {
        const QStringList recent = recentControlFiles();
        folder = recent.isEmpty() ? QString() : QFileInfo(recent.front()).absolutePath();
    }
    const QString chosen = m_services.files.chooseControlFile(this, folder);
    if (!chosen.isEmpty())
        openControlFile(chosen);
}

/// A control file's job, judged and ready to be entered.
struct MainWindow::OpenedJob {
    QString path;
    QString folder;
    ReadJob job;
    std::vector<AddFileDecision> inputs;
    EnteredDomainTexts domain;
};

bool MainWindow::openControlFile(const QString& path)
{
    OpenedJob opened;
    if (!judgeControlFile(path, opened))
        return false;
    enterJob(opened);
    rememberControlFile(opened.path);
    statusBar()->showMessage(QStringLiteral("Opened %1").arg(opened.path));
    return true;
}

bool MainWindow::judgeControlFile(const QString& path, OpenedJob& opened)
{
    opened.path = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const std::string file = toNativeText(opened.path);
    const auto refuse = [this, &file](std::size_t line, const std::string& what) {
        m_services.messages.jobError(fromNativeText(controlFileRefusal(file, line, what)));
        return false;
    };

    ControlFileRead read = readControlFile(file);
    if (const auto* error = std::get_if<ReadError>(&read)) {
        m_services.messages.jobError(fromNativeText(controlFileRefusal(file, *error)));
        return false;
    }
    opened.job = std::move(std::get<ReadJob>(read));
    const ReadJob& job = opened.job;
    opened.folder = QDir::toNativeSeparators(QFileInfo(opened.path).absolutePath());
    if (!opened.folder.endsWith(QDir::separator()))
        opened.folder += QDir::separator();

    // Judged on a list and a domain of their own, so nothing of the window changes yet.
    if (fromNativeText(job.title).size() > m_titleBox->maxLength())
        return refuse(1, "expected a title of at most " + std::to_string(m_titleBox->maxLength()) +
                             " characters.");
    for (const StampedHour* stamp : {&job.start, &job.end}) {
        const QDate date = toQDate(stamp->date);
        if (date < m_startDate->minimumDate() || date > m_startDate->maximumDate())
            return refuse(stamp == &job.start ? job.startLine : job.endLine,
                          "expected a date from " +
                              toNativeText(m_startDate->minimumDate().toString(Qt::ISODate)) +
                              " to " +
                              toNativeText(m_startDate->maximumDate().toString(Qt::ISODate)) + ".");
    }
    ListedPaths listed;
    LastFileState last;
    for (std::size_t k = 0; k < job.inputPaths.size(); ++k) {
        const std::string input = inputPath(job.inputPaths[k], opened.folder);
        AddFileDecision decision =
            decideAddFile(input, job.mode, listed, last, shortPath, nativeTextEncoding());
        const std::size_t line = job.firstInputLine + k;
        if (decision.alreadyListed)
            return refuse(line, input + " is listed twice; a file is an input once.");
        if (!decision.accepted && !pathExists(input))
            return refuse(line, "expected an existing input file; " + input + " was not found.");
        if (!decision.accepted)
            return refuse(line, input + ": " +
                                    decision.refusal.value_or(
                                        std::string("no short form of this long path")));
        listed.insert(decision.check.path);
        last = lastFileStateOf(*decision.accepted);
        opened.inputs.push_back(std::move(decision));
    }
    opened.domain = enteredDomain(job);
    DomainSelection scratch;
    if (const auto refusal = confirmDomain(opened.domain, scratch))
        return refuse(job.boundsLine, *refusal);
    return true;
}

void MainWindow::enterJob(const OpenedJob& opened)
{
    // In an order in which no step undoes an earlier one: adding files presets the period and,
    // in Merge mode, turns to Lat/Lon and suggests an output name.
    const ReadJob& job = opened.job;
    m_modeOptions[std::size_t(job.mode)]->setChecked(true);
    m_inputList->clearAll();
    for (const AddFileDecision& input : opened.inputs)
        m_inputList->addAccepted(input);
    m_inputList->applyPeriod(
        PeriodPreset{periodEnd(toDateHour(job.start)), periodEnd(toDateHour(job.end))});
    if (job.mode == ProcessingMode::Merge)
        (job.coordinateType == CoordinateType::XY ? m_xyOption : m_latLonOption)->setChecked(true);
    // What the file cannot say starts as it does in a new window.
    m_domain = DomainSelection{};
    m_coordinateDialogs->enterAndConfirm(opened.domain);
    m_titleBox->setText(fromNativeText(job.title));
    m_workingDirBox->setText(opened.folder);
    m_daysPerFileCountBox->setText(job.mode == ProcessingMode::Extract
                                       ? fromNativeText(job.daysPerFile)
                                       : QStringLiteral("0"));
    m_outputNameLimit->setText(fromNativeText(job.outputName));
    updateDomainMap();
}

void MainWindow::writeJobFiles()
{
    const RunOutcome outcome =
        RunAction(m_services.messages, m_services.starter, m_services.programFolder)
            .writeJobFiles(jobSettings());
    const QString outputName = fromNativeText(outcome.checkedOutputName.value_or(""));
    if (outcome.checkedOutputName && outputName != m_outFileBaseNameBox->text())
        m_outputNameLimit->setText(outputName);
    const auto& written = outcome.files;
    if (!written)
        return;
    rememberControlFile(written->controlFile);
    statusBar()->showMessage(
        QStringLiteral("Wrote %1 and %2").arg(written->controlFile, written->runScript));
}

QStringList MainWindow::recentControlFiles() const
{
    return settings().value(recentKey).toStringList();
}

void MainWindow::rememberControlFile(const QString& path)
{
    storeRecent(withRecentControlFile(loadRecent(), toNativeText(path)));
}

void MainWindow::refreshRecentMenu()
{
    const std::vector<std::string> before = loadRecent();
    const std::vector<std::string> recent = withoutGoneControlFiles(before, isOrdinaryFile);
    if (recent != before)
        storeRecent(recent);
    m_recentMenu->clear();
    for (const std::string& path : recent) {
        const QString name = fromNativeText(path);
        QString text = name;
        QAction* entry = m_recentMenu->addAction(text.replace(u'&', QStringLiteral("&&")));
        connect(entry, &QAction::triggered, this, [this, name] { openControlFile(name); });
    }
    m_recentMenu->menuAction()->setEnabled(!recent.empty());
}

} // namespace gridloom
