// The program against real servers of the families this machine can run:
// PostgreSQL through its ODBC driver and MariaDB through its connector, each
// started for the test run on a loopback port (servers.sh) and reached by a
// data source of a test-only odbc.ini, as a user would connect to them.
// Everything specified for "all other" servers holds: no T-SQL, no SQLite.

#include <gtest/gtest.h>

#include "db/db_connection.h"
#include "driverinfo/info_snapshot.h"
#include "driverinfo/report_writer.h"
#include "frame_fixture.h"
#include "schema/wx/schema_view.h"

namespace dossel::test {
namespace {

struct Server {
  const char* dsn;
  const char* sleepQuery;  // runs for about a minute unless cancelled
  const char* name;
  const char* nameColumnCaption;  // the driver's own spelling of the type
  const char* driverFile;
  // A stored procedure whose call returns two result sets, or null where the
  // family has none and a batch in one call stands in for it.
  const char* twoSetsProcedure;
  const char* millionsOfRows;  // "row 1", "row 2"... far past a fetch
  const char* withInsert;      // an insert of one row from a WITH, in the family's words
};

const Server kPostgres{"DosselPostgres",
                       "select pg_sleep(60)",
                       "PostgreSQL",
                       "name [varchar(40),Not Null]",
                       "psqlodbcw.so",
                       nullptr,
                       "select g, 'row ' || g from generate_series(1, 3000000) g",
                       "with x as (select 3 as id, 'Cy' as name) insert into people (id, name) select id, name from x"};
const Server kMariaDb{
    "DosselMariaDB",
    "select sleep(60)",
    "MariaDB",
    "name [VARCHAR(40),Not Null]",
    "libmaodbc.so",
    "create procedure two_sets() begin select 1 as a; select 'two' as b union all select 'three'; end",
    "select seq, concat('row ', seq) from seq_1_to_3000000",
    "insert into people (id, name) with x as (select 3 as id, 'Cy' as name) select id, name from x"};

class ServerTest : public TextFrameTest, public ::testing::WithParamInterface<Server> {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("ODBCINI"), nullptr) << "run through ctest, which starts the servers";
    TextFrameTest::SetUp();
    ASSERT_TRUE(ConnectTo(std::string("DSN=") + GetParam().dsn)) << Trace();
    // Each test begins on its own tables.
    Run("drop table if exists people");
    Run("create table people(id integer primary key, name varchar(40) not null, born date)");
    NewTrace();
  }

  void TearDown() override {
    if (m_frame->Session().IsConnected() && !m_frame->Session().IsExecuting()) Run("drop table if exists people");
    TextFrameTest::TearDown();
  }

  // The result text written since the last call.
  std::string TakeResult() {
    const std::string all = Result();
    const std::string fresh = all.substr(std::min(m_resultSeen, all.size()));
    m_resultSeen = all.size();
    return fresh;
  }

  size_t m_resultSeen = 0;
};

TEST_P(ServerTest, SelectsAndUpdatesWithTheirCounts) {
  Run("insert into people values (1, 'Ann', null), (2, 'Bo', '1990-05-01')");
  EXPECT_NE(NewTrace().find("(2 row(s) affected)"), std::string::npos) << Trace();
  Run("update people set name = 'Bob' where id = 2");
  EXPECT_NE(NewTrace().find("(1 row(s) affected)"), std::string::npos) << Trace();
  TakeResult();
  Run("select id, name, born from people order by id");
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
  const std::string result = TakeResult();
  EXPECT_NE(result.find("Ann"), std::string::npos) << result;
  EXPECT_NE(result.find("Bob"), std::string::npos) << result;
  EXPECT_NE(result.find("1990-05-01"), std::string::npos) << result;

  // Bad SQL gives the server's reason and a run that ends with errors.
  Run("select nothing from nowhere");
  EXPECT_NE(NewTrace().find("Query completed with errors"), std::string::npos) << Trace();
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
}

TEST_P(ServerTest, ALongQueryIsCancelledFromTheWindow) {
  m_frame->QueryView()->SetQueryText(FromUtf8(GetParam().sleepQuery));
  m_frame->Execute();
  Pump(1500);
  ASSERT_TRUE(m_frame->Session().IsExecuting());
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 20000)) << "the cancel did not end the run";
  EXPECT_NE(NewTrace().find("Query canceled."), std::string::npos) << Trace();
  // The connection is still good for the next run.
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
}

