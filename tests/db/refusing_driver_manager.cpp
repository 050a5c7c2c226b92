// A stand-in for the driver manager that loads but refuses every environment,
// for the tests of a connection that cannot begin.

#include <sql.h>

extern "C" SQLRETURN SQL_API SQLAllocEnv(SQLHENV* henv) {
  if (henv) *henv = SQL_NULL_HENV;
  return SQL_ERROR;
}

extern "C" SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT, SQLHANDLE, SQLHANDLE* output) {
  if (output) *output = SQL_NULL_HANDLE;
  return SQL_ERROR;
}
