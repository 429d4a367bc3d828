#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace gridloom {

QString programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace gridloom
