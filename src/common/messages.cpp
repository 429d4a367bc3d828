#include "common/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace gridloom {

namespace {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent ? parent : qApp->activeWindow());
    box.exec();
}

} // namespace

void BoxMessages::jobError(const QString& text)
{
    show(m_parent, QMessageBox::Critical, applicationTitle(), text);
}

void BoxMessages::dialogError(const QString& text)
{
    show(m_parent, QMessageBox::Critical, QStringLiteral("Error"), text);
}

void BoxMessages::pathError(const QString& text)
{
    show(m_parent, QMessageBox::NoIcon, QStringLiteral("Error"), text);
}

void BoxMessages::plain(const QString& text)
{
    show(m_parent, QMessageBox::NoIcon, QString(), text);
}

} // namespace gridloom
