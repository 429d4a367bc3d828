#pragma once

// The coordinate dialog is where the user enters the output domain, in one of three layouts:
// X/Y kilometres, grid indices, or longitude/latitude of a start and an end corner. The fields
// are the only store of what is being entered; OK checks them and writes DomainSelection, and
// the dialog then stays alive, hidden, so the next opening shows the same entries. Cancel (and
// the window's close command) throws the dialog away, entries included.

#include "common/domain_selection.h"
#include "common/job_settings.h"
#include "domain/domain_checks.h"
#include "domain/drawn_box_fields.h"
#include "domain/lat_lon_entry.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace gridloom {

class Messages;

/// The dialog "frmCoordBox" with its four groups of fields; which are shown depends on the
/// layout applied.
class CoordinateDialog final : public QDialog {
    Q_OBJECT

public:
    /// Builds the dialog with its default entries, laid out for longitude/latitude.
    CoordinateDialog(QWidget* parent, DomainSelection& domain, Messages& messages);

    /// Shows the groups of `type`, hides the others and sizes the dialog and places its
    /// buttons for them. None changes nothing.
    void applyLayout(CoordinateType type);
    /// The type OK works with, as the shown frames tell it: the index frame means IJK, else
    /// the X/Y frame means XY, else longitude/latitude.
    CoordinateType layoutType() const;
    /// The domain the fields now describe, in the layout's type, as OK would store it; nothing
    /// while a field OK needs is not a number.
    std::optional<DomainSelection> enteredDomain() const;
    /// Sets the named fields and hemisphere boxes as the user would, so that every change
    /// handling runs: the degree, minute and second fields follow their decimal field.
    void fillFields(const std::vector<FieldText>& fields);
    /// Writes a domain into the fields of its layout, as typing it would, and lays the dialog
    /// out for it.
    void setEntries(const EnteredDomainTexts& texts);
    /// OK's check and store for the layout shown; returns the refusal without showing it.
    std::optional<std::string> confirmEntries();

Q_SIGNALS:
    /// A field or hemisphere changed, typed or set.
    void fieldsEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The fields of one latitude or longitude value.
    struct AngleFields {
        Angle angle;
        Corner corner;
        QLineEdit* decimal = nullptr;
        QComboBox* hemisphere = nullptr;
        QLineEdit* degrees = nullptr;
        QLineEdit* minutes = nullptr;
        QLineEdit* seconds = nullptr;
    };

    void buildXYFrame();
    void buildIndexFrame();
    QGroupBox* buildGeodeticFrame(int corner);
    void arrangeTabOrder();
    IndexDomainTexts indexTexts() const;
    XYDomainTexts xyTexts() const;
    LatLonDomainTexts latLonTexts() const;
    /// The texts of the layout shown, the one OK works with.
    EnteredDomainTexts enteredTexts() const;

    void onOkButtonClicked();
    void onDecimalChanged(AngleFields& fields);
    bool onDecimalKeyPress(AngleFields& fields, QKeyEvent& event);
    void onDmsFieldLeft(AngleFields& fields, DmsField left);

    DomainSelection& m_domain;
    Messages& m_messages;

    QGroupBox* m_xyFrame = nullptr;
    QGroupBox* m_ijkFrame = nullptr;
    std::array<QGroupBox*, 2> m_geodeticFrames{};
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

    // X start, X end, Y start, Y end.
    std::array<QLineEdit*, 4> m_xyFields{};
    // i start, i end, j start, j end, k start, k end.
    std::array<QLineEdit*, 6> m_indexFields{};
    // Start longitude, start latitude, end longitude, end latitude.
    std::array<AngleFields, 4> m_angles{{{Angle::Longitude, Corner::Start},
                                         {Angle::Latitude, Corner::Start},
                                         {Angle::Longitude, Corner::End},
                                         {Angle::Latitude, Corner::End}}};
};

} // namespace gridloom
