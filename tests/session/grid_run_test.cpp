// Runs whose results go into the grid's store: its shape after a run, empty
// results and updates, several result sets, cancel during a fill, and the
// rows published while the fill goes on.

#include "driver_script.h"
#include "scripted_connect.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

constexpr const char* kMillionRows =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000) "
    "select x, 'row ' || x, x * 2 from c";

class GridRunTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("grid.db");
    RunSqlite(m_database,
              "create table t(a text, b integer);"
              "insert into t values ('x', 1), ('y', 2), ('z', NULL);"
              "create table u(v integer); insert into u values (1),(2),(3),(4),(5);");
    ASSERT_TRUE(ConnectTo("DSN=Grid;Database=" + m_database + ";Timeout=1000;StepAPI=1"));
  }

  void RunGrid(const std::string& sql) { Run(sql, false); }
  CGridStore& Store() { return m_view.m_store; }

  std::string m_database;
};

TEST_F(GridRunTest, SelectFillsTheStoreWithAHeaderRowAndRowNumbers) {
  RunGrid("select a, b from t order by a");
  EXPECT_EQ(m_view.m_gridsPrepared, 1);
  EXPECT_EQ(Store().GetRowCount(), 4);
  EXPECT_EQ(Store().GetColumnCount(), 3);
  EXPECT_EQ(Store().GetPublishedRowCount(), 4);
  EXPECT_EQ(Cell(0, 0), "  ");
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_EQ(Cell(0, 2), "b");
  EXPECT_EQ(Cell(1, 0), "1");
  EXPECT_EQ(Cell(3, 1), "z");
  EXPECT_EQ(Cell(3, 2), "");
  EXPECT_EQ(Store().GetColumnWidth(0), 30);
  EXPECT_TRUE(m_view.m_lastFinishHadRows);
  EXPECT_EQ(m_view.Result(), "");
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [select a, b from t order by a] ...\r\nExecute time: T\r\n(3 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
}

TEST_F(GridRunTest, EmptyResultKeepsTheHundredRowsOfAFreshGrid) {
  RunGrid("select a from t where 0");
  EXPECT_EQ(Store().GetRowCount(), 100);
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_EQ(Cell(1, 0), "");
  EXPECT_FALSE(m_view.m_lastFinishHadRows);
  EXPECT_NE(NewTrace().find("(0 row(s) affected)"), std::string::npos);
}

TEST_F(GridRunTest, UpdateEmptiesAnExistingGrid) {
  RunGrid("select a from t");
  ASSERT_EQ(Store().GetRowCount(), 4);
  RunGrid("update u set v = 0");
  EXPECT_EQ(Store().GetRowCount(), 0);
  EXPECT_NE(NewTrace().find("(5 row(s) affected)"), std::string::npos);
}

TEST_F(GridRunTest, ManyRowsAreStoredWholeAndInOrder) {
  RunGrid("with recursive c(x) as (select 1 union all select x + 1 from c where x < 5000) select x, 'v' || x from c");
  ASSERT_EQ(Store().GetRowCount(), 5001);
  for (int row = 1; row <= 5000; row += 7) {
    ASSERT_EQ(Cell(row, 0), std::to_string(row));
    ASSERT_EQ(Cell(row, 1), std::to_string(row));
    ASSERT_EQ(Cell(row, 2), "v" + std::to_string(row));
  }
  EXPECT_EQ(Cell(5000, 2), "v5000");
}

// The window hears once per run, before the run ends, that a grid holds its
// first rows; not for a run without rows, nor for one into text.
TEST_F(GridRunTest, TheFirstStoredRowsAreToldOncePerRunBeforeItEnds) {
  RunGrid("with recursive c(x) as (select 1 union all select x + 1 from c where x < 5000) select x from c");
  EXPECT_EQ(m_view.m_firstRowsStored, 1);
  EXPECT_EQ(m_view.m_runsEndedAtFirstRows, 0);
  EXPECT_GT(m_view.m_rowsAtFirstRows, 1);
  RunGrid("select a from t");
  EXPECT_EQ(m_view.m_firstRowsStored, 2);
  EXPECT_EQ(m_view.m_runsEndedAtFirstRows, 1);
  EXPECT_EQ(m_view.m_rowsAtFirstRows, 4);
  RunGrid("select a from t where 0");
  RunGrid("update u set v = 0");
  Run("select a from t", true);
  EXPECT_EQ(m_view.m_firstRowsStored, 2);
}

TEST_F(GridRunTest, NoGridMeansTheRunEndsWithErrors) {
  m_view.m_failGrid = true;
  RunGrid("select a from t");
  const std::string trace = NewTrace();
  // A line of its own: the completion line does not join it.
  EXPECT_NE(trace.find("Failed to create grid control.\r\n"), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("Query completed with errors\r\n\r\n")) << trace;
}

TEST_F(GridRunTest, CancelDuringAMillionRowFillKeepsEveryRowWritten) {
  Start(kMillionRows, false);
  ASSERT_TRUE(PumpUntil([&] { return Store().GetPublishedRowCount() > 1000; }));
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }, 10000));
  const std::string trace = NewTrace();
  EXPECT_TRUE(trace.ends_with("Query canceled.\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("row(s) affected"), std::string::npos);
  const int rows = Store().GetRowCount();
  ASSERT_GT(rows, 1000);
  ASSERT_LT(rows, 1000001);
  EXPECT_EQ(Store().GetPublishedRowCount(), rows);
  for (int row = 1; row < rows; row += std::max(1, rows / 50)) {
    EXPECT_EQ(Cell(row, 0), std::to_string(row));
    EXPECT_EQ(Cell(row, 2), "row " + std::to_string(row));
  }
  EXPECT_EQ(Cell(rows - 1, 2), "row " + std::to_string(rows - 1));
  RunGrid("select a from t");
  EXPECT_EQ(Store().GetRowCount(), 4);
}

TEST_F(GridRunTest, PublishedRowsAreCompleteWhileTheFillGoesOn) {
  Start(kMillionRows, false);
  int checks = 0;
  while (m_session.IsExecuting() && checks < 200) {
    m_view.RunPosted();
    const int published = Store().GetPublishedRowCount();
    if (published > 1) {
      const int row = published - 1;
      ASSERT_EQ(Cell(row, 0), std::to_string(row));
      ASSERT_EQ(Cell(row, 3), std::to_string(2 * row));
      ++checks;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }, 300000));
  EXPECT_GT(checks, 0);
  EXPECT_EQ(Store().GetRowCount(), 1000001);
}

