// The frame's part in the run history and the recovery file: the History
// command and its window, the picked text into the query pane, and the
// query pane's unsaved text kept and restored.

#include <wx/filename.h>

#include "app/dossel_doc.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/recovery_keeper.h"
#include "history/history.h"
#include "history/wx/history_window.h"
#include "res/command_ids.h"

using namespace dossel;

void CMainFrame::UseHistory(history::CHistory* history) {
  m_pHistory = history;
  m_pSession->SetRunObserver(history);
}

void CMainFrame::UseRecovery(history::CRecoveryFile* file, unsigned quietMs, unsigned longestMs) {
  m_pRecoveryKeeper.reset();
  if (file)
    m_pRecoveryKeeper = std::make_unique<CRecoveryKeeper>(*m_pDoc, *m_pQueryView->GetEdit(), *file, quietMs, longestMs);
}

void CMainFrame::OnHistory(int) {
  if (!m_pHistoryWindow)
    m_pHistoryWindow = new history::CHistoryWindow(
        this, *m_pHistory, [this](const TString& text, bool run) { UseHistoryText(text, run); });
  m_pHistoryWindow->ShowAndSearch();
}

bool CMainFrame::HasHistory(int) const { return m_pHistory != nullptr; }

void CMainFrame::UseHistoryText(const TString& text, bool run) {
  SwitchPane(0);
  CTextEdit* edit = m_pQueryView->GetEdit();
  const long from = edit->GetSelectionStart();
  const std::string utf8 = ToUtf8(text);
  // One step that Undo takes back.
  edit->BeginUndoAction();
  edit->ReplaceSelection(wxString());
  edit->AddTextRaw(utf8.data(), static_cast<int>(utf8.size()));
  edit->EndUndoAction();
  edit->SetSelection(from, from + static_cast<long>(utf8.size()));
  if (run && IsCommandEnabled(res::ID_SQL_EXECUTE)) Execute();
}

void CMainFrame::RestoreUnsavedQuery(const std::string& path, const std::string& utf8) {
  const wxString file = wxString::FromUTF8(path);
  if (!file.empty() && wxFileName::FileExists(file)) OpenDocumentFile(file);
  CTextEdit* edit = m_pQueryView->GetEdit();
  edit->BeginUndoAction();
  edit->ClearAll();
  edit->AppendTextRaw(utf8.data(), static_cast<int>(utf8.size()));
  edit->EndUndoAction();
  edit->MarkDirty();
  edit->SetSelection(0, 0);
  if (m_pRecoveryKeeper) m_pRecoveryKeeper->TextChanged();
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}
