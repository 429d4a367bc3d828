#pragma once

// The main window is the program's one working window, and the job's settings live in its
// controls: every action reads them at the moment it runs (jobSettings()) and writes back only
// what it changes. The mode options switch between Merge and Extract and the coordinate
// options between X/Y, Lat/Lon and the hidden (i,j,k); both reshape the window. The work behind
// the buttons belongs to the input list, the coordinate dialog and the run action, which this
// window creates and wires but does not implement.

#include "app/services.h"
#include "common/domain_selection.h"
#include "common/drawn_box.h"
#include "common/job_settings.h"
#include "input/domain_limits.h"
#include "map/map_snapshot.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;

namespace gridloom {

class CoordinateDialogHost;
class DomainMapView;
class InputHoursWindow;
class InputListController;
class TypedLengthLimit;

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The current processing mode: Merge while option 0 is selected.
    ProcessingMode mode() const;
    /// The coordinate type whose option is selected; None when no option is.
    CoordinateType coordinateType() const;
    /// A snapshot of every choice a run needs, read from the controls now.
    JobSettings jobSettings() const;
    /// The confirmed output domain.
    const DomainSelection& domain() const { return m_domain; }
    /// The input list behind "Add File", "Clear All" and the list.
    InputListController& inputList() const { return *m_inputList; }
    /// The coordinate dialog behind "Enter coordinates".
    CoordinateDialogHost& coordinateDialogs() const { return *m_coordinateDialogs; }

    /// Runs when a mode option becomes selected; any index but 0 and 1 does nothing.
    void applyMode(int optionIndex);
    /// The window's reaction to a coordinate option becoming selected.
    void selectCoordinateType(CoordinateType type);
    /// Fills in or updates the output name from the start date and hour, in Merge mode only.
    void suggestOutputName();
    /// Closes the window, which ends the program.
    void exitProgram();

    /// Makes the domain map's window; the program's own loads it from the map module.
    using DomainMapFactory = std::function<DomainMapView*(QWidget* parent)>;
    void setDomainMapFactory(DomainMapFactory factory) { m_domainMapFactory = std::move(factory); }
    /// View > Domain map: makes the map's window on first use, then shows and raises it.
    void openDomainMap();
    /// The map's window once it was opened; nullptr before.
    DomainMapView* domainMap() const { return m_domainMap; }
    /// What the map shows of the job, read from the controls and the open dialog now.
    MapSnapshot mapSnapshot() const;
    /// A box drawn on the map: opens the coordinate dialog with its fields filled from it.
    void onBoxDrawn(const DrawnBox& box);

    /// View > Input hours: makes the hours window on first use, then shows and raises it.
    void openInputHours();
    /// The hours window once it was opened; nullptr before.
    InputHoursWindow* inputHours() const { return m_inputHours; }

    /// Opens a control file: the window takes its job as if the user had entered it, or shows
    /// one message and stays exactly as it was. Returns whether the file was opened.
    bool openControlFile(const QString& path);
    /// File > "Open control file…": asks for a control file, then opens it.
    void chooseControlFile();
    /// File > "Write job files": everything Run does up to writing the run script, then says
    /// in the status bar what it wrote instead of starting the console.
    void writeJobFiles();
    /// The control files opened or written lately, newest first, as kept between runs.
    QStringList recentControlFiles() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildJobFileItems(QMenu* fileMenu);
    struct OpenedJob;
    /// Reads a control file and judges its job as the user's own entries would be judged,
    /// without changing anything; false when the one refusal was shown.
    bool judgeControlFile(const QString& path, OpenedJob& opened);
    /// Enters a judged job into the window the way the user's own entries go in.
    void enterJob(const OpenedJob& opened);
    void refreshRecentMenu();
    void rememberControlFile(const QString& path);
    void buildModeFrame(QWidget* client);
    void buildInputsFrame(QWidget* client);
    void buildPeriodFrame(QWidget* client);
    void buildLimitsPanel(QWidget* client);
    void buildDomainFrame(QWidget* client);
    void buildOutputFrame(QWidget* client);
    void buildButtons(QWidget* client);
    void setTabOrder();
    void showLimitsCaptions(LimitsView view);
    void connectControls();

    void onAddFileButtonClicked();
    void onClearAllFileButtonClicked();
    void onEnterCoordinatesClicked();
    void onWorkDirButtonClicked();
    void onRunButtonClicked();
    void updateDomainMap();
    void addInputHoursItem(QMenu* viewMenu);
    void connectInputHours();
    void updateInputHours();

    Services m_services;
    DomainSelection m_domain;
    std::unique_ptr<InputListController> m_inputList;
    std::unique_ptr<CoordinateDialogHost> m_coordinateDialogs;

    QAction* m_exitAction = nullptr;
    QAction* m_openControlFileAction = nullptr;
    QAction* m_writeJobFilesAction = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_domainMapAction = nullptr;
    DomainMapFactory m_domainMapFactory;
    DomainMapView* m_domainMap = nullptr;
    QAction* m_inputHoursAction = nullptr;
    InputHoursWindow* m_inputHours = nullptr;
    std::array<QRadioButton*, 2> m_modeOptions{};
    QButtonGroup* m_modeGroup = nullptr;

    QLineEdit* m_titleBox = nullptr;
    QLineEdit* m_workingDirBox = nullptr;
    QPushButton* m_workDirButton = nullptr;
    QListWidget* m_fileListBox = nullptr;
    QPushButton* m_addFileButton = nullptr;
    QPushButton* m_clearAllFileButton = nullptr;

    QDateTimeEdit* m_startDate = nullptr;
    QLineEdit* m_startHour = nullptr;
    QDateTimeEdit* m_endDate = nullptr;
    QLineEdit* m_endHour = nullptr;

    QLabel* m_labelX = nullptr;
    QLabel* m_labelY = nullptr;
    QLabel* m_labelZ = nullptr;
    std::array<QLabel*, 6> m_domainLabels{};

    QGroupBox* m_domainCoords = nullptr;
    QRadioButton* m_latLonOption = nullptr;
    QRadioButton* m_xyOption = nullptr;
    QRadioButton* m_ijkOption = nullptr;
    QPushButton* m_enterCoordinatesButton = nullptr;

    QLabel* m_outputNameCaption = nullptr;
    QLineEdit* m_outFileBaseNameBox = nullptr;
    TypedLengthLimit* m_outputNameLimit = nullptr;
    QLabel* m_daysPerFileCaption = nullptr;
    QLineEdit* m_daysPerFileCountBox = nullptr;

    QPushButton* m_runButton = nullptr;
    QPushButton* m_exitButton = nullptr;
};

} // namespace gridloom
