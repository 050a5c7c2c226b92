#pragma once
// CSession: one user's session with a data source. It owns the connection,
// the one query result set used for every run, the run state and its flags,
// the connection thread (every call on the connection), the cancel thread
// (only the driver's cancel) and the timer's bookkeeping, and tells its
// window what happens through ISessionView.
//
// Threads: the public functions belong to the UI thread, except the
// Is*/Get* readers of atomic flags, which any thread may call. Runs happen
// on the connection thread; their completion comes back to the UI thread
// through ISessionView::Post.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>

#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "platform/format.h"
#include "platform/text.h"
#include "session/connection_thread.h"
#include "session/run_record.h"
#include "session/session_view.h"
#include "session/statement_splitter.h"
#include "session/statement_watch.h"
#include "session/worker_thread.h"

namespace dossel::session {

// What an asker keeps for as long as it wants its answers (a window's
// member): once it has gone, answers still on their way to it are dropped.
// UI thread.
class CAskOwner {
 public:
  std::weak_ptr<const void> Token() const { return m_token; }

 private:
  std::shared_ptr<const int> m_token = std::make_shared<const int>(0);
};

class CSession {
 public:
  explicit CSession(ISessionView& view);
  ~CSession();
  CSession(const CSession&) = delete;
  CSession& operator=(const CSession&) = delete;

  // Connects with `connect` (which may carry "ODBC;"), or lets the user
  // choose a data source when it is null. The connect is made on the
  // calling thread, since the driver manager may show its chooser.
  bool Connect(const TString* connect);
  // Asks first when a query runs; cancels catalog reads that are still
  // outstanding and closes the connection once they have ended (until then
  // IsDisconnecting(), and nothing new is run or asked); closes the
  // connection on its thread.
  void Disconnect();
  bool IsDisconnecting() const { return m_bDisconnectPending; }
  // Runs `text` (the selection or the whole query text) as one run, its
  // results as text or into the grid.
  void Execute(const TString& text, bool textFormat);
  // Cancels the run; when none runs, the catalog reads of the outstanding asks.
  void RequestCancel();
  // One tick of the one-second timer while a run goes on.
  void OnTimer();
  void PrintExecuteTime();
  // Waits at most `milliseconds` each for the cancel thread and for the
  // connection thread's current work; false when one is still busy.
  bool WaitForThreads(unsigned milliseconds);
  // How every session ends, the main frame's at its close and the tests':
  // waits for the threads (at most 30 s each), then closes the connection
  // and ends its thread; false when a thread did not stop (the connection is
  // then left open rather than freed under it).
  bool Shutdown();
  // Asks the connection something without waiting for the answer (catalog
  // reads of the schema pane, the driver report, the completion's catalog):
  // `read` runs with the connection on the connection thread, after the work
  // queued there before it, and what it returns is handed to `answer` on the
  // UI thread through ISessionView::Post. The answer is dropped when `owner`
  // has gone by then (the window that asked closed); the overload without an
  // owner always answers while the session lives. A read that runs out of
  // memory answers a default-made value. False, with nothing called, when no
  // connection is open. UI thread; see session_ask.cpp.
  //
  //   session.Ask(m_askOwner.Token(),  // a CAskOwner member of the window
  //               [](db::CDbConnection& c) { return c.GetInfoText(SQL_DBMS_VER); },
  //               [this](TString version) { Show(version); });
  //
  // While asks are outstanding IsReading() is true, and RequestCancel
  // cancels the catalog statements they run (a run waits behind them).
  template <typename Read, typename Answer>
  bool Ask(std::weak_ptr<const void> owner, Read read, Answer answer);
  template <typename Read, typename Answer>
  bool Ask(Read read, Answer answer) {
    return Ask(std::weak_ptr<const void>(m_alive), std::move(read), std::move(answer));
  }
  // Asks made and not yet answered (or dropped).
  bool IsReading() const { return m_nAsksOutstanding > 0; }
  // A cancel of the outstanding asks goes on.
  bool IsCancelingReads() const { return m_bCancelingReads; }
  // Asks on the connection thread for an answer that is posted back, with
  // no owner to outlive: the call gives the answer (none: nothing to post),
  // which is dropped when the connection it was asked of has closed
  // meanwhile (a disconnect, or another connect) or the session is gone.
  // False, with nothing queued, when the session is not connected. UI thread.
  using PostedAnswer = std::function<void()>;
  bool Ask(std::function<PostedAnswer(db::CDbConnection&)> call);
  // Counts the connects that succeeded: a new number is a new connection.
  uint64_t ConnectionSerial() const { return m_nConnectionSerial; }
  // The server's current database ("select db_name()"); nothing when it
  // cannot be read. Connection thread only (inside a run or an Ask).
  std::optional<TString> ReadCurrentDatabase();
  // The schema pane switched the database with "USE". UI thread.
  void SetCurrentDatabaseName(const TString& name) { m_strDatabaseName = name; }

