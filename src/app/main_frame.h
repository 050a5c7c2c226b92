#pragma once
// The main window and the session controller. The frame owns the toolbar,
// status bar and the four panes (one visible at a time), the connection
// object and the one query result set, and drives connect, disconnect,
// execute and cancel with their worker threads and the one-second timer.
//
// UI thread only, except where a member says otherwise: the query worker and
// the cancel worker read the members named in RunParams and the atomic flags,
// and write to the panes only through AppendTrace / AppendResultText and the
// grid's storage calls.

#include <wx/frame.h>
#include <wx/timer.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "app/find_replace.h"
#include "app/goto_dlg.h"
#include "app/text_printout.h"
#include "app/worker_thread.h"
#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "platform/format.h"
#include "platform/text.h"

class wxThreadEvent;
class wxFileHistory;
class CPane;
class CQueryView;
class CResultView;
class CTraceView;
class CSchemaView;
namespace dossel {
class CGridCtrl;
}
class CDosselDoc;
class CMainFrame;

// The block handed to the query worker, reused for every run.
struct RunParams {
  dossel::TString sql;
  CMainFrame* frame = nullptr;
  dossel::CGridCtrl* grid = nullptr;  // set by the UI thread while it prepares the grid
};

class CMainFrame : public wxFrame {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // ---- session controller ----
  // Connects with `connect` (which may carry "ODBC;"), or lets the user
  // choose a data source when it is null.
  bool Connect(const dossel::TString* connect);
  void Disconnect();
  void Execute();
  bool StartRun(const dossel::TString& sql);
  void RequestCancel();
  bool SelectCurrentDatabase();
  void PrintExecuteTime();
  void CloseStatement();
  // Waits (at most 30 seconds each) for the cancel and query workers; false
  // when one of them is still running.
  bool StopWorkers();
  // The Connect dialog; on OK it connects with the string it builds.
  void ShowConnectDialog();
  // Opens a query file as the document (the command line, Open, recent files).
  bool OpenDocumentFile(const wxString& path);
  // The enable rule of a frame command.
  bool IsCommandEnabled(int id) const;

  // ---- panes ----
  void SwitchPane(int index);
  int GetCurrentPane() const { return m_nCurrentPane; }
  CPane* GetPane(int index) const { return m_pPanes[index]; }
  CPane* GetActivePane() const { return m_pPanes[m_nCurrentPane]; }
  CDosselDoc* GetDocument() const { return m_pDoc.get(); }

  // ---- editor commands (main_frame_editor.cpp) ----
  // Font, Word Wrap, Find, Find Next, Replace, Go To and printing, routed to
  // the active pane; Print Setup and Go To belong to the frame.
  // The enable rule and check mark of one of them; false for other ids.
  bool GetEditorCommandState(int id, bool& enabled, bool& checked) const;
  // Go To (Ctrl+G): creates the dialog on first use, then centres and shows it.
  void ShowGoToDialog();
  CGoToDlg* GetGoToDlg() const { return m_goTo.Get(); }
  dossel::CFindReplace& FindReplace();
  dossel::CPrintSupport& Printing();

 private:
  void BindEditorCommands();
  void OnEditorCommand(wxCommandEvent& event);
  // Fills the update event of an editor command; false for other ids.
  bool UpdateEditorCommand(wxUpdateUIEvent& event);
  CGoToHolder m_goTo;
  std::unique_ptr<dossel::CFindReplace> m_pFindReplace;
  std::unique_ptr<dossel::CPrintSupport> m_pPrint;

 public:
  // Members the other panes read (UI thread).
  dossel::db::CDbConnection m_db;
  dossel::db::CQueryResultSet* m_pResultSet = nullptr;
  RunParams m_run;
  CMainFrame* m_pCancelFrame = this;
  CQueryView* m_pQueryView = nullptr;
  CResultView* m_pResultView = nullptr;
  CTraceView* m_pTraceView = nullptr;
  CSchemaView* m_pSchemaView = nullptr;
  bool m_bTransactSql = false;
  bool m_bMultipleResults = false;
  bool m_bRowCountSupported = false;
  // Written by one thread each and read by the others.
  std::atomic<bool> m_bCanceling{false};
  std::atomic<bool> m_bCanceled{false};
  std::atomic<bool> m_bExecuting{false};
  bool m_bFinishHandled = false;
  // The user asked to cancel the run (the driver may not have been told yet).
  bool CancelRequested() const { return m_bCanceled || m_bCanceling; }
  std::atomic<bool> m_bHelpTextMode{false};
  int32_t m_nLoginTimeout = 0;
  int32_t m_nQueryTimeout = 0;
  dossel::TString m_strDbmsName;
  dossel::TString m_strDataSourceName;
  dossel::TString m_strDatabaseName;
  bool m_bCancelSupported = false;
  uint32_t m_dwStartTick = 0;

