#include "schema/schema_commands.h"

#include "platform/user_interface.h"
#include "res/command_ids.h"
#include "settings/settings_store.h"

namespace dossel::schema {
namespace {

constexpr CommandChoices kFromSettings{Choice::Setting, Choice::No, Choice::Setting};
constexpr CommandChoices kRunAtOnce{Choice::Yes, Choice::Yes, Choice::No};
constexpr CommandChoices kShowToEdit{Choice::Yes, Choice::No, Choice::Yes};

const SchemaCommandInfo kCommands[] = {
    {SchemaCommand::ScriptCreate, res::ID_SCRIPT_AS_CREATE, DT("&Create"), Generator::Create, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptAlter, res::ID_SCRIPT_AS_ALTER, DT("&Alter"), Generator::Alter, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptDrop, res::ID_SCRIPT_AS_DROP, DT("Dr&op"), Generator::Drop, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptSelect, res::ID_SCRIPT_AS_SELECT, DT("&Select"), Generator::Select, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptInsert, res::ID_SCRIPT_AS_INSERT, DT("&Insert"), Generator::Insert, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptUpdate, res::ID_SCRIPT_AS_UPDATE, DT("&Update"), Generator::Update, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptDelete, res::ID_SCRIPT_AS_DELETE, DT("&Delete"), Generator::Delete, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::ScriptExecute, res::ID_SCRIPT_AS_EXECUTE, DT("&Execute"), Generator::Execute, false, kFromSettings,
     kFromSettings},
    {SchemaCommand::Open, res::ID_SCHEMA_OPEN, DT("&Open"), Generator::Select, false, kRunAtOnce, kRunAtOnce},
    {SchemaCommand::Edit, res::ID_SCHEMA_EDIT, DT("&Edit"), Generator::Alter, false, kShowToEdit, kShowToEdit},
    {SchemaCommand::Delete, res::ID_SCHEMA_DELETE, DT("&Delete"), Generator::Drop, true, kRunAtOnce, kShowToEdit},
};

bool Resolve(Choice choice, bool setting) { return choice == Choice::Setting ? setting : choice == Choice::Yes; }

bool UsesSettings(const CommandChoices& choices) {
  return choices.highlight == Choice::Setting || choices.execute == Choice::Setting ||
         choices.switchPane == Choice::Setting;
}

}  // namespace

const SchemaCommandInfo& GetCommandInfo(SchemaCommand command) {
  for (const SchemaCommandInfo& info : kCommands) {
    if (info.command == command) return info;
  }
  return kCommands[0];  // every enumerator has a row
}

const SchemaCommandInfo* FindCommandById(int id) {
  for (const SchemaCommandInfo& info : kCommands) {
    if (info.id == id) return &info;
  }
  return nullptr;
}

ScriptSettings ReadScriptSettings() {
  ScriptSettings settings;
  settings.highlight = KeyReadInteger(HKEY_LOCAL_MACHINE, kSchemaSettingsKey, kHighlightValue, kHighlightDefault) != 0;
  settings.switchView =
      KeyReadInteger(HKEY_LOCAL_MACHINE, kSchemaSettingsKey, kSwitchViewValue, kSwitchViewDefault) != 0;
  return settings;
}

ScriptOptions ResolveOptions(const CommandChoices& choices, const ScriptSettings& settings) {
  return ScriptOptions{Resolve(choices.highlight, settings.highlight), Resolve(choices.execute, false),
                       Resolve(choices.switchPane, settings.switchView)};
}

ScriptPlan PlanScript(SchemaCommand command, const ScriptTarget& target) {
  const SchemaCommandInfo& info = GetCommandInfo(command);
  const CommandChoices* choices = &info.confirmed;
  if (info.asksFirst &&
      ShowMessageBox(kDeleteQuestionText, kDeleteQuestionTitle, kMbOkCancel | kMbIconQuestion) != kIdOk)
    choices = &info.declined;
  ScriptPlan plan;
  plan.generator = info.generator;
  plan.target = target;
  plan.options = ResolveOptions(*choices, UsesSettings(*choices) ? ReadScriptSettings() : ScriptSettings{});
  plan.needsColumns = NeedsColumns(info.generator, target.kind);
  return plan;
}

GeneratedScript FinishScript(const ScriptPlan& plan, const ColumnList& columns, TChar quoteChar) {
  return GenerateScript(plan.generator, plan.target, columns, quoteChar, plan.options);
}

GeneratedScript PrepareScript(SchemaCommand command, const ScriptTarget& target, TChar quoteChar,
                              const ColumnReader& readColumns) {
  const ScriptPlan plan = PlanScript(command, target);
  ColumnList columns;
  if (readColumns && plan.needsColumns) columns = readColumns(target);
  return FinishScript(plan, columns, quoteChar);
}

}  // namespace dossel::schema
