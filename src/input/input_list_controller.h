#pragma once

#include "common/input_file_info.h"
#include "common/job_settings.h"
#include "input/domain_limits.h"
#include "input/input_list_rules.h"
#include "input/period_presets.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;

namespace gridloom {

class FileChooser;
class Messages;

/// The list of input 3D.DAT files on the main window: Add File (from the file dialog or files
/// dropped onto the list), Clear All and the click on an entry, with the path-length,
/// duplicate, header and Merge-mode rules. An accepted file presets the output period and shows
/// its domain limits. The list widget holds the paths; this class keeps one header record per
/// entry and what it remembers of the last accepted file.
class InputListController final : public QObject {
    Q_OBJECT

public:
    /// The main-window controls the list reads and writes; none is owned.
    struct Controls {
        QListWidget* fileList;
        QLineEdit* workingDir;
        QDateTimeEdit* startDate;
        QLineEdit* startHour;
        QDateTimeEdit* endDate;
        QLineEdit* endHour;
        /// The limits labels Domain(0) to Domain(5).
        std::array<QLabel*, 6> domain;
    };
    /// What the list asks of the main window.
    struct Hooks {
        std::function<ProcessingMode()> mode;
        /// Turns the latitude/longitude coordinate option on.
        std::function<void()> selectLatLon;
        /// Applies the Merge-mode output-name rule.
        std::function<void()> suggestOutputName;
    };

    InputListController(Controls controls, Hooks hooks, Messages& messages, FileChooser& files,
                        QString programFolder, QObject* parent = nullptr);

    /// Add File: asks for files, starting in the working directory when it names existing
    /// files and in the program's folder otherwise, then adds each chosen one.
    void addFile();
    /// Puts each path through the whole adding procedure in order; a refused one stops
    /// neither those before it nor those after.
    void addPaths(const QStringList& paths);
    /// Adds a file that decideAddFile accepted against this list as it stands now, with all
    /// that an accepted Add File does.
    void addAccepted(const AddFileDecision& decision);
    /// What the list remembers of the last file it accepted.
    const LastFileState& lastFile() const { return m_last; }
    /// Sets the output period's pickers and hour boxes as adding a file does.
    void applyPeriod(const PeriodPreset& preset);
    /// Clear All: empties the list and its records and blanks the limits.
    void clearAll();
    /// Shows the limits of the entry at `row`, in the view that suits the current mode.
    void showEntry(int row);
    /// Shows the last accepted file's limits in `view`; nothing while the list is empty (the
    /// last file's record outlives Clear All). Says whether it showed them.
    bool showLastLimits(LimitsView view);
    /// True while files chosen together are being added; the period controls may change
    /// several times before listChanged says the list is complete.
    bool isAdding() const { return m_adding; }
    /// How many files are listed.
    int count() const;
    /// The listed paths, in list order.
    std::vector<std::string> paths() const;
    /// The header record of each listed file, in list order.
    const std::vector<InputFileInfo>& records() const { return m_infos; }
    /// The row whose limits the limits area shows; -1 when it shows none.
    int shownEntry() const { return m_shownRow; }

Q_SIGNALS:
    /// Files were added to the list (once for all files chosen together), or the list was
    /// cleared.
    void listChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// True when the file was listed.
    bool addPath(const QString& chosen);
    void setListColour(ListColour colour);
    void showDomainLimits(const std::array<std::string, 10>& limits, LimitsView view);
    void onFileListSelectionChanged();

    Controls m_controls;
    Hooks m_hooks;
    Messages& m_messages;
    FileChooser& m_files;
    QString m_programFolder;
    /// One header record per list entry, in the same order.
    std::vector<InputFileInfo> m_infos;
    LastFileState m_last;
    ListedPaths m_listed;
    /// Set while this class itself changes the list, whose row changes are then no clicks.
    bool m_changingList = false;
    bool m_adding = false;
    int m_shownRow = -1;
};

} // namespace gridloom
