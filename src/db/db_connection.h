#pragma once
// The ODBC connection object: one connection handle, the connect string in
// use, the login and query time-outs, the driver facts read at open, and the
// result sets that currently hold a statement on it.
//
// Opened on the UI thread (the driver manager may show its chooser there);
// every later call, the close included, is made on the session's connection
// thread, which allocates the statements of runs and catalog reads. Only
// SQLCancel on one of those statements comes from elsewhere: the cancel
// thread, or the statement watch's thread at a time-out. No lock is taken
// around the driver's calls (it serialises what it must); only the list of
// result sets has one, for the cancel that walks it.
// Database failures are results (false), never exceptions; only exhausted
// memory throws. The connection handle stays inside the database layer:
// callers ask through the operations below.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "db/odbc_api.h"
#include "db/odbc_handles.h"
#include "db/streaming_mode.h"
#include "platform/text.h"

namespace dossel::db {

class CDbResultSet;

// The process's one ODBC environment, allocated with the first connection
// and freed when the last one is freed. UI thread only.
class DbEnvironment {
 public:
  static DbEnvironment& Instance();

  SQLHENV Handle() const { return m_henv.Get(); }
  int32_t ConnectionCount() const { return m_nAllocatedConnections; }
  // Allocates the environment when there is none; false, with the reason in
  // `why`, when the driver manager cannot be loaded or refuses.
  bool Allocate(TString& why);
  void AddConnection() { ++m_nAllocatedConnections; }
  void RemoveConnection() { --m_nAllocatedConnections; }
  // Frees the environment when no connection holds it.
  void FreeIfUnused();

 private:
  DbEnvironment() = default;

  EnvironmentHandle m_henv;
  int32_t m_nAllocatedConnections = 0;
};

// Option bits of OpenWithOptions.
enum OpenDialogFlags : unsigned {
  kOpenExclusive = 1,  // accepted and ignored
  kOpenReadOnly = 2,
  kUseCursorLib = 4,
  kNoOdbcDialog = 8,
  kForceOdbcDialog = 16,
};

// Connection facts kept for inspection.
enum UpdateCapability : unsigned {
  kCanPositionedOperations = 1,  // SQLSetPos can update, delete and add
  kCanPositionedStatements = 2,  // positioned UPDATE and DELETE statements
  kCanGetDataBound = 4,          // SQLGetData on bound columns
};

class CDbConnection {
 public:
  CDbConnection();
  virtual ~CDbConnection();
  CDbConnection(const CDbConnection&) = delete;
  CDbConnection& operator=(const CDbConnection&) = delete;

  // `connect` must start with "ODBC;" (any case).
  virtual bool Open(const TString& dsn, bool exclusive, bool readOnly, const TString& connect, bool useCursorLib);
  // `connect` without the "ODBC;" prefix; `options` is a set of OpenDialogFlags.
  virtual bool OpenWithOptions(const TString& connect, unsigned options);
  virtual void Close();
  virtual void ApplyStatementOptions(SQLHSTMT hstmt);
  virtual bool IsSuccessCode(SQLRETURN rc) const;
  virtual void BindStatementParameters(SQLHSTMT hstmt);

  bool IsOpen() const { return static_cast<bool>(m_hdbc); }
  void SetLoginTimeOut(int32_t seconds) { m_dwLoginTimeout = seconds; }
  void SetQueryTimeOut(int32_t seconds) { m_dwQueryTimeout = seconds; }
  int32_t GetLoginTimeOut() const { return m_dwLoginTimeout; }
  int32_t GetQueryTimeOut() const { return m_dwQueryTimeout; }
  const TString& GetConnectString() const { return m_strConnect; }
  // The driver's identifier quote character, a space when it has none.
  TChar GetIdentifierQuoteChar() const { return m_chIDQuoteChar; }
  bool IsUpdatable() const { return m_bUpdatable; }
  // Why the last open failed: the driver's message, or that no ODBC
  // environment or connection could be made (empty after a cancelled prompt
  // or a successful open). The handle and its diagnostics are gone by the time
  // the caller learns of the failure.
  const TString& GetLastErrorText() const { return m_strLastError; }

  // Runs SQL whose results are not wanted; reads and drops every row.
  void ExecuteAndDiscard(const TString& sql);

