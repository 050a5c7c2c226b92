// The session's state machine: connect, disconnect, execute, cancel,
// completion and the one-second timer.

#include "session/session.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/system.h"
#include "platform/user_interface.h"
#include "session/run_writer.h"

namespace dossel::session {

using db::CQueryResultSet;

namespace {

constexpr int kLoginTimeoutLimit = 99999;
constexpr unsigned kThreadWaitMs = 30000;
constexpr unsigned kTimerMs = 1000;
// How often a cancel is sent again while the run has not stopped.
constexpr int kCancelRepeatMs = 50;
constexpr TStringView kHelpText = DT("sp_helptext ");
// The program's time-out fires this long after the query time-out, so that
// a driver which keeps the time-out itself ends the statement first, with
// its own message.
constexpr unsigned kTimeOutGraceMs = 500;
// A longer time-out (over eleven days) is watched as this one: the
// milliseconds must fit the watch's count.
constexpr int32_t kLongestWatchedTimeOut = 1000000;

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

bool NamesUseStatement(TStringView sql) { return FindNoCase(sql, DT("USE ")) != TStringView::npos; }

bool IsMySqlFamily(TStringView dbms) { return EqualsNoCase(dbms, DT("MariaDB")) || EqualsNoCase(dbms, DT("MySQL")); }

}  // namespace

bool IsTransactSqlServer(TStringView dbms) {
  for (TStringView name :
       {DT("Sybase SQL Anywhere"), DT("Adaptive Server Anywhere"), DT("SQL Server"), DT("Microsoft SQL Server")})
    if (EqualsNoCase(dbms, name)) return true;
  return false;
}

bool NeedsStatementSplitting(TStringView dbms, const uint32_t* batchSupport, bool multipleResults) {
  if (StartsWithNoCase(dbms, DT("SQLite")) || IsMySqlFamily(dbms)) return true;
  if (batchSupport) return (*batchSupport & (SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT)) == 0;
  return !multipleResults;
}

SqlDialect DialectOf(TStringView dbms) { return IsMySqlFamily(dbms) ? SqlDialect::kMySql : SqlDialect::kStandard; }

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

CSession::CSession(ISessionView& view) : m_view(view) {}

CSession::~CSession() {
  if (m_bTimerRunning) m_view.StopTimer();
  CloseConnection();
}

// On the connection's thread, like every other call on it.
void CSession::CloseConnection() {
  if (!m_db.IsOpen()) return;
  m_connectionThread.Call([this] {
    m_pResultSet.reset();
    m_db.Close();
  });
}

bool CSession::Connect(const TString* connect) {
  if (m_db.IsOpen()) return false;
  AppendTraceF(m_view, DT("Connecting to database ...\r\n"));
  m_dwStartTick = GetTickCount();
  if (m_nLoginTimeout > kLoginTimeoutLimit || m_nLoginTimeout < 0) m_nLoginTimeout = 0;
  m_db.SetLoginTimeOut(m_nLoginTimeout);
  bool established;
  if (connect) {
    TString text = *connect;
    if (text.find(DT("ODBC;")) != TString::npos) text.erase(0, 5);
    established = m_db.OpenWithOptions(text, db::kNoOdbcDialog);
  } else {
    established = m_db.Open(TString(), false, false, DT("ODBC;"), false) && !m_db.GetConnectString().empty();
  }
  if (!established) {
    if (!m_db.GetLastErrorText().empty())
      ShowMessageBox(DT("Cannot connect to the data source.\r\n") + m_db.GetLastErrorText(), DT("Dossel"),
                     kMbOk | kMbIconError);
    return false;
  }
  if (!m_connectionThread.Start()) {
    m_db.Close();
    ShowMessageBox(DT("Cannot connect to the data source.\r\nNo thread could be started for the connection."),
                   DT("Dossel"), kMbOk | kMbIconError);
    return false;
  }
  m_db.SetQueryTimeOut(m_nQueryTimeout);
  ++m_nConnectionSerial;
  m_connectionThread.Call([this] { ReadConnectionFacts(); });
  PrintExecuteTime();
  AppendTraceF(m_view, DT("Connected to database [%s]\r\n\r\n"), m_strDatabaseName);
  return true;
}

void CSession::ReadConnectionFacts() {
  m_strDbmsName = m_db.GetInfoText(SQL_DBMS_NAME);
  m_strDataSourceName = m_db.GetInfoText(SQL_DATA_SOURCE_NAME);
  m_strDatabaseName = m_db.GetInfoText(SQL_DATABASE_NAME);
  if (m_strDataSourceName.empty()) m_strDataSourceName = m_strDbmsName;
  m_bTransactSql = IsTransactSqlServer(m_strDbmsName);
  m_pResultSet = std::make_unique<CQueryResultSet>(&m_db);
  m_bMultipleResults = m_db.GetInfoText(SQL_MULT_RESULT_SETS) == DT("Y");
  m_bCancelSupported = m_db.IsFunctionSupported(SQL_API_SQLCANCEL);
  m_bRowCountSupported = m_db.IsFunctionSupported(SQL_API_SQLROWCOUNT);
  uint32_t batchSupport = 0;
  const bool batchAnswered = m_db.GetInfoNumber(SQL_BATCH_SUPPORT, batchSupport);
  m_bSplitScripts = NeedsStatementSplitting(m_strDbmsName, batchAnswered ? &batchSupport : nullptr, m_bMultipleResults);
  m_dialect = DialectOf(m_strDbmsName);
}

void CSession::Disconnect() {
  if (!m_db.IsOpen()) return;
  AppendTraceF(m_view, DT("Disconnecting database ...\r\n"));
  if (m_bExecuting && !m_bCanceling) {
    const int answer =
        ShowMessageBox(DT("A query is in progress.\r\nCancel the query?"), DT("Dossel"), kMbYesNo | kMbIconQuestion);
    if (answer == kIdYes && !m_bCanceling) RequestCancel();
    return;
  }
  // While the run still goes on (cancel requested, or done but its end not
  // yet handled) it is using the connection: closing it now would free the
  // statement under it.
  if (m_bExecuting) return;
  // So are catalog reads still outstanding: they are cancelled, and the
  // connection is closed once the last has ended (the UI thread does not
  // wait for a read that may hang).
  if (IsReading()) {
    m_bDisconnectPending = true;
    if (!m_bCancelSupported || IsCancelRefused())
      AppendTraceF(m_view, DT("The connection closes when the catalog read has ended.\r\n"));
    CancelReads();
    return;
  }
  FinishDisconnect();
}

void CSession::FinishDisconnect() {
  m_bDisconnectPending = false;
  // The cancel of the reads has seen them end and is leaving.
  m_cancelThread.WaitAtMost(kThreadWaitMs);
  CloseConnection();
  m_connectionThread.Stop(kThreadWaitMs);
  AppendTraceF(m_view, DT("Database disconnected\r\n\r\n"));
}

void CSession::DisconnectIfReadsEnded() {
  if (m_bDisconnectPending && !IsReading() && !m_bExecuting && m_db.IsOpen()) FinishDisconnect();
}

void CSession::SetQueryTimeout(int32_t seconds) {
  m_nQueryTimeout = seconds;
  m_db.SetQueryTimeOut(seconds);
}

void CSession::Execute(const TString& query, bool textFormat) {
  if (m_bExecuting || !m_db.IsOpen() || m_bDisconnectPending) return;
  m_bFinishHandled = false;
  StopTimer();
  m_dwStartTick = GetTickCount();
  m_view.StartTimer(kTimerMs);
  m_bTimerRunning = true;
  m_bExecuting = true;
  m_bCanceling = false;
  m_bCanceled = false;
  m_bTimedOut = false;
  m_bRunHasGrid = false;
  m_bFirstRowsNoted = false;
  m_nRunTimeout = m_nQueryTimeout;
  BeginRunRecord(query);
  TString text = query;
  bool helpText = false;
  if (m_bTransactSql) text = ObjectTextQuery(text, m_strDbmsName, helpText);
  m_bHelpTextMode = helpText;
  AppendTraceF(m_view, DT("Executing query [%s] ...\r\n"), text);
  if (!StartRun(text, textFormat)) {
    AppendTraceF(m_view, DT("Error executing SQL: %s\r\n"), text);
    NoteRunError(DT("Error executing SQL"));
    ReportRunEnded(true);
    // No run will post a completion: leave the running state here.
    LeaveRunningState();
    m_bFinishHandled = true;
  }
}

bool CSession::StartRun(const TString& sql, bool textFormat) {
  m_bRunWorking = true;
  const bool started = m_bHelpTextMode
                           ? m_connectionThread.Submit([this, sql] { RunObjectText(sql); })
                           : m_connectionThread.Submit([this, sql, textFormat] { RunQuery(sql, textFormat); });
  if (!started) m_bRunWorking = false;
  return started;
}

void CSession::RunQuery(const TString& sql, bool textFormat) {
  const bool errors = WriteRunResults(*this, StatementsOf(sql), textFormat);
  ReadCurrentDatabaseAfterUse(sql, true);
  m_bRunWorking = false;
  m_view.Post([this, errors] { HandleCompletion(errors); });
}

// A text the splitter finds no statement in (only comments) goes to the
// driver as it is, which then says what it makes of it.
std::vector<TString> CSession::StatementsOf(const TString& sql) const {
  if (!m_bSplitScripts) return {sql};
  std::vector<TString> statements;
  for (TStringView piece : SplitStatements(sql, m_dialect)) statements.emplace_back(piece);
  if (statements.empty()) statements.push_back(sql);
  return statements;
}

void CSession::ReadCurrentDatabaseAfterUse(const TString& sql, bool tellFailure) {
  if (!m_bTransactSql || RunStopped() || !NamesUseStatement(sql)) return;
  if (!SelectCurrentDatabase() && tellFailure) AppendTraceF(m_view, DT("Failed to select database.\r\n"));
}

void CSession::RunObjectText(const TString& sql) {
  const bool errors = WriteObjectText(*this, sql);
  // An object's text is all such a run writes: a failed read says nothing.
  ReadCurrentDatabaseAfterUse(sql, false);
  m_bRunWorking = false;
  m_view.Post([this, errors] { HandleCompletion(errors); });
}

std::optional<TString> CSession::ReadCurrentDatabase() {
  CloseStatement();
  if (!m_pResultSet->OpenSql(DT("select db_name() dbname"))) {
    CloseStatement();
    return std::nullopt;
  }
  // No row, a failed statement or a value that cannot be read is no name:
  // the one kept before stays.
  TString name;
  const bool read = !m_pResultSet->ExecuteFailed() && !m_pResultSet->IsBeforeFirst() && !m_pResultSet->IsAfterLast() &&
                    m_pResultSet->GetFieldText(0, name);
  CloseStatement();
  if (!read) return std::nullopt;
  return name;
}

bool CSession::SelectCurrentDatabase() {
  const std::optional<TString> name = ReadCurrentDatabase();
  if (!name) return false;
  // The name is read by the UI thread; hand it over there.
  m_view.Post([this, name] { m_strDatabaseName = *name; });
  return true;
}

void CSession::RequestCancel() {
  if (!m_bExecuting) {
    CancelReads();
    return;
  }
  if (m_bCanceling || m_bFinishHandled) return;
  m_bCanceling = true;
  AppendTraceF(m_view, DT("Canceling query ...\r\n"));
  RepeatCancelUntilRunStops();
}

void CSession::RepeatCancelUntilRunStops() {
  if (m_bCancelRepeating || m_bFinishHandled || !m_bExecuting) return;
  m_bCancelRepeating = m_cancelThread.Start([this] { CancelQuery(); });
}

void CSession::CancelQuery() {
  // A cancel that reaches the driver before the run has begun its statement
  // (none allocated yet, or one not yet executing) is lost there, and the
  // statement would then run to its end. So it is sent again until the run
  // stops working; the run checks the request between its calls.
  CancelStatement();
  while (m_bRunWorking) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kCancelRepeatMs));
    if (m_bRunWorking) CancelStatement();
  }
  // A run stopped by its time-out alone was not canceled by the user.
  if (m_bCanceling) m_bCanceled = true;
  m_view.Post([this] {
    m_bCancelRepeating = false;
    m_cancelThread.Forget();
  });
}

