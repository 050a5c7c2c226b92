#include "driverinfo/page_tables.h"

#include <algorithm>
#include <iterator>

#include "db/odbc_constants.h"

namespace dossel::driverinfo {
namespace {

using enum FieldKind;
using enum Rule;

// The words of the answer codes.
constexpr CodeName kApiConformance[] = {{0, DT("Core")}, {1, DT("Level 1")}, {2, DT("Level 2")}};
constexpr CodeName kSqlConformance[] = {{0, DT("Minimum")}, {1, DT("Core")}, {2, DT("Extended")}};
constexpr CodeName kSagCli[] = {{0, DT("No")}, {1, DT("Yes")}};
constexpr CodeName kFileUsage[] = {
    {0, DT("<n/a>, Driver not single-tier")}, {1, DT("Files are Tables")}, {2, DT("Files are Qualifiers")}};
constexpr TextWords kReadOnly[] = {{DT("Y"), DT("Data source is read-only")},
                                   {DT("N"), DT("Data source is read-write")}};
constexpr CodeName kCorrelation[] = {
    {0, DT("Not Supported")}, {1, DT("Supported, table names must be different")}, {2, DT("Supported")}};
constexpr CodeName kGroupBy[] = {{0, DT("GROUP BY Not Supported")},
                                 {1, DT("GROUP BY Equals SELECT")},
                                 {2, DT("GROUP BY Contains SELECT")},
                                 {3, DT("No Relation")}};
constexpr TextWords kOuterJoins[] = {
    {DT("N"), DT("No")}, {DT("Y"), DT("Yes")}, {DT("P"), DT("Partial")}, {DT("F"), DT("Full")}};
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

// Each bitmask twice: the report's names in its order (some with the blank
// that follows the report's "-"), and the page's check boxes in theirs.
constexpr BitName kAlterTable[] = {{DT(" ADD"), 1}, {DT("DROP"), 2}};
constexpr BitName kAlterTableBoxes[] = {{DT("ADD Column"), SQL_AT_ADD_COLUMN}, {DT("DROP Column"), SQL_AT_DROP_COLUMN}};
constexpr BitName kPositionedStatements[] = {{DT(" Delete"), 1}, {DT("Update"), 2}, {DT("Select for Update"), 4}};
constexpr BitName kPositionedStatementBoxes[] = {{DT("Delete"), SQL_PS_POSITIONED_DELETE},
                                                 {DT("Update"), SQL_PS_POSITIONED_UPDATE},
                                                 {DT("Select for Update"), SQL_PS_SELECT_FOR_UPDATE}};
constexpr BitName kSubqueries[] = {
    {DT(" Correlated"), 16}, {DT("Comparison"), 1}, {DT("EXISTS"), 2}, {DT("IN"), 4}, {DT("Quantified"), 8}};
constexpr BitName kSubqueryBoxes[] = {{DT("Correlated"), SQL_SQ_CORRELATED_SUBQUERIES},
                                      {DT("Comparison"), SQL_SQ_COMPARISON},
                                      {DT("EXISTS"), SQL_SQ_EXISTS},
                                      {DT("IN"), SQL_SQ_IN},
                                      {DT("Quantified"), SQL_SQ_QUANTIFIED}};
constexpr BitName kUnions[] = {{DT(" UNION"), 1}, {DT("UNION with ALL"), 2}};
constexpr BitName kUnionBoxes[] = {{DT("UNION"), SQL_U_UNION}, {DT("UNION with ALL"), SQL_U_UNION_ALL}};
constexpr BitName kIsolationLevels[] = {
    {DT("Read Commit"), 2}, {DT("Read Uncommit"), 1}, {DT("Repeat Read"), 4}, {DT("Serializable"), 8}};
constexpr BitName kIsolationLevelBoxes[] = {{DT("Read Uncommitted"), SQL_TXN_READ_UNCOMMITTED},
                                            {DT("Read Committed"), SQL_TXN_READ_COMMITTED},
                                            {DT("Repeatable Read"), SQL_TXN_REPEATABLE_READ},
                                            {DT("Serializable"), SQL_TXN_SERIALIZABLE}};
constexpr BitName kBookmarkPersistence[] = {{DT("Close"), 1},        {DT("Delete"), 2},  {DT("Drop"), 4},
                                            {DT("Other HSTMT"), 32}, {DT("Scroll"), 64}, {DT("Transaction"), 8},
                                            {DT("Update"), 16}};
constexpr BitName kBookmarkPersistenceBoxes[] = {{DT("Close"), SQL_BP_CLOSE},
                                                 {DT("Delete"), SQL_BP_DELETE},
                                                 {DT("Drop"), SQL_BP_DROP},
                                                 {DT("Scroll"), SQL_BP_SCROLL},
                                                 {DT("Transaction"), SQL_BP_TRANSACTION},
                                                 {DT("Update"), SQL_BP_UPDATE},
                                                 {DT("Other HSTMT"), SQL_BP_OTHER_HSTMT}};
constexpr BitName kLockTypes[] = {{DT("Exclusive"), 2}, {DT("No Change"), 1}, {DT("Unlock"), 4}};
constexpr BitName kLockTypeBoxes[] = {
    {DT("No Change"), SQL_LCK_NO_CHANGE}, {DT("Exclusive"), SQL_LCK_EXCLUSIVE}, {DT("Unlock"), SQL_LCK_UNLOCK}};
constexpr BitName kStaticSensitivity[] = {{DT("Additions"), 1}, {DT("Deletions"), 2}, {DT("Updates"), 4}};
constexpr BitName kStaticSensitivityBoxes[] = {
    {DT("Additions"), SQL_SS_ADDITIONS}, {DT("Deletions"), SQL_SS_DELETIONS}, {DT("Updates"), SQL_SS_UPDATES}};
constexpr BitName kFetchDirection[] = {{DT("Absolute"), 16}, {DT("Bookmark"), 128}, {DT("First"), 2},
                                       {DT("Last"), 4},      {DT("Next"), 1},       {DT("Prior"), 8},
                                       {DT("Relative"), 32}};
constexpr BitName kFetchDirectionBoxes[] = {
    {DT("Next"), SQL_FD_FETCH_NEXT},         {DT("First"), SQL_FD_FETCH_FIRST},
    {DT("Last"), SQL_FD_FETCH_LAST},         {DT("Prior"), SQL_FD_FETCH_PRIOR},
    {DT("Absolute"), SQL_FD_FETCH_ABSOLUTE}, {DT("Relative"), SQL_FD_FETCH_RELATIVE},
    {DT("Bookmark"), SQL_FD_FETCH_BOOKMARK}};
constexpr BitName kGetDataExtensions[] = {
    {DT("Any Column"), 1}, {DT("Any Order"), 2}, {DT("Block"), 4}, {DT("Bound"), 8}};
constexpr BitName kGetDataExtensionBoxes[] = {{DT("Any Column"), SQL_GD_ANY_COLUMN},
                                              {DT("Any Order"), SQL_GD_ANY_ORDER},
                                              {DT("Block"), SQL_GD_BLOCK},
                                              {DT("Bound"), SQL_GD_BOUND}};
constexpr BitName kPositionedOperations[] = {
    {DT("Add"), 16}, {DT("Delete"), 8}, {DT("Position"), 1}, {DT("Refresh"), 2}, {DT("Update"), 4}};
constexpr BitName kPositionedOperationBoxes[] = {{DT("Position"), SQL_POS_POSITION},
                                                 {DT("Refresh"), SQL_POS_REFRESH},
                                                 {DT("Update"), SQL_POS_UPDATE},
                                                 {DT("Delete"), SQL_POS_DELETE},
                                                 {DT("Add"), SQL_POS_ADD}};
constexpr BitName kScrollConcurrency[] = {
    {DT("Lock"), 2}, {DT("Opt/RowVer"), 4}, {DT("Opt/Values"), 8}, {DT("Read Only"), 1}};
constexpr BitName kScrollConcurrencyBoxes[] = {{DT("Read Only"), SQL_SCCO_READ_ONLY},
                                               {DT("Lock"), SQL_SCCO_LOCK},
                                               {DT("Opt./RowVer"), SQL_SCCO_OPT_ROWVER},
                                               {DT("Opt./Values"), SQL_SCCO_OPT_VALUES}};
constexpr BitName kScrollOptions[] = {
    {DT("Dynamic"), 4}, {DT("Forward Only"), 1}, {DT("Keyset Driven"), 2}, {DT("Mixed"), 8}, {DT("Static"), 16}};
constexpr BitName kScrollOptionBoxes[] = {{DT("Forward Only"), SQL_SO_FORWARD_ONLY},
                                          {DT("Static"), SQL_SO_STATIC},
                                          {DT("Keyset Driven"), SQL_SO_KEYSET_DRIVEN},
                                          {DT("Dynamic"), SQL_SO_DYNAMIC},
                                          {DT("Mixed"), SQL_SO_MIXED}};
constexpr BitName kUsage[] = {
    {DT("DML Stmt"), 1}, {DT("Index Def"), 8}, {DT("Priv Def"), 16}, {DT("Proc Invoke"), 2}, {DT("Table Def"), 4}};
constexpr BitName kUsageBoxes[] = {{DT("DML Stmt."), SQL_OU_DML_STATEMENTS},
                                   {DT("Proc. Invocation"), SQL_OU_PROCEDURE_INVOCATION},
                                   {DT("Table Def."), SQL_OU_TABLE_DEFINITION},
                                   {DT("Index Def."), SQL_OU_INDEX_DEFINITION},
                                   {DT("Privilege Def."), SQL_OU_PRIVILEGE_DEFINITION}};

// Shorthands for the common rows: a value by its rule, a value in words, a
// limit and a check-box group; `end` closes the report line.
constexpr const TChar* kLineEnd = DT("\n");
constexpr bool k16Bits = false;
constexpr bool k32Bits = true;

constexpr FieldSpec Value(const TChar* label, uint16_t info, Rule rule, const TChar* report,
                          const TChar* end = kLineEnd) {
  return {.label = label, .info = info, .rule = rule, .report = report, .end = end};
}

constexpr FieldSpec Words(const TChar* label, uint16_t info, std::span<const CodeName> codes, const TChar* report) {
  return {.label = label, .info = info, .rule = kCodeWords, .codes = codes, .report = report};
}

constexpr FieldSpec Words(const TChar* label, uint16_t info, std::span<const TextWords> answers, const TChar* report) {
  return {.label = label, .info = info, .rule = kTextWords, .answers = answers, .report = report};
}

constexpr FieldSpec Limit(uint16_t info, const TChar* report, bool is32 = k16Bits, const TChar* end = kLineEnd) {
  return {.info = info, .rule = kNumberOrNone, .is32 = is32, .report = report, .end = end};
}

constexpr FieldSpec Checks(const TChar* label, uint16_t info, std::span<const BitName> boxes, int boxColumns,
                           const TChar* report, std::span<const BitName> reportBits, const TChar* none = DT("<none>"),
                           const TChar* end = kLineEnd) {
  return {.kind = kChecks,
          .label = label,
          .info = info,
          .report = report,
          .end = end,
          .none = none,
          .reportBits = reportBits,
          .boxes = boxes,
          .boxColumns = boxColumns};
}

// A value a driver without transactions does not have.
constexpr FieldSpec Transactional(FieldSpec field) {
  field.needsTransactions = true;
  return field;
}

// The DBMS and driver lines each join two fields: "<name> version <version>".
constexpr FieldSpec kDriverInfoFields[] = {
    Value(DT("Data Source Name:"), SQL_DATA_SOURCE_NAME, kText, DT("     Data Source Name - ")),
    {.kind = kEdit, .label = DT("Database Name:"), .info = SQL_DATABASE_NAME, .report = DT("        Database Name - ")},
    Value(DT("User Name:"), SQL_USER_NAME, kText, DT("            User Name - ")),
    Value(DT("Server Name:"), SQL_SERVER_NAME, kText, DT("          Server Name - ")),
    Value(DT("DBMS Name:"), SQL_DBMS_NAME, kText, DT("                 DBMS - "), DT(" version ")),
    Value(DT("DBMS Version:"), SQL_DBMS_VER, kText, DT("")),
    Value(DT("Driver Name:"), SQL_DRIVER_NAME, kText, DT("               Driver - "), DT(" version ")),
    Value(DT("Driver Version:"), SQL_DRIVER_VER, kText, DT("")),
    Value(DT("Driver ODBC Version:"), SQL_DRIVER_ODBC_VER, kText, DT("     Driver ODBC Ver. - ")),
    Value(DT("ODBC Version:"), SQL_ODBC_VER, kText, DT("         ODBC Version - ")),
    Words(DT("ODBC API Conformance:"), SQL_ODBC_API_CONFORMANCE, kApiConformance, DT("      API Conformance - ")),
    Words(DT("ODBC SQL Conformance:"), SQL_ODBC_SQL_CONFORMANCE, kSqlConformance, DT("      SQL Conformance - ")),
    Words(DT("SAG Compliant:"), SQL_ODBC_SAG_CLI_CONFORMANCE, kSagCli, DT("  SAG CLI Conformance - ")),
    Value(DT("Optional IEF:"), SQL_ODBC_SQL_OPT_IEF, kSupported, DT("     Optional SQL IEF - ")),
    Value(DT("Active Connections:"), SQL_ACTIVE_CONNECTIONS, kNoLimit, DT("   Active Connections - ")),
    Value(DT("Active Statements:"), SQL_ACTIVE_STATEMENTS, kNoLimit, DT("    Active Statements - ")),
    Value(DT("Multiple Result Sets:"), SQL_MULT_RESULT_SETS, kSupported, DT(" Multiple Result Sets - ")),
    Words(DT("File Usage:"), SQL_FILE_USAGE, kFileUsage, DT("           File Usage - ")),
    Words(DT("Read-Write Status:"), SQL_DATA_SOURCE_READ_ONLY, kReadOnly, DT("    Read/Write Status - ")),
    Value(DT("Accessible Procedures:"), SQL_ACCESSIBLE_PROCEDURES, kYesNo, DT("Accessible Procedures - ")),
    Value(DT("Accessible Tables:"), SQL_ACCESSIBLE_TABLES, kYesNo, DT("    Accessible Tables - "), DT("\n\n")),
};
// The page puts the database's path, which may be long, in an edit of its
// own after the user and the server.
constexpr uint8_t kDriverInfoLayout[] = {0, 2, 3, 1};

constexpr FieldSpec kSupportedSqlFields[] = {
    Checks(DT("ALTER TABLE support"), SQL_ALTER_TABLE, kAlterTableBoxes, 2, DT("  ALTER TABLE Support -"), kAlterTable,
           DT(" <none>")),
    Value(DT("Column Aliases:"), SQL_COLUMN_ALIAS, kSupported, DT("       Column Aliases - ")),
    Words(DT("Correlation Names:"), SQL_CORRELATION_NAME, kCorrelation, DT("    Correlation Names - ")),
    Value(DT("Expressions in ORDER BY:"), SQL_EXPRESSIONS_IN_ORDERBY, kSupported, DT(" ORDER BY Expressions - ")),
    Words(DT("GROUP BY and Non-Aggregated Columns:"), SQL_GROUP_BY, kGroupBy, DT("GROUP BY NonAggregate - ")),
    Value(DT("LIKE Escape Character:"), SQL_LIKE_ESCAPE_CLAUSE, kSupported, DT("LIKE Escape Character - ")),
    Value(DT("ORDER BY Columns Must Be In SELECT:"), SQL_ORDER_BY_COLUMNS_IN_SELECT, kYesNo,
          DT("   ORDER BY in SELECT - ")),
    Words(DT("Outer Join Support:"), SQL_OUTER_JOINS, kOuterJoins, DT("   Outer Join Support - ")),
    Checks(DT("Positioned Statements"), SQL_POSITIONED_STATEMENTS, kPositionedStatementBoxes, 3,
           DT("Positioned Statements -"), kPositionedStatements, DT(" <none>")),
    Checks(DT("Subquery Support"), SQL_SUBQUERIES, kSubqueryBoxes, 3, DT("     Subquery Support -"), kSubqueries),
    Checks(DT("UNION Support"), SQL_UNION, kUnionBoxes, 2, DT("        UNION Support -"), kUnions, DT("<none>"),
           DT("\n\n")),
};

constexpr FieldSpec kIdentifierFields[] = {
    {.kind = kReservedKeywords, .label = DT("ODBC Keywords:")},
    {.kind = kKeywords,
     .label = DT("Driver-Specific Keywords:"),
     .info = SQL_KEYWORDS,
     .report = DT("Driver-Specific Keywords:\n-------------------------\n"),
     .end = DT("\n\n")},
    Words(DT("Identifier Case:"), SQL_IDENTIFIER_CASE, kIdentifierCase, DT("          Identifier Case - ")),
    Words(DT("Quoted Identifier Case:"), SQL_QUOTED_IDENTIFIER_CASE, kIdentifierCase,
          DT("   Quoted Identifier Case - ")),
    Value(DT("Search Pattern Escape:"), SQL_SEARCH_PATTERN_ESCAPE, kText, DT("    Search Pattern Escape - ")),
    Value(DT("Identifier Quote Character:"), SQL_IDENTIFIER_QUOTE_CHAR, kText, DT("    Identifier Quote Char - ")),
    Words(DT("Qualifier Location:"), SQL_QUALIFIER_LOCATION, kQualifierLocation, DT("       Qualifier Location - ")),
    Value(DT("Qualifier Name Separator:"), SQL_QUALIFIER_NAME_SEPARATOR, kText, DT("      Qualifier Separator - ")),
    Value(DT("Owner Term:"), SQL_OWNER_TERM, kText, DT("               Owner Term - ")),
    Value(DT("Procedure Term:"), SQL_PROCEDURE_TERM, kText, DT("           Procedure Term - ")),
    Value(DT("Qualifier Term:"), SQL_QUALIFIER_TERM, kText, DT("           Qualifier Term - ")),
    Value(DT("Table Term:"), SQL_TABLE_TERM, kText, DT("                TableTerm - "), DT("\n\n")),
    // The section's trailer ends the last line of characters; an empty
    // answer gets a blank line more.
    {.kind = kLongText,
     .label = DT("Special Characters:"),
     .info = SQL_SPECIAL_CHARACTERS,
     .report = DT("Special Characters:\n-------------------\n"),
     .end = DT(""),
     .none = DT("<none>\n\n")},
};

// The limits' captions are the names of their report lines.
constexpr FieldSpec kLimitFields[] = {
    Limit(SQL_MAX_BINARY_LITERAL_LEN, DT("Max Binary Literal Length - "), k32Bits),
    Limit(SQL_MAX_CHAR_LITERAL_LEN, DT("  Max Char Literal Length - "), k32Bits),
    Limit(SQL_MAX_COLUMN_NAME_LEN, DT("   Max Column Name Length - ")),
    Limit(SQL_MAX_COLUMNS_IN_GROUP_BY, DT("  Max Columns in GROUP BY - ")),
    Limit(SQL_MAX_COLUMNS_IN_INDEX, DT("     Max Columns in Index - ")),
    Limit(SQL_MAX_COLUMNS_IN_ORDER_BY, DT("  Max Columns in ORDER BY - ")),
    Limit(SQL_MAX_COLUMNS_IN_SELECT, DT("    Max Columns in SELECT - ")),
    Limit(SQL_MAX_COLUMNS_IN_TABLE, DT("     Max Columns in Table - ")),
    Limit(SQL_MAX_CURSOR_NAME_LEN, DT("   Max Cursor Name Length - ")),
    Limit(SQL_MAX_INDEX_SIZE, DT("           Max Index Size - "), k32Bits),
    Limit(SQL_MAX_OWNER_NAME_LEN, DT("    Max Owner Name Length - ")),
    Limit(SQL_MAX_PROCEDURE_NAME_LEN, DT("Max Procedure Name Length - ")),
    Limit(SQL_MAX_QUALIFIER_NAME_LEN, DT("Max Qualifier Name Length - ")),
    Limit(SQL_MAX_ROW_SIZE, DT("             Max Row Size - "), k32Bits),
    Value(nullptr, SQL_MAX_ROW_SIZE_INCLUDES_LONG, kYesNo, DT("Max Rowsize Includes Long - ")),
    Limit(SQL_MAX_STATEMENT_LEN, DT("     Max Statement Length - "), k32Bits),
    Limit(SQL_MAX_TABLE_NAME_LEN, DT("    Max Table Name Length - ")),
    Limit(SQL_MAX_TABLES_IN_SELECT, DT("     Max Tables In SELECT - ")),
    Limit(SQL_MAX_USER_NAME_LEN, DT("     Max User Name Length - "), k16Bits, DT("\n\n")),
    {.kind = kIntervals,
     .label = DT("Timestamp Add Intervals:"),
     .info = SQL_TIMEDATE_ADD_INTERVALS,
     .report = DT("Timestamp Add Intervals:"),
     .end = DT("\n\n"),
     .none = DT(""),
     .gate = SQL_FN_TD_TIMESTAMPADD},
    {.kind = kIntervals,
     .label = DT("Timestamp Diff. Intervals:"),
     .info = SQL_TIMEDATE_DIFF_INTERVALS,
     .report = DT("Timestamp Diff Intervals:"),
     .end = DT("\n\n"),
     .none = DT(""),
     .gate = SQL_FN_TD_TIMESTAMPDIFF},
};

constexpr FieldSpec kMisc1Fields[] = {
    Words(DT("Transaction Capabilities:"), SQL_TXN_CAPABLE, kTxnCapable, DT(" Transaction Capabilities - ")),
    Transactional(Words(DT("Cursor Commit Behavior:"), SQL_CURSOR_COMMIT_BEHAVIOR, kCursorBehavior,
                        DT("   Cursor Commit Behavior - "))),
    Transactional(Words(DT("Cursor Rollback Behavior:"), SQL_CURSOR_ROLLBACK_BEHAVIOR, kCursorBehavior,
                        DT(" Cursor Rollback Behavior - "))),
    Transactional(Checks(DT("Transaction Isolation Levels"), SQL_TXN_ISOLATION_OPTION, kIsolationLevelBoxes, 2,
                         DT("  Trans. Isolation Levels - "), kIsolationLevels)),
    {.label = DT("Default Transaction Isolation Level:"),
     .info = SQL_DEFAULT_TXN_ISOLATION,
     .rule = kCodeWords,
     .is32 = true,
     .codes = kDefaultIsolation,
     .report = DT(" Default Trans. Isolation - "),
     .needsTransactions = true},
    Transactional(Value(DT("Multiple Active Transactions:"), SQL_MULTIPLE_ACTIVE_TXN, kSupported,
                        DT("   Multiple Active Trans. - "))),
    Transactional(Checks(DT("Bookmark Persistence"), SQL_BOOKMARK_PERSISTENCE, kBookmarkPersistenceBoxes, 3,
                         DT("     Bookmark Persistance - "), kBookmarkPersistence)),
    Transactional(
        Checks(DT("Lock Types"), SQL_LOCK_TYPES, kLockTypeBoxes, 3, DT("               Lock Types - "), kLockTypes)),
    Transactional(Checks(DT("Static Sensitivity"), SQL_STATIC_SENSITIVITY, kStaticSensitivityBoxes, 3,
                         DT("       Static Sensitivity - "), kStaticSensitivity, DT("<none>"), DT("\n\n"))),
};

constexpr FieldSpec kMisc2Fields[] = {
    Value(DT("Need Long Data Length:"), SQL_NEED_LONG_DATA_LEN, kYesNo, DT("    Need Long Data Length - ")),
    Words(DT("Non-Nullable Columns:"), SQL_NON_NULLABLE_COLUMNS, kNonNullable, DT("     Non-Nullable Columns - ")),
    Words(DT("Null Concatenation:"), SQL_CONCAT_NULL_BEHAVIOR, kConcatNull, DT("       Null Concatenation - ")),
    Words(DT("Null Collation:"), SQL_NULL_COLLATION, kNullCollation, DT("           Null Collation - ")),
    Value(DT("Procedures:"), SQL_PROCEDURES, kSupported, DT("               Procedures - ")),
    Value(DT("Row Updates:"), SQL_ROW_UPDATES, kYesNo, DT("              Row Updates - ")),
    Checks(DT("Fetch Direction"), SQL_FETCH_DIRECTION, kFetchDirectionBoxes, 2, DT("          Fetch Direction - "),
           kFetchDirection),
    Checks(DT("GetData Extensions"), SQL_GETDATA_EXTENSIONS, kGetDataExtensionBoxes, 2,
           DT("      Get Data Extensions - "), kGetDataExtensions),
    Checks(DT("Positioned Operations"), SQL_POS_OPERATIONS, kPositionedOperationBoxes, 2,
           DT("    Positioned Operations - "), kPositionedOperations),
    Checks(DT("Scroll Concurrency"), SQL_SCROLL_CONCURRENCY, kScrollConcurrencyBoxes, 2,
           DT("       Scroll Concurrency - "), kScrollConcurrency),
    Checks(DT("Scroll Options"), SQL_SCROLL_OPTIONS, kScrollOptionBoxes, 2, DT("           Scroll Options - "),
           kScrollOptions),
    Checks(DT("Owner Usage"), SQL_OWNER_USAGE, kUsageBoxes, 2, DT("              Owner Usage - "), kUsage),
    Checks(DT("Qualifier Usage"), SQL_QUALIFIER_USAGE, kUsageBoxes, 2, DT("          Qualifier Usage - "), kUsage),
};

constexpr PageSpec kPages[] = {
    {.id = PageId::kDriverInfo,
     .title = DT("Driver Information"),
     .heading = DT("Driver Info\n-----------\n"),
     .fields = kDriverInfoFields,
     .layoutFirst = kDriverInfoLayout,
     .valuePairs = 2},
    {.id = PageId::kFunctions, .title = DT("Functions")},
    {.id = PageId::kSupportedSql,
     .title = DT("Supported SQL"),
     .heading = DT("Supported SQL\n-------------\n"),
     .fields = kSupportedSqlFields},
    {.id = PageId::kDataTypes, .title = DT("Data Types")},
    {.id = PageId::kIdentifiers,
     .title = DT("Identifiers"),
     .heading = DT("Identifiers\n-----------\n\n"),
     .fields = kIdentifierFields,
     .trailer = DT("\n")},
    {.id = PageId::kLimits,
     .title = DT("Limits"),
     .heading = DT("Limits\n------\n\n"),
     .fields = kLimitFields,
     .trailer = DT("\n"),
     .valuePairs = 2,
     .stackLists = true},
    {.id = PageId::kMisc1,
     .title = DT("Misc. 1"),
     .heading = DT("Miscellaneous\n-------------\n\n"),
     .fields = kMisc1Fields},
    // The Misc. 2 section has no heading of its own.
    {.id = PageId::kMisc2,
     .title = DT("Misc. 2"),
     .fields = kMisc2Fields,
     .trailer = DT("\n"),
     .valuePairs = 2,
     .groupColumns = 3},
};

constexpr bool InIdOrder() {
  for (size_t i = 0; i < std::size(kPages); ++i)
    if (static_cast<size_t>(kPages[i].id) != i) return false;
  return true;
}
static_assert(InIdOrder(), "Page() indexes the pages by id");

}  // namespace

std::span<const PageSpec> Pages() { return kPages; }

const PageSpec& Page(PageId id) { return kPages[static_cast<size_t>(id)]; }

TString FieldCaption(const FieldSpec& field) {
  if (field.label) return field.label;
  TStringView name = field.report;
  name = name.substr(0, name.find(DT(" - ")));
  name.remove_prefix(std::min(name.find_first_not_of(DT(' ')), name.size()));
  return TString(name) + DT(":");
}

}  // namespace dossel::driverinfo
