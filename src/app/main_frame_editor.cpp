// The frame's editor commands: Font, Word Wrap, Find, Find Next, Replace,
// Go To and printing. Each goes to the active pane through CPane, which says
// whether it takes the command; Print Setup and Go To are the frame's own.

#include <wx/textctrl.h>

#include "app/edition.h"
#include "app/find_replace.h"
#include "app/main_frame.h"
#include "app/pane.h"
#include "app/text_printout.h"
#include "res/command_ids.h"
#include "result/wx/result_view.h"

using namespace dossel;
using namespace dossel::res;

namespace {

constexpr int kEditorCommands[] = {ID_VIEW_FONT,         ID_QUERY_WORD_WRAP,    ID_VIEW_WORD_WRAP,  ID_EDIT_FIND,
                                   ID_EDIT_REPEAT,       ID_EDIT_REPLACE,       ID_EDIT_GOTO,       ID_FILE_PRINT,
                                   ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP};

bool IsEditorCommand(int id) {
  for (int command : kEditorCommands)
    if (command == id) return true;
  return false;
}

}  // namespace

void CMainFrame::BindEditorCommands() {
  for (int id : kEditorCommands)
    if (Edition().HasCommand(id)) Bind(wxEVT_MENU, &CMainFrame::OnEditorCommand, this, ToWxId(id));
}

CFindReplace& CMainFrame::FindReplace() {
  if (!m_pFindReplace)
    m_pFindReplace = std::make_unique<CFindReplace>(this, [this] { return GetActivePane()->FindTarget(); });
  return *m_pFindReplace;
}

CPrintSupport& CMainFrame::Printing() {
  if (!m_pPrint) m_pPrint = std::make_unique<CPrintSupport>(this);
  return *m_pPrint;
}

bool CMainFrame::GetEditorCommandState(int id, bool& enabled, bool& checked) const {
  if (!IsEditorCommand(id)) return false;
  CPane* pane = GetActivePane();
  checked = false;
  switch (id) {
    case ID_VIEW_FONT:
      enabled = pane->CanChooseFont();
      break;
    case ID_QUERY_WORD_WRAP:
    case ID_VIEW_WORD_WRAP:
      enabled = pane->WordWrapCommand() == id;
      checked = enabled && pane->IsWordWrap();
      break;
    case ID_EDIT_FIND:
    case ID_EDIT_REPEAT:
      enabled = pane->FindTarget() != nullptr;
      break;
    case ID_EDIT_REPLACE:
      // Text results accept typing, yet what a query returned is not replaced.
      enabled = pane != m_pResultView && pane->FindTarget() && pane->FindTarget()->IsEditable();
      break;
    case ID_EDIT_GOTO:
      // A grid being filled takes no focus moves: its rows are still growing.
      enabled = m_nCurrentPane != 3 && !(pane == m_pResultView && m_pResultView->IsGridBusy());
      break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
      enabled = pane->CanPrint();
      break;
    default:
      enabled = true;
      break;
  }
  return true;
}

bool CMainFrame::UpdateEditorCommand(wxUpdateUIEvent& event) {
  bool enabled = false, checked = false;
  const int id = Edition().CommandOf(FromWxId(event.GetId()));
  if (!GetEditorCommandState(id, enabled, checked)) return false;
  event.Enable(enabled);
  if (id == ID_VIEW_WORD_WRAP || id == ID_QUERY_WORD_WRAP) event.Check(checked);
  return true;
}

void CMainFrame::OnEditorCommand(wxCommandEvent& event) {
  const int id = FromWxId(event.GetId());
  bool enabled = false, checked = false;
  // Accelerators reach here even while the command is disabled.
  if (!GetEditorCommandState(id, enabled, checked) || !enabled) return;
  CPane* pane = GetActivePane();
  switch (id) {
    case ID_VIEW_FONT:
      pane->ChooseFont();
      break;
    case ID_QUERY_WORD_WRAP:
    case ID_VIEW_WORD_WRAP:
      pane->ToggleWordWrap();
      break;
    case ID_EDIT_FIND:
      FindReplace().ShowFind();
      break;
    case ID_EDIT_REPEAT:
      FindReplace().FindNext();
      break;
    case ID_EDIT_REPLACE:
      FindReplace().ShowReplace();
      break;
    case ID_EDIT_GOTO:
      ShowGoToDialog();
      break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
      Printing().Print(pane->CreatePrintout(), id == ID_FILE_PRINT);
      break;
    case ID_FILE_PRINT_PREVIEW:
      Printing().Preview(pane->CreatePrintout(), pane->CreatePrintout());
      break;
    case ID_FILE_PRINT_SETUP:
      Printing().PageSetup();
      break;
    default:
      break;
  }
}

void CMainFrame::ShowGoToDialog() {
  CGoToDlg* dialog = m_goTo.Get();
  if (dialog) {
    dialog->SetFocus();
  } else {
    dialog = new CGoToDlg(this);
    m_goTo.Set(dialog);
  }
  dialog->CentreOnParent();
  dialog->Show();
  dialog->Update();
  // Showing an open dialog need not activate it again; fill it as activation would.
  dialog->Prefill();
}
