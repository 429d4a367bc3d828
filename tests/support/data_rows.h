#pragma once

#include <QString>
#include <QTest>
#include <tuple>
#include <utility>
#include <vector>

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

// The names `columns` gave the current data table, so that a row can be fetched by position.
inline std::vector<const char*>& columnNames()
{
    static std::vector<const char*> names;
    return names;
}

/// Declares the current data table's columns, one type for each name.
template <typename... Types, typename... Names> void columns(Names... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names));
    columnNames() = {names...};
    (QTest::addColumn<Types>(names), ...);
}

template <typename... Types, std::size_t... Column>
std::tuple<Types...> fetchColumns(std::index_sequence<Column...>)
{
    return {*static_cast<Types*>(QTest::qData(columnNames().at(Column), qMetaTypeId<Types>()))...};
}

/// Adds a row to the current data table, one value per column.
template <typename... Cells> void addRow(const char* name, Cells... cells)
{
    (QTest::newRow(name) << ... << cell(cells));
}

/// The current row's values of the columns `columns` declared, of the given types, in order.
template <typename... Types> std::tuple<Types...> fetchRow()
{
    return fetchColumns<Types...>(std::index_sequence_for<Types...>{});
}

} // namespace gridloom::testing
