#include "schema/column_reader.h"

#include "db/catalog_sets.h"

namespace dossel::schema {

std::optional<ColumnList> TryReadColumns(db::CDbConnection& connection, const TString& table, const TString& owner) {
  db::CColumnsSet rs(&connection);
  if (!rs.Open(nullptr, owner.empty() ? nullptr : owner.c_str(), table.c_str(), nullptr, db::kForwardOnly) ||
      rs.ExecuteFailed())
    return std::nullopt;
  ColumnList columns;
  // The set holds the first characters of a long name only.
  const TString wanted = table.substr(0, db::CCatalogSet::kCatalogTextLength);
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    // A driver that leaves the table name out of its rows keeps them all.
    if (!rs.m_strTableName.empty() && rs.m_strTableName != wanted) continue;
    if (!owner.empty() && !rs.m_strTableOwner.empty() && rs.m_strTableOwner != owner) continue;
    columns.push_back(
        ColumnInfo{rs.m_strColumnName, rs.m_strTypeName, rs.m_nDataType, rs.m_lPrecision, rs.m_nNullable});
  }
  return columns;
}

ColumnList ReadColumns(db::CDbConnection& connection, const TString& table, const TString& owner) {
  return TryReadColumns(connection, table, owner).value_or(ColumnList());
}

}  // namespace dossel::schema
