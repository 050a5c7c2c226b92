#include "schema/schema_expansion.h"

#include <functional>
#include <optional>
#include <utility>

#include "schema/sql_names.h"
#include "session/session.h"

namespace dossel::schema {
namespace {

using Read = std::function<LoadedChildren(db::CDbConnection&)>;
using Owner = std::weak_ptr<const void>;

// Whether a catalog read may be asked for now: there is a connection and no
// run holds it.
bool MayRead(session::CSession& session) {
  if (!session.IsConnected()) return false;
  if (session.IsExecuting()) {
    // The connection's thread is busy with the run until it ends.
    session::AppendTraceF(session.View(), DT("The schema cannot be read while a query runs.\r\n"));
    return false;
  }
  return true;
}

ExpandedChildren Expanded(LoadedChildren loaded, ChildKind kind) {
  return ExpandedChildren{loaded.ok, kind, std::move(loaded.entries)};
}

ExpandedChildren Folders(const std::vector<TString>& captions) {
  ExpandedChildren folders{true, ChildKind::Folder, {}};
  for (const TString& caption : captions) folders.entries.push_back(SchemaEntry{caption, TString(), TString()});
  return folders;
}

// Asks for the children of one kind; the refusal when they cannot be read.
std::optional<ExpandedChildren> AskChildren(session::CSession& session, Owner owner, ChildKind kind, Read read,
                                            ChildrenAnswer answer) {
  if (!MayRead(session)) return ExpandedChildren{};
  const bool asked = session.Ask(std::move(owner), std::move(read),
                                 [kind, answer](LoadedChildren loaded) { answer(Expanded(std::move(loaded), kind)); });
  if (!asked) return ExpandedChildren{};
  return std::nullopt;
}

// The databases, and the server's current one where the family has it.
struct DatabasesRead {
  LoadedChildren databases;
  std::optional<TString> selected;
};

// What the databases' read comes to: tells the trace when they could not be
// listed or the current one not read, and keeps the current one.
ExpandedChildren DatabasesAnswer(session::CSession& session, DatabasesRead read) {
  if (!read.databases.ok) {
    if (!session.IsExecuting()) session::AppendTraceF(session.View(), DT("Unexpected Error.\r\n"));
    return ExpandedChildren{};
  }
  if (read.selected)
    session.SetCurrentDatabaseName(*read.selected);
  else
    session::AppendTraceF(session.View(), DT("Failed to select database.\r\n"));
  return Expanded(std::move(read.databases), ChildKind::Database);
}

std::optional<ExpandedChildren> LoadDatabasesOf(session::CSession& session, Owner owner, ChildrenAnswer answer) {
  const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
  const TString current = session.GetDatabaseName();
  if (!MayRead(session)) return DatabasesAnswer(session, DatabasesRead{});
  const bool asked = session.Ask(
      std::move(owner),
      [&session, family, current](db::CDbConnection& connection) {
        DatabasesRead read{LoadDatabases(connection, family, current), current};
        if (read.databases.ok && family == DbmsFamily::TransactSql) read.selected = session.ReadCurrentDatabase();
        return read;
      },
      [&session, answer](DatabasesRead read) { answer(DatabasesAnswer(session, std::move(read))); });
  if (!asked) return DatabasesAnswer(session, DatabasesRead{});
  return std::nullopt;
}

std::optional<ExpandedChildren> LoadUserTablesOf(session::CSession& session, const SchemaPath& path, Owner owner,
                                                 ChildrenAnswer answer) {
  // No statement switches to a database without a name: the unnamed one is
  // the connection's own.
  const bool switchDatabase = !path.database.empty() && !EqualsNoCase(path.database, session.GetDatabaseName());
  const TString database = path.database;
  if (!MayRead(session)) return ExpandedChildren{};
  if (switchDatabase && NeedsQuotes(database) && !IsQuoteChar(session.Connection().GetIdentifierQuoteChar())) {
    // "USE" and the name as it is might be more than the one statement.
    session::AppendTraceF(session.View(),
                          DT("The database [%s] cannot be switched to: the driver has no quote character.\r\n"),
                          database);
    return ExpandedChildren{};
  }
  // The switch is asked for whether or not the tables can be read.
  if (switchDatabase) session.SetCurrentDatabaseName(database);
  return AskChildren(
      session, std::move(owner), ChildKind::Table,
      [switchDatabase, database](db::CDbConnection& connection) {
        if (switchDatabase)
          connection.ExecuteAndDiscard(UseDatabaseStatement(database, connection.GetIdentifierQuoteChar()));
        return LoadTables(connection, DT("'TABLE'"));
      },
      std::move(answer));
}

std::optional<ExpandedChildren> LoadObjectsOf(session::CSession& session, const SchemaPath& path, Owner owner,
                                              ChildrenAnswer answer) {
  switch (path.kind) {
    case ObjectKind::UserTables:
      return LoadUserTablesOf(session, path, std::move(owner), std::move(answer));
    case ObjectKind::SystemTables:
      return AskChildren(
          session, std::move(owner), ChildKind::Table,
          [](db::CDbConnection& c) { return LoadTables(c, DT("'SYSTEM TABLE'")); }, std::move(answer));
    case ObjectKind::Views:
      return AskChildren(
          session, std::move(owner), ChildKind::View, [](db::CDbConnection& c) { return LoadTables(c, DT("'VIEW'")); },
          std::move(answer));
    case ObjectKind::StoredProcedures:
      return AskChildren(
          session, std::move(owner), ChildKind::Procedure, [](db::CDbConnection& c) { return LoadProcedures(c); },
          std::move(answer));
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

std::optional<ExpandedChildren> LoadDetailsOf(session::CSession& session, const SchemaPath& path, Owner owner,
                                              ChildrenAnswer answer) {
  const TString table = path.object;
  const TString schema = path.owner;
  switch (path.kind) {
    case ObjectKind::Columns: {
      const TString dbms = session.GetDbmsName();
      return AskChildren(
          session, std::move(owner), ChildKind::Column,
          [table, schema, dbms](db::CDbConnection& c) { return LoadColumns(c, table, schema, dbms); },
          std::move(answer));
    }
    case ObjectKind::Indexes:
      return AskChildren(
          session, std::move(owner), ChildKind::Index,
          [table, schema](db::CDbConnection& c) { return LoadIndexes(c, table, schema); }, std::move(answer));
    case ObjectKind::Constraints:
      return AskChildren(
          session, std::move(owner), ChildKind::Constraint,
          [table, schema](db::CDbConnection& c) { return LoadConstraints(c, table, schema); }, std::move(answer));
    case ObjectKind::Triggers: {
      const DbmsFamily family = FamilyOf(session.GetDbmsName(), session.IsTransactSql());
      return AskChildren(
          session, std::move(owner), ChildKind::Trigger,
          [family, table](db::CDbConnection& c) { return LoadTriggers(c, family, table); }, std::move(answer));
    }
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

}  // namespace

std::optional<ExpandedChildren> LoadChildrenOf(session::CSession& session, const SchemaPath& path,
                                               std::weak_ptr<const void> owner, ChildrenAnswer answer) {
  switch (path.depth) {
    case kRootDepth:
      return LoadDatabasesOf(session, std::move(owner), std::move(answer));
    case kDatabaseDepth:
      return Folders(VisibleObjectFolders());
    case kObjectFolderDepth:
      return LoadObjectsOf(session, path, std::move(owner), std::move(answer));
    case kObjectDepth:
      return Folders(VisibleDetailFolders());
    case kDetailFolderDepth:
      return LoadDetailsOf(session, path, std::move(owner), std::move(answer));
    default:
      return ExpandedChildren{true, ChildKind::None, {}};
  }
}

}  // namespace dossel::schema