  // State.
  bool IsConnected() const { return m_db.IsOpen(); }
  bool IsExecuting() const { return m_bExecuting; }
  bool IsCanceling() const { return m_bCanceling; }
  // The user asked to cancel the run (the driver may not have been told yet).
  bool CancelRequested() const { return m_bCanceled || m_bCanceling; }
  // The statement running ran past the query time-out and was stopped.
  bool TimedOut() const { return m_bTimedOut; }
  // The run reads and writes nothing more: a cancel, or the time-out.
  bool RunStopped() const { return CancelRequested() || TimedOut(); }
  bool IsObjectTextRun() const { return m_bHelpTextMode; }
  bool IsCancelSupported() const { return m_bCancelSupported; }
  bool IsRowCountSupported() const { return m_bRowCountSupported; }
  bool HasMultipleResults() const { return m_bMultipleResults; }
  bool IsTransactSql() const { return m_bTransactSql; }
  // The driver runs one statement per call: a run's text is split into its
  // statements, run one after another.
  bool SplitsScripts() const { return m_bSplitScripts; }
  const TString& GetDbmsName() const { return m_strDbmsName; }
  const TString& GetDataSourceName() const { return m_strDataSourceName; }
  const TString& GetDatabaseName() const { return m_strDatabaseName; }
  int32_t GetLoginTimeout() const { return m_nLoginTimeout; }
  int32_t GetQueryTimeout() const { return m_nQueryTimeout; }
  void SetLoginTimeout(int32_t seconds) { m_nLoginTimeout = seconds; }
  // Applies to the open connection at once.
  void SetQueryTimeout(int32_t seconds);
  const db::CDbConnection& Connection() const { return m_db; }
  // Who hears of every run as it ends (null for no one). UI thread.
  void SetRunObserver(IRunObserver* observer) { m_pRunObserver = observer; }

  // The grid's counts as a fill last published them, for the timer's line.
  void NoteGridSize(int32_t rows, int32_t columns);
  // The run has begun filling the grid: from now on the timer's line gives
  // its counts, through the end of the run (the window may still be sizing
  // the columns after the last row is stored).
  void NoteRunHasGrid() { m_bRunHasGrid = true; }
  // Store writer: a grid holds its first stored rows; the view hears of it
  // once per run (not for an object-text run, which ends on the trace).
  void NoteFirstRowsStored();

  // For the run writers (connection thread and store writer).
  ISessionView& View() { return m_view; }
  db::CQueryResultSet& ResultSet() { return *m_pResultSet; }
  void CloseStatement();
  // The run's figures for its record: the rows of its last result (or its
  // last affected count) and the first error it met. Connection thread.
  void NoteRunRows(int64_t rows);
  void NoteRunError(TStringView message);
  // The statement about to run gets the run's query time-out; ending the
  // watch answers whether the time ran out, in which case the trace has
  // been told so.
  void WatchStatement();
  bool EndStatementWatch();

 private:
  // An ask's read, made on the connection thread; it gives the call that
  // hands the answer over on the UI thread.
  using AskTask = std::function<std::function<void()>(db::CDbConnection&)>;
  bool QueueAsk(std::weak_ptr<const void> owner, AskTask task);
  void CancelReads();
  // The cancel thread's part: cancels the catalog statements of the asks up
  // to `lastAsk` until they have ended.
  void CancelReadsUpTo(uint64_t lastAsk);
  void ReadConnectionFacts();
  void CloseConnection();
  void FinishDisconnect();
  // The answer of an ask was handed over: a Disconnect that waited for the
  // reads goes on when it was the last.
  void DisconnectIfReadsEnded();
  bool StartRun(const TString& sql, bool textFormat);
  void RunQuery(const TString& sql, bool textFormat);
  std::vector<TString> StatementsOf(const TString& sql) const;
  void RunObjectText(const TString& sql);
  // After a run whose text names USE on a T-SQL server: reads the current
  // database; a failed read is told in the trace when `tellFailure`.
  void ReadCurrentDatabaseAfterUse(const TString& sql, bool tellFailure);
  bool SelectCurrentDatabase();
  // The user's cancel and the time-out's: the cancel thread tells the
  // driver again and again until the run stops working. UI thread.
  void RepeatCancelUntilRunStops();
  void CancelQuery();
  // Stops the running statement through the driver, where that is safe.
  void CancelStatement();
  bool IsCancelRefused() const;
  void OnStatementTimedOut();
  void HandleCompletion(bool errors);
  void LeaveRunningState();
  void StopTimer();
  // The run's record (run_figures.cpp): begun by Execute, handed to the
  // observer by the completion.
  void BeginRunRecord(const TString& text);
  void ReportRunEnded(bool errors);

