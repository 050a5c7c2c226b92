// Asking the connection without waiting: the read runs on the connection
// thread while the caller goes on, the answer comes back as a posted call,
// an answer for an asker that has gone is dropped, and a cancel reaches a
// catalog read that hangs in the driver.

#include <atomic>
#include <chrono>
#include <thread>

#include "db/catalog_sets.h"
#include "driver_script.h"
#include "scripted_connect.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

using namespace std::chrono_literals;

class AskTest : public SessionTest {
 protected:
  void ConnectToSqlite() {
    const std::string database = m_folder.File("shop.db");
    RunSqlite(database, "create table orders(id integer);");
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + database));
  }

  void ConnectToScript(DriverScript& script) {
    const std::string path = m_folder.File("script.txt");
    script.Dbms("SQL Server").Save(path);
    ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(path)));
  }

  // A read of the tables catalog, as the schema pane makes one.
  static bool ReadTables(db::CDbConnection& connection) {
    db::CTablesSet tables(&connection);
    if (!tables.Open(nullptr, nullptr, nullptr, DT("'TABLE'"), db::kForwardOnly)) return false;
    while (!tables.IsAfterLast()) tables.MoveNext();
    return !tables.ExecuteFailed() && !tables.FetchFailed();
  }

  // Connects to a driver whose tables catalog waits for a cancel, and asks
  // for the tables; `answer` is set when the read ends.
  void AskATablesReadThatHangs(std::optional<bool>& answer) {
    DriverScript script;
    script.Catalog("SQLTables").BlockInExecute();
    script.Statement("select 1").Result({{"a", SQL_INTEGER, 10}}).Row({"1"});
    ConnectToScript(script);
    ASSERT_TRUE(m_session.Ask(ReadTables, [&answer](bool ok) { answer = ok; }));
    Pump(200);
    ASSERT_FALSE(answer.has_value()) << "the read hangs in the driver";
  }
};

TEST_F(AskTest, TheReadRunsOnTheConnectionThreadWhileTheAskerGoesOn) {
  ConnectToSqlite();
  std::atomic<bool> askReturned{false};
  std::atomic<bool> sawAskReturned{false};
  std::thread::id readThread;
  std::optional<int> answer;
  ASSERT_TRUE(m_session.Ask(
      [&](db::CDbConnection& connection) {
        readThread = std::this_thread::get_id();
        // The asker must get on without this read having ended.
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!askReturned && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
        sawAskReturned = askReturned.load();
        return connection.IsOpen() ? 42 : 0;
      },
      [&](int value) { answer = value; }));
  askReturned = true;
  EXPECT_TRUE(m_session.IsReading());
  ASSERT_TRUE(PumpUntil([&] { return answer.has_value(); }));
  EXPECT_EQ(*answer, 42);
  EXPECT_TRUE(sawAskReturned);
  EXPECT_NE(readThread, std::this_thread::get_id());
  EXPECT_FALSE(m_session.IsReading());

  // Runs and asks share the connection thread.
  Run("select 1");
  std::thread::id second;
  ASSERT_TRUE(m_session.Ask([&](db::CDbConnection&) { return std::this_thread::get_id(); },
                            [&](std::thread::id id) { second = id; }));
  ASSERT_TRUE(PumpUntil([&] { return second != std::thread::id(); }));
  EXPECT_EQ(second, readThread);
}

TEST_F(AskTest, AnAnswerForAnAskerThatHasGoneIsDropped) {
  ConnectToSqlite();
  auto owner = std::make_shared<int>(0);
  bool answered = false;
  std::atomic<bool> read{false};
  ASSERT_TRUE(m_session.Ask(
      std::weak_ptr<const void>(owner),
      [&](db::CDbConnection&) {
        read = true;
        return 1;
      },
      [&](int) { answered = true; }));
  // The window closes before the answer is handed over.
  owner.reset();
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsReading(); }));
  EXPECT_TRUE(read);
  EXPECT_FALSE(answered);
}

TEST_F(AskTest, NothingIsAskedWithoutAConnection) {
  bool called = false;
  EXPECT_FALSE(m_session.Ask(
      [&](db::CDbConnection&) {
        called = true;
        return 0;
      },
      [&](int) { called = true; }));
  Pump(50);
  EXPECT_FALSE(called);
  EXPECT_FALSE(m_session.IsReading());
}

TEST_F(AskTest, CancelReachesACatalogReadThatHangs) {
  std::optional<bool> answer;
  AskATablesReadThatHangs(answer);
  if (HasFatalFailure()) return;
  m_session.RequestCancel();
  EXPECT_TRUE(m_session.IsCancelingReads());
  ASSERT_TRUE(PumpUntil([&] { return answer.has_value(); }, 5000)) << "the cancel did not reach the read";
  EXPECT_FALSE(*answer);
  EXPECT_NE(NewTrace().find("Canceling catalog read ...\r\n"), std::string::npos);
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsCancelingReads(); }, 5000));
  // The connection goes on, and the cancel reaches nothing of the next run.
  Run("select 1");
  EXPECT_NE(NewTrace().find("Query completed successfully."), std::string::npos);
}

// One Disconnect is enough with a catalog read hanging: the read is
// cancelled, and the connection closes once it has ended, without the
// caller waiting; meanwhile nothing new is asked or run.
TEST_F(AskTest, OneDisconnectCancelsAHangingCatalogReadAndClosesWhenItEnds) {
  std::optional<bool> answer;
  AskATablesReadThatHangs(answer);
  if (HasFatalFailure()) return;
  NewTrace();
  m_session.Disconnect();
  EXPECT_TRUE(m_session.IsDisconnecting());
  EXPECT_FALSE(m_session.Ask(ReadTables, [](bool) {})) << "nothing new is asked of a closing connection";
  m_session.Execute(DT("select 1"), true);
  EXPECT_FALSE(m_session.IsExecuting());
  ASSERT_TRUE(PumpUntil([&] { return !m_session.IsConnected(); }, 5000)) << "one Disconnect was not enough";
  EXPECT_TRUE(answer.has_value());
  EXPECT_FALSE(m_session.IsDisconnecting());
  EXPECT_EQ(NewTrace(), "Disconnecting database ...\r\nCanceling catalog read ...\r\nDatabase disconnected\r\n\r\n");
}

}  // namespace
}  // namespace dossel::test
