#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace gridloom {

/// Text as the core and the files it writes hold it: the system's 8-bit code page, which is
/// also what the file system takes for paths (UTF-8 on Linux and macOS).
inline std::string toNativeText(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

/// The inverse of toNativeText.
inline QString fromNativeText(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace gridloom
