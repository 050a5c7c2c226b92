// The report's rules that the SQLite driver never shows, on answers chosen
// for the scripted driver: padding of function names, wrapping of keyword,
// special-character and conversion lists, bit lists with odd bits, a driver
// without transactions or without SQLGetTypeInfo, and no connection at all.

#include <gtest/gtest.h>

#include <string>

#include "db/db_connection.h"
#include "db/odbc_constants.h"
#include "driver_script.h"
#include "driverinfo/report_writer.h"
#include "scripted_connect.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using driverinfo::CInfoSnapshot;
using driverinfo::PageId;
using driverinfo::WriteSection;
using Value = DriverScript::Value;

class ReportScriptedTest : public ::testing::Test {
 protected:
  // Connects with the script and reads a snapshot, as the sheet does.
  CInfoSnapshot Read() {
    const std::string path = m_folder.File("script.txt");
    m_script.Save(path);
    const TString connect = FromUtf8(ScriptedDriverConnectString(path));
    EXPECT_TRUE(m_connection.OpenWithOptions(connect, db::kNoOdbcDialog));
    CInfoSnapshot snapshot;
    snapshot.Read(m_connection);
    return snapshot;
  }

  // The text between the line that starts with `from` and the next line that
  // starts with `to` (exclusive), or the rest of the report.
  static TString Between(const TString& report, const TString& from, const TString& to) {
    const size_t start = report.find(from);
    if (start == TString::npos) return DT("<missing>");
    const size_t end = to.empty() ? TString::npos : report.find(to, start + from.size());
    return report.substr(start, end == TString::npos ? TString::npos : end - start);
  }

  // A SQLGetTypeInfo row of the standard 19 columns.
  static std::vector<Value> TypeRow(const std::string& name, int type, Value precision = Value("10")) {
    return {name,
            std::to_string(type),
            precision,
            DriverScript::Null,
            DriverScript::Null,
            DriverScript::Null,
            "1",
            "0",
            "3",
            "0",
            "0",
            "0",
            name,
            "0",
            "0",
            std::to_string(type),
            DriverScript::Null,
            "10",
            DriverScript::Null};
  }

  ScratchFolder m_folder;
  DriverScript m_script;
  db::CDbConnection m_connection;
};

TEST_F(ReportScriptedTest, FunctionNamesEndInOneColumn) {
  m_script.Unsupported(SQL_API_SQLCANCEL);
  TString out;
  WriteSection(PageId::kFunctions, Read(), out);
  EXPECT_NE(out.find(DT("\n  SQLProcedureColumns - Not Supported\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n             SQLFetch - Supported\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n            SQLCancel - Not Supported\n")), TString::npos);
  EXPECT_EQ(out.rfind(DT("ODBC API Functions\n------------------\n      SQLAllocConnect - Supported\n"), 0), 0u);
  // 56 API functions, then the five scalar groups of 1, 24, 19, 3 and 17.
  size_t lines = 0;
  for (TChar c : out) lines += c == DT('\n');
  EXPECT_EQ(lines, 2 + 56 + 1 + 5 * 3 + 1 + 24 + 19 + 3 + 17);
}

TEST_F(ReportScriptedTest, ScalarFunctionsFollowTheirBitmasks) {
  m_script.InfoInt32(SQL_STRING_FUNCTIONS, SQL_FN_STR_LENGTH | SQL_FN_STR_UCASE)
      .InfoInt32(SQL_CONVERT_FUNCTIONS, 0)
      .InfoInt32(SQL_SYSTEM_FUNCTIONS, SQL_FN_SYS_IFNULL);
  TString out;
  WriteSection(PageId::kFunctions, Read(), out);
  EXPECT_EQ(Between(out, DT("SQL Conversion"), DT("SQL Numeric")),
            DT("SQL Conversion Functions\n------------------------\n            Convert() - Not Supported\n\n"));
  EXPECT_NE(out.find(DT("\n             Lenght() - Supported\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n              UCase() - Supported\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n              Ascii() - Not Supported\n")), TString::npos);
  EXPECT_EQ(Between(out, DT("SQL System"), DT("SQL Time")),
            DT("SQL System Functions\n--------------------\n             DBName() - Not Supported\n"
               "             IfNull() - Supported\n           UserName() - Not Supported\n\n"));
}

