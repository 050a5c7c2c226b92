// Each server's driver in the streaming mode the connection asks it for,
// against the servers ctest starts (servers.sh): PostgreSQL's driver reads
// through a cursor a fetch at a time, gives the same rows as without, and
// still runs the statements its cursor cannot wrap; the data source's own
// setting stands. MariaDB's connector has no such mode and is left alone.
// Both take another statement on the connection while a result is read.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using db::CDbConnection;
using db::CQueryResultSet;

constexpr int kRows = 25000;  // more than two fetches of the driver's cursor

// The values of every row of every result `sql` gives, "|" between columns.
struct Read {
  std::vector<TString> rows;
  bool executeFailed = false;
  bool fetchFailed = false;
  TString error;
};

Read ReadAll(CDbConnection& connection, const std::string& sql) {
  Read read;
  CQueryResultSet rs(&connection);
  EXPECT_TRUE(rs.OpenSql(FromUtf8(sql))) << sql;
  do {
    for (; rs.GetColumnCount() > 0 && !rs.IsAfterLast(); rs.MoveNext()) {
      TString row;
      for (int i = 0; i < rs.GetColumnCount(); ++i) {
        TString value;
        rs.GetFieldText(i, value);
        row += (i ? DT("|") : DT("")) + value;
      }
      read.rows.push_back(row);
    }
  } while (!rs.FetchFailed() && rs.NextResultSet());
  read.executeFailed = rs.ExecuteFailed();
  read.fetchFailed = rs.FetchFailed();
  read.error = rs.LastErrorText();
  return read;
}

std::string One(CDbConnection& connection, const std::string& sql) {
  const Read read = ReadAll(connection, sql);
  return read.rows.empty() ? "<no row: " + ToUtf8(read.error) + ">" : ToUtf8(read.rows.front());
}

// The test's odbc.ini: the servers' data sources, and PostgreSQL's once more
// under names whose definitions set the driver's mode themselves.
class StreamingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* servers = std::getenv("ODBCINI");
    ASSERT_NE(servers, nullptr) << "run through ctest, which starts the servers";
    s_serversIni = servers;
    s_folder = new ScratchFolder();
    const std::string ini = ReadFile(s_serversIni);
    const size_t start = ini.find("[DosselPostgres]");
    ASSERT_NE(start, std::string::npos) << ini;
    const size_t end = ini.find("\n\n", start);
    const std::string body = ini.substr(start + 16, end == std::string::npos ? std::string::npos : end - start - 16);
    const std::string path = s_folder->File("odbc.ini");
    std::ofstream(path) << ini << "\n\n[DosselPostgresPlain]" << body << "\nUseDeclareFetch=0\n"
                        << "\n[DosselPostgresFetch50]" << body << "\nFetch=50\n";
    setenv("ODBCINI", path.c_str(), 1);
  }

  static void TearDownTestSuite() {
    setenv("ODBCINI", s_serversIni.c_str(), 1);
    delete s_folder;
    s_folder = nullptr;
  }

  void Open(CDbConnection& connection, const std::string& connect) {
    ASSERT_TRUE(connection.OpenWithOptions(FromUtf8(connect), db::kNoOdbcDialog))
        << connect << ": " << ToUtf8(connection.GetLastErrorText());
  }

  static std::string s_serversIni;
  static ScratchFolder* s_folder;
};

std::string StreamingTest::s_serversIni;
ScratchFolder* StreamingTest::s_folder = nullptr;

// A query runs as a cursor exactly when it shows in pg_cursors itself.
const char* kOwnCursors = "select count(*) from pg_cursors";

TEST_F(StreamingTest, PostgresReadsThroughACursorWithTheSameRowsAsWithout) {
  CDbConnection streaming;
  Open(streaming, "DSN=DosselPostgres;Timeout=1000;StepAPI=1");
  const db::StreamingMode& mode = streaming.GetStreamingMode();
  EXPECT_TRUE(mode.declareFetch);
  EXPECT_TRUE(mode.declareFetchAsked);
  EXPECT_EQ(mode.fetchRows, db::kDeclareFetchRows);
  EXPECT_EQ(One(streaming, kOwnCursors), "1");

  CDbConnection whole;
  Open(whole, "DSN=DosselPostgres;UseDeclareFetch=0");
  EXPECT_FALSE(whole.GetStreamingMode().declareFetch);
  EXPECT_FALSE(whole.GetStreamingMode().declareFetchAsked);
  EXPECT_EQ(One(whole, kOwnCursors), "0");

  const std::string rows =
      "select g, 'Customer ' || g, case when g % 5 = 0 then null when g % 7 = 0 then '' else 'n\xC3\xA9' || g end, "
      "g * 1.25, date '2000-01-01' + g, g % 3 = 0 from generate_series(1, " +
      std::to_string(kRows) + ") g order by g";
  const Read streamed = ReadAll(streaming, rows);
  const Read held = ReadAll(whole, rows);
  EXPECT_FALSE(streamed.executeFailed || streamed.fetchFailed) << ToUtf8(streamed.error);
  ASSERT_EQ(streamed.rows.size(), static_cast<size_t>(kRows));
  EXPECT_TRUE(streamed.rows == held.rows);
  EXPECT_EQ(ToUtf8(streamed.rows[kRows - 1]), "25000|Customer 25000||31250.00|2068-06-12|0");
}

