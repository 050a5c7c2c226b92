#include "driverinfo/section_values.h"

#include <sql.h>
#include <sqlext.h>

namespace dossel::driverinfo {
namespace {

constexpr CodeName kApiConformance[] = {{0, DT("Core")}, {1, DT("Level 1")}, {2, DT("Level 2")}};
constexpr CodeName kSqlConformance[] = {{0, DT("Minimum")}, {1, DT("Core")}, {2, DT("Extended")}};
constexpr CodeName kSagCli[] = {{0, DT("No")}, {1, DT("Yes")}};
constexpr CodeName kFileUsage[] = {
    {0, DT("<n/a>, Driver not single-tier")}, {1, DT("Files are Tables")}, {2, DT("Files are Qualifiers")}};
constexpr CodeName kCorrelation[] = {
    {0, DT("Not Supported")}, {1, DT("Supported, table names must be different")}, {2, DT("Supported")}};
constexpr CodeName kGroupBy[] = {{0, DT("GROUP BY Not Supported")},
                                 {1, DT("GROUP BY Equals SELECT")},
                                 {2, DT("GROUP BY Contains SELECT")},
                                 {3, DT("No Relation")}};
constexpr CodeName kIdentifierCase[] = {{1, DT("Upper")}, {2, DT("Lower")}, {3, DT("Sensitive")}, {4, DT("Mixed")}};
constexpr CodeName kQualifierLocation[] = {{1, DT("Start")}, {2, DT("End")}};
constexpr CodeName kTxnCapable[] = {{0, DT("None")},
                                    {1, DT("DDL statements cause an error")},
                                    {2, DT("DDL and DML statements supported")},
                                    {3, DT("DDL statements cause a commit")},
                                    {4, DT("DDL statements are ignored")}};
constexpr CodeName kCursorBehavior[] = {
    {0, DT("Close Cursors, Delete Statements")}, {1, DT("Close Cursors")}, {2, DT("Preserve Cursors")}};
constexpr CodeName kDefaultIsolation[] = {
    {1, DT("Read Uncommitted")}, {2, DT("Read Committed")}, {4, DT("Repeatable Read")}, {8, DT("Serializable")}};
constexpr CodeName kNonNullable[] = {{0, DT("Not Supported")}, {1, DT("Supported")}};
constexpr CodeName kConcatNull[] = {{0, DT("Result is NULL")}, {1, DT("Result is not NULL")}};
constexpr CodeName kNullCollation[] = {{0, DT("High")}, {1, DT("Low")}, {2, DT("Start")}, {4, DT("End")}};
constexpr CodeName kSearchable[] = {
    {0, DT("No")}, {1, DT("Only with LIKE")}, {2, DT("with all except LIKE")}, {3, DT("Yes")}};

constexpr BitName kAlterTable[] = {{DT(" ADD"), 1}, {DT("DROP"), 2}};
constexpr BitName kPositionedStatements[] = {{DT(" Delete"), 1}, {DT("Update"), 2}, {DT("Select for Update"), 4}};
constexpr BitName kSubqueries[] = {
    {DT(" Correlated"), 16}, {DT("Comparison"), 1}, {DT("EXISTS"), 2}, {DT("IN"), 4}, {DT("Quantified"), 8}};
constexpr BitName kUnions[] = {{DT(" UNION"), 1}, {DT("UNION with ALL"), 2}};
constexpr BitName kIsolationLevels[] = {
    {DT("Read Commit"), 2}, {DT("Read Uncommit"), 1}, {DT("Repeat Read"), 4}, {DT("Serializable"), 8}};
constexpr BitName kBookmarkPersistence[] = {{DT("Close"), 1},        {DT("Delete"), 2},  {DT("Drop"), 4},
                                            {DT("Other HSTMT"), 32}, {DT("Scroll"), 64}, {DT("Transaction"), 8},
                                            {DT("Update"), 16}};
constexpr BitName kLockTypes[] = {{DT("Exclusive"), 2}, {DT("No Change"), 1}, {DT("Unlock"), 4}};
constexpr BitName kStaticSensitivity[] = {{DT("Additions"), 1}, {DT("Deletions"), 2}, {DT("Updates"), 4}};
constexpr BitName kFetchDirection[] = {{DT("Absolute"), 16}, {DT("Bookmark"), 128}, {DT("First"), 2},
                                       {DT("Last"), 4},      {DT("Next"), 1},       {DT("Prior"), 8},
                                       {DT("Relative"), 32}};
constexpr BitName kGetDataExtensions[] = {
    {DT("Any Column"), 1}, {DT("Any Order"), 2}, {DT("Block"), 4}, {DT("Bound"), 8}};
constexpr BitName kPositionedOperations[] = {
    {DT("Add"), 16}, {DT("Delete"), 8}, {DT("Position"), 1}, {DT("Refresh"), 2}, {DT("Update"), 4}};
constexpr BitName kScrollConcurrency[] = {
    {DT("Lock"), 2}, {DT("Opt/RowVer"), 4}, {DT("Opt/Values"), 8}, {DT("Read Only"), 1}};
constexpr BitName kScrollOptions[] = {
    {DT("Dynamic"), 4}, {DT("Forward Only"), 1}, {DT("Keyset Driven"), 2}, {DT("Mixed"), 8}, {DT("Static"), 16}};
constexpr BitName kUsage[] = {
    {DT("DML Stmt"), 1}, {DT("Index Def"), 8}, {DT("Priv Def"), 16}, {DT("Proc Invoke"), 2}, {DT("Table Def"), 4}};

constexpr LimitLine kLimitLines[kLimitCount] = {
    {DT("Max Binary Literal Length - %s\n"), SQL_MAX_BINARY_LITERAL_LEN, true},
    {DT("  Max Char Literal Length - %s\n"), SQL_MAX_CHAR_LITERAL_LEN, true},
    {DT("   Max Column Name Length - %s\n"), SQL_MAX_COLUMN_NAME_LEN, false},
    {DT("  Max Columns in GROUP BY - %s\n"), SQL_MAX_COLUMNS_IN_GROUP_BY, false},
    {DT("     Max Columns in Index - %s\n"), SQL_MAX_COLUMNS_IN_INDEX, false},
    {DT("  Max Columns in ORDER BY - %s\n"), SQL_MAX_COLUMNS_IN_ORDER_BY, false},
    {DT("    Max Columns in SELECT - %s\n"), SQL_MAX_COLUMNS_IN_SELECT, false},
    {DT("     Max Columns in Table - %s\n"), SQL_MAX_COLUMNS_IN_TABLE, false},
    {DT("   Max Cursor Name Length - %s\n"), SQL_MAX_CURSOR_NAME_LEN, false},
    {DT("           Max Index Size - %s\n"), SQL_MAX_INDEX_SIZE, true},
    {DT("    Max Owner Name Length - %s\n"), SQL_MAX_OWNER_NAME_LEN, false},
    {DT("Max Procedure Name Length - %s\n"), SQL_MAX_PROCEDURE_NAME_LEN, false},
    {DT("Max Qualifier Name Length - %s\n"), SQL_MAX_QUALIFIER_NAME_LEN, false},
    {DT("             Max Row Size - %s\n"), SQL_MAX_ROW_SIZE, true},
    {DT("Max Rowsize Includes Long - %s\n"), SQL_MAX_ROW_SIZE_INCLUDES_LONG, false},
    {DT("     Max Statement Length - %s\n"), SQL_MAX_STATEMENT_LEN, true},
    {DT("    Max Table Name Length - %s\n"), SQL_MAX_TABLE_NAME_LEN, false},
    {DT("     Max Tables In SELECT - %s\n"), SQL_MAX_TABLES_IN_SELECT, false},
    {DT("     Max User Name Length - %s\n\n"), SQL_MAX_USER_NAME_LEN, false},
};

// The words of a numeric answer; empty when the driver refused it.
TString Coded(const CInfoSnapshot& s, uint16_t info, std::span<const CodeName> table) {
  return s.HasNumber(info) ? CodeText(table, static_cast<int32_t>(s.Number(info))) : TString();
}

// "No Limit" for 0, else the number; empty when refused.
TString LimitOrNumber(const CInfoSnapshot& s, uint16_t info) {
  if (!s.HasNumber(info)) return {};
  return s.Number(info) == 0 ? TString(DT("No Limit")) : NumberOrNone(s.Number(info));
}

}  // namespace

DriverInfoValues MakeDriverInfo(const CInfoSnapshot& s) {
  DriverInfoValues v;
  if (!s.IsConnected()) return v;
  v.dataSourceName = s.Text(SQL_DATA_SOURCE_NAME);
  v.databaseName = s.Text(SQL_DATABASE_NAME);
  v.userName = s.Text(SQL_USER_NAME);
  v.serverName = s.Text(SQL_SERVER_NAME);
  v.dbmsName = s.Text(SQL_DBMS_NAME);
  v.dbmsVersion = s.Text(SQL_DBMS_VER);
  v.driverName = s.Text(SQL_DRIVER_NAME);
  v.driverVersion = s.Text(SQL_DRIVER_VER);
  v.driverOdbcVersion = s.Text(SQL_DRIVER_ODBC_VER);
  v.odbcVersion = s.Text(SQL_ODBC_VER);
  v.apiConformance = Coded(s, SQL_ODBC_API_CONFORMANCE, kApiConformance);
  v.sqlConformance = Coded(s, SQL_ODBC_SQL_CONFORMANCE, kSqlConformance);
  v.sagCliConformance = Coded(s, SQL_ODBC_SAG_CLI_CONFORMANCE, kSagCli);
  v.optionalIef = SupportedText(s.Text(SQL_ODBC_SQL_OPT_IEF));
  v.activeConnections = LimitOrNumber(s, SQL_ACTIVE_CONNECTIONS);
  v.activeStatements = LimitOrNumber(s, SQL_ACTIVE_STATEMENTS);
  v.multipleResultSets = SupportedText(s.Text(SQL_MULT_RESULT_SETS));
  v.fileUsage = Coded(s, SQL_FILE_USAGE, kFileUsage);
  const TString readOnly = s.Text(SQL_DATA_SOURCE_READ_ONLY);
  if (readOnly == DT("Y")) v.readWriteStatus = DT("Data source is read-only");
  if (readOnly == DT("N")) v.readWriteStatus = DT("Data source is read-write");
  v.accessibleProcedures = YesNoText(s.Text(SQL_ACCESSIBLE_PROCEDURES));
  v.accessibleTables = YesNoText(s.Text(SQL_ACCESSIBLE_TABLES));
  return v;
}

SupportedSqlValues MakeSupportedSql(const CInfoSnapshot& s) {
  SupportedSqlValues v;
  if (!s.IsConnected()) return v;
  v.alterTable = s.Number(SQL_ALTER_TABLE);
  v.columnAliases = SupportedText(s.Text(SQL_COLUMN_ALIAS));
  v.correlationNames = Coded(s, SQL_CORRELATION_NAME, kCorrelation);
  v.orderByExpressions = SupportedText(s.Text(SQL_EXPRESSIONS_IN_ORDERBY));
  v.groupBy = Coded(s, SQL_GROUP_BY, kGroupBy);
  v.likeEscape = SupportedText(s.Text(SQL_LIKE_ESCAPE_CLAUSE));
  v.orderByInSelect = YesNoText(s.Text(SQL_ORDER_BY_COLUMNS_IN_SELECT));
  const TString outer = s.Text(SQL_OUTER_JOINS);
  constexpr struct {
    const TChar* answer;
    const TChar* words;
  } kOuterJoins[] = {{DT("N"), DT("No")}, {DT("Y"), DT("Yes")}, {DT("P"), DT("Partial")}, {DT("F"), DT("Full")}};
  for (const auto& entry : kOuterJoins)
    if (outer == entry.answer) v.outerJoins = entry.words;
  v.positionedStatements = s.Number(SQL_POSITIONED_STATEMENTS);
  v.subqueries = s.Number(SQL_SUBQUERIES);
  v.unions = s.Number(SQL_UNION);
  return v;
}

IdentifierValues MakeIdentifiers(const CInfoSnapshot& s) {
  IdentifierValues v;
  if (!s.IsConnected()) return v;
  v.keywords = SplitKeywords(s.Text(SQL_KEYWORDS));
  v.identifierCase = Coded(s, SQL_IDENTIFIER_CASE, kIdentifierCase);
  v.quotedIdentifierCase = Coded(s, SQL_QUOTED_IDENTIFIER_CASE, kIdentifierCase);
  v.searchPatternEscape = s.Text(SQL_SEARCH_PATTERN_ESCAPE);
  v.identifierQuoteChar = s.Text(SQL_IDENTIFIER_QUOTE_CHAR);
  v.qualifierLocation = Coded(s, SQL_QUALIFIER_LOCATION, kQualifierLocation);
  v.qualifierSeparator = s.Text(SQL_QUALIFIER_NAME_SEPARATOR);
  v.ownerTerm = s.Text(SQL_OWNER_TERM);
  v.procedureTerm = s.Text(SQL_PROCEDURE_TERM);
  v.qualifierTerm = s.Text(SQL_QUALIFIER_TERM);
  v.tableTerm = s.Text(SQL_TABLE_TERM);
  v.specialCharacters = s.Text(SQL_SPECIAL_CHARACTERS);
  return v;
}

std::span<const LimitLine> LimitLines() { return kLimitLines; }

LimitValues MakeLimits(const CInfoSnapshot& s) {
  LimitValues v;
  if (!s.IsConnected()) return v;
  for (size_t i = 0; i < kLimitCount; ++i) {
    const LimitLine& line = kLimitLines[i];
    if (line.infoType == SQL_MAX_ROW_SIZE_INCLUDES_LONG)
      v.limits[i] = YesNoText(s.Text(line.infoType));
    else if (s.HasNumber(line.infoType))
      v.limits[i] = NumberOrNone(s.Number(line.infoType));
  }
  const uint32_t timeDate = s.Number(SQL_TIMEDATE_FUNCTIONS);
  v.addSupported = (timeDate & SQL_FN_TD_TIMESTAMPADD) != 0;
  v.diffSupported = (timeDate & SQL_FN_TD_TIMESTAMPDIFF) != 0;
  if (v.addSupported) v.addIntervals = s.Number(SQL_TIMEDATE_ADD_INTERVALS);
  if (v.diffSupported) v.diffIntervals = s.Number(SQL_TIMEDATE_DIFF_INTERVALS);
  return v;
}

Misc1Values MakeMisc1(const CInfoSnapshot& s) {
  Misc1Values v;
  if (!s.IsConnected()) return v;
  v.txnCapable = Coded(s, SQL_TXN_CAPABLE, kTxnCapable);
  // A driver without transactions has no commit behaviour or isolation, and
  // the reading stops before the cursor facts.
  if (s.HasNumber(SQL_TXN_CAPABLE) && s.Number(SQL_TXN_CAPABLE) == SQL_TC_NONE) {
    v.commitBehavior = v.rollbackBehavior = v.defaultIsolation = v.multipleActiveTxn = DT("<n/a>");
    return v;
  }
  v.commitBehavior = Coded(s, SQL_CURSOR_COMMIT_BEHAVIOR, kCursorBehavior);
  v.rollbackBehavior = Coded(s, SQL_CURSOR_ROLLBACK_BEHAVIOR, kCursorBehavior);
  v.isolationLevels = s.Number(SQL_TXN_ISOLATION_OPTION);
  v.defaultIsolation = Coded(s, SQL_DEFAULT_TXN_ISOLATION, kDefaultIsolation);
  v.multipleActiveTxn = SupportedText(s.Text(SQL_MULTIPLE_ACTIVE_TXN));
  v.bookmarkPersistence = s.Number(SQL_BOOKMARK_PERSISTENCE);
  v.lockTypes = s.Number(SQL_LOCK_TYPES);
  v.staticSensitivity = s.Number(SQL_STATIC_SENSITIVITY);
  return v;
}

Misc2Values MakeMisc2(const CInfoSnapshot& s) {
  Misc2Values v;
  if (!s.IsConnected()) return v;
  v.needLongDataLen = YesNoText(s.Text(SQL_NEED_LONG_DATA_LEN));
  v.nonNullableColumns = Coded(s, SQL_NON_NULLABLE_COLUMNS, kNonNullable);
  v.nullConcatenation = Coded(s, SQL_CONCAT_NULL_BEHAVIOR, kConcatNull);
  v.nullCollation = Coded(s, SQL_NULL_COLLATION, kNullCollation);
  v.procedures = SupportedText(s.Text(SQL_PROCEDURES));
  v.rowUpdates = YesNoText(s.Text(SQL_ROW_UPDATES));
  v.fetchDirection = s.Number(SQL_FETCH_DIRECTION);
  v.getDataExtensions = s.Number(SQL_GETDATA_EXTENSIONS);
  v.positionedOperations = s.Number(SQL_POS_OPERATIONS);
  v.scrollConcurrency = s.Number(SQL_SCROLL_CONCURRENCY);
  v.scrollOptions = s.Number(SQL_SCROLL_OPTIONS);
  v.ownerUsage = s.Number(SQL_OWNER_USAGE);
  v.qualifierUsage = s.Number(SQL_QUALIFIER_USAGE);
  return v;
}

namespace bits {
std::span<const BitName> AlterTable() { return kAlterTable; }
std::span<const BitName> PositionedStatements() { return kPositionedStatements; }
std::span<const BitName> Subqueries() { return kSubqueries; }
std::span<const BitName> Unions() { return kUnions; }
std::span<const BitName> IsolationLevels() { return kIsolationLevels; }
std::span<const BitName> BookmarkPersistence() { return kBookmarkPersistence; }
std::span<const BitName> LockTypes() { return kLockTypes; }
std::span<const BitName> StaticSensitivity() { return kStaticSensitivity; }
std::span<const BitName> FetchDirection() { return kFetchDirection; }
std::span<const BitName> GetDataExtensions() { return kGetDataExtensions; }
std::span<const BitName> PositionedOperations() { return kPositionedOperations; }
std::span<const BitName> ScrollConcurrency() { return kScrollConcurrency; }
std::span<const BitName> ScrollOptions() { return kScrollOptions; }
std::span<const BitName> Usage() { return kUsage; }
}  // namespace bits

TString SearchableText(int32_t searchable) { return CodeText(kSearchable, searchable); }

std::vector<TString> ConversionNames(const CInfoSnapshot& s, int32_t sqlType) {
  std::vector<TString> names;
  const SqlTypeName* type = FindSqlType(sqlType);
  if (!type) return names;
  const uint32_t mask = s.Number(type->convertInfo);
  for (const SqlTypeName& target : SqlTypes())
    if (mask & target.convertBit) names.emplace_back(target.name);
  return names;
}

}  // namespace dossel::driverinfo
