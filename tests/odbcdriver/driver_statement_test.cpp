// The scripted driver's statements through the driver manager: result sets,
// row counts, SQL_NO_TOTAL pieces, SQL_STILL_EXECUTING repeats, diagnostic
// records, cancel from a second thread, bound columns and catalog calls.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "driver_test_support.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

class ScriptedDriverStatement : public ::testing::Test {
 protected:
  void SetUp() override { m_script.Dbms("SQL Server").Log(m_logFile); }

  // Saves the script, connects and allocates one statement.
  void Start() {
    m_script.Save(m_scriptFile);
    ASSERT_EQ(SQL_SUCCESS, m_session.DriverConnect(ScriptedDriverConnectString(m_scriptFile)));
    m_stmt = m_session.NewStatement();
    ASSERT_TRUE(m_stmt != nullptr);
  }

  SQLSMALLINT ColumnCount() {
    SQLSMALLINT count = -1;
    EXPECT_EQ(SQL_SUCCESS, SQLNumResultCols(m_stmt, &count));
    return count;
  }

  // Repeats `call` while it answers SQL_STILL_EXECUTING; returns the final
  // code and counts the repeats.
  template <typename Call>
  SQLRETURN Repeat(Call call, int& stillCount) {
    SQLRETURN rc;
    while ((rc = call()) == SQL_STILL_EXECUTING) ++stillCount;
    return rc;
  }

  ScratchFolder m_folder;
  std::string m_scriptFile = m_folder.File("script.txt");
  std::string m_logFile = m_folder.File("calls.log");
  DriverScript m_script;
  OdbcSession m_session;
  SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

TEST_F(ScriptedDriverStatement, TwoResultSetsOfDifferentShapesThenNoMore) {
  m_script.Statement("exec two_sets")
      .Result({{"id", SQL_INTEGER, 10}, {"name", SQL_VARCHAR, 30}})
      .Row({"1", "one"})
      .Row({"2", DriverScript::Null})
      .Result({{"total", SQL_DECIMAL, 12, 2}})
      .Row({"3.50"});
  Start();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "  exec two_sets\r\n"));
  ASSERT_EQ(2, ColumnCount());
  EXPECT_EQ("name", ColumnName(m_stmt, 2));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  EXPECT_EQ("one", ReadText(m_stmt, 2));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  EXPECT_EQ("2", ReadText(m_stmt, 1));
  EXPECT_EQ(std::nullopt, ReadText(m_stmt, 2));
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_stmt));

  ASSERT_EQ(SQL_SUCCESS, SQLMoreResults(m_stmt));
  ASSERT_EQ(1, ColumnCount());
  SQLCHAR name[32] = {};
  SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(m_stmt, 1, name, sizeof name, &length, &type, &size, &digits, &nullable));
  EXPECT_EQ(SQL_DECIMAL, type);
  EXPECT_EQ(12u, size);
  EXPECT_EQ(2, digits);
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  EXPECT_EQ("3.50", ReadText(m_stmt, 1));
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_stmt));
  EXPECT_EQ(SQL_NO_DATA, SQLMoreResults(m_stmt));
}

TEST_F(ScriptedDriverStatement, RowCountsAnswerOrFailAndUnscriptedTextFails) {
  m_script.Statement("update t set a = 1").RowCount(5);
  m_script.Statement("delete from t").RowCountError("HY000", 7, "[vendor][driver]no count");
  Start();
  SQLLEN count = 0;
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "update t set a = 1"));
  EXPECT_EQ(0, ColumnCount());
  ASSERT_EQ(SQL_SUCCESS, SQLRowCount(m_stmt, &count));
  EXPECT_EQ(5, count);
  SQLFreeStmt(m_stmt, SQL_CLOSE);

  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "delete from t"));
  ASSERT_EQ(SQL_ERROR, SQLRowCount(m_stmt, &count));
  const auto errors = m_session.Errors(m_stmt);
  ASSERT_EQ(1u, errors.size());
  EXPECT_EQ(7, errors[0].native);
  EXPECT_EQ("[vendor][driver]no count", errors[0].message);
  SQLFreeStmt(m_stmt, SQL_CLOSE);

  ASSERT_EQ(SQL_ERROR, ExecDirect(m_stmt, "select 42"));
  const auto unscripted = m_session.Errors(m_stmt);
  ASSERT_EQ(1u, unscripted.size());
  EXPECT_EQ("37000", unscripted[0].state);  // the driver says 42000; ODBC 2 applications see 37000
  EXPECT_NE(std::string::npos, unscripted[0].message.find("select 42"));
}

