// Cancel from a second thread ends a long-running statement.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "db_test_fixture.h"

namespace dossel::test {
namespace {

TEST_F(SqliteFixture, CancelFromAnotherThreadEndsALongStatementWithinASecond) {
  db::CQueryResultSet rs(&m_connection);
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  std::thread canceller([&] {
    while (!started) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    rs.Cancel();
  });
  const auto begin = std::chrono::steady_clock::now();
  started = true;
  ASSERT_TRUE(
      rs.OpenSql(DT("with recursive c(x) as (select 1 union all select x + 1 from c where x < 500000000) "
                    "select count(*) from c")));
  finished = true;
  const auto elapsed = std::chrono::steady_clock::now() - begin;
  canceller.join();
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_LT(elapsed, std::chrono::seconds(5));  // generous: only that it ended, not how fast
  // The statement handle stays usable.
  rs.Close();
  ASSERT_TRUE(rs.OpenSql(DT("select 5")));
  TString v;
  rs.GetFieldText(0, v);
  EXPECT_EQ(v, DT("5"));
}

TEST_F(SqliteFixture, CancelOnAFinishedStatementChangesNothing) {
  db::CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("select 1 union all select 2")));
  // The driver's answer comes back; the set's position and columns stay.
  EXPECT_EQ(rs.Cancel(), SQL_SUCCESS);
  EXPECT_FALSE(rs.IsAfterLast());
  EXPECT_FALSE(rs.IsBeforeFirst());
  EXPECT_EQ(rs.GetColumnCount(), 1);
}

}  // namespace
}  // namespace dossel::test