TEST_F(ReportScriptedTest, KeywordListsWrapBeforeColumn76AndKeepTheLastKeyword) {
  m_script.Info(SQL_KEYWORDS, "ALPHA,BETA,GAMMA");
  TString out;
  WriteSection(PageId::kIdentifiers, Read(), out);
  EXPECT_EQ(Between(out, DT("Identifiers"), DT("          Identifier Case")),
            DT("Identifiers\n-----------\n\nDriver-Specific Keywords:\n-------------------------\n"
               "ALPHA,BETA,GAMMA\n\n"));
  m_connection.Close();

  // Nine-letter keywords: a line holds 7 (7*9+6 = 69; the 8th would reach 78).
  std::string list;
  for (int i = 0; i < 16; ++i) list += (i ? "," : "") + std::string("KEYWORD") + char('A' + i) + char('A' + i);
  m_script.Info(SQL_KEYWORDS, list);
  out.clear();
  WriteSection(PageId::kIdentifiers, Read(), out);
  EXPECT_EQ(Between(out, DT("-------------------------\n"), DT("          Identifier")),
            DT("-------------------------\n"
               "KEYWORDAA,KEYWORDBB,KEYWORDCC,KEYWORDDD,KEYWORDEE,KEYWORDFF,KEYWORDGG\n"
               "KEYWORDHH,KEYWORDII,KEYWORDJJ,KEYWORDKK,KEYWORDLL,KEYWORDMM,KEYWORDNN\n"
               "KEYWORDOO,KEYWORDPP\n\n"));
}

TEST_F(ReportScriptedTest, SpecialCharactersComeInLinesOf75) {
  const std::string chars150(150, '#');
  m_script.Info(SQL_SPECIAL_CHARACTERS, chars150).Info(SQL_KEYWORDS, "");
  TString out;
  WriteSection(PageId::kIdentifiers, Read(), out);
  const TString line75(75, DT('#'));
  EXPECT_EQ(Between(out, DT("Special"), DT("")),
            DT("Special Characters:\n-------------------\n") + line75 + DT("\n") + line75 + DT("\n\n"));
  // An empty keyword list leaves an empty line before the blank one.
  EXPECT_NE(out.find(DT("-------------------------\n\n\n          Identifier Case - Mixed\n")), TString::npos);
  m_connection.Close();

  m_script.Info(SQL_SPECIAL_CHARACTERS, std::string(76, '@'));
  out.clear();
  WriteSection(PageId::kIdentifiers, Read(), out);
  EXPECT_EQ(Between(out, DT("Special"), DT("")),
            DT("Special Characters:\n-------------------\n") + TString(75, DT('@')) + DT("\n@\n\n"));
  m_connection.Close();

  m_script.Info(SQL_SPECIAL_CHARACTERS, "");
  out.clear();
  WriteSection(PageId::kIdentifiers, Read(), out);
  EXPECT_EQ(Between(out, DT("Special"), DT("")), DT("Special Characters:\n-------------------\n<none>\n\n\n"));
}