TEST_F(GridRunTest, TimerReportsTheRowsOfAGridBeingFilled) {
  Start(kMillionRows, false);
  ASSERT_TRUE(PumpUntil([&] { return Store().GetPublishedRowCount() > 1000; }));
  NewTrace();
  m_session.OnTimer();
  const std::string line = NewTrace();
  EXPECT_TRUE(std::regex_match(line, std::regex("Timer: Execute time: \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\r\n"
                                                "Results: \\d+ row\\(s\\), 4 col\\(s\\)\r\n")))
      << line;
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }, 10000));
}

// Memory that runs out while the store writer stores cells ends the run with the
// grid's message; nothing is shown from the store writer, the rows stored
// before stay, and the store says so once for the window to report.
TEST_F(GridRunTest, OutOfMemoryDuringAFillEndsTheRunWithErrors) {
  RunGrid("select a from t");  // the grid exists
  Store().SetCellLimitForTest(600);
  RunGrid("with recursive c(x) as (select 1 union all select x + 1 from c where x < 5000) select x, 'v' || x from c");
  Store().SetCellLimitForTest(-1);
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Failed to add to grid cell.\r\n"), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("Query completed with errors\r\n\r\n")) << trace;
  EXPECT_TRUE(m_ui.texts.empty());
  EXPECT_TRUE(Store().TakeOutOfMemory());
  const int rows = Store().GetRowCount();
  ASSERT_GT(rows, 1);
  ASSERT_LT(rows, 5001);
  for (int row = 1; row < rows; ++row) ASSERT_EQ(Cell(row, 2), "v" + std::to_string(row)) << row;
  RunGrid("select a from t");
  EXPECT_EQ(Store().GetRowCount(), 4);
}

class ScriptedGridRunTest : public SessionTest {
 protected:
  CGridStore& Store() { return m_view.m_store; }
  void Connect(DriverScript& script) {
    const std::string scriptPath = m_folder.File("script.txt");
    script.Save(scriptPath);
    ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(scriptPath)));
  }
};

TEST_F(ScriptedGridRunTest, TwoResultSetsLeaveTheSecondInTheGrid) {
  DriverScript script;
  script.Dbms("SQL Server")
      .Statement("exec both")
      .Result({{"id", SQL_INTEGER, 10}})
      .Row({"1"})
      .Row({"2"})
      .Result({{"name", SQL_VARCHAR, 10}, {"n", SQL_INTEGER, 10}})
      .Row({"x", "9"});
  Connect(script);
  Run("exec both", false);
  EXPECT_EQ(m_view.m_gridsPrepared, 2);
  EXPECT_EQ(Store().GetRowCount(), 2);
  EXPECT_EQ(Store().GetColumnCount(), 3);
  EXPECT_EQ(Cell(0, 1), "name");
  EXPECT_EQ(Cell(1, 2), "9");
}

// The grid starts each result set at 100 rows: a later set must be numbered
// whole however many rows an earlier one had.
TEST_F(ScriptedGridRunTest, LaterResultSetsOfABatchAreNumberedOnEveryRow) {
  DriverScript script;
  script.Dbms("SQL Server").Statement("exec two").Result({{"a", SQL_INTEGER, 10}});
  for (int i = 1; i <= 150; ++i) script.Row({std::to_string(i)});
  script.Result({{"b", SQL_INTEGER, 10}});
  for (int i = 1; i <= 190; ++i) script.Row({std::to_string(i)});
  Connect(script);
  Run("exec two", false);
  ASSERT_EQ(Store().GetRowCount(), 191);
  for (int row = 1; row <= 190; ++row) {
    ASSERT_EQ(Cell(row, 0), std::to_string(row)) << row;
    ASSERT_EQ(Cell(row, 1), std::to_string(row)) << row;
  }
}

}  // namespace
}  // namespace dossel::test
