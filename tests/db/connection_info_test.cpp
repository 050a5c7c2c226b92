// What callers outside the database layer ask of a connection and a result
// set instead of calling ODBC themselves: SQLGetInfo answers, SQLGetFunctions
// and SQLRowCount (the data sources are in driver_manager_test.cpp). The
// SQLite driver shows the ordinary answers; the scripted driver the refusals
// SQLite never gives.

#include <gtest/gtest.h>

#include <string>

#include "db_test_fixture.h"
#include "driver_script.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

using db::CDbConnection;
using db::CQueryResultSet;

TEST_F(SqliteFixture, InfoAnswersOfTheSqliteDriver) {
  EXPECT_EQ(m_connection.GetInfoText(SQL_DBMS_NAME), DT("SQLite"));
  EXPECT_EQ(m_connection.GetInfoText(SQL_IDENTIFIER_QUOTE_CHAR), DT("\""));
  EXPECT_EQ(m_connection.GetInfoText(SQL_MULT_RESULT_SETS), DT("N"));
  EXPECT_EQ(m_connection.GetInfoText(SQL_DATABASE_NAME), FromUtf8(m_databasePath));
  uint16_t transactions = 99;
  ASSERT_TRUE(m_connection.GetInfoNumber(SQL_TXN_CAPABLE, transactions));
  EXPECT_NE(transactions, 99);
  EXPECT_EQ(m_connection.m_bTransactions, transactions != 0);
  uint32_t getData = 0;
  ASSERT_TRUE(m_connection.GetInfoNumber(SQL_GETDATA_EXTENSIONS, getData));
  EXPECT_NE(getData & SQL_GD_ANY_COLUMN, 0u);
  EXPECT_TRUE(m_connection.IsFunctionSupported(SQL_API_SQLROWCOUNT));
  EXPECT_TRUE(m_connection.IsFunctionSupported(SQL_API_SQLCANCEL));
  EXPECT_TRUE(m_connection.IsFunctionSupported(SQL_API_SQLPRIMARYKEYS));
}

TEST(ConnectionInfoTest, ClosedConnectionAnswersNothing) {
  CDbConnection connection;
  EXPECT_EQ(connection.GetInfoText(SQL_DBMS_NAME), DT(""));
  uint32_t number32 = 7;
  uint16_t number16 = 7;
  EXPECT_FALSE(connection.GetInfoNumber(SQL_GETDATA_EXTENSIONS, number32));
  EXPECT_FALSE(connection.GetInfoNumber(SQL_TXN_CAPABLE, number16));
  EXPECT_EQ(number32, 7u);
  EXPECT_EQ(number16, 7);
  EXPECT_FALSE(connection.IsFunctionSupported(SQL_API_SQLCANCEL));
  uint16_t all[100];
  all[SQL_API_SQLFETCH] = SQL_TRUE;
  EXPECT_FALSE(connection.GetAllFunctions(all));
  EXPECT_EQ(all[SQL_API_SQLFETCH], SQL_FALSE);
  SQLRETURN rc = SQL_SUCCESS;
  EXPECT_FALSE(connection.AllocateStatement(rc));
  EXPECT_FALSE(SQL_SUCCEEDED(rc));
}

TEST_F(SqliteFixture, RowCountOfAStatementWithoutColumns) {
  RunSqlite(m_databasePath, "create table t(a); insert into t values (1), (2), (3)");
  CQueryResultSet update(&m_connection);
  ASSERT_TRUE(update.OpenSql(DT("update t set a = a + 1 where a > 1")));
  int64_t rows = 0;
  ASSERT_TRUE(update.GetRowCount(rows));
  EXPECT_EQ(rows, 2);
  // A set without a statement cannot answer.
  update.Close();
  rows = 5;
  EXPECT_FALSE(update.GetRowCount(rows));
  EXPECT_EQ(rows, -1);
}

