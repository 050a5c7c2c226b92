#pragma once
// Reads the columns of a table or view through the columns catalog, for the
// column lists of the generated scripts and the tree's column entries.
//
// Call on the thread that uses the connection (the session's connection
// thread).

#include <optional>

#include "db/db_connection.h"
#include "schema/column_lists.h"

namespace dossel::schema {

// The columns of `table` in catalog order; nothing when the catalog cannot
// be opened. `owner` is the table's schema, empty for none named (the
// catalog then gives the columns of every table of that name, in whichever
// schema). The catalog takes the names as patterns ("_" and "%" match any
// character), so rows of other tables that the patterns also match are left
// out.
std::optional<ColumnList> TryReadColumns(db::CDbConnection& connection, const TString& table,
                                         const TString& owner = TString());

// The same, empty when the catalog cannot be opened.
ColumnList ReadColumns(db::CDbConnection& connection, const TString& table, const TString& owner = TString());

}  // namespace dossel::schema
