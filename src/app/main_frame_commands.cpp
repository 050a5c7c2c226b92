// The frame's commands, their enable rules, and closing.

#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "app/about_dlg.h"
#include "app/dossel_doc.h"
#include "app/edition.h"
#include "app/focus_keeper.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/trace_view.h"
#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "result/wx/result_view.h"
#include "schema/wx/schema_view.h"
#if DOSSEL_DRIVER_INFO
#include "driverinfo/wx/driver_info_sheet.h"
#endif
#include "platform/wx/wx_text.h"
#include "res/command_ids.h"

using namespace dossel;
using namespace dossel::res;

namespace {

constexpr const char* kScriptFilter = "SQL Scripts (*.sql)|*.sql|All Files (*.*)|*";
constexpr int kPaneCommands[] = {ID_VIEW_QUERY, ID_VIEW_RESULT, ID_VIEW_TRACE, ID_VIEW_SCHEMA};
constexpr int kEditCommands[] = {ID_EDIT_UNDO,  ID_EDIT_CUT,        ID_EDIT_COPY,
                                 ID_EDIT_PASTE, ID_EDIT_SELECT_ALL, ID_EDIT_CLEAR_ALL};

int PaneOfCommand(int command) {
  for (int i = 0; i < 4; ++i)
    if (kPaneCommands[i] == command) return i;
  return -1;
}

#if DOSSEL_DRIVER_INFO
// The "ODBC Driver Info" sheet on the session's connection; every call it
// makes runs on the connection's thread.
void ShowDriverInfo(wxWindow* parent, session::CSession& session) {
  if (!session.IsConnected() || session.IsExecuting()) return;
  const CFocusKeeper focus;
  driverinfo::CMyPropertySheet sheet(
      parent, [&session](const std::function<void(db::CDbConnection&)>& call) { session.CallOnConnection(call); });
  sheet.ShowModal();
}
#endif

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

// Runs the options sheet; after OK the new query time-out holds at once for
// an open connection (and for later ones), while a new login time-out waits
// for the next start.
void ShowOptionsSheet(wxWindow* parent, session::CSession& session) {
  const CFocusKeeper focus;
  COptionsSheet sheet(parent, Edition().optionsPages);
  if (sheet.ShowModal() == wxID_OK) session.SetQueryTimeout(sheet.GetConnectionsPage()->m_nQueryTimeout);
}

}  // namespace

void CMainFrame::BindCommands() {
  const CEdition& edition = Edition();
  // An identifier of the edition's own reaches the desktop command's handler.
  for (const CommandAlias& alias : edition.aliases) {
    Bind(
        wxEVT_MENU,
        [this, command = alias.command](wxCommandEvent& event) {
          wxCommandEvent forwarded(event);
          forwarded.SetId(ToWxId(command));
          ProcessWindowEvent(forwarded);
        },
        ToWxId(alias.id));
  }
  Bind(wxEVT_MENU, &CMainFrame::OnConnect, this, ToWxId(ID_SQL_CONNECT));
  if (edition.HasCommand(ID_SQL_CONNECT_DATA_SOURCE))
    Bind(wxEVT_MENU, &CMainFrame::OnConnectDataSource, this, ToWxId(ID_SQL_CONNECT_DATA_SOURCE));
  Bind(wxEVT_MENU, &CMainFrame::OnDisconnect, this, ToWxId(ID_SQL_DISCONNECT));
  Bind(wxEVT_MENU, &CMainFrame::OnExecute, this, ToWxId(ID_SQL_EXECUTE));
  Bind(wxEVT_MENU, &CMainFrame::OnCancel, this, ToWxId(ID_SQL_CANCEL));
  for (int id : kPaneCommands) Bind(wxEVT_MENU, &CMainFrame::OnViewPane, this, ToWxId(id));
  for (int id : kEditCommands) Bind(wxEVT_MENU, &CMainFrame::OnEditCommand, this, ToWxId(id));
  for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
    Bind(wxEVT_MENU, &CMainFrame::OnFileCommand, this, ToWxId(id));
  Bind(wxEVT_MENU, &CMainFrame::OnRecentFile, this, ToWxId(ID_FILE_MRU_FILE1),
       ToWxId(ID_FILE_MRU_FILE1 + ID_FILE_MRU_COUNT - 1));
  if (edition.hasBarToggles) {
    Bind(wxEVT_MENU, &CMainFrame::OnToggleBar, this, ToWxId(ID_VIEW_TOOLBAR));
    Bind(wxEVT_MENU, &CMainFrame::OnToggleBar, this, ToWxId(ID_VIEW_STATUS_BAR));
  }
  Bind(wxEVT_MENU, &CMainFrame::OnAbout, this, ToWxId(ID_APP_ABOUT));
#if DOSSEL_DRIVER_INFO
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { ShowDriverInfo(this, Session()); }, ToWxId(ID_VIEW_ODBC_INFO));
#endif
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { ShowOptionsSheet(this, *m_pSession); }, ToWxId(ID_VIEW_OPTIONS));
  Bind(wxEVT_MENU, &CMainFrame::OnExit, this, ToWxId(ID_APP_EXIT));
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleIndicators, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_TIMER, &CMainFrame::OnTimer, this);
  BindEditorCommands();
}

