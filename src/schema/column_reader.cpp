#include "schema/column_reader.h"

#include "db/catalog_sets.h"

namespace dossel::schema {

ColumnList ReadColumns(db::CDbConnection& connection, const TString& table) {
  ColumnList columns;
  db::CColumnsSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, table.c_str(), nullptr, db::kForwardOnly)) return columns;
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

}  // namespace dossel::schema
