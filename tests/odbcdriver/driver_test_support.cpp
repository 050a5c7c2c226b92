#include "driver_test_support.h"

#include <fstream>

#include "platform/text.h"

namespace dossel::test {
namespace {

std::u16string Wide(const std::string& text) { return Utf8ToUtf16(text); }
SQLWCHAR* WidePointer(std::u16string& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }
SQLCHAR* NarrowPointer(std::string& text) { return reinterpret_cast<SQLCHAR*>(text.data()); }

}  // namespace

OdbcSession::OdbcSession() {
  SQLAllocEnv(&m_env);
  SQLAllocConnect(m_env, &m_dbc);
}

OdbcSession::~OdbcSession() {
  for (SQLHSTMT stmt : m_statements) SQLFreeStmt(stmt, SQL_DROP);
  if (m_connected) SQLDisconnect(m_dbc);
  SQLFreeConnect(m_dbc);
  SQLFreeEnv(m_env);
}

SQLRETURN OdbcSession::DriverConnect(const std::string& connectString, std::string* completed) {
  SQLSMALLINT length = 0;
  SQLRETURN rc;
  if constexpr (kWideText) {
    std::u16string in = Wide(connectString);
    std::u16string out(1024, u'\0');
    rc = SQLDriverConnectW(m_dbc, nullptr, WidePointer(in), SQL_NTS, WidePointer(out), 1024, &length,
                           SQL_DRIVER_NOPROMPT);
    if (completed) *completed = Utf16ToUtf8(out.c_str());
  } else {
    std::string in = connectString;
    std::string out(1024, '\0');
    rc = SQLDriverConnect(m_dbc, nullptr, NarrowPointer(in), SQL_NTS, NarrowPointer(out), 1024, &length,
                          SQL_DRIVER_NOPROMPT);
    if (completed) *completed = out.c_str();
  }
  m_connected = SQL_SUCCEEDED(rc);
  return rc;
}

SQLRETURN OdbcSession::Connect(const std::string& dsn) {
  SQLRETURN rc;
  if constexpr (kWideText) {
    std::u16string name = Wide(dsn);
    rc = SQLConnectW(m_dbc, WidePointer(name), SQL_NTS, nullptr, 0, nullptr, 0);
  } else {
    std::string name = dsn;
    rc = SQLConnect(m_dbc, NarrowPointer(name), SQL_NTS, nullptr, 0, nullptr, 0);
  }
  m_connected = SQL_SUCCEEDED(rc);
  return rc;
}

SQLHSTMT OdbcSession::NewStatement() {
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(m_dbc, &stmt))) return SQL_NULL_HSTMT;
  m_statements.push_back(stmt);
  return stmt;
}

std::vector<DiagRecord> OdbcSession::Errors(SQLHSTMT stmt) const {
  std::vector<DiagRecord> records;
  for (;;) {
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    DiagRecord record;
    if constexpr (kWideText) {
      SQLWCHAR state[6] = {};
      SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
      if (!SQL_SUCCEEDED(SQLErrorW(m_env, m_dbc, stmt, state, &native, message, SQL_MAX_MESSAGE_LENGTH, &length)))
        break;
      record.state = Utf16ToUtf8(reinterpret_cast<const char16_t*>(state));
      record.message = Utf16ToUtf8(reinterpret_cast<const char16_t*>(message));
    } else {
      SQLCHAR state[6] = {};
      SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
      if (!SQL_SUCCEEDED(SQLError(m_env, m_dbc, stmt, state, &native, message, sizeof message, &length))) break;
      record.state = reinterpret_cast<char*>(state);
      record.message = reinterpret_cast<char*>(message);
    }
    record.native = native;
    records.push_back(record);
  }
  return records;
}

SQLRETURN ExecDirect(SQLHSTMT stmt, const std::string& sql) {
  if constexpr (kWideText) {
    std::u16string text = Wide(sql);
    return SQLExecDirectW(stmt, WidePointer(text), SQL_NTS);
  } else {
    std::string text = sql;
    return SQLExecDirect(stmt, NarrowPointer(text), SQL_NTS);
  }
}

std::string ColumnName(SQLHSTMT stmt, int column) {
  SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  if constexpr (kWideText) {
    SQLWCHAR name[257] = {};
    SQLDescribeColW(stmt, static_cast<SQLUSMALLINT>(column), name, 256, &length, &type, &size, &digits, &nullable);
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(name));
  } else {
    SQLCHAR name[257] = {};
    SQLDescribeCol(stmt, static_cast<SQLUSMALLINT>(column), name, 256, &length, &type, &size, &digits, &nullable);
    return reinterpret_cast<char*>(name);
  }
}

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT type) {
  SQLSMALLINT length = 0;
  if constexpr (kWideText) {
    SQLWCHAR text[200] = {};
    SQLGetInfoW(dbc, type, text, sizeof text, &length);
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
  } else {
    SQLCHAR text[200] = {};
    SQLGetInfo(dbc, type, text, sizeof text, &length);
    return reinterpret_cast<char*>(text);
  }
}

std::optional<std::string> ReadText(SQLHSTMT stmt, int column, SQLLEN room, int* pieces) {
  const SQLSMALLINT cType = kWideText ? SQL_C_WCHAR : SQL_C_CHAR;
  const size_t unit = kWideText ? 2 : 1;
  std::string bytes;
  std::vector<char> buffer(static_cast<size_t>(room));
  if (pieces) *pieces = 0;
  for (;;) {
    SQLLEN indicator = 0;
    SQLRETURN rc;
    while ((rc = SQLGetData(stmt, static_cast<SQLUSMALLINT>(column), cType, buffer.data(), room, &indicator)) ==
           SQL_STILL_EXECUTING) {
    }
    if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc)) break;
    if (pieces) ++*pieces;
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    const size_t usable = (static_cast<size_t>(room) - unit) / unit * unit;
    const bool whole = rc == SQL_SUCCESS;
    const size_t got = whole ? static_cast<size_t>(indicator) : usable;
    bytes.append(buffer.data(), got);
    if (whole) break;
  }
  if constexpr (kWideText) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
  } else {
    return bytes;
  }
}

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const auto& line : lines) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

}  // namespace dossel::test
