#pragma once

#include <QString>
#include <QTest>

namespace gridloom::testing {

// A C string becomes a QString column value; every other value is taken as it is.
inline QString cell(const char* text)
{
    return QString::fromUtf8(text);
}
template <typename T> T cell(T value)
{
    return value;
}

/// Adds a row to the current QtTest data table, one value per column.
template <typename... Cells> void addRow(const char* name, Cells... cells)
{
    (QTest::newRow(name) << ... << cell(cells));
}

} // namespace gridloom::testing