TEST_F(ReportScriptedTest, BitListsJoinTheSetNamesOrSayNone) {
  m_script.InfoInt32(SQL_ALTER_TABLE, SQL_AT_DROP_COLUMN)
      .InfoInt32(SQL_POSITIONED_STATEMENTS, 0)
      .InfoInt32(SQL_SUBQUERIES, SQL_SQ_CORRELATED_SUBQUERIES | SQL_SQ_IN)
      .InfoInt32(SQL_UNION, 0)
      .Info(SQL_OUTER_JOINS, "P")
      .InfoInt16(SQL_CORRELATION_NAME, SQL_CN_DIFFERENT)
      .InfoInt16(SQL_GROUP_BY, 7);
  TString out;
  WriteSection(PageId::kSupportedSql, Read(), out);
  EXPECT_NE(out.find(DT("  ALTER TABLE Support -DROP\n")), TString::npos);
  EXPECT_NE(out.find(DT("Positioned Statements - <none>\n")), TString::npos);
  EXPECT_NE(out.find(DT("     Subquery Support - Correlated,IN\n")), TString::npos);
  EXPECT_NE(out.find(DT("        UNION Support -<none>\n\n")), TString::npos);
  EXPECT_NE(out.find(DT("   Outer Join Support - Partial\n")), TString::npos);
  EXPECT_NE(out.find(DT("    Correlation Names - Supported, table names must be different\n")), TString::npos);
  // A code outside the table leaves the value empty.
  EXPECT_NE(out.find(DT("GROUP BY NonAggregate - \n")), TString::npos);
}

TEST_F(ReportScriptedTest, DriverWithoutTransactionsShowsNotAvailable) {
  m_script.InfoInt16(SQL_TXN_CAPABLE, SQL_TC_NONE)
      .InfoInt32(SQL_BOOKMARK_PERSISTENCE, SQL_BP_CLOSE)
      .InfoInt32(SQL_LOCK_TYPES, SQL_LCK_NO_CHANGE)
      .InfoInt32(SQL_STATIC_SENSITIVITY, SQL_SS_ADDITIONS);
  TString out;
  WriteSection(PageId::kMisc1, Read(), out);
  EXPECT_EQ(out, DT("Miscellaneous\n-------------\n\n"
                    " Transaction Capabilities - None\n"
                    "   Cursor Commit Behavior - <n/a>\n"
                    " Cursor Rollback Behavior - <n/a>\n"
                    "  Trans. Isolation Levels - <none>\n"
                    " Default Trans. Isolation - <n/a>\n"
                    "   Multiple Active Trans. - <n/a>\n"
                    "     Bookmark Persistance - <none>\n"
                    "               Lock Types - <none>\n"
                    "       Static Sensitivity - <none>\n\n"));
}

TEST_F(ReportScriptedTest, TransactionsAndCursorFacts) {
  m_script.InfoInt16(SQL_TXN_CAPABLE, SQL_TC_DDL_COMMIT)
      .InfoInt16(SQL_CURSOR_COMMIT_BEHAVIOR, SQL_CB_DELETE)
      .InfoInt16(SQL_CURSOR_ROLLBACK_BEHAVIOR, SQL_CB_PRESERVE)
      .InfoInt32(SQL_TXN_ISOLATION_OPTION, SQL_TXN_READ_UNCOMMITTED | SQL_TXN_READ_COMMITTED)
      .InfoInt32(SQL_BOOKMARK_PERSISTENCE, SQL_BP_OTHER_HSTMT | SQL_BP_CLOSE | SQL_BP_UPDATE)
      .InfoInt32(SQL_LOCK_TYPES, SQL_LCK_UNLOCK | SQL_LCK_EXCLUSIVE)
      .InfoInt32(SQL_STATIC_SENSITIVITY, 0);
  TString out;
  WriteSection(PageId::kMisc1, Read(), out);
  EXPECT_EQ(out, DT("Miscellaneous\n-------------\n\n"
                    " Transaction Capabilities - DDL statements cause a commit\n"
                    "   Cursor Commit Behavior - Close Cursors, Delete Statements\n"
                    " Cursor Rollback Behavior - Preserve Cursors\n"
                    "  Trans. Isolation Levels - Read Commit,Read Uncommit\n"
                    " Default Trans. Isolation - Read Committed\n"
                    "   Multiple Active Trans. - Supported\n"
                    "     Bookmark Persistance - Close,Other HSTMT,Update\n"
                    "               Lock Types - Exclusive,Unlock\n"
                    "       Static Sensitivity - <none>\n\n"));
}

