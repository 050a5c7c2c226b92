// The schema pane's commands: its context menu, double click, and the
// scripts they write into the query pane.

#include <wx/menu.h>

#include "app/edition.h"
#include "app/pane_appender.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "schema/column_reader.h"
#include "schema/wx/schema_view.h"
#include "session/session.h"

using namespace dossel;
using namespace dossel::schema;

namespace {

constexpr int kQueryPane = 0;

constexpr SchemaCommand kScriptAsCommands[] = {
    SchemaCommand::ScriptCreate, SchemaCommand::ScriptAlter,  SchemaCommand::ScriptDrop,   SchemaCommand::ScriptSelect,
    SchemaCommand::ScriptInsert, SchemaCommand::ScriptUpdate, SchemaCommand::ScriptDelete, SchemaCommand::ScriptExecute,
};
constexpr SchemaCommand kObjectCommands[] = {SchemaCommand::Open, SchemaCommand::Edit, SchemaCommand::Delete};

void AppendCommand(wxMenu& menu, SchemaCommand command) {
  const SchemaCommandInfo& info = GetCommandInfo(command);
  const int id = command == SchemaCommand::Delete ? Edition().schemaDeleteId : info.id;
  menu.Append(res::ToWxId(id), ToWx(info.menuText));
}

}  // namespace

// The tree would select the item under a right click; the commands act on
// the selection the user made, so the click goes no further.
void CSchemaView::OnRightDown(wxMouseEvent&) { m_tree->SetFocus(); }

void CSchemaView::OnRightUp(wxMouseEvent& event) { ShowContextMenu(event.GetPosition()); }

// The menu key: the menu of the selected item, beside it.
void CSchemaView::OnItemMenu(wxTreeEvent& event) {
  wxRect rect;
  if (event.GetItem().IsOk() && m_tree->GetBoundingRect(event.GetItem(), rect, true))
    ShowContextMenu(rect.GetPosition() + wxPoint(rect.GetHeight() / 2, rect.GetHeight() / 2));
}

void CSchemaView::ShowContextMenu(const wxPoint& position) {
  int flags = 0;
  const wxTreeItemId hit = m_tree->HitTest(position, flags);
  if (!hit.IsOk() ||
      !(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL | wxTREE_HITTEST_ONITEMSTATEICON)))
    return;
  auto* scriptAs = new wxMenu;
  for (SchemaCommand command : kScriptAsCommands) AppendCommand(*scriptAs, command);
  wxMenu menu;
  menu.AppendSubMenu(scriptAs, wxS("&Script As"));
  for (SchemaCommand command : kObjectCommands) AppendCommand(menu, command);
  PopupMenu(&menu, ScreenToClient(m_tree->ClientToScreen(position)));
}

void CSchemaView::OnSchemaCommand(wxCommandEvent& event) {
  const int id = res::FromWxId(event.GetId());
  if (id == Edition().schemaDeleteId) {
    RunCommand(SchemaCommand::Delete);
    return;
  }
  if (const SchemaCommandInfo* info = FindCommandById(id)) RunCommand(info->command);
}

void CSchemaView::OnItemActivated(wxTreeEvent& event) {
  // A folder has nothing to open: its double click only expands or
  // collapses it, as the tree's own double click that follows does.
  RunCommand(SchemaCommand::Open);
  event.Skip();
}

// Captions may be selected and copied in place, but they stay the catalog's:
// the paths and scripts are made of them.
void CSchemaView::OnEndLabelEdit(wxTreeEvent& event) { event.Veto(); }

// The columns a text needs are read from the catalog first, without waiting
// for them: the script is written when they come. Without the catalog (no
// connection, a run holding it) the text is still made, with an empty list.
void CSchemaView::RunCommand(SchemaCommand command) {
  const wxTreeItemId selected = m_tree->GetSelection();
  if (!selected.IsOk() || IsStandIn(selected)) return;
  const ScriptTarget target = SelectedTarget();
  if (command == SchemaCommand::Open && !CanOpen(target)) return;
  const ScriptPlan plan = PlanScript(command, target);
  session::CSession& session = m_pHost->Session();
  if (plan.needsColumns && session.IsConnected() && !session.IsExecuting()) {
    const TString object = plan.target.object;
    const TString owner = plan.target.owner;
    if (session.Ask(
            m_askOwner.Token(),
            [object, owner](db::CDbConnection& connection) { return ReadColumns(connection, object, owner); },
            [this, plan](ColumnList columns) { WriteScript(plan, columns); }))
      return;
  }
  WriteScript(plan, ColumnList());
}

void CSchemaView::WriteScript(const ScriptPlan& plan, const ColumnList& columns) {
  const TChar quoteChar = m_pHost->Session().Connection().GetIdentifierQuoteChar();
  const GeneratedScript script = FinishScript(plan, columns, quoteChar);
  if (script.heldBack) AppendTrace(kHeldBackTrace, *script.unquotedName);
  if (script.hasText) m_pHost->InsertQueryText(script.text, script.options.highlight, script.options.execute);
  if (script.options.switchPane) m_pHost->SwitchPane(kQueryPane);
}

ScriptTarget CSchemaView::SelectedTarget() const {
  const wxTreeItemId selected = m_tree->GetSelection();
  SchemaPath path;
  ParsePath(selected, path);
  ScriptTarget target;
  target.object = path.object;
  target.subobject = path.subobject;
  target.kind = path.kind;
  target.owner = path.owner;
  if (path.kind == ObjectKind::Columns && path.depth == kEntryDepth) {
    const TString name = GetCatalogName(selected);
    if (!name.empty()) target.columnName = name;
  }
  return target;
}
