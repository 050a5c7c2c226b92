// The refusal records and the diagnostic entry points that report them.

#include "db/odbc/refusals.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "db/odbc/dossel_odbc.h"
#include "db/odbc/driver_manager.h"
#include "db/odbc/statement_cancel.h"
#include "platform/text.h"

namespace dossel::odbc {
namespace {

std::mutex s_lock;
std::map<SQLHDBC, std::string>& Refusals() {
  static std::map<SQLHDBC, std::string> refusals;
  return refusals;
}

template <typename Entry>
Entry Forward(const char* name) {
  return reinterpret_cast<Entry>(DriverManagerSymbol(name));
}

// Copies text into a caller's buffer of `room` characters, terminated.
template <typename Char>
void CopyText(const std::basic_string<Char>& text, Char* out, SQLSMALLINT room, SQLSMALLINT* length) {
  if (length) *length = static_cast<SQLSMALLINT>(std::min<size_t>(text.size(), 0x7FFF));
  if (!out || room <= 0) return;
  const size_t copied = std::min<size_t>(text.size(), static_cast<size_t>(room) - 1);
  std::memcpy(out, text.data(), copied * sizeof(Char));
  out[copied] = 0;
}

template <typename Char>
SQLRETURN Report(const std::string& message, Char* state, SQLINTEGER* native, Char* text, SQLSMALLINT room,
                 SQLSMALLINT* length) {
  std::basic_string<Char> wideState, wideText;
  if constexpr (sizeof(Char) == 1) {
    wideState.assign(kRefusalState, kRefusalState + 5);
    wideText.assign(message.begin(), message.end());
  } else {
    const std::u16string s = Utf8ToUtf16(kRefusalState), t = Utf8ToUtf16(message);
    wideState.assign(s.begin(), s.end());
    wideText.assign(t.begin(), t.end());
  }
  if (state) CopyText(wideState, state, 6, nullptr);
  if (native) *native = 0;
  CopyText(wideText, text, room, length);
  return static_cast<SQLSMALLINT>(wideText.size()) >= room ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

}  // namespace

void SetRefusal(SQLHDBC hdbc, std::string message) {
  std::lock_guard<std::mutex> guard(s_lock);
  Refusals()[hdbc] = std::move(message);
}

void ClearRefusal(SQLHDBC hdbc) {
  std::lock_guard<std::mutex> guard(s_lock);
  Refusals().erase(hdbc);
}

bool TakeRefusal(SQLHDBC hdbc, bool consume, std::string& message) {
  if (!hdbc) return false;
  std::lock_guard<std::mutex> guard(s_lock);
  const auto found = Refusals().find(hdbc);
  if (found == Refusals().end()) return false;
  message = found->second;
  if (consume) Refusals().erase(found);
  return true;
}

}  // namespace dossel::odbc

using namespace dossel::odbc;

namespace {

using ErrorA = SQLRETURN(SQL_API*)(SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT,
                                   SQLSMALLINT*);
using ErrorW = SQLRETURN(SQL_API*)(SQLHENV, SQLHDBC, SQLHSTMT, SQLWCHAR*, SQLINTEGER*, SQLWCHAR*, SQLSMALLINT,
                                   SQLSMALLINT*);
using DiagRecA = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT,
                                     SQLSMALLINT*);
using DiagRecW = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLWCHAR*, SQLINTEGER*, SQLWCHAR*,
                                     SQLSMALLINT, SQLSMALLINT*);

template <typename Entry, typename Char>
SQLRETURN ErrorEntry(const char* name, SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, Char* state, SQLINTEGER* native,
                     Char* text, SQLSMALLINT room, SQLSMALLINT* length) {
  std::string message;
  if (!hstmt && TakeRefusal(hdbc, true, message)) return Report(message, state, native, text, room, length);
  const auto entry = Forward<Entry>(name);
  return entry ? entry(henv, hdbc, hstmt, state, native, text, room, length) : SQL_ERROR;
}

template <typename Entry, typename Char>
SQLRETURN DiagRecEntry(const char* name, SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, Char* state,
                       SQLINTEGER* native, Char* text, SQLSMALLINT room, SQLSMALLINT* length) {
  std::string message;
  if (type == SQL_HANDLE_DBC && TakeRefusal(handle, false, message))
    return record == 1 ? Report(message, state, native, text, room, length) : SQL_NO_DATA;
  const auto entry = Forward<Entry>(name);
  return entry ? entry(type, handle, record, state, native, text, room, length) : SQL_ERROR;
}

}  // namespace

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLError(SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, SQLCHAR* state,
                                                         SQLINTEGER* native, SQLCHAR* text, SQLSMALLINT room,
                                                         SQLSMALLINT* length) {
  return ErrorEntry<ErrorA>("SQLError", henv, hdbc, hstmt, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLErrorA(SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, SQLCHAR* state,
                                                          SQLINTEGER* native, SQLCHAR* text, SQLSMALLINT room,
                                                          SQLSMALLINT* length) {
  return ErrorEntry<ErrorA>("SQLErrorA", henv, hdbc, hstmt, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLErrorW(SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, SQLWCHAR* state,
                                                          SQLINTEGER* native, SQLWCHAR* text, SQLSMALLINT room,
                                                          SQLSMALLINT* length) {
  return ErrorEntry<ErrorW>("SQLErrorW", henv, hdbc, hstmt, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                              SQLCHAR* state, SQLINTEGER* native, SQLCHAR* text,
                                                              SQLSMALLINT room, SQLSMALLINT* length) {
  return DiagRecEntry<DiagRecA>("SQLGetDiagRec", type, handle, record, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLGetDiagRecA(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                               SQLCHAR* state, SQLINTEGER* native, SQLCHAR* text,
                                                               SQLSMALLINT room, SQLSMALLINT* length) {
  return DiagRecEntry<DiagRecA>("SQLGetDiagRecA", type, handle, record, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                                               SQLWCHAR* state, SQLINTEGER* native, SQLWCHAR* text,
                                                               SQLSMALLINT room, SQLSMALLINT* length) {
  return DiagRecEntry<DiagRecW>("SQLGetDiagRecW", type, handle, record, state, native, text, room, length);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLFreeConnect(SQLHDBC hdbc) {
  ClearRefusal(hdbc);
  ForgetStatementsOf(hdbc);
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLHDBC)>("SQLFreeConnect");
  return entry ? entry(hdbc) : SQL_ERROR;
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  if (type == SQL_HANDLE_DBC) {
    ClearRefusal(handle);
    ForgetStatementsOf(handle);
  }
  if (type == SQL_HANDLE_STMT) ForgetStatement(handle);
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE)>("SQLFreeHandle");
  return entry ? entry(type, handle) : SQL_ERROR;
}
