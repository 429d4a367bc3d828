#pragma once

#include "common/key_filters.h"

#include <QObject>
#include <cstdint>

class QKeyEvent;
class QWidget;

namespace gridloom {

/// The character code a key press carries, as the keystroke filters see it: the character for
/// ordinary keys (codes above 255 count as 255), the control code for Backspace, Tab, Enter and
/// Escape; -1 for keys that carry no character (arrows, Delete, function keys), which no
/// filter looks at.
std::int16_t keyCharacterCode(const QKeyEvent& event);

/// Applies a keystroke filter to a field: a key whose code the filter turns into 0 never
/// reaches the field.
class KeyPressFilter final : public QObject {
    Q_OBJECT

public:
    KeyPressFilter(QWidget* field, KeyFilterFunction filter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyFilterFunction m_filter;
};

/// Installs `filter` on `field`; the filter object is owned by the field.
void installKeyFilter(QWidget* field, KeyFilterFunction filter);

} // namespace gridloom
