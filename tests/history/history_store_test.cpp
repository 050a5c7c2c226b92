// The run history file: recording, searching (words, prefixes, case and
// accents), the bound, texts of several MB, two programs recording at once,
// and what is never written.

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "history/history_store.h"
#include "history/secrets.h"
#include "history_fixture.h"
#include "settings/settings_store.h"

namespace dossel::test {
namespace {

using history::CHistory;

class HistoryTest : public HistoryFileTest {
 protected:
  // A value read from the file through SQLite itself.
  int64_t Scalar(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    int64_t value = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
      value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
  }
};

TEST_F(HistoryTest, RecordsEveryFigureAndFindsRunsByWordsPrefixesCaseAndAccents) {
  auto history = Open();
  EXPECT_EQ(history->GetState(), CHistory::State::kReady);
  session::RunRecord failed = MakeRecord("\r\n  select * from customers where city = 'Zürich'\r\norder by name", "Shop",
                                         session::RunOutcome::kErrors);
  failed.rows = -1;
  failed.firstError = DT("no such column: city");
  failed.durationMs = 1234;
  Record(*history, failed);
  Record(*history, MakeRecord("update orders set status = 'shipped' where order_id = 7", "Warehouse"));
  Record(*history, MakeRecord("SELECT name FROM Produkte -- Größe und Maße", "Shop"));
  Record(*history, MakeRecord("select o.order_id, sum(l.qty) from order_lines l", "Shop"));

  CHistory::Page all = SearchFor(*history, "");
  EXPECT_EQ(Summaries(all), (std::vector<std::string>{"select o.order_id, sum(l.qty) from order_lines l",
                                                      "SELECT name FROM Produkte -- Größe und Maße",
                                                      "update orders set status = 'shipped' where order_id = 7",
                                                      "select * from customers where city = 'Zürich'"}));
  EXPECT_FALSE(all.more);
  const history::HistoryEntry& first = all.entries.back();
  EXPECT_EQ(first.outcome, session::RunOutcome::kErrors);
  EXPECT_EQ(first.firstError, DT("no such column: city"));
  EXPECT_EQ(first.rows, -1);
  EXPECT_EQ(first.durationMs, 1234u);
  EXPECT_EQ(first.startedAt, 1765000000000);
  EXPECT_EQ(first.dataSource, DT("Shop"));
  EXPECT_EQ(first.database, DT("/data/shop.db"));
  EXPECT_EQ(all.entries.front().rows, 3);

  EXPECT_EQ(Summaries(SearchFor(*history, "cust")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "SELECT")).size(), 3u);
  EXPECT_EQ(Summaries(SearchFor(*history, "zurich")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "ZÜR")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "größe")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "orders ship")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "o.order_id")).size(), 1u);
  EXPECT_EQ(Summaries(SearchFor(*history, "orders nothing")).size(), 0u);
  // Marks alone are no words: every run, as with nothing typed.
  EXPECT_EQ(Summaries(SearchFor(*history, " * \" ( ")).size(), 4u);
  EXPECT_EQ(Summaries(SearchFor(*history, "select", "Shop")).size(), 3u);
  EXPECT_EQ(Summaries(SearchFor(*history, "", "Warehouse")).size(), 1u);

  // Pages: newest first, each older than the last one shown.
  CHistory::Page page = SearchFor(*history, "", "", 3);
  EXPECT_TRUE(page.more);
  ASSERT_EQ(page.entries.size(), 3u);
  CHistory::Page rest = SearchFor(*history, "", "", 3, page.entries.back().id);
  EXPECT_FALSE(rest.more);
  ASSERT_EQ(rest.entries.size(), 1u);
  EXPECT_EQ(rest.entries[0].id, first.id);

  Answer<std::optional<TString>> text;
  history->ReadText(first.id, text.Callback());
  EXPECT_EQ(text.Wait(), failed.text);
  Answer<std::vector<TString>> sources;
  history->ListDataSources(sources.Callback());
  EXPECT_EQ(sources.Wait(), (std::vector<TString>{DT("Shop"), DT("Warehouse")}));

  // The file carries its schema version and is in WAL mode.
  EXPECT_EQ(Scalar("PRAGMA user_version"), history::kHistorySchemaVersion);
  EXPECT_EQ(Scalar("SELECT journal_mode = 'wal' FROM pragma_journal_mode"), 1);
  EXPECT_TRUE(m_reported.Lines().empty());
}