void CMainFrame::OnConnect(wxCommandEvent&) { ShowConnectDialog(); }

void CMainFrame::OnConnectDataSource(wxCommandEvent&) {
  // The driver manager's chooser disables this frame while it is open.
  const CFocusKeeper focus;
  if (!m_pSession->IsConnected()) Connect(nullptr);
}

void CMainFrame::OnDisconnect(wxCommandEvent&) {
  if (m_pSession->IsConnected()) Disconnect();
}

void CMainFrame::OnExecute(wxCommandEvent&) {
  // The accelerator reaches here even while the command is disabled.
  if (IsCommandEnabled(ID_SQL_EXECUTE)) Execute();
}

void CMainFrame::OnCancel(wxCommandEvent&) {
  if (IsCommandEnabled(ID_SQL_CANCEL)) RequestCancel();
}

void CMainFrame::OnViewPane(wxCommandEvent& event) {
  if (IsCommandEnabled(FromWxId(event.GetId()))) SwitchPane(PaneOfCommand(FromWxId(event.GetId())));
}

void CMainFrame::OnEditCommand(wxCommandEvent& event) {
  CPane* pane = GetActivePane();
  if (pane && pane->IsEditCommandEnabled(FromWxId(event.GetId()))) pane->DoEditCommand(FromWxId(event.GetId()));
}

