#include "app/typed_length_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace gridloom {

TypedLengthLimit::TypedLengthLimit(QLineEdit* field, int limit)
    : QObject(field), m_field(field), m_limit(limit)
{
    fitLimit();
    connect(m_field, &QLineEdit::textEdited, this, &TypedLengthLimit::fitLimit);
}

void TypedLengthLimit::setText(const QString& text)
{
    // Raised first: the field cuts whatever passes its limit, the program's texts included.
    m_field->setMaxLength(std::max(m_limit, static_cast<int>(text.size())));
    m_field->setText(text);
}

void TypedLengthLimit::fitLimit()
{
    m_field->setMaxLength(std::max(m_limit, static_cast<int>(m_field->text().size())));
}

} // namespace gridloom