// A result far longer than the driver holds at a time (PostgreSQL's reads it
// a fetch at a time), cancelled once rows are shown, ends as cancelled and
// leaves the connection working.
TEST_P(ServerTest, AHugeResultCancelledWhileRowsArriveEndsCancelled) {
  m_frame->QueryView()->SetQueryText(FromUtf8(GetParam().millionsOfRows));
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return Result().find("row 2000\t") != std::string::npos; }, 60000)) << Trace();
  ASSERT_TRUE(m_frame->Session().IsExecuting()) << "three million rows take longer";
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 30000)) << "the cancel did not end the run";
  EXPECT_NE(NewTrace().find("Query canceled."), std::string::npos) << Trace();
  TakeResult();
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
  EXPECT_NE(TakeResult().find("7"), std::string::npos);
}

// PostgreSQL's cursor cannot wrap a WITH whose main statement changes data;
// the statement runs without it, once.
TEST_P(ServerTest, AnInsertFromAWithRunsOnce) {
  Run(GetParam().withInsert);
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("(1 row(s) affected)"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
  TakeResult();
  Run("select count(*) from people where name = 'Cy'");
  EXPECT_NE(TakeResult().find("\t1"), std::string::npos);
}

// MariaDB's connector, given a batch the server refuses, kept its connection
// lock on the calling thread and froze every later call from another one.
// Neither may happen now: scripts go statement by statement where batches are
// not safe, and every call on a connection comes from its one thread.
TEST_P(ServerTest, ABatchWithABadStatementLeavesTheNextRunWorking) {
  Run("select 1 as a; select 'two' as b");
  std::string trace = NewTrace();
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
  const std::string both = TakeResult();
  EXPECT_NE(both.find("two"), std::string::npos) << both;

  Run("select 1 as a; selec 'two' as b");
  trace = NewTrace();
  EXPECT_NE(trace.find("Query completed with errors"), std::string::npos) << trace;
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
  EXPECT_NE(TakeResult().find("7"), std::string::npos);
}

TEST_P(ServerTest, EveryResultSetOfOneCallIsShown) {
  const char* procedure = GetParam().twoSetsProcedure;
  if (procedure) {
    // Created past the splitter, which would cut the body at its semicolons.
    AskAndWait([&](db::CDbConnection& connection) {
      connection.ExecuteAndDiscard(DT("drop procedure if exists two_sets"));
      connection.ExecuteAndDiscard(FromUtf8(procedure));
      return true;
    });
    Run("call two_sets()");
  } else {
    ASSERT_FALSE(m_frame->Session().SplitsScripts()) << "the driver takes a batch whole";
    Run("select 1 as a; select 'two' as b union all select 'three'");
  }
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Query completed successfully."), std::string::npos) << trace;
  // Both sets, in the order the server sent them, each with its own count.
  const size_t firstCount = trace.find("(1 row(s) affected)");
  ASSERT_NE(firstCount, std::string::npos) << trace;
  EXPECT_NE(trace.find("(2 row(s) affected)", firstCount), std::string::npos) << trace;
  const std::string result = TakeResult();
  const size_t second = result.find("\tb\t");
  ASSERT_NE(second, std::string::npos) << result;
  EXPECT_LT(result.find("\ta\t"), second) << result;
  EXPECT_LT(second, result.find("two")) << result;
  EXPECT_LT(result.find("two"), result.find("three")) << result;
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
}

TEST_P(ServerTest, TheSchemaTreeShowsTheConnectionsDatabase) {
  wxTreeCtrl* tree = m_frame->SchemaView()->GetTree();
  const wxTreeItemId root = tree->GetRootItem();
  ExpandAndWait(tree, root);
  EXPECT_EQ(Trace().find("Unexpected Error"), std::string::npos) << Trace();
  wxTreeItemIdValue cookie;
  const wxTreeItemId database = tree->GetFirstChild(root, cookie);
  ASSERT_TRUE(database.IsOk());
  EXPECT_EQ(ToUtf8(FromWx(tree->GetItemText(database))), "dossel");
  EXPECT_FALSE(tree->GetNextChild(root, cookie).IsOk()) << "one database: the connection's";

  auto child = [&](const wxTreeItemId& item, const std::string& caption) {
    ExpandAndWait(tree, item);
    wxTreeItemIdValue c;
    std::string seen;
    for (wxTreeItemId at = tree->GetFirstChild(item, c); at.IsOk(); at = tree->GetNextChild(item, c)) {
      if (ToUtf8(FromWx(tree->GetItemText(at))) == caption) return at;
      seen += " [" + ToUtf8(FromWx(tree->GetItemText(at))) + "]";
    }
    ADD_FAILURE() << "no " << caption << " under " << ToUtf8(FromWx(tree->GetItemText(item))) << ":" << seen;
    return wxTreeItemId();
  };
  const wxTreeItemId people = child(child(database, "User Tables"), "people");
  ASSERT_TRUE(people.IsOk());
  const wxTreeItemId columns = child(people, "Columns");
  ASSERT_TRUE(columns.IsOk());
  EXPECT_TRUE(child(columns, GetParam().nameColumnCaption).IsOk());
  const wxTreeItemId constraints = child(people, "Constraints");
  ASSERT_TRUE(constraints.IsOk());
  ExpandAndWait(tree, constraints);
  EXPECT_GE(tree->GetChildrenCount(constraints, false), 1u) << "the primary key";

  // Open runs the select the tree wrote.
  tree->SelectItem(people);
  m_frame->SchemaView()->RunCommand(schema::SchemaCommand::Open);
  // The columns are read first, then the select runs.
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsReading() && !m_frame->Session().IsExecuting(); }));
  EXPECT_NE(Trace().find("SELECT id,name,born \r\nFROM people;"), std::string::npos) << Trace();
  EXPECT_NE(Trace().find("Query completed successfully."), std::string::npos) << Trace();
}

