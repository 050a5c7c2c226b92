// SQLDriverConnect and SQLDriverConnectW: the one place where DosselODBC
// adds to the driver manager. See dossel_odbc.h for what it adds.

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "db/odbc/connect_string.h"
#include "db/odbc/dossel_odbc.h"
#include "db/odbc/driver_manager.h"
#include "db/odbc/refusals.h"
#include "platform/text.h"

#ifndef DOSSEL_SQLITE_ODBC_DRIVER
#define DOSSEL_SQLITE_ODBC_DRIVER "libsqlite3odbc.so"
#endif

namespace dossel::odbc {
namespace {

std::atomic<DosselOdbcPromptHandler> s_promptHandler{nullptr};

// The completed connect string can be longer than what the caller's buffer
// holds; the driver manager writes into this much room first.
constexpr size_t kCompletedRoom = 4096;

using NarrowConnect = SQLRETURN(SQL_API*)(SQLHDBC, SQLHWND, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                          SQLUSMALLINT);
using WideConnect = SQLRETURN(SQL_API*)(SQLHDBC, SQLHWND, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                        SQLUSMALLINT);
using GetDiagRec = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*, SQLCHAR*,
                                       SQLSMALLINT, SQLSMALLINT*);

// One connect attempt through the driver manager, in the caller's width;
// UTF-8 in and out.
using ConnectAttempt = std::function<SQLRETURN(const std::string& in, std::string& completed)>;

bool DriverManagerSaysUnknownDsn(SQLHDBC hdbc) {
  static const auto getDiagRec = reinterpret_cast<GetDiagRec>(DriverManagerSymbol("SQLGetDiagRec"));
  if (!getDiagRec) return false;
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(getDiagRec(SQL_HANDLE_DBC, hdbc, 1, state, &native, message, sizeof message, &length)))
    return false;
  return std::strcmp(reinterpret_cast<char*>(state), "IM002") == 0;
}

bool WantsPrompt(const std::vector<ConnectAttribute>& attributes, SQLUSMALLINT completion) {
  if (completion == SQL_DRIVER_NOPROMPT) return false;
  return completion == SQL_DRIVER_PROMPT || !NamesDataSource(attributes);
}

// Returns SQL_NO_DATA when the user cancelled the prompt.
SQLRETURN PromptIfAsked(SQLHWND owner, SQLUSMALLINT completion, std::string& connectString) {
  const DosselOdbcPromptHandler handler = s_promptHandler.load();
  if (!handler || !WantsPrompt(ParseConnectString(connectString), completion)) return SQL_SUCCESS;
  std::vector<char> chosen(kCompletedRoom, '\0');
  if (!handler(owner, connectString.c_str(), chosen.data(), static_cast<int>(chosen.size()))) return SQL_NO_DATA;
  chosen.back() = '\0';
  connectString = chosen.data();
  return SQL_SUCCESS;
}

bool HasDatabase(const std::vector<ConnectAttribute>& attributes) {
  const auto database = FindAttribute(attributes, "Database");
  return database && !database->empty();
}

