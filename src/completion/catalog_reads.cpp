#include "completion/catalog_reads.h"

#include "db/catalog_sets.h"
#include "db/odbc_constants.h"

namespace dossel::completion {
namespace {

// Whether a catalog read gave its whole answer: a failed call or fetch shows
// as an empty list, which must not replace what was read before.
bool ReadWhole(const db::CDbResultSet& rs) { return !rs.ExecuteFailed() && !rs.FetchFailed(); }

const TChar* OrNull(const TString& text) { return text.empty() ? nullptr : text.c_str(); }

// Tables and views of every kind but the system's.
bool IsWanted(const TString& type) {
  if (StartsWithNoCase(type, DT("SYSTEM"))) return false;
  return FindNoCase(type, DT("TABLE")) != TStringView::npos || FindNoCase(type, DT("VIEW")) != TStringView::npos ||
         EqualsNoCase(type, DT("ALIAS")) || EqualsNoCase(type, DT("SYNONYM"));
}

TablesRead ReadTables(db::CDbConnection& connection, const TChar* catalog, const TChar* schema) {
  TablesRead read;
  db::CTablesSet rs(&connection);
  // Every type, filtered here: drivers differ in the type lists they parse.
  if (!rs.Open(catalog, schema, nullptr, nullptr, db::kForwardOnly)) return read;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    if (!IsWanted(rs.m_strTableType)) continue;
    read.tables.push_back(CatalogTable{rs.m_strTableQualifier, rs.m_strTableOwner, rs.m_strTableName,
                                       FindNoCase(rs.m_strTableType, DT("VIEW")) != TStringView::npos});
  }
  read.ok = ReadWhole(rs);
  return read;
}

IdentifierCase CaseOf(db::CDbConnection& connection) {
  uint16_t value = 0;
  if (!connection.GetInfoNumber(SQL_IDENTIFIER_CASE, value)) return IdentifierCase::Mixed;
  switch (value) {
    case SQL_IC_UPPER:
      return IdentifierCase::Upper;
    case SQL_IC_LOWER:
      return IdentifierCase::Lower;
    case SQL_IC_SENSITIVE:
      return IdentifierCase::Sensitive;
    default:
      return IdentifierCase::Mixed;
  }
}

}  // namespace

NamesRead ReadNames(db::CDbConnection& connection, const CatalogTable* probe) {
  NamesRead read;
  read.rules.quote = connection.GetIdentifierQuoteChar();
  read.rules.identifierCase = CaseOf(connection);
  read.user = connection.GetInfoText(SQL_USER_NAME);
  read.currentCatalog = connection.GetInfoText(SQL_DATABASE_NAME);
  read.catalogs = connection.GetInfoText(SQL_CATALOG_NAME) == DT("Y");
  read.tables = ReadTables(connection, nullptr, nullptr);
  if (read.tables.ok && read.tables.tables.empty() && probe) read.tables.ok = ReadColumnsOf(connection, *probe).ok;
  return read;
}

TablesRead ReadTablesIn(db::CDbConnection& connection, const TString& catalog, const TString& schema) {
  return ReadTables(connection, OrNull(catalog), OrNull(schema));
}

CatalogsRead ReadCatalogs(db::CDbConnection& connection) {
  CatalogsRead read;
  db::CTablesSet rs(&connection);
  if (!rs.Open(DT("%"), DT(""), DT(""), nullptr, db::kForwardOnly)) return read;
  for (; !rs.IsAfterLast(); rs.MoveNext())
    if (!rs.m_strTableQualifier.empty()) read.names.push_back(rs.m_strTableQualifier);
  read.ok = ReadWhole(rs);
  return read;
}

ColumnsRead ReadColumnsOf(db::CDbConnection& connection, const CatalogTable& table) {
  ColumnsRead read;
  db::CColumnsSet rs(&connection);
  if (!rs.Open(OrNull(table.catalog), OrNull(table.schema), table.name.c_str(), nullptr, db::kForwardOnly)) return read;
  // The set holds the first characters of a long name only.
  const TString wanted = table.name.substr(0, db::CCatalogSet::kCatalogTextLength);
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    // A driver that leaves the table's name out of its rows keeps them all.
    if (!rs.m_strTableName.empty() && rs.m_strTableName != wanted) continue;
    if (!table.schema.empty() && !rs.m_strTableOwner.empty() && rs.m_strTableOwner != table.schema) continue;
    read.columns.push_back(CatalogColumn{rs.m_strColumnName, rs.m_strTypeName});
  }
  read.ok = ReadWhole(rs);
  return read;
}

}  // namespace dossel::completion
