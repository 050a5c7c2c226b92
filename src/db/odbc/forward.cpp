// Every ODBC entry point but the connect calls goes straight to the driver
// manager, so handles, return codes and diagnostics are exactly its own.

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "db/odbc/dossel_odbc.h"
#include "db/odbc/driver_manager.h"

#define DOSSEL_ODBC_FUNCTION(name, params, args)                                                 \
  extern "C" DOSSEL_ODBC_EXPORT SQLRETURN SQL_API name params {                                  \
    using Entry = SQLRETURN(SQL_API*) params;                                                    \
    static const auto entry = reinterpret_cast<Entry>(dossel::odbc::DriverManagerSymbol(#name)); \
    return entry ? entry args : SQL_ERROR;                                                       \
  }

#include "db/odbc/odbc_functions.inc"
