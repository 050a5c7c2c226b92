#pragma once
// The commands of the schema pane that write scripts: the eight "Script As"
// commands and "&Open", "&Edit" and "&Delete", each with its generator and
// the options its text is handed on with, the two settings those options may
// come from, and the question "&Delete" asks first.
//
// PrepareScript does a command's work short of the query pane: it asks, reads
// the settings, reads the columns when the text needs them, and formats. It
// runs on the UI thread (it may show a message box). The window, which must
// not wait for the connection's thread, makes it in two halves: PlanScript,
// then FinishScript once the columns have been read.

#include <functional>

#include "platform/text.h"
#include "schema/script_texts.h"

namespace dossel::schema {

enum class SchemaCommand {
  ScriptCreate,
  ScriptAlter,
  ScriptDrop,
  ScriptSelect,
  ScriptInsert,
  ScriptUpdate,
  ScriptDelete,
  ScriptExecute,
  Open,  // also double click on the tree
  Edit,
  Delete,
};

// Where an option comes from.
enum class Choice { No, Yes, Setting };

struct CommandChoices {
  Choice highlight;
  Choice execute;
  Choice switchPane;
};

struct SchemaCommandInfo {
  SchemaCommand command;
  int id;  // command number in the schema pane's menu
  const TChar* menuText;
  Generator generator;
  bool asksFirst;            // the "Delete" question comes before the script
  CommandChoices confirmed;  // the options, for "&Delete" when answered OK
  CommandChoices declined;   // "&Delete" answered Cancel; the same as confirmed elsewhere
};

const SchemaCommandInfo& GetCommandInfo(SchemaCommand command);
// The command with menu number `id`, or null.
const SchemaCommandInfo* FindCommandById(int id);

// The settings the "Script As" options come from.
inline constexpr TStringView kSchemaSettingsKey = DT("Software\\Harlune\\Dossel\\Schema");
inline constexpr TStringView kHighlightValue = DT("Highlight");
inline constexpr TStringView kSwitchViewValue = DT("SwitchView");
inline constexpr int kHighlightDefault = 1;
inline constexpr int kSwitchViewDefault = 1;

struct ScriptSettings {
  bool highlight = true;
  bool switchView = true;
};

// Both settings as stored now (each read anew, nothing kept).
ScriptSettings ReadScriptSettings();

ScriptOptions ResolveOptions(const CommandChoices& choices, const ScriptSettings& settings);

// The question of "&Delete": OK scripts and runs the drop, Cancel only scripts it.
inline constexpr TStringView kDeleteQuestionTitle = DT("Delete");
inline constexpr TStringView kDeleteQuestionText = DT("Are you sure?\r\nTo script only, please press Cancel.");

// Reads the columns of the target's table or view (its object, in its owner
// when named), in catalog order; empty when the catalog cannot be read.
using ColumnReader = std::function<ColumnList(const ScriptTarget& target)>;

// A command's script before its text: what it is made of and how it is
// handed on, decided on the UI thread before the columns are read.
struct ScriptPlan {
  Generator generator = Generator::Select;
  ScriptTarget target;
  ScriptOptions options;
  // The text needs the object's columns (read from the catalog first).
  bool needsColumns = false;
};

// The first half of a command: asks the "Delete" question through
// ShowMessageBox and reads the settings only for commands whose options use
// them.
ScriptPlan PlanScript(SchemaCommand command, const ScriptTarget& target);
// The second half: the text, with `columns` the object's columns (empty when
// not needed or not read).
GeneratedScript FinishScript(const ScriptPlan& plan, const ColumnList& columns, TChar quoteChar);

// Both halves at once, calling `readColumns` once, only when the text needs
// the columns.
GeneratedScript PrepareScript(SchemaCommand command, const ScriptTarget& target, TChar quoteChar,
                              const ColumnReader& readColumns);

}  // namespace dossel::schema
