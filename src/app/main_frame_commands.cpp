// The frame's bindings of the command table, its update handler, the SQL,
// File, Edit and View commands with their enable rules, and closing.

#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>

#include "app/about_dlg.h"
#include "app/command_table.h"
#include "app/dossel_doc.h"
#include "app/driver_info_command.h"
#include "app/edition.h"
#include "app/focus_keeper.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/recovery_keeper.h"
#include "app/trace_view.h"
#include "history/history.h"
#include "history/wx/history_page.h"
#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"
#include "res/strings.h"
#include "result/wx/result_view.h"
#include "schema/wx/schema_view.h"

using namespace dossel;
using namespace dossel::res;

namespace {

constexpr const char* kScriptFilter = "SQL Scripts (*.sql)|*.sql|All Files (*.*)|*";
constexpr int kPaneCommands[] = {ID_VIEW_QUERY, ID_VIEW_RESULT, ID_VIEW_TRACE, ID_VIEW_SCHEMA};

int PaneOfCommand(int command) {
  for (int i = 0; i < 4; ++i)
    if (kPaneCommands[i] == command) return i;
  return -1;
}

// Takes `path` out of the recent-file list when it is there; the other
// entries stay.
void ForgetRecentFile(wxFileHistory& history, const wxString& path) {
  const wxFileName unreadable(path);
  for (size_t i = 0; i < history.GetCount(); ++i) {
    if (wxFileName(history.GetHistoryFile(i)).SameAs(unreadable)) {
      history.RemoveFileFromHistory(i);
      return;
    }
  }
}

}  // namespace

void CMainFrame::BindCommands() {
  const CEdition& edition = Edition();
  for (const FrameCommand& row : FrameCommands()) {
    if (!edition.HasCommand(row.spec.id)) continue;
    const auto run = [this, &row](wxCommandEvent& event) {
      const int command = Edition().CommandOf(FromWxId(event.GetId()));
      if (!row.enabled || (this->*row.enabled)(command)) (this->*row.run)(command);
    };
    // The edition's identifiers reach the command, and in either edition so
    // do the desktop's, which the panes speak.
    const int desktop = ToWxId(row.spec.id), own = ToWxId(edition.IdOf(row.spec.id));
    Bind(wxEVT_MENU, run, desktop, desktop + row.spec.count - 1);
    if (own != desktop) Bind(wxEVT_MENU, run, own, own + row.spec.count - 1);
  }
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleIndicators, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_TIMER, &CMainFrame::OnTimer, this);
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
  const int command = Edition().CommandOf(FromWxId(event.GetId()));
  const FrameCommand* row = FindFrameCommand(command);
  if (!row || (!row->enabled && !row->checked)) {
    event.Skip();
    return;
  }
  if (row->enabled) event.Enable((this->*row->enabled)(command));
  if (row->checked) event.Check((this->*row->checked)(command));
}

bool CMainFrame::IsCommandEnabled(int id) const {
  const int command = Edition().CommandOf(id);
  const FrameCommand* row = FindFrameCommand(command);
  return !row || !row->enabled || (this->*row->enabled)(command);
}

// ---- SQL ----

void CMainFrame::OnConnect(int) { ShowConnectDialog(); }

void CMainFrame::OnConnectDataSource(int) {
  // The driver manager's chooser disables this frame while it is open.
  const CFocusKeeper focus;
  Connect(nullptr);
}

void CMainFrame::OnDisconnect(int) { Disconnect(); }

void CMainFrame::OnExecute(int) { Execute(); }

void CMainFrame::OnCancel(int) { RequestCancel(); }

bool CMainFrame::IsConnected(int) const { return m_pSession->IsConnected(); }

bool CMainFrame::IsDisconnected(int) const { return !m_pSession->IsConnected(); }

bool CMainFrame::CanExecute(int) const {
  const session::CSession& session = *m_pSession;
  return session.IsConnected() && m_pQueryView && !m_pQueryView->GetEdit()->IsEmpty() && !session.IsExecuting() &&
         !session.IsDisconnecting();
}

bool CMainFrame::CanCancel(int) const {
  const session::CSession& session = *m_pSession;
  const bool cancelable =
      session.IsExecuting() ? !session.IsCanceling() : session.IsReading() && !session.IsCancelingReads();
  return session.IsConnected() && cancelable && session.IsCancelSupported();
}

// ---- File ----

