#pragma once
// The texts of the "Script As" generators for the selected item of the schema
// tree, and the options each text is handed to the query pane with.
//
// The texts are skeletons the user completes (an empty VALUES list, a WHERE
// without its value); their spacing, trailing spaces included, is part of
// them. Names go in quoted (sql_names.h), so a name from the catalog can never
// end a statement and start another; where the driver has no quote character
// for a name that needs one, the text is shown and not run.
//
// Pure functions of their arguments; any thread may call them.

#include <optional>

#include "platform/text.h"
#include "schema/column_lists.h"

namespace dossel::schema {

// The kind of a schema tree item: the object folder it lies in or, below an
// object, the detail folder. The numbers are the tree's own.
enum class ObjectKind : int {
  None = 0,
  UserTables = 2,
  SystemTables = 3,
  Views = 4,
  StoredProcedures = 5,
  Columns = 6,
  Indexes = 7,
  Constraints = 8,
  Triggers = 9,
};

// What a script is about: the parts of the selected item's path it uses.
struct ScriptTarget {
  TString object;     // table, view or procedure name
  TString subobject;  // column caption, index, key or trigger name; empty on a folder
  ObjectKind kind = ObjectKind::None;
  // The catalog name of the selected column, when the caller kept it; the
  // column is otherwise cut from the caption in `subobject`.
  std::optional<TString> columnName;
  // The schema `object` is in, when the tree names it (a name that occurs
  // in several schemas): the texts name the object "owner.object".
  TString owner;
};

enum class Generator { Create, Alter, Drop, Select, Insert, Update, Delete, Execute };

// How a text is handed to the query pane (the text always goes on a new line).
struct ScriptOptions {
  bool highlight = false;   // select the appended text
  bool execute = false;     // run it at once
  bool switchPane = false;  // bring the query pane to the front
};

struct GeneratedScript {
  // False when the generator has no text for the kind: then only the switch
  // option is carried out.
  bool hasText = false;
  TString text;
  ScriptOptions options;
  // A name the text holds as it is, though it needs quotes, since the driver
  // has no quote character: the text may not be the one statement it looks.
  std::optional<TString> unquotedName;
  // The command asked to run the text, but for `unquotedName` it is only
  // shown, in the query pane brought to the front.
  bool heldBack = false;
};

// The trace's line for a text held back, with the unquoted name.
inline constexpr TStringView kHeldBackTrace =
    DT("The script was not run: the driver has no quote character for the name [%s].\r\n");

// Whether "&Open" (and a double click) has something to open: a table, a
// view, a procedure or a column entry. A folder, a database or the root has
// not, and its Select would be no statement ("SELECT  FROM ;").
bool CanOpen(const ScriptTarget& target);

// Whether the generator needs the object's columns for this kind.
bool NeedsColumns(Generator generator, ObjectKind kind);

// The column name the column scripts use: the catalog name when the target
// has it, else the name cut from the caption.
TString TargetColumnName(const ScriptTarget& target);

// The generator's text for the target, with `columns` the object's columns in
// catalog order (empty when the catalog could not be read) and `quoteChar`
// the driver's identifier quote character. `asked` are the command's options;
// a stored procedure's Select, and a text held back for an unquoted name,
// come back with execute off and switch on.
GeneratedScript GenerateScript(Generator generator, const ScriptTarget& target, const ColumnList& columns,
                               TChar quoteChar, ScriptOptions asked);

}  // namespace dossel::schema
