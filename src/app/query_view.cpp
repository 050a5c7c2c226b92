#include "app/query_view.h"

#include <wx/clipbrd.h>

#include "app/dossel_doc.h"
#include "app/main_frame.h"
#include "app/text_printout.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "settings/wx/catalog_menu.h"

using namespace dossel;
using namespace dossel::res;

namespace {
constexpr const TChar* kQueryKey = DT("Software\\Harlune\\Dossel\\Query");

// Appends an item with its enabled state; the menu's own update pass may
// confirm it but need not run for the rule to hold.
void AppendItem(wxMenu& menu, int command, const char* caption, bool enabled) {
  menu.Append(ToWxId(command), caption);
  menu.Enable(ToWxId(command), enabled);
}
}  // namespace

CQueryView::CQueryView(wxWindow* parent, int id, CMainFrame* frame)
    : CEditPane(parent, id, kQueryKey), m_pFrame(frame) {
  m_undo.SetTarget(GetEdit());
  // A document loaded straight into the control bypasses the history.
  Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
    m_undo.Resync();
    event.Skip();
  });
  Bind(wxEVT_MENU, &CQueryView::OnCatalogCommand, this, ToWxId(ID_TEMPLATE_FIRST), ToWxId(ID_SCRIPT_LAST));
}

void CQueryView::OnEditCreated(wxTextCtrl* edit) { m_undo.SetTarget(edit); }

void CQueryView::InsertText(TStringView text, bool newLine, bool select, bool execute) {
  wxTextCtrl* edit = GetEdit();
  const long before = edit->GetLastPosition();
  m_undo.BeginStep();
  edit->SetInsertionPointEnd();
  edit->WriteText(ToWx(newLine ? DT("\r\n") + TString(text) : TString(text)));
  m_undo.EndStep();
  const long end = edit->GetLastPosition();
  edit->SetSelection(select ? before : end, end);
  edit->ShowPosition(end);
  if (execute && m_pFrame) m_pFrame->Execute();
}

TString CQueryView::GetRunText() const {
  long from = 0, to = 0;
  GetEdit()->GetSelection(&from, &to);
  if (from != to) return FromWx(GetEdit()->GetStringSelection());
  return GetQueryText();
}

TString CQueryView::GetQueryText() const { return FromWx(GetEdit()->GetValue()); }

void CQueryView::SetQueryText(TStringView text) { ReplaceText(ToWx(text)); }

void CQueryView::ReplaceText(const wxString& text) {
  GetEdit()->ChangeValue(text);
  m_undo.Reset();
}

void CQueryView::ClearAll() {
  // Removing the text (rather than resetting the value) keeps it undoable.
  m_undo.BeginStep();
  GetEdit()->Remove(0, GetEdit()->GetLastPosition());
  m_undo.EndStep();
}

bool CQueryView::IsEditCommandEnabled(int command) const {
  if (command == ID_EDIT_UNDO) return m_undo.CanUndo() && GetEdit()->IsEditable();
  return CEditPane::IsEditCommandEnabled(command);
}

void CQueryView::DoEditCommand(int command) {
  switch (command) {
    case ID_EDIT_UNDO:
      m_undo.Undo();
      break;
    case ID_EDIT_CUT:
    case ID_EDIT_PASTE:
      // One step each, apart from any typing around them.
      m_undo.BeginStep();
      CEditPane::DoEditCommand(command);
      m_undo.EndStep();
      break;
    default:
      CEditPane::DoEditCommand(command);
      break;
  }
}

int CQueryView::WordWrapCommand() const { return ID_QUERY_WORD_WRAP; }

wxPrintout* CQueryView::CreatePrintout() {
  const wxString title = m_pFrame && m_pFrame->GetDocument() ? m_pFrame->GetDocument()->GetTitle() : "Query";
  return new CTextPrintout(title, GetEdit()->GetValue(), m_font.IsOk() ? m_font : GetEdit()->GetFont());
}

wxMenu* CQueryView::BuildContextMenu() {
  auto* menu = new wxMenu();
  auto* script = new wxMenu();
  auto* templates = new wxMenu();
  BuildCatalogMenu(*script, kScriptCatalog);
  BuildCatalogMenu(*templates, kTemplateCatalog);
  menu->AppendSubMenu(script, "&Script");
  menu->AppendSubMenu(templates, "&Template");
  menu->AppendSeparator();
  const bool hasText = !GetEdit()->IsEmpty();
  AppendItem(*menu, ID_SQL_EXECUTE, "&Execute", m_pFrame && m_pFrame->IsCommandEnabled(ID_SQL_EXECUTE) && hasText);
  AppendItem(*menu, ID_SQL_CANCEL, "C&ancel", m_pFrame && m_pFrame->IsCommandEnabled(ID_SQL_CANCEL));
  menu->AppendSeparator();
  long from = 0, to = 0;
  GetEdit()->GetSelection(&from, &to);
  AppendItem(*menu, ID_EDIT_UNDO, "&Undo", IsEditCommandEnabled(ID_EDIT_UNDO));
  menu->AppendSeparator();
  AppendItem(*menu, ID_EDIT_CUT, "Cu&t", from != to);
  AppendItem(*menu, ID_EDIT_COPY, "&Copy", from != to);
  AppendItem(*menu, ID_EDIT_PASTE, "&Paste", GetEdit()->CanPaste());
  menu->AppendSeparator();
  AppendItem(*menu, ID_EDIT_CLEAR_ALL, "Clear A&ll", hasText);
  AppendItem(*menu, ID_EDIT_SELECT_ALL, "&Select All", hasText);
  return menu;
}

void CQueryView::OnCatalogCommand(wxCommandEvent& event) { InsertCatalogEntry(FromWxId(event.GetId())); }

void CQueryView::InsertCatalogEntry(int command) {
  const CatalogKind kind = command >= ID_SCRIPT_FIRST ? kScriptCatalog : kTemplateCatalog;
  CatalogItem item;
  if (FindItemById(command, kind, item)) InsertText(item.text, true, false, false);
}