// This server's driver is known to misbehave when cancelled; its run ends
// when the connection thread notices the flag instead.
bool CSession::IsCancelRefused() const { return EqualsNoCase(m_strDbmsName, DT("Sybase SQL Anywhere")); }

void CSession::CancelStatement() {
  if (!IsCancelRefused() && m_pResultSet && m_pResultSet->GetStatement()) m_pResultSet->Cancel();
}

void CSession::WatchStatement() {
  if (m_nRunTimeout <= 0) return;
  const int32_t seconds = std::min(m_nRunTimeout, kLongestWatchedTimeOut);
  m_statementWatch.Arm(static_cast<unsigned>(seconds) * 1000 + kTimeOutGraceMs);
}

bool CSession::EndStatementWatch() {
  if (!m_statementWatch.Disarm()) return false;
  AppendTraceF(m_view, DT("Error: Query timed out after %d s.\r\n"), m_nRunTimeout);
  NoteRunError(Format(DT("Query timed out after %d s."), m_nRunTimeout));
  return true;
}

// On the watch's thread, as the cancel thread would: the flag first, so the
// writers drop what the driver's cancel may have cut. That cancel can be
// lost as the user's can (sent while the statement was not yet in the
// driver): the UI thread then repeats it as it repeats the user's.
void CSession::OnStatementTimedOut() {
  m_bTimedOut = true;
  CancelStatement();
  m_view.Post([this] { RepeatCancelUntilRunStops(); });
}