TEST_F(ReportScriptedTest, TimestampIntervalsOnlyWithTheTimestampFunctions) {
  m_script.InfoInt32(SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_TIMESTAMPADD)
      .InfoInt32(SQL_TIMEDATE_ADD_INTERVALS, SQL_FN_TSI_FRAC_SECOND | SQL_FN_TSI_DAY | SQL_FN_TSI_YEAR)
      .InfoInt32(SQL_TIMEDATE_DIFF_INTERVALS, SQL_FN_TSI_DAY)
      .InfoInt32(SQL_MAX_ROW_SIZE, 0)
      .InfoInt32(SQL_MAX_STATEMENT_LEN, 65536)
      .Info(SQL_MAX_ROW_SIZE_INCLUDES_LONG, "N")
      .InfoMissing(SQL_MAX_INDEX_SIZE);
  TString out;
  WriteSection(PageId::kLimits, Read(), out);
  EXPECT_NE(out.find(DT("\n             Max Row Size - <none>\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n     Max Statement Length - 65536\n")), TString::npos);
  EXPECT_NE(out.find(DT("\nMax Rowsize Includes Long - No\n")), TString::npos);
  EXPECT_NE(out.find(DT("\n   Max Column Name Length - 128\n")), TString::npos);
  // A refused answer leaves the value empty.
  EXPECT_NE(out.find(DT("\n           Max Index Size - \n")), TString::npos);
  EXPECT_EQ(Between(out, DT("Timestamp Add"), DT("")), DT("Timestamp Add Intervals:\nSecond Fraction,Day,Year\n\n"
                                                          "Timestamp Diff Intervals: <n/a>\n\n\n"));
}

TEST_F(ReportScriptedTest, ConversionsWrapOntoLinesOfTwentyBlanks) {
  m_script
      .InfoInt32(SQL_CONVERT_VARCHAR, 0x7FFFF)  // every one of the nineteen targets
      .InfoInt32(SQL_CONVERT_INTEGER, SQL_CVT_CHAR | SQL_CVT_VARCHAR)
      .InfoInt32(SQL_CONVERT_BIGINT, 0);
  m_script.Catalog("SQLGetTypeInfo")
      .Row(TypeRow("varchar", SQL_VARCHAR))
      .Row(TypeRow("int", SQL_INTEGER))
      .Row(TypeRow("bigint", SQL_BIGINT, DriverScript::Null))
      .Row(TypeRow("geometry", -151));
  TString out;
  WriteSection(PageId::kDataTypes, Read(), out);
  const TString blanks(20, DT(' '));
  // The wrap test leaves out the comma, so a line may reach 76 characters.
  EXPECT_EQ(Between(out, DT("Native type         Convert()"), DT("")),
            DT("Native type         Convert() Conversions\n"
               "-----------         ---------------------\n"
               "varchar             SQL_BIGINT,SQL_BINARY,SQL_BIT,SQL_CHAR,SQL_DATE\n") +
                blanks + DT("SQL_DECIMAL,SQL_DOUBLE,SQL_FLOAT,SQL_INTEGER\n") + blanks +
                DT("SQL_LONGVARBINARY,SQL_LONGVARCHAR,SQL_NUMERIC,SQL_REAL\n") + blanks +
                DT("SQL_SMALLINT,SQL_TIME,SQL_TIMESTAMP,SQL_TINYINT\n") + blanks +
                DT("SQL_VARBINARY,SQL_VARCHAR\n\n"
                   "int                 SQL_CHAR,SQL_VARCHAR\n\n"
                   "bigint              <none>\n\n"
                   "geometry            <none>\n\n\n\n"));
  EXPECT_NE(out.find(DT("bigint              SQL_BIGINT        <n/a>       0          0    \n")), TString::npos);
  EXPECT_NE(out.find(DT("geometry            <unknown type>    10          0          0    \n")), TString::npos);
  EXPECT_NE(out.find(DT("int                 Yes       No        No        No     No\n")), TString::npos);
  EXPECT_NE(out.find(DT("int                 <n/a>,<n/a>         <none>           Yes\n")), TString::npos);
}