  ISessionView& m_view;
  db::CDbConnection m_db;
  std::unique_ptr<db::CQueryResultSet> m_pResultSet;
  CConnectionThread m_connectionThread;
  CWorkerThread m_cancelThread;

  bool m_bTransactSql = false;
  bool m_bMultipleResults = false;
  bool m_bRowCountSupported = false;
  bool m_bCancelSupported = false;
  bool m_bSplitScripts = false;
  SqlDialect m_dialect = SqlDialect::kStandard;
  TString m_strDbmsName;
  TString m_strDataSourceName;
  TString m_strDatabaseName;
  int32_t m_nLoginTimeout = 0;
  int32_t m_nQueryTimeout = 0;
  // The time-out of the current run, fixed when it starts (the options may
  // change the session's while it runs).
  int32_t m_nRunTimeout = 0;

  // Written by one thread each and read by the others.
  std::atomic<bool> m_bExecuting{false};
  std::atomic<bool> m_bCanceling{false};
  std::atomic<bool> m_bCanceled{false};
  // Set from the start of a run until the connection thread has finished with the
  // connection (before its completion is posted).
  std::atomic<bool> m_bRunWorking{false};
  std::atomic<bool> m_bTimedOut{false};
  std::atomic<bool> m_bHelpTextMode{false};
  std::atomic<bool> m_bRunHasGrid{false};
  std::atomic<bool> m_bFirstRowsNoted{false};
  std::atomic<int32_t> m_nGridRows{0};
  std::atomic<int32_t> m_nGridColumns{0};
  bool m_bFinishHandled = false;
  // The cancel thread is repeating the run's cancel (UI thread).
  bool m_bCancelRepeating = false;
  bool m_bTimerRunning = false;
  uint64_t m_nConnectionSerial = 0;
  uint32_t m_dwStartTick = 0;
  // The current run's record: set on the UI thread before the run is
  // queued, the figures written by the connection thread, read back on the
  // UI thread after the run posted its completion.
  IRunObserver* m_pRunObserver = nullptr;
  TString m_strRunText;
  int64_t m_nRunStartedAt = 0;
  int64_t m_nRunRows = -1;
  TString m_strRunError;
  // Asks: numbered in the order made (UI thread); the connection thread
  // notes the one it runs and the last it finished under m_askLock, which
  // the cancel of reads holds while it cancels, so that it never reaches a
  // statement of the work queued after them.
  uint64_t m_nLastAsk = 0;
  int m_nAsksOutstanding = 0;
  bool m_bCancelingReads = false;
  // A Disconnect waits for the outstanding asks to end (UI thread).
  bool m_bDisconnectPending = false;
  std::mutex m_askLock;
  uint64_t m_nRunningAsk = 0;
  uint64_t m_nFinishedAsk = 0;
  // Posted calls check it: one that arrives after the session has gone does nothing.
  std::shared_ptr<int> m_alive = std::make_shared<int>(0);
  // Declared last: its thread, which may cancel through the result set, ends
  // before anything it uses.
  CStatementWatch m_statementWatch{[this] { OnStatementTimedOut(); }};
};

template <typename Read, typename Answer>
bool CSession::Ask(std::weak_ptr<const void> owner, Read read, Answer answer) {
  using Value = std::decay_t<std::invoke_result_t<Read&, db::CDbConnection&>>;
  return QueueAsk(std::move(owner),
                  [read = std::move(read),
                   answer = std::move(answer)](db::CDbConnection& connection) mutable -> std::function<void()> {
                    auto value = std::make_shared<Value>();
                    try {
                      *value = read(connection);
                    } catch (const std::bad_alloc&) {
                      *value = Value();
                    }
                    return [answer, value]() mutable { answer(std::move(*value)); };
                  });
}

// "Execute time: hh:mm:ss.mmm\r\n" for an elapsed time; hours are not
// reduced modulo 24.
TString FormatExecuteTime(uint32_t ms);

// The text a run executes for `sql` on a T-SQL family server: "sp_helptext "
// at the very start makes an object-text run (`helpTextMode`), rewritten into
// a syscomments query for the Anywhere servers.
TString ObjectTextQuery(TStringView sql, TStringView dbms, bool& helpTextMode);

bool IsTransactSqlServer(TStringView dbms);

// Whether a driver must be given one statement per call: the SQLite and
// MySQL families always (the MySQL family's connector claims batches but
// refuses them unless its data source allows them); otherwise what the
// driver says of explicit batches (`batchSupport`, SQL_BATCH_SUPPORT, null
// when it does not answer) or else of several result sets.
bool NeedsStatementSplitting(TStringView dbms, const uint32_t* batchSupport, bool multipleResults);
SqlDialect DialectOf(TStringView dbms);

}  // namespace dossel::session