void CSession::HandleCompletion(bool errors) {
  const bool objectTextRun = m_bHelpTextMode;
  if (!m_bFinishHandled) {
    m_bFinishHandled = true;
    // A cancel thread still inside the driver would otherwise meet the
    // statement being closed, or cancel the next run's statement.
    if (m_bCancelRepeating) m_cancelThread.WaitAtMost(kThreadWaitMs);
    // Queued, not waited for: the next run or ask comes after it.
    if (!m_connectionThread.Submit([this] { CloseStatement(); })) CloseStatement();
    if (CancelRequested())
      AppendTraceF(m_view, DT("Query canceled.\r\n\r\n"));
    else if (errors)
      AppendTraceF(m_view, DT("Query completed with errors\r\n\r\n"));
    else
      AppendTraceF(m_view, DT("Query completed successfully.\r\n\r\n"));
    ReportRunEnded(errors);
    LeaveRunningState();
  }
  m_view.RunEnded(objectTextRun);
}

void CSession::LeaveRunningState() {
  StopTimer();
  m_bExecuting = m_bCanceling = m_bCanceled = m_bTimedOut = false;
  m_bCancelRepeating = false;
  m_bHelpTextMode = false;
}

void CSession::StopTimer() {
  if (!m_bTimerRunning) return;
  m_view.StopTimer();
  m_bTimerRunning = false;
}

