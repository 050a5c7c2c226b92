#pragma once
// DosselODBC: the ODBC call interface the programs link by name. It forwards
// every call to the system's driver manager, with one addition: a connect
// string whose DSN the driver manager does not know, but which carries a
// Database= key, opens that file through the SQLite ODBC driver. Data sources
// configured in the driver manager always connect through their own drivers.
//
// When a connect call asks for a prompt (SQL_DRIVER_PROMPT, or completion with
// no data source named), the installed prompt handler chooses the connect
// string; without one the call goes to the driver manager unchanged.

#include <sql.h>
#include <sqlext.h>

#define DOSSEL_ODBC_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// Called on the connecting thread with the owner window given to
// SQLDriverConnect and the connect string so far (UTF-8). Writes the chosen
// connect string (UTF-8, terminated) into `chosen` and returns 1, or returns 0
// when the user cancels; the connect call then answers SQL_NO_DATA.
typedef int (*DosselOdbcPromptHandler)(SQLHWND owner, const char* connectString, char* chosen, int chosenSize);

DOSSEL_ODBC_EXPORT void DosselOdbcSetPromptHandler(DosselOdbcPromptHandler handler);

// The SQLite ODBC driver library that serves unknown data-source names.
// $DOSSEL_SQLITE_ODBC_DRIVER overrides the path found at build time.
DOSSEL_ODBC_EXPORT const char* DosselOdbcSqliteDriverPath(void);

// Why the system's driver manager could not be loaded (dlerror's text), or
// null when it loaded. Loads it when no call has yet. Every ODBC call answers
// SQL_ERROR while it is missing. $DOSSEL_ODBC_DRIVER_MANAGER names another
// driver-manager library than the one found at build time.
DOSSEL_ODBC_EXPORT const char* DosselOdbcDriverManagerError(void);

// What the data source set `key` to, as its driver reads it: the connect
// string's own attribute (UTF-8), else the entry of the data source the
// connect string names (DSN=, or `dsn` when it names none) in the driver
// manager's odbc.ini. Writes the value (terminated, cut to `size`) and
// returns 1; returns 0 when neither sets the key.
DOSSEL_ODBC_EXPORT int DosselOdbcDataSourceValue(const char* connectString, const char* dsn, const char* key,
                                                 char* value, int size);

#ifdef __cplusplus
}
#endif