TEST_F(HistoryTest, RemovedRunsAndRunsPastTheBoundAreGoneFromTheIndexToo) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, history::kHistoryKey, DT("MaxRuns"), 5);
  auto history = Open();
  for (int i = 1; i <= 8; ++i)
    Record(*history, MakeRecord("select " + std::to_string(i) + " as run" + std::to_string(i)));
  CHistory::Page all = SearchFor(*history, "");
  EXPECT_EQ(Summaries(all), (std::vector<std::string>{"select 8 as run8", "select 7 as run7", "select 6 as run6",
                                                      "select 5 as run5", "select 4 as run4"}));
  EXPECT_TRUE(SearchFor(*history, "run3").entries.empty());
  EXPECT_EQ(Scalar("SELECT count(*) FROM runs"), 5);

  Answer<int> removed;
  history->Remove({all.entries[0].id, all.entries[2].id}, [&] { removed.Callback()(1); });
  removed.Wait();
  EXPECT_EQ(Summaries(SearchFor(*history, "select")),
            (std::vector<std::string>{"select 7 as run7", "select 5 as run5", "select 4 as run4"}));
  EXPECT_TRUE(SearchFor(*history, "run8").entries.empty());

  // Recording turned off: runs are no longer kept, the history still reads.
  KeyWriteInteger(HKEY_LOCAL_MACHINE, history::kHistoryKey, DT("Record"), 0);
  Record(*history, MakeRecord("select 9 as run9"));
  EXPECT_EQ(SearchFor(*history, "").entries.size(), 3u);
}

TEST_F(HistoryTest, ATextOfSeveralMegabytesIsKeptWholeAndFoundByItsLastWord) {
  auto history = Open();
  std::string text = "insert into big values\r\n";
  while (text.size() < 6 * 1024 * 1024) text += "('ünïcode value " + std::to_string(text.size()) + "'),\r\n";
  text += "('the last word is zanzibar')";
  Record(*history, MakeRecord(text));
  CHistory::Page page = SearchFor(*history, "zanzib");
  ASSERT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(ToUtf8(page.entries[0].summary), "insert into big values");
  Answer<std::optional<TString>> read;
  history->ReadText(page.entries[0].id, read.Callback());
  const std::optional<TString> back = read.Wait();
  ASSERT_TRUE(back);
  EXPECT_TRUE(ToUtf8(*back) == text);
}

TEST_F(HistoryTest, TwoProgramsRecordingAtOnceLoseNothing) {
  constexpr int kRuns = 150;
  // The other program is a process of its own, made before this one has a
  // thread; it starts recording when told, while this one records too.
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    close(go[1]);
    char start = 0;
    if (read(go[0], &start, 1) != 1) _exit(2);
    CHistory history(m_path, nullptr);
    for (int i = 0; i < kRuns; ++i) history.RunEnded(MakeRecord("select " + std::to_string(i) + " from other"));
    _exit(history.WaitIdle(60000) && history.GetState() == CHistory::State::kReady ? 0 : 1);
  }
  close(go[0]);
  auto one = Open();
  // A second writer in this program as well.
  auto two = Open();
  ASSERT_EQ(write(go[1], "g", 1), 1);
  close(go[1]);
  std::thread second([&] {
    for (int i = 0; i < kRuns; ++i) two->RunEnded(MakeRecord("select " + std::to_string(i) + " from two"));
  });
  for (int i = 0; i < kRuns; ++i) one->RunEnded(MakeRecord("select " + std::to_string(i) + " from one"));
  second.join();
  ASSERT_TRUE(one->WaitIdle(60000));
  ASSERT_TRUE(two->WaitIdle(60000));
  int status = -1;
  ASSERT_EQ(waitpid(other, &status, 0), other);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Scalar("SELECT count(*) FROM runs"), 3 * kRuns);
  EXPECT_EQ(SearchFor(*one, "other", "", 1000).entries.size(), static_cast<size_t>(kRuns));
  EXPECT_EQ(SearchFor(*one, "two", "", 1000).entries.size(), static_cast<size_t>(kRuns));
  EXPECT_EQ(SearchFor(*two, "one", "", 1000).entries.size(), static_cast<size_t>(kRuns));
  EXPECT_TRUE(m_reported.Lines().empty());
}

