#include "domain/coordinate_dialog.h"

#include "common/key_filters.h"
#include "common/key_press_filter.h"
#include "common/messages.h"
#include "common/native_text.h"
#include "domain/domain_checks.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gridloom {

namespace {

// Positions and sizes are designed in twips; at 96 dots per inch 15 twips make a pixel.
int px(int twips)
{
    return qRound(twips / 15.0);
}

// The layout sizes are outer sizes, title bar and borders included. The frame they were
// designed with is a fixed dialog frame of 3 pixels a side under a 22-pixel title bar: with
// it the end-corner frame and the buttons of the small layouts sit inside the client area,
// which a wider frame would clip.
constexpr int frameBorder = 3;
constexpr int titleBar = 22;

QSize clientSize(int outerWidthTwips, int outerHeightTwips)
{
    return {px(outerWidthTwips) - 2 * frameBorder,
            px(outerHeightTwips) - 2 * frameBorder - titleBar};
}

constexpr int fieldHeight = 20;

QLabel* caption(QWidget* parent, const QString& text, const QRect& place,
                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(alignment);
    return label;
}

QLineEdit* field(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    return edit;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, const QRect& place)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    return box;
}

std::string stdText(const QLineEdit* edit)
{
    return toNativeText(edit->text());
}

std::string stdText(const QComboBox* box)
{
    return toNativeText(box->currentText());
}

// Writes only a text that differs: the same text must not count as a change, and the user's
// cursor stays where it is.
void setTextIfDifferent(QLineEdit* edit, const std::string& text)
{
    const QString value = fromNativeText(text);
    if (edit->text() != value)
        edit->setText(value);
}

// Sets each field to the text at its position, as typing it would.
template <std::size_t N>
void setTexts(const std::array<QLineEdit*, N>& fields,
              const std::array<const std::string*, N>& texts)
{
    for (std::size_t n = 0; n < N; ++n)
        fields[n]->setText(fromNativeText(*texts[n]));
}

} // namespace

