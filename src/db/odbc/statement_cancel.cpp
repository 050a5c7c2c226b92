// SQLCancel from another thread, straight to the driver.
//
// The driver manager's own SQLCancel frees the statement's diagnostic
// records on entry and sets its bookkeeping on return without any lock,
// while the thread running the statement writes the same records when the
// driver ends the call; now and then one of them frees what the other
// uses, and a later SQLError reads freed memory. So DosselODBC keeps, for
// every statement, the driver's own handle and SQLCancel (asked for on the
// thread that allocates the statement, through SQL_DRIVER_HSTMT and
// SQL_DRIVER_HLIB), and a cancel calls the driver alone: the running call
// still returns through the driver manager, which records its error as for
// any failed call.

#include <dlfcn.h>
#include <sql.h>
#include <sqlext.h>

#include <map>
#include <mutex>

#include "db/odbc/dossel_odbc.h"
#include "db/odbc/driver_manager.h"
#include "db/odbc/statement_cancel.h"

namespace dossel::odbc {
namespace {

using CancelEntry = SQLRETURN(SQL_API*)(SQLHSTMT);

struct DriverStatement {
  SQLHDBC connection;
  SQLHSTMT handle;
  CancelEntry cancel;
};

std::mutex s_lock;
std::map<SQLHSTMT, DriverStatement>& Statements() {
  static std::map<SQLHSTMT, DriverStatement> statements;
  return statements;
}

template <typename Entry>
Entry Forward(const char* name) {
  return reinterpret_cast<Entry>(DriverManagerSymbol(name));
}

// The driver manager loads drivers through libltdl, and SQL_DRIVER_HLIB is
// that library's handle: its own lookup finds the driver's entry points.
void* DriverSymbol(void* library, const char* name) {
  using LookUp = void* (*)(void*, const char*);
  static const LookUp lookUp = [] {
    void* ltdl = dlopen("libltdl.so.7", RTLD_NOW | RTLD_NOLOAD);
    return ltdl ? reinterpret_cast<LookUp>(dlsym(ltdl, "lt_dlsym")) : nullptr;
  }();
  return lookUp ? lookUp(library, name) : nullptr;
}

void Remember(SQLHDBC connection, SQLHSTMT statement) {
  using GetInfo = SQLRETURN(SQL_API*)(SQLHDBC, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*);
  using GetFunctions = SQLRETURN(SQL_API*)(SQLHDBC, SQLUSMALLINT, SQLUSMALLINT*);
  const auto getInfo = Forward<GetInfo>("SQLGetInfo");
  const auto getFunctions = Forward<GetFunctions>("SQLGetFunctions");
  if (!getInfo || !getFunctions) return;
  // A driver that says it has no cancel is refused by the driver manager.
  SQLUSMALLINT hasCancel = SQL_FALSE;
  if (!SQL_SUCCEEDED(getFunctions(connection, SQL_API_SQLCANCEL, &hasCancel)) || hasCancel != SQL_TRUE) return;
  SQLHANDLE driverStatement = statement;
  void* library = nullptr;
  if (!SQL_SUCCEEDED(getInfo(connection, SQL_DRIVER_HSTMT, &driverStatement, sizeof driverStatement, nullptr)) ||
      !SQL_SUCCEEDED(getInfo(connection, SQL_DRIVER_HLIB, &library, sizeof library, nullptr)) || !library)
    return;
  const auto cancel = reinterpret_cast<CancelEntry>(DriverSymbol(library, "SQLCancel"));
  if (!cancel) return;
  std::lock_guard<std::mutex> guard(s_lock);
  Statements()[statement] = DriverStatement{connection, driverStatement, cancel};
}

}  // namespace

void ForgetStatement(SQLHSTMT statement) {
  std::lock_guard<std::mutex> guard(s_lock);
  Statements().erase(statement);
}

// A connection that disconnects or is freed takes its statements with it.
void ForgetStatementsOf(SQLHDBC connection) {
  std::lock_guard<std::mutex> guard(s_lock);
  std::erase_if(Statements(), [connection](const auto& entry) { return entry.second.connection == connection; });
}

}  // namespace dossel::odbc

using namespace dossel::odbc;

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*)>("SQLAllocHandle");
  if (!entry) return SQL_ERROR;
  const SQLRETURN rc = entry(type, input, output);
  if (type == SQL_HANDLE_STMT && SQL_SUCCEEDED(rc) && output) Remember(input, *output);
  return rc;
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLAllocStmt(SQLHDBC connection, SQLHSTMT* statement) {
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLHDBC, SQLHSTMT*)>("SQLAllocStmt");
  if (!entry) return SQL_ERROR;
  const SQLRETURN rc = entry(connection, statement);
  if (SQL_SUCCEEDED(rc) && statement) Remember(connection, *statement);
  return rc;
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT statement, SQLUSMALLINT option) {
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLHSTMT, SQLUSMALLINT)>("SQLFreeStmt");
  if (!entry) return SQL_ERROR;
  // Forgotten first: a cancel that comes meanwhile waits, then finds nothing.
  if (option == SQL_DROP) ForgetStatement(statement);
  return entry(statement, option);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLDisconnect(SQLHDBC connection) {
  const auto entry = Forward<SQLRETURN(SQL_API*)(SQLHDBC)>("SQLDisconnect");
  if (!entry) return SQL_ERROR;
  ForgetStatementsOf(connection);
  return entry(connection);
}

extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API SQLCancel(SQLHSTMT statement) {
  {
    // Held through the driver's cancel, so the statement cannot be freed
    // under it (a free forgets it first).
    std::lock_guard<std::mutex> guard(s_lock);
    const auto found = Statements().find(statement);
    if (found != Statements().end()) return found->second.cancel(found->second.handle);
  }
  const auto entry = Forward<CancelEntry>("SQLCancel");
  return entry ? entry(statement) : SQL_ERROR;
}
