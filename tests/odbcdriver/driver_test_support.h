#pragma once
// Raw ODBC helpers of the scripted driver's tests: an ODBC 2 style session
// (SQLAllocEnv, SQLAllocConnect, SQLDriverConnect), as the programs make it,
// calling the ANSI entry points in the narrow build and the wide ones in the
// UTF-16 build. Used by one test thread at a time, except Cancel.

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <optional>
#include <string>
#include <vector>

#include "db/odbc/dossel_odbc.h"
#include "driver_script.h"
#include "test_support.h"

namespace dossel::test {

struct DiagRecord {
  std::string state;
  long native = 0;
  std::string message;
};

class OdbcSession {
 public:
  OdbcSession();
  ~OdbcSession();
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;

  // SQLDriverConnect with SQL_DRIVER_NOPROMPT; `completed` gets the driver's
  // completed connect string.
  SQLRETURN DriverConnect(const std::string& connectString, std::string* completed = nullptr);
  // SQLConnect to a configured data source.
  SQLRETURN Connect(const std::string& dsn);
  SQLHENV Env() const { return m_env; }
  SQLHDBC Dbc() const { return m_dbc; }
  // A new statement (SQLAllocStmt), freed with the session.
  SQLHSTMT NewStatement();
  std::vector<DiagRecord> Errors(SQLHSTMT stmt = SQL_NULL_HSTMT) const;

 private:
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
  bool m_connected = false;
  std::vector<SQLHSTMT> m_statements;
};

// SQLExecDirect in the build's width, once.
SQLRETURN ExecDirect(SQLHSTMT stmt, const std::string& sql);
// SQLDescribeCol in the build's width: the column name.
std::string ColumnName(SQLHSTMT stmt, int column);
// SQLGetInfo text answer in the build's width.
std::string InfoText(SQLHDBC dbc, SQLUSMALLINT type);

// The whole value of a column as UTF-8, read with SQLGetData in pieces of
// `room` bytes (SQL_C_WCHAR in the wide build, SQL_C_CHAR in the narrow);
// nothing for NULL. `pieces` counts the calls that returned data.
std::optional<std::string> ReadText(SQLHSTMT stmt, int column, SQLLEN room = 256, int* pieces = nullptr);

// Lines of a call log.
std::vector<std::string> LogLines(const std::string& path);
int CountLines(const std::vector<std::string>& lines, const std::string& prefix);

}  // namespace dossel::test
