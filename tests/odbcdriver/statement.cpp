// Statement handles: execution against the script, result sets, row counts,
// cancel, statement attributes and freeing.

#include <chrono>

#include "handles.h"

namespace dossel::scripted {

BusyScope::BusyScope(Stmt* stmt) : m_stmt(stmt) {
  std::lock_guard lock(stmt->cancelMutex);
  stmt->busy = true;
  stmt->canceled = false;
}

BusyScope::~BusyScope() {
  std::lock_guard lock(m_stmt->cancelMutex);
  m_stmt->busy = false;
  m_stmt->canceled = false;
}

bool Stmt::WaitForCancel() {
  const auto found = attributes.find(SQL_ATTR_QUERY_TIMEOUT);
  const bool keepsTimeOut = found != attributes.end() && found->second > 0 && !ScriptOf(this).queryTimeoutIgnored;
  const long seconds = keepsTimeOut ? static_cast<long>(found->second) : 60;
  std::unique_lock lock(cancelMutex);
  return cancelSignal.wait_for(lock, std::chrono::seconds(seconds), [this] { return canceled; });
}

void Stmt::Cancel() {
  std::lock_guard lock(cancelMutex);
  if (!busy) return;
  canceled = true;
  cancelSignal.notify_all();
}

bool StillExecuting(Stmt* stmt, const std::string& function) {
  const Entry* entry = stmt->cursor.entry;
  if (!entry) return false;
  const auto repeats = entry->stillExecuting.find(function);
  if (repeats == entry->stillExecuting.end()) return false;
  auto [left, fresh] = stmt->stillLeft.try_emplace(function, repeats->second);
  if (left->second > 0) {
    --left->second;
    return true;
  }
  stmt->stillLeft.erase(left);
  return false;
}

SQLRETURN StartCursor(Stmt* stmt, const Entry* entry) {
  stmt->cursor = Cursor{entry, 0, -1, true};
  if (!entry->warnings.empty()) {
    for (const auto& warning : entry->warnings) stmt->diagnostics.Add(warning);
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

void CloseCursor(Stmt* stmt) {
  stmt->cursor = Cursor{};
  stmt->stillLeft.clear();
}

const ResultSet* CurrentResult(Stmt* stmt) {
  const Cursor& cursor = stmt->cursor;
  if (!cursor.open || !cursor.entry || cursor.result >= cursor.entry->results.size()) return nullptr;
  return &cursor.entry->results[cursor.result];
}

}  // namespace dossel::scripted

using namespace dossel::scripted;

namespace {

Stmt* AsStmt(SQLHSTMT handle) { return static_cast<Stmt*>(handle); }

// Runs `sql` against the script. The "still executing" answers need the
// entry while the cursor is not yet open, so it is put in place first.
SQLRETURN Execute(Stmt* stmt, const std::string& sql) {
  const Entry* entry = FindEntry(ScriptOf(stmt), sql);
  if (!entry) return Fail(stmt, "42000", "Statement not in script: " + sql);
  if (stmt->cursor.entry != entry || stmt->cursor.open) CloseCursor(stmt);
  stmt->cursor.entry = entry;
  if (StillExecuting(stmt, "SQLExecDirect")) return SQL_STILL_EXECUTING;
  if (entry->blockInExecute) {
    const bool canceled = stmt->WaitForCancel();
    CloseCursor(stmt);
    return canceled ? Fail(stmt, "HY008", "Operation canceled") : Fail(stmt, "HYT00", "Timeout expired");
  }
  if (!entry->errors.empty()) {
    CloseCursor(stmt);
    return FailWith(stmt, entry->errors);
  }
  return StartCursor(stmt, entry);
}

SQLRETURN FreeStmt(Stmt* stmt, SQLUSMALLINT option) {
  BeginCall(stmt, "SQLFreeStmt " + std::to_string(option));
  switch (option) {
    case SQL_DROP:
      delete stmt;
      return SQL_SUCCESS;
    case SQL_CLOSE:
      CloseCursor(stmt);
      return SQL_SUCCESS;
    case SQL_UNBIND:
      stmt->bindings.clear();
      return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
      return SQL_SUCCESS;
    default:
      return Fail(stmt, "HY092", "Invalid attribute/option identifier");
  }
}

SQLRETURN SetStmtAttr(Stmt* stmt, SQLINTEGER attribute, SQLPOINTER value, const char* function) {
  BeginCall(stmt, std::string(function) + " " + std::to_string(attribute) + " " +
                      std::to_string(reinterpret_cast<SQLULEN>(value)));
  const auto& reject = ScriptOf(stmt).queryTimeoutRejectState;
  if (attribute == SQL_ATTR_QUERY_TIMEOUT && reject)
    return Fail(stmt, *reject, "Optional feature not supported by this script");
  stmt->attributes[attribute] = reinterpret_cast<SQLULEN>(value);
  return SQL_SUCCESS;
}

SQLRETURN GetStmtAttr(Stmt* stmt, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER* length, const char* function) {
  BeginCall(stmt, std::string(function) + " " + std::to_string(attribute));
  if (attribute >= SQL_ATTR_APP_ROW_DESC && attribute <= SQL_ATTR_IMP_PARAM_DESC) {
    if (value) *static_cast<SQLPOINTER*>(value) = &stmt->descriptors[attribute - SQL_ATTR_APP_ROW_DESC];
    if (length) *length = sizeof(SQLPOINTER);
    return SQL_SUCCESS;
  }
  static const std::map<SQLINTEGER, SQLULEN> kDefaults = {{SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_FORWARD_ONLY},
                                                          {SQL_ATTR_CONCURRENCY, SQL_CONCUR_READ_ONLY},
                                                          {SQL_ATTR_ROW_ARRAY_SIZE, 1},
                                                          {SQL_ROWSET_SIZE, 1},
                                                          {SQL_ATTR_ROW_BIND_TYPE, SQL_BIND_BY_COLUMN}};
  SQLULEN answer = 0;
  if (auto found = stmt->attributes.find(attribute); found != stmt->attributes.end()) {
    answer = found->second;
  } else if (auto known = kDefaults.find(attribute); known != kDefaults.end()) {
    answer = known->second;
  }
  if (value) *static_cast<SQLULEN*>(value) = answer;
  if (length) *length = sizeof(SQLULEN);
  return SQL_SUCCESS;
}

}  // namespace

SCRIPTED_EXPORT SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  Stmt* stmt = AsStmt(handle);
  BusyScope busy(stmt);
  const std::string sql = ArgText(text, length);
  BeginCall(stmt, "SQLExecDirect " + sql);
  return Execute(stmt, sql);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  Stmt* stmt = AsStmt(handle);
  stmt->preparedSql = ArgText(text, length);
  BeginCall(stmt, "SQLPrepare " + stmt->preparedSql);
  CloseCursor(stmt);
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  Stmt* stmt = AsStmt(handle);
  BusyScope busy(stmt);
  BeginCall(stmt, "SQLExecute " + stmt->preparedSql);
  return Execute(stmt, stmt->preparedSql);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLMoreResults");
  if (StillExecuting(stmt, "SQLMoreResults")) return SQL_STILL_EXECUTING;
  Cursor& cursor = stmt->cursor;
  if (cursor.open && cursor.entry && cursor.result < cursor.entry->results.size() &&
      !cursor.entry->results[cursor.result].moreResultsErrors.empty()) {
    const auto& errors = cursor.entry->results[cursor.result].moreResultsErrors;
    CloseCursor(stmt);
    return FailWith(stmt, errors);
  }
  if (!cursor.open || !cursor.entry || cursor.result + 1 >= cursor.entry->results.size()) {
    CloseCursor(stmt);
    return SQL_NO_DATA;
  }
  ++cursor.result;
  cursor.row = -1;
  cursor.getDataColumn = 0;
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLRowCount");
  const ResultSet* result = CurrentResult(stmt);
  if (result && !result->rowCountErrors.empty()) return FailWith(stmt, result->rowCountErrors);
  if (count) *count = result && result->rowCount ? *result->rowCount : -1;
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
  Stmt* stmt = AsStmt(handle);
  // Only the log and the cancel handshake: another thread may be inside a
  // call on this statement and owns everything else.
  LogOf(stmt).Write("SQLCancel");
  if (stmt->dbc->cancelsToIgnore.fetch_sub(1) > 0) return SQL_SUCCESS;
  stmt->Cancel();
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
  Stmt* stmt = AsStmt(handle);
  BeginCall(stmt, "SQLCloseCursor");
  if (!stmt->cursor.open) return Fail(stmt, "24000", "Invalid cursor state");
  CloseCursor(stmt);
  return SQL_SUCCESS;
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  return FreeStmt(AsStmt(handle), option);
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT stmt, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  return SetStmtAttr(AsStmt(stmt), attribute, value, "SQLSetStmtAttr");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLSetStmtOption(SQLHSTMT stmt, SQLUSMALLINT option, SQLULEN value) {
  return SetStmtAttr(AsStmt(stmt), option, reinterpret_cast<SQLPOINTER>(value), "SQLSetStmtOption");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT stmt, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                                 SQLINTEGER* length) {
  return GetStmtAttr(AsStmt(stmt), attribute, value, length, "SQLGetStmtAttr");
}

SCRIPTED_EXPORT SQLRETURN SQL_API SQLGetStmtOption(SQLHSTMT stmt, SQLUSMALLINT option, SQLPOINTER value) {
  return GetStmtAttr(AsStmt(stmt), option, value, nullptr, "SQLGetStmtOption");
}
