// The session controller against the real SQLite driver: connect, runs in
// text format, cancel, disconnect.

#include <thread>

#include "frame_fixture.h"

namespace dossel::test {
namespace {

class SqliteSessionTest : public TextFrameTest {
 protected:
  void SetUp() override {
    TextFrameTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table t(a text, b integer);"
              "insert into t values ('x', 1), ('y', 2), ('z', 3);"
              "create table u(v integer); insert into u values (1),(2),(3),(4),(5);");
  }

  void Connect() { ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=0")); }

  std::string m_database;
};

constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

TEST_F(SqliteSessionTest, ConnectWritesItsThreeLinesAndReadsTheDriverFacts) {
  const TString connect = FromUtf8("ODBC;DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=0");
  ASSERT_TRUE(m_frame->Connect(&connect));
  EXPECT_EQ(WithoutTimes(Trace()),
            "Connecting to database ...\r\nExecute time: T\r\nConnected to database [" + m_database + "]\r\n\r\n");
  EXPECT_EQ(m_frame->m_strDbmsName, DT("SQLite"));
  EXPECT_EQ(m_frame->m_strDatabaseName, FromUtf8(m_database));
  EXPECT_FALSE(m_frame->m_bTransactSql);
  EXPECT_FALSE(m_frame->m_bMultipleResults);
  EXPECT_TRUE(m_frame->m_bCancelSupported);
  EXPECT_TRUE(m_frame->m_bRowCountSupported);
  EXPECT_TRUE(m_frame->IsCommandEnabled(32829));   // Schema pane
  EXPECT_FALSE(m_frame->IsCommandEnabled(32831));  // Connect
}

TEST_F(SqliteSessionTest, FailedConnectWritesOnlyTheConnectingLine) {
  EXPECT_FALSE(ConnectTo("DSN=Shop;Database=" + m_folder.File("no/such/folder.db")));
  EXPECT_EQ(Trace(), "Connecting to database ...\r\n");
  EXPECT_FALSE(m_frame->m_db.IsOpen());
  ASSERT_EQ(m_ui.texts.size(), 1u);  // the driver's reason, in a message box
  EXPECT_FALSE(m_frame->IsCommandEnabled(32829));
}

TEST_F(SqliteSessionTest, SelectInTextFormat) {
  Connect();
  Run("select a, b from t order by b");
  EXPECT_EQ(Result(),
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
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
}

TEST_F(SqliteSessionTest, UpdateWritesTheAffectedRows) {
  Connect();
  Run("update u set v = v + 1");
  EXPECT_EQ(NewTrace(),
            "Executing query [update u set v = v + 1] ...\r\n"
            "(5 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
  EXPECT_EQ(Result(), "");
}

TEST_F(SqliteSessionTest, ValuesAreWrittenLiterally) {
  Connect();
  Run("select '50% %s %d' as pct, NULL as nul, '' as empty");
  EXPECT_EQ(Result(),
            "  \tpct\tnul\tempty\t\r\n"
            "--------------------------------------\r\n"
            "1\t50% %s %d\t\t\t\r\n");
}

TEST_F(SqliteSessionTest, EmptyResultWritesHeaderAndZeroCount) {
  Connect();
  Run("select a from t where 0");
  EXPECT_EQ(Result(), "  \ta\t\r\n--------------------------------------\r\n");
  EXPECT_NE(NewTrace().find("(0 row(s) affected)\r\nQuery completed successfully."), std::string::npos);
}

TEST_F(SqliteSessionTest, ExecuteRunsOnlyTheSelection) {
  Connect();
  m_frame->m_pQueryView->SetQueryText(DT("select 1\nselect b from t where b = 2"));
  m_frame->m_pQueryView->GetEdit()->SetSelection(9, m_frame->m_pQueryView->GetEdit()->GetLastPosition());
  StartAndWait();
  EXPECT_TRUE(NewTrace().starts_with("Executing query [select b from t where b = 2] ...\r\n"));
  EXPECT_NE(Result().find("1\t2\t\r\n"), std::string::npos);
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
  m_frame->m_pQueryView->SetQueryText(FromUtf8(kLongQuery));
  m_frame->Execute();
  Pump(300);
  ASSERT_TRUE(m_frame->m_bExecuting);
  ASSERT_TRUE(m_frame->IsCommandEnabled(32800));
  const auto asked = std::chrono::steady_clock::now();
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->m_bExecuting; }));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(3));
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Canceling query ...\r\n"), std::string::npos);
  EXPECT_TRUE(trace.ends_with("\r\nQuery canceled.\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("row(s) affected"), std::string::npos);
  // The connection is still there and usable.
  Run("select count(*) from t");
  EXPECT_NE(Result().find("1\t3\t\r\n"), std::string::npos);
}

TEST_F(SqliteSessionTest, DisconnectWhileRunningAsksAndKeepsTheConnection) {
  Connect();
  m_frame->m_pQueryView->SetQueryText(FromUtf8(kLongQuery));
  m_frame->Execute();
  Pump(100);
  m_ui.answer = kIdNo;
  m_frame->Disconnect();
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("A query is in progress.\r\nCancel the query?"));
  EXPECT_TRUE(m_frame->m_db.IsOpen());
  EXPECT_FALSE(m_frame->m_bCanceling);
  m_ui.answer = kIdYes;
  m_frame->Disconnect();
  EXPECT_TRUE(m_frame->m_bCanceling);
  EXPECT_TRUE(m_frame->m_db.IsOpen());
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->m_bExecuting; }));
  m_frame->Disconnect();
  EXPECT_FALSE(m_frame->m_db.IsOpen());
  EXPECT_EQ(NewTrace().substr(0, 0), "");
  EXPECT_NE(Trace().find("Disconnecting database ...\r\nDatabase disconnected\r\n\r\n"), std::string::npos);
}

class TimeoutSettingsTest : public TextFrameTest {
 protected:
  void PrepareSettings() override {
    TextFrameTest::PrepareSettings();
    WriteSetting(kOptionsKey, DT("LoginTimeOut"), m_loginTimeout);
  }
  int m_loginTimeout = 100000;
};

TEST_F(TimeoutSettingsTest, LoginTimeOutOutOfRangeConnectsWithZero) {
  const std::string database = m_folder.File("t.db");
  RunSqlite(database, "create table t(a)");
  EXPECT_EQ(m_frame->m_nLoginTimeout, 100000);
  ASSERT_TRUE(ConnectTo("DSN=T;Database=" + database));
  EXPECT_EQ(m_frame->m_db.GetLoginTimeOut(), 0);
}

TEST(ExecuteTimeTest, HoursAreNotReducedModulo24) {
  EXPECT_EQ(FormatExecuteTime(3725004), DT("Execute time: 01:02:05.004\r\n"));
  EXPECT_EQ(FormatExecuteTime(100u * 3600u * 1000u), DT("Execute time: 100:00:00.000\r\n"));
  EXPECT_EQ(FormatExecuteTime(0), DT("Execute time: 00:00:00.000\r\n"));
  // A tick counter that wrapped between start and end still gives the elapsed time.
  const uint32_t start = 0xFFFFFF00u;
  EXPECT_EQ(FormatExecuteTime(static_cast<uint32_t>(0x00000064u - start)), DT("Execute time: 00:00:00.356\r\n"));
}

}  // namespace
}  // namespace dossel::test