  // Posts a private message (WM_RUN_FINISHED ...) to the frame; any thread.
  void PostFrameMessage(int message, int wParam, long lParam);

  // ---- grid runs (main_frame_grid.cpp) ----
  // Runs `call` on the UI thread and waits for its answer (the worker's
  // "sent" message); `fallback` when the frame closes meanwhile.
  int CallOnUiThread(std::function<int()> call, int fallback);
  // WM_PREPARE_GRID: makes or resets the grid and switches its drawing off.
  // UI thread; 0, or -1 when the grid cannot be made.
  int OnPrepareGrid(int columns);
  // The worker's side: the grid to write, or null when there is none.
  dossel::CGridCtrl* PrepareGridFromWorker(int columns);
  // Switches drawing back on and, when rows were written, sizes the columns.
  void FinishGridFromWorker(bool sizeColumns);
  // An UPDATE empties an existing grid.
  void EmptyGrid();
  // The worker notes the grid's counts for the timer's progress line.
  void NoteGridSize(int32_t rows, int32_t columns);

 private:
  // Creation (main_frame.cpp).
  void CreateMenuBar();
  void CreateAcceleratorTable();
  void CreateToolBarWithButtons();
  void CreateStatusBarWithIndicators();
  void CreatePanes();
  void BindCommands();

  // Commands and their enable rules (main_frame_commands.cpp).
  void OnConnect(wxCommandEvent& event);
  void OnConnectDataSource(wxCommandEvent& event);
  void OnDisconnect(wxCommandEvent& event);
  void OnExecute(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnViewPane(wxCommandEvent& event);
  void OnEditCommand(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);
  void OnExit(wxCommandEvent& event);
  void OnToggleBar(wxCommandEvent& event);
  void OnFileCommand(wxCommandEvent& event);
  void OnRecentFile(wxCommandEvent& event);
  void OnUpdateCommand(wxUpdateUIEvent& event);
  void OnIdleIndicators(wxIdleEvent& event);
  void OnClose(wxCloseEvent& event);

  // Controller internals (session_controller.cpp).
  void ReadConnectionFacts();
  void OnRunFinished(wxThreadEvent& event);
  void OnHelpTextFinished(wxThreadEvent& event);
  void OnCancelFinished(wxThreadEvent& event);
  void HandleCompletion(bool errors);
  void OnTimer(wxTimerEvent& event);
  void StopTimer();
  // The timer's "Results:" line while a run fills the grid.
  void AppendGridProgress();
  void RunQueryThread();
  void RunHelpTextThread();
  void CancelQueryThread();

  std::array<CPane*, 4> m_pPanes{};
  int m_nCurrentPane = 0;
  std::unique_ptr<CDosselDoc> m_pDoc;
  std::unique_ptr<wxFileHistory> m_pFileHistory;
  wxTimer m_timer;
  int m_nTimerId = 0;
  CWorkerThread m_runThread;
  CWorkerThread m_cancelThread;
  std::atomic<bool> m_bClosing{false};
  std::atomic<bool> m_bGridFilling{false};
  std::atomic<int32_t> m_nGridRows{0};
  std::atomic<int32_t> m_nGridColumns{0};
};

// "Execute time: hh:mm:ss.mmm\r\n" for an elapsed time; hours are not
// reduced modulo 24.
dossel::TString FormatExecuteTime(uint32_t ms);

// The text a run executes for `sql` on a T-SQL family server: "sp_helptext "
// at the very start makes an object-text run (`helpTextMode`), rewritten into
// a syscomments query for the Anywhere servers.
dossel::TString ObjectTextQuery(dossel::TStringView sql, dossel::TStringView dbms, bool& helpTextMode);

// Appends to the trace pane and the result pane's text from any thread. The
// arguments are formatted into the format; data passed as an argument is
// always copied literally.
void AppendTraceText(dossel::TStringView text);
class CPaneAppender;
// The panes those appends reach (the frame sets them; null clears).
void SetAppendTargets(CPaneAppender* trace, CPaneAppender* result);
void AppendResultTextRaw(dossel::TStringView text);

template <typename... Args>
void AppendTrace(dossel::TStringView format, const Args&... args) {
  AppendTraceText(sizeof...(Args) ? dossel::Format(format, args...) : dossel::TString(format));
}

template <typename... Args>
void AppendResultText(dossel::TStringView format, const Args&... args) {
  AppendResultTextRaw(sizeof...(Args) ? dossel::Format(format, args...) : dossel::TString(format));
}
