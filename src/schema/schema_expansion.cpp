#include "schema/schema_expansion.h"

#include <functional>
#include <optional>

#include "session/session.h"

namespace dossel::schema {
namespace {

using Read = std::function<LoadedChildren(db::CDbConnection&)>;

// Reads the catalog on the connection's thread; fails without reading when
// there is no connection or a run holds it.
LoadedChildren ReadCatalog(session::CSession& session, const Read& read) {
  if (!session.IsConnected()) return LoadedChildren{};
  if (session.IsExecuting()) {
    // The connection's thread is busy with the run until it ends.
    session::AppendTraceF(session.View(), DT("The schema cannot be read while a query runs.\r\n"));
    return LoadedChildren{};
  }
  LoadedChildren loaded;
  session.CallOnConnection([&](db::CDbConnection& connection) { loaded = read(connection); });
  return loaded;
}

ExpandedChildren Expanded(LoadedChildren loaded, ChildKind kind) {
  return ExpandedChildren{loaded.ok, kind, std::move(loaded.entries)};
}

ExpandedChildren Folders(const std::vector<TString>& captions) {
  ExpandedChildren folders{true, ChildKind::Folder, {}};
  for (const TString& caption : captions) folders.entries.push_back(SchemaEntry{caption, TString()});
  return folders;
}

ExpandedChildren LoadDatabasesOf(session::CSession& session) {
  const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
  const TString current = session.GetDatabaseName();
  std::optional<TString> selected = current;
  LoadedChildren loaded = ReadCatalog(session, [&](db::CDbConnection& connection) {
    LoadedChildren databases = LoadDatabases(connection, family, current);
    if (databases.ok && family == DbmsFamily::TransactSql) selected = session.ReadCurrentDatabase();
    return databases;
  });
  if (!loaded.ok) {
    if (!session.IsExecuting()) session::AppendTraceF(session.View(), DT("Unexpected Error.\r\n"));
    return ExpandedChildren{};
  }
  if (selected)
    session.SetCurrentDatabaseName(*selected);
  else
    session::AppendTraceF(session.View(), DT("Failed to select database.\r\n"));
  return Expanded(std::move(loaded), ChildKind::Database);
}

ExpandedChildren LoadUserTablesOf(session::CSession& session, const SchemaPath& path) {
  const bool switchDatabase = !EqualsNoCase(path.database, session.GetDatabaseName());
  LoadedChildren loaded = ReadCatalog(session, [&](db::CDbConnection& connection) {
    if (switchDatabase)
      connection.ExecuteAndDiscard(UseDatabaseStatement(path.database, connection.GetIdentifierQuoteChar()));
    return LoadTables(connection, DT("'TABLE'"));
  });
  // The switch was asked for whether or not the tables could be read.
  if (switchDatabase && session.IsConnected() && !session.IsExecuting()) session.SetCurrentDatabaseName(path.database);
  return Expanded(std::move(loaded), ChildKind::Table);
}

ExpandedChildren LoadObjectsOf(session::CSession& session, const SchemaPath& path) {
  switch (path.kind) {
    case ObjectKind::UserTables:
      return LoadUserTablesOf(session, path);
    case ObjectKind::SystemTables:
      return Expanded(ReadCatalog(session, [](db::CDbConnection& c) { return LoadTables(c, DT("'SYSTEM TABLE'")); }),
                      ChildKind::Table);
    case ObjectKind::Views:
      return Expanded(ReadCatalog(session, [](db::CDbConnection& c) { return LoadTables(c, DT("'VIEW'")); }),
                      ChildKind::View);
    case ObjectKind::StoredProcedures:
      return Expanded(ReadCatalog(session, [](db::CDbConnection& c) { return LoadProcedures(c); }),
                      ChildKind::Procedure);
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

ExpandedChildren LoadDetailsOf(session::CSession& session, const SchemaPath& path) {
  const TString& table = path.object;
  switch (path.kind) {
    case ObjectKind::Columns: {
      const TString dbms = session.GetDbmsName();
      return Expanded(ReadCatalog(session, [&](db::CDbConnection& c) { return LoadColumns(c, table, dbms); }),
                      ChildKind::Column);
    }
    case ObjectKind::Indexes:
      return Expanded(ReadCatalog(session, [&](db::CDbConnection& c) { return LoadIndexes(c, table); }),
                      ChildKind::Index);
    case ObjectKind::Constraints:
      return Expanded(ReadCatalog(session, [&](db::CDbConnection& c) { return LoadConstraints(c, table); }),
                      ChildKind::Constraint);
    case ObjectKind::Triggers: {
      const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
      return Expanded(ReadCatalog(session, [&](db::CDbConnection& c) { return LoadTriggers(c, family, table); }),
                      ChildKind::Trigger);
    }
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

}  // namespace

ExpandedChildren LoadChildrenOf(session::CSession& session, const SchemaPath& path) {
  switch (path.depth) {
    case kRootDepth:
      return LoadDatabasesOf(session);
    case kDatabaseDepth:
      return Folders(VisibleObjectFolders());
    case kObjectFolderDepth:
      return LoadObjectsOf(session, path);
    case kObjectDepth:
      return Folders(VisibleDetailFolders());
    case kDetailFolderDepth:
      return LoadDetailsOf(session, path);
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

}  // namespace dossel::schema