TEST_F(StreamingTest, TheDataSourcesOwnSettingStands) {
  CDbConnection plain;
  Open(plain, "DSN=DosselPostgresPlain");
  EXPECT_FALSE(plain.GetStreamingMode().declareFetch) << "UseDeclareFetch=0 in the data source";
  EXPECT_EQ(One(plain, kOwnCursors), "0");

  CDbConnection fifty;
  Open(fifty, "DSN=DosselPostgresFetch50");
  EXPECT_TRUE(fifty.GetStreamingMode().declareFetch);
  EXPECT_EQ(fifty.GetStreamingMode().fetchRows, 50u) << "the data source's fetch size";

  CDbConnection typed;
  Open(typed, "DSN=DosselPostgres;A7=77");
  EXPECT_EQ(typed.GetStreamingMode().fetchRows, 77u) << "the connect string's own, abbreviated";

  CDbConnection chosen;
  Open(chosen, "DSN=DosselPostgres;UseDeclareFetch=1;Fetch=300");
  EXPECT_TRUE(chosen.GetStreamingMode().declareFetch);
  EXPECT_FALSE(chosen.GetStreamingMode().declareFetchAsked) << "the connect string turned it on";
  EXPECT_EQ(chosen.GetStreamingMode().fetchRows, 300u);
}

// Chosen at the driver manager's prompt, the connect string is the chooser's:
// the data source is the one the driver reports.
const char* s_chosen = nullptr;
int Choose(SQLHWND, const char*, char* chosen, int room) {
  std::snprintf(chosen, room, "DSN=%s", s_chosen);
  return 1;
}

TEST_F(StreamingTest, ADataSourceChosenAtThePromptIsReadAsWell) {
  DosselOdbcSetPromptHandler(Choose);
  for (const char* name : {"DosselPostgres", "DosselPostgresPlain"}) {
    s_chosen = name;
    CDbConnection connection;
    ASSERT_TRUE(connection.Open(TString(), false, false, DT("ODBC;"), false)) << name;
    EXPECT_EQ(connection.GetStreamingMode().declareFetch, std::string(name) == "DosselPostgres") << name;
  }
  DosselOdbcSetPromptHandler(nullptr);
}

TEST_F(StreamingTest, StatementsTheCursorRefusesRunOnceWithoutIt) {
  CDbConnection connection;
  Open(connection, "DSN=DosselPostgres");
  ASSERT_TRUE(connection.GetStreamingMode().declareFetch);
  connection.ExecuteAndDiscard(DT("drop table if exists streamed"));
  connection.ExecuteAndDiscard(DT("create table streamed(a integer)"));

  // A WITH whose main statement changes data, and one with data-changing
  // parts whose result is longer than a fetch.
  Read read = ReadAll(connection, "with x as (select 1 as a) insert into streamed select a from x");
  EXPECT_FALSE(read.executeFailed) << ToUtf8(read.error);
  read = ReadAll(connection, "with x as (insert into streamed select g from generate_series(2, " +
                                 std::to_string(kRows + 1) + ") g returning a) select a from x order by a");
  EXPECT_FALSE(read.executeFailed) << ToUtf8(read.error);
  ASSERT_EQ(read.rows.size(), static_cast<size_t>(kRows));
  EXPECT_EQ(read.rows.back(), FromUtf8(std::to_string(kRows + 1)));
  EXPECT_FALSE(
      ReadAll(connection, "  /* no change */ WITH x as (select 1) update streamed set a = a + 0").executeFailed);
  EXPECT_FALSE(
      ReadAll(connection, "with x as (select 0 as a) delete from streamed where a in (select a from x)").executeFailed);
  // Each ran once, and the connection streams again afterwards.
  EXPECT_EQ(One(connection, "select count(*), count(distinct a) from streamed"),
            std::to_string(kRows + 1) + "|" + std::to_string(kRows + 1));
  EXPECT_EQ(One(connection, kOwnCursors), "1");

  // A real mistake fails as it would without the cursor.
  read = ReadAll(connection, "with x as (select 1 as a) selec a from x");
  EXPECT_TRUE(read.executeFailed);
  EXPECT_NE(ToUtf8(read.error).find("\"selec\""), std::string::npos) << ToUtf8(read.error);
  // A last line ending in a comment keeps the cursor (and the rows).
  EXPECT_EQ(One(connection, std::string(kOwnCursors) + " -- how many"), "1");
  connection.ExecuteAndDiscard(DT("drop table streamed"));
}

