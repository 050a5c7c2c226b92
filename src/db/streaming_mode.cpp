#include "db/streaming_mode.h"

#include <cctype>
#include <type_traits>

#include "db/db_connection.h"

namespace dossel::db {
namespace {

// PostgreSQL's driver's own connection attributes: declare-fetch on (1) or
// off (0), and the rows per fetch. Both take effect at the next execute, so
// one statement can run without the cursor on a connection that has it.
constexpr SQLINTEGER kPgUseDeclareFetch = 65539;
constexpr SQLINTEGER kPgFetch = 65541;

// Room for a value the data source sets.
constexpr int kValueRoom = 256;
// Room for one diagnostic message.
constexpr SQLSMALLINT kMessageRoom = 1024;

bool IsWordChar(TChar c) {
  const auto code = static_cast<std::make_unsigned_t<TChar>>(c);
  return code == '_' || (code < 128 && std::isalnum(static_cast<int>(code)));
}

// The first value that the data source sets under any of `keys`.
bool DataSourceValue(const std::string& connect, const std::string& dsn, std::initializer_list<const char*> keys,
                     TString& value) {
  for (const char* key : keys) {
    char buffer[kValueRoom] = {};
    if (DosselOdbcDataSourceValue(connect.c_str(), dsn.c_str(), key, buffer, sizeof buffer)) {
      value = FromUtf8(buffer);
      return true;
    }
  }
  return false;
}

// The statement's diagnostic records, read without taking them: whoever
// reports the failure reads them after.
std::vector<DiagnosticRecord> PeekDiagnostics(SQLHSTMT hstmt) {
  std::vector<DiagnosticRecord> records;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLCHAR message[kMessageRoom] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetDiagField(SQL_HANDLE_STMT, hstmt, record, SQL_DIAG_SQLSTATE, state, sizeof state, &length)))
      break;
    SQLGetDiagField(SQL_HANDLE_STMT, hstmt, record, SQL_DIAG_MESSAGE_TEXT, message, sizeof message, &length);
    records.push_back({reinterpret_cast<char*>(state), reinterpret_cast<char*>(message)});
  }
  return records;
}

}  // namespace

bool IsPostgresDriver(TStringView driverName) { return StartsWithNoCase(driverName, DT("psqlodbc")); }

uint32_t DeclareFetchRowsToAsk(const TString* useDeclareFetch, const TString* fetch) {
  if (useDeclareFetch) return 0;
  if (fetch) {
    // The driver reads the size as a number; one it cannot use leaves it at
    // its own default, which is not what the connection means to ask for.
    uint64_t rows = 0;
    size_t i = 0;
    while (i < fetch->size() && (*fetch)[i] >= '0' && (*fetch)[i] <= '9' && rows <= UINT32_MAX)
      rows = rows * 10 + static_cast<uint64_t>((*fetch)[i++] - '0');
    if (i == fetch->size() && rows > 0 && rows <= INT32_MAX) return static_cast<uint32_t>(rows);
  }
  return kDeclareFetchRows;
}

TString DeclareFetchText(const TString& sql) {
  const size_t lineEnd = sql.find_last_of(DT("\r\n"));
  const size_t lastLine = lineEnd == TString::npos ? 0 : lineEnd + 1;
  if (sql.find(DT("--"), lastLine) == TString::npos) return sql;
  return sql + DT("\n");
}

bool BeginsWithWith(TStringView sql) {
  size_t i = 0;
  while (i < sql.size()) {
    const TChar c = sql[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(') {
      ++i;
    } else if (sql.substr(i, 2) == DT("--")) {
      const size_t end = sql.find_first_of(DT("\r\n"), i);
      i = end == TStringView::npos ? sql.size() : end;
    } else if (sql.substr(i, 2) == DT("/*")) {
      const size_t end = sql.find(DT("*/"), i + 2);
      i = end == TStringView::npos ? sql.size() : end + 2;
    } else {
      break;
    }
  }
  return StartsWithNoCase(sql.substr(i), DT("with")) && (i + 4 == sql.size() || !IsWordChar(sql[i + 4]));
}

bool DeclareFetchRefused(TStringView sql, const std::vector<DiagnosticRecord>& records) {
  if (!BeginsWithWith(sql)) return false;
  for (const DiagnosticRecord& record : records) {
    if (record.state == "42601") return true;
    if (record.state == "0A000" && record.message.find("DECLARE CURSOR") != std::string::npos) return true;
  }
  return false;
}

void CDbConnection::EnterStreamingMode(const TString& given) {
  m_streaming = {};
  if (!IsPostgresDriver(GetInfoText(SQL_DRIVER_NAME))) return;
  const std::string connect = ToUtf8(given);
  const std::string dsn = ToUtf8(GetInfoText(SQL_DATA_SOURCE_NAME));
  TString useDeclareFetch;
  TString fetch;
  const bool setsUse = DataSourceValue(connect, dsn, {"UseDeclareFetch", "B6"}, useDeclareFetch);
  const bool setsFetch = DataSourceValue(connect, dsn, {"Fetch", "A7"}, fetch);
  const uint32_t rows = DeclareFetchRowsToAsk(setsUse ? &useDeclareFetch : nullptr, setsFetch ? &fetch : nullptr);
  if (rows > 0) {
    SQLSetConnectAttr(m_hdbc.Get(), kPgFetch, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(rows)),
                      SQL_IS_UINTEGER);
    m_streaming.declareFetchAsked = SetDeclareFetch(true);
  }
  // What the driver does now, asked for or set by the data source.
  SQLUINTEGER on = 0;
  SQLUINTEGER fetched = 0;
  if (!SQL_SUCCEEDED(SQLGetConnectAttr(m_hdbc.Get(), kPgUseDeclareFetch, &on, SQL_IS_UINTEGER, nullptr)) ||
      !SQL_SUCCEEDED(SQLGetConnectAttr(m_hdbc.Get(), kPgFetch, &fetched, SQL_IS_UINTEGER, nullptr))) {
    m_streaming = {};
    return;
  }
  m_streaming.declareFetch = on != 0;
  m_streaming.fetchRows = m_streaming.declareFetch ? fetched : 0;
  m_streaming.declareFetchAsked &= m_streaming.declareFetch;
}

bool CDbConnection::SetDeclareFetch(bool on) {
  return SQL_SUCCEEDED(SQLSetConnectAttr(m_hdbc.Get(), kPgUseDeclareFetch,
                                         reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(on ? 1 : 0)),
                                         SQL_IS_UINTEGER));
}

SQLRETURN CDbConnection::ExecuteStreaming(SQLHSTMT hstmt, const TString& sql,
                                          const std::function<SQLRETURN(const TString&)>& execute) {
  if (!m_streaming.declareFetch) return execute(sql);
  const SQLRETURN rc = execute(DeclareFetchText(sql));
  if (IsSuccessCode(rc) || !DeclareFetchRefused(sql, PeekDiagnostics(hstmt))) return rc;
  // Nothing of the statement ran: run it once without the cursor.
  if (!SetDeclareFetch(false)) return rc;
  const SQLRETURN again = execute(sql);
  if (!SetDeclareFetch(true)) m_streaming.declareFetch = false;
  return again;
}

}  // namespace dossel::db
