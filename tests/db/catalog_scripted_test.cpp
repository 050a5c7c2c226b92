// The catalog sets on what the SQLite driver never answers, played by the
// scripted driver: missing catalog functions, procedures, NULL names and
// numbers, long remarks, failing catalog calls, and the arguments and calls
// that reach the driver.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "db/catalog_sets.h"
#include "driver_script.h"
#include "platform/format.h"
#include "scripted_connect.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using namespace db;
using Value = DriverScript::Value;

class CatalogScriptedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_scriptPath = m_folder.File("script.txt");
    m_logPath = m_folder.File("calls.log");
    m_script.Log(m_logPath);
  }

  void Connect() {
    m_script.Save(m_scriptPath);
    const TString connect = FromUtf8(ScriptedDriverConnectString(m_scriptPath));
    ASSERT_TRUE(m_connection.OpenWithOptions(connect, kNoOdbcDialog));
  }

  // The calls the driver received since the last look.
  std::vector<std::string> NewCalls() {
    std::istringstream log(ReadFile(m_logPath));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    std::vector<std::string> fresh(lines.begin() + static_cast<long>(std::min(m_seen, lines.size())), lines.end());
    m_seen = lines.size();
    return fresh;
  }

  static bool Has(const std::vector<std::string>& calls, const std::string& start) {
    for (const auto& call : calls)
      if (call.rfind(start, 0) == 0) return true;
    return false;
  }

  ScratchFolder m_folder;
  std::string m_scriptPath;
  std::string m_logPath;
  DriverScript m_script;
  CDbConnection m_connection;
  size_t m_seen = 0;
};

TEST_F(CatalogScriptedTest, MissingKeyIndexAndTypeFunctionsRefuseTheOpenWithoutAStatement) {
  m_script.Unsupported(SQL_API_SQLSTATISTICS)
      .Unsupported(SQL_API_SQLPRIMARYKEYS)
      .Unsupported(SQL_API_SQLFOREIGNKEYS)
      .Unsupported(SQL_API_SQLGETTYPEINFO);
  Connect();
  // The driver manager answers SQLGetFunctions from what it asked the
  // driver at connect, so a refused open reaches the driver not at all.
  const auto refused = [&](CCatalogSet& rs, const std::function<bool()>& open, int function) {
    SCOPED_TRACE(function);
    // The constructor's statement is given back, so any statement after the
    // open would be one the open allocated.
    rs.Close();
    NewCalls();
    EXPECT_FALSE(open());
    EXPECT_EQ(rs.GetStatement(), nullptr);
    EXPECT_EQ(NewCalls(), std::vector<std::string>{});
  };
  CStatisticsSet statistics(&m_connection);
  refused(
      statistics, [&] { return statistics.Open(nullptr, nullptr, DT("t"), kDynaset); }, SQL_API_SQLSTATISTICS);
  CPrimaryKeysSet keys(&m_connection);
  refused(
      keys, [&] { return keys.Open(nullptr, nullptr, DT("t"), kDynaset); }, SQL_API_SQLPRIMARYKEYS);
  CForeignKeysSet foreign(&m_connection);
  refused(
      foreign, [&] { return foreign.Open(nullptr, nullptr, nullptr, nullptr, nullptr, DT("t"), kDynaset); },
      SQL_API_SQLFOREIGNKEYS);
  CTypeInfoSet types(&m_connection);
  refused(
      types, [&] { return types.Open(SQL_ALL_TYPES); }, SQL_API_SQLGETTYPEINFO);
  EXPECT_TRUE(types.IsAfterLast());
  EXPECT_EQ(m_connection.ResultSetCount(), 0u);
}

TEST_F(CatalogScriptedTest, MissingTableColumnAndProcedureFunctionsAreCalledAnyway) {
  m_script.Unsupported(SQL_API_SQLTABLES).Unsupported(SQL_API_SQLCOLUMNS).Unsupported(SQL_API_SQLPROCEDURES);
  Connect();
  // The open makes the call, the driver manager refuses it itself, and the
  // list is empty.
  CProceduresSet procedures(&m_connection);
  ASSERT_TRUE(procedures.Open(nullptr, nullptr, nullptr, kForwardOnly));
  EXPECT_TRUE(procedures.IsAfterLast());
  EXPECT_TRUE(procedures.ExecuteFailed());
  CTablesSet tables(&m_connection);
  ASSERT_TRUE(tables.Open(nullptr, nullptr, nullptr, DT("'TABLE'"), kForwardOnly));
  EXPECT_TRUE(tables.IsAfterLast());
  CColumnsSet columns(&m_connection);
  ASSERT_TRUE(columns.Open(nullptr, nullptr, DT("t"), nullptr, kForwardOnly));
  EXPECT_TRUE(columns.IsAfterLast());
  const auto calls = NewCalls();
  EXPECT_FALSE(Has(calls, "SQLProcedures"));
  EXPECT_FALSE(Has(calls, "SQLTables"));
  EXPECT_FALSE(Has(calls, "SQLColumns"));
}

