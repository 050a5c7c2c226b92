#pragma once
// The ODBC constants (SQLGetInfo info types and the bits and codes of their
// answers, SQL type codes, SQL_API_ function codes) for code outside the
// database layer that names them but makes no ODBC call: that code asks
// CDbConnection, and includes this instead of the ODBC headers themselves.

#include "db/odbc/dossel_odbc.h"
