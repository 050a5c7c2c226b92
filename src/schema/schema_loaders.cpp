#include "schema/schema_loaders.h"

#include <map>

#include "db/catalog_sets.h"
#include "db/query_result_set.h"
#include "platform/format.h"
#include "schema/column_reader.h"
#include "schema/schema_path.h"
#include "schema/sql_names.h"

namespace dossel::schema {
namespace {

LoadedChildren Failed() { return LoadedChildren{}; }

void Add(LoadedChildren& loaded, const TString& caption, const TString& catalogName = TString()) {
  loaded.entries.push_back(SchemaEntry{caption, catalogName, TString()});
}

const TChar* OrNull(const TString& text) { return text.empty() ? nullptr : text.c_str(); }

// SQL_SCHEMA_USAGE (ODBC 2's SQL_OWNER_USAGE): 0 when the driver has no schemas.
bool HasSchemas(db::CDbConnection& connection) {
  uint32_t usage = 0;
  return connection.GetInfoNumber(SQL_OWNER_USAGE, usage) && usage != 0;
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

LoadedChildren DatabaseList(db::CDbConnection& connection) {
  LoadedChildren loaded = FirstColumnOf(connection, TString(kDatabaseListQuery));
  for (SchemaEntry& entry : loaded.entries) entry.caption = DatabaseCaption(entry.caption);
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

void AddPrimaryKey(db::CDbConnection& connection, const TString& table, const TString& owner, LoadedChildren& loaded) {
  db::CPrimaryKeysSet rs(&connection);
  if (!rs.Open(nullptr, OrNull(owner), table.c_str(), db::kForwardOnly)) return;
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

bool AddForeignKeys(db::CDbConnection& connection, const TString& table, const TString& owner, LoadedChildren& loaded) {
  db::CForeignKeysSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, nullptr, nullptr, OrNull(owner), table.c_str(), db::kForwardOnly) ||
      rs.ExecuteFailed())
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
    Add(loaded, DatabaseCaption(currentDatabase));
    return loaded;
  }
  return DatabaseList(connection);
}

std::vector<SchemaEntry> TableEntries(const std::vector<ListedTable>& tables, bool schemas) {
  std::map<TString, int> occurrences;
  if (schemas) {
    for (const ListedTable& table : tables) ++occurrences[table.name];
  }
  std::vector<SchemaEntry> entries;
  entries.reserve(tables.size());
  for (const ListedTable& table : tables) {
    if (schemas && !table.owner.empty() && occurrences[table.name] > 1)
      entries.push_back(SchemaEntry{table.owner + TChar('.') + table.name, table.name, table.owner});
    else
      entries.push_back(SchemaEntry{table.name, table.name, TString()});
  }
  return entries;
}

LoadedChildren LoadTables(db::CDbConnection& connection, const TChar* tableType) {
  db::CTablesSet rs(&connection);
  if (!rs.Open(nullptr, nullptr, nullptr, tableType, db::kForwardOnly) || rs.ExecuteFailed()) return Failed();
  std::vector<ListedTable> tables;
  for (; !rs.IsAfterLast(); rs.MoveNext()) tables.push_back(ListedTable{rs.m_strTableOwner, rs.m_strTableName});
  return LoadedChildren{true, TableEntries(tables, HasSchemas(connection))};
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

LoadedChildren LoadColumns(db::CDbConnection& connection, const TString& table, const TString& owner,
                           TStringView dbmsName) {
  // The empty select only where the name can go into it as one name.
  const TChar quoteChar = connection.GetIdentifierQuoteChar();
  if (table.size() > 8 && EqualsNoCase(dbmsName, DT("Text")) && (!NeedsQuotes(table) || IsQuoteChar(quoteChar)))
    return ResultColumnsOf(connection, EmptySelectQuery(table, quoteChar));
  const std::optional<ColumnList> columns = TryReadColumns(connection, table, owner);
  if (!columns) return Failed();
  LoadedChildren loaded{true, {}};
  for (const ColumnInfo& column : *columns) Add(loaded, ColumnCaption(column), column.name);
  return loaded;
}

LoadedChildren LoadIndexes(db::CDbConnection& connection, const TString& table, const TString& owner) {
  db::CStatisticsSet rs(&connection);
  if (!rs.Open(nullptr, OrNull(owner), table.c_str(), db::kForwardOnly) || rs.ExecuteFailed()) return Failed();
  LoadedChildren loaded{true, {}};
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    if (rs.m_nType != 0) Add(loaded, rs.m_strIndexName, rs.m_strIndexName);
  }
  return loaded;
}

LoadedChildren LoadConstraints(db::CDbConnection& connection, const TString& table, const TString& owner) {
  LoadedChildren loaded{true, {}};
  AddPrimaryKey(connection, table, owner, loaded);
  loaded.ok = AddForeignKeys(connection, table, owner, loaded);
  return loaded;
}

LoadedChildren LoadTriggers(db::CDbConnection& connection, DbmsFamily family, const TString& table) {
  const TString query = TriggerListQuery(family, table);
  if (query.empty()) return LoadedChildren{true, {}};
  return FirstColumnOf(connection, query);
}

}  // namespace dossel::schema
