#pragma once
// The handles of the scripted driver and what they share: diagnostics, the
// call log, the cancel handshake. Every entry point of the driver is an
// extern "C" function in one of the driver's .cpp files; they reach each
// other only through the internal functions declared here, never through the
// exported SQL names (those could bind to the driver manager's own).

#include <sql.h>
#include <sqlext.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "script.h"

#define SCRIPTED_EXPORT extern "C" __attribute__((visibility("default")))

namespace dossel::scripted {

// The diagnostic records of one handle, replaced at the start of every call
// on the handle except the diagnostic calls. Used by the thread that calls
// on the handle (SQLCancel from another thread never touches it).
class Diagnostics {
 public:
  void Clear() {
    m_records.clear();
    m_nextForSqlError = 0;
    lastReturn = SQL_SUCCESS;
  }
  void Add(const Diagnostic& record) { m_records.push_back(record); }
  void Add(const std::string& state, const std::string& text) { Add(Diagnostic{state, 0, kOrigin + text}); }
  const std::vector<Diagnostic>& Records() const { return m_records; }
  // SQLError hands out each record once.
  const Diagnostic* NextForSqlError() {
    return m_nextForSqlError < m_records.size() ? &m_records[m_nextForSqlError++] : nullptr;
  }
  SQLRETURN lastReturn = SQL_SUCCESS;

  static inline const std::string kOrigin = "[Dossel][Scripted driver]";

 private:
  std::vector<Diagnostic> m_records;
  size_t m_nextForSqlError = 0;
};

// Appends one flushed line per call to the script's log file. Any thread.
class CallLog {
 public:
  void Open(const std::string& path);
  void Write(const std::string& line);
  ~CallLog();

 private:
  std::mutex m_mutex;
  std::FILE* m_file = nullptr;
};

enum class HandleKind { Env = 0x53454E56, Dbc, Stmt, Desc };

struct Handle {
  explicit Handle(HandleKind kind) : kind(kind) {}
  HandleKind kind;
  Diagnostics diagnostics;
};

struct Env : Handle {
  Env() : Handle(HandleKind::Env) {}
  SQLINTEGER odbcVersion = SQL_OV_ODBC2;
};

struct Stmt;

// A connection: the script it loaded and the statements on it. Used by the
// connecting thread and the statement threads; the log by any thread.
struct Dbc : Handle {
  explicit Dbc(Env* env) : Handle(HandleKind::Dbc), env(env) {}
  Env* env;
  bool connected = false;
  std::shared_ptr<const Script> script;
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  std::string dataSourceName;
  std::map<SQLINTEGER, SQLULEN> attributes;
  // Counts down the script's lost cancels; SQLCancel may come from any thread.
  std::atomic<int> cancelsToIgnore{0};
};

// Stand-in for the implicit descriptors that the driver manager asks for.
struct Desc : Handle {
  Desc() : Handle(HandleKind::Desc) {}
};

// The cursor of a statement over the scripted results.
struct Cursor {
  const Entry* entry = nullptr;
  size_t result = 0;
  long row = -1;  // -1 before the first row
  bool open = false;
  // SQLGetData continues a value on the same column of the same row.
  int getDataColumn = 0;
  size_t getDataOffset = 0;
  bool getDataDone = false;
};

struct Binding {
  SQLSMALLINT type = SQL_C_CHAR;
  SQLPOINTER target = nullptr;
  SQLLEN room = 0;
  SQLLEN* indicator = nullptr;
};

// A statement. Used by one thread at a time, except Cancel, which any
// thread may call while another is inside a blocking call.
struct Stmt : Handle {
  explicit Stmt(Dbc* dbc) : Handle(HandleKind::Stmt), dbc(dbc) {}
  Dbc* dbc;
  Cursor cursor;
  std::string preparedSql;
  std::map<int, Binding> bindings;
  std::map<SQLINTEGER, SQLULEN> attributes;
  std::map<std::string, int> stillLeft;  // function -> repeats left in the current call
  Desc descriptors[4];

  // Owns the standard result of a catalog call that the script left out.
  std::unique_ptr<Entry> ownedEntry;

  // The cancel handshake.
  std::mutex cancelMutex;
  std::condition_variable cancelSignal;
  bool busy = false;
  bool canceled = false;

  // Waits until SQLCancel or the query time-out (a minute without one);
  // true when canceled. Only inside a BusyScope.
  bool WaitForCancel();
  void Cancel();
};

// Marks a statement as inside a call that SQLCancel may end: a cancel that
// arrives from another thread any time within the scope is kept for
// WaitForCancel.
class BusyScope {
 public:
  explicit BusyScope(Stmt* stmt);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Stmt* m_stmt;
};

// Every call starts here: clears the handle's diagnostics and logs the call.
void BeginCall(Handle* handle, const std::string& logLine);
CallLog& LogOf(Handle* handle);
const Script& ScriptOf(Stmt* stmt);

// Records `record` on the handle and answers SQL_ERROR.
SQLRETURN Fail(Handle* handle, const std::string& state, const std::string& text);
SQLRETURN FailWith(Handle* handle, const std::vector<Diagnostic>& records);

// Copies text into a caller's buffer of `room` bytes (terminated); the full
// length goes to `length`. SQL_SUCCESS_WITH_INFO with 01004 when cut.
SQLRETURN CopyText(Handle* handle, const std::string& text, SQLPOINTER out, SQLLEN room, SQLSMALLINT* length16,
                   SQLINTEGER* length32 = nullptr);

// Text arguments as the driver manager passes them.
std::string ArgText(const SQLCHAR* text, SQLINTEGER length);

// SQL_STILL_EXECUTING bookkeeping: true when this call answers "still".
bool StillExecuting(Stmt* stmt, const std::string& function);

// The statement side, shared by execution, data delivery and catalog calls.
SQLRETURN StartCursor(Stmt* stmt, const Entry* entry);
void CloseCursor(Stmt* stmt);
const ResultSet* CurrentResult(Stmt* stmt);
// Moves the cursor: SQL_FETCH_NEXT with the scripted blocks and failures,
// the other orientations over the rows in memory.
SQLRETURN FetchRow(Stmt* stmt, SQLSMALLINT orientation, SQLLEN offset, const char* function);

}  // namespace dossel::scripted