CoordinateDialog::CoordinateDialog(QWidget* parent, DomainSelection& domain, Messages& messages)
    : QDialog(parent), m_domain(domain), m_messages(messages)
{
    setObjectName(QStringLiteral("frmCoordBox"));
    setWindowTitle(QStringLiteral("Domain coordinates"));
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    buildXYFrame();
    buildIndexFrame();
    m_geodeticFrames[0] = buildGeodeticFrame(0);
    m_geodeticFrames[1] = buildGeodeticFrame(1);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    // No button is the dialog's default: Enter in a field must not press OK past the field's
    // own handling (a degree field that was never left would not reach the stored value).
    // keyPressEvent lets Enter press the button that has the focus.
    for (QPushButton* button : {m_okButton, m_cancelButton}) {
        button->setAutoDefault(false);
        button->resize(px(1095), px(375));
    }
    connect(m_okButton, &QPushButton::clicked, this, &CoordinateDialog::onOkButtonClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    arrangeTabOrder();
    applyLayout(CoordinateType::LatLon);

    // Connected last, so the defaults written above are no edits. Only the fields OK reads
    // count: a degree field's edit reaches them through its decimal field.
    std::vector<QLineEdit*> read(m_indexFields.begin(), m_indexFields.end());
    read.insert(read.end(), m_xyFields.begin(), m_xyFields.end());
    for (const AngleFields& fields : m_angles) {
        read.push_back(fields.decimal);
        connect(fields.hemisphere, &QComboBox::currentIndexChanged, this,
                &CoordinateDialog::fieldsEdited);
    }
    for (QLineEdit* edit : read)
        connect(edit, &QLineEdit::textChanged, this, &CoordinateDialog::fieldsEdited);
}

void CoordinateDialog::buildXYFrame()
{
    m_xyFrame = frame(this, "XYFrame", QStringLiteral("LCC X/Y (km)"),
                      QRect(px(120), px(120), px(3855), px(1455)));
    const char* names[2][2] = {{"TextXStart", "TextXEnd"}, {"TextYStart", "TextYEnd"}};
    const QString axes[2] = {QStringLiteral("X from"), QStringLiteral("Y from")};
    const int rows[2] = {px(240), px(720)};
    for (int row = 0; row < 2; ++row) {
        const int y = rows[row];
        caption(m_xyFrame, axes[row], QRect(8, y, 44, fieldHeight));
        auto* start =
            field(m_xyFrame, names[row][0], QStringLiteral("0"), QRect(52, y, 60, fieldHeight));
        caption(m_xyFrame, QStringLiteral("km"), QRect(116, y, 22, fieldHeight));
        caption(m_xyFrame, QStringLiteral("To"), QRect(142, y, 20, fieldHeight));
        auto* end =
            field(m_xyFrame, names[row][1], QStringLiteral("0"), QRect(164, y, 60, fieldHeight));
        caption(m_xyFrame, QStringLiteral("km"), QRect(228, y, 22, fieldHeight));
        m_xyFields[2 * row] = start;
        m_xyFields[2 * row + 1] = end;
    }
    for (QLineEdit* edit : m_xyFields)
        installKeyFilter(edit, signedDecimalFilter);
}

void CoordinateDialog::buildIndexFrame()
{
    m_ijkFrame = frame(this, "ijkFrame", QStringLiteral("i,j,k"),
                       QRect(px(120), px(120), px(3855), px(1455)));
    const char* names[3][2] = {{"TextIndexiStart", "TextIndexiEnd"},
                               {"TextIndexjStart", "TextIndexjEnd"},
                               {"TextIndexkStart", "TextIndexkEnd"}};
    const QString captions[3] = {QStringLiteral("Index i from"), QStringLiteral("Index j from"),
                                 QStringLiteral("Index k from")};
    const int rows[3] = {px(240), px(600), px(960)};
    for (int row = 0; row < 3; ++row) {
        const int y = rows[row];
        caption(m_ijkFrame, captions[row], QRect(8, y, 76, fieldHeight));
        m_indexFields[2 * row] =
            field(m_ijkFrame, names[row][0], QStringLiteral("0"), QRect(86, y, 60, fieldHeight));
        caption(m_ijkFrame, QStringLiteral("To"), QRect(154, y, 20, fieldHeight));
        m_indexFields[2 * row + 1] =
            field(m_ijkFrame, names[row][1], QStringLiteral("0"), QRect(176, y, 60, fieldHeight));
    }
    for (QLineEdit* edit : m_indexFields)
        installKeyFilter(edit, digitFilter);
}

QGroupBox* CoordinateDialog::buildGeodeticFrame(int corner)
{
    const bool start = corner == 0;
    QGroupBox* box =
        frame(this, start ? "Geodetic1" : "Geodetic2",
              start ? QStringLiteral("LL (degrees) Start") : QStringLiteral("LL (degrees) End"),
              QRect(px(start ? 120 : 3480), px(120), px(3255), px(2175)));
    const QString suffix = QString::number(corner + 1);

    for (int row = 0; row < 2; ++row) {
        const bool longitude = row == 0;
        AngleFields& fields = m_angles[2 * corner + row];
        const int y = px(longitude ? 240 : 1200);
        const int dmsY = px(longitude ? 600 : 1560);
        const QString stem = longitude ? QStringLiteral("Lon") : QStringLiteral("Lat");

        caption(box, longitude ? QStringLiteral("Longitude:") : QStringLiteral("Latitude:"),
                QRect(4, y, 63, fieldHeight));
        fields.decimal = new QLineEdit(box);
        fields.decimal->setObjectName(QStringLiteral("txt") + stem + suffix);
        fields.decimal->setGeometry(68, y, 84, fieldHeight);
        fields.hemisphere = new QComboBox(box);
        fields.hemisphere->setObjectName(QStringLiteral("cbo") + stem + QStringLiteral("LL") +
                                         suffix);
        fields.hemisphere->setGeometry(156, y, 48, fieldHeight);
        fields.hemisphere->addItems(longitude
                                        ? QStringList{QStringLiteral("E"), QStringLiteral("W")}
                                        : QStringList{QStringLiteral("N"), QStringLiteral("S")});

        fields.degrees = new QLineEdit(box);
        fields.minutes = new QLineEdit(box);
        fields.seconds = new QLineEdit(box);
        fields.degrees->setObjectName(QStringLiteral("txt") + stem + QStringLiteral("D") + suffix);
        fields.minutes->setObjectName(QStringLiteral("txt") + stem + QStringLiteral("M") + suffix);
        fields.seconds->setObjectName(QStringLiteral("txt") + stem + QStringLiteral("S") + suffix);
        fields.degrees->setGeometry(66, dmsY, 36, fieldHeight);
        fields.minutes->setGeometry(106, dmsY, 30, fieldHeight);
        fields.seconds->setGeometry(140, dmsY, 54, fieldHeight);
        const int captionY = dmsY + fieldHeight;
        const auto centred = Qt::AlignHCenter | Qt::AlignTop;
        caption(box, longitude ? QStringLiteral("ddd") : QStringLiteral("dd"),
                QRect(66, captionY, 36, 14), centred);
        caption(box, QStringLiteral("mm"), QRect(106, captionY, 30, 14), centred);
        caption(box, QStringLiteral("ss.ss"), QRect(140, captionY, 54, 14), centred);

        // The defaults are written before the fields are connected: a new dialog shows them
        // as they are ("00" minutes), not in the form the change handling would give them.
        const QString degrees = longitude ? QStringLiteral("95") : QStringLiteral("45");
        fields.decimal->setText(degrees);
        fields.degrees->setText(degrees);
        fields.minutes->setText(QStringLiteral("00"));
        fields.seconds->setText(QStringLiteral("0.00"));

        // Every change, typed or set by the program, rewrites the three companion fields.
        connect(fields.decimal, &QLineEdit::textChanged, this,
                [this, &fields] { onDecimalChanged(fields); });
        for (QLineEdit* watched : {fields.decimal, fields.degrees, fields.minutes, fields.seconds})
            watched->installEventFilter(this);
    }
    return box;
}

void CoordinateDialog::arrangeTabOrder()
{
    const char* order[] = {"OkButton",        "txtLonS2",      "txtLonM2",        "txtLonD2",
                           "txtLatS2",        "txtLatM2",      "txtLatD2",        "cboLonLL2",
                           "cboLatLL2",       "txtLat2",       "txtLon2",         "txtLon1",
                           "txtLat1",         "cboLatLL1",     "cboLonLL1",       "txtLatD1",
                           "txtLatM1",        "txtLatS1",      "txtLonD1",        "txtLonM1",
                           "txtLonS1",        "TextIndexjEnd", "TextIndexjStart", "TextIndexiEnd",
                           "TextIndexiStart", "TextIndexkEnd", "TextIndexkStart", "TextXStart",
                           "TextXEnd",        "TextYStart",    "TextYEnd",        "CancelButton"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        auto* next = findChild<QWidget*>(QLatin1String(name));
        Q_ASSERT(next);
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void CoordinateDialog::applyLayout(CoordinateType type)
{
    QSize client;
    QPoint ok;
    QPoint cancel;
    switch (type) {
    case CoordinateType::None:
        return;
    case CoordinateType::LatLon:
        client = clientSize(6840, 3810);
        ok = {px(2200), px(2400)};
        cancel = {px(3700), px(2400)};
        break;
    case CoordinateType::IJK:
    case CoordinateType::XY:
        client = clientSize(4150, 2565);
        ok = {px(900), px(1680)};
        cancel = {px(2300), px(1680)};
        break;
    }
    m_geodeticFrames[0]->setVisible(type == CoordinateType::LatLon);
    m_geodeticFrames[1]->setVisible(type == CoordinateType::LatLon);
    m_ijkFrame->setVisible(type == CoordinateType::IJK);
    m_xyFrame->setVisible(type == CoordinateType::XY);
    m_okButton->move(ok);
    m_cancelButton->move(cancel);
    setFixedSize(client);
}

CoordinateType CoordinateDialog::layoutType() const
{
    if (!m_ijkFrame->isHidden())
        return CoordinateType::IJK;
    if (!m_xyFrame->isHidden())
        return CoordinateType::XY;
    return CoordinateType::LatLon;
}

EnteredDomainTexts CoordinateDialog::enteredTexts() const
{
    switch (layoutType()) {
    case CoordinateType::IJK:
        return indexTexts();
    case CoordinateType::XY:
        return xyTexts();
    default:
        return latLonTexts();
    }
}

std::optional<std::string> CoordinateDialog::confirmEntries()
{
    return confirmDomain(enteredTexts(), m_domain);
}

void CoordinateDialog::setEntries(const EnteredDomainTexts& texts)
{
    if (const auto* xy = std::get_if<XYDomainTexts>(&texts)) {
        applyLayout(CoordinateType::XY);
        setTexts(m_xyFields, std::array{&xy->xStart, &xy->xEnd, &xy->yStart, &xy->yEnd});
    } else if (const auto* index = std::get_if<IndexDomainTexts>(&texts)) {
        applyLayout(CoordinateType::IJK);
        setTexts(m_indexFields, std::array{&index->iStart, &index->iEnd, &index->jStart,
                                           &index->jEnd, &index->kStart, &index->kEnd});
    } else if (const auto* latLon = std::get_if<LatLonDomainTexts>(&texts)) {
        applyLayout(CoordinateType::LatLon);
        // Start longitude, start latitude, end longitude, end latitude, as m_angles holds them.
        const std::array<std::pair<const std::string*, const std::string*>, 4> values{
            {{&latLon->lonStart, &latLon->lonStartHemisphere},
             {&latLon->latStart, &latLon->latStartHemisphere},
             {&latLon->lonEnd, &latLon->lonEndHemisphere},
             {&latLon->latEnd, &latLon->latEndHemisphere}}};
        for (std::size_t n = 0; n < values.size(); ++n) {
            m_angles[n].hemisphere->setCurrentText(fromNativeText(*values[n].second));
            m_angles[n].decimal->setText(fromNativeText(*values[n].first));
        }
    }
}

void CoordinateDialog::onOkButtonClicked()
{
    const std::optional<std::string> refusal = confirmEntries();
    if (refusal) {
        m_messages.dialogError(fromNativeText(*refusal));
        return;
    }
    accept();
}

IndexDomainTexts CoordinateDialog::indexTexts() const
{
    return {stdText(m_indexFields[0]), stdText(m_indexFields[1]), stdText(m_indexFields[2]),
            stdText(m_indexFields[3]), stdText(m_indexFields[4]), stdText(m_indexFields[5])};
}

XYDomainTexts CoordinateDialog::xyTexts() const
{
    return {stdText(m_xyFields[0]), stdText(m_xyFields[1]), stdText(m_xyFields[2]),
            stdText(m_xyFields[3])};
}

LatLonDomainTexts CoordinateDialog::latLonTexts() const
{
    const AngleFields& lonStart = m_angles[0];
    const AngleFields& latStart = m_angles[1];
    const AngleFields& lonEnd = m_angles[2];
    const AngleFields& latEnd = m_angles[3];
    return {stdText(latStart.decimal),    stdText(lonStart.decimal), stdText(latStart.hemisphere),
            stdText(lonStart.hemisphere), stdText(latEnd.decimal),   stdText(lonEnd.decimal),
            stdText(latEnd.hemisphere),   stdText(lonEnd.hemisphere)};
}

std::optional<DomainSelection> CoordinateDialog::enteredDomain() const
{
    DomainSelection entered;
    return storeDomain(enteredTexts(), entered) ? std::optional(entered) : std::nullopt;
}

void CoordinateDialog::fillFields(const std::vector<FieldText>& fields)
{
    for (const FieldText& field : fields) {
        const QString name = QString::fromStdString(field.name);
        if (auto* edit = findChild<QLineEdit*>(name))
            edit->setText(fromNativeText(field.text));
        else if (auto* box = findChild<QComboBox*>(name))
            box->setCurrentText(fromNativeText(field.text));
    }
}

void CoordinateDialog::onDecimalChanged(AngleFields& fields)
{
    const DecimalFieldUpdate update =
        decimalFieldChanged(stdText(fields.decimal), fields.angle, fields.corner);
    {
        // The start corner's limit replaces what was typed. That rewrite is part of the change
        // being handled, which is reported once: unblocked, it would run this handling again
        // from inside itself and report one keystroke as two edits.
        const QSignalBlocker oneChange(fields.decimal);
        setTextIfDifferent(fields.decimal, update.decimal);
    }
    if (!update.dms)
        return;
    setTextIfDifferent(fields.degrees, update.dms->degrees);
    setTextIfDifferent(fields.minutes, update.dms->minutes);
    setTextIfDifferent(fields.seconds, update.dms->seconds);
}

bool CoordinateDialog::onDecimalKeyPress(AngleFields& fields, QKeyEvent& event)
{
    std::int16_t code = keyCharacterCode(event);
    if (code == '-') {
        // The sign is the hemisphere's business: minus flips the box and moves on, as Tab would.
        fields.hemisphere->setCurrentText(
            fromNativeText(switchHemisphere(stdText(fields.hemisphere), fields.angle)));
        focusNextChild();
        return true;
    }
    if (code < 0)
        return false;
    decimalFilter(code);
    if (code == 0)
        return true;
    if (code == 13) {
        focusNextChild();
        return true;
    }
    return false;
}

void CoordinateDialog::onDmsFieldLeft(AngleFields& fields, DmsField left)
{
    const DmsFieldUpdate update =
        dmsFieldLeft({stdText(fields.degrees), stdText(fields.minutes), stdText(fields.seconds)},
                     left, fields.angle);
    setTextIfDifferent(fields.degrees, update.dms.degrees);
    setTextIfDifferent(fields.minutes, update.dms.minutes);
    setTextIfDifferent(fields.seconds, update.dms.seconds);
    setTextIfDifferent(fields.decimal, update.decimal);
}

bool CoordinateDialog::eventFilter(QObject* watched, QEvent* event)
{
    for (AngleFields& fields : m_angles) {
        if (watched == fields.decimal && event->type() == QEvent::KeyPress)
            return onDecimalKeyPress(fields, *static_cast<QKeyEvent*>(event));
        if (event->type() != QEvent::FocusOut)
            continue;
        // Switching to another window or opening a field's context menu is not leaving it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            continue;
        if (watched == fields.degrees)
            onDmsFieldLeft(fields, DmsField::Degrees);
        else if (watched == fields.minutes)
            onDmsFieldLeft(fields, DmsField::Minutes);
        else if (watched == fields.seconds)
            onDmsFieldLeft(fields, DmsField::Seconds);
    }
    return QDialog::eventFilter(watched, event);
}

void CoordinateDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
        button->click();
}

} // namespace gridloom
