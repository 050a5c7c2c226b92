// The session with servers of the T-SQL family and with driver faults,
// played by the scripted test driver.

#include "driver_script.h"
#include "scripted_connect.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

class ScriptedSessionTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_scriptPath = m_folder.File("script.txt");
    m_logPath = m_folder.File("calls.log");
    m_script.Log(m_logPath);
  }

  void Connect(const std::string& dbms) {
    m_script.Dbms(dbms);
    m_script.Save(m_scriptPath);
    ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(m_scriptPath)));
  }

  std::string Log() const { return ReadFile(m_logPath); }
  bool Received(const std::string& line) const { return Log().find(line + "\n") != std::string::npos; }

  std::string m_scriptPath;
  std::string m_logPath;
  DriverScript m_script;
};

const std::vector<ScriptColumn> kTextColumn = {{"text", SQL_VARCHAR, 255}};

TEST_F(ScriptedSessionTest, ObjectTextOfAnAnywhereServerComesFromSyscomments) {
  m_script.Statement("SELECT text FROM syscomments where id = object_id('myproc') order by number, colid2, colid")
      .Result(kTextColumn)
      .Row({"create procedure myproc"})
      .Row({" as select 1"});
  Connect("Adaptive Server Anywhere");
  EXPECT_TRUE(m_session.IsTransactSql());
  Run("sp_helptext myproc");
  const std::string trace = NewTrace();
  EXPECT_TRUE(
      trace.starts_with("Executing query [SELECT text FROM syscomments where id = object_id('myproc') "
                        "order by number, colid2, colid] ...\r\n"))
      << trace;
  EXPECT_NE(trace.find("\r\ncreate procedure myproc as select 1\r\nQuery completed successfully.\r\n\r\n"),
            std::string::npos)
      << trace;
  EXPECT_TRUE(m_view.m_lastRunWasObjectText);
  EXPECT_EQ(m_view.m_objectTextShown, 1);
  EXPECT_EQ(m_view.Result(), "");
  EXPECT_FALSE(m_session.IsObjectTextRun());
}

TEST(ObjectTextQueryTest, QuoteInTheObjectNameIsDoubledAndOnlyTheExactPrefixCounts) {
  bool helpText = false;
  EXPECT_EQ(session::ObjectTextQuery(DT("sp_helptext o'brien\r\n"), DT("Sybase SQL Anywhere"), helpText),
            DT("SELECT text FROM syscomments where id = object_id('o''brien') order by number, colid2, colid"));
  EXPECT_TRUE(helpText);
  // Capitals or a leading blank make an ordinary statement.
  EXPECT_EQ(session::ObjectTextQuery(DT("SP_HELPTEXT x"), DT("Sybase SQL Anywhere"), helpText), DT("SP_HELPTEXT x"));
  EXPECT_FALSE(helpText);
  EXPECT_EQ(session::ObjectTextQuery(DT(" sp_helptext x"), DT("Sybase SQL Anywhere"), helpText), DT(" sp_helptext x"));
  EXPECT_FALSE(helpText);
}

TEST_F(ScriptedSessionTest, ObjectTextOfSqlServerRunsUnchangedIntoTheTrace) {
  m_script.Statement("sp_helptext myview").Result(kTextColumn).Row({"create view myview as select 2"});
  Connect("Microsoft SQL Server");
  Run("sp_helptext myview");
  EXPECT_TRUE(Received("SQLExecDirect sp_helptext myview")) << Log();
  EXPECT_NE(m_view.Trace().find("\r\ncreate view myview as select 2\r\n"), std::string::npos);
  EXPECT_TRUE(m_view.m_lastRunWasObjectText);
}

// The current database is read after a text naming "USE "; when that read
// fails, an object-text run still writes only the object's text.
TEST_F(ScriptedSessionTest, ObjectTextRunTellsNothingOfTheDatabaseRead) {
  m_script.Statement("sp_helptext \"because it\"").Result(kTextColumn).Row({"create view v as select 3"});
  Connect("Microsoft SQL Server");
  Run("sp_helptext \"because it\"");
  const std::string trace = m_view.Trace();
  EXPECT_TRUE(Received("SQLExecDirect select db_name() dbname")) << Log();
  EXPECT_EQ(trace.find("Failed to select database."), std::string::npos) << trace;
  EXPECT_NE(trace.find("create view v as select 3"), std::string::npos) << trace;
}