TEST_P(ServerTest, TheDriverReportDescribesTheServersDriver) {
  const driverinfo::CInfoSnapshot snapshot = AskAndWait([](db::CDbConnection& connection) {
    driverinfo::CInfoSnapshot read;
    read.Read(connection);
    return read;
  });
  const std::string report = ToUtf8(driverinfo::BuildReport(snapshot));
  for (const char* heading :
       {"Driver Info", "ODBC API Functions", "Supported SQL", "Data Types", "Identifiers", "Limits", "Miscellaneous"})
    EXPECT_NE(report.find(heading), std::string::npos) << heading;
  EXPECT_NE(report.find(GetParam().driverFile), std::string::npos) << report.substr(0, 2000);
  EXPECT_NE(report.find("dossel"), std::string::npos) << "the database name";
  // The session goes on as before.
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos) << Trace();
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerTest, ::testing::Values(kPostgres, kMariaDb),
                         [](const auto& info) { return std::string(info.param.name); });

// The server's backend ends in the middle of a result read a fetch at a
// time (declare-fetch, as the connection asks of PostgreSQL's driver), the
// way an administrator's pg_terminate_backend or a server restart ends it:
// the run ends with errors and the driver's words, the rows read before stay,
// and nothing waits for ever.
class PostgresBackendTest : public TextFrameTest {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("ODBCINI"), nullptr) << "run through ctest, which starts the servers";
    TextFrameTest::SetUp();
    ASSERT_TRUE(ConnectTo(std::string("DSN=") + kPostgres.dsn)) << Trace();
  }

  // From a connection of its own, as an administrator would: every other
  // client of the test database is ended.
  static void TerminateOtherBackends() {
    db::CDbConnection admin;
    ASSERT_TRUE(admin.OpenWithOptions(FromUtf8(std::string("DSN=") + kPostgres.dsn), db::kNoOdbcDialog));
    admin.ExecuteAndDiscard(
        DT("select pg_terminate_backend(pid) from pg_stat_activity where pid <> pg_backend_pid() "
           "and datname = current_database() and backend_type = 'client backend'"));
    admin.Close();
  }
};

TEST_F(PostgresBackendTest, ABackendEndedInTheMiddleOfAResultEndsTheRunWithErrorsKeepingTheRowsRead) {
  ASSERT_TRUE(AskAndWait([](db::CDbConnection& connection) { return connection.GetStreamingMode().declareFetch; }))
      << "the result is read a fetch at a time";
  m_frame->QueryView()->SetQueryText(FromUtf8(kPostgres.millionsOfRows));
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return Result().find("row 2000\t") != std::string::npos; }, 60000)) << Trace();
  ASSERT_TRUE(m_frame->Session().IsExecuting()) << "three million rows take longer";
  TerminateOtherBackends();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 60000)) << "the run did not end";
  const std::string trace = NewTrace();
  EXPECT_NE(trace.find("Query completed with errors"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Query completed successfully."), std::string::npos) << trace;
  EXPECT_NE(trace.find("Error: "), std::string::npos) << "the driver's words: " << trace;
  const std::string result = Result();
  EXPECT_NE(result.find("\trow 1\t"), std::string::npos);
  EXPECT_NE(result.find("\trow 2000\t"), std::string::npos) << "the rows read before stay";
  EXPECT_EQ(result.find("\trow 3000000\t"), std::string::npos);
  // The lost connection fails the next run at once; it does not hang.
  Run("select 7");
  EXPECT_NE(NewTrace().find("Query completed with errors"), std::string::npos) << Trace();
}

}  // namespace
}  // namespace dossel::test
