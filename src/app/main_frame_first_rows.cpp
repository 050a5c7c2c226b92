// The result pane comes forward as soon as a run's first screen of grid rows
// is stored, so that rows shown at once are seen at once. The keyboard stays
// where the user had it: the pane that had it stays shown behind the result
// pane and keeps it (typing goes on reaching the query pane) until the user
// clicks into another pane or shows one with a pane key.

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/sql_completion.h"
#include "result/wx/result_view.h"

void CMainFrame::FirstRowsStored() {
  if (m_nCurrentPane == 1 || m_pKeysPane) return;
  CPane* oldPane = m_pPanes[m_nCurrentPane];
  CPane* resultPane = m_pPanes[1];
  wxWindow* focus = wxWindow::FindFocus();
  const bool oldHasKeys = focus && (focus == oldPane || oldPane->IsDescendant(focus));
  m_nCurrentPane = 1;
  CloseCompletionList();
  // The visible pane always carries the first pane's identifier.
  const int oldId = oldPane->GetId();
  oldPane->SetId(resultPane->GetId());
  resultPane->SetId(oldId);
  resultPane->SetSize(GetClientSize());
  resultPane->Show();
  resultPane->Raise();
  if (oldHasKeys)
    m_pKeysPane = oldPane;
  else
    oldPane->Hide();
  m_pResultView->Appender().OnPaneShown();
  resultPane->Refresh();
}

void CMainFrame::CloseCompletionList() {
  if (CSqlCompletion* completion = m_pQueryView->Completion()) completion->CloseList();
}

void CMainFrame::EndKeysBehind(CPane* shown) {
  CPane* behind = m_pKeysPane;
  if (!behind) return;
  m_pKeysPane = nullptr;
  if (behind != shown) behind->Hide();
}

void CMainFrame::OnChildFocus(wxChildFocusEvent& event) {
  event.Skip();
  if (!m_pKeysPane) return;
  wxWindow* focused = event.GetWindow();
  for (CPane* pane : m_pPanes)
    if (pane != m_pKeysPane && (focused == pane || pane->IsDescendant(focused))) {
      EndKeysBehind(pane);
      return;
    }
}