// A read of the current database that fails or returns no row keeps the
// name the session had, and a query run says so.
TEST_F(ScriptedSessionTest, ADatabaseReadWithoutARowKeepsTheOldName) {
  m_script.Info(SQL_DATABASE_NAME, "shop");
  m_script.Statement("use sales").RowCount(-1);
  m_script.Statement("select db_name() dbname").Result({{"dbname", SQL_VARCHAR, 128}});
  Connect("Microsoft SQL Server");
  ASSERT_EQ(ToUtf8(m_session.GetDatabaseName()), "shop");
  Run("use sales");
  EXPECT_TRUE(Received("SQLExecDirect select db_name() dbname")) << Log();
  EXPECT_EQ(ToUtf8(m_session.GetDatabaseName()), "shop");
  EXPECT_NE(m_view.Trace().find("Failed to select database.\r\n"), std::string::npos) << m_view.Trace();
}

TEST_F(ScriptedSessionTest, ObjectTextOfAMissingObjectCompletesWithErrors) {
  m_script.Statement("sp_helptext nothing").Error("42000", 15009, "[Vendor]The object 'nothing' does not exist");
  Connect("SQL Server");
  Run("sp_helptext nothing");
  EXPECT_EQ(NewTrace(),
            "Executing query [sp_helptext nothing] ...\r\n"
            "Error: The object 'nothing' does not exist\r\n"
            "Query completed with errors\r\n\r\n");
}

TEST_F(ScriptedSessionTest, UseAnywhereInTheTextRereadsTheDatabaseName) {
  m_script.Statement("select 'refuse this'").Result(kTextColumn).Row({"refuse this"});
  m_script.Statement("select db_name() dbname").Result({{"dbname", SQL_VARCHAR, 128}}).Row({"pubs"});
  Connect("SQL Server");
  EXPECT_EQ(m_session.GetDatabaseName(), DT("master"));
  Run("select 'refuse this'");
  EXPECT_EQ(m_session.GetDatabaseName(), DT("pubs"));
  EXPECT_TRUE(Received("SQLExecDirect select db_name() dbname"));
}

TEST_F(ScriptedSessionTest, OtherServersNeverRereadTheDatabaseName) {
  m_script.Statement("USE pubs").RowCount(0);
  Connect("PostgreSQL");
  EXPECT_FALSE(m_session.IsTransactSql());
  Run("USE pubs");
  EXPECT_FALSE(Received("SQLExecDirect select db_name() dbname"));
}

TEST_F(ScriptedSessionTest, SqlAnywhereIsNeverCancelledThroughTheDriver) {
  m_script.Statement("waitfor").BlockInExecute();
  Connect("Sybase SQL Anywhere");
  // The blocked statement ends by itself at the query time-out.
  m_session.SetQueryTimeout(1);
  Start("waitfor");
  Pump(200);
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  EXPECT_FALSE(Received("SQLCancel")) << Log();
  EXPECT_TRUE(m_view.Trace().ends_with("Query canceled.\r\n\r\n"));
}

TEST_F(ScriptedSessionTest, OtherServersAreCancelledThroughTheDriver) {
  m_script.Statement("waitfor").BlockInExecute();
  Connect("SQL Server");
  Start("waitfor");
  Pump(200);
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }, 5000));
  EXPECT_TRUE(Received("SQLCancel")) << Log();
  EXPECT_TRUE(m_view.Trace().ends_with("Query canceled.\r\n\r\n"));
}

TEST_F(ScriptedSessionTest, RowCountThatFailsAndADriverWithoutRowCount) {
  m_script.Statement("update t set a = 1").RowCountError("S1000", 1, "[Vendor]no count");
  Connect("SQL Server");
  Run("update t set a = 1");
  EXPECT_EQ(NewTrace(),
            "Executing query [update t set a = 1] ...\r\n"
            "Failed to get rows affected.\r\n"
            "Query completed successfully.\r\n\r\n");
}

