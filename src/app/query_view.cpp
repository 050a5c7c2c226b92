#include "app/query_view.h"

#include <wx/clipbrd.h>

#include "app/dossel_doc.h"
#include "app/main_frame.h"
#include "app/sql_completion.h"
#include "app/sql_edit.h"
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
    : CEditPane(parent, id, kQueryKey, true,
                [](wxWindow* pane, bool wrap) -> CTextEdit* { return new CSqlEdit(pane, wrap); }),
      m_pFrame(frame) {
  Bind(wxEVT_MENU, &CQueryView::OnCatalogCommand, this, ToWxId(ID_TEMPLATE_FIRST), ToWxId(ID_SCRIPT_LAST));
  if (m_pFrame && CSqlCompletion::IsEnabledInSettings())
    m_pCompletion = std::make_unique<CSqlCompletion>(*SqlEdit(), m_pFrame->Session());
}

CQueryView::~CQueryView() = default;

CSqlEdit* CQueryView::SqlEdit() const { return static_cast<CSqlEdit*>(GetEdit()); }

void CQueryView::InsertText(TStringView text, bool newLine, bool select, bool execute) {
  CTextEdit* edit = GetEdit();
  const long before = edit->GetLastPosition();
  // One undo step, apart from any typing before or after it.
  edit->BeginUndoAction();
  const std::string utf8 = ToUtf8(newLine ? DT("\r\n") + TString(text) : TString(text));
  edit->AppendTextRaw(utf8.data(), static_cast<int>(utf8.size()));
  edit->EndUndoAction();
  const long end = edit->GetLastPosition();
  edit->SetSelection(select ? before : end, end);
  if (execute && m_pFrame) m_pFrame->Execute();
}

TString CQueryView::GetRunText() const {
  long from = 0, to = 0;
  GetEdit()->GetSelection(&from, &to);
  if (from != to) return FromWx(GetEdit()->GetSelectedText());
  return GetQueryText();
}

TString CQueryView::GetQueryText() const { return FromWx(GetEdit()->GetValue()); }

void CQueryView::SetQueryText(TStringView text) { ReplaceTextUtf8(ToUtf8(text)); }

void CQueryView::ReplaceText(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  ReplaceTextUtf8(std::string_view(utf8.data(), utf8.length()));
}

void CQueryView::ReplaceTextUtf8(std::string_view utf8) {
  CTextEdit* edit = GetEdit();
  edit->ClearAll();
  edit->AppendUtf8(utf8);
  edit->EmptyUndoBuffer();
  // A text put in place is not a change of the document's.
  edit->DiscardEdits();
  edit->SetSelection(0, 0);
}

// Emptied as one step that Undo takes back (the output panes' is final).
void CQueryView::ClearAll() { GetEdit()->ClearAll(); }

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
