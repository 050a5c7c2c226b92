#include "db/odbc_handles.h"

namespace dossel::db {

void EnvironmentTraits::Free(SQLHENV henv) noexcept { SQLFreeEnv(henv); }

void ConnectionTraits::Free(SQLHDBC hdbc) noexcept { SQLFreeConnect(hdbc); }

void StatementTraits::Free(SQLHSTMT hstmt) noexcept { SQLFreeStmt(hstmt, SQL_DROP); }

EnvironmentHandle AllocateEnvironment(SQLRETURN& rc) {
  SQLHENV henv = nullptr;
  rc = SQLAllocEnv(&henv);
  return EnvironmentHandle(henv);
}

ConnectionHandle AllocateConnection(SQLHENV henv, SQLRETURN& rc) {
  SQLHDBC hdbc = nullptr;
  rc = SQLAllocConnect(henv, &hdbc);
  return ConnectionHandle(hdbc);
}

StatementHandle AllocateStatement(SQLHDBC hdbc, SQLRETURN& rc) {
  SQLHSTMT hstmt = nullptr;
  rc = SQLAllocStmt(hdbc, &hstmt);
  return StatementHandle(hstmt);
}

}  // namespace dossel::db
