#pragma once

class QWidget;

namespace gridloom {

/// Places a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

} // namespace gridloom