void CSession::OnTimer() {
  if (!m_bExecuting) return;
  // One append, so that text the connection thread queues cannot land inside the line.
  TString line = DT("Timer: ") + FormatExecuteTime(static_cast<uint32_t>(GetTickCount() - m_dwStartTick));
  if (!m_bHelpTextMode && m_bRunHasGrid)
    line += Format(DT("Results: %d row(s), %d col(s)\r\n"), m_nGridRows.load() - 1, m_nGridColumns.load());
  m_view.AppendTrace(line);
}

void CSession::NoteGridSize(int32_t rows, int32_t columns) {
  m_nGridRows = rows;
  m_nGridColumns = columns;
}

void CSession::NoteFirstRowsStored() {
  if (m_bHelpTextMode || m_bFirstRowsNoted.exchange(true)) return;
  ISessionView& view = m_view;
  view.Post([&view] { view.FirstRowsStored(); });
}

void CSession::PrintExecuteTime() {
  m_view.AppendTrace(FormatExecuteTime(static_cast<uint32_t>(GetTickCount() - m_dwStartTick)));
}

void CSession::CloseStatement() {
  if (m_pResultSet && m_pResultSet->IsOpen()) m_pResultSet->Close();
}

bool CSession::WaitForThreads(unsigned milliseconds) {
  const bool cancelEnded = m_cancelThread.WaitAtMost(milliseconds);
  const bool runEnded = m_connectionThread.WaitIdle(milliseconds);
  return cancelEnded && runEnded;
}

bool CSession::Shutdown() {
  if (!WaitForThreads(kThreadWaitMs)) return false;
  StopTimer();
  CloseConnection();
  return m_connectionThread.Stop(kThreadWaitMs);
}

}  // namespace dossel::session