TEST_F(ReportScriptedTest, DriverWithoutTypeInfoGivesHeadingsWithoutRows) {
  m_script.Unsupported(SQL_API_SQLGETTYPEINFO);
  const CInfoSnapshot snapshot = Read();
  EXPECT_FALSE(snapshot.TypesAvailable());
  TString out;
  WriteSection(PageId::kDataTypes, snapshot, out);
  EXPECT_EQ(out, DT("Data Types\n----------\n\n"
                    "Native type         SQL Type          Precision   Min Scale  Max Scale\n"
                    "-----------         --------          ---------   ---------  ---------\n\n"
                    "Native type         Nullable  Unsigned  Auto Inc  Money  Case Sensitive\n"
                    "-----------         --------  --------  --------  -----  --------------\n\n"
                    "Native type         Lit. Prefix,Suffix  Create Params    Searchable\n"
                    "-----------         ------------------  -------------    ----------\n\n"
                    "Native type         Convert() Conversions\n"
                    "-----------         ---------------------\n\n\n"));
}

TEST_F(ReportScriptedTest, DriverInfoCodesAndRules) {
  m_script.InfoInt16(SQL_ODBC_API_CONFORMANCE, SQL_OAC_LEVEL2)
      .InfoInt16(SQL_ACTIVE_CONNECTIONS, 0)
      .InfoInt16(SQL_ACTIVE_STATEMENTS, 4)
      .InfoInt16(SQL_FILE_USAGE, SQL_FILE_QUALIFIER)
      .Info(SQL_DATA_SOURCE_READ_ONLY, "Y")
      .Info(SQL_ACCESSIBLE_TABLES, "N")
      .Info(SQL_MULT_RESULT_SETS, "maybe")
      .InfoMissing(SQL_ODBC_SAG_CLI_CONFORMANCE);
  const CInfoSnapshot snapshot = Read();
  TString out;
  WriteSection(PageId::kDriverInfo, snapshot, out);
  EXPECT_NE(out.find(DT("      API Conformance - Level 2\n")), TString::npos);
  EXPECT_NE(out.find(DT("  SAG CLI Conformance - \n")), TString::npos);
  EXPECT_NE(out.find(DT("   Active Connections - No Limit\n")), TString::npos);
  EXPECT_NE(out.find(DT("    Active Statements - 4\n")), TString::npos);
  EXPECT_NE(out.find(DT(" Multiple Result Sets - maybe\n")), TString::npos);
  EXPECT_NE(out.find(DT("           File Usage - Files are Qualifiers\n")), TString::npos);
  EXPECT_NE(out.find(DT("    Read/Write Status - Data source is read-only\n")), TString::npos);
  EXPECT_NE(out.find(DT("Accessible Procedures - Yes\n    Accessible Tables - No\n\n")), TString::npos);
  EXPECT_NE(out.find(DT("                 DBMS - Scripted DBMS version 01.00.0000\n")), TString::npos);
}

TEST(ReportTest, ClosedConnectionGivesOnlyTheCursorLibraryLine) {
  db::CDbConnection closed;
  CInfoSnapshot snapshot;
  snapshot.Read(closed);
  EXPECT_FALSE(snapshot.IsConnected());
  EXPECT_EQ(driverinfo::BuildReport(snapshot), DT("Cursor Library is Not Loaded\n\n"));
}

}  // namespace
}  // namespace dossel::test
