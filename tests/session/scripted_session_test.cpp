// The session with servers of the T-SQL family and with driver faults,
// played by the scripted test driver.

#include "driver_script.h"
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
    ASSERT_TRUE(ConnectTo(std::string("DRIVER=") + DOSSEL_SCRIPTED_DRIVER + ";Script=" + m_scriptPath));
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

TEST_F(ScriptedSessionTest, NoStatementHandleMeansTheQueryCouldNotBeExecuted) {
  m_script.Statement("select 1").Result({{"a", SQL_INTEGER, 10}}).Row({"1"});
  m_script.RefuseStatements("HY001", 0, "[Vendor]Memory allocation error");
  Connect("SQL Server");
  Run("select 1");
  const std::string trace = NewTrace();
  EXPECT_TRUE(trace.ends_with("Query completed with errors\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("successfully"), std::string::npos);
}

}  // namespace
}  // namespace dossel::test
