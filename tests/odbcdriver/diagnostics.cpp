// What every call shares: the call log, diagnostics, text copies, and the
// diagnostic entry points (SQLGetDiagRec, SQLGetDiagField, SQLError).

#include <cstring>

#include "handles.h"

namespace dossel::scripted {

void CallLog::Open(const std::string& path) {
  std::lock_guard lock(m_mutex);
  if (m_file || path.empty()) return;
  m_file = std::fopen(path.c_str(), "a");
}

void CallLog::Write(const std::string& line) {
  std::lock_guard lock(m_mutex);
  if (!m_file) return;
  std::string escaped;
  for (const char c : line)
    escaped += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  std::fputs((escaped + "\n").c_str(), m_file);
  std::fflush(m_file);
}

CallLog::~CallLog() {
  if (m_file) std::fclose(m_file);
}

CallLog& LogOf(Handle* handle) {
  static CallLog s_silent;  // environment calls come before any script names a log
  switch (handle->kind) {
    case HandleKind::Stmt:
      return *static_cast<Stmt*>(handle)->dbc->log;
    case HandleKind::Dbc:
      return *static_cast<Dbc*>(handle)->log;
    default:
      return s_silent;
  }
}

const Script& ScriptOf(Stmt* stmt) { return *stmt->dbc->script; }

void BeginCall(Handle* handle, const std::string& logLine) {
  handle->diagnostics.Clear();
  LogOf(handle).Write(logLine);
}

SQLRETURN Fail(Handle* handle, const std::string& state, const std::string& text) {
  handle->diagnostics.Add(state, text);
  handle->diagnostics.lastReturn = SQL_ERROR;
  return SQL_ERROR;
}

SQLRETURN FailWith(Handle* handle, const std::vector<Diagnostic>& records) {
  for (const auto& record : records) handle->diagnostics.Add(record);
  handle->diagnostics.lastReturn = SQL_ERROR;
  return SQL_ERROR;
}

SQLRETURN CopyText(Handle* handle, const std::string& text, SQLPOINTER out, SQLLEN room, SQLSMALLINT* length16,
                   SQLINTEGER* length32) {
  if (length16) *length16 = static_cast<SQLSMALLINT>(text.size());
  if (length32) *length32 = static_cast<SQLINTEGER>(text.size());
  if (!out || room <= 0) return SQL_SUCCESS;
  const size_t copied = std::min(text.size(), static_cast<size_t>(room) - 1);
  std::memcpy(out, text.data(), copied);
  static_cast<char*>(out)[copied] = '\0';
  if (copied == text.size()) return SQL_SUCCESS;
  if (handle) handle->diagnostics.Add("01004", "String data, right truncated");
  return SQL_SUCCESS_WITH_INFO;
}

std::string ArgText(const SQLCHAR* text, SQLINTEGER length) {
  if (!text) return {};
  const char* chars = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS) return chars;
  return std::string(chars, length < 0 ? 0 : static_cast<size_t>(length));
}

}  // namespace dossel::scripted

using namespace dossel::scripted;

namespace {

Handle* AsHandle(SQLHANDLE handle) { return static_cast<Handle*>(handle); }

const Diagnostic* Record(SQLHANDLE handle, SQLSMALLINT number) {
  if (!handle || number < 1) return nullptr;
  const auto& records = AsHandle(handle)->diagnostics.Records();
  return static_cast<size_t>(number) <= records.size() ? &records[number - 1] : nullptr;
}

SQLRETURN HeaderField(Handle* handle, SQLSMALLINT field, SQLPOINTER out) {
  switch (field) {
    case SQL_DIAG_NUMBER:
      *static_cast<SQLINTEGER*>(out) = static_cast<SQLINTEGER>(handle->diagnostics.Records().size());
      return SQL_SUCCESS;
    case SQL_DIAG_RETURNCODE:
      *static_cast<SQLRETURN*>(out) = handle->diagnostics.lastReturn;
      return SQL_SUCCESS;
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT:
      *static_cast<SQLLEN*>(out) = 0;
      return SQL_SUCCESS;
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      *static_cast<SQLINTEGER*>(out) = SQL_DIAG_UNKNOWN_STATEMENT;
      return SQL_SUCCESS;
    default:
      return SQL_ERROR;
  }
}

SQLRETURN RecordField(const Diagnostic& record, SQLSMALLINT field, SQLPOINTER out, SQLSMALLINT room,
                      SQLSMALLINT* length) {
  switch (field) {
    case SQL_DIAG_SQLSTATE:
      return CopyText(nullptr, record.state, out, room, length);
    case SQL_DIAG_NATIVE:
      *static_cast<SQLINTEGER*>(out) = static_cast<SQLINTEGER>(record.native);
      return SQL_SUCCESS;
    case SQL_DIAG_MESSAGE_TEXT:
      return CopyText(nullptr, record.message, out, room, length);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
      return CopyText(nullptr, record.state.rfind("IM", 0) == 0 ? "ODBC 3.0" : "ISO 9075", out, room, length);
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
      return CopyText(nullptr, "", out, room, length);
    case SQL_DIAG_ROW_NUMBER:
      *static_cast<SQLLEN*>(out) = SQL_ROW_NUMBER_UNKNOWN;
      return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
      *static_cast<SQLINTEGER*>(out) = SQL_COLUMN_NUMBER_UNKNOWN;
      return SQL_SUCCESS;
    default:
      return SQL_ERROR;
  }
}

void WriteRecord(const Diagnostic& record, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT room,
                 SQLSMALLINT* length, SQLRETURN& rc) {
  if (state) std::memcpy(state, record.state.c_str(), std::min<size_t>(record.state.size(), 5) + 1);
  if (native) *native = static_cast<SQLINTEGER>(record.native);
  rc = CopyText(nullptr, record.message, message, room, length);
}

}  // namespace

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLCHAR* state,
                                                SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT room,
                                                SQLSMALLINT* length) {
  if (!handle) return SQL_INVALID_HANDLE;
  LogOf(AsHandle(handle)).Write("SQLGetDiagRec " + std::to_string(type) + " " + std::to_string(number));
  const Diagnostic* record = Record(handle, number);
  if (!record) return SQL_NO_DATA;
  SQLRETURN rc = SQL_SUCCESS;
  WriteRecord(*record, state, native, message, room, length, rc);
  return rc;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                                  SQLSMALLINT field, SQLPOINTER out, SQLSMALLINT room,
                                                  SQLSMALLINT* length) {
  if (!handle) return SQL_INVALID_HANDLE;
  LogOf(AsHandle(handle))
      .Write("SQLGetDiagField " + std::to_string(type) + " " + std::to_string(number) + " " + std::to_string(field));
  if (!out) return SQL_ERROR;
  if (number == 0) return HeaderField(AsHandle(handle), field, out);
  const Diagnostic* record = Record(handle, number);
  return record ? RecordField(*record, field, out, room, length) : SQL_NO_DATA;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native,
                                           SQLCHAR* message, SQLSMALLINT room, SQLSMALLINT* length) {
  Handle* handle = AsHandle(stmt ? stmt : dbc ? dbc : env);
  if (!handle) return SQL_INVALID_HANDLE;
  LogOf(handle).Write("SQLError");
  const Diagnostic* record = handle->diagnostics.NextForSqlError();
  if (!record) return SQL_NO_DATA;
  SQLRETURN rc = SQL_SUCCESS;
  WriteRecord(*record, state, native, message, room, length, rc);
  return rc;
}
