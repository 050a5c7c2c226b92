#pragma once
// The catalog reads behind completion, each one small piece of work on the
// connection's thread: the tables and views with the facts that decide how
// a name is written, the databases of a server that has several, the
// tables of one of them, and the columns of one table. Each is made with
// the catalog result sets of src/db and answers plain values, which the
// cache takes over on the UI thread.
//
// Call on the connection's thread (inside CSession::Ask).

#include <cstdint>
#include <vector>

#include "db/db_connection.h"
#include "platform/text.h"

namespace dossel::completion {

struct CatalogTable {
  TString catalog;  // the database, where the driver names one
  TString schema;   // the schema or owner, where the driver has them
  TString name;
  bool view = false;
};

struct CatalogColumn {
  TString name;
  TString type;  // as the catalog spells it
};

// How the server takes an unquoted name (SQL_IDENTIFIER_CASE).
enum class IdentifierCase { Mixed, Upper, Lower, Sensitive };

// What decides how a name is written into SQL.
struct NameRules {
  TChar quote = TChar(' ');  // none
  IdentifierCase identifierCase = IdentifierCase::Mixed;
};

struct TablesRead {
  bool ok = false;
  std::vector<CatalogTable> tables;
};

struct NamesRead {
  TablesRead tables;
  NameRules rules;
  TString user;            // SQL_USER_NAME: the schema a server may give the user
  TString currentCatalog;  // SQL_DATABASE_NAME
  bool catalogs = false;   // the driver names databases (SQL_CATALOG_NAME)
};

// The tables and views of the connection (system tables left out), and the
// connection's facts. A driver may answer a failed SQLTables with an empty
// list (the SQLite driver does when another connection locks the
// database), so an empty list is believed only when the columns of `probe`,
// a table read before (null for none), can still be read.
NamesRead ReadNames(db::CDbConnection& connection, const CatalogTable* probe = nullptr);

// The tables and views of one database, or of one schema.
TablesRead ReadTablesIn(db::CDbConnection& connection, const TString& catalog, const TString& schema);

struct CatalogsRead {
  bool ok = false;
  std::vector<TString> names;
};

// The databases of a server that has several (SQL_ALL_CATALOGS).
CatalogsRead ReadCatalogs(db::CDbConnection& connection);

struct ColumnsRead {
  bool ok = false;
  std::vector<CatalogColumn> columns;
};

// The columns of `table`, in catalog order; rows of other tables that the
// name, taken by the catalog as a pattern, also matches are left out.
ColumnsRead ReadColumnsOf(db::CDbConnection& connection, const CatalogTable& table);

}  // namespace dossel::completion