TEST_F(ScriptedSessionTest, DriverWithoutRowCountWritesNoCount) {
  m_script.Unsupported(SQL_API_SQLROWCOUNT).Statement("update t set a = 1").RowCount(7);
  Connect("SQL Server");
  EXPECT_FALSE(m_session.IsRowCountSupported());
  Run("update t set a = 1");
  EXPECT_EQ(NewTrace(), "Executing query [update t set a = 1] ...\r\nQuery completed successfully.\r\n\r\n");
}

TEST_F(ScriptedSessionTest, TwoResultSetsInTextFormat) {
  m_script.Statement("exec both")
      .Result({{"id", SQL_INTEGER, 10}})
      .Row({"1"})
      .Row({"2"})
      .Result({{"name", SQL_VARCHAR, 10}, {"n", SQL_INTEGER, 10}})
      .Row({"x", "9"});
  Connect("SQL Server");
  EXPECT_TRUE(m_session.HasMultipleResults());
  Run("exec both");
  EXPECT_EQ(m_view.Result(),
            "  \tid\t\r\n--------------------------------------\r\n1\t1\t\r\n2\t2\t\r\n"
            "  \tname\tn\t\r\n--------------------------------------\r\n1\tx\t9\t\r\n");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [exec both] ...\r\n"
            "Execute time: T\r\n(2 row(s) affected)\r\n"
            "Execute time: T\r\n(1 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
}

TEST_F(ScriptedSessionTest, BatchWithAnUpdateBetweenTwoSelects) {
  m_script.Statement("batch")
      .Result({{"a", SQL_INTEGER, 10}})
      .Row({"1"})
      .Result({})
      .RowCount(4)
      .Result({{"b", SQL_INTEGER, 10}})
      .Row({"2"});
  Connect("SQL Server");
  Run("batch");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [batch] ...\r\n"
            "Execute time: T\r\n(1 row(s) affected)\r\n"
            "Execute time: T\r\n(4 row(s) affected)\r\n"
            "Execute time: T\r\n(1 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
}

TEST_F(ScriptedSessionTest, LaterStatementOfABatchThatFailsIsReportedAsAnError) {
  m_script.Statement("batch")
      .Result({{"a", SQL_INTEGER, 10}})
      .Row({"1"})
      .MoreResultsError("42S02", 208, "[Vendor]Invalid object name 'nothing'.")
      .Result({{"b", SQL_INTEGER, 10}})
      .Row({"2"});
  Connect("SQL Server");
  Run("batch");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [batch] ...\r\n"
            "Execute time: T\r\n(1 row(s) affected)\r\n"
            "Error: Invalid object name 'nothing'.\r\n"
            "Query completed with errors\r\n\r\n");
}

TEST_F(ScriptedSessionTest, RowThatCannotBeReadCompletesWithErrors) {
  m_script.Statement("select broken")
      .Result({{"a", SQL_INTEGER, 10}})
      .Row({"1"})
      .FetchError("08S01", 10054, "[Vendor][Net]Connection lost");
  Connect("SQL Server");
  Run("select broken");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [select broken] ...\r\n"
            "Error: Connection lost\r\n"
            "Execute time: T\r\n(1 row(s) affected)\r\n"
            "Query completed with errors\r\n\r\n");
}