TEST_F(ScriptedDriverStatement, TwoDiagnosticRecordsComeInOrder) {
  m_script.Statement("select * from missing")
      .Error("42S02", 208, "[vendor][driver]Invalid object name 'missing'.")
      .Error("42000", 8180, "[vendor][driver]Statement(s) could not be prepared.");
  Start();
  ASSERT_EQ(SQL_ERROR, ExecDirect(m_stmt, "select * from missing"));
  const auto errors = m_session.Errors(m_stmt);
  ASSERT_EQ(2u, errors.size());
  EXPECT_EQ(208, errors[0].native);
  EXPECT_EQ("[vendor][driver]Invalid object name 'missing'.", errors[0].message);
  EXPECT_EQ(8180, errors[1].native);
  EXPECT_EQ("[vendor][driver]Statement(s) could not be prepared.", errors[1].message);
  // An ODBC 2 application sees the states the driver manager maps to.
  EXPECT_EQ("S0002", errors[0].state);
  EXPECT_EQ("37000", errors[1].state);
}

TEST_F(ScriptedDriverStatement, NoTotalDeliversTheValueInPieces) {
  std::string text(70500, 'x');
  text.back() = 'y';
  m_script.Statement("select memo").Result({{"memo", SQL_LONGVARCHAR, 2147483647}}).Row({text}).NoTotal(1);
  Start();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "select memo"));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  char buffer[1001] = {};
  SQLLEN indicator = 0;
  ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetData(m_stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
  EXPECT_EQ(SQL_NO_TOTAL, indicator);
  const auto warnings = m_session.Errors(m_stmt);
  ASSERT_EQ(1u, warnings.size());
  EXPECT_EQ("01004", warnings[0].state);

  std::string whole = buffer;
  int pieces = 1;
  SQLRETURN rc;
  while ((rc = SQLGetData(m_stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator)) == SQL_SUCCESS_WITH_INFO) {
    EXPECT_EQ(SQL_NO_TOTAL, indicator);
    whole += buffer;
    ++pieces;
  }
  ASSERT_EQ(SQL_SUCCESS, rc);
  EXPECT_EQ(500, indicator);  // the last piece says how long it is
  whole.append(buffer, static_cast<size_t>(indicator));
  EXPECT_EQ(71, ++pieces);
  EXPECT_EQ(text, whole);
  EXPECT_EQ(SQL_NO_DATA, SQLGetData(m_stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
}

TEST_F(ScriptedDriverStatement, StillExecutingRepeatsExecuteFetchAndGetData) {
  m_script.Statement("select slow")
      .StillExecuting("SQLExecDirect", 3)
      .StillExecuting("SQLFetch", 2)
      .StillExecuting("SQLGetData", 1)
      .Result({{"a", SQL_INTEGER, 10}})
      .Row({"1"})
      .Row({"2"});
  Start();
  int still = 0;
  ASSERT_EQ(SQL_SUCCESS, Repeat([&] { return ExecDirect(m_stmt, "select slow"); }, still));
  EXPECT_EQ(3, still);
  for (const char* expected : {"1", "2"}) {
    still = 0;
    ASSERT_EQ(SQL_SUCCESS, Repeat([&] { return SQLFetch(m_stmt); }, still));
    EXPECT_EQ(2, still);
    char value[8] = {};
    SQLLEN indicator = 0;
    still = 0;
    ASSERT_EQ(SQL_SUCCESS, Repeat([&] { return SQLGetData(m_stmt, 1, SQL_C_CHAR, value, 8, &indicator); }, still));
    EXPECT_EQ(1, still);
    EXPECT_STREQ(expected, value);
  }
  still = 0;
  EXPECT_EQ(SQL_NO_DATA, Repeat([&] { return SQLFetch(m_stmt); }, still));
  EXPECT_EQ(2, still);
  EXPECT_EQ(4, CountLines(LogLines(m_logFile), "SQLExecDirect select slow"));
}

// unixODBC 2.3.11 keeps a wrong statement state after one of these has
// answered "still executing": it refuses a second repeat, and the call after
// the answer, with S1010 (and SQLMoreResults already at its first repeat).
// So each is checked once, on a statement of its own.
TEST_F(ScriptedDriverStatement, StillExecutingReachesDescribeCallsAndMoreResults) {
  for (const char* function : {"SQLNumResultCols", "SQLDescribeCol", "SQLMoreResults"}) {
    m_script.Statement(std::string("select ") + function)
        .StillExecuting(function, 1)
        .Result({{"a", SQL_INTEGER, 10}})
        .Result({{"b", SQL_INTEGER, 10}});
  }
  Start();
  SQLSMALLINT count = 0, length = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  SQLCHAR name[8] = {};
  SQLHSTMT stmt = m_session.NewStatement();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(stmt, "select SQLNumResultCols"));
  EXPECT_EQ(SQL_STILL_EXECUTING, SQLNumResultCols(stmt, &count));
  EXPECT_EQ(SQL_SUCCESS, SQLNumResultCols(stmt, &count));
  EXPECT_EQ(1, count);

  stmt = m_session.NewStatement();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(stmt, "select SQLDescribeCol"));
  EXPECT_EQ(SQL_STILL_EXECUTING, SQLDescribeCol(stmt, 1, name, 8, &length, &type, &size, &digits, &nullable));
  EXPECT_EQ(SQL_SUCCESS, SQLDescribeCol(stmt, 1, name, 8, &length, &type, &size, &digits, &nullable));
  EXPECT_STREQ("a", reinterpret_cast<char*>(name));

  stmt = m_session.NewStatement();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(stmt, "select SQLMoreResults"));
  EXPECT_EQ(SQL_STILL_EXECUTING, SQLMoreResults(stmt));
  EXPECT_EQ(1, CountLines(LogLines(m_logFile), "SQLMoreResults"));
}