void CMainFrame::OnFileCommand(wxCommandEvent& event) {
  switch (FromWxId(event.GetId())) {
    case ID_FILE_NEW:
      if (m_pDoc->SaveModified(this)) {
        m_pDoc->OnNewDocument();
        m_pSchemaView->OnInitialUpdate();
      }
      break;
    case ID_FILE_OPEN: {
      if (Edition().openDocument) {
        Edition().openDocument(this);
        break;
      }
      if (!m_pDoc->SaveModified(this)) break;
      wxFileDialog dialog(this, "Open", wxEmptyString, wxEmptyString, kScriptFilter, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
      if (dialog.ShowModal() == wxID_OK) OpenDocumentFile(dialog.GetPath());
      break;
    }
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
      // In the result pane Save As exports the grid, and Save does nothing.
      if (GetActivePane() == m_pResultView) {
        if (FromWxId(event.GetId()) == ID_FILE_SAVE_AS) m_pResultView->ExportResults(false);
        break;
      }
      if (m_pDoc->DoSave(this, FromWxId(event.GetId()) == ID_FILE_SAVE_AS))
        m_pFileHistory->AddFileToHistory(m_pDoc->GetPathName());
      break;
    default:
      break;
  }
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

bool CMainFrame::OpenDocumentFile(const wxString& path) {
  if (!m_pDoc->OnOpenDocument(path, this)) {
    ForgetRecentFile(*m_pFileHistory, path);
    return false;
  }
  m_pFileHistory->AddFileToHistory(path);
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
  return true;
}

void CMainFrame::OnRecentFile(wxCommandEvent& event) {
  const size_t index = static_cast<size_t>(FromWxId(event.GetId()) - ID_FILE_MRU_FILE1);
  if (index >= m_pFileHistory->GetCount() || !m_pDoc->SaveModified(this)) return;
  const wxString path = m_pFileHistory->GetHistoryFile(index);
  if (!m_pDoc->OnOpenDocument(path, this)) {
    m_pFileHistory->RemoveFileFromHistory(index);
    return;
  }
  m_pFileHistory->AddFileToHistory(path);
  SetTitle(m_pDoc->GetTitle() + " - Dossel");
}

void CMainFrame::OnToggleBar(wxCommandEvent& event) {
  wxWindow* bar = FromWxId(event.GetId()) == ID_VIEW_TOOLBAR ? static_cast<wxWindow*>(GetToolBar())
                                                             : static_cast<wxWindow*>(GetStatusBar());
  if (bar) {
    bar->Show(!bar->IsShown());
    SendSizeEvent();
  }
}

void CMainFrame::OnAbout(wxCommandEvent&) {
  CAboutDlg dialog(this);
  dialog.ShowModal();
}

void CMainFrame::OnExit(wxCommandEvent&) { Close(); }

bool CMainFrame::IsCommandEnabled(int id) const {
  const session::CSession& session = *m_pSession;
  const bool connected = session.IsConnected();
  switch (id) {
    case ID_SQL_CONNECT:
    case ID_SQL_CONNECT_DATA_SOURCE:
      return !connected;
    case ID_SQL_DISCONNECT:
      return connected;
    case ID_SQL_EXECUTE:
      return connected && m_pQueryView && !m_pQueryView->GetEdit()->IsEmpty() && !session.IsExecuting();
    case ID_SQL_CANCEL:
      return connected && session.IsExecuting() && !session.IsCanceling() && session.IsCancelSupported();
    case ID_VIEW_ODBC_INFO:
      // The handheld edition has no driver-information sheet.
      return DOSSEL_DRIVER_INFO && connected && !session.IsExecuting();
    case ID_VIEW_SCHEMA:
      return connected;
    default:
      return true;
  }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
  const int id = Edition().CommandOf(FromWxId(event.GetId()));
  if (UpdateEditorCommand(event)) return;
  if (const int pane = PaneOfCommand(id); pane >= 0) {
    event.Enable(IsCommandEnabled(id));
    event.Check(m_nCurrentPane == pane);
    return;
  }
  for (int edit : kEditCommands) {
    if (edit == id) {
      event.Enable(GetActivePane() && GetActivePane()->IsEditCommandEnabled(id));
      return;
    }
  }
  switch (id) {
    case ID_VIEW_TOOLBAR:
      event.Check(GetToolBar() && GetToolBar()->IsShown());
      break;
    case ID_VIEW_STATUS_BAR:
      event.Check(GetStatusBar() && GetStatusBar()->IsShown());
      break;
    case ID_FILE_SAVE:
      event.Enable(GetActivePane() != m_pResultView);
      break;
    default:
      if (id == ID_SQL_CONNECT || id == ID_SQL_CONNECT_DATA_SOURCE || id == ID_SQL_DISCONNECT || id == ID_SQL_EXECUTE ||
          id == ID_SQL_CANCEL || id == ID_VIEW_ODBC_INFO)
        event.Enable(IsCommandEnabled(id));
      else
        event.Skip();
      break;
  }
}

void CMainFrame::OnIdleIndicators(wxIdleEvent& event) {
  event.Skip();
  wxStatusBar* status = GetStatusBar();
  if (!status || !status->IsShown()) return;
  const struct {
    int field;
    wxKeyCode key;
    const char* text;
  } indicators[] = {{1, WXK_CAPITAL, "CAP"}, {2, WXK_NUMLOCK, "NUM"}, {3, WXK_SCROLL, "SCRL"}};
  for (const auto& indicator : indicators) {
    const wxString text = wxGetKeyState(indicator.key) ? indicator.text : "";
    if (status->GetStatusText(indicator.field) != text) status->SetStatusText(text, indicator.field);
  }
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (m_pSession->IsConnected()) Disconnect();
  // A connection thread waiting for the UI thread gives up instead of
  // waiting for a frame that waits for it.
  m_bClosing = true;
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
  if (!threadsStopped || !m_pSession->Shutdown()) {
    std::fputs(
        "Dossel: the connection or cancel thread did not stop within 30 seconds; ending without waiting for it.\n",
        stderr);
    std::_Exit(0);
  }
  Destroy();
}
