// What the session tells its run observer as each run ends: the text as
// run, where, when, how long, the rows and the outcome with its first error,
// for every way a run can end.

#include <chrono>
#include <vector>

#include "driver_script.h"
#include "scripted_connect.h"
#include "session/run_record.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

using session::RunOutcome;
using session::RunRecord;

class RecordingObserver : public session::IRunObserver {
 public:
  void RunEnded(RunRecord record) override { records.push_back(std::move(record)); }
  std::vector<RunRecord> records;
};

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class RunRecordTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_session.SetRunObserver(&m_observer);
  }
  void ConnectToSqlite() {
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database,
              "create table t(a text, b integer); insert into t values ('x', 1), ('y', 2), ('z', 3);"
              "create table u(v integer); insert into u values (1),(2),(3),(4),(5);");
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database + ";Timeout=1000;StepAPI=1"));
  }
  // The one record of the last run.
  const RunRecord& Last() {
    EXPECT_FALSE(m_observer.records.empty());
    return m_observer.records.back();
  }

  RecordingObserver m_observer;
  std::string m_database;
};

TEST_F(RunRecordTest, ASplitScriptIsOneRunWithTheLastCountAndEveryFigure) {
  ConnectToSqlite();
  const std::string script = "update u set v = v + 1;\r\nselect a from t where b > 1;";
  const int64_t before = NowMs();
  Run(script);
  const int64_t after = NowMs();
  ASSERT_EQ(m_observer.records.size(), 1u);
  const RunRecord& record = Last();
  EXPECT_EQ(record.text, FromUtf8(script));
  EXPECT_EQ(record.dataSource, m_session.GetDataSourceName());
  EXPECT_FALSE(record.dataSource.empty());
  EXPECT_EQ(record.database, FromUtf8(m_database));
  EXPECT_GE(record.startedAt, before);
  EXPECT_LE(record.startedAt, after);
  EXPECT_LE(record.durationMs, static_cast<uint32_t>(after - before) + 1);
  EXPECT_EQ(record.rows, 2);
  EXPECT_EQ(record.outcome, RunOutcome::kCompleted);
  EXPECT_TRUE(record.firstError.empty());

  // A statement without columns: its affected count; in grid format the same.
  Run("update u set v = 0");
  EXPECT_EQ(Last().rows, 5);
  Run("select * from u where v = 0", false);
  ASSERT_EQ(m_observer.records.size(), 3u);
  EXPECT_EQ(Last().rows, 5);
  EXPECT_EQ(Last().outcome, RunOutcome::kCompleted);
}

TEST_F(RunRecordTest, AnErrorGivesItsFirstLineAndAStoppedScriptKeepsTheCountsBefore) {
  ConnectToSqlite();
  Run("select nope from nowhere");
  EXPECT_EQ(Last().outcome, RunOutcome::kErrors);
  EXPECT_EQ(Last().rows, -1);
  EXPECT_NE(ToUtf8(Last().firstError).find("no such table: nowhere"), std::string::npos) << ToUtf8(Last().firstError);
  EXPECT_EQ(Last().firstError.find('\n'), TString::npos);

  Run("select a from t; select nope from nowhere; select 1");
  EXPECT_EQ(Last().outcome, RunOutcome::kErrors);
  EXPECT_EQ(Last().rows, 3);
  EXPECT_NE(ToUtf8(Last().firstError).find("nowhere"), std::string::npos);
  // Each run begins its figures afresh.
  Run("select b from t where b = 2");
  EXPECT_EQ(Last().outcome, RunOutcome::kCompleted);
  EXPECT_TRUE(Last().firstError.empty());
  EXPECT_EQ(Last().rows, 1);
}

TEST_F(RunRecordTest, ACanceledRunIsRecordedAsCanceled) {
  ConnectToSqlite();
  const std::string longQuery =
      "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";
  Start(longQuery);
  Pump(200);
  m_session.RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); }));
  ASSERT_EQ(m_observer.records.size(), 1u);
  EXPECT_EQ(Last().outcome, RunOutcome::kCanceled);
  EXPECT_EQ(Last().text, FromUtf8(longQuery));
  EXPECT_GE(Last().durationMs, 150u);
}

TEST_F(RunRecordTest, ARunStoppedAtItsTimeOutIsRecordedAsTimedOut) {
  DriverScript script;
  script.IgnoreQueryTimeout();
  script.Statement("select slow").Result({{"a", SQL_INTEGER, 10}}).Row({"1"}).BlockInFetch(0);
  script.Dbms("SQL Server");
  const std::string path = m_folder.File("script.txt");
  script.Save(path);
  ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(path)));
  m_session.SetQueryTimeout(1);
  Run("select slow");
  ASSERT_EQ(m_observer.records.size(), 1u);
  EXPECT_EQ(Last().outcome, RunOutcome::kTimedOut);
  EXPECT_EQ(Last().firstError, DT("Query timed out after 1 s."));
  EXPECT_GE(Last().durationMs, 1000u);
}

}  // namespace
}  // namespace dossel::test