// A value the driver cannot give (a conversion error, a connection lost in
// the middle of a row) is neither an empty cell nor a success: the trace
// names its row and column with the driver's error, the rows before stay,
// and the run completes with errors. In text and in the grid.
TEST_F(ScriptedSessionTest, AValueThatCannotBeReadIsReportedAndEndsTheResultWithErrors) {
  m_script.Statement("select bad")
      .Result({{"a", SQL_INTEGER, 10}, {"b", SQL_VARCHAR, 20}, {"c", SQL_VARBINARY, 8}})
      .Row({"1", "one", "01"})
      .Row({"2", "two", "02"})
      .Row({"3", "three", "03"})
      .GetDataError(1, 2, "22018", 0, "[Vendor]Invalid character value for cast");
  m_script.Statement("select blob")
      .Result({{"a", SQL_INTEGER, 10}, {"c", SQL_VARBINARY, 8}})
      .Row({"1", "0A"})
      .GetDataError(0, 2, "08S01", 10054, "[Vendor][Net]Connection lost");
  Connect("SQL Server");
  const std::string expected =
      "Executing query [select bad] ...\r\n"
      "Failed to read row 2, column 2.\r\n"
      "Error: Invalid character value for cast\r\n"
      "Execute time: T\r\n(1 row(s) affected)\r\n"
      "Query completed with errors\r\n\r\n";
  Run("select bad");
  EXPECT_EQ(WithoutTimes(NewTrace()), expected);
  EXPECT_NE(m_view.Result().find("one"), std::string::npos) << m_view.Result();
  EXPECT_EQ(m_view.Result().find("three"), std::string::npos) << m_view.Result();

  Run("select bad", false);
  EXPECT_EQ(WithoutTimes(NewTrace()), expected);
  EXPECT_EQ(m_view.m_store.GetRowCount(), 2) << "the title row and the one row read";
  EXPECT_EQ(m_view.m_store.GetCellText(1, 2), DT("one"));

  Run("select blob", false);
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [select blob] ...\r\n"
            "Failed to read row 1, column 2.\r\n"
            "Error: Connection lost\r\n"
            "Execute time: T\r\n(0 row(s) affected)\r\n"
            "Query completed with errors\r\n\r\n");
}

TEST_F(ScriptedSessionTest, NoStatementHandleMeansTheQueryCouldNotBeExecuted) {
  m_script.Statement("select 1").Result({{"a", SQL_INTEGER, 10}}).Row({"1"});
  m_script.RefuseStatements("HY001", 0, "[Vendor]Memory allocation error");
  Connect("SQL Server");
  Run("select 1");
  const std::string trace = NewTrace();
  EXPECT_TRUE(trace.ends_with("Query completed with errors\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("successfully"), std::string::npos);
}

// Which drivers get a script whole and which one statement at a time.
TEST_F(ScriptedSessionTest, DriverThatTakesBatchesReceivesTheWholeTextOnce) {
  m_script.Statement("select 1 as a; select 2 as b")
      .Result({{"a", SQL_INTEGER, 10}})
      .Row({"1"})
      .Result({{"b", SQL_INTEGER, 10}})
      .Row({"2"});
  Connect("SQL Server");
  EXPECT_FALSE(m_session.SplitsScripts());
  Run("select 1 as a; select 2 as b");
  const std::string log = Log();
  EXPECT_NE(log.find("SQLExecDirect select 1 as a; select 2 as b\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("SQLExecDirect select 1 as a\n"), std::string::npos) << log;
  EXPECT_TRUE(NewTrace().ends_with("Query completed successfully.\r\n\r\n"));
}

TEST_F(ScriptedSessionTest, DriverWithoutExplicitBatchesGetsOneStatementPerCall) {
  m_script.InfoInt32(SQL_BATCH_SUPPORT, SQL_BS_SELECT_PROC | SQL_BS_ROW_COUNT_PROC);
  m_script.Statement("select 1 as a").Result({{"a", SQL_INTEGER, 10}}).Row({"1"});
  m_script.Statement("update t set a = ';'").RowCount(2);
  Connect("Some Server");
  EXPECT_TRUE(m_session.SplitsScripts());
  Run("select 1 as a;\r\nupdate t set a = ';';");
  EXPECT_TRUE(Received("SQLExecDirect select 1 as a")) << Log();
  EXPECT_TRUE(Received("SQLExecDirect update t set a = ';'")) << Log();
  EXPECT_TRUE(WithoutTimes(NewTrace())
                  .ends_with("Execute time: T\r\n(1 row(s) affected)\r\n(2 row(s) affected)\r\n"
                             "Query completed successfully.\r\n\r\n"));
}

// The MySQL family claims batches, yet refuses them unless its data source
// allows them; its quotes take backslash escapes.
TEST_F(ScriptedSessionTest, MySqlFamilyIsSplitWithBackslashEscapes) {
  m_script.InfoInt32(SQL_BATCH_SUPPORT, 0xf);
  m_script.Statement("select 'Don\\'t; stop' as a").Result(kTextColumn).Row({"Don't; stop"});
  m_script.Statement("select 'two' as b").Result(kTextColumn).Row({"two"});
  Connect("MariaDB");
  EXPECT_TRUE(m_session.HasMultipleResults());
  EXPECT_TRUE(m_session.SplitsScripts());
  Run("select 'Don\\'t; stop' as a; select 'two' as b");
  EXPECT_TRUE(Received("SQLExecDirect select 'two' as b")) << Log();
  EXPECT_NE(m_view.Result().find("1\tDon't; stop\t\r\n"), std::string::npos) << m_view.Result();
  EXPECT_NE(m_view.Result().find("1\ttwo\t\r\n"), std::string::npos);
}

TEST(StatementSplittingTest, DecidedByTheFamilyThenByWhatTheDriverSays) {
  const uint32_t none = 0;
  const uint32_t explicitBatches = SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT;
  const uint32_t all = 0xf;
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("SQLite"), &none, false));
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("SQLite"), nullptr, true));
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("MariaDB"), &all, true));
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("MySQL"), &all, true));
  EXPECT_FALSE(session::NeedsStatementSplitting(DT("PostgreSQL"), &explicitBatches, true));
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("Other"), &none, true));
  // A driver that does not answer SQL_BATCH_SUPPORT: several result sets mean batches.
  EXPECT_FALSE(session::NeedsStatementSplitting(DT("Microsoft SQL Server"), nullptr, true));
  EXPECT_TRUE(session::NeedsStatementSplitting(DT("Other"), nullptr, false));
  EXPECT_EQ(session::DialectOf(DT("mysql")), session::SqlDialect::kMySql);
  EXPECT_EQ(session::DialectOf(DT("SQLite")), session::SqlDialect::kStandard);
}

