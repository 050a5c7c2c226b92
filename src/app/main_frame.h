#pragma once
// The main window: a view of the session. The frame owns the toolbar, the
// status bar, the four panes (one visible at a time), the document and the
// session, and turns the user's commands into session calls; the session
// tells it what happens through ISessionView, which the frame implements by
// queueing to the UI thread (main_frame_session.cpp).
//
// UI thread only, except the ISessionView functions, whose comments say who
// calls them.

#include <wx/frame.h>
#include <wx/timer.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <span>

#include "app/command_table.h"
#include "app/find_replace.h"
#include "app/goto_dlg.h"
#include "app/pane.h"
#include "app/pane_appender.h"
#include "app/text_printout.h"
#include "platform/format.h"
#include "platform/text.h"
#include "session/session.h"
#include "session/session_view.h"

class wxThreadEvent;
class wxFileHistory;
class CPane;
class CQueryView;
class CResultView;
class CTraceView;
class CSchemaView;
namespace dossel {
class CGridCtrl;
class CGridStore;
}  // namespace dossel
class CDosselDoc;
class CMainFrame;
class CRecoveryKeeper;
namespace dossel::history {
class CHistory;
class CHistoryWindow;
class CRecoveryFile;
}  // namespace dossel::history

class CMainFrame : public wxFrame, public IPaneHost, private dossel::session::ISessionView {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // ---- session commands ----
  dossel::session::CSession& Session() override { return *m_pSession; }
  const dossel::session::CSession& Session() const { return *m_pSession; }
  // Connects with `connect` (which may carry "ODBC;"), or lets the user
  // choose a data source when it is null.
  bool Connect(const dossel::TString* connect);
  void Disconnect();
  // Runs the query pane's selection, or its whole text.
  void Execute();
  void RequestCancel();
  // Waits (at most 30 seconds each, or what SetThreadWait gave) for the
  // cancel thread and the connection thread's work; false when one of them
  // is still running.
  bool WaitForThreads();
  void SetThreadWait(unsigned milliseconds) { m_nThreadWaitMs = milliseconds; }
  // The Connect dialog; on OK it connects with the string it builds.
  void ShowConnectDialog();
  // Opens a query file as the document (the command line, Open, recent files).
  bool OpenDocumentFile(const wxString& path);
  // The enable rule of a command (given by either edition's identifier);
  // true for one that is always enabled or not in the command table.
  bool IsCommandEnabled(int id) const;

  // ---- panes ----
  void SwitchPane(int index) override;
  void InsertQueryText(dossel::TStringView text, bool select, bool execute) override;
  int GetCurrentPane() const { return m_nCurrentPane; }
  CPane* GetPane(int index) const { return m_pPanes[index]; }
  // The pane the edit commands act on: the one that has the keyboard.
  CPane* GetActivePane() const { return m_pKeysPane ? m_pKeysPane : m_pPanes[m_nCurrentPane]; }
  // The pane left behind the result pane, keeping the keyboard, when a
  // run's first rows brought the result pane forward; null otherwise.
  CPane* GetKeysPane() const { return m_pKeysPane; }
  CDosselDoc* GetDocument() const { return m_pDoc.get(); }
  CQueryView* QueryView() const { return m_pQueryView; }
  CResultView* ResultView() const { return m_pResultView; }
  CTraceView* TraceView() const { return m_pTraceView; }
  CSchemaView* SchemaView() const { return m_pSchemaView; }

  // ---- editor commands (main_frame_editor.cpp) ----
  // Go To (Ctrl+G): creates the dialog on first use, then centres and shows it.
  void ShowGoToDialog();
  CGoToDlg* GetGoToDlg() const { return m_goTo.Get(); }
  dossel::CFindReplace& FindReplace();
  dossel::CPrintSupport& Printing();

  // ---- the run history and the recovery file (main_frame_history.cpp) ----
  // The program's run history: every run is recorded there, the History
  // command shows it and the options sheet has its page; none by default.
  void UseHistory(dossel::history::CHistory* history);
  // This program's recovery file, which keeps the query pane's unsaved text.
  void UseRecovery(dossel::history::CRecoveryFile* file, unsigned quietMs = 2000, unsigned longestMs = 5000);
  // A run's text picked in the history window: it replaces the query pane's
  // selection (or goes in at the caret), selected; `run` runs it at once.
  void UseHistoryText(const dossel::TString& text, bool run);
  // Puts a recovered text (UTF-8) into the query pane, marked modified;
  // the file it belonged to is opened first when it is still there.
  void RestoreUnsavedQuery(const std::string& path, const std::string& utf8);
  dossel::history::CHistoryWindow* HistoryWindow() const { return m_pHistoryWindow; }
  CRecoveryKeeper* RecoveryKeeper() const { return m_pRecoveryKeeper.get(); }

 private:
  CGoToHolder m_goTo;
  std::unique_ptr<dossel::CFindReplace> m_pFindReplace;
  std::unique_ptr<dossel::CPrintSupport> m_pPrint;

