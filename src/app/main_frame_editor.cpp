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

CFindReplace& CMainFrame::FindReplace() {
  if (!m_pFindReplace)
    m_pFindReplace = std::make_unique<CFindReplace>(this, [this] { return GetActivePane()->FindTarget(); });
  return *m_pFindReplace;
}

CPrintSupport& CMainFrame::Printing() {
  if (!m_pPrint) m_pPrint = std::make_unique<CPrintSupport>(this);
  return *m_pPrint;
}

void CMainFrame::OnFont(int) { GetActivePane()->ChooseFont(); }

bool CMainFrame::CanChooseFont(int) const { return GetActivePane()->CanChooseFont(); }

// The View item and the result pane's own command; each pane answers one of them, or neither.
void CMainFrame::OnWordWrap(int) { GetActivePane()->ToggleWordWrap(); }

bool CMainFrame::CanWrap(int command) const { return GetActivePane()->WordWrapCommand() == command; }

bool CMainFrame::IsWrapped(int command) const { return CanWrap(command) && GetActivePane()->IsWordWrap(); }

void CMainFrame::OnFind(int) { FindReplace().ShowFind(); }

void CMainFrame::OnFindNext(int) { FindReplace().FindNext(); }

bool CMainFrame::HasFindTarget(int) const { return GetActivePane()->FindTarget() != nullptr; }

void CMainFrame::OnReplace(int) { FindReplace().ShowReplace(); }

bool CMainFrame::CanReplace(int) const {
  // Text results accept typing, yet what a query returned is not replaced.
  CPane* pane = GetActivePane();
  return pane != m_pResultView && pane->FindTarget() && pane->FindTarget()->IsEditable();
}

void CMainFrame::OnGoTo(int) { ShowGoToDialog(); }

bool CMainFrame::CanGoTo(int) const {
  // A grid being filled takes no focus moves: its rows are still growing.
  return m_nCurrentPane != 3 && !(GetActivePane() == m_pResultView && m_pResultView->IsGridBusy());
}

void CMainFrame::OnPrint(int command) { Printing().Print(GetActivePane()->CreatePrintout(), command == ID_FILE_PRINT); }

void CMainFrame::OnPrintPreview(int) {
  CPane* pane = GetActivePane();
  Printing().Preview(pane->CreatePrintout(), pane->CreatePrintout());
}

void CMainFrame::OnPrintSetup(int) { Printing().PageSetup(); }

bool CMainFrame::CanPrint(int) const { return GetActivePane()->CanPrint(); }

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
