#include "app/main_window.h"

#include "app/calendar_day.h"
#include "app/domain_map_loader.h"
#include "app/output_name.h"
#include "app/typed_length_limit.h"
#include "common/key_filters.h"
#include "common/key_press_filter.h"
#include "common/native_text.h"
#include "domain/coordinate_dialog.h"
#include "domain/coordinate_dialog_host.h"
#include "input/input_hours_window.h"
#include "input/input_list_controller.h"
#include "run/directory_chooser.h"
#include "run/run_action.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace gridloom {

namespace {

constexpr int TextLimit = 132;

// The window's faces: captions of frames, options, buttons and the small labels; headings of
// fields; the Run and Exit buttons. Notes and values keep the window's own 8-point face.
QFont windowFont()
{
    QFont font(QStringLiteral("Arial"), 8, QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont captionFont()
{
    QFont font = windowFont();
    font.setBold(true);
    return font;
}

QFont headingFont()
{
    QFont font(QStringLiteral("Arial"), 9, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont commandFont()
{
    QFont font(QStringLiteral("Arial"), 11, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, QPoint at, const QFont& font,
              const char* name = nullptr)
{
    auto* result = new QLabel(text, parent);
    if (name)
        result->setObjectName(QLatin1String(name));
    result->setFont(font);
    result->adjustSize();
    result->move(at);
    return result;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QRect& place)
{
    auto* box = new QGroupBox(caption, parent);
    box->setFont(captionFont());
    box->setGeometry(place);
    return box;
}

QLineEdit* field(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* edit = named(new QLineEdit(text, parent), name);
    edit->setFont(windowFont());
    edit->setGeometry(place);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                    const QFont& font)
{
    auto* result = named(new QPushButton(caption, parent), name);
    result->setFont(font);
    result->setGeometry(place);
    return result;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* result = named(new QRadioButton(caption, parent), name);
    result->setFont(captionFont());
    result->setGeometry(place);
    return result;
}

// A date picker that Tab leaves, as everywhere else in the window; its day, month and year are
// reached with the arrow keys instead of Tab.
class DatePicker final : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QDateTimeEdit* datePicker(QWidget* parent, const char* name, const QRect& place)
{
    auto* picker = named(new DatePicker(parent), name);
    // The period is in UTC; a local zone would give some hours twice and skip others.
    picker->setTimeSpec(Qt::UTC);
    picker->setDateTime(QDateTime(toQDate(firstDayShown), QTime(0, 0), Qt::UTC));
    picker->setDisplayFormat(QStringLiteral("dd MMMM yyyy"));
    picker->setCalendarPopup(true);
    picker->setFont(windowFont());
    picker->setGeometry(place);
    return picker;
}

} // namespace

MainWindow::MainWindow(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setWindowTitle(QStringLiteral("Gridloom - Graphical User Interface"));
    setFont(windowFont());

    buildMenu();
    auto* client = new QWidget(this);
    client->setFixedSize(639, 600);
    setCentralWidget(client);

    auto* line = new QFrame(client);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, 0, 639, 2);

    buildModeFrame(client);
    buildInputsFrame(client);
    buildPeriodFrame(client);
    buildLimitsPanel(client);
    buildDomainFrame(client);
    buildOutputFrame(client);
    buildButtons(client);
    setTabOrder();

    m_inputList = std::make_unique<InputListController>(
        InputListController::Controls{m_fileListBox, m_workingDirBox, m_startDate, m_startHour,
                                      m_endDate, m_endHour, m_domainLabels},
        InputListController::Hooks{[this] { return mode(); },
                                   [this] { m_latLonOption->setChecked(true); },
                                   [this] { suggestOutputName(); }},
        m_services.messages, m_services.files, m_services.programFolder);
    m_coordinateDialogs =
        std::make_unique<CoordinateDialogHost>(this, m_domain, m_services.messages);
    connectControls();

    // Start-up: Merge mode through its option, as a user's selection would do it.
    m_modeOptions[0]->setChecked(true);
    m_domain = DomainSelection{};

    adjustSize();
    setFixedSize(size());
    m_titleBox->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("File"));
    buildJobFileItems(fileMenu);
    m_exitAction = fileMenu->addAction(QStringLiteral("Exit"));
    m_exitAction->setObjectName(QStringLiteral("Exit"));

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("View"));
    viewMenu->setObjectName(QStringLiteral("View"));
    m_domainMapAction = viewMenu->addAction(QStringLiteral("Domain map"));
    m_domainMapAction->setObjectName(QStringLiteral("DomainMapItem"));
    m_domainMapAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    m_domainMapFactory = [folder = m_services.programFolder](QWidget* parent) {
        return createDomainMap(parent, folder);
    };
    addInputHoursItem(viewMenu);
}

void MainWindow::buildModeFrame(QWidget* client)
{
    QGroupBox* box =
        frame(client, QStringLiteral("MERGING OR EXTRACTING OPTION"), QRect(8, 8, 625, 49));
    m_modeOptions[0] = option(box, "MergingOptionButton0", QStringLiteral("Merge existing domains"),
                              QRect(208, 16, 177, 25));
    // The two selection circles face each other in the middle of the frame.
    m_modeOptions[0]->setLayoutDirection(Qt::RightToLeft);
    m_modeOptions[1] = option(box, "MergingOptionButton1",
                              QStringLiteral("Extract or append in time"), QRect(432, 16, 177, 25));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(m_modeOptions[0], int(ProcessingMode::Merge));
    m_modeGroup->addButton(m_modeOptions[1], int(ProcessingMode::Extract));
}

void MainWindow::buildInputsFrame(QWidget* client)
{
    QGroupBox* box = frame(client, QStringLiteral("INPUTS"), QRect(8, 64, 625, 233));

    QLabel* title = label(box, QStringLiteral("Title"), {8, 16}, headingFont());
    m_titleBox = field(box, "TitleBox", QRect(8, 32, 473, 27));
    new TypedLengthLimit(m_titleBox, TextLimit);
    title->setBuddy(m_titleBox);

    QLabel* workingDir = label(box, QStringLiteral("Enter working directory for OUTPUT files:"),
                               {8, 64}, headingFont());
    m_workingDirBox = field(box, "WorkingDirBox", QRect(8, 80, 473, 27));
    workingDir->setBuddy(m_workingDirBox);
    m_workDirButton = button(box, "WorkDirButton", QStringLiteral("Browse"), QRect(512, 80, 89, 25),
                             captionFont());

    QLabel* files =
        label(box, QStringLiteral("3D.DAT files to be used as INPUT:"), {8, 120}, headingFont());
    QLabel* note = label(box,
                         QStringLiteral("(For spatial merge the files must be entered in order "
                                        "from the finest resolution to the coarsest resolution)"),
                         {8, 136}, windowFont());
    note->setGeometry(8, 136, 489, 17);
    QPalette highlighted = note->palette();
    highlighted.setColor(QPalette::WindowText, highlighted.color(QPalette::Highlight));
    note->setPalette(highlighted);

    m_fileListBox = named(new QListWidget(box), "FileListBox");
    m_fileListBox->setFont(windowFont());
    m_fileListBox->setGeometry(8, 152, 473, 69);
    files->setBuddy(m_fileListBox);
    m_fileListBox->setAccessibleName(QStringLiteral("3D.DAT files to be used as INPUT"));
    m_addFileButton = button(box, "AddFileButton", QStringLiteral("Add File"),
                             QRect(512, 152, 89, 17), captionFont());
    m_clearAllFileButton = button(box, "ClearAllFileButton", QStringLiteral("Clear All"),
                                  QRect(512, 176, 89, 17), captionFont());
}

void MainWindow::buildPeriodFrame(QWidget* client)
{
    QGroupBox* box = frame(client, QStringLiteral("OUTPUT PERIOD"), QRect(8, 304, 305, 153));
    m_startDate = datePicker(box, "StartDate", QRect(56, 48, 161, 25));
    m_startHour = field(box, "StartHour", QRect(264, 48, 31, 21), QStringLiteral("0"));
    m_endDate = datePicker(box, "EndDate", QRect(56, 112, 161, 25));
    m_endHour = field(box, "EndHour", QRect(264, 112, 32, 21), QStringLiteral("0"));

    struct Row {
        QString heading;
        int utcLeft;
        QDateTimeEdit* picker;
        QLineEdit* hour;
        QString name;
    };
    const Row rows[] = {{QStringLiteral("Beginining date for output 3D.DAT file(s)"), 240,
                         m_startDate, m_startHour, QStringLiteral("Start")},
                        {QStringLiteral("Ending date for output 3D.DAT file(s)"), 232, m_endDate,
                         m_endHour, QStringLiteral("End")}};
    for (const Row& row : rows) {
        const int top = row.picker->y();
        label(box, row.heading, {8, top - 24}, headingFont());
        label(box, QStringLiteral("(UTC Time)"), {row.utcLeft, top - 24}, windowFont());
        label(box, QStringLiteral("Date:"), {8, top}, captionFont());
        label(box, QStringLiteral("Hour:"), {224, top}, captionFont());
        // Two fields share each caption, so they are told apart by name.
        row.picker->setAccessibleName(row.name + QStringLiteral(" date"));
        row.hour->setAccessibleName(row.name + QStringLiteral(" hour"));
    }
}

void MainWindow::buildLimitsPanel(QWidget* client)
{
    QFont underlined(QStringLiteral("Arial"), 9);
    underlined.setUnderline(true);
    QLabel* heading = label(client, QStringLiteral("Original domain limits (last file entered)"),
                            {320, 304}, underlined, "Label18");
    heading->setWordWrap(true);
    heading->setGeometry(320, 304, 89, 57);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_labelX = label(client, QStringLiteral("Lon:"), {432, 304}, captionFont(), "LabelX");
    m_labelY = label(client, QStringLiteral("Lat:"), {432, 328}, captionFont(), "LabelY");
    m_labelZ = label(client, QStringLiteral("Z:"), {432, 352}, captionFont(), "LabelZ");

    // Value labels in display order: row 1 holds 0 and 2, row 2 holds 1 and 3, row 3 holds 4 and 5.
    const std::array<QRect, 6> places{QRect(480, 304, 57, 17), QRect(480, 328, 57, 17),
                                      QRect(576, 304, 57, 17), QRect(576, 328, 57, 17),
                                      QRect(488, 352, 41, 17), QRect(584, 352, 41, 17)};
    for (std::size_t i = 0; i < places.size(); ++i) {
        auto* value = new QLabel(QStringLiteral("---"), client);
        value->setObjectName(QStringLiteral("Domain%1").arg(i));
        value->setAlignment(Qt::AlignCenter);
        value->setFont(windowFont());
        value->setGeometry(places[i]);
        m_domainLabels[i] = value;
    }
    for (int row = 0; row < 3; ++row)
        label(client, QStringLiteral("To"), {552, 304 + 24 * row}, captionFont());
}

void MainWindow::buildDomainFrame(QWidget* client)
{
    m_domainCoords = frame(client, QStringLiteral("OUTPUT DOMAIN"), QRect(320, 376, 313, 81));
    m_domainCoords->setObjectName(QStringLiteral("DomainCoords"));
    m_latLonOption =
        option(m_domainCoords, "LatLonOption", QStringLiteral("Lat/Lon"), QRect(16, 24, 81, 17));
    m_xyOption =
        option(m_domainCoords, "XYOption", QStringLiteral("X/Y (km)"), QRect(104, 24, 97, 17));
    m_ijkOption =
        option(m_domainCoords, "ijkOption", QStringLiteral("(i,j,k)"), QRect(208, 24, 81, 17));
    m_ijkOption->hide();
    m_enterCoordinatesButton =
        button(m_domainCoords, "Command1", QStringLiteral("Enter coordinates"),
               QRect(72, 48, 137, 25), captionFont());
}

void MainWindow::buildOutputFrame(QWidget* client)
{
    QGroupBox* box = frame(client, QStringLiteral("OUTPUT FILE"), QRect(8, 464, 625, 97));
    m_outputNameCaption = label(box, QStringLiteral("File name for output 3D.DAT file(s):"),
                                {8, 24}, headingFont(), "Label5");
    m_outFileBaseNameBox = field(box, "OutFileBaseNameBox", QRect(240, 24, 329, 25));
    m_outputNameLimit = new TypedLengthLimit(m_outFileBaseNameBox, TextLimit);
    m_outputNameCaption->setBuddy(m_outFileBaseNameBox);

    QLabel* note =
        label(box, QStringLiteral("(The files will be created in your working directory)"), {8, 40},
              windowFont());
    note->setWordWrap(true);
    note->setGeometry(8, 40, 225, 33);

    m_daysPerFileCaption =
        label(box, QStringLiteral("Maximum number of days in each output 3D.dat file:"), {8, 72},
              headingFont(), "Label17");
    m_daysPerFileCountBox =
        field(box, "DaysPerFileCountBox", QRect(312, 72, 33, 21), QStringLiteral("0"));
    m_daysPerFileCaption->setBuddy(m_daysPerFileCountBox);
}

void MainWindow::buildButtons(QWidget* client)
{
    m_runButton =
        button(client, "RunButton", QStringLiteral("Run"), QRect(168, 568, 121, 25), commandFont());
    m_exitButton =
        button(client, "Command2", QStringLiteral("Exit"), QRect(320, 568, 121, 25), commandFont());
}

void MainWindow::setTabOrder()
{
    const QWidget* const order[] = {m_titleBox,
                                    m_runButton,
                                    m_startHour,
                                    m_endHour,
                                    m_startDate,
                                    m_endDate,
                                    m_outFileBaseNameBox,
                                    m_daysPerFileCountBox,
                                    m_fileListBox,
                                    m_addFileButton,
                                    m_clearAllFileButton,
                                    m_workingDirBox,
                                    m_workDirButton,
                                    m_modeOptions[0],
                                    m_modeOptions[1],
                                    m_latLonOption,
                                    m_enterCoordinatesButton,
                                    m_xyOption,
                                    m_exitButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

void MainWindow::connectControls()
{
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);

    connect(m_modeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        applyMode(id);
        updateDomainMap();
    });
    const std::pair<QRadioButton*, CoordinateType> coordinateOptions[] = {
        {m_xyOption, CoordinateType::XY},
        {m_latLonOption, CoordinateType::LatLon},
        {m_ijkOption, CoordinateType::IJK}};
    for (const auto& [button, type] : coordinateOptions) {
        connect(button, &QRadioButton::toggled, this, [this, type = type](bool checked) {
            if (!checked)
                return;
            selectCoordinateType(type);
            updateDomainMap();
        });
    }

    connect(m_startHour, &QLineEdit::textChanged, this, &MainWindow::suggestOutputName);
    connect(m_startDate, &QDateTimeEdit::dateChanged, this, &MainWindow::suggestOutputName);

    installKeyFilter(m_startHour, digitFilter);
    installKeyFilter(m_endHour, digitFilter);
    installKeyFilter(m_daysPerFileCountBox, digitFilter);

    connect(m_addFileButton, &QPushButton::clicked, this, &MainWindow::onAddFileButtonClicked);
    connect(m_clearAllFileButton, &QPushButton::clicked, this,
            &MainWindow::onClearAllFileButtonClicked);
    connect(m_enterCoordinatesButton, &QPushButton::clicked, this,
            &MainWindow::onEnterCoordinatesClicked);
    connect(m_workDirButton, &QPushButton::clicked, this, &MainWindow::onWorkDirButtonClicked);
    connect(m_runButton, &QPushButton::clicked, this, &MainWindow::onRunButtonClicked);

    // The map follows the job live: the files here, the mode and the coordinate type above, the
    // domain where the dialog ends.
    connect(m_domainMapAction, &QAction::triggered, this, &MainWindow::openDomainMap);
    connect(m_inputList.get(), &InputListController::listChanged, this,
            &MainWindow::updateDomainMap);
    connectInputHours();
}

ProcessingMode MainWindow::mode() const
{
    return m_modeOptions[0]->isChecked() ? ProcessingMode::Merge : ProcessingMode::Extract;
}

CoordinateType MainWindow::coordinateType() const
{
    if (m_xyOption->isChecked())
        return CoordinateType::XY;
    if (m_latLonOption->isChecked())
        return CoordinateType::LatLon;
    if (m_ijkOption->isChecked())
        return CoordinateType::IJK;
    return CoordinateType::None;
}

JobSettings MainWindow::jobSettings() const
{
    JobSettings job;
    job.mode = mode();
    job.coordinateType = coordinateType();
    job.title = toNativeText(m_titleBox->text());
    job.workingDirectory = toNativeText(m_workingDirBox->text());
    job.inputPaths = m_inputList->paths();
    job.domain = m_domain;
    job.startDate = toCalendarDay(m_startDate->date());
    job.startHour = toNativeText(m_startHour->text());
    job.endDate = toCalendarDay(m_endDate->date());
    job.endHour = toNativeText(m_endHour->text());
    job.daysPerFile = toNativeText(m_daysPerFileCountBox->text());
    job.outputName = toNativeText(m_outFileBaseNameBox->text());
    return job;
}

void MainWindow::applyMode(int optionIndex)
{
    if (optionIndex != int(ProcessingMode::Merge) && optionIndex != int(ProcessingMode::Extract))
        return;
    const bool extract = optionIndex == int(ProcessingMode::Extract);
    if (extract) {
        // Through Lat/Lon to the hidden index option, as a user's clicks would go.
        m_latLonOption->setChecked(true);
        m_ijkOption->setChecked(true);
    }
    m_daysPerFileCountBox->setEnabled(extract);
    m_daysPerFileCountBox->setVisible(extract);
    m_daysPerFileCaption->setVisible(extract);
    m_xyOption->setVisible(!extract);
    m_latLonOption->setVisible(!extract);
    showLimitsCaptions(extract ? LimitsView::Index : LimitsView::Geographic);
    m_outputNameCaption->setText(extract ? QStringLiteral("Base name for output 3D.DAT file(s):")
                                         : QStringLiteral("File name for output 3D.DAT file(s):"));
    m_outputNameCaption->adjustSize();
    if (extract)
        m_outputNameLimit->setText(QString());
}

void MainWindow::selectCoordinateType(CoordinateType type)
{
    switch (type) {
    case CoordinateType::XY:
        showLimitsCaptions(LimitsView::Geographic);
        break;
    case CoordinateType::LatLon:
        // With the list empty nothing changes, the captions included.
        if (m_inputList->showLastLimits(LimitsView::Geographic))
            showLimitsCaptions(LimitsView::Geographic);
        break;
    case CoordinateType::IJK:
        // The captions follow from the mode switch that selects this hidden option.
        m_inputList->showLastLimits(LimitsView::Index);
        break;
    case CoordinateType::None:
        break;
    }
}

void MainWindow::showLimitsCaptions(LimitsView view)
{
    const bool index = view == LimitsView::Index;
    m_labelX->setText(index ? QStringLiteral("Index i:") : QStringLiteral("Lon:"));
    m_labelY->setText(index ? QStringLiteral("Index j:") : QStringLiteral("Lat:"));
    m_labelZ->setText(index ? QStringLiteral("Index k:") : QStringLiteral("Z:"));
    for (QLabel* caption : {m_labelX, m_labelY, m_labelZ})
        caption->adjustSize();
}

void MainWindow::suggestOutputName()
{
    if (mode() != ProcessingMode::Merge)
        return;
    const auto name = gridloom::suggestOutputName(toNativeText(m_outFileBaseNameBox->text()),
                                                  toCalendarDay(m_startDate->date()),
                                                  toNativeText(m_startHour->text()));
    if (name)
        m_outputNameLimit->setText(fromNativeText(*name));
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Whatever else is loaded (a hidden coordinate dialog, a chooser) goes with the window.
    QApplication::quit();
}

void MainWindow::onAddFileButtonClicked()
{
    m_inputList->addFile();
}

void MainWindow::onClearAllFileButtonClicked()
{
    m_inputList->clearAll();
}

void MainWindow::onEnterCoordinatesClicked()
{
    m_coordinateDialogs->open(coordinateType());
    if (CoordinateDialog* dialog = m_coordinateDialogs->dialog()) {
        connect(dialog, &CoordinateDialog::fieldsEdited, this, &MainWindow::updateDomainMap,
                Qt::UniqueConnection);
        connect(dialog, &QDialog::finished, this, &MainWindow::updateDomainMap,
                Qt::UniqueConnection);
    }
    updateDomainMap();
}

void MainWindow::onBoxDrawn(const DrawnBox& box)
{
    // The dialog opens as "Enter coordinates" opens it, with the message for no type; the box
    // only fills its fields, and OK stores them through the usual checks.
    onEnterCoordinatesClicked();
    CoordinateDialog* dialog = m_coordinateDialogs->dialog();
    if (dialog && dialog->isVisible())
        dialog->fillFields(drawnBoxFields(dialog->layoutType(), box));
}

void MainWindow::openDomainMap()
{
    if (!m_domainMap) {
        m_domainMap = m_domainMapFactory(this);
        m_domainMap->setBoxDrawnHandler([this](const DrawnBox& box) { onBoxDrawn(box); });
    }
    m_domainMap->showSnapshot(mapSnapshot());
    QWidget* window = m_domainMap->window();
    window->show();
    window->raise();
    window->activateWindow();
}

MapSnapshot MainWindow::mapSnapshot() const
{
    MapSnapshot snapshot;
    snapshot.mode = mode();
    snapshot.coordinateType = coordinateType();
    snapshot.inputs = m_inputList->records();
    snapshot.confirmed = m_domain;
    snapshot.limitsInput = m_inputList->shownEntry();
    const CoordinateDialog* dialog = m_coordinateDialogs->dialog();
    if (dialog && dialog->isVisible()) {
        if (const auto entered = dialog->enteredDomain())
            snapshot.entered = EnteredBox{dialog->layoutType(), *entered};
    }
    return snapshot;
}

void MainWindow::updateDomainMap()
{
    // A hidden map is brought up to date when it is opened again.
    if (m_domainMap && m_domainMap->window()->isVisible())
        m_domainMap->showSnapshot(mapSnapshot());
}

void MainWindow::addInputHoursItem(QMenu* viewMenu)
{
    m_inputHoursAction = viewMenu->addAction(QStringLiteral("Input hours"));
    m_inputHoursAction->setObjectName(QStringLiteral("InputHoursItem"));
    m_inputHoursAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
}

void MainWindow::connectInputHours()
{
    // The strip follows the files, the mode and every edit of the output period.
    connect(m_inputHoursAction, &QAction::triggered, this, &MainWindow::openInputHours);
    connect(m_inputList.get(), &InputListController::listChanged, this,
            &MainWindow::updateInputHours);
    connect(m_modeGroup, &QButtonGroup::idToggled, this, &MainWindow::updateInputHours);
    for (QDateTimeEdit* picker : {m_startDate, m_endDate})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, &MainWindow::updateInputHours);
    for (QLineEdit* hour : {m_startHour, m_endHour})
        connect(hour, &QLineEdit::textChanged, this, &MainWindow::updateInputHours);
}

void MainWindow::openInputHours()
{
    if (!m_inputHours) {
        m_inputHours = new InputHoursWindow(
            [this] {
                return HoursJob{m_inputList->records(), mode(),
                                outputPeriod(toCalendarDay(m_startDate->date()),
                                             toNativeText(m_startHour->text()),
                                             toCalendarDay(m_endDate->date()),
                                             toNativeText(m_endHour->text()))};
            },
            this);
    }
    m_inputHours->show();
    m_inputHours->raise();
    m_inputHours->activateWindow();
}

void MainWindow::updateInputHours()
{
    // Files added together end with one notice of the list; the period each of them moved on
    // the way is drawn then.
    if (m_inputHours && !m_inputList->isAdding())
        m_inputHours->jobChanged();
}

void MainWindow::onWorkDirButtonClicked()
{
    openDirectoryChooser(this, m_workingDirBox, m_services.programFolder, m_services.volumes,
                         m_services.messages);
}

void MainWindow::onRunButtonClicked()
{
    const RunOutcome outcome =
        RunAction(m_services.messages, m_services.starter, m_services.programFolder)
            .run(jobSettings());
    if (outcome.files)
        rememberControlFile(outcome.files->controlFile);
    // The check may have completed the Merge output name; the user sees what was used.
    const QString outputName = fromNativeText(outcome.checkedOutputName.value_or(""));
    if (outcome.checkedOutputName && outputName != m_outFileBaseNameBox->text())
        m_outputNameLimit->setText(outputName);
}

} // namespace gridloom
