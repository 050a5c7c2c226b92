#pragma once
// CHistoryStore: the run history file, an SQLite database opened through
// the SQLite library. One table of runs, newest by the highest id, with a
// full-text index (FTS5) over the statement texts; WAL mode, so that two
// running programs both record while either reads. The schema carries a
// version number (user_version) and the program's mark (application_id), so
// that a later version can migrate it and a foreign file is never taken for
// it. Texts are stored without their passwords (history/secrets.h).
//
// One thread at a time uses an object (the history writer); failures are
// results, classified so the caller can keep a damaged file aside or give
// up on a locked one.

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/history_entry.h"
#include "platform/text.h"
#include "session/run_record.h"

namespace dossel::history {

// The schema this program writes.
inline constexpr int kHistorySchemaVersion = 1;

enum class StoreFailure {
  kNone,
  kDamaged,  // not a database, or a damaged one
  kLocked,   // another program holds it longer than the wait
  kNewer,    // written by a later version of the program
  kOther,    // cannot be opened or written (permissions, a full disk...)
};

class CHistoryStore {
 public:
  CHistoryStore() = default;
  ~CHistoryStore();
  CHistoryStore(const CHistoryStore&) = delete;
  CHistoryStore& operator=(const CHistoryStore&) = delete;

  // Opens (or makes) the file at `path`, waiting at most `busyTimeoutMs`
  // for another program's lock. False with Failure() set when it cannot.
  bool Open(const std::string& path, int busyTimeoutMs);
  void Close();
  bool IsOpen() const { return m_db != nullptr; }
  StoreFailure Failure() const { return m_failure; }
  // SQLite's words for the last failure.
  const std::string& FailureText() const { return m_failureText; }

  // Adds one run, then drops the oldest runs past `maxRuns`.
  bool Add(const session::RunRecord& record, int64_t maxRuns);
  bool Search(const HistoryQuery& query, std::vector<HistoryEntry>& entries);
  // The whole text of run `id`; nothing when there is no such run.
  std::optional<TString> ReadText(int64_t id);
  bool Remove(const std::vector<int64_t>& ids);
  // Every data source that has a run, in name order.
  bool ListDataSources(std::vector<TString>& names);
  int64_t CountRuns();
  int SchemaVersion();

 private:
  bool Prepare();
  bool CreateSchema();
  bool Trim(int64_t maxRuns);
  // Notes why `rc` failed; false.
  bool Fail(int rc);
  bool Exec(const char* sql);
  sqlite3_stmt* Statement(int index, const char* sql);

  sqlite3* m_db = nullptr;
  StoreFailure m_failure = StoreFailure::kNone;
  std::string m_failureText;
  // Runs in the file as last counted, plus those added since.
  int64_t m_runs = 0;
  // Prepared once, kept while the file is open.
  std::vector<sqlite3_stmt*> m_statements;
};

// Moves a damaged history file (and its WAL) aside as "<path>.damaged-N",
// the first free N; the new name, or empty when it could not be moved.
std::string KeepDamagedFileAside(const std::string& path);

// The FTS5 query for the words a user typed: each word that holds a letter
// or digit, quoted, as the start of a word; every one must match. Empty
// when there is no such word. UTF-8.
std::string MatchExpression(std::string_view words);

// The first line of `text` that is not blank, without its blanks around,
// cut to `limit` characters.
std::string SummaryOf(std::string_view text, size_t limit = 200);

}  // namespace dossel::history
