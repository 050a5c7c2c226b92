// A history file that is damaged, locked, foreign or newer never stops the
// program: it says so once, keeps a damaged file aside, and runs on.

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "history/history_store.h"
#include "history_fixture.h"

namespace dossel::test {
namespace {

using history::CHistory;

using HistoryFaultTest = HistoryFileTest;

TEST_F(HistoryFaultTest, ADamagedFileIsKeptAsideAndANewHistoryBegun) {
  const std::string garbage(100000, 'x');
  std::ofstream(m_path, std::ios::binary) << garbage;
  auto history = Open();
  EXPECT_EQ(history->GetState(), CHistory::State::kReady);
  ASSERT_EQ(m_reported.Lines().size(), 1u);
  EXPECT_EQ(m_reported.Lines()[0], "The run history " + m_path + " could not be read; it was kept as " + m_path +
                                       ".damaged-1 and a new one begun.\r\n");
  EXPECT_TRUE(ReadFile(m_path + ".damaged-1") == garbage);
  Record(*history, "select 'after the damage'");
  EXPECT_EQ(Summaries(SearchFor(*history, "damage")), std::vector<std::string>{"select 'after the damage'"});
  EXPECT_EQ(m_reported.Lines().size(), 1u);
}

TEST_F(HistoryFaultTest, AnotherProgramsDatabaseIsNeverWrittenInto) {
  RunSqlite(m_path, "create table notes(body text); insert into notes values ('keep me');");
  const std::string before = ReadFile(m_path);
  auto history = Open();
  EXPECT_EQ(history->GetState(), CHistory::State::kReady);
  EXPECT_EQ(m_reported.Lines().size(), 1u);
  EXPECT_TRUE(ReadFile(m_path + ".damaged-1") == before);
  Record(*history, "select 1");
  EXPECT_EQ(SearchFor(*history, "").entries.size(), 1u);
}

TEST_F(HistoryFaultTest, AHistoryOfALaterVersionIsLeftAlone) {
  { Open(); }
  RunSqlite(m_path, "PRAGMA user_version = 7;");
  const std::string before = ReadFile(m_path);
  auto history = Open();
  EXPECT_EQ(history->GetState(), CHistory::State::kUnavailable);
  EXPECT_EQ(m_reported.Lines(), std::vector<std::string>{"The run history " + m_path +
                                                         " was written by a later version of Dossel; runs are not "
                                                         "recorded.\r\n"});
  Record(*history, "select 1");
  EXPECT_TRUE(SearchFor(*history, "").entries.empty());
  history.reset();
  EXPECT_TRUE(ReadFile(m_path) == before);
  EXPECT_FALSE(std::filesystem::exists(m_path + ".damaged-1"));
}

TEST_F(HistoryFaultTest, AFileLockedByAnotherProgramLeavesTheProgramWithoutHistorySaidOnce) {
  auto history = Open(200);
  Record(*history, "select 'before the lock'");
  // Another program holds the file's write lock past the wait.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(m_path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  Record(*history, "select 'during the lock'");
  Record(*history, "select 'still locked'");
  EXPECT_EQ(history->GetState(), CHistory::State::kUnavailable);
  EXPECT_EQ(m_reported.Lines(), std::vector<std::string>{"The run history " + m_path +
                                                         " is locked by another program; runs are not recorded.\r\n"});
  // Searches answer, with nothing.
  EXPECT_TRUE(SearchFor(*history, "").entries.empty());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  history.reset();
  // What was recorded before stays.
  auto again = Open();
  EXPECT_EQ(Summaries(SearchFor(*again, "")), std::vector<std::string>{"select 'before the lock'"});
}

TEST_F(HistoryFaultTest, AFileLockedWhenTheProgramStartsIsSaidOnce) {
  // A file in rollback mode that another program holds: turning it to WAL
  // needs the lock.
  RunSqlite(m_path, "PRAGMA journal_mode=DELETE;");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(m_path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; CREATE TABLE x(y);", nullptr, nullptr, nullptr), SQLITE_OK);
  auto history = Open(200);
  EXPECT_EQ(history->GetState(), CHistory::State::kUnavailable);
  ASSERT_EQ(m_reported.Lines().size(), 1u);
  EXPECT_NE(m_reported.Lines()[0].find("is locked by another program"), std::string::npos) << m_reported.Lines()[0];
  Record(*history, "select 1");
  EXPECT_EQ(m_reported.Lines().size(), 1u);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

TEST_F(HistoryFaultTest, AFolderThatCannotBeMadeLeavesTheProgramWithoutHistory) {
  std::ofstream(m_folder.File("file")) << "x";
  m_path = m_folder.File("file/history.db");
  auto history = Open();
  EXPECT_EQ(history->GetState(), CHistory::State::kUnavailable);
  ASSERT_EQ(m_reported.Lines().size(), 1u);
  EXPECT_NE(m_reported.Lines()[0].find("cannot be used"), std::string::npos);
}

}  // namespace
}  // namespace dossel::test