TEST_F(HistoryTest, PasswordsAreNeverWrittenAnywhereInTheFile) {
  auto history = Open();
  session::RunRecord record = MakeRecord(
      "select * from openrowset('MSDASQL', 'DSN=Sales;UID=sa;PWD=hunter2x;', 'select 1');\r\n"
      "create login reader with password = 'hunter3x';\r\n"
      "alter user bob identified by hunter4x;",
      "Sales;Password={hunter5x}");
  record.firstError = DT("Login failed for DSN=Sales;PWD=hunter6x");
  Record(*history, record);
  history.reset();
  std::string bytes = ReadFile(m_path);
  bytes += ReadFile(m_path + "-wal");
  EXPECT_EQ(bytes.find("hunter"), std::string::npos);
  // What the runs were is still there.
  EXPECT_NE(bytes.find("openrowset"), std::string::npos);
}

TEST(RedactSecretsTest, EveryFormOfPasswordIsReplacedAndTheRestKept) {
  using history::RedactSecrets;
  EXPECT_EQ(RedactSecrets("DSN=x;UID=sa;PWD=secret;Database=d"), "DSN=x;UID=sa;PWD=*****;Database=d");
  EXPECT_EQ(RedactSecrets("Server=s;Password = {a;b}}c} ;x=1"), "Server=s;Password = ***** ;x=1");
  EXPECT_EQ(RedactSecrets("'Driver=d;pwd=abc'"), "'Driver=d;pwd=*****'");
  EXPECT_EQ(RedactSecrets("SSLPassword=k1;ClientSecret=k2"), "SSLPassword=*****;ClientSecret=*****");
  EXPECT_EQ(RedactSecrets("CREATE ROLE r LOGIN PASSWORD 'it''s'"), "CREATE ROLE r LOGIN PASSWORD '*****'");
  EXPECT_EQ(RedactSecrets("create login x with password = N'p'"), "create login x with password = N'*****'");
  EXPECT_EQ(RedactSecrets("CREATE USER u IDENTIFIED BY 'pw'"), "CREATE USER u IDENTIFIED BY '*****'");
  EXPECT_EQ(RedactSecrets("ALTER USER u IDENTIFIED BY pw2 ACCOUNT UNLOCK"),
            "ALTER USER u IDENTIFIED BY ***** ACCOUNT UNLOCK");
  EXPECT_EQ(RedactSecrets("identified by password '*AB12'"), "identified by password '*****'");
  // Names alone are not secrets, nor are words that only begin with one.
  EXPECT_EQ(RedactSecrets("select password_hash, pwd from users where id = 1"),
            "select password_hash, pwd from users where id = 1");
  EXPECT_EQ(RedactSecrets("update users set pwd = 'x' where passwordless = 1"),
            "update users set pwd = '*****' where passwordless = 1");
  EXPECT_EQ(RedactSecrets("select 'Zürich', 'PWD'"), "select 'Zürich', 'PWD'");
}

TEST(MatchExpressionTest, WordsBecomeQuotedPrefixes) {
  using history::MatchExpression;
  EXPECT_EQ(MatchExpression("  sel  cust "), "\"sel\"* \"cust\"*");
  EXPECT_EQ(MatchExpression("a\"b"), "\"a\"\"b\"*");
  EXPECT_EQ(MatchExpression("Größe"), "\"Größe\"*");
  EXPECT_EQ(MatchExpression("* ( ;"), "");
  EXPECT_EQ(history::SummaryOf("\r\n \t\r\n\tselect\t1  \r\nfrom t"), "select 1");
  EXPECT_EQ(history::SummaryOf("äöü", 2), "äö...");
}

}  // namespace
}  // namespace dossel::test
