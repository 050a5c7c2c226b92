#pragma once
// The SQL texts the schema tree runs to read what the catalog functions do
// not give: databases, triggers, the columns of a text-file table, and the
// switch to another database. Names go in quoted and values escaped, so a
// name from the catalog cannot change the statement.
//
// Pure functions of their arguments; any thread may call them.

#include "platform/text.h"

namespace dossel::schema {

// The server families whose catalogs differ.
enum class DbmsFamily { SQLite, TransactSql, Other };

// From the DBMS name (SQL_DBMS_NAME) and whether the server speaks T-SQL.
DbmsFamily FamilyOf(TStringView dbmsName, bool transactSql);

// The databases of a T-SQL server.
inline constexpr TStringView kDatabaseListQuery = DT("SELECT name FROM master..sysdatabases ORDER BY name");

// "USE database".
TString UseDatabaseStatement(TStringView database, TChar quoteChar);

// The triggers of `table`, one name per row in the first column; empty when
// the family has no such query.
TString TriggerListQuery(DbmsFamily family, TStringView table);

// A query with no rows whose result columns are the table's columns.
TString EmptySelectQuery(TStringView table, TChar quoteChar);

}  // namespace dossel::schema
