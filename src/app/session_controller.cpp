// The session controller: connect, disconnect, execute, cancel, completion
// and the one-second timer.

#include <wx/app.h>
#include <wx/toolbar.h>

#include "app/connect_dlg.h"
#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/result_view.h"
#include "app/trace_view.h"
#include "platform/system.h"
#include "platform/user_interface.h"
#include "res/command_ids.h"

using namespace dossel;
using namespace dossel::db;
using namespace dossel::res;

namespace {

constexpr int kLoginTimeoutLimit = 99999;
constexpr unsigned kWorkerWaitMs = 30000;
constexpr TStringView kHelpText = DT("sp_helptext ");

bool IsTransactSqlServer(TStringView dbms) {
  for (TStringView name :
       {DT("Sybase SQL Anywhere"), DT("Adaptive Server Anywhere"), DT("SQL Server"), DT("Microsoft SQL Server")})
    if (EqualsNoCase(dbms, name)) return true;
  return false;
}

bool IsAnywhereServer(TStringView dbms) {
  return EqualsNoCase(dbms, DT("Sybase SQL Anywhere")) || EqualsNoCase(dbms, DT("Adaptive Server Anywhere"));
}

// A quote inside the name would end the SQL string literal early.
TString QuoteDoubled(TStringView name) {
  TString out;
  for (TChar c : name) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

}  // namespace

TString FormatExecuteTime(uint32_t ms) {
  const uint32_t seconds = ms / 1000;
  return Format(DT("Execute time: %02d:%02d:%02d.%03d\r\n"), seconds / 3600, seconds / 60 % 60, seconds % 60,
                ms % 1000);
}

TString ObjectTextQuery(TStringView sql, TStringView dbms, bool& helpTextMode) {
  helpTextMode = false;
  if (FindNoCase(sql, kHelpText) == TStringView::npos || sql.substr(0, kHelpText.size()) != kHelpText)
    return TString(sql);
  helpTextMode = true;
  TStringView name = sql.substr(kHelpText.size());
  name = name.substr(0, name.find_first_of(DT("\n\r\t ")));
  if (!IsAnywhereServer(dbms)) return TString(sql);
  return Format(DT("SELECT text FROM syscomments where id = object_id('%s') "), QuoteDoubled(name)) +
         DT("order by number, colid2, colid");
}

bool CMainFrame::Connect(const TString* connect) {
  AppendTrace(DT("Connecting to database ...\r\n"));
  m_dwStartTick = GetTickCount();
  if (m_nLoginTimeout > kLoginTimeoutLimit || m_nLoginTimeout < 0) m_nLoginTimeout = 0;
  m_db.SetLoginTimeOut(m_nLoginTimeout);
  bool established;
  if (connect) {
    TString text = *connect;
    if (text.find(DT("ODBC;")) != TString::npos) text.erase(0, 5);
    established = m_db.OpenWithOptions(text, kNoOdbcDialog);
  } else {
    established = m_db.Open(TString(), false, false, DT("ODBC;"), false) && !m_db.GetConnectString().empty();
  }
  if (!established) {
    if (!m_db.GetLastErrorText().empty())
      ShowMessageBox(DT("Cannot connect to the data source.\r\n") + m_db.GetLastErrorText(), DT("Dossel"),
                     kMbOk | kMbIconError);
    return false;
  }
  m_db.SetQueryTimeOut(m_nQueryTimeout);
  ReadConnectionFacts();
  PrintExecuteTime();
  AppendTrace(DT("Connected to database [%s]\r\n\r\n"), m_strDatabaseName);
  return true;
}

void CMainFrame::ReadConnectionFacts() {
  m_strDbmsName = m_db.GetInfoText(SQL_DBMS_NAME);
  m_strDataSourceName = m_db.GetInfoText(SQL_DATA_SOURCE_NAME);
  m_strDatabaseName = m_db.GetInfoText(SQL_DATABASE_NAME);
  if (m_strDataSourceName.empty()) m_strDataSourceName = m_strDbmsName;
  m_bTransactSql = IsTransactSqlServer(m_strDbmsName);
  delete m_pResultSet;
  m_pResultSet = new CQueryResultSet(&m_db);
  TString multiple;
  multiple = m_db.GetInfoText(SQL_MULT_RESULT_SETS);
  m_bMultipleResults = multiple == DT("Y");
  m_bCancelSupported = m_db.IsFunctionSupported(SQL_API_SQLCANCEL);
  m_bRowCountSupported = m_db.IsFunctionSupported(SQL_API_SQLROWCOUNT);
}

void CMainFrame::Disconnect() {
  AppendTrace(DT("Disconnecting database ...\r\n"));
  if (m_bExecuting && !m_bCanceling) {
    const int answer =
        ShowMessageBox(DT("A query is in progress.\r\nCancel the query?"), DT("Dossel"), kMbYesNo | kMbIconQuestion);
    if (answer == kIdYes && !m_bCanceling) RequestCancel();
    return;
  }
  // While the worker still runs (cancel requested or done but not yet
  // noticed) it is using the connection: closing it now would free the
  // statement under the worker.
  if (m_bExecuting) return;
  m_db.Close();
  AppendTrace(DT("Database disconnected\r\n\r\n"));
}

void CMainFrame::Execute() {
  if (m_bExecuting) return;
  m_bFinishHandled = false;
  StopTimer();
  m_dwStartTick = GetTickCount();
  m_timer.Start(1000);
  m_nTimerId = 1;
  m_bExecuting = true;
  m_bCanceling = false;
  m_bCanceled = false;
  TString text = m_pQueryView->GetRunText();
  bool helpText = false;
  if (m_bTransactSql) text = ObjectTextQuery(text, m_strDbmsName, helpText);
  m_bHelpTextMode = helpText;
  AppendTrace(DT("Executing query [%s] ...\r\n"), text);
  if (!StartRun(text)) {
    AppendTrace(DT("Error executing SQL: %s\r\n"), text);
    // No worker will post a completion: leave the running state here.
    StopTimer();
    m_bExecuting = m_bCanceling = m_bCanceled = false;
    m_bHelpTextMode = false;
    m_bFinishHandled = true;
  }
}

bool CMainFrame::StartRun(const TString& sql) {
  CloseStatement();
  m_run.sql = sql;
  m_run.frame = this;
  const bool helpText = m_bHelpTextMode;
  if (!helpText) m_run.grid = nullptr;
  return m_runThread.Start([this, helpText] {
    if (helpText)
      RunHelpTextThread();
    else
      RunQueryThread();
  });
}

void CMainFrame::RequestCancel() {
  if (!m_bExecuting || m_bCanceling || m_bFinishHandled) return;
  m_bCanceling = true;
  AppendTrace(DT("Canceling query ...\r\n"));
  m_cancelThread.Start([this] { m_pCancelFrame->CancelQueryThread(); });
}

void CMainFrame::CancelQueryThread() {
  // This server's driver is known to misbehave when cancelled; its run ends
  // when the worker notices the flag instead.
  if (!EqualsNoCase(m_strDbmsName, DT("Sybase SQL Anywhere")) && m_pResultSet && m_pResultSet->GetStatement())
    m_pResultSet->Cancel();
  m_bCanceled = true;
  PostFrameMessage(WM_CANCEL_FINISHED, 0, 0);
}

void CMainFrame::PostFrameMessage(int message, int wParam, long lParam) {
  auto* event = new wxThreadEvent(wxEVT_THREAD, message);
  event->SetInt(wParam);
  event->SetExtraLong(lParam);
  wxQueueEvent(this, event);
}

void CMainFrame::OnRunFinished(wxThreadEvent& event) { HandleCompletion(event.GetInt() != 0); }

void CMainFrame::OnHelpTextFinished(wxThreadEvent&) {
  HandleCompletion(false);
  m_bHelpTextMode = false;
}

void CMainFrame::OnCancelFinished(wxThreadEvent&) { m_cancelThread.Forget(); }

void CMainFrame::HandleCompletion(bool errors) {
  if (!m_bFinishHandled) {
    m_bFinishHandled = true;
    // A cancel worker still inside the driver would otherwise meet the
    // statement being closed, or cancel the next run's statement.
    if (m_bCanceling) m_cancelThread.WaitAtMost(kWorkerWaitMs);
    CloseStatement();
    m_pTraceView->Appender().Flush();
    m_pResultView->Appender().Flush();
    if (!m_bHelpTextMode) {
      m_pResultView->Refresh();
      m_pResultView->Update();
    }
    if (CancelRequested())
      AppendTrace(DT("Query canceled.\r\n\r\n"));
    else if (errors)
      AppendTrace(DT("Query completed with errors\r\n\r\n"));
    else
      AppendTrace(DT("Query completed successfully.\r\n\r\n"));
    StopTimer();
    m_bExecuting = m_bCanceling = m_bCanceled = false;
    m_runThread.Forget();
    // Toolbar and menu states follow at once, not at the next idle time.
    UpdateWindowUI(wxUPDATE_UI_RECURSE);
  }
  SwitchPane(m_bHelpTextMode ? 2 : 1);
}

void CMainFrame::StopTimer() {
  if (m_nTimerId != 0) {
    m_timer.Stop();
    m_nTimerId = 0;
  }
}

void CMainFrame::OnTimer(wxTimerEvent&) {
  if (!m_bExecuting) return;
  AppendTrace(DT("Timer: "));
  PrintExecuteTime();
  if (!m_bHelpTextMode) AppendGridProgress();
}

void CMainFrame::PrintExecuteTime() {
  AppendTraceText(FormatExecuteTime(static_cast<uint32_t>(GetTickCount() - m_dwStartTick)));
}

bool CMainFrame::SelectCurrentDatabase() {
  CloseStatement();
  if (!m_pResultSet || !m_pResultSet->OpenSql(DT("select db_name() dbname"))) {
    CloseStatement();
    return false;
  }
  if (!m_pResultSet->IsBeforeFirst()) m_pResultSet->GetFieldText(0, m_strDatabaseName);
  CloseStatement();
  return true;
}

void CMainFrame::CloseStatement() {
  if (m_pResultSet && m_pResultSet->IsOpen()) m_pResultSet->Close();
}

bool CMainFrame::StopWorkers() {
  const bool cancelEnded = m_cancelThread.WaitAtMost(kWorkerWaitMs);
  const bool runEnded = m_runThread.WaitAtMost(kWorkerWaitMs);
  return cancelEnded && runEnded;
}

void CMainFrame::ShowConnectDialog() {
  if (m_db.IsOpen()) return;
  RunConnectDialog(this, [this](const TString& connectString) { return Connect(&connectString); });
}
