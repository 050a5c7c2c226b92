// The program's query time-out: the watch fires once per statement that
// outlives its time, never for one that ended, and each statement gets the
// whole time.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "session/statement_watch.h"

namespace dossel::test {
namespace {

using namespace std::chrono_literals;

class StatementWatchTest : public ::testing::Test {
 protected:
  bool WaitForExpiries(int count) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (m_expiries < count)
      if (std::chrono::steady_clock::now() > end)
        return false;
      else
        std::this_thread::sleep_for(1ms);
    return true;
  }

  std::atomic<int> m_expiries{0};
  session::CStatementWatch m_watch{[this] { ++m_expiries; }};
};

TEST_F(StatementWatchTest, StatementPastItsTimeIsStoppedOnce) {
  ASSERT_TRUE(m_watch.Arm(50));
  ASSERT_TRUE(WaitForExpiries(1));
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(m_expiries, 1);
  EXPECT_TRUE(m_watch.Disarm());
  // The next statement starts clean.
  EXPECT_FALSE(m_watch.Disarm());
}

TEST_F(StatementWatchTest, EachStatementGetsTheWholeTime) {
  for (int statement = 0; statement < 3; ++statement) {
    ASSERT_TRUE(m_watch.Arm(1500));
    std::this_thread::sleep_for(600ms);
    EXPECT_FALSE(m_watch.Disarm());
  }
  EXPECT_EQ(m_expiries, 0);
  // A statement that ended is never stopped later.
  std::this_thread::sleep_for(1000ms);
  EXPECT_EQ(m_expiries, 0);
}

TEST_F(StatementWatchTest, NoTimeOutWatchesNothing) {
  ASSERT_TRUE(m_watch.Arm(0));
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(m_watch.Disarm());
  EXPECT_EQ(m_expiries, 0);
}

}  // namespace
}  // namespace dossel::test
