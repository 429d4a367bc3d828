#pragma once

#include <QObject>

class QLineEdit;

namespace gridloom {

/// Holds a text field to a number of characters for what the user types or pastes, while a
/// text the program sets is kept whole: a completed or suggested output name may be longer,
/// and the field must show exactly what is written. Once the field holds the limit or more,
/// an edit may remove characters but add none, whatever put the earlier ones there: typing
/// over a selection of such a text adds only what fits under the limit.
class TypedLengthLimit final : public QObject {
    Q_OBJECT

public:
    TypedLengthLimit(QLineEdit* field, int limit);

    /// Sets a text the program built, whatever its length.
    void setText(const QString& text);

private:
    void fitLimit();

    QLineEdit* m_field;
    int m_limit;
};

} // namespace gridloom
