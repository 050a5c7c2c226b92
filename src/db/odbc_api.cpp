#include "db/odbc_api.h"

#include <vector>

namespace dossel::db {
namespace {

#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
#define DOSSEL_SQL_W(name) name##W
#else
#define DOSSEL_SQL_W(name) name
#endif

constexpr SQLSMALLINT kCharBytes = sizeof(TChar);

// Text from a terminated buffer, never reading past `room` characters.
TString FromBuffer(const std::vector<TChar>& buffer) {
  size_t length = 0;
  while (length < buffer.size() && buffer[length] != 0) ++length;
  return TString(buffer.data(), length);
}

}  // namespace

SQLRETURN OdbcDriverConnect(SQLHDBC hdbc, SQLHWND owner, const TString& in, TString& completed,
                            SQLSMALLINT completedRoom, SQLUSMALLINT completion) {
  std::vector<TChar> out(completedRoom + 1, 0);
  SQLSMALLINT length = 0;
  TString input = in;
  const SQLRETURN rc = DOSSEL_SQL_W(SQLDriverConnect)(hdbc, owner, ToSql(input.data()), SQL_NTS, ToSql(out.data()),
                                                      completedRoom, &length, completion);
  completed = FromBuffer(out);
  return rc;
}

SQLRETURN OdbcExecDirect(SQLHSTMT hstmt, const TString& sql) {
  return Repeat([&] { return DOSSEL_SQL_W(SQLExecDirect)(hstmt, ToSql(sql.c_str()), SQL_NTS); });
}

SQLRETURN OdbcPrepare(SQLHSTMT hstmt, const TString& sql) {
  return Repeat([&] { return DOSSEL_SQL_W(SQLPrepare)(hstmt, ToSql(sql.c_str()), SQL_NTS); });
}

SQLRETURN OdbcDescribeCol(SQLHSTMT hstmt, SQLUSMALLINT column, SQLSMALLINT nameRoom, TString& name, SQLSMALLINT& type,
                          SQLULEN& precision, SQLSMALLINT& scale, SQLSMALLINT& nullable) {
  std::vector<TChar> buffer(nameRoom + 1, 0);
  SQLSMALLINT length = 0;
  const SQLRETURN rc = Repeat([&] {
    return DOSSEL_SQL_W(SQLDescribeCol)(hstmt, column, ToSql(buffer.data()), nameRoom, &length, &type, &precision,
                                        &scale, &nullable);
  });
  name = FromBuffer(buffer);
  return rc;
}

SQLRETURN OdbcColumnLabel(SQLHSTMT hstmt, SQLUSMALLINT column, SQLSMALLINT room, TString& label) {
  std::vector<TChar> buffer(room + 1, 0);
  SQLSMALLINT bytes = 0;
  const SQLRETURN rc = Repeat([&] {
    return DOSSEL_SQL_W(SQLColAttribute)(hstmt, column, SQL_DESC_LABEL, buffer.data(), room * kCharBytes, &bytes,
                                         nullptr);
  });
  label = FromBuffer(buffer);
  return rc;
}

SQLRETURN OdbcError(SQLHENV henv, SQLHDBC hdbc, SQLHSTMT hstmt, TString& state, SQLINTEGER& native, TString& message,
                    SQLSMALLINT messageRoom) {
  std::vector<TChar> stateBuffer(6, 0);
  std::vector<TChar> messageBuffer(messageRoom + 1, 0);
  SQLSMALLINT length = 0;
  native = 0;
  const SQLRETURN rc = DOSSEL_SQL_W(SQLError)(henv, hdbc, hstmt, ToSql(stateBuffer.data()), &native,
                                              ToSql(messageBuffer.data()), messageRoom, &length);
  state = FromBuffer(stateBuffer);
  message = FromBuffer(messageBuffer);
  return rc;
}

SQLRETURN OdbcGetInfoText(SQLHDBC hdbc, SQLUSMALLINT info, SQLSMALLINT room, TString& answer, SQLSMALLINT* length) {
  // For a driver without W entry points the driver manager passes the byte
  // count on as the room for narrow text and widens every byte it gets back:
  // the buffer holds one character for each byte given.
  std::vector<TChar> buffer(room * kCharBytes + 1, 0);
  SQLSMALLINT bytes = 0;
  const SQLRETURN rc = DOSSEL_SQL_W(SQLGetInfo)(hdbc, info, buffer.data(), room * kCharBytes, &bytes);
  answer = FromBuffer(buffer);
  if (length) *length = static_cast<SQLSMALLINT>(bytes / kCharBytes);
  return rc;
}

SQLRETURN OdbcDataSources(SQLHENV henv, SQLUSMALLINT direction, TString& name, TString& description) {
  // The ANSI entry point in both widths: the driver manager's W variant
  // widens each byte of the configuration file on its own, which mangles
  // every name that is not plain ASCII; the bytes are UTF-8.
  std::vector<char> nameBuffer(SQL_MAX_DSN_LENGTH * 4 + 1, 0);
  std::vector<char> descriptionBuffer(1024, 0);
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT descriptionLength = 0;
  const SQLRETURN rc = SQLDataSources(henv, direction, reinterpret_cast<SQLCHAR*>(nameBuffer.data()),
                                      static_cast<SQLSMALLINT>(nameBuffer.size()), &nameLength,
                                      reinterpret_cast<SQLCHAR*>(descriptionBuffer.data()),
                                      static_cast<SQLSMALLINT>(descriptionBuffer.size()), &descriptionLength);
  name = FromUtf8(nameBuffer.data());
  description = FromUtf8(descriptionBuffer.data());
  return rc;
}

SQLRETURN OdbcSetConnectOption(SQLHDBC hdbc, SQLUSMALLINT option, SQLULEN value) {
  return SQLSetConnectOption(hdbc, option, value);
}

SQLRETURN OdbcTables(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* name, const TChar* type) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLTables)(hstmt, ToSqlOrNull(qualifier), SQL_NTS, ToSqlOrNull(owner), SQL_NTS,
                                   ToSqlOrNull(name), SQL_NTS, ToSqlOrNull(type), SQL_NTS);
  });
}

