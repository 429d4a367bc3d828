#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

// The one crossing between Qt's text and the core's: the core holds texts and paths in the
// system's 8-bit encoding, which is also what the files it writes and the file system take
// (the ANSI code page on Windows, UTF-8 on Linux and macOS).
namespace gridloom {

inline std::string toNativeText(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

inline QString fromNativeText(std::string_view text)
{
    return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace gridloom