  // How the driver hands over rows (streaming_mode.h), found at open.
  const StreamingMode& GetStreamingMode() const { return m_streaming; }
  // Executes `sql` on `hstmt` through `execute` (which sends the text it is
  // given), in the driver's streaming mode; a statement the mode refuses
  // before any of it ran runs once more without it. Connection thread.
  SQLRETURN ExecuteStreaming(SQLHSTMT hstmt, const TString& sql,
                             const std::function<SQLRETURN(const TString&)>& execute);

  // SQLGetInfo answers on the open connection. The text is empty, and the
  // numbers false, when the driver does not answer (or nothing is open). The
  // caller knows the width of a numeric answer: 16-bit infos (SQL_TXN_CAPABLE,
  // SQL_CURSOR_COMMIT_BEHAVIOR...) take the uint16_t overload.
  TString GetInfoText(uint16_t infoType) const;
  bool GetInfoNumber(uint16_t infoType, uint32_t& value) const;
  bool GetInfoNumber(uint16_t infoType, uint16_t& value) const;
  // SQLGetFunctions for one SQL_API_ function; false when the call fails.
  bool IsFunctionSupported(uint16_t function) const;
  // SQLGetFunctions(SQL_API_ALL_FUNCTIONS): SQL_TRUE or SQL_FALSE for each of
  // the 100 function codes below 100; false, and all SQL_FALSE, when the call
  // fails (or nothing is open).
  bool GetAllFunctions(uint16_t (&supported)[100]) const;

  // A new statement on the connection, empty when closed; `rc` receives the
  // driver's answer.
  StatementHandle AllocateStatement(SQLRETURN& rc) const;

  // Result-set bookkeeping, called by CDbResultSet.
  void AddResultSet(CDbResultSet* resultSet);
  void RemoveResultSet(CDbResultSet* resultSet);
  size_t ResultSetCount() const { return m_resultSets.size(); }
  // SQLCancel on the statement of every result set open on the connection
  // (CDbResultSet::Cancel each): how a catalog read that hangs is stopped.
  // Safe from another thread while the connection thread uses the sets.
  void CancelStatements();

  // Driver facts read at open.
  unsigned m_dwUpdateOptions = 0;
  bool m_bTransactions = false;
  int16_t m_nCursorCommitBehavior = -1;
  int16_t m_nCursorRollbackBehavior = -1;
  uint32_t m_dwBookmarkAttributes = 0;
  TChar m_chIDQuoteChar = ' ';
  bool m_bUseCursorLib = false;

 private:
  friend class CDbError;  // reads the connection's diagnostics

  bool AllocateConnection(unsigned options);
  bool Connect(unsigned options);
  void ReadConnectionFacts();
  // Asks the driver for its streaming mode where the data source given by
  // `given` (the connect string before completion) leaves it unset.
  void EnterStreamingMode(const TString& given);
  bool SetDeclareFetch(bool on);
  void Free();
  template <typename Number>
  bool ReadInfoNumber(uint16_t infoType, Number& value) const;

  ConnectionHandle m_hdbc;

  bool m_bUpdatable = true;
  TString m_strConnect;
  TString m_strLastError;
  std::vector<CDbResultSet*> m_resultSets;  // newest first
  // Held while the list changes (connection thread) and while
  // CancelStatements walks it (another thread).
  std::mutex m_setsLock;
  int32_t m_dwLoginTimeout = 15;
  // Set from the UI thread (the Options sheet) while a run may read it.
  std::atomic<int32_t> m_dwQueryTimeout{15};
  StreamingMode m_streaming;
};

// Diagnostic text collected from the driver, for callers that look for a
// particular SQLSTATE ("State:S1010").
class CDbError {
 public:
  explicit CDbError(SQLRETURN rc) : m_nRetCode(rc) {}
  // Reads (and so consumes) every diagnostic record of the connection and
  // statement. Does nothing without a connection object.
  void ReadDiagnostics(const CDbConnection* connection, SQLHSTMT hstmt);
  // Copies at most size-1 characters of the error text, terminated.
  bool CopyErrorText(TChar* buffer, unsigned size, unsigned* helpContext) const;
  bool HasState(TStringView state) const;

  SQLRETURN m_nRetCode;
  TString m_strError;
  TString m_strStateNativeOrigin;
};

}  // namespace dossel::db
