#include "input/input_list_controller.h"

#include "common/messages.h"
#include "common/native_text.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "input/file_chooser.h"
#include "input/header_reader.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>
#include <utility>

namespace gridloom {

namespace {

using namespace std::chrono;

// The Julian day number of 1 January 1970, where sys_days counts from.
constexpr qint64 julianDayOfEpoch = 2440588;

// A picker's value, its date and time of day taken as they read, whatever zone it is set to.
sys_seconds pickerValue(const QDateTimeEdit& picker)
{
    const QDateTime value = picker.dateTime();
    return sys_days{days{value.date().toJulianDay() - julianDayOfEpoch}} +
           seconds{value.time().msecsSinceStartOfDay() / 1000};
}

void setPicker(QDateTimeEdit& picker, DateHour hour)
{
    const auto day = floor<days>(hour);
    // Change date and time of the picker's own value, so it keeps its time zone.
    QDateTime value = picker.dateTime();
    value.setDate(QDate::fromJulianDay(day.time_since_epoch().count() + julianDayOfEpoch));
    value.setTime(QTime(static_cast<int>((hour - day).count()), 0));
    picker.setDateTime(value);
}

QString dateHourText(DateHour hour)
{
    const auto day = floor<days>(hour);
    const QDate date = QDate::fromJulianDay(day.time_since_epoch().count() + julianDayOfEpoch);
    return date.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(" %1:00 UTC")
               .arg(static_cast<int>((hour - day).count()), 2, 10, QLatin1Char('0'));
}

// What a list entry's tooltip says about its file.
QString describe(const InputFileInfo& info)
{
    const auto index = domainLimitTexts(info.extentText, LimitsView::Index);
    const auto geographic = domainLimitTexts(info.extentText, LimitsView::Geographic);
    const QString to = QStringLiteral(" To ");
    QStringList lines;
    lines << QStringLiteral("Grid spacing: %1 km")
                 .arg(fromNativeText(formatGeneral(info.gridSpacingKm)))
          << QStringLiteral("First hour: %1").arg(dateHourText(firstHour(info)))
          << QStringLiteral("Last hour: %1").arg(dateHourText(lastHour(info)))
          << QStringLiteral("Hours: %1").arg(info.hourCount)
          << QStringLiteral("Index i: ") + fromNativeText(index[0]) + to +
                 fromNativeText(index[2]) + QStringLiteral(", j: ") + fromNativeText(index[1]) +
                 to + fromNativeText(index[3]) + QStringLiteral(", k: ") +
                 fromNativeText(index[4]) + to + fromNativeText(index[5])
          << QStringLiteral("Lon: ") + fromNativeText(geographic[0]) + to +
                 fromNativeText(geographic[2]) + QStringLiteral(", Lat: ") +
                 fromNativeText(geographic[1]) + to + fromNativeText(geographic[3]);
    return lines.join(QLatin1Char('\n'));
}

// The local files among dropped data, in native form; anything else dropped is ignored.
QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls())
        return files;
    const auto urls = data->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            files << QDir::toNativeSeparators(url.toLocalFile());
    }
    return files;
}

} // namespace

InputListController::InputListController(Controls controls, Hooks hooks, Messages& messages,
                                         FileChooser& files, QString programFolder, QObject* parent)
    : QObject(parent), m_controls(controls), m_hooks(std::move(hooks)), m_messages(messages),
      m_files(files), m_programFolder(std::move(programFolder))
{
    QListWidget* list = m_controls.fileList;
    connect(list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showEntry(m_controls.fileList->row(item)); });
    // Moving through the list with the arrow keys shows each entry as a click would. The
    // selection is what follows them: the current row also moves when the focus merely
    // enters the list, which is no choice of an entry.
    connect(list, &QListWidget::itemSelectionChanged, this,
            &InputListController::onFileListSelectionChanged);
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
}

void InputListController::addFile()
{
    const QString workingDir = m_controls.workingDir->text();
    const std::string pattern = toNativeText(workingDir);
    const bool useWorkingDir = !trimBlanks(pattern).empty() && patternMatchesFile(pattern);
    const QStringList chosen = m_files.chooseInputFiles(
        m_controls.fileList->window(), useWorkingDir ? workingDir : m_programFolder);
    addPaths(chosen);
}

void InputListController::addPaths(const QStringList& paths)
{
    for (const QString& path : paths)
        addPath(path);
}