TEST_F(ScriptedDriverStatement, CancelFromASecondThreadEndsABlockedExecuteWithinASecond) {
  m_script.Statement("waitfor delay '01:00:00'").BlockInExecute();
  m_script.Statement("select endless").Result({{"a", SQL_INTEGER, 10}}).Row({"1"}).BlockInFetch(1);
  Start();
  for (const bool inFetch : {false, true}) {
    SCOPED_TRACE(inFetch ? "blocked in SQLFetch" : "blocked in SQLExecDirect");
    const auto started = std::chrono::steady_clock::now();
    std::thread canceler([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      EXPECT_EQ(SQL_SUCCESS, SQLCancel(m_stmt));
    });
    SQLRETURN rc;
    if (inFetch) {
      EXPECT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "select endless"));
      EXPECT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
      rc = SQLFetch(m_stmt);
    } else {
      rc = ExecDirect(m_stmt, "waitfor delay '01:00:00'");
    }
    canceler.join();
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(SQL_ERROR, rc);
    EXPECT_LT(elapsed, std::chrono::seconds(1));
    const auto errors = m_session.Errors(m_stmt);
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("S1008", errors[0].state);  // HY008 as an ODBC 2 application sees it
    EXPECT_NE(std::string::npos, errors[0].message.find("Operation canceled"));
    SQLFreeStmt(m_stmt, SQL_CLOSE);
  }
  EXPECT_EQ(2, CountLines(LogLines(m_logFile), "SQLCancel"));
}

TEST_F(ScriptedDriverStatement, RejectedQueryTimeoutFailsWithTheScriptedState) {
  m_script.RejectQueryTimeout("S1C00");
  Start();
  EXPECT_EQ(SQL_ERROR, SQLSetStmtOption(m_stmt, SQL_QUERY_TIMEOUT, 15));
  const auto errors = m_session.Errors(m_stmt);
  ASSERT_EQ(1u, errors.size());
  EXPECT_EQ("S1C00", errors[0].state);
  EXPECT_EQ(SQL_SUCCESS, SQLSetStmtOption(m_stmt, SQL_MAX_ROWS, 10));
}

TEST_F(ScriptedDriverStatement, WideCharacterDataArrivesAsUtf16) {
  m_script.Statement("select N'caf\xC3\xA9 \xE4\xB8\xAD'")
      .Result({{"t", SQL_WVARCHAR, 20}})
      .Row({"caf\xC3\xA9 \xE4\xB8\xAD"});
  Start();
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "select N'caf\xC3\xA9 \xE4\xB8\xAD'"));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  char16_t wide[4] = {};
  SQLLEN indicator = 0;
  ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetData(m_stmt, 1, SQL_C_WCHAR, wide, sizeof wide, &indicator));
  EXPECT_EQ(12, indicator);  // six UTF-16 units
  EXPECT_EQ(u"caf", std::u16string(wide));
  ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_stmt, 1, SQL_C_WCHAR, wide, sizeof wide, &indicator));
  EXPECT_EQ(6, indicator);
  EXPECT_EQ(u"\u00E9 \u4E2D", std::u16string(wide));
  EXPECT_EQ(1, CountLines(LogLines(m_logFile), "SQLExecDirect select N'caf\xC3\xA9"));
}

