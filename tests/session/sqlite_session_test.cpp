// The session against the real SQLite driver: connect, runs in text format,
// cancel, disconnect, the timer.

#include "session_fixture.h"

namespace dossel::test {
namespace {

constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

class SqliteSessionTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table t(a text, b integer);"
              "insert into t values ('x', 1), ('y', 2), ('z', 3);"
              "create table u(v integer); insert into u values (1),(2),(3),(4),(5);");
  }

  void Connect(int stepApi = 0) {
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=" + std::to_string(stepApi)));
  }

  std::string m_database;
};

TEST_F(SqliteSessionTest, ConnectWritesItsThreeLinesAndReadsTheDriverFacts) {
  const TString connect = FromUtf8("ODBC;DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=0");
  ASSERT_TRUE(m_session.Connect(&connect));
  EXPECT_EQ(WithoutTimes(m_view.Trace()),
            "Connecting to database ...\r\nExecute time: T\r\nConnected to database [" + m_database + "]\r\n\r\n");
  EXPECT_EQ(m_session.GetDbmsName(), DT("SQLite"));
  EXPECT_EQ(m_session.GetDatabaseName(), FromUtf8(m_database));
  EXPECT_FALSE(m_session.IsTransactSql());
  EXPECT_FALSE(m_session.HasMultipleResults());
  EXPECT_TRUE(m_session.IsCancelSupported());
  EXPECT_TRUE(m_session.IsRowCountSupported());
  EXPECT_TRUE(m_session.IsConnected());
}

TEST_F(SqliteSessionTest, FailedConnectWritesOnlyTheConnectingLineAndSaysWhy) {
  EXPECT_FALSE(ConnectTo("DSN=Shop;Database=" + m_folder.File("no/such/folder.db")));
  EXPECT_EQ(m_view.Trace(), "Connecting to database ...\r\n");
  EXPECT_FALSE(m_session.IsConnected());
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_TRUE(m_ui.texts[0].starts_with(DT("Cannot connect to the data source.\r\n")));
}

TEST_F(SqliteSessionTest, SelectInTextFormat) {
  Connect();
  Run("select a, b from t order by b");
  EXPECT_EQ(m_view.Result(),
            "  \ta\tb\t\r\n"
            "--------------------------------------\r\n"
            "1\tx\t1\t\r\n"
            "2\ty\t2\t\r\n"
            "3\tz\t3\t\r\n");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [select a, b from t order by b] ...\r\n"
            "Execute time: T\r\n"
            "(3 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
  EXPECT_EQ(m_view.m_runsEnded, 1);
  EXPECT_FALSE(m_view.m_lastRunWasObjectText);
  EXPECT_FALSE(m_view.m_timerRunning);
}

