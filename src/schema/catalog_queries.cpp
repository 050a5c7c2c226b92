#include "schema/catalog_queries.h"

#include "platform/format.h"
#include "schema/sql_names.h"

namespace dossel::schema {

DbmsFamily FamilyOf(TStringView dbmsName, bool transactSql) {
  if (EqualsNoCase(dbmsName, DT("SQLite"))) return DbmsFamily::SQLite;
  return transactSql ? DbmsFamily::TransactSql : DbmsFamily::Other;
}

TString UseDatabaseStatement(TStringView database, TChar quoteChar) {
  return DT("USE ") + QuoteName(database, quoteChar);
}

TString TriggerListQuery(DbmsFamily family, TStringView table) {
  const TString literal = EscapeSqlLiteral(table);
  switch (family) {
    case DbmsFamily::SQLite:
      return Format(DT("SELECT name FROM sqlite_master WHERE type='trigger' and tbl_name='%s';"), literal);
    case DbmsFamily::TransactSql:
      return Format(DT("{call sp_helptrigger ('%s')};"), literal);
    case DbmsFamily::Other:
      break;
  }
  return TString();
}

TString EmptySelectQuery(TStringView table, TChar quoteChar) {
  return DT("SELECT * FROM ") + QuoteName(table, quoteChar) + DT(" WHERE 1=2");
}

}  // namespace dossel::schema