// A driver that keeps the query time-out itself ends the statement first,
// with its own words; the program's time-out then does nothing.
TEST_F(ScriptedSessionTest, DriversOwnTimeOutComesFirst) {
  m_script.Statement("waitfor").BlockInExecute();
  Connect("SQL Server");
  m_session.SetQueryTimeout(1);
  Run("waitfor");
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Error: Timeout expired\r\n"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Query timed out"), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("Query completed with errors\r\n\r\n"));
}

// A driver that accepts the time-out and ignores it: the program ends the
// statement (here stuck in its first fetch).
TEST_F(ScriptedSessionTest, ProgramEndsAStatementTheDriverLetsRunPastItsTimeOut) {
  m_script.IgnoreQueryTimeout();
  m_script.Statement("select slow").Result({{"a", SQL_INTEGER, 10}}).Row({"1"}).BlockInFetch(0);
  Connect("SQL Server");
  m_session.SetQueryTimeout(1);
  Run("select slow");
  EXPECT_TRUE(Received("SQLCancel")) << Log();
  EXPECT_EQ(NewTrace(),
            "Executing query [select slow] ...\r\n"
            "Error: Query timed out after 1 s.\r\n"
            "Query completed with errors\r\n\r\n");
}

// The time-out's cancel can be lost as the user's can (the driver takes
// it before the statement has begun): it is sent again until the run stops,
// and the run still ends as timed out, not as canceled by the user.
TEST_F(ScriptedSessionTest, TheTimeOutsCancelIsRepeatedWhenTheDriverLosesTheFirst) {
  m_script.IgnoreQueryTimeout().IgnoreCancels(1);
  m_script.Statement("select slow").Result({{"a", SQL_INTEGER, 10}}).Row({"1"}).BlockInFetch(0);
  Connect("SQL Server");
  m_session.SetQueryTimeout(1);
  Run("select slow");
  const std::string log = Log();
  size_t cancels = 0;
  for (size_t at = log.find("SQLCancel"); at != std::string::npos; at = log.find("SQLCancel", at + 1)) ++cancels;
  EXPECT_GE(cancels, 2u) << log;
  EXPECT_EQ(NewTrace(),
            "Executing query [select slow] ...\r\n"
            "Error: Query timed out after 1 s.\r\n"
            "Query completed with errors\r\n\r\n");
}

}  // namespace
}  // namespace dossel::test