void InputListController::addPath(const QString& chosen)
{
    const PathCheck check = checkPathLength(toNativeText(chosen), shortPath, nativeTextEncoding());
    setListColour(check.colour);
    if (check.tooLong)
        m_messages.pathError(fromNativeText(pathTooLongMessage));
    if (check.path.empty())
        return;
    if (isFileListed(paths(), check.path))
        return;

    const auto info = readHeader(check.path);
    if (!info) {
        m_messages.jobError(fromNativeText(unreadableHeaderMessage));
        return;
    }

    const ProcessingMode mode = m_hooks.mode();
    if (mode == ProcessingMode::Merge) {
        if (const auto refusal = mergeRefusal(m_infos.size(), m_last, *info)) {
            m_messages.jobError(fromNativeText(*refusal));
            return;
        }
        applyPeriod(setPeriodForMerge(*info));
        m_hooks.suggestOutputName();
    } else {
        applyPeriod(setPeriodForExtract(pickerValue(*m_controls.startDate),
                                        pickerValue(*m_controls.endDate), count() > 0, *info));
    }

    m_last = lastFileStateOf(*info);
    if (mode == ProcessingMode::Merge) {
        showDomainLimits(info->extentText, LimitsView::Geographic);
        m_hooks.selectLatLon();
    } else {
        showDomainLimits(info->extentText, LimitsView::Index);
    }

    m_changingList = true;
    auto* item = new QListWidgetItem(fromNativeText(check.path));
    item->setToolTip(describe(*info));
    m_controls.fileList->addItem(item);
    m_changingList = false;
    m_infos.push_back(*info);
    m_shownRow = static_cast<int>(m_infos.size()) - 1;
    Q_EMIT listChanged();
}

void InputListController::clearAll()
{
    for (QLabel* label : m_controls.domain)
        label->setText(fromNativeText(noLimitsText));
    m_changingList = true;
    while (m_controls.fileList->count() > 0) {
        delete m_controls.fileList->takeItem(m_controls.fileList->count() - 1);
        m_infos.pop_back();
    }
    m_shownRow = -1;
    m_changingList = false;
    Q_EMIT listChanged();
}

void InputListController::showEntry(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_infos.size())
        return;
    m_shownRow = row;
    showDomainLimits(limitTextsOf(m_infos[static_cast<std::size_t>(row)]),
                     m_hooks.mode() == ProcessingMode::Merge ? LimitsView::Geographic
                                                             : LimitsView::Index);
}

void InputListController::showLastLimits(LimitsView view)
{
    if (count() == 0)
        return;
    m_shownRow = count() - 1;
    showDomainLimits(m_last.extentText, view);
}

int InputListController::count() const
{
    return m_controls.fileList->count();
}

std::vector<std::string> InputListController::paths() const
{
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(m_controls.fileList->count()));
    for (int row = 0; row < m_controls.fileList->count(); ++row)
        result.push_back(toNativeText(m_controls.fileList->item(row)->text()));
    return result;
}

bool InputListController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_controls.fileList->viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (droppedFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        addPaths(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void InputListController::setListColour(ListColour colour)
{
    QPalette palette = m_controls.fileList->palette();
    palette.setColor(QPalette::Base,
                     colour == ListColour::Yellow ? QColor(255, 255, 0) : QColor(255, 255, 255));
    m_controls.fileList->setPalette(palette);
}

void InputListController::applyPeriod(const PeriodPreset& preset)
{
    if (preset.start) {
        setPicker(*m_controls.startDate, preset.start->dateTime);
        m_controls.startHour->setText(fromNativeText(preset.start->hourText));
    }
    if (preset.end) {
        setPicker(*m_controls.endDate, preset.end->dateTime);
        m_controls.endHour->setText(fromNativeText(preset.end->hourText));
    }
}

void InputListController::showDomainLimits(const std::array<std::string, 10>& limits,
                                           LimitsView view)
{
    const auto texts = domainLimitTexts(limits, view);
    for (std::size_t n = 0; n < texts.size(); ++n)
        m_controls.domain[n]->setText(fromNativeText(texts[n]));
}

void InputListController::onFileListSelectionChanged()
{
    const auto selected = m_controls.fileList->selectedItems();
    if (!m_changingList && !selected.isEmpty())
        showEntry(m_controls.fileList->row(selected.front()));
}

} // namespace gridloom
