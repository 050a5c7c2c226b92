#pragma once
// A result set: one statement handle on a CDbConnection, the described
// columns of the result it produces, the cursor position and, for sets with
// bound fields, the members that receive each fetched row.
//
// One thread uses a set: the session's connection thread. The only call
// from another thread is Cancel. Database
// failures show as false results, end of result or empty text.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "db/db_connection.h"
#include "db/field_exchange.h"

namespace dossel::db {

struct CDbColumnInfo {
  TString m_strName;
  int16_t m_nSQLType = 0;
  uint32_t m_nPrecision = 0;
  int16_t m_nScale = 0;
  int16_t m_nNullability = 0;
};

// Open types and option bits of Open.
enum OpenType : int { kDefaultType = -1, kDynaset = 0, kSnapshot = 1, kForwardOnly = 2, kDynamic = 3 };
enum OpenOptions : uint32_t { kReadOnly = 0x4, kNoDirtyFieldCheck = 0x20, kExecuteDirect = 0x2000 };

class CDbResultSet {
 public:
  // How long a cancel waits for the call in progress to return before it
  // interrupts it.
  static constexpr int kCancelWaitMs = 250;

  explicit CDbResultSet(CDbConnection* connection);
  virtual ~CDbResultSet();
  CDbResultSet(const CDbResultSet&) = delete;
  CDbResultSet& operator=(const CDbResultSet&) = delete;

  virtual bool Open(int openType, const TString& sql, uint32_t options);
  virtual void Close();
  virtual void Move(int32_t rows, SQLUSMALLINT fetchType);
  virtual bool CheckFetchResult(SQLRETURN rc);
  virtual TString DefaultConnectString() const { return DT("ODBC;"); }
  virtual TString DefaultSqlText() const { return {}; }
  virtual void ApplyStatementOptions(SQLHSTMT hstmt);
  virtual void ExchangeFields(CDbFieldExchange* exchange);
  virtual bool IsSuccessCode(SQLRETURN rc) const;
  virtual void UpdateCursorFlags(SQLRETURN rc, SQLUSMALLINT fetchType, int32_t rows, SQLULEN rowsFetched);
  virtual void BeforeBinding() {}

  bool IsOpen();
  bool IsBeforeFirst() const { return m_bBOF; }
  bool IsAfterLast() const { return m_bEOF; }
  void MoveNext() { Move(1, SQL_FETCH_NEXT); }
  int16_t GetColumnCount() const { return m_nResultCols; }
  void GetDescribedColumn(int index, CDbColumnInfo& info) const;
  bool NextResultSet();
  // Asks the driver to stop the statement; safe from another thread. It
  // waits for a statement being freed, and at most kCancelWaitMs for the
  // execute, fetch or read in progress (the SQLite driver frees row data in
  // its cancel, under a reader copying it); a call still running after that
  // is interrupted.
  SQLRETURN Cancel();

  // What went wrong in the last open or fetch, for the user: whether the
  // statement could not be executed, whether a row could not be read, and the
  // driver's message (read before later calls replace it).
  bool ExecuteFailed() const { return m_bExecuteFailed; }
  bool FetchFailed() const { return m_bFetchFailed; }
  const TString& LastErrorText() const { return m_strLastError; }

  // SQLRowCount on the statement: false, with `rows` -1, unless the driver
  // answers SQL_SUCCESS.
  bool GetRowCount(int64_t& rows);

  SQLHSTMT GetStatement() const { return m_hstmt.Get(); }
  CDbConnection* GetConnection() const { return m_pDatabase; }
  // Called by the connection object when it closes under the set.
  void DetachConnection() { m_pDatabase = nullptr; }

  // Field exchange reaches the set's bookkeeping through these.
  int FieldCount() const { return m_nFields; }
  SQLLEN* FieldLength(int field) { return &m_rgLengths[field - 1]; }
  void MarkFieldNull(int field, bool isNull) { m_rgFieldStatus[field - 1] = isNull ? 1 : 0; }
  bool IsFieldNull(int field) const { return m_rgFieldStatus[field - 1] != 0; }
  std::vector<TChar>& TextBuffer(int field);
  const CDbColumnInfo* DescribedColumn(int field) const;

 protected:
  // Open's steps in order; the first fetch is skipped for a statement
  // without columns when `fetchOnlyWithColumns`.
  bool OpenAndFetch(int openType, const TString& sql, uint32_t options, bool fetchOnlyWithColumns);
  // The steps of Open, for sets that replace the execution step.
  void SetOpenParameters(int openType, const TString& sql, uint32_t options);
  bool AllocateStatement();
  void AllocateFieldStatus();
  SQLRETURN ExecuteStatement();
  void DescribeColumns();
  void ResetPosition();
  void KeepErrorText(SQLRETURN rc);
  // Takes m_callLock if it comes free within `milliseconds`.
  bool LockCallWithin(int milliseconds);
  // Takes m_callLock for a call, first letting a waiting cancel have it: a
  // fill that fetches row after row would otherwise take it back each time
  // (the lock is not fair), and the cancel would meet a fetch after all.
  std::unique_lock<std::mutex> LockForCall();

  CDbConnection* m_pDatabase;
  StatementHandle m_hstmt;
  int m_nOpenType = kSnapshot;
  uint32_t m_dwOptions = 0;
  TString m_strSQL;
  int16_t m_nResultCols = -1;
  std::vector<CDbColumnInfo> m_rgODBCFieldInfos;
  int m_nFields = 0;  // members declared through field exchange
  std::vector<uint8_t> m_rgFieldStatus;
  std::vector<SQLLEN> m_rgLengths;
  std::vector<std::vector<TChar>> m_textBuffers;
  bool m_bBOF = true;
  bool m_bEOF = true;
  int m_nOpen = -1;  // -1 never opened, 1 open, 0 closed
  int32_t m_lCurrentRecord = -2;
  int32_t m_lRecordCount = 0;
  bool m_bEOFSeen = false;
  bool m_bDeleted = false;
  uint32_t m_dwRowsetSize = 1;
  std::vector<SQLUSMALLINT> m_rgRowStatus;
  int m_nBindState = 0;  // 0 not yet bound, -1 nothing to bind, else bound count
  // Cancel is the only call that comes from another thread. The SQLite
  // driver frees the statement's row data in its cancel, so a cancel must
  // not meet a fetch or a value being read: Cancel takes m_callLock, which
  // every call that reads or moves the cursor holds, when it can have it
  // within kCancelWaitMs; past that a call is stuck in the driver (a long
  // execute or fetch) and only a cancel without the lock can interrupt it.
  // m_freeLock keeps the statement from being freed under any cancel.
  std::mutex m_callLock;
  std::atomic<bool> m_bCancelWaiting{false};
  std::mutex m_freeLock;
  bool m_bExecuteFailed = false;
  bool m_bFetchFailed = false;
  TString m_strLastError;
};

}  // namespace dossel::db