TEST_F(SqliteSessionTest, UpdateWritesTheAffectedRows) {
  Connect();
  Run("update u set v = v + 1");
  EXPECT_EQ(NewTrace(),
            "Executing query [update u set v = v + 1] ...\r\n"
            "(5 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
  EXPECT_EQ(m_view.Result(), "");
}

TEST_F(SqliteSessionTest, ValuesAreWrittenLiterallyAndEmptyResultsKeepTheirHeader) {
  Connect();
  Run("select '50% %s %d' as pct, NULL as nul, '' as empty");
  EXPECT_EQ(m_view.Result(),
            "  \tpct\tnul\tempty\t\r\n"
            "--------------------------------------\r\n"
            "1\t50% %s %d\t\t\t\r\n");
  Run("select a from t where 0");
  EXPECT_TRUE(m_view.Result().ends_with("  \ta\t\r\n--------------------------------------\r\n"));
  EXPECT_NE(NewTrace().find("(0 row(s) affected)\r\nQuery completed successfully."), std::string::npos);
}

TEST_F(SqliteSessionTest, BadSqlCompletesWithErrorsAndSaysWhy) {
  Connect();
  Run("select * from no_such_table");
  EXPECT_EQ(NewTrace(),
            "Executing query [select * from no_such_table] ...\r\n"
            "Error: no such table: no_such_table (1)\r\n"
            "Query completed with errors\r\n\r\n");
}

TEST_F(SqliteSessionTest, CancelEndsALongRunQuicklyWithoutACountLine) {
  Connect();
  Start(kLongQuery);
  Pump(300);
  ASSERT_TRUE(m_session.IsExecuting());
  const auto asked = std::chrono::steady_clock::now();
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(3));
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Canceling query ...\r\n"), std::string::npos);
  EXPECT_TRUE(trace.ends_with("\r\nQuery canceled.\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("row(s) affected"), std::string::npos);
  // The connection is still there and usable.
  Run("select count(*) from t");
  EXPECT_NE(m_view.Result().find("1\t3\t\r\n"), std::string::npos);
}

TEST_F(SqliteSessionTest, DisconnectWhileRunningAsksAndKeepsTheConnection) {
  Connect();
  Start(kLongQuery);
  Pump(100);
  m_ui.answer = kIdNo;
  m_session.Disconnect();
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("A query is in progress.\r\nCancel the query?"));
  EXPECT_TRUE(m_session.IsConnected());
  EXPECT_FALSE(m_session.IsCanceling());
  m_ui.answer = kIdYes;
  m_session.Disconnect();
  EXPECT_TRUE(m_session.IsCanceling());
  EXPECT_TRUE(m_session.IsConnected());
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  m_session.Disconnect();
  EXPECT_FALSE(m_session.IsConnected());
  EXPECT_NE(m_view.Trace().find("Disconnecting database ...\r\nDatabase disconnected\r\n\r\n"), std::string::npos);
  // A new connection gets a new thread.
  Connect();
  Run("select count(*) from u");
  EXPECT_NE(m_view.Result().find("1\t5\t\r\n"), std::string::npos);
}

TEST_F(SqliteSessionTest, LoginTimeOutOutOfRangeConnectsWithZero) {
  m_session.SetLoginTimeout(100000);
  Connect();
  EXPECT_EQ(m_session.Connection().GetLoginTimeOut(), 0);
}

TEST_F(SqliteSessionTest, TimerLineIsOneAppendWithTheTimeOnIt) {
  Connect();
  Start(kLongQuery);
  Pump(100);
  EXPECT_TRUE(m_view.m_timerRunning);
  NewTrace();
  m_session.OnTimer();
  EXPECT_TRUE(std::regex_match(NewTrace(), std::regex("Timer: Execute time: 00:00:00\\.\\d\\d\\d\r\n")));
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  EXPECT_FALSE(m_view.m_timerRunning);
  m_session.OnTimer();  // a late tick after the run writes nothing
  EXPECT_TRUE(NewTrace().ends_with("Query canceled.\r\n\r\n"));
}

// Rows that arrive slowly reach the pane while the query runs, not only
// when 64 KB have gathered.
TEST_F(SqliteSessionTest, SlowRowsReachTheResultPaneWhileTheyArrive) {
  Connect(1);
  // Each row costs the driver a noticeable moment; six rows take well over
  // the text flush interval.
  Run("with recursive c(x) as (select 1 union all select x + 1 from c where x < 6) "
      "select x, (with recursive d(y) as (select x union all select y + 1 from d where y < x + 400000) "
      "select count(*) from d) from c");
  EXPECT_GT(m_view.ResultAppends(), 1);
  EXPECT_NE(m_view.Result().find("6\t6\t400001\t\r\n"), std::string::npos);
}

TEST_F(SqliteSessionTest, ConnectionCallsComeFromTheConnectionsOwnThread) {
  Connect();
  std::thread::id first;
  std::thread::id second;
  auto threadOf = [](db::CDbConnection& connection) {
    return connection.IsOpen() ? std::this_thread::get_id() : std::thread::id();
  };
  ASSERT_TRUE(m_session.Ask(threadOf, [&](std::thread::id id) { first = id; }));
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsReading(); }));
  Run("select 1");
  ASSERT_TRUE(m_session.Ask(threadOf, [&](std::thread::id id) { second = id; }));
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsReading(); }));
  EXPECT_NE(first, std::thread::id());
  EXPECT_EQ(first, second);
  EXPECT_NE(first, std::this_thread::get_id());
}

TEST(ExecuteTimeTest, HoursAreNotReducedModulo24) {
  EXPECT_EQ(session::FormatExecuteTime(3725004), DT("Execute time: 01:02:05.004\r\n"));
  EXPECT_EQ(session::FormatExecuteTime(100u * 3600u * 1000u), DT("Execute time: 100:00:00.000\r\n"));
  EXPECT_EQ(session::FormatExecuteTime(0), DT("Execute time: 00:00:00.000\r\n"));
  // A tick counter that wrapped between start and end still gives the elapsed time.
  const uint32_t start = 0xFFFFFF00u;
  EXPECT_EQ(session::FormatExecuteTime(static_cast<uint32_t>(0x00000064u - start)),
            DT("Execute time: 00:00:00.356\r\n"));
}

}  // namespace
}  // namespace dossel::test
