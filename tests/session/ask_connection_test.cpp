// Asking the connection thread without waiting: the call runs there, behind
// a run queued before it, and its answer reaches the UI thread as a posted
// call, unless the connection or the session is gone by then.

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "db/catalog_sets.h"
#include "session_fixture.h"

namespace dossel::test {
namespace {

constexpr const char* kSlowQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 3000000) select count(*) from c";

class ConnectionAskTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    m_database = m_folder.File("ask.db");
    RunSqlite(m_database, "create table orders(id integer); create table customers(id integer);");
  }
  void Connect() { ASSERT_TRUE(ConnectTo("DSN=Ask;Database=" + m_database)); }

  // Asks for the table names; the answer stores them and counts itself.
  bool AskTableNames() {
    return m_session.Ask([this](db::CDbConnection& connection) -> session::CSession::PostedAnswer {
      m_askThread = std::this_thread::get_id();
      std::vector<TString> names;
      db::CTablesSet rs(&connection);
      if (rs.Open(nullptr, nullptr, nullptr, DT("'TABLE'"), db::kForwardOnly))
        for (; !rs.IsAfterLast(); rs.MoveNext()) names.push_back(rs.m_strTableName);
      return [this, names] {
        m_names = names;
        m_answerThread = std::this_thread::get_id();
        ++m_answers;
      };
    });
  }

  std::string m_database;
  std::vector<TString> m_names;
  std::thread::id m_askThread;
  std::thread::id m_answerThread;
  int m_answers = 0;
};

TEST_F(ConnectionAskTest, TheCallRunsOnTheConnectionThreadAndItsAnswerOnThePostingThread) {
  EXPECT_FALSE(AskTableNames()) << "nothing to ask before a connect";
  Connect();
  ASSERT_TRUE(AskTableNames());
  // Nothing arrives until the posted calls run.
  EXPECT_TRUE(m_session.WaitForThreads(5000));
  EXPECT_EQ(m_answers, 0);
  ASSERT_TRUE(PumpUntil([&] { return m_answers == 1; }));
  std::sort(m_names.begin(), m_names.end());
  EXPECT_EQ(m_names, (std::vector<TString>{DT("customers"), DT("orders")}));
  EXPECT_NE(m_askThread, std::this_thread::get_id());
  EXPECT_EQ(m_answerThread, std::this_thread::get_id());
}

TEST_F(ConnectionAskTest, AnAskQueuedDuringARunIsAnsweredAfterTheRunHasEnded) {
  Connect();
  Start(kSlowQuery);
  ASSERT_TRUE(AskTableNames());
  int runsEndedAtAnswer = -1;
  ASSERT_TRUE(PumpUntil([&] {
    if (m_answers == 1 && runsEndedAtAnswer < 0) runsEndedAtAnswer = m_view.m_runsEnded;
    return m_answers == 1 && !m_session.IsExecuting();
  }));
  EXPECT_EQ(runsEndedAtAnswer, 1) << "the run's end comes first";
  EXPECT_NE(m_view.Trace().find("Query completed successfully."), std::string::npos) << m_view.Trace();
}

TEST_F(ConnectionAskTest, AnAnswerForAClosedConnectionIsDropped) {
  Connect();
  ASSERT_TRUE(AskTableNames());
  EXPECT_TRUE(m_session.WaitForThreads(5000));
  m_session.Disconnect();
  Pump(50);
  EXPECT_EQ(m_answers, 0);

  // Nor does an answer asked of one connection reach the next one.
  Connect();
  ASSERT_TRUE(AskTableNames());
  EXPECT_TRUE(m_session.WaitForThreads(5000));
  m_session.Disconnect();
  Connect();
  Pump(50);
  EXPECT_EQ(m_answers, 0);
  ASSERT_TRUE(AskTableNames());
  ASSERT_TRUE(PumpUntil([&] { return m_answers == 1; }));
}

TEST_F(ConnectionAskTest, AnAnswerThatArrivesAfterTheSessionIsGoneIsDropped) {
  RecordingSessionView view;
  bool answered = false;
  {
    session::CSession session(view);
    const TString connect = FromUtf8("DSN=Ask;Database=" + m_database);
    ASSERT_TRUE(session.Connect(&connect));
    ASSERT_TRUE(
        session.Ask([&](db::CDbConnection&) -> session::CSession::PostedAnswer { return [&] { answered = true; }; }));
    EXPECT_TRUE(session.Shutdown());
  }
  view.RunPosted();
  EXPECT_FALSE(answered);
}

TEST_F(ConnectionAskTest, NoAnswerIsPostedWhenTheCallGivesNone) {
  Connect();
  std::atomic<bool> ran{false};
  ASSERT_TRUE(m_session.Ask([&](db::CDbConnection&) -> session::CSession::PostedAnswer {
    ran = true;
    return nullptr;
  }));
  EXPECT_TRUE(m_session.WaitForThreads(5000));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(m_view.RunPosted());
}

}  // namespace
}  // namespace dossel::test
