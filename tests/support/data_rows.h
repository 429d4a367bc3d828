#pragma once

#include <QString>
#include <QTest>
#include <tuple>

// QtTest data tables written compactly: the columns in one declaration, a row in one call, and
// the values of a row fetched together.
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

/// Declares the current data table's columns, one type for each name.
template <typename... Types, typename... Names> void columns(Names... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names));
    (QTest::addColumn<Types>(names), ...);
}

/// Adds a row to the current data table, one value per column.
template <typename... Cells> void addRow(const char* name, Cells... cells)
{
    (QTest::newRow(name) << ... << cell(cells));
}

/// The current row's values of the named columns, of the given types.
template <typename... Types, typename... Names> std::tuple<Types...> fetchRow(Names... names)
{
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}

} // namespace gridloom::testing