void CMainFrame::OnFileNew(int) {
  if (m_pDoc->SaveModified(this)) {
    m_pDoc->OnNewDocument();
    m_pSchemaView->OnInitialUpdate();
  }
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

void CMainFrame::OnFileOpen(int) {
  if (Edition().openDocument) {
    Edition().openDocument(this);
  } else if (m_pDoc->SaveModified(this)) {
    wxFileDialog dialog(this, "Open", wxEmptyString, wxEmptyString, kScriptFilter, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK) OpenDocumentFile(dialog.GetPath());
  }
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

void CMainFrame::OnFileSave(int command) {
  // In the result pane Save As exports the grid (and Save is disabled).
  if (GetActivePane() == m_pResultView) {
    if (command == ID_FILE_SAVE_AS) m_pResultView->ExportResults(false);
  } else if (m_pDoc->DoSave(this, command == ID_FILE_SAVE_AS)) {
    m_pFileHistory->AddFileToHistory(m_pDoc->GetPathName());
  }
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

bool CMainFrame::CanSave(int) const { return GetActivePane() != m_pResultView; }

bool CMainFrame::OpenDocumentFile(const wxString& path) {
  if (!m_pDoc->OnOpenDocument(path, this)) {
    ForgetRecentFile(*m_pFileHistory, path);
    return false;
  }
  m_pFileHistory->AddFileToHistory(path);
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
  return true;
}

void CMainFrame::OnRecentFile(int command) {
  const size_t index = static_cast<size_t>(command - ID_FILE_MRU_FILE1);
  if (index >= m_pFileHistory->GetCount() || !m_pDoc->SaveModified(this)) return;
  const wxString path = m_pFileHistory->GetHistoryFile(index);
  if (!m_pDoc->OnOpenDocument(path, this)) {
    m_pFileHistory->RemoveFileFromHistory(index);
    return;
  }
  m_pFileHistory->AddFileToHistory(path);
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

void CMainFrame::OnExit(int) { Close(); }

// ---- Edit: the active pane's ----

void CMainFrame::OnPaneEdit(int command) { GetActivePane()->DoEditCommand(command); }

bool CMainFrame::CanEditInPane(int command) const {
  return GetActivePane() && GetActivePane()->IsEditCommandEnabled(command);
}

// ---- View ----

void CMainFrame::OnToggleBar(int command) {
  wxWindow* bar =
      command == ID_VIEW_TOOLBAR ? static_cast<wxWindow*>(GetToolBar()) : static_cast<wxWindow*>(GetStatusBar());
  if (bar) {
    bar->Show(!bar->IsShown());
    SendSizeEvent();
  }
}

bool CMainFrame::IsBarShown(int command) const {
  const wxWindow* bar =
      command == ID_VIEW_TOOLBAR ? static_cast<wxWindow*>(GetToolBar()) : static_cast<wxWindow*>(GetStatusBar());
  return bar && bar->IsShown();
}

void CMainFrame::OnViewPane(int command) { SwitchPane(PaneOfCommand(command)); }

bool CMainFrame::CanShowPane(int command) const {
  // The schema pane reads the connection's catalog.
  return command != ID_VIEW_SCHEMA || m_pSession->IsConnected();
}

bool CMainFrame::IsPaneShown(int command) const { return m_nCurrentPane == PaneOfCommand(command); }

// Runs the options sheet; after OK the new query time-out holds at once for
// an open connection (and for later ones), while a new login time-out waits
// for the next start.
void CMainFrame::OnOptions(int) {
  const CFocusKeeper focus;
  // The run history's page comes last, when there is a history.
  std::vector<OptionsPageSpec> pages(Edition().optionsPages.begin(), Edition().optionsPages.end());
  if (m_pHistory) pages.push_back({"History", history::CHistoryPage::Create, static_cast<size_t>(-1)});
  COptionsSheet sheet(this, pages);
  if (sheet.ShowModal() == wxID_OK) m_pSession->SetQueryTimeout(sheet.GetConnectionsPage()->m_nQueryTimeout);
}

void CMainFrame::OnDriverInfo(int) { DriverInfoSheetOf(Edition())(this, *m_pSession); }

bool CMainFrame::CanShowDriverInfo(int) const {
  return DriverInfoSheetOf(Edition()) && m_pSession->IsConnected() && !m_pSession->IsExecuting();
}

void CMainFrame::OnAbout(int) {
  CAboutDlg dialog(this);
  dialog.ShowModal();
}

void CMainFrame::OnIdleIndicators(wxIdleEvent& event) {
  event.Skip();
  wxStatusBar* status = GetStatusBar();
  if (!status || !status->IsShown()) return;
  const struct {
    int field;
    wxKeyCode key;
    int text;
  } indicators[] = {
      {1, WXK_CAPITAL, ID_INDICATOR_CAPS}, {2, WXK_NUMLOCK, ID_INDICATOR_NUM}, {3, WXK_SCROLL, ID_INDICATOR_SCRL}};
  for (const auto& indicator : indicators) {
    const wxString text = wxGetKeyState(indicator.key) ? ToWx(LoadString(indicator.text)) : wxString();
    if (status->GetStatusText(indicator.field) != text) status->SetStatusText(text, indicator.field);
  }
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (m_pSession->IsConnected()) Disconnect();
  // A connection thread waiting for the UI thread gives up instead of
  // waiting for a frame that waits for it.
  m_bClosing = true;
  // A run the user let go on (or one that does not hear its cancel) may
  // outlast the wait, and then the process ends without the destructor
  // that would write these.
  SaveKeptState();
  // The run and the cancel end before the question, so that a fill given up
  // on can be ended if the user stays.
  const bool threadsStopped = WaitForThreads();
  if (event.CanVeto() && !m_pDoc->SaveModified(this)) {
    m_bClosing = false;
    // A fill whose end was given up on while closing ends here instead.
    if (threadsStopped) m_pResultView->EndAbandonedFill();
    event.Veto();
    return;
  }
  // The session ends as every session does (CSession::Shutdown: the threads'
  // work waited for, the connection closed on its thread, that thread ended,
  // each wait at most 30 seconds). A thread that did not stop would go on
  // using the connection and panes that closing frees: end the process here
  // instead.
  if (!threadsStopped || !m_pSession->Shutdown()) EndProcessNow();
  Destroy();
}

void CMainFrame::EndProcessNow() {
  // The save question may have changed what is kept (Save As adds a recent file).
  SaveKeptState();
  constexpr unsigned kWriterWaitMs = 5000;
  if (m_pRecoveryKeeper) m_pRecoveryKeeper->WaitKept(kWriterWaitMs);
  if (m_pHistory) m_pHistory->WaitIdle(kWriterWaitMs);
  std::fputs("Dossel: the connection or cancel thread did not stop in time; ending without waiting for it.\n", stderr);
  // Not a normal end: whoever started the program can tell.
  std::_Exit(EXIT_FAILURE);
}
