#pragma once
// The ODBC calls that carry text, in the build's text width: the ANSI entry
// points for narrow text, the W entry points for UTF-16. This is the one place
// that chooses between them; everything else is called directly. Lengths and
// buffer sizes here count characters.

#include "db/odbc/dossel_odbc.h"
#include "platform/text.h"

#include <sqlucode.h>

namespace dossel::db {

#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
using SqlChar = SQLWCHAR;
inline constexpr SQLSMALLINT kSqlCText = SQL_C_WCHAR;
#else
using SqlChar = SQLCHAR;
inline constexpr SQLSMALLINT kSqlCText = SQL_C_CHAR;
#endif
static_assert(sizeof(SqlChar) == sizeof(TChar), "ODBC text must match the build's text width");

inline SqlChar* ToSql(TChar* text) { return reinterpret_cast<SqlChar*>(text); }
inline SqlChar* ToSql(const TChar* text) { return reinterpret_cast<SqlChar*>(const_cast<TChar*>(text)); }
// A null argument for optional text parameters (catalog restrictions).
inline SqlChar* ToSqlOrNull(const TString* text) { return text ? ToSql(text->c_str()) : nullptr; }
inline SqlChar* ToSqlOrNull(const TChar* text) { return text ? ToSql(text) : nullptr; }

// Repeats a call while the driver answers SQL_STILL_EXECUTING.
template <typename Call>
SQLRETURN Repeat(Call&& call) {
  SQLRETURN rc;
  do {
    rc = call();
  } while (rc == SQL_STILL_EXECUTING);
  return rc;
}

SQLRETURN OdbcDriverConnect(SQLHDBC hdbc, SQLHWND owner, const TString& in, TString& completed,
                            SQLSMALLINT completedRoom, SQLUSMALLINT completion);
SQLRETURN OdbcExecDirect(SQLHSTMT hstmt, const TString& sql);
SQLRETURN OdbcPrepare(SQLHSTMT hstmt, const TString& sql);
// Describes column `column` (1-based); the name buffer holds nameRoom characters.
SQLRETURN OdbcDescribeCol(SQLHSTMT hstmt, SQLUSMALLINT column, SQLSMALLINT nameRoom, TString& name, SQLSMALLINT& type,
                          SQLULEN& precision, SQLSMALLINT& scale, SQLSMALLINT& nullable);
// The column's label (SQL_DESC_LABEL) into a buffer of `room` characters.
SQLRETURN OdbcColumnLabel(SQLHSTMT hstmt, SQLUSMALLINT column, SQLSMALLINT room, TString& label);
// One SQLError record; message room in characters.
SQLRETURN OdbcError(SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, TString& state, SQLINTEGER& native, TString& message,
                    SQLSMALLINT messageRoom);
// A text answer of SQLGetInfo into a buffer of `room` characters; `length`
// receives the answer's length in characters.
SQLRETURN OdbcGetInfoText(SQLHDBC hdbc, SQLUSMALLINT info, SQLSMALLINT room, TString& answer,
                          SQLSMALLINT* length = nullptr);
// One SQLDataSources entry (direction SQL_FETCH_FIRST or SQL_FETCH_NEXT),
// read as UTF-8 in both widths.
SQLRETURN OdbcDataSources(SQLHENV henv, SQLUSMALLINT direction, TString& name, TString& description);
SQLRETURN OdbcSetConnectOption(SQLHDBC hdbc, SQLUSMALLINT option, SQLULEN value);

// The catalog calls, each repeated while still executing. A null restriction
// means none and reaches the driver as a null pointer (length SQL_NTS).
SQLRETURN OdbcTables(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* name, const TChar* type);
SQLRETURN OdbcProcedures(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* name);
SQLRETURN OdbcColumns(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table,
                      const TChar* column);
SQLRETURN OdbcStatistics(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table,
                         SQLUSMALLINT unique, SQLUSMALLINT accuracy);
SQLRETURN OdbcPrimaryKeys(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table);
SQLRETURN OdbcForeignKeys(SQLHSTMT hstmt, const TChar* pkQualifier, const TChar* pkOwner, const TChar* pkTable,
                          const TChar* fkQualifier, const TChar* fkOwner, const TChar* fkTable);
SQLRETURN OdbcGetTypeInfo(SQLHSTMT hstmt, SQLSMALLINT dataType);

}  // namespace dossel::db