 private:
  // Creation (main_frame.cpp).
  void CreateMenuBar();
  void CreateAcceleratorTable();
  void CreateToolBarWithButtons();
  void CreateStatusBarWithIndicators();
  void CreatePanes();
  // Binds every row of the command table the edition has (main_frame_commands.cpp).
  void BindCommands();
  void OnUpdateCommand(wxUpdateUIEvent& event);
  void OnIdleIndicators(wxIdleEvent& event);
  void OnClose(wxCloseEvent& event);

  // ---- the handlers and rules that the command table names ----
  // Each takes the command's desktop identifier.
  friend std::span<const FrameCommand> FrameCommands();
  // SQL, File, View and About (main_frame_commands.cpp).
  void OnConnect(int command);
  void OnConnectDataSource(int command);
  void OnDisconnect(int command);
  void OnExecute(int command);
  void OnCancel(int command);
  void OnRefreshNames(int command);
  void OnFileNew(int command);
  void OnFileOpen(int command);
  void OnFileSave(int command);  // Save and Save As
  void OnRecentFile(int command);
  void OnExit(int command);
  void OnPaneEdit(int command);  // Undo, Cut, Copy, Paste, Select All, Clear All
  void OnToggleBar(int command);
  void OnViewPane(int command);
  void OnOptions(int command);
  void OnDriverInfo(int command);
  void OnHistory(int command);
  void OnAbout(int command);
  bool IsConnected(int command) const;
  bool IsDisconnected(int command) const;
  bool CanExecute(int command) const;
  bool CanCancel(int command) const;
  bool CanRefreshNames(int command) const;
  bool CanSave(int command) const;
  bool CanEditInPane(int command) const;
  bool CanShowPane(int command) const;
  bool IsPaneShown(int command) const;
  bool IsBarShown(int command) const;
  bool CanShowDriverInfo(int command) const;
  bool HasHistory(int command) const;
  // Find, Replace, Go To, printing, Word Wrap and Font, which the active
  // pane takes or not (main_frame_editor.cpp).
  void OnFind(int command);
  void OnFindNext(int command);
  void OnReplace(int command);
  void OnGoTo(int command);
  void OnPrint(int command);  // Print and printing without the dialog
  void OnPrintPreview(int command);
  void OnPrintSetup(int command);
  void OnWordWrap(int command);
  void OnFont(int command);
  bool HasFindTarget(int command) const;
  bool CanReplace(int command) const;
  bool CanGoTo(int command) const;
  bool CanPrint(int command) const;
  bool CanWrap(int command) const;
  bool IsWrapped(int command) const;
  bool CanChooseFont(int command) const;

  void OnTimer(wxTimerEvent& event);

  // ISessionView (main_frame_session.cpp).
  void AppendTrace(dossel::TStringView text) override;
  void AppendResultText(dossel::TStringView text) override;
  void Post(std::function<void()> call) override;
  void StartTimer(unsigned milliseconds) override;
  void StopTimer() override;
  dossel::CGridStore* PrepareGrid() override;
  void FinishGrid(bool rowsWritten) override;
  void EmptyGrid() override;
  void ShowObjectText() override;
  void RunEnded(bool objectTextRun) override;
  void FirstRowsStored() override;
  // The pane kept behind the result pane is hidden once the keyboard leaves
  // it for another pane (main_frame_first_rows.cpp).
  void OnChildFocus(wxChildFocusEvent& event);
  void EndKeysBehind(CPane* shown);
  // The query pane's completion list never floats over another pane.
  void CloseCompletionList();
  // Runs `call` on the UI thread and waits for its answer (the connection thread's
  // "sent" message); `fallback` when the frame closes meanwhile.
  int CallOnUiThread(std::function<int()> call, int fallback);
  // Makes or resets the grid and begins its fill. UI thread; the store, or
  // null when the grid cannot be made.
  dossel::CGridStore* OnPrepareGrid();
  // What the program keeps between runs and writes only at its end (the
  // recent-file list, the query pane's unsaved text), written now; the
  // settings are written as they change.
  void SaveKeptState();
  // Ends the process at once, non-zero, after SaveKeptState and a short
  // wait for the writers: for a close whose threads did not stop.
  [[noreturn]] void EndProcessNow();

  CQueryView* m_pQueryView = nullptr;
  CResultView* m_pResultView = nullptr;
  CTraceView* m_pTraceView = nullptr;
  CSchemaView* m_pSchemaView = nullptr;
  std::array<CPane*, 4> m_pPanes{};
  int m_nCurrentPane = 0;
  CPane* m_pKeysPane = nullptr;
  std::unique_ptr<CDosselDoc> m_pDoc;
  std::unique_ptr<wxFileHistory> m_pFileHistory;
  wxTimer m_timer;
  // Read by the connection thread while it waits for the UI thread: it gives up once this is set.
  std::atomic<bool> m_bClosing{false};
  unsigned m_nThreadWaitMs = 30000;
  std::unique_ptr<dossel::session::CSession> m_pSession;
  dossel::history::CHistory* m_pHistory = nullptr;
  // A child of the frame, made at the first History command.
  dossel::history::CHistoryWindow* m_pHistoryWindow = nullptr;
  std::unique_ptr<CRecoveryKeeper> m_pRecoveryKeeper;
};
