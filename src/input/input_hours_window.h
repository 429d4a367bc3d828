#pragma once

#include "common/input_file_info.h"
#include "common/job_settings.h"
#include "input/input_coverage.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <span>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace gridloom {

class HoursStrip;

/// What the hours window shows, read from the main window when it is brought up to date.
struct HoursJob {
    std::span<const InputFileInfo> files;
    ProcessingMode mode = ProcessingMode::Extract;
    std::optional<HourSpan> period;
};

/// The window "Input hours": the time strip, its "Fit" button and a legend with one line per
/// gap, overlap and file on another grid. Choosing a legend line shows its hours on the strip.
/// It reads the job through `source` whenever it is told the job changed, and only while it is
/// shown; a hidden window catches up when it is shown again.
class InputHoursWindow final : public QWidget {
    Q_OBJECT

public:
    using Source = std::function<HoursJob()>;
    explicit InputHoursWindow(Source source, QWidget* parent = nullptr);

    /// The job changed: redraws at once while the window is shown.
    void jobChanged();
    HoursStrip& strip() const { return *m_strip; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void onLegendItemActivated(QListWidgetItem* item);

    Source m_source;
    HoursStrip* m_strip = nullptr;
    QPushButton* m_fitButton = nullptr;
    QListWidget* m_legend = nullptr;
    bool m_stale = true;
};

} // namespace gridloom
