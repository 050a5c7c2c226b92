#include "db/db_result_set.h"

#include <chrono>
#include <new>
#include <thread>

namespace dossel::db {
namespace {

// Room the driver gets for a column name.
constexpr SQLSMALLINT kColumnNameRoom = 256;

}  // namespace

CDbResultSet::CDbResultSet(CDbConnection* connection) : m_pDatabase(connection) {
  if (m_pDatabase && m_pDatabase->IsOpen()) {
    SQLRETURN rc;
    StatementHandle statement = m_pDatabase->AllocateStatement(rc);
    if (rc == SQL_SUCCESS && statement) {
      m_hstmt = std::move(statement);
      m_pDatabase->AddResultSet(this);
    }
  }
}

CDbResultSet::~CDbResultSet() {
  if (m_hstmt) Close();
}

void CDbResultSet::SetOpenParameters(int openType, const TString& sql, uint32_t options) {
  m_nOpenType = openType == kDefaultType ? kSnapshot : openType;
  if (m_nOpenType == kForwardOnly) options |= kReadOnly;
  m_dwOptions = options;
  m_strSQL = sql;
  m_bBOF = m_bEOF = true;
  m_bExecuteFailed = m_bFetchFailed = false;
  m_strLastError.clear();
}

bool CDbResultSet::AllocateStatement() {
  if (m_hstmt) return true;
  if (!m_pDatabase || !m_pDatabase->IsOpen()) return false;
  SQLRETURN rc;
  StatementHandle statement = m_pDatabase->AllocateStatement(rc);
  if (!IsSuccessCode(rc) || !statement) {
    // The connection's diagnostics say why; the caller reports them.
    KeepErrorText(rc);
    return false;
  }
  m_hstmt = std::move(statement);
  m_pDatabase->AddResultSet(this);
  return true;
}

void CDbResultSet::ApplyStatementOptions(SQLHSTMT hstmt) {
  if (m_pDatabase) m_pDatabase->ApplyStatementOptions(hstmt);
  if (m_nOpenType == kForwardOnly || !m_pDatabase) return;
  // Every scrollable set of this program is read-only.
  // The answers change nothing; the driver hears the questions it expects.
  if (m_pDatabase->IsFunctionSupported(SQL_API_SQLSETPOS)) m_pDatabase->GetInfoText(SQL_ODBC_VER);
  uint32_t scrollOptions = 0;
  m_pDatabase->GetInfoNumber(SQL_SCROLL_OPTIONS, scrollOptions);
  SQLULEN cursorType = SQL_CURSOR_STATIC;
  if (m_nOpenType == kDynaset) cursorType = SQL_CURSOR_KEYSET_DRIVEN;
  if (m_nOpenType == kDynamic) cursorType = SQL_CURSOR_DYNAMIC;
  SQLSetStmtOption(hstmt, SQL_CURSOR_TYPE, cursorType);
  SQLSetStmtOption(hstmt, SQL_CONCURRENCY, SQL_CONCUR_READ_ONLY);
}

void CDbResultSet::AllocateFieldStatus() {
  if (m_nFields <= 0) return;
  m_rgFieldStatus.assign(m_nFields, 0);
  m_rgLengths.assign(m_nFields, 0);
  m_textBuffers.resize(m_nFields);
}

SQLRETURN CDbResultSet::ExecuteStatement() {
  const SQLHSTMT hstmt = m_hstmt.Get();
  SQLRETURN rc;
  const auto call = LockForCall();
  const auto execute = [&](const TString& text) {
    if (m_dwOptions & kExecuteDirect) return OdbcExecDirect(hstmt, text);
    const SQLRETURN prepared = OdbcPrepare(hstmt, text);
    return IsSuccessCode(prepared) ? Repeat([&] { return SQLExecute(hstmt); }) : prepared;
  };
  rc = m_pDatabase ? m_pDatabase->ExecuteStreaming(hstmt, m_strSQL, execute) : execute(m_strSQL);
  m_bExecuteFailed = !IsSuccessCode(rc);
  if (m_bExecuteFailed) KeepErrorText(rc);
  m_nOpen = 1;
  return rc;
}

void CDbResultSet::KeepErrorText(SQLRETURN rc) {
  CDbError error(rc);
  error.ReadDiagnostics(m_pDatabase, m_hstmt.Get());
  m_strLastError = error.m_strError;
}

void CDbResultSet::DescribeColumns() {
  const SQLHSTMT hstmt = m_hstmt.Get();
  m_rgODBCFieldInfos.clear();
  m_nResultCols = -1;
  SQLSMALLINT count = -1;
  if (!IsSuccessCode(Repeat([&] { return SQLNumResultCols(hstmt, &count); }))) return;
  m_nResultCols = count;
  if (count <= 0) return;
  m_rgODBCFieldInfos.resize(count);
  for (SQLSMALLINT column = 1; column <= count; ++column) {
    CDbColumnInfo& info = m_rgODBCFieldInfos[column - 1];
    SQLSMALLINT type = 0, scale = 0, nullable = 0;
    SQLULEN precision = 0;
    OdbcDescribeCol(hstmt, column, kColumnNameRoom, info.m_strName, type, precision, scale, nullable);
    // The heading is the label: the SQLite driver cuts the described name of
    // an expression at its last "." ("select 2.5" is named "5") but labels it
    // whole, and its LongNames key would prefix plain columns with the table.
    TString label;
    if (IsSuccessCode(OdbcColumnLabel(hstmt, column, kColumnNameRoom, label)) && !label.empty())
      info.m_strName = std::move(label);
    info.m_nSQLType = type;
    info.m_nPrecision = static_cast<uint32_t>(precision);
    info.m_nScale = scale;
    info.m_nNullability = nullable;
  }
}

bool CDbResultSet::Open(int openType, const TString& sql, uint32_t options) {
  return OpenAndFetch(openType, sql, options, false);
}

bool CDbResultSet::OpenAndFetch(int openType, const TString& sql, uint32_t options, bool fetchOnlyWithColumns) {
  SetOpenParameters(openType, sql, options);
  try {
    if (!AllocateStatement()) return false;
    ApplyStatementOptions(m_hstmt.Get());
    AllocateFieldStatus();
    ExecuteStatement();
    DescribeColumns();
    m_rgRowStatus.assign(m_dwRowsetSize, 0);
    BeforeBinding();
    if (!fetchOnlyWithColumns || m_nResultCols != 0) MoveNext();
    m_bBOF = m_bEOF;
    return true;
  } catch (const std::bad_alloc&) {
    Close();
    throw;
  }
}

void CDbResultSet::ResetPosition() {
  m_bBOF = m_bEOF = false;
  m_bEOFSeen = false;
  m_bDeleted = false;
  m_lCurrentRecord = -1;
  m_lRecordCount = 0;
}

void CDbResultSet::Move(int32_t rows, SQLUSMALLINT fetchType) {
  const SQLHSTMT hstmt = m_hstmt.Get();
  if (m_nBindState == 0) {
    CDbFieldExchange bind(CDbFieldExchange::BindFieldToColumn, this);
    ExchangeFields(&bind);
    m_nBindState = m_nFields > 0 ? bind.m_nFields : -1;
    ResetPosition();
  }
  if (m_nFields > 0) std::fill(m_rgFieldStatus.begin(), m_rgFieldStatus.end(), 0);

  SQLRETURN rc;
  SQLULEN rowsFetched = 0;
  auto call = LockForCall();
  if (m_nOpenType == kForwardOnly) {
    rc = Repeat([&] { return SQLFetch(hstmt); });
    rowsFetched = 1;
    m_bDeleted = false;
  } else {
    if (m_rgRowStatus.empty()) m_rgRowStatus.assign(1, 0);
    rc = Repeat([&] { return SQLExtendedFetch(hstmt, fetchType, rows, &rowsFetched, m_rgRowStatus.data()); });
    m_bDeleted = m_rgRowStatus[0] == SQL_ROW_DELETED;
  }
  call.unlock();
  const bool fetched = CheckFetchResult(rc);
  UpdateCursorFlags(rc, fetchType, rows, rowsFetched);
  if (!fetched && !m_bExecuteFailed && m_nResultCols > 0) {
    // A row that cannot be read, as opposed to the no-result of a failed
    // execute, which was reported already.
    m_bFetchFailed = true;
    KeepErrorText(rc);
  }
  if (!fetched) {
    m_bEOF = true;
    m_bBOF = false;
  }
  if (m_nFields > 0 && !m_bEOF && !m_bBOF) {
    CDbFieldExchange fixup(CDbFieldExchange::Fixup, this);
    ExchangeFields(&fixup);
  }
}

bool CDbResultSet::CheckFetchResult(SQLRETURN rc) {
  if (rc == SQL_SUCCESS_WITH_INFO) {
    // Truncation (01004) and row errors (01S01) need no action; reading the
    // records clears them from the statement.
    CDbError error(rc);
    error.ReadDiagnostics(m_pDatabase, m_hstmt.Get());
    return true;
  }
  return IsSuccessCode(rc);
}

void CDbResultSet::UpdateCursorFlags(SQLRETURN rc, SQLUSMALLINT fetchType, int32_t rows, SQLULEN /*rowsFetched*/) {
  if (rc != SQL_NO_DATA_FOUND) {
    m_bBOF = m_bEOF = false;
    if (fetchType == SQL_FETCH_NEXT) {
      if (m_lCurrentRecord != -2) m_lCurrentRecord += rows;
      if (m_lRecordCount < m_lCurrentRecord + 1) m_lRecordCount = m_lCurrentRecord + 1;
    }
  } else if (fetchType == SQL_FETCH_NEXT) {
    m_bEOF = true;
    m_bBOF = false;
    if (m_lRecordCount == m_lCurrentRecord + 1) m_bEOFSeen = true;
  }
}

void CDbResultSet::ExchangeFields(CDbFieldExchange*) {}

bool CDbResultSet::IsSuccessCode(SQLRETURN rc) const {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NEED_DATA || rc == SQL_NO_DATA_FOUND;
}

bool CDbResultSet::IsOpen() {
  const SQLHSTMT hstmt = m_hstmt.Get();
  if (!hstmt) return false;
  if (m_nOpen == 1) return true;
  SQLSMALLINT count = 0;
  const SQLRETURN rc = Repeat([&] { return SQLNumResultCols(hstmt, &count); });
  if (!IsSuccessCode(rc)) {
    CDbError error(rc);
    error.ReadDiagnostics(m_pDatabase, hstmt);
    if (error.HasState(DT("S1010"))) return false;
  }
  return count != 0;
}

void CDbResultSet::GetDescribedColumn(int index, CDbColumnInfo& info) const {
  if (m_nResultCols <= 0 || index < 0 || index >= static_cast<int>(m_rgODBCFieldInfos.size())) return;
  info = m_rgODBCFieldInfos[index];
}

const CDbColumnInfo* CDbResultSet::DescribedColumn(int field) const {
  if (field < 1 || field > static_cast<int>(m_rgODBCFieldInfos.size())) return nullptr;
  return &m_rgODBCFieldInfos[field - 1];
}

std::vector<TChar>& CDbResultSet::TextBuffer(int field) { return m_textBuffers[field - 1]; }

bool CDbResultSet::NextResultSet() {
  const SQLHSTMT hstmt = m_hstmt.Get();
  if (!hstmt) return false;
  auto call = LockForCall();
  const SQLRETURN rc = Repeat([&] { return SQLMoreResults(hstmt); });
  call.unlock();
  if (rc == SQL_ERROR) {
    // A later statement of the batch failed: the run must say so, not end
    // as if the batch had no more results.
    m_bExecuteFailed = true;
    KeepErrorText(rc);
  }
  const bool more = IsSuccessCode(rc) && rc != SQL_NO_DATA_FOUND;
  ResetPosition();
  if (more) DescribeColumns();
  return more;
}

bool CDbResultSet::GetRowCount(int64_t& rows) {
  const SQLHSTMT hstmt = m_hstmt.Get();
  SQLLEN count = -1;
  if (!hstmt || SQLRowCount(hstmt, &count) != SQL_SUCCESS) {
    rows = -1;
    return false;
  }
  rows = count;
  return true;
}

SQLRETURN CDbResultSet::Cancel() {
  std::lock_guard<std::mutex> freeGuard(m_freeLock);
  const SQLHSTMT hstmt = m_hstmt.Get();
  if (!hstmt) return SQL_INVALID_HANDLE;
  // Held or not after the wait; see m_callLock.
  m_bCancelWaiting = true;
  const bool betweenCalls = LockCallWithin(kCancelWaitMs);
  m_bCancelWaiting = false;
  const SQLRETURN rc = SQLCancel(hstmt);
  if (betweenCalls) m_callLock.unlock();
  return rc;
}

// Polls rather than waits with a time-out: the time-out lock of the
// standard library is invisible to ThreadSanitizer here, which would then
// report every cancel as a race.
bool CDbResultSet::LockCallWithin(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!m_callLock.try_lock()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::unique_lock<std::mutex> CDbResultSet::LockForCall() {
  while (m_bCancelWaiting) std::this_thread::yield();
  return std::unique_lock<std::mutex>(m_callLock);
}

void CDbResultSet::Close() {
  m_rgODBCFieldInfos.clear();
  m_rgFieldStatus.clear();
  m_rgLengths.clear();
  m_rgRowStatus.clear();
  m_textBuffers.clear();
  {
    std::lock_guard<std::mutex> guard(m_freeLock);
    m_hstmt.Reset();
  }
  if (m_pDatabase) m_pDatabase->RemoveResultSet(this);
  m_nOpen = 0;
  m_bBOF = m_bEOF = true;
  m_nBindState = 0;
  m_nResultCols = -1;
}

}  // namespace dossel::db
