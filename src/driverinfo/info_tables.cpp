#include "driverinfo/info_tables.h"

#include "db/odbc_constants.h"
#include "platform/format.h"

namespace dossel::driverinfo {
namespace {

// Index = SQL_API_ code; the report lists the named ones in code order.
constexpr ApiFunction kApiFunctions[] = {
    {1, DT("SQLAllocConnect")},
    {2, DT("SQLAllocEnv")},
    {3, DT("SQLAllocStmt")},
    {4, DT("SQLBindCol")},
    {5, DT("SQLCancel")},
    {6, DT("SQLColAttributes")},
    {7, DT("SQLConnect")},
    {8, DT("SQLDescribeCol")},
    {9, DT("SQLDisconnect")},
    {10, DT("SQLError")},
    {11, DT("SQLExecDirect")},
    {12, DT("SQLExecute")},
    {13, DT("SQLFetch")},
    {14, DT("SQLFreeConnect")},
    {15, DT("SQLFreeEnv")},
    {16, DT("SQLFreeStmt")},
    {17, DT("SQLGetCursorName")},
    {18, DT("SQLNumResultCols")},
    {19, DT("SQLPrepare")},
    {20, DT("SQLRowCount")},
    {21, DT("SQLSetCursorName")},
    {22, DT("SQLSetParam")},
    {23, DT("SQLTransact")},
    {40, DT("SQLColumns")},
    {41, DT("SQLDriverConnect")},
    {42, DT("SQLGetConnectOption")},
    {43, DT("SQLGetData")},
    {44, DT("SQLGetFunctions")},
    {45, DT("SQLGetInfo")},
    {46, DT("SQLGetStmtOption")},
    {47, DT("SQLGetTypeInfo")},
    {48, DT("SQLParamData")},
    {49, DT("SQLPutData")},
    {50, DT("SQLSetConnectOption")},
    {51, DT("SQLSetStmtOption")},
    {52, DT("SQLSpecialColumns")},
    {53, DT("SQLStatistics")},
    {54, DT("SQLTables")},
    {55, DT("SQLBrowseConnect")},
    {56, DT("SQLColumnPrivileges")},
    {57, DT("SQLDataSources")},
    {58, DT("SQLDescribeParam")},
    {59, DT("SQLExtendedFetch")},
    {60, DT("SQLForeignKeys")},
    {61, DT("SQLMoreResults")},
    {62, DT("SQLNativeSql")},
    {63, DT("SQLNumParams")},
    {64, DT("SQLParamOptions")},
    {65, DT("SQLPrimaryKeys")},
    {66, DT("SQLProcedureColumns")},
    {67, DT("SQLProcedures")},
    {68, DT("SQLSetPos")},
    {69, DT("SQLSetScrollOptions")},
    {70, DT("SQLTablePrivileges")},
    {71, DT("SQLDrivers")},
    {72, DT("SQLBindParameter")},
};

constexpr BitName kConversionFunctions[] = {{DT("Convert()"), SQL_FN_CVT_CONVERT}};

constexpr BitName kNumericFunctions[] = {
    {DT("Abs()"), SQL_FN_NUM_ABS},     {DT("Acos()"), SQL_FN_NUM_ACOS},       {DT("Asin()"), SQL_FN_NUM_ASIN},
    {DT("Atan()"), SQL_FN_NUM_ATAN},   {DT("Atan2()"), SQL_FN_NUM_ATAN2},     {DT("Ceiling()"), SQL_FN_NUM_CEILING},
    {DT("Cos()"), SQL_FN_NUM_COS},     {DT("Cot()"), SQL_FN_NUM_COT},         {DT("Degrees()"), SQL_FN_NUM_DEGREES},
    {DT("Exp()"), SQL_FN_NUM_EXP},     {DT("Floor()"), SQL_FN_NUM_FLOOR},     {DT("Log()"), SQL_FN_NUM_LOG},
    {DT("Log10()"), SQL_FN_NUM_LOG10}, {DT("Mod()"), SQL_FN_NUM_MOD},         {DT("Pi()"), SQL_FN_NUM_PI},
    {DT("Power()"), SQL_FN_NUM_POWER}, {DT("Radians()"), SQL_FN_NUM_RADIANS}, {DT("Rand()"), SQL_FN_NUM_RAND},
    {DT("Round()"), SQL_FN_NUM_ROUND}, {DT("Sign()"), SQL_FN_NUM_SIGN},       {DT("Sin()"), SQL_FN_NUM_SIN},
    {DT("Sqrt()"), SQL_FN_NUM_SQRT},   {DT("Tan()"), SQL_FN_NUM_TAN},         {DT("Truncate()"), SQL_FN_NUM_TRUNCATE},
};

// "Lenght()" is the LENGTH function's name as the report has always spelled it.
constexpr BitName kStringFunctions[] = {
    {DT("Ascii()"), SQL_FN_STR_ASCII},     {DT("Char()"), SQL_FN_STR_CHAR},
    {DT("Concat()"), SQL_FN_STR_CONCAT},   {DT("Difference()"), SQL_FN_STR_DIFFERENCE},
    {DT("Insert()"), SQL_FN_STR_INSERT},   {DT("LCase()"), SQL_FN_STR_LCASE},
    {DT("Left()"), SQL_FN_STR_LEFT},       {DT("Lenght()"), SQL_FN_STR_LENGTH},
    {DT("Locate()"), SQL_FN_STR_LOCATE},   {DT("Locate2()"), SQL_FN_STR_LOCATE_2},
    {DT("LTrim()"), SQL_FN_STR_LTRIM},     {DT("Repeat()"), SQL_FN_STR_REPEAT},
    {DT("Replace()"), SQL_FN_STR_REPLACE}, {DT("Right()"), SQL_FN_STR_RIGHT},
    {DT("RTrim()"), SQL_FN_STR_RTRIM},     {DT("Soundex()"), SQL_FN_STR_SOUNDEX},
    {DT("Space()"), SQL_FN_STR_SPACE},     {DT("Substring()"), SQL_FN_STR_SUBSTRING},
    {DT("UCase()"), SQL_FN_STR_UCASE},
};

constexpr BitName kSystemFunctions[] = {
    {DT("DBName()"), SQL_FN_SYS_DBNAME}, {DT("IfNull()"), SQL_FN_SYS_IFNULL}, {DT("UserName()"), SQL_FN_SYS_USERNAME}};

constexpr BitName kTimeDateFunctions[] = {
    {DT("CurDate()"), SQL_FN_TD_CURDATE},
    {DT("CurTime()"), SQL_FN_TD_CURTIME},
    {DT("DayName()"), SQL_FN_TD_DAYNAME},
    {DT("DayOfMonth()"), SQL_FN_TD_DAYOFMONTH},
    {DT("DayOfWeek()"), SQL_FN_TD_DAYOFWEEK},
    {DT("DayOfYear()"), SQL_FN_TD_DAYOFYEAR},
    {DT("Hour()"), SQL_FN_TD_HOUR},
    {DT("Minute()"), SQL_FN_TD_MINUTE},
    {DT("Month()"), SQL_FN_TD_MONTH},
    {DT("MonthName()"), SQL_FN_TD_MONTHNAME},
    {DT("Now()"), SQL_FN_TD_NOW},
    {DT("Quarter()"), SQL_FN_TD_QUARTER},
    {DT("Second()"), SQL_FN_TD_SECOND},
    {DT("TimeStampAdd()"), SQL_FN_TD_TIMESTAMPADD},
    {DT("TimeStampDiff()"), SQL_FN_TD_TIMESTAMPDIFF},
    {DT("Week()"), SQL_FN_TD_WEEK},
    {DT("Year()"), SQL_FN_TD_YEAR},
};

constexpr ScalarGroup kScalarGroups[] = {
    {DT("SQL Conversion Functions\n------------------------\n"), DT("Conversion"), SQL_CONVERT_FUNCTIONS,
     kConversionFunctions},
    {DT("SQL Numeric Functions\n---------------------\n"), DT("Numeric"), SQL_NUMERIC_FUNCTIONS, kNumericFunctions},
    {DT("SQL String Functions\n--------------------\n"), DT("String"), SQL_STRING_FUNCTIONS, kStringFunctions},
    {DT("SQL System Functions\n--------------------\n"), DT("System"), SQL_SYSTEM_FUNCTIONS, kSystemFunctions},
    {DT("SQL Time/Date Functions\n-----------------------\n"), DT("TimeDate"), SQL_TIMEDATE_FUNCTIONS,
     kTimeDateFunctions},
};

constexpr SqlTypeName kSqlTypes[] = {
    {DT("SQL_BIGINT"), SQL_BIGINT, SQL_CONVERT_BIGINT, SQL_CVT_BIGINT},
    {DT("SQL_BINARY"), SQL_BINARY, SQL_CONVERT_BINARY, SQL_CVT_BINARY},
    {DT("SQL_BIT"), SQL_BIT, SQL_CONVERT_BIT, SQL_CVT_BIT},
    {DT("SQL_CHAR"), SQL_CHAR, SQL_CONVERT_CHAR, SQL_CVT_CHAR},
    {DT("SQL_DATE"), SQL_DATE, SQL_CONVERT_DATE, SQL_CVT_DATE},
    {DT("SQL_DECIMAL"), SQL_DECIMAL, SQL_CONVERT_DECIMAL, SQL_CVT_DECIMAL},
    {DT("SQL_DOUBLE"), SQL_DOUBLE, SQL_CONVERT_DOUBLE, SQL_CVT_DOUBLE},
    {DT("SQL_FLOAT"), SQL_FLOAT, SQL_CONVERT_FLOAT, SQL_CVT_FLOAT},
    {DT("SQL_INTEGER"), SQL_INTEGER, SQL_CONVERT_INTEGER, SQL_CVT_INTEGER},
    {DT("SQL_LONGVARBINARY"), SQL_LONGVARBINARY, SQL_CONVERT_LONGVARBINARY, SQL_CVT_LONGVARBINARY},
    {DT("SQL_LONGVARCHAR"), SQL_LONGVARCHAR, SQL_CONVERT_LONGVARCHAR, SQL_CVT_LONGVARCHAR},
    {DT("SQL_NUMERIC"), SQL_NUMERIC, SQL_CONVERT_NUMERIC, SQL_CVT_NUMERIC},
    {DT("SQL_REAL"), SQL_REAL, SQL_CONVERT_REAL, SQL_CVT_REAL},
    {DT("SQL_SMALLINT"), SQL_SMALLINT, SQL_CONVERT_SMALLINT, SQL_CVT_SMALLINT},
    {DT("SQL_TIME"), SQL_TIME, SQL_CONVERT_TIME, SQL_CVT_TIME},
    {DT("SQL_TIMESTAMP"), SQL_TIMESTAMP, SQL_CONVERT_TIMESTAMP, SQL_CVT_TIMESTAMP},
    {DT("SQL_TINYINT"), SQL_TINYINT, SQL_CONVERT_TINYINT, SQL_CVT_TINYINT},
    {DT("SQL_VARBINARY"), SQL_VARBINARY, SQL_CONVERT_VARBINARY, SQL_CVT_VARBINARY},
    {DT("SQL_VARCHAR"), SQL_VARCHAR, SQL_CONVERT_VARCHAR, SQL_CVT_VARCHAR},
};

constexpr BitName kIntervals[] = {
    {DT("Second Fraction"), SQL_FN_TSI_FRAC_SECOND},
    {DT("Second"), SQL_FN_TSI_SECOND},
    {DT("Minute"), SQL_FN_TSI_MINUTE},
    {DT("Hour"), SQL_FN_TSI_HOUR},
    {DT("Day"), SQL_FN_TSI_DAY},
    {DT("Week"), SQL_FN_TSI_WEEK},
    {DT("Month"), SQL_FN_TSI_MONTH},
    {DT("Quarter"), SQL_FN_TSI_QUARTER},
    {DT("Year"), SQL_FN_TSI_YEAR},
};

// The ODBC 2.x reserved keyword list (sqlext.h's SQL_ODBC_KEYWORDS, where a
// missing comma runs ROWS and SCHEMA together; here they are two keywords).
constexpr const TChar* kOdbcKeywords = DT(
    "ABSOLUTE,ACTION,ADA,ADD,ALL,ALLOCATE,ALTER,AND,ANY,ARE,AS,ASC,ASSERTION,AT,AUTHORIZATION,AVG,BEGIN,")
    DT("BETWEEN,BIT,BIT_LENGTH,BOTH,BY,CASCADE,CASCADED,CASE,CAST,CATALOG,CHAR,CHAR_LENGTH,CHARACTER,") DT(
        "CHARACTER_LENGTH,CHECK,CLOSE,COALESCE,COLLATE,COLLATION,COLUMN,COMMIT,CONNECT,CONNECTION,CONSTRAINT,")
        DT("CONSTRAINTS,CONTINUE,CONVERT,CORRESPONDING,COUNT,CREATE,CROSS,CURRENT,CURRENT_DATE,CURRENT_TIME,") DT(
            "CURRENT_TIMESTAMP,CURRENT_USER,CURSOR,DATE,DAY,DEALLOCATE,DEC,DECIMAL,DECLARE,DEFAULT,DEFERRABLE,")
            DT("DEFERRED,DELETE,DESC,DESCRIBE,DESCRIPTOR,DIAGNOSTICS,DISCONNECT,DISTINCT,DOMAIN,DOUBLE,DROP,ELSE,") DT(
                "END,END-EXEC,ESCAPE,EXCEPT,EXCEPTION,EXEC,EXECUTE,EXISTS,EXTERNAL,EXTRACT,FALSE,FETCH,FIRST,FLOAT,")
                DT("FOR,FOREIGN,FORTRAN,FOUND,FROM,FULL,GET,GLOBAL,GO,GOTO,GRANT,GROUP,HAVING,HOUR,IDENTITY,IMMEDIATE,")
                    DT("IN,INCLUDE,INDEX,INDICATOR,INITIALLY,INNER,INPUT,INSENSITIVE,INSERT,INT,INTEGER,INTERSECT,"
                       "INTERVAL,")
                        DT("INTO,IS,ISOLATION,JOIN,KEY,LANGUAGE,LAST,LEADING,LEFT,LEVEL,LIKE,LOCAL,LOWER,MATCH,MAX,MIN,"
                           "MINUTE,")
                            DT("MODULE,MONTH,NAMES,NATIONAL,NATURAL,NCHAR,NEXT,NO,NONE,NOT,NULL,NULLIF,NUMERIC,OCTET_"
                               "LENGTH,OF,ON,")
                                DT("ONLY,OPEN,OPTION,OR,ORDER,OUTER,OUTPUT,OVERLAPS,PAD,PARTIAL,PASCAL,PLI,POSITION,"
                                   "PRECISION,PREPARE,")
                                    DT("PRESERVE,PRIMARY,PRIOR,PRIVILEGES,PROCEDURE,PUBLIC,READ,REAL,REFERENCES,"
                                       "RELATIVE,RESTRICT,REVOKE,")
                                        DT("RIGHT,ROLLBACK,ROWS,SCHEMA,SCROLL,SECOND,SECTION,SELECT,SESSION,SESSION_"
                                           "USER,SET,SIZE,SMALLINT,SOME,")
                                            DT("SPACE,SQL,SQLCA,SQLCODE,SQLERROR,SQLSTATE,SQLWARNING,SUBSTRING,SUM,"
                                               "SYSTEM_USER,TABLE,TEMPORARY,THEN,")
                                                DT("TIME,TIMESTAMP,TIMEZONE_HOUR,TIMEZONE_MINUTE,TO,TRAILING,"
                                                   "TRANSACTION,TRANSLATE,TRANSLATION,TRIM,")
                                                    DT("TRUE,UNION,UNIQUE,UNKNOWN,UPDATE,UPPER,USAGE,USER,USING,VALUE,"
                                                       "VALUES,VARCHAR,VARYING,VIEW,WHEN,")
                                                        DT("WHENEVER,WHERE,WITH,WORK,WRITE,YEAR,ZONE");

}  // namespace

std::span<const ApiFunction> ApiFunctions() { return kApiFunctions; }
std::span<const ScalarGroup> ScalarGroups() { return kScalarGroups; }
std::span<const SqlTypeName> SqlTypes() { return kSqlTypes; }
std::span<const BitName> IntervalNames() { return kIntervals; }
const TChar* OdbcReservedKeywords() { return kOdbcKeywords; }

const SqlTypeName* FindSqlType(int32_t sqlType) {
  for (const SqlTypeName& type : kSqlTypes)
    if (type.sqlType == sqlType) return &type;
  return nullptr;
}

TString CodeText(std::span<const CodeName> table, int32_t code) {
  for (const CodeName& entry : table)
    if (entry.code == code) return entry.name;
  return {};
}

TString YesNoText(const TString& answer) {
  if (answer == DT("Y")) return DT("Yes");
  if (answer == DT("N")) return DT("No");
  return answer;
}

TString SupportedText(const TString& answer) {
  if (answer == DT("Y")) return DT("Supported");
  if (answer == DT("N")) return DT("Not Supported");
  return answer;
}

TString NumberOrNone(uint32_t value) {
  if (value == 0) return DT("<none>");
  return Format(DT("%u"), value);
}

std::vector<TString> SplitKeywords(TStringView list) {
  std::vector<TString> keywords;
  if (list.empty()) return keywords;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(DT(','), start);
    keywords.emplace_back(list.substr(start, comma == TStringView::npos ? TStringView::npos : comma - start));
    if (comma == TStringView::npos) break;
    start = comma + 1;
  }
  return keywords;
}

}  // namespace dossel::driverinfo
