#include "domain/coordinate_dialog_host.h"

#include "common/messages.h"
#include "domain/coordinate_dialog.h"

#include <QPushButton>

namespace gridloom {

CoordinateDialogHost::CoordinateDialogHost(QWidget* parent, DomainSelection& domain,
                                           Messages& messages)
    : m_parent(parent), m_domain(domain), m_messages(messages)
{
}

CoordinateDialogHost::~CoordinateDialogHost()
{
    delete m_dialog.data();
}

void CoordinateDialogHost::open(CoordinateType type)
{
    if (type == CoordinateType::None) {
        m_messages.jobError(QStringLiteral("Select a type of coordinnate first"));
        return;
    }
    if (!m_dialog)
        create();
    m_dialog->applyLayout(type);
    m_dialog->show();
    m_dialog->activateWindow();
    m_dialog->findChild<QPushButton*>(QStringLiteral("OkButton"))->setFocus(Qt::OtherFocusReason);
}

void CoordinateDialogHost::create()
{
    m_dialog = new CoordinateDialog(m_parent, m_domain, m_messages);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    // Cancel, Escape and the close command all end in rejected().
    QObject::connect(m_dialog.data(), &QDialog::rejected, m_dialog.data(), [this] { discard(); });
}

std::optional<std::string> CoordinateDialogHost::enterAndConfirm(const EnteredDomainTexts& texts)
{
    // A new dialog, so the other layouts show their defaults, as they would to a new user.
    delete m_dialog.data();
    create();
    m_dialog->setEntries(texts);
    return m_dialog->confirmEntries();
}

CoordinateDialog* CoordinateDialogHost::dialog() const
{
    return m_dialog.data();
}

void CoordinateDialogHost::discard()
{
    if (!m_dialog)
        return;
    m_dialog->deleteLater();
    m_dialog = nullptr;
}

} // namespace gridloom