SQLRETURN OdbcProcedures(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* name) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLProcedures)(hstmt, ToSqlOrNull(qualifier), SQL_NTS, ToSqlOrNull(owner), SQL_NTS,
                                       ToSqlOrNull(name), SQL_NTS);
  });
}

SQLRETURN OdbcColumns(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table,
                      const TChar* column) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLColumns)(hstmt, ToSqlOrNull(qualifier), SQL_NTS, ToSqlOrNull(owner), SQL_NTS,
                                    ToSqlOrNull(table), SQL_NTS, ToSqlOrNull(column), SQL_NTS);
  });
}

SQLRETURN OdbcStatistics(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table,
                         SQLUSMALLINT unique, SQLUSMALLINT accuracy) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLStatistics)(hstmt, ToSqlOrNull(qualifier), SQL_NTS, ToSqlOrNull(owner), SQL_NTS,
                                       ToSqlOrNull(table), SQL_NTS, unique, accuracy);
  });
}

SQLRETURN OdbcPrimaryKeys(SQLHSTMT hstmt, const TChar* qualifier, const TChar* owner, const TChar* table) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLPrimaryKeys)(hstmt, ToSqlOrNull(qualifier), SQL_NTS, ToSqlOrNull(owner), SQL_NTS,
                                        ToSqlOrNull(table), SQL_NTS);
  });
}

SQLRETURN OdbcForeignKeys(SQLHSTMT hstmt, const TChar* pkQualifier, const TChar* pkOwner, const TChar* pkTable,
                          const TChar* fkQualifier, const TChar* fkOwner, const TChar* fkTable) {
  return Repeat([&] {
    return DOSSEL_SQL_W(SQLForeignKeys)(hstmt, ToSqlOrNull(pkQualifier), SQL_NTS, ToSqlOrNull(pkOwner), SQL_NTS,
                                        ToSqlOrNull(pkTable), SQL_NTS, ToSqlOrNull(fkQualifier), SQL_NTS,
                                        ToSqlOrNull(fkOwner), SQL_NTS, ToSqlOrNull(fkTable), SQL_NTS);
  });
}

SQLRETURN OdbcGetTypeInfo(SQLHSTMT hstmt, SQLSMALLINT dataType) {
  return Repeat([&] { return DOSSEL_SQL_W(SQLGetTypeInfo)(hstmt, dataType); });
}

}  // namespace dossel::db
