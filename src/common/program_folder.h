#pragma once

#include <QString>

namespace gridloom {

/// The folder that holds Gridloom's own executable, in the platform's separators and without
/// a trailing separator. The processors' executables must lie there.
QString programFolder();

} // namespace gridloom
