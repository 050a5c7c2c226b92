// Scripts on the SQLite driver, which runs one statement per call: the
// session splits them and runs the statements one after another as one run;
// a failing statement ends the run; cancel and the query time-out stop the
// statement running and the rest.

#include "session_fixture.h"

namespace dossel::test {
namespace {

constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

class ScriptSessionTest : public SessionTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database, "create table t(a text, b integer); insert into t values ('x', 1), ('y', 2), ('z', 3);");
  }

  bool TextFormat() const { return GetParam(); }

  void Connect(int stepApi = 0) {
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=" + std::to_string(stepApi)));
  }

  // Runs a query and answers the first value it returned, in either format.
  std::string Scalar(const std::string& sql) {
    Run(sql, true);
    const std::string result = m_view.Result();
    const size_t row = result.rfind("\r\n1\t");
    return row == std::string::npos ? "" : result.substr(row + 4, result.find('\t', row + 4) - row - 4);
  }

  std::string m_database;
};

TEST_P(ScriptSessionTest, ThreeStatementScriptRunsEveryStatementAsOneRun) {
  Connect();
  EXPECT_TRUE(m_session.SplitsScripts());
  const std::string script = "create table s(a); insert into s values(1); select * from s;";
  Run(script, TextFormat());
  EXPECT_EQ(WithoutTimes(NewTrace()), "Executing query [" + script +
                                          "] ...\r\n"
                                          "(0 row(s) affected)\r\n"
                                          "(1 row(s) affected)\r\n"
                                          "Execute time: T\r\n(1 row(s) affected)\r\n"
                                          "Query completed successfully.\r\n\r\n");
  if (TextFormat()) {
    EXPECT_EQ(m_view.Result(), "  \ta\t\r\n--------------------------------------\r\n1\t1\t\r\n");
  } else {
    EXPECT_EQ(m_view.m_gridsPrepared, 1);
    EXPECT_EQ(Cell(0, 1), "a");
    EXPECT_EQ(Cell(1, 1), "1");
    EXPECT_EQ(m_view.m_store.GetRowCount(), 2);
  }
  EXPECT_EQ(m_view.m_runsEnded, 1);
}

TEST_P(ScriptSessionTest, FailingStatementEndsTheRunAndKeepsWhatRanBefore) {
  Connect();
  Run("insert into t values ('w', 4);\n"
      "insert into nowhere values (1);\n"
      "insert into t values ('v', 5);",
      TextFormat());
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [insert into t values ('w', 4);\n"
            "insert into nowhere values (1);\n"
            "insert into t values ('v', 5);] ...\r\n"
            "(1 row(s) affected)\r\n"
            "Error: no such table: nowhere (1)\r\n"
            "Statement 2 of 3 failed; the rest was not run.\r\n"
            "Query completed with errors\r\n\r\n");
  EXPECT_EQ(Scalar("select group_concat(b) from t"), "1,2,3,4");
}

TEST_P(ScriptSessionTest, TwoSelectsGiveTwoResultSets) {
  Connect();
  Run("select a from t order by b; -- the letters\nselect b, a from t where b > 1 order by b;", TextFormat());
  EXPECT_TRUE(WithoutTimes(NewTrace())
                  .ends_with("] ...\r\nExecute time: T\r\n(3 row(s) affected)\r\n"
                             "Execute time: T\r\n(2 row(s) affected)\r\nQuery completed successfully.\r\n\r\n"));
  if (TextFormat()) {
    EXPECT_EQ(m_view.Result(),
              "  \ta\t\r\n--------------------------------------\r\n1\tx\t\r\n2\ty\t\r\n3\tz\t\r\n"
              "  \tb\ta\t\r\n--------------------------------------\r\n1\t2\ty\t\r\n2\t3\tz\t\r\n");
  } else {
    // The view keeps each set; this one keeps the newest in its store.
    EXPECT_EQ(m_view.m_gridsPrepared, 2);
    EXPECT_EQ(Cell(0, 1), "b");
    EXPECT_EQ(Cell(2, 2), "z");
  }
}

TEST_P(ScriptSessionTest, CommentOnlyPiecesAreSkippedAndATrailingCommentIsNoStatement) {
  Connect();
  Run("select 1; -- note", TextFormat());
  EXPECT_TRUE(NewTrace().ends_with("(1 row(s) affected)\r\nQuery completed successfully.\r\n\r\n"));
  // A single statement, split or not, writes no statement numbers on failure.
  Run("select * from nowhere; /* why */", TextFormat());
  EXPECT_TRUE(
      NewTrace().ends_with("] ...\r\nError: no such table: nowhere (1)\r\nQuery completed with errors\r\n\r\n"));
}

TEST_P(ScriptSessionTest, TriggerBodyRunsAsOneStatement) {
  Connect();
  Run("create table log(n integer);\n"
      "create trigger t_log after insert on t begin insert into log values (new.b); "
      "insert into log values (new.b * 10); end;\n"
      "insert into t values ('q', 7);",
      TextFormat());
  EXPECT_TRUE(NewTrace().ends_with("Query completed successfully.\r\n\r\n"));
  EXPECT_EQ(Scalar("select group_concat(n) from log"), "7,70");
}

TEST_P(ScriptSessionTest, CancelDuringTheSecondStatementEndsTheRunWithTheThirdNotRun) {
  Connect();
  Start(std::string("insert into t values ('first', 10); ") + kLongQuery + "; insert into t values ('third', 30);",
        TextFormat());
  Pump(300);
  ASSERT_TRUE(m_session.IsExecuting());
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  const std::string trace = NewTrace();
  EXPECT_TRUE(trace.ends_with("Canceling query ...\r\nQuery canceled.\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("Statement"), std::string::npos);
  EXPECT_EQ(Scalar("select group_concat(b) from t"), "1,2,3,10");
}

TEST_P(ScriptSessionTest, QueryTimeOutEndsARunawayStatement) {
  m_session.SetQueryTimeout(2);
  Connect(TextFormat() ? 0 : 1);
  const auto started = std::chrono::steady_clock::now();
  Run(std::string("select 1; ") + kLongQuery + "; select 3", TextFormat());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
  EXPECT_TRUE(WithoutTimes(NewTrace())
                  .ends_with("Execute time: T\r\n(1 row(s) affected)\r\n"
                             "Error: Query timed out after 2 s.\r\n"
                             "Statement 2 of 3 failed; the rest was not run.\r\n"
                             "Query completed with errors\r\n\r\n"))
      << m_view.Trace();
  // A run that stays inside its time is not touched, and the connection goes on.
  Run("select count(*) from t", TextFormat());
  EXPECT_TRUE(NewTrace().ends_with("(1 row(s) affected)\r\nQuery completed successfully.\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Formats, ScriptSessionTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Text" : "Grid"; });

}  // namespace
}  // namespace dossel::test
