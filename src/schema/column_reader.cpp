#include "schema/column_reader.h"

#include "db/catalog_sets.h"

namespace dossel::schema {

std::optional<ColumnList> TryReadColumns(db::CDbConnection& connection, const TString& table) {
  db::CColumnsSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, table.c_str(), nullptr, db::kForwardOnly) || rs.ExecuteFailed()) return std::nullopt;
  ColumnList columns;
  // The set holds the first characters of a long name only.
  const TString wanted = table.substr(0, db::CCatalogSet::kCatalogTextLength);
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    // A driver that leaves the table name out of its rows keeps them all.
    if (!rs.m_strTableName.empty() && rs.m_strTableName != wanted) continue;
    columns.push_back(
        ColumnInfo{rs.m_strColumnName, rs.m_strTypeName, rs.m_nDataType, rs.m_lPrecision, rs.m_nNullable});
  }
  return columns;
}

ColumnList ReadColumns(db::CDbConnection& connection, const TString& table) {
  return TryReadColumns(connection, table).value_or(ColumnList());
}

}  // namespace dossel::schema
