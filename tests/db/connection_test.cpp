// The connection object against the real driver manager and SQLite driver.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "db_test_fixture.h"

namespace dossel::test {
namespace {

using db::CDbConnection;
using db::CDbError;
using db::CQueryResultSet;
using db::DbEnvironment;

TEST(ConnectionTest, UnknownDataSourceNameWithDatabaseOpensThatSqliteFile) {
  ScratchFolder folder;
  const std::string path = folder.File("shop.db");
  RunSqlite(path, "create table t(a); insert into t values ('from the file')");
  CDbConnection connection;
  ASSERT_TRUE(connection.OpenWithOptions(SqliteConnectString(path), db::kNoOdbcDialog));
  EXPECT_TRUE(connection.IsOpen());
  const TString completed = connection.GetConnectString();
  EXPECT_EQ(completed.rfind(DT("ODBC;DSN=DosselTest;"), 0), 0u) << ToUtf8(completed);
  EXPECT_NE(completed.find(FromUtf8("Database=" + path)), TString::npos);
  CQueryResultSet rs(&connection);
  ASSERT_TRUE(rs.OpenSql(DT("select a from t")));
  TString value;
  rs.GetFieldText(0, value);
  EXPECT_EQ(value, DT("from the file"));
  EXPECT_EQ(connection.m_chIDQuoteChar, TChar('"'));
}

TEST(ConnectionTest, RefusesWhatItCannotOpenWithoutLeavingFilesBehind) {
  ScratchFolder folder;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  CDbConnection connection;
  // No Database= key: the driver would otherwise make a file named after the string.
  EXPECT_FALSE(connection.OpenWithOptions(DT("DSN=NoSuchSource;Timeout=1000"), db::kNoOdbcDialog));
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_EQ(connection.GetLastErrorText(),
            DT("Data source name \"NoSuchSource\" not found, and no Database= key names a file to open.\n"));
  EXPECT_FALSE(connection.OpenWithOptions(DT("DRIVER={SQLite3};Timeout=1000"), db::kNoOdbcDialog));
  EXPECT_EQ(connection.GetLastErrorText(), DT("The SQLite driver needs a Database= key naming the file to open.\n"));
  // A folder that does not exist.
  EXPECT_FALSE(connection.OpenWithOptions(SqliteConnectString(folder.File("missing/x.db")), db::kNoOdbcDialog));
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_EQ(connection.GetLastErrorText(), DT("connect failed\n"));
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  // A failed open with no other connection leaves no environment behind.
  EXPECT_EQ(DbEnvironment::Instance().Handle(), nullptr);
  EXPECT_EQ(DbEnvironment::Instance().ConnectionCount(), 0);
}

TEST(ConnectionTest, FileThatIsNotADatabaseFailsThroughTheNormalPath) {
  ScratchFolder folder;
  const std::string path = folder.File("notes.db");
  std::ofstream(path) << std::string(4096, 'z');
  CDbConnection connection;
  if (!connection.OpenWithOptions(SqliteConnectString(path), db::kNoOdbcDialog)) return;  // refused at open: fine
  CQueryResultSet rs(&connection);
  ASSERT_TRUE(rs.OpenSql(DT("select * from sqlite_master")));
  EXPECT_TRUE(rs.IsAfterLast());
}

TEST(ConnectionTest, OpenNeedsTheOdbcPrefixAndAppendsTheDataSourceName) {
  ScratchFolder folder;
  const std::string path = folder.File("p.db");
  RunSqlite(path, "create table t(a)");
  CDbConnection connection;
  EXPECT_FALSE(connection.Open(DT("x"), false, false, FromUtf8("Database=" + path), false));
  EXPECT_FALSE(connection.IsOpen());
  // Lower-case prefix; the name comes after the given attributes.
  ASSERT_TRUE(connection.Open(DT("x"), false, true, FromUtf8("odbc;Database=" + path), false));
  EXPECT_EQ(connection.GetConnectString().rfind(DT("ODBC;DSN=x;"), 0), 0u) << ToUtf8(connection.GetConnectString());
  EXPECT_FALSE(connection.IsUpdatable());
}

TEST(ConnectionTest, CloseClosesEveryOpenResultSetFirst) {
  ScratchFolder folder;
  const std::string path = folder.File("c.db");
  RunSqlite(path, "create table t(a); insert into t values (1), (2)");
  CDbConnection connection;
  connection.Close();  // closed: nothing happens
  ASSERT_TRUE(connection.OpenWithOptions(SqliteConnectString(path), db::kNoOdbcDialog));
  CQueryResultSet first(&connection), second(&connection), third(&connection);
  for (auto* rs : {&first, &second, &third}) ASSERT_TRUE(rs->OpenSql(DT("select a from t")));
  EXPECT_EQ(connection.ResultSetCount(), 3u);
  connection.Close();
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_EQ(connection.ResultSetCount(), 0u);
  for (auto* rs : {&first, &second, &third}) {
    EXPECT_EQ(rs->GetStatement(), nullptr);
    EXPECT_FALSE(rs->IsOpen());
    EXPECT_EQ(rs->GetConnection(), nullptr);
  }
  // The environment stays until the connection object is freed.
  EXPECT_NE(DbEnvironment::Instance().Handle(), nullptr);
}

TEST_F(SqliteFixture, ExecuteAndDiscardRunsStatementsAndDropsRows) {
  m_connection.ExecuteAndDiscard(DT("create table u(a)"));
  m_connection.ExecuteAndDiscard(DT("insert into u values (42)"));
  m_connection.ExecuteAndDiscard(DT("select * from u"));
  m_connection.ExecuteAndDiscard(DT("this is not sql"));
  EXPECT_EQ(One(DT("select a from u")), DT("42"));
}

TEST_F(SqliteFixture, DiagnosticsMoveBracketedComponentsIntoTheOrigin) {
  CQueryResultSet rs(&m_connection);
  const SQLHSTMT hstmt = rs.GetStatement();
  const SQLRETURN rc = db::OdbcExecDirect(hstmt, DT("select * from no_such_table"));
  ASSERT_EQ(rc, SQL_ERROR);
  CDbError error(rc);
  error.ReadDiagnostics(&m_connection, hstmt);
  EXPECT_EQ(error.m_strStateNativeOrigin, DT("State:S1000,Native:1,Origin:[SQLite]\n"));
  EXPECT_EQ(error.m_strError, DT("no such table: no_such_table (1)\n"));
  EXPECT_TRUE(error.HasState(DT("S1000")));
  TChar buffer[8];
  unsigned help = 99;
  EXPECT_TRUE(error.CopyErrorText(buffer, 8, &help));
  EXPECT_EQ(TString(buffer), DT("no such"));
  EXPECT_EQ(help, 0u);
  // Reading consumed the records.
  CDbError again(rc);
  again.ReadDiagnostics(&m_connection, hstmt);
  EXPECT_TRUE(again.m_strStateNativeOrigin.empty());
  CDbError withoutConnection(rc);
  withoutConnection.ReadDiagnostics(nullptr, hstmt);
  EXPECT_TRUE(withoutConnection.m_strError.empty());
}

TEST_F(SqliteFixture, ConnectionFactsAreRead) {
  EXPECT_TRUE(m_connection.IsSuccessCode(SQL_NO_DATA_FOUND));
  EXPECT_FALSE(m_connection.IsSuccessCode(SQL_NEED_DATA));
  EXPECT_FALSE(m_connection.IsSuccessCode(SQL_STILL_EXECUTING));
  EXPECT_TRUE(m_connection.m_bTransactions);
  EXPECT_EQ(m_connection.GetLoginTimeOut(), 15);
}

}  // namespace
}  // namespace dossel::test
