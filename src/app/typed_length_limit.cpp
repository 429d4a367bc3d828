#include "app/typed_length_limit.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace gridloom {

namespace {

// What an edit of `before` into `after` leaves when no more than `limit` characters may stand
// once it is done, unless it only removes: the inserted part is cut to what fits, and an edit
// that can insert nothing leaves `before` as it was. `cursor` follows the inserted part.
QString limitInsertion(const QString& before, const QString& after, int limit, int& cursor)
{
    if (after.size() <= limit)
        return after;
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const qsizetype inserted = after.size() - prefix - suffix;
    if (inserted == 0)
        return after;
    const qsizetype kept = prefix + suffix;
    const qsizetype room = std::clamp<qsizetype>(limit - kept, 0, inserted);
    if (room == 0) {
        cursor = int(std::min<qsizetype>(cursor, before.size()));
        return before;
    }
    cursor = int(prefix + room);
    return after.left(prefix + room) + after.right(suffix);
}

// The field's own maximum length cuts only what is inserted past it, counted after a selection
// was removed, so a text above the limit with a selection would still take keys; this judges
// the edit as a whole.
class LimitValidator final : public QValidator {
public:
    LimitValidator(QLineEdit* field, int limit)
        : QValidator(field), m_field(field), m_accepted(field->text()), m_limit(limit)
    {
        // The text before the edit now being judged: the field already holds the edited one.
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_accepted = text; });
    }

    State validate(QString& input, int& pos) const override
    {
        // A text the program sets arrives with an empty undo history: it is kept whole.
        if (m_field->isModified())
            input = limitInsertion(m_accepted, input, m_limit, pos);
        return Acceptable;
    }

private:
    const QLineEdit* m_field;
    QString m_accepted;
    int m_limit;
};

} // namespace

TypedLengthLimit::TypedLengthLimit(QLineEdit* field, int limit)
    : QObject(field), m_field(field), m_limit(limit)
{
    fitLimit();
    m_field->setValidator(new LimitValidator(m_field, m_limit));
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
