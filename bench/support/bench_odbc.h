#pragma once
// A statement on a connection of the SQLite driver itself, with bare ODBC
// calls and nothing of ours between: the reference that catalog benchmarks
// measure the program against.

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "db/odbc/dossel_odbc.h"

namespace dossel::bench {

class CBareSqliteStatement {
 public:
  explicit CBareSqliteStatement(const std::string& database) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
    std::string connect = "DRIVER=";
    connect += DosselOdbcSqliteDriverPath();
    connect += ";Database=";
    connect += database;
    SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS, nullptr, 0, nullptr,
                     SQL_DRIVER_NOPROMPT);
    SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt);
  }
  ~CBareSqliteStatement() {
    SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    SQLDisconnect(m_dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, m_env);
  }
  CBareSqliteStatement(const CBareSqliteStatement&) = delete;
  CBareSqliteStatement& operator=(const CBareSqliteStatement&) = delete;

  SQLHSTMT Handle() const { return m_stmt; }

 private:
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
  SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

}  // namespace dossel::bench