// DRIVER= names the SQLite driver, by its registered name or its library.
bool NamesSqliteDriver(const std::vector<ConnectAttribute>& attributes) {
  const auto driver = FindAttribute(attributes, "DRIVER");
  if (!driver) return false;
  const std::string path = DosselOdbcSqliteDriverPath();
  const std::string base = path.substr(path.rfind('/') + 1);
  for (const std::string& name : {std::string("SQLite3"), std::string("SQLite"), path, base}) {
    if (driver->size() != name.size()) continue;
    if (std::equal(name.begin(), name.end(), driver->begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return true;
  }
  return false;
}

// Replaces the driver manager's "not found" record with one that says what
// is missing.
SQLRETURN Refuse(SQLHDBC hdbc, std::string message, bool dropDriverManagerRecord) {
  if (dropDriverManagerRecord) {
    using Error =
        SQLRETURN(SQL_API*)(SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
    if (const auto error = reinterpret_cast<Error>(DriverManagerSymbol("SQLError"))) {
      SQLCHAR state[6];
      SQLINTEGER native = 0;
      SQLCHAR text[SQL_MAX_MESSAGE_LENGTH];
      SQLSMALLINT length = 0;
      error(nullptr, hdbc, nullptr, state, &native, text, sizeof text, &length);
    }
  }
  SetRefusal(hdbc, std::move(message));
  return SQL_ERROR;
}

SQLRETURN Connect(SQLHDBC hdbc, SQLHWND owner, std::string connectString, SQLUSMALLINT completion,
                  std::string& completed, const ConnectAttempt& attempt) {
  ClearRefusal(hdbc);
  if (const SQLRETURN prompted = PromptIfAsked(owner, completion, connectString); prompted != SQL_SUCCESS)
    return prompted;
  auto attributes = ParseConnectString(connectString);
  // Without a file to open, the SQLite driver would make one named after the
  // whole connect string in the working folder.
  if (NamesSqliteDriver(attributes) && !HasDatabase(attributes))
    return Refuse(hdbc, "[DosselODBC]The SQLite driver needs a Database= key naming the file to open.", false);
  SQLRETURN rc = attempt(connectString, completed);
  if (rc != SQL_ERROR || !DriverManagerSaysUnknownDsn(hdbc)) return rc;

  const auto dsn = FindAttribute(attributes, "DSN");
  if (!dsn || FindAttribute(attributes, "DRIVER")) return rc;
  if (!HasDatabase(attributes))
    return Refuse(hdbc,
                  "[DosselODBC]Data source name \"" + *dsn + "\" not found, and no Database= key names a file to open.",
                  true);
  rc = attempt(SqliteConnectString(attributes, DosselOdbcSqliteDriverPath()), completed);
  if (SQL_SUCCEEDED(rc)) completed = RestoreDataSourceName(completed, *dsn);
  return rc;
}

// Writes `text` into the caller's buffer of `room` characters; answers
// SQL_SUCCESS_WITH_INFO when it had to cut.
template <typename Char>
SQLRETURN CopyOut(const std::basic_string<Char>& text, Char* out, SQLSMALLINT room, SQLSMALLINT* length, SQLRETURN rc) {
  if (length) *length = static_cast<SQLSMALLINT>(std::min<size_t>(text.size(), 0x7FFF));
  if (!out || room <= 0) return rc;
  const size_t copied = std::min<size_t>(text.size(), static_cast<size_t>(room) - 1);
  std::memcpy(out, text.data(), copied * sizeof(Char));
  out[copied] = 0;
  return copied < text.size() && rc == SQL_SUCCESS ? SQL_SUCCESS_WITH_INFO : rc;
}

std::string NarrowInput(const SQLCHAR* in, SQLSMALLINT length) {
  if (!in) return {};
  const char* text = reinterpret_cast<const char*>(in);
  return length == SQL_NTS ? std::string(text) : std::string(text, length < 0 ? 0 : length);
}

std::u16string WideInput(const SQLWCHAR* in, SQLSMALLINT length) {
  if (!in) return {};
  const auto* text = reinterpret_cast<const char16_t*>(in);
  if (length == SQL_NTS) return std::u16string(text);
  return std::u16string(text, length < 0 ? 0 : length);
}

// One connect through a narrow entry point, without a prompt.
SQLRETURN NarrowAttempt(NarrowConnect entry, SQLHDBC hdbc, const std::string& text, std::string& result) {
  std::vector<SQLCHAR> buffer(kCompletedRoom, 0);
  SQLSMALLINT written = 0;
  std::string input = text;
  const SQLRETURN rc = entry(hdbc, nullptr, reinterpret_cast<SQLCHAR*>(input.data()), SQL_NTS, buffer.data(),
                             static_cast<SQLSMALLINT>(buffer.size()), &written, SQL_DRIVER_NOPROMPT);
  result = reinterpret_cast<char*>(buffer.data());
  return rc;
}

SQLRETURN NarrowDriverConnect(const char* entryName, SQLHDBC hdbc, SQLHWND owner, SQLCHAR* in, SQLSMALLINT inLength,
                              SQLCHAR* out, SQLSMALLINT outRoom, SQLSMALLINT* outLength, SQLUSMALLINT completion) {
  const auto entry = reinterpret_cast<NarrowConnect>(DriverManagerSymbol(entryName));
  if (!entry) return SQL_ERROR;
  std::string completed;
  auto attempt = [&](const std::string& text, std::string& result) { return NarrowAttempt(entry, hdbc, text, result); };
  const SQLRETURN rc = Connect(hdbc, owner, NarrowInput(in, inLength), completion, completed, attempt);
  if (!SQL_SUCCEEDED(rc)) return rc;
  return CopyOut(completed, reinterpret_cast<char*>(out), outRoom, outLength, rc);
}

}  // namespace
}  // namespace dossel::odbc

using namespace dossel::odbc;

extern "C" DOSSEL_ODBC_EXPORT void DosselOdbcSetPromptHandler(DosselOdbcPromptHandler handler) {
  s_promptHandler.store(handler);
}

extern "C" DOSSEL_ODBC_EXPORT const char* DosselOdbcSqliteDriverPath(void) {
  const char* overridden = std::getenv("DOSSEL_SQLITE_ODBC_DRIVER");
  return overridden && *overridden ? overridden : DOSSEL_SQLITE_ODBC_DRIVER;
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLDriverConnect(SQLHDBC hdbc, SQLHWND owner, SQLCHAR* in,
                                                                 SQLSMALLINT inLength, SQLCHAR* out,
                                                                 SQLSMALLINT outRoom, SQLSMALLINT* outLength,
                                                                 SQLUSMALLINT completion) {
  return NarrowDriverConnect("SQLDriverConnect", hdbc, owner, in, inLength, out, outRoom, outLength, completion);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLDriverConnectA(SQLHDBC hdbc, SQLHWND owner, SQLCHAR* in,
                                                                  SQLSMALLINT inLength, SQLCHAR* out,
                                                                  SQLSMALLINT outRoom, SQLSMALLINT* outLength,
                                                                  SQLUSMALLINT completion) {
  return NarrowDriverConnect("SQLDriverConnectA", hdbc, owner, in, inLength, out, outRoom, outLength, completion);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC hdbc, SQLHWND owner, SQLWCHAR* in,
                                                                  SQLSMALLINT inLength, SQLWCHAR* out,
                                                                  SQLSMALLINT outRoom, SQLSMALLINT* outLength,
                                                                  SQLUSMALLINT completion) {
  const auto entry = reinterpret_cast<WideConnect>(DriverManagerSymbol("SQLDriverConnectW"));
  if (!entry) return SQL_ERROR;
  std::string completed;
  const auto narrowEntry = reinterpret_cast<NarrowConnect>(DriverManagerSymbol("SQLDriverConnect"));
  auto attempt = [&](const std::string& text, std::string& result) {
    // The SQLite driver takes narrow text. The driver manager's conversion of
    // a wide connect string for it happens before the connection knows its
    // character set: it keeps only the low byte of each character and reads
    // past the converted string's end. Our text is already what the driver
    // wants, so it goes through the narrow entry unchanged.
    if (narrowEntry && NamesSqliteDriver(ParseConnectString(text)))
      return NarrowAttempt(narrowEntry, hdbc, text, result);
    std::vector<SQLWCHAR> buffer(kCompletedRoom, 0);
    SQLSMALLINT written = 0;
    std::u16string input = dossel::Utf8ToUtf16(text);
    const SQLRETURN rc = entry(hdbc, nullptr, reinterpret_cast<SQLWCHAR*>(input.data()), SQL_NTS, buffer.data(),
                               static_cast<SQLSMALLINT>(buffer.size()), &written, SQL_DRIVER_NOPROMPT);
    result = dossel::Utf16ToUtf8(reinterpret_cast<const char16_t*>(buffer.data()));
    return rc;
  };
  const SQLRETURN rc =
      Connect(hdbc, owner, dossel::Utf16ToUtf8(WideInput(in, inLength)), completion, completed, attempt);
  if (!SQL_SUCCEEDED(rc)) return rc;
  return CopyOut(dossel::Utf8ToUtf16(completed), reinterpret_cast<char16_t*>(out), outRoom, outLength, rc);
}
