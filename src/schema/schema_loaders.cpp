#include "schema/schema_loaders.h"

#include "db/catalog_sets.h"
#include "db/query_result_set.h"
#include "platform/format.h"
#include "schema/column_reader.h"

namespace dossel::schema {
namespace {

LoadedChildren Failed() { return LoadedChildren{}; }

void Add(LoadedChildren& loaded, const TString& caption, const TString& catalogName = TString()) {
  loaded.entries.push_back(SchemaEntry{caption, catalogName});
}

// The first column of every row of `sql`; fails when it cannot run.
LoadedChildren FirstColumnOf(db::CDbConnection& connection, const TString& sql) {
  db::CQueryResultSet rs(&connection);
  if (!rs.OpenSql(sql)) return Failed();
  LoadedChildren loaded{true, {}};
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    TString value;
    rs.GetFieldText(0, value);
    Add(loaded, value);
  }
  return loaded;
}

// The columns of an empty select, by name alone.
LoadedChildren ResultColumnsOf(db::CDbConnection& connection, const TString& sql) {
  db::CQueryResultSet rs(&connection);
  if (!rs.OpenSql(sql)) return Failed();
  LoadedChildren loaded{true, {}};
  for (int column = 0; column < rs.GetColumnCount(); ++column) {
    db::CDbColumnInfo info;
    rs.GetDescribedColumn(column, info);
    Add(loaded, info.m_strName, info.m_strName);
  }
  return loaded;
}

TString JoinNames(const std::vector<TString>& names) {
  TString joined;
  for (const TString& name : names) joined += (joined.empty() ? DT("") : DT(", ")) + name;
  return joined;
}

// The rows of one key come together, numbered from 1 by their sequence; an
// unnamed key is captioned from its columns, so a table with two unnamed
// foreign keys shows two distinct entries.
struct KeyRows {
  TString name;
  std::vector<TString> columns;
  TString referencedTable;
  std::vector<TString> referencedColumns;
};

void AddKey(LoadedChildren& loaded, const KeyRows& key, bool foreign) {
  if (key.columns.empty()) return;
  if (!key.name.empty()) {
    // A named key shows once per column row, as the catalog lists it.
    for (size_t i = 0; i < key.columns.size(); ++i) Add(loaded, key.name, key.name);
    return;
  }
  TString caption = Format(DT("%s KEY (%s)"), foreign ? DT("FOREIGN") : DT("PRIMARY"), JoinNames(key.columns));
  if (foreign) caption += Format(DT(" REFERENCES %s (%s)"), key.referencedTable, JoinNames(key.referencedColumns));
  Add(loaded, caption);
}

void AddPrimaryKey(db::CDbConnection& connection, const TString& table, LoadedChildren& loaded) {
  db::CPrimaryKeysSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, table.c_str(), db::kForwardOnly)) return;
  KeyRows key;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    if (!key.columns.empty() && (rs.m_nKeySeq == 1 || rs.m_strPkName != key.name)) {
      AddKey(loaded, key, false);
      key = KeyRows{};
    }
    key.name = rs.m_strPkName;
    key.columns.push_back(rs.m_strColumnName);
  }
  AddKey(loaded, key, false);
}

bool AddForeignKeys(db::CDbConnection& connection, const TString& table, LoadedChildren& loaded) {
  db::CForeignKeysSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, nullptr, nullptr, nullptr, table.c_str(), db::kForwardOnly) || rs.ExecuteFailed())
    return false;
  KeyRows key;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    if (!key.columns.empty() &&
        (rs.m_nKeySeq == 1 || rs.m_strFkName != key.name || rs.m_strPkTableName != key.referencedTable)) {
      AddKey(loaded, key, true);
      key = KeyRows{};
    }
    key.name = rs.m_strFkName;
    key.referencedTable = rs.m_strPkTableName;
    key.columns.push_back(rs.m_strFkColumnName);
    key.referencedColumns.push_back(rs.m_strPkColumnName);
  }
  AddKey(loaded, key, true);
  return true;
}

}  // namespace

LoadedChildren LoadDatabases(db::CDbConnection& connection, DbmsFamily family, const TString& currentDatabase) {
  if (family != DbmsFamily::TransactSql) {
    LoadedChildren loaded{true, {}};
    Add(loaded, currentDatabase);
    return loaded;
  }
  return FirstColumnOf(connection, TString(kDatabaseListQuery));
}

LoadedChildren LoadTables(db::CDbConnection& connection, const TChar* tableType) {
  db::CTablesSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, nullptr, tableType, db::kForwardOnly) || rs.ExecuteFailed()) return Failed();
  LoadedChildren loaded{true, {}};
  for (; !rs.IsAfterLast(); rs.MoveNext()) Add(loaded, rs.m_strTableName, rs.m_strTableName);
  return loaded;
}

LoadedChildren LoadProcedures(db::CDbConnection& connection) {
  db::CProceduresSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, nullptr, db::kForwardOnly) || rs.ExecuteFailed()) return Failed();
  LoadedChildren loaded{true, {}};
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    const TString name = rs.m_strProcedureName.substr(0, rs.m_strProcedureName.find(TChar(';')));
    Add(loaded, name, name);
  }
  return loaded;
}

LoadedChildren LoadColumns(db::CDbConnection& connection, const TString& table, TStringView dbmsName) {
  if (table.size() > 8 && EqualsNoCase(dbmsName, DT("Text")))
    return ResultColumnsOf(connection, EmptySelectQuery(table, connection.GetIdentifierQuoteChar()));
  const std::optional<ColumnList> columns = TryReadColumns(connection, table);
  if (!columns) return Failed();
  LoadedChildren loaded{true, {}};
  for (const ColumnInfo& column : *columns) Add(loaded, ColumnCaption(column), column.name);
  return loaded;
}

LoadedChildren LoadIndexes(db::CDbConnection& connection, const TString& table) {
  db::CStatisticsSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, table.c_str(), db::kForwardOnly) || rs.ExecuteFailed()) return Failed();
  LoadedChildren loaded{true, {}};
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    if (rs.m_nType != 0) Add(loaded, rs.m_strIndexName, rs.m_strIndexName);
  }
  return loaded;
}

LoadedChildren LoadConstraints(db::CDbConnection& connection, const TString& table) {
  LoadedChildren loaded{true, {}};
  AddPrimaryKey(connection, table, loaded);
  loaded.ok = AddForeignKeys(connection, table, loaded);
  return loaded;
}

LoadedChildren LoadTriggers(db::CDbConnection& connection, DbmsFamily family, const TString& table) {
  const TString query = TriggerListQuery(family, table);
  if (query.empty()) return LoadedChildren{true, {}};
  return FirstColumnOf(connection, query);
}

}  // namespace dossel::schema