TEST_F(CatalogScriptedTest, ProceduresAreReadAndTheirLaterColumnsIgnored) {
  m_script.Catalog("SQLProcedures")
      .Result({})
      .Row({"master", "dbo", "sp_who;1", "0", "0", "1", "lists sessions", "2"})
      .Row({DriverScript::Null, DriverScript::Null, "rechnungsprüfung", DriverScript::Null, DriverScript::Null,
            DriverScript::Null, DriverScript::Null, DriverScript::Null});
  Connect();
  CProceduresSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, nullptr, kForwardOnly));
  std::vector<TString> rows;
  for (; !rs.IsAfterLast(); rs.MoveNext())
    rows.push_back(rs.m_strProcedureQualifier + DT("|") + rs.m_strProcedureOwner + DT("|") + rs.m_strProcedureName);
  EXPECT_EQ(rows, (std::vector<TString>{DT("master|dbo|sp_who;1"), DT("||rechnungsprüfung")}));
  // Three columns bound, none beyond.
  const auto calls = NewCalls();
  EXPECT_TRUE(Has(calls, "SQLBindCol 3 "));
  EXPECT_FALSE(Has(calls, "SQLBindCol 4 "));
}

TEST_F(CatalogScriptedTest, NullNamesReadEmptyAndNullNumbersAsMarkers) {
  m_script.Catalog("SQLPrimaryKeys", "orders")
      .Result({})
      .Row({DriverScript::Null, DriverScript::Null, "orders", "id", DriverScript::Null, DriverScript::Null});
  m_script.Catalog("SQLForeignKeys", "orders")
      .Result({})
      .Row({DriverScript::Null, DriverScript::Null, "customer", "id", DriverScript::Null, DriverScript::Null, "orders",
            "customer_id", "1", DriverScript::Null, "0", DriverScript::Null, DriverScript::Null, "7"});
  m_script.Catalog("SQLColumns", "orders")
      .Result({})
      .Row({DriverScript::Null, DriverScript::Null, "orders", "note", DriverScript::Null, "text", DriverScript::Null,
            DriverScript::Null, DriverScript::Null, DriverScript::Null, DriverScript::Null, DriverScript::Null,
            DriverScript::Null, DriverScript::Null, DriverScript::Null, DriverScript::Null, "1", "YES"});
  Connect();
  CPrimaryKeysSet keys(&m_connection);
  ASSERT_TRUE(keys.Open(nullptr, nullptr, DT("orders"), kDynaset));
  ASSERT_FALSE(keys.IsAfterLast());
  EXPECT_EQ(keys.m_strColumnName, DT("id"));
  EXPECT_EQ(keys.m_nKeySeq, kNullInt);
  EXPECT_EQ(keys.m_strPkName, DT(""));

  CForeignKeysSet foreign(&m_connection);
  ASSERT_TRUE(foreign.Open(nullptr, nullptr, nullptr, nullptr, nullptr, DT("orders"), kDynaset));
  ASSERT_FALSE(foreign.IsAfterLast());
  EXPECT_EQ(foreign.m_strPkTableName, DT("customer"));
  EXPECT_EQ(foreign.m_strFkColumnName, DT("customer_id"));
  EXPECT_EQ(foreign.m_nKeySeq, 1);
  EXPECT_EQ(foreign.m_nUpdateRule, kNullInt);
  EXPECT_EQ(foreign.m_nDeleteRule, 0);
  EXPECT_EQ(foreign.m_strFkName, DT(""));
  EXPECT_EQ(foreign.m_strPkName, DT(""));
  EXPECT_EQ(foreign.m_nDeferrability, 7);

  CColumnsSet columns(&m_connection);
  ASSERT_TRUE(columns.Open(nullptr, nullptr, DT("orders"), nullptr, kForwardOnly));
  ASSERT_FALSE(columns.IsAfterLast());
  EXPECT_EQ(columns.m_nDataType, kNullInt);
  EXPECT_EQ(columns.m_lPrecision, kNullLong);
  EXPECT_EQ(columns.m_lLength, kNullLong);
  EXPECT_EQ(columns.m_nNullable, kNullInt);
  EXPECT_EQ(columns.m_strTypeName, DT("text"));
}

TEST_F(CatalogScriptedTest, MembersAreBoundByPositionWhateverTheColumnNames) {
  m_script.Catalog("SQLTables")
      .Result({{"c1", SQL_VARCHAR, 30},
               {"c2", SQL_VARCHAR, 30},
               {"NAME", SQL_VARCHAR, 30},
               {"KIND", SQL_VARCHAR, 30},
               {"NOTE", SQL_VARCHAR, 1000}})
      .Row({"cat", "own", "t one", "TABLE", std::string(300, 'r')})
      .Row({"cat", "own", "v", "VIEW", std::string(255, 's')});
  Connect();
  CTablesSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, nullptr, nullptr, kForwardOnly));
  ASSERT_FALSE(rs.IsAfterLast());
  EXPECT_EQ(rs.m_strTableQualifier, DT("cat"));
  EXPECT_EQ(rs.m_strTableOwner, DT("own"));
  EXPECT_EQ(rs.m_strTableName, DT("t one"));
  EXPECT_EQ(rs.m_strTableType, DT("TABLE"));
  // Described as 1000 characters, above the member's 255: cut to 255.
  EXPECT_EQ(rs.m_strRemarks, TString(255, TChar('r')));
  rs.MoveNext();
  ASSERT_FALSE(rs.IsAfterLast());
  EXPECT_EQ(rs.m_strTableName, DT("v"));
  EXPECT_EQ(rs.m_strRemarks, TString(255, TChar('s')));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_FALSE(rs.FetchFailed());
}

