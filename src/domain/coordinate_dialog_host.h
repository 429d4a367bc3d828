#pragma once

#include "common/domain_selection.h"
#include "common/job_settings.h"
#include "domain/domain_checks.h"

#include <QPointer>
#include <optional>
#include <string>

class QWidget;

namespace gridloom {

class CoordinateDialog;
class Messages;

/// Opens the coordinate dialog for the main window's "Enter coordinates" button and keeps it
/// between openings: created on first use, hidden with its entries after an accepted OK,
/// discarded by Cancel or close.
class CoordinateDialogHost final {
public:
    CoordinateDialogHost(QWidget* parent, DomainSelection& domain, Messages& messages);
    ~CoordinateDialogHost();
    CoordinateDialogHost(const CoordinateDialogHost&) = delete;
    CoordinateDialogHost& operator=(const CoordinateDialogHost&) = delete;

    /// "Enter coordinates": None -> messages.jobError("Select a type of coordinnate first") and
    /// nothing opens; otherwise create the dialog on first use (defaults) or reuse it with its
    /// entries, apply the layout, show it application-modal without blocking.
    void open(CoordinateType type);
    /// The dialog while it exists (open or hidden after an accepted OK); nullptr when absent
    /// (never opened, or discarded by Cancel/close).
    CoordinateDialog* dialog() const;
    /// Enters a domain as a user would in a new dialog and confirms it as OK does; the dialog
    /// then stays hidden with those entries, as after an accepted OK. Returns OK's refusal.
    std::optional<std::string> enterAndConfirm(const EnteredDomainTexts& texts);

private:
    void discard();
    void create();

    QWidget* m_parent;
    DomainSelection& m_domain;
    Messages& m_messages;
    QPointer<CoordinateDialog> m_dialog;
};

} // namespace gridloom
