#include "common/key_press_filter.h"

#include <QKeyEvent>
#include <QWidget>

namespace gridloom {

std::int16_t keyCharacterCode(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    const char16_t c = text.front().unicode();
    return static_cast<std::int16_t>(c > 255 ? 255 : c);
}

KeyPressFilter::KeyPressFilter(QWidget* field, KeyFilterFunction filter)
    : QObject(field), m_filter(filter)
{
    field->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        std::int16_t code = keyCharacterCode(*static_cast<QKeyEvent*>(event));
        if (code >= 0) {
            m_filter(code);
            if (code == 0)
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void installKeyFilter(QWidget* field, KeyFilterFunction filter)
{
    new KeyPressFilter(field, filter);
}

} // namespace gridloom