TEST_F(ScriptedDriverStatement, BoundColumnsFillOnExtendedFetch) {
  m_script.Statement("select name, id from t")
      .Result({{"name", SQL_VARCHAR, 30}, {"id", SQL_INTEGER, 10}})
      .Row({"alpha", "7"})
      .Row({DriverScript::Null, DriverScript::Null});
  Start();
  ASSERT_EQ(SQL_SUCCESS, SQLSetStmtOption(m_stmt, SQL_CURSOR_TYPE, SQL_CURSOR_KEYSET_DRIVEN));
  ASSERT_EQ(SQL_SUCCESS, ExecDirect(m_stmt, "select name, id from t"));
  char name[31] = {};
  SQLINTEGER id = 0;
  SQLLEN nameIndicator = 0, idIndicator = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLBindCol(m_stmt, 1, SQL_C_CHAR, name, sizeof name, &nameIndicator));
  ASSERT_EQ(SQL_SUCCESS, SQLBindCol(m_stmt, 2, SQL_C_LONG, &id, sizeof id, &idIndicator));
  SQLULEN fetched = 0;
  SQLUSMALLINT status[1] = {};
  ASSERT_EQ(SQL_SUCCESS, SQLExtendedFetch(m_stmt, SQL_FETCH_NEXT, 1, &fetched, status));
  EXPECT_EQ(1u, fetched);
  EXPECT_STREQ("alpha", name);
  EXPECT_EQ(5, nameIndicator);
  EXPECT_EQ(7, id);
  ASSERT_EQ(SQL_SUCCESS, SQLExtendedFetch(m_stmt, SQL_FETCH_NEXT, 1, &fetched, status));
  EXPECT_EQ(SQL_NULL_DATA, nameIndicator);
  EXPECT_EQ(SQL_NULL_DATA, idIndicator);
  EXPECT_EQ(SQL_NO_DATA, SQLExtendedFetch(m_stmt, SQL_FETCH_NEXT, 1, &fetched, status));
  EXPECT_EQ(2, CountLines(LogLines(m_logFile), "SQLBindCol"));
}

TEST_F(ScriptedDriverStatement, CatalogCallsAnswerTheScriptInTheStandardShape) {
  m_script.Catalog("SQLTables").Row({"master", "dbo", "authors", "TABLE", DriverScript::Null});
  m_script.Catalog("SQLColumns", "authors")
      .Row({"master", "dbo", "authors", "au_id", "12", "varchar", "11", "11", DriverScript::Null, DriverScript::Null,
            "0"});
  Start();
  ASSERT_EQ(SQL_SUCCESS, SQLTables(m_stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0));
  ASSERT_EQ(5, ColumnCount());
  EXPECT_EQ("TABLE_NAME", ColumnName(m_stmt, 3));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  EXPECT_EQ("authors", ReadText(m_stmt, 3));
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_stmt));
  SQLFreeStmt(m_stmt, SQL_CLOSE);

  SQLCHAR table[] = "authors";
  ASSERT_EQ(SQL_SUCCESS, SQLColumns(m_stmt, nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0));
  ASSERT_EQ(18, ColumnCount());
  SQLSMALLINT dataType = 0, nullable = -1;
  SQLLEN indicator = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLBindCol(m_stmt, 5, SQL_C_SHORT, &dataType, 0, &indicator));
  ASSERT_EQ(SQL_SUCCESS, SQLBindCol(m_stmt, 11, SQL_C_SHORT, &nullable, 0, &indicator));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_stmt));
  EXPECT_EQ(SQL_VARCHAR, dataType);
  EXPECT_EQ(0, nullable);
  SQLFreeStmt(m_stmt, SQL_CLOSE);
  SQLFreeStmt(m_stmt, SQL_UNBIND);

  SQLCHAR other[] = "titles";
  ASSERT_EQ(SQL_SUCCESS, SQLColumns(m_stmt, nullptr, 0, nullptr, 0, other, SQL_NTS, nullptr, 0));
  EXPECT_EQ(18, ColumnCount());
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_stmt));
  EXPECT_EQ(1, CountLines(LogLines(m_logFile), "SQLColumns <null> <null> titles <null>"));
}

}  // namespace
}  // namespace dossel::test
