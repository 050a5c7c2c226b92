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
// be opened. The catalog takes the name as a pattern ("_" and "%" match any
// character), so rows of other tables that the pattern also matches are
// left out.
std::optional<ColumnList> TryReadColumns(db::CDbConnection& connection, const TString& table);

// The same, empty when the catalog cannot be opened.
ColumnList ReadColumns(db::CDbConnection& connection, const TString& table);

}  // namespace dossel::schema
