#include "db/db_connection.h"

#include <algorithm>

#include "db/db_result_set.h"
#include "platform/format.h"
#include "platform/user_interface.h"

namespace dossel::db {
namespace {

constexpr TStringView kOdbcPrefix = DT("ODBC;");
// Room the driver gets for the completed connect string.
constexpr SQLSMALLINT kCompletedConnectRoom = 512;
// Room for one diagnostic message.
constexpr SQLSMALLINT kMessageRoom = 511;

// The first room given for a text answer of SQLGetInfo; a longer answer is
// asked for again with room for all of it.
constexpr SQLSMALLINT kInfoTextRoom = 256;

}  // namespace

DbEnvironment& DbEnvironment::Instance() {
  // Never destroyed: no ODBC call may run during static destruction, when a
  // connection held by another static object can still be open.
  static DbEnvironment* const environment = new DbEnvironment();
  return *environment;
}

bool DbEnvironment::Allocate(TString& why) {
  if (m_henv) return true;
  SQLRETURN rc;
  EnvironmentHandle henv = AllocateEnvironment(rc);
  if (rc == SQL_SUCCESS && henv) {
    m_henv = std::move(henv);
    return true;
  }
  if (const char* missing = DosselOdbcDriverManagerError())
    why = DT("The ODBC driver manager could not be loaded: ") + FromUtf8(missing);
  else
    why = DT("Could not allocate an ODBC environment.");
  return false;
}

void DbEnvironment::FreeIfUnused() {
  if (m_nAllocatedConnections == 0) m_henv.Reset();
}

CDbConnection::CDbConnection() = default;

CDbConnection::~CDbConnection() { Free(); }

bool CDbConnection::Open(const TString& dsn, bool exclusive, bool readOnly, const TString& connect, bool useCursorLib) {
  if (!StartsWithNoCase(connect, kOdbcPrefix)) return false;
  TString rest = connect.substr(kOdbcPrefix.size());
  if (!dsn.empty()) rest += DT(";DSN=") + dsn;
  unsigned options = 0;
  if (exclusive) options |= kOpenExclusive;
  if (readOnly) options |= kOpenReadOnly;
  if (useCursorLib) options |= kUseCursorLib;
  return OpenWithOptions(rest, options);
}

bool CDbConnection::OpenWithOptions(const TString& connect, unsigned options) {
  m_bUpdatable = (options & kOpenReadOnly) == 0;
  // Kept apart: the open replaces m_strConnect, which may be what `connect` refers to.
  const TString given = connect;
  m_strConnect = connect;
  m_strLastError.clear();
  // Frees the connection object unless the open reaches its end: a refused
  // or cancelled connect, or exhausted memory on the way.
  struct FreeUnlessOpened {
    CDbConnection& connection;
    bool opened = false;
    ~FreeUnlessOpened() {
      if (!opened) connection.Free();
    }
  } scope{*this};
  if (!AllocateConnection(options) || !Connect(options)) return false;
  SQLUSMALLINT conformance = 0;
  SQLGetInfo(m_hdbc.Get(), SQL_ODBC_API_CONFORMANCE, &conformance, sizeof conformance, nullptr);
  SQLGetInfo(m_hdbc.Get(), SQL_ODBC_SQL_CONFORMANCE, &conformance, sizeof conformance, nullptr);
  ReadConnectionFacts();
  EnterStreamingMode(given);
  scope.opened = true;
  return true;
}

bool CDbConnection::AllocateConnection(unsigned options) {
  if (m_hdbc) return true;
  DbEnvironment& environment = DbEnvironment::Instance();
  if (!environment.Allocate(m_strLastError)) return false;
  SQLRETURN rc;
  ConnectionHandle hdbc = db::AllocateConnection(environment.Handle(), rc);
  if (rc != SQL_SUCCESS || !hdbc) {
    m_strLastError = DT("Could not allocate an ODBC connection.");
    return false;
  }
  m_hdbc = std::move(hdbc);
  environment.AddConnection();
  OdbcSetConnectOption(m_hdbc.Get(), SQL_LOGIN_TIMEOUT, static_cast<SQLULEN>(m_dwLoginTimeout));
  if (!m_bUpdatable) OdbcSetConnectOption(m_hdbc.Get(), SQL_ACCESS_MODE, SQL_MODE_READ_ONLY);
  if (options & kUseCursorLib) {
    OdbcSetConnectOption(m_hdbc.Get(), SQL_ODBC_CURSORS, SQL_CUR_USE_ODBC);
    m_bUseCursorLib = true;
  }
  return true;
}

bool CDbConnection::Connect(unsigned options) {
  SQLUSMALLINT completion = SQL_DRIVER_COMPLETE;
  if (options & kNoOdbcDialog)
    completion = SQL_DRIVER_NOPROMPT;
  else if (options & kForceOdbcDialog)
    completion = SQL_DRIVER_PROMPT;

  TString completed;
  SQLRETURN rc;
  {
    OwnedDialogScope owner;
    rc = OdbcDriverConnect(m_hdbc.Get(), static_cast<SQLHWND>(owner.Owner()), m_strConnect, completed,
                           kCompletedConnectRoom, completion);
  }
  m_strLastError.clear();
  if (rc != SQL_NO_DATA_FOUND && !IsSuccessCode(rc)) {
    CDbError error(rc);
    error.ReadDiagnostics(this, nullptr);
    m_strLastError = error.m_strError;
  }
  if (rc == SQL_NO_DATA_FOUND || !IsSuccessCode(rc)) return false;
  m_strConnect = TString(kOdbcPrefix) + completed;
  return true;
}

void CDbConnection::ReadConnectionFacts() {
  SQLUINTEGER answer32 = 0;
  if (GetInfoNumber(SQL_POS_OPERATIONS, answer32) &&
      (answer32 & (SQL_POS_UPDATE | SQL_POS_DELETE | SQL_POS_ADD)) == (SQL_POS_UPDATE | SQL_POS_DELETE | SQL_POS_ADD))
    m_dwUpdateOptions |= kCanPositionedOperations;
  if (GetInfoNumber(SQL_POSITIONED_STATEMENTS, answer32) &&
      (answer32 & (SQL_PS_POSITIONED_DELETE | SQL_PS_POSITIONED_UPDATE)) ==
          (SQL_PS_POSITIONED_DELETE | SQL_PS_POSITIONED_UPDATE))
    m_dwUpdateOptions |= kCanPositionedStatements;

  SQLUSMALLINT answer16 = 0;
  if (GetInfoNumber(SQL_TXN_CAPABLE, answer16)) m_bTransactions = answer16 != 0;
  m_nCursorCommitBehavior = GetInfoNumber(SQL_CURSOR_COMMIT_BEHAVIOR, answer16) ? answer16 : -1;
  m_nCursorRollbackBehavior = GetInfoNumber(SQL_CURSOR_ROLLBACK_BEHAVIOR, answer16) ? answer16 : -1;
  if (GetInfoNumber(SQL_BOOKMARK_PERSISTENCE, answer32)) m_dwBookmarkAttributes = answer32;
  SQLUINTEGER getDataExtensions = 0;
  if (!GetInfoNumber(SQL_GETDATA_EXTENSIONS, getDataExtensions)) getDataExtensions = 0;
  if (getDataExtensions & SQL_GD_BOUND) m_dwUpdateOptions |= kCanGetDataBound;

  if (m_bUpdatable) {
    TString readOnly;
    SQLSMALLINT length = 0;
    const bool answered =
        IsSuccessCode(OdbcGetInfoText(m_hdbc.Get(), SQL_DATA_SOURCE_READ_ONLY, 10, readOnly, &length));
    m_bUpdatable = answered && length == 1 && readOnly != DT("Y");
  } else {
    OdbcSetConnectOption(m_hdbc.Get(), SQL_ACCESS_MODE, SQL_MODE_READ_ONLY);
  }

  TString quote;
  SQLSMALLINT length = 0;
  // Room for one character and its terminator.
  if (IsSuccessCode(OdbcGetInfoText(m_hdbc.Get(), SQL_IDENTIFIER_QUOTE_CHAR, 2, quote, &length)) && length == 1 &&
      !quote.empty())
    m_chIDQuoteChar = quote[0];
  else
    m_chIDQuoteChar = ' ';
}

void CDbConnection::Close() {
  while (!m_resultSets.empty()) {
    CDbResultSet* resultSet = m_resultSets.front();
    resultSet->Close();
    // Close removes the set from the list; make sure even a set that failed to.
    RemoveResultSet(resultSet);
    resultSet->DetachConnection();
  }
  m_streaming = {};
  if (m_hdbc) {
    SQLDisconnect(m_hdbc.Get());
    m_hdbc.Reset();
    DbEnvironment::Instance().RemoveConnection();
  }
}

void CDbConnection::Free() {
  try {
    Close();
  } catch (...) {
    // A failed open or the destructor must not throw; the handles are gone.
  }
  DbEnvironment::Instance().FreeIfUnused();
}

void CDbConnection::ApplyStatementOptions(SQLHSTMT hstmt) {
  const int32_t timeout = m_dwQueryTimeout;
  if (timeout == -1) return;
  const SQLRETURN rc = SQLSetStmtOption(hstmt, SQL_QUERY_TIMEOUT, static_cast<SQLULEN>(timeout));
  // A driver that rejects the time-out once rejects it always: stop asking.
  if (!IsSuccessCode(rc)) m_dwQueryTimeout = -1;
}

bool CDbConnection::IsSuccessCode(SQLRETURN rc) const {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA_FOUND;
}

void CDbConnection::BindStatementParameters(SQLHSTMT) {}

void CDbConnection::ExecuteAndDiscard(const TString& sql) {
  SQLRETURN allocated;
  const StatementHandle statement = AllocateStatement(allocated);
  if (!statement || allocated != SQL_SUCCESS) return;
  const SQLHSTMT hstmt = statement.Get();
  ApplyStatementOptions(hstmt);
  BindStatementParameters(hstmt);
  SQLRETURN rc = ExecuteStreaming(hstmt, sql, [hstmt](const TString& text) { return OdbcExecDirect(hstmt, text); });
  while (IsSuccessCode(rc) && rc != SQL_NO_DATA_FOUND) {
    SQLSMALLINT columns = 0;
    Repeat([&] { return SQLNumResultCols(hstmt, &columns); });
    if (columns > 0) {
      SQLRETURN fetched;
      do {
        fetched = Repeat([&] { return SQLFetch(hstmt); });
      } while (IsSuccessCode(fetched) && fetched != SQL_NO_DATA_FOUND);
    }
    rc = Repeat([&] { return SQLMoreResults(hstmt); });
  }
}

StatementHandle CDbConnection::AllocateStatement(SQLRETURN& rc) const {
  if (!m_hdbc) {
    rc = SQL_INVALID_HANDLE;
    return {};
  }
  return db::AllocateStatement(m_hdbc.Get(), rc);
}

TString CDbConnection::GetInfoText(uint16_t infoType) const {
  TString answer;
  if (!m_hdbc) return answer;
  SQLSMALLINT length = 0;
  SQLRETURN rc = OdbcGetInfoText(m_hdbc.Get(), infoType, kInfoTextRoom, answer, &length);
  if (rc == SQL_SUCCESS_WITH_INFO && length >= kInfoTextRoom)
    rc = OdbcGetInfoText(m_hdbc.Get(), infoType, static_cast<SQLSMALLINT>(length + 1), answer, &length);
  if (!SQL_SUCCEEDED(rc)) answer.clear();
  return answer;
}

template <typename Number>
bool CDbConnection::ReadInfoNumber(uint16_t infoType, Number& value) const {
  if (!m_hdbc) return false;
  Number answer{};
  SQLSMALLINT length = 0;
  if (!IsSuccessCode(SQLGetInfo(m_hdbc.Get(), infoType, &answer, sizeof answer, &length))) return false;
  value = answer;
  return true;
}

bool CDbConnection::GetInfoNumber(uint16_t infoType, uint32_t& value) const { return ReadInfoNumber(infoType, value); }

bool CDbConnection::GetInfoNumber(uint16_t infoType, uint16_t& value) const { return ReadInfoNumber(infoType, value); }

bool CDbConnection::IsFunctionSupported(uint16_t function) const {
  if (!m_hdbc) return false;
  SQLUSMALLINT supported = SQL_FALSE;
  if (!SQL_SUCCEEDED(SQLGetFunctions(m_hdbc.Get(), function, &supported))) return false;
  return supported != SQL_FALSE;
}

bool CDbConnection::GetAllFunctions(uint16_t (&supported)[100]) const {
  std::fill(std::begin(supported), std::end(supported), static_cast<uint16_t>(SQL_FALSE));
  if (!m_hdbc) return false;
  SQLUSMALLINT answer[100] = {};
  if (!SQL_SUCCEEDED(SQLGetFunctions(m_hdbc.Get(), SQL_API_ALL_FUNCTIONS, answer))) return false;
  std::copy(std::begin(answer), std::end(answer), std::begin(supported));
  return true;
}

void CDbConnection::AddResultSet(CDbResultSet* resultSet) {
  std::lock_guard<std::mutex> guard(m_setsLock);
  m_resultSets.insert(m_resultSets.begin(), resultSet);
}

void CDbConnection::RemoveResultSet(CDbResultSet* resultSet) {
  std::lock_guard<std::mutex> guard(m_setsLock);
  const auto found = std::find(m_resultSets.begin(), m_resultSets.end(), resultSet);
  if (found != m_resultSets.end()) m_resultSets.erase(found);
}

// A set being closed meanwhile waits in RemoveResultSet until its cancel has
// returned, so none is freed under it; one already closed has no statement
// left to cancel.
void CDbConnection::CancelStatements() {
  std::lock_guard<std::mutex> guard(m_setsLock);
  for (CDbResultSet* resultSet : m_resultSets) resultSet->Cancel();
}

// ---- CDbError ----

void CDbError::ReadDiagnostics(const CDbConnection* connection, SQLHSTMT hstmt) {
  if (!connection) return;
  TString state;
  TString message;
  SQLINTEGER native = 0;
  SQLRETURN rc = OdbcError(DbEnvironment::Instance().Handle(), connection->m_hdbc.Get(), hstmt, state, native, message,
                           kMessageRoom);
  while ((rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) && state != DT("00000")) {
    TString line = state + Format(DT(",Native:%ld,Origin:"), static_cast<long>(native));
    // Every leading "[component]" of the message names who reported it.
    while (!message.empty() && message[0] == '[') {
      const size_t close = message.find(']');
      if (close == TString::npos) break;
      line += message.substr(0, close + 1);
      message.erase(0, close + 1);
      if (!message.empty() && message[0] == ' ') message.erase(0, 1);
    }
    line += DT("\n");
    m_strStateNativeOrigin += DT("State:") + line;
    m_strError += message + DT("\n");
    rc = OdbcError(DbEnvironment::Instance().Handle(), connection->m_hdbc.Get(), hstmt, state, native, message,
                   kMessageRoom);
  }
}

bool CDbError::CopyErrorText(TChar* buffer, unsigned size, unsigned* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!buffer || size == 0) return true;
  const size_t copied = std::min<size_t>(m_strError.size(), size - 1);
  m_strError.copy(buffer, copied);
  buffer[copied] = 0;
  return true;
}

bool CDbError::HasState(TStringView state) const {
  return m_strStateNativeOrigin.find(TString(DT("State:")) + TString(state)) != TString::npos;
}

}  // namespace dossel::db