class ScriptedInfoTest : public ::testing::Test {
 protected:
  void Connect() {
    const std::string script = m_folder.File("script.txt");
    m_script.Save(script);
    ASSERT_TRUE(m_connection.OpenWithOptions(FromUtf8(ScriptedDriverConnectString(script)), db::kNoOdbcDialog));
  }

  ScratchFolder m_folder;
  DriverScript m_script;
  CDbConnection m_connection;
};

TEST_F(ScriptedInfoTest, NumbersInTheirWidthsTextsOfAnyLengthAndMissingAnswers) {
  const std::string longName(700, 'd');
  m_script.Dbms(longName)
      .InfoInt16(SQL_CURSOR_COMMIT_BEHAVIOR, SQL_CB_PRESERVE)
      .InfoInt32(SQL_BOOKMARK_PERSISTENCE, 0x12345678)
      .InfoMissing(SQL_DATABASE_NAME)
      .InfoMissing(SQL_SCROLL_OPTIONS);
  Connect();
  // Longer than the first room given to the driver: asked again, read whole.
  EXPECT_EQ(m_connection.GetInfoText(SQL_DBMS_NAME), FromUtf8(longName));
  EXPECT_EQ(m_connection.GetInfoText(SQL_DATABASE_NAME), DT(""));
  uint16_t commit = 0;
  ASSERT_TRUE(m_connection.GetInfoNumber(SQL_CURSOR_COMMIT_BEHAVIOR, commit));
  EXPECT_EQ(commit, SQL_CB_PRESERVE);
  uint32_t bookmarks = 0;
  ASSERT_TRUE(m_connection.GetInfoNumber(SQL_BOOKMARK_PERSISTENCE, bookmarks));
  EXPECT_EQ(bookmarks, 0x12345678u);
  uint32_t scroll = 42;
  EXPECT_FALSE(m_connection.GetInfoNumber(SQL_SCROLL_OPTIONS, scroll));
  EXPECT_EQ(scroll, 42u);
  // The facts read at open went through the same questions.
  EXPECT_EQ(m_connection.m_nCursorCommitBehavior, SQL_CB_PRESERVE);
  EXPECT_EQ(m_connection.m_dwBookmarkAttributes, 0x12345678u);
}

TEST_F(ScriptedInfoTest, FunctionsTheDriverLacks) {
  m_script.Unsupported(SQL_API_SQLCANCEL).Unsupported(SQL_API_SQLROWCOUNT);
  Connect();
  EXPECT_FALSE(m_connection.IsFunctionSupported(SQL_API_SQLCANCEL));
  EXPECT_FALSE(m_connection.IsFunctionSupported(SQL_API_SQLROWCOUNT));
  EXPECT_TRUE(m_connection.IsFunctionSupported(SQL_API_SQLEXECDIRECT));
  EXPECT_TRUE(m_connection.IsFunctionSupported(SQL_API_SQLMORERESULTS));
  // The whole table agrees with the one-by-one answers.
  uint16_t all[100];
  ASSERT_TRUE(m_connection.GetAllFunctions(all));
  EXPECT_EQ(all[SQL_API_SQLCANCEL], SQL_FALSE);
  EXPECT_EQ(all[SQL_API_SQLROWCOUNT], SQL_FALSE);
  EXPECT_EQ(all[SQL_API_SQLEXECDIRECT], SQL_TRUE);
  EXPECT_EQ(all[SQL_API_SQLMORERESULTS], SQL_TRUE);
}

TEST_F(ScriptedInfoTest, RowCountAnsweredAndRefused) {
  m_script.Statement("update t set a = 0").RowCount(5);
  m_script.Statement("delete from t").RowCountError("HY000", 1, "row count is not available");
  Connect();
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("update t set a = 0")));
  int64_t rows = 0;
  ASSERT_TRUE(rs.GetRowCount(rows));
  EXPECT_EQ(rows, 5);
  rs.Close();
  ASSERT_TRUE(rs.OpenSql(DT("delete from t")));
  rows = 0;
  EXPECT_FALSE(rs.GetRowCount(rows));
  EXPECT_EQ(rows, -1);
}

}  // namespace
}  // namespace dossel::test
