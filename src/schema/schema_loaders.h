#pragma once
// The catalog reads behind each expansion of the schema tree: databases,
// tables of a type, procedures, and a table's columns, indexes, constraints
// and triggers, each as the children's captions.
//
// Call on the thread that uses the connection (the session's connection
// thread); the window inserts the children afterwards on its own thread.

#include <vector>

#include "db/db_connection.h"
#include "platform/text.h"
#include "schema/catalog_queries.h"

namespace dossel::schema {

struct SchemaEntry {
  TString caption;
  // The name as the catalog gives it, where the caption is made of more
  // (a column's caption carries its type).
  TString catalogName;
  // The schema of a table or view whose caption names it: "owner.name".
  TString owner;
};

struct LoadedChildren {
  // False when the catalog could not be read (the catalog call failed, or
  // was cancelled): the expansion is refused.
  bool ok = false;
  std::vector<SchemaEntry> entries;
};

// The databases of the server, captioned by DatabaseCaption. Only the T-SQL
// family lists them; any other server shows the database of the connection.
LoadedChildren LoadDatabases(db::CDbConnection& connection, DbmsFamily family, const TString& currentDatabase);

// The tables of one type list ("'TABLE'", "'SYSTEM TABLE'", "'VIEW'"). Where
// the driver has schemas, a name that occurs in more than one is captioned
// "owner.name" and its entry keeps the owner; other names stand alone.
LoadedChildren LoadTables(db::CDbConnection& connection, const TChar* tableType);

// The entries of tables listed as (owner, name) pairs, as LoadTables makes
// them; `schemas` says whether the driver has schemas.
struct ListedTable {
  TString owner;
  TString name;
};
std::vector<SchemaEntry> TableEntries(const std::vector<ListedTable>& tables, bool schemas);

// The procedures, each cut before its first ";" (a T-SQL server numbers
// them as "name;1").
LoadedChildren LoadProcedures(db::CDbConnection& connection);

// In the loaders below, `owner` is the table's schema, empty when the tree
// does not name it.

// The columns of `table` captioned "code [varchar(10),Not Null]". A text-file
// driver's long table names are read through an empty select instead, whose
// columns carry no type.
LoadedChildren LoadColumns(db::CDbConnection& connection, const TString& table, const TString& owner,
                           TStringView dbmsName);

// One entry per index column of `table`, table statistics left out.
LoadedChildren LoadIndexes(db::CDbConnection& connection, const TString& table, const TString& owner);

// The primary key, then the foreign keys of `table`. A key the driver leaves
// unnamed is captioned from its columns: "PRIMARY KEY (id)",
// "FOREIGN KEY (customer_id) REFERENCES customer (id)". Succeeds when the
// foreign keys could be read.
LoadedChildren LoadConstraints(db::CDbConnection& connection, const TString& table, const TString& owner);

// The triggers of `table`, for the families that have a query for them;
// nothing, successfully, for the others.
LoadedChildren LoadTriggers(db::CDbConnection& connection, DbmsFamily family, const TString& table);

}  // namespace dossel::schema