TEST_F(StreamingTest, TheCursorKeepsTheUsersTransactionAndErrors) {
  CDbConnection connection;
  Open(connection, "DSN=DosselPostgres");
  connection.ExecuteAndDiscard(DT("drop table if exists kept"));
  connection.ExecuteAndDiscard(DT("create table kept(a integer)"));
  // The cursor's own transaction neither commits nor ends the user's.
  connection.ExecuteAndDiscard(DT("begin"));
  connection.ExecuteAndDiscard(DT("insert into kept values (1)"));
  EXPECT_EQ(One(connection, "select count(*) from kept"), "1");
  connection.ExecuteAndDiscard(DT("rollback"));
  EXPECT_EQ(One(connection, "select count(*) from kept"), "0");

  // An error in the middle of a result comes after the rows before it: the
  // first fetches arrived; without the cursor the execute itself fails.
  const Read read = ReadAll(connection, "select 1 / (g - 15000) from generate_series(1, 20000) g");
  EXPECT_FALSE(read.executeFailed);
  EXPECT_TRUE(read.fetchFailed);
  EXPECT_GE(read.rows.size(), 10000u);
  EXPECT_LT(read.rows.size(), 15000u);
  EXPECT_NE(ToUtf8(read.error).find("division by zero"), std::string::npos) << ToUtf8(read.error);
  EXPECT_EQ(One(connection, "select 7"), "7") << "the connection goes on";
  connection.ExecuteAndDiscard(DT("drop table kept"));
}

// Another statement on the same connection while a result is still being
// read runs, a change it makes is kept, and the first result goes on to its
// last row.
void AnotherStatementDuringAFill(CDbConnection& connection, const std::string& rows, const std::string& table) {
  connection.ExecuteAndDiscard(FromUtf8("drop table if exists " + table));
  connection.ExecuteAndDiscard(FromUtf8("create table " + table + "(a integer)"));
  CQueryResultSet fill(&connection);
  ASSERT_TRUE(fill.OpenSql(FromUtf8(rows)));
  int read = 0;
  for (; read < 100 && !fill.IsAfterLast(); fill.MoveNext()) ++read;
  ASSERT_EQ(read, 100);
  EXPECT_EQ(One(connection, "select 7"), "7");
  EXPECT_FALSE(ReadAll(connection, "insert into " + table + " values (1)").executeFailed);
  TString last;
  for (; !fill.IsAfterLast(); fill.MoveNext(), ++read) fill.GetFieldText(0, last);
  EXPECT_FALSE(fill.FetchFailed()) << ToUtf8(fill.LastErrorText());
  EXPECT_EQ(read, kRows);
  EXPECT_EQ(ToUtf8(last), std::to_string(kRows));
  EXPECT_EQ(One(connection, "select count(*) from " + table), "1");
  connection.ExecuteAndDiscard(FromUtf8("drop table " + table));
}

TEST_F(StreamingTest, PostgresTakesAnotherStatementDuringAFill) {
  CDbConnection connection;
  Open(connection, "DSN=DosselPostgres");
  ASSERT_TRUE(connection.GetStreamingMode().declareFetch);
  AnotherStatementDuringAFill(connection, "select g from generate_series(1, " + std::to_string(kRows) + ") g",
                              "meanwhile");
}

// MariaDB's connector (3.1) holds every result whole inside the execute, with
// its no-cache option bit as without it; the connection asks it for nothing.
// That is also why another statement runs during a fill: the server's
// protocol keeps a connection busy until a streamed result's last row, so a
// connector that streamed would make this test fail with no-cache.
TEST_F(StreamingTest, MariaDbHoldsEachResultWholeWithOrWithoutNoCache) {
  CDbConnection connection;
  Open(connection, "DSN=DosselMariaDB");
  const db::StreamingMode& mode = connection.GetStreamingMode();
  EXPECT_FALSE(mode.declareFetch || mode.declareFetchAsked);
  const std::string rows =
      "select seq, concat('Customer ', seq), case when seq % 5 = 0 then null when seq % 7 = 0 "
      "then '' else concat('n\xC3\xA9', seq) end, seq * 1.25 from seq_1_to_" +
      std::to_string(kRows);
  CDbConnection noCache;
  Open(noCache, "DSN=DosselMariaDB;OPTION=1048576");
  const Read held = ReadAll(connection, rows);
  const Read uncached = ReadAll(noCache, rows);
  EXPECT_FALSE(uncached.executeFailed || uncached.fetchFailed) << ToUtf8(uncached.error);
  ASSERT_EQ(held.rows.size(), static_cast<size_t>(kRows));
  EXPECT_TRUE(held.rows == uncached.rows);
  EXPECT_EQ(ToUtf8(held.rows[kRows - 1]), "25000|Customer 25000||31250.00");

  const std::string sequence = "select seq from seq_1_to_" + std::to_string(kRows);
  AnotherStatementDuringAFill(connection, sequence, "meanwhile");
  AnotherStatementDuringAFill(noCache, sequence, "meanwhile_uncached");
}

}  // namespace
}  // namespace dossel::test
