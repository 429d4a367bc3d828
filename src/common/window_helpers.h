#pragma once

#include <QString>

class QWidget;

namespace gridloom {

/// Places a window in the middle of the screen it is on.
void centerOnScreen(QWidget& window);

/// The folder that holds Gridloom's own executable, in the platform's separators and without
/// a trailing separator. The processors' executables must lie there.
QString programFolder();

} // namespace gridloom