TEST_F(CatalogScriptedTest, AFailingCatalogCallGivesAnEmptyList) {
  m_script.Catalog("SQLColumns", "gone").Error("42S02", 208, "[Vendor][Driver]Invalid object name 'gone'.");
  Connect();
  CColumnsSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("gone"), nullptr, kForwardOnly));
  EXPECT_TRUE(rs.IsBeforeFirst());
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_TRUE(rs.ExecuteFailed());
  EXPECT_FALSE(rs.FetchFailed());
  EXPECT_EQ(rs.LastErrorText(), DT("Invalid object name 'gone'.\n"));
}

TEST_F(CatalogScriptedTest, RestrictionsReachTheDriverInOrderAndNullAsNull) {
  Connect();
  NewCalls();
  CTablesSet tables(&m_connection);
  ASSERT_TRUE(tables.Open(nullptr, nullptr, nullptr, DT("'VIEW'"), kForwardOnly));
  CColumnsSet columns(&m_connection);
  ASSERT_TRUE(columns.Open(DT("db"), DT("dbo"), DT("order lines"), DT("é"), kForwardOnly));
  CStatisticsSet statistics(&m_connection);
  ASSERT_TRUE(statistics.Open(nullptr, nullptr, DT("café"), kDynaset));
  CPrimaryKeysSet keys(&m_connection);
  ASSERT_TRUE(keys.Open(nullptr, DT("dbo"), DT("orders"), kDynaset));
  CForeignKeysSet foreign(&m_connection);
  ASSERT_TRUE(foreign.Open(DT("a"), DT("b"), DT("c"), DT("d"), DT("e"), DT("f"), kDynaset));
  CProceduresSet procedures(&m_connection);
  ASSERT_TRUE(procedures.Open(nullptr, nullptr, DT("p%"), kForwardOnly));
  CTypeInfoSet types(&m_connection);
  ASSERT_TRUE(types.Open(SQL_VARCHAR));
  const auto calls = NewCalls();
  for (const std::string expected :
       {"SQLTables <null> <null> <null> 'VIEW'", "SQLColumns db dbo order lines é",
        "SQLStatistics <null> <null> café 1", "SQLPrimaryKeys <null> dbo orders", "SQLForeignKeys a b c d e f",
        "SQLProcedures <null> <null> p%", "SQLGetTypeInfo 12"})
    EXPECT_TRUE(Has(calls, expected)) << expected;
}

TEST_F(CatalogScriptedTest, KeysetOpenAsksForAReadOnlyKeysetCursorAndFetchesByExtendedFetch) {
  m_script.Catalog("SQLStatistics", "orders")
      .Result({})
      .Row({DriverScript::Null, DriverScript::Null, "orders", DriverScript::Null, DriverScript::Null,
            DriverScript::Null, "0", DriverScript::Null, DriverScript::Null, DriverScript::Null, "2", "1",
            DriverScript::Null})
      .Row({DriverScript::Null, DriverScript::Null, "orders", "1", DriverScript::Null, "orders_customer", "3", "1",
            "customer_id", "A", DriverScript::Null, DriverScript::Null, DriverScript::Null});
  Connect();
  NewCalls();
  CStatisticsSet rs(&m_connection);
  ASSERT_TRUE(rs.Open(nullptr, nullptr, DT("orders"), kDynaset));
  std::vector<TString> rows;
  for (; !rs.IsAfterLast(); rs.MoveNext())
    rows.push_back(Format(DT("%d %s %d %d %s"), rs.m_nNonUnique, rs.m_strIndexName, rs.m_nType, rs.m_nOrdinalPosition,
                          rs.m_strColumnName));
  // The table-statistics row comes through; the tree skips it by its type.
  EXPECT_EQ(rows, (std::vector<TString>{DT("32484  0 32484 "), DT("1 orders_customer 3 1 customer_id")}));
  const auto calls = NewCalls();
  EXPECT_TRUE(Has(calls, "SQLSetStmtOption 6 " + std::to_string(SQL_CURSOR_KEYSET_DRIVEN)));
  EXPECT_TRUE(Has(calls, "SQLSetStmtOption 7 " + std::to_string(SQL_CONCUR_READ_ONLY)));
  EXPECT_TRUE(Has(calls, "SQLExtendedFetch"));
  EXPECT_FALSE(Has(calls, "SQLFetch"));
}

}  // namespace
}  // namespace dossel::test
