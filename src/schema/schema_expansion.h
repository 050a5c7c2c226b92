#pragma once
// One expansion of the schema tree: what the children of the node at a path
// are, read by one call. The call dispatches by the path's depth and kind
// (databases under the root, the object folders under a database, the
// objects of a folder, the detail folders under an object, a table's
// columns, indexes, constraints or triggers); folder captions come from the
// settings, and every catalog read is made in one visit to the session's
// connection thread, whose answer comes back later. The window only inserts
// what comes back.
//
// UI thread only (the thread that commands the session).

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "schema/schema_loaders.h"
#include "schema/schema_path.h"

namespace dossel::session {
class CSession;
}

namespace dossel::schema {

// What the children of a node are, so the window can picture them.
enum class ChildKind { None, Database, Folder, Table, View, Procedure, Column, Index, Constraint, Trigger };

struct ExpandedChildren {
  // False when the expansion is refused: no connection, a run holds it, or
  // the catalog could not be read.
  bool ok = false;
  ChildKind kind = ChildKind::None;
  std::vector<SchemaEntry> entries;
};

// Receives the children of a node read from the catalog.
using ChildrenAnswer = std::function<void(ExpandedChildren children)>;

// The children of the node at `path` when they need no catalog read (the
// folders, an entry's none) or the read is refused; otherwise nothing, and
// the read is asked of the session's connection thread without waiting:
// `answer` gets the children on the UI thread once they are read (dropped
// when `owner` has gone by then).
//
// Tells the session's trace what stops a read ("The schema cannot be read
// while a query runs.", "Unexpected Error." when the databases cannot be
// listed, "Failed to select database."), and keeps the session's database
// name: the server's current one after the databases are listed, the
// folder's database after its user tables are read from it (the read
// switches the connection with "USE").
std::optional<ExpandedChildren> LoadChildrenOf(session::CSession& session, const SchemaPath& path,
                                               std::weak_ptr<const void> owner, ChildrenAnswer answer);

}  // namespace dossel::schema
