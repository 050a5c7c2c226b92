#include "history/history_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "history/secrets.h"

namespace dossel::history {
namespace {

// "Dshy": the program's mark in the file's header.
constexpr int kApplicationId = 0x44736879;

constexpr const char* kSchema = R"sql(
CREATE TABLE runs(
  id INTEGER PRIMARY KEY,
  started_at INTEGER NOT NULL,
  duration_ms INTEGER NOT NULL,
  data_source TEXT NOT NULL,
  database_name TEXT NOT NULL,
  row_count INTEGER,
  outcome INTEGER NOT NULL,
  first_error TEXT NOT NULL,
  summary TEXT NOT NULL,
  text TEXT NOT NULL);
CREATE INDEX runs_by_source ON runs(data_source, id);
CREATE VIRTUAL TABLE runs_text USING fts5(text, content='runs', content_rowid='id',
  tokenize='unicode61 remove_diacritics 2', prefix='1 2 3');
CREATE TRIGGER runs_text_add AFTER INSERT ON runs BEGIN
  INSERT INTO runs_text(rowid, text) VALUES (new.id, new.text);
END;
CREATE TRIGGER runs_text_remove AFTER DELETE ON runs BEGIN
  INSERT INTO runs_text(runs_text, rowid, text) VALUES ('delete', old.id, old.text);
END;
)sql";

constexpr const char* kColumns =
    "r.id, r.started_at, r.duration_ms, r.row_count, r.outcome, r.data_source, r.database_name, r.first_error, "
    "r.summary";

// The prepared statements, by index.
enum StatementIndex {
  kInsert,
  kCount,
  kTrim,
  kNewest,
  kNewestOfSource,
  kMatching,
  kMatchingOfSource,
  kText,
  kRemove,
  kSources,
  kStatementCount,
};

const std::string kNewestSql =
    std::string("SELECT ") + kColumns + " FROM runs r WHERE r.id < ?1 ORDER BY r.id DESC LIMIT ?2";
const std::string kNewestOfSourceSql =
    std::string("SELECT ") + kColumns +
    " FROM runs r WHERE r.data_source = ?3 AND r.id < ?1 ORDER BY r.id DESC LIMIT ?2";
// The index gives its matches newest first and stops at the limit.
const std::string kMatchingSql = std::string("SELECT ") + kColumns +
                                 " FROM runs_text JOIN runs r ON r.id = runs_text.rowid"
                                 " WHERE runs_text MATCH ?4 AND runs_text.rowid < ?1"
                                 " ORDER BY runs_text.rowid DESC LIMIT ?2";
const std::string kMatchingOfSourceSql = std::string("SELECT ") + kColumns +
                                         " FROM runs_text JOIN runs r ON r.id = runs_text.rowid"
                                         " WHERE runs_text MATCH ?4 AND runs_text.rowid < ?1 AND r.data_source = ?3"
                                         " ORDER BY runs_text.rowid DESC LIMIT ?2";

StoreFailure Classify(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return StoreFailure::kDamaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return StoreFailure::kLocked;
    default:
      return StoreFailure::kOther;
  }
}

std::string Column(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Resets a statement when the scope ends, so that it holds no read lock.
class Reset {
 public:
  explicit Reset(sqlite3_stmt* statement) : m_statement(statement) {}
  ~Reset() {
    if (m_statement) {
      sqlite3_reset(m_statement);
      sqlite3_clear_bindings(m_statement);
    }
  }
  Reset(const Reset&) = delete;
  Reset& operator=(const Reset&) = delete;

 private:
  sqlite3_stmt* m_statement;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

CHistoryStore::~CHistoryStore() { Close(); }

void CHistoryStore::Close() {
  for (sqlite3_stmt*& statement : m_statements) {
    sqlite3_finalize(statement);
    statement = nullptr;
  }
  m_statements.clear();
  if (m_db) sqlite3_close_v2(m_db);
  m_db = nullptr;
}

bool CHistoryStore::Fail(int rc) {
  m_failure = Classify(rc);
  m_failureText = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
  return false;
}

bool CHistoryStore::Exec(const char* sql) {
  const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK || Fail(rc);
}

sqlite3_stmt* CHistoryStore::Statement(int index, const char* sql) {
  if (m_statements.size() < kStatementCount) m_statements.resize(kStatementCount, nullptr);
  sqlite3_stmt*& statement = m_statements[static_cast<size_t>(index)];
  if (!statement) {
    const int rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
      Fail(rc);
      sqlite3_finalize(statement);
      statement = nullptr;
    }
  }
  return statement;
}

bool CHistoryStore::Open(const std::string& path, int busyTimeoutMs) {
  Close();
  m_failure = StoreFailure::kNone;
  m_failureText.clear();
  const bool existed = std::filesystem::exists(path);
  const int rc = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    Fail(rc);
    Close();
    return false;
  }
  // The queries a user ran are theirs alone; the WAL and its index take the
  // file's permissions.
  if (!existed) ::chmod(path.c_str(), 0600);
  sqlite3_extended_result_codes(m_db, 1);
  sqlite3_busy_timeout(m_db, busyTimeoutMs);
  if (!Prepare()) {
    const StoreFailure failure = m_failure;
    const std::string text = m_failureText;
    Close();
    m_failure = failure;
    m_failureText = text;
    return false;
  }
  return true;
}

bool CHistoryStore::Prepare() {
  // The first read of the file: a file that is not a database fails here,
  // and another program's database is known before anything is written.
  int applicationId = 0, version = 0, objects = 0;
  {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(m_db,
                                "SELECT (SELECT application_id FROM pragma_application_id),"
                                " (SELECT user_version FROM pragma_user_version),"
                                " (SELECT count(*) FROM sqlite_schema)",
                                -1, &statement, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
      applicationId = sqlite3_column_int(statement, 0);
      version = sqlite3_column_int(statement, 1);
      objects = sqlite3_column_int(statement, 2);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW) return Fail(rc);
  }
  const bool empty = objects == 0 && version == 0;
  if (!empty && applicationId != kApplicationId) {
    // Another program's database: never written into.
    m_failure = StoreFailure::kDamaged;
    m_failureText = "not a run history";
    return false;
  }
  if (version > kHistorySchemaVersion) {
    m_failure = StoreFailure::kNewer;
    m_failureText = "written by a later version";
    return false;
  }
  if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=NORMAL")) return false;
  if (empty && !CreateSchema()) return false;
  // A later schema version migrates older files here, in order.
  m_runs = CountRuns();
  return m_runs >= 0;
}

bool CHistoryStore::CreateSchema() {
  if (!Exec("BEGIN IMMEDIATE")) return false;
  // Another program may have made it meanwhile.
  sqlite3_stmt* statement = nullptr;
  int objects = 0;
  if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_schema", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    objects = sqlite3_column_int(statement, 0);
  sqlite3_finalize(statement);
  const std::string marks = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                            "; PRAGMA user_version=" + std::to_string(kHistorySchemaVersion) + ";";
  if (objects == 0 && (!Exec(kSchema) || !Exec(marks.c_str()))) {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }
  return Exec("COMMIT");
}

int64_t CHistoryStore::CountRuns() {
  sqlite3_stmt* statement = Statement(kCount, "SELECT count(*) FROM runs");
  if (!statement) return -1;
  Reset reset(statement);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) return sqlite3_column_int64(statement, 0);
  Fail(rc);
  return -1;
}

int CHistoryStore::SchemaVersion() {
  sqlite3_stmt* statement = nullptr;
  int version = -1;
  if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    version = sqlite3_column_int(statement, 0);
  sqlite3_finalize(statement);
  return version;
}

bool CHistoryStore::Add(const session::RunRecord& record, int64_t maxRuns) {
  sqlite3_stmt* statement =
      Statement(kInsert,
                "INSERT INTO runs(started_at, duration_ms, data_source, database_name, row_count, outcome,"
                " first_error, summary, text) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
  if (!statement) return false;
  {
    Reset reset(statement);
    const std::string text = RedactSecrets(ToUtf8(record.text));
    sqlite3_bind_int64(statement, 1, record.startedAt);
    sqlite3_bind_int64(statement, 2, record.durationMs);
    BindText(statement, 3, RedactSecrets(ToUtf8(record.dataSource)));
    BindText(statement, 4, RedactSecrets(ToUtf8(record.database)));
    if (record.rows >= 0) sqlite3_bind_int64(statement, 5, record.rows);
    sqlite3_bind_int(statement, 6, static_cast<int>(record.outcome));
    BindText(statement, 7, RedactSecrets(ToUtf8(record.firstError)));
    BindText(statement, 8, SummaryOf(text));
    sqlite3_bind_text(statement, 9, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) return Fail(rc);
  }
  ++m_runs;
  return m_runs <= maxRuns || Trim(maxRuns);
}

// Another program records into the same file, so the count is taken again
// before the oldest runs go.
bool CHistoryStore::Trim(int64_t maxRuns) {
  m_runs = CountRuns();
  if (m_runs < 0) return false;
  if (m_runs <= maxRuns) return true;
  sqlite3_stmt* statement = Statement(kTrim, "DELETE FROM runs WHERE id IN (SELECT id FROM runs ORDER BY id LIMIT ?1)");
  if (!statement) return false;
  Reset reset(statement);
  sqlite3_bind_int64(statement, 1, m_runs - maxRuns);
  const int rc = sqlite3_step(statement);
  if (rc != SQLITE_DONE) return Fail(rc);
  m_runs = maxRuns;
  return true;
}

bool CHistoryStore::Search(const HistoryQuery& query, std::vector<HistoryEntry>& entries) {
  entries.clear();
  const std::string match = MatchExpression(ToUtf8(query.words));
  const bool ofSource = !query.dataSource.empty();
  sqlite3_stmt* statement = nullptr;
  if (match.empty())
    statement =
        ofSource ? Statement(kNewestOfSource, kNewestOfSourceSql.c_str()) : Statement(kNewest, kNewestSql.c_str());
  else
    statement = ofSource ? Statement(kMatchingOfSource, kMatchingOfSourceSql.c_str())
                         : Statement(kMatching, kMatchingSql.c_str());
  if (!statement) return false;
  Reset reset(statement);
  sqlite3_bind_int64(statement, 1, query.beforeId > 0 ? query.beforeId : INT64_MAX);
  sqlite3_bind_int(statement, 2, query.limit);
  if (ofSource) BindText(statement, 3, ToUtf8(query.dataSource));
  if (!match.empty()) BindText(statement, 4, match);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    HistoryEntry entry;
    entry.id = sqlite3_column_int64(statement, 0);
    entry.startedAt = sqlite3_column_int64(statement, 1);
    entry.durationMs = static_cast<uint32_t>(sqlite3_column_int64(statement, 2));
    entry.rows = sqlite3_column_type(statement, 3) == SQLITE_NULL ? -1 : sqlite3_column_int64(statement, 3);
    entry.outcome = static_cast<session::RunOutcome>(sqlite3_column_int(statement, 4));
    entry.dataSource = FromUtf8(Column(statement, 5));
    entry.database = FromUtf8(Column(statement, 6));
    entry.firstError = FromUtf8(Column(statement, 7));
    entry.summary = FromUtf8(Column(statement, 8));
    entries.push_back(std::move(entry));
  }
  return rc == SQLITE_DONE || Fail(rc);
}

std::optional<TString> CHistoryStore::ReadText(int64_t id) {
  sqlite3_stmt* statement = Statement(kText, "SELECT text FROM runs WHERE id = ?1");
  if (!statement) return std::nullopt;
  Reset reset(statement);
  sqlite3_bind_int64(statement, 1, id);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) return FromUtf8(Column(statement, 0));
  if (rc != SQLITE_DONE) Fail(rc);
  return std::nullopt;
}

bool CHistoryStore::Remove(const std::vector<int64_t>& ids) {
  sqlite3_stmt* statement = Statement(kRemove, "DELETE FROM runs WHERE id = ?1");
  if (!statement || !Exec("BEGIN IMMEDIATE")) return false;
  for (int64_t id : ids) {
    Reset reset(statement);
    sqlite3_bind_int64(statement, 1, id);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) {
      Fail(rc);
      sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
      return false;
    }
    if (sqlite3_changes(m_db) > 0) --m_runs;
  }
  return Exec("COMMIT");
}

bool CHistoryStore::ListDataSources(std::vector<TString>& names) {
  names.clear();
  sqlite3_stmt* statement = Statement(kSources, "SELECT DISTINCT data_source FROM runs ORDER BY data_source");
  if (!statement) return false;
  Reset reset(statement);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) names.push_back(FromUtf8(Column(statement, 0)));
  return rc == SQLITE_DONE || Fail(rc);
}

std::string KeepDamagedFileAside(const std::string& path) {
  for (int n = 1; n < 10000; ++n) {
    const std::string aside = path + ".damaged-" + std::to_string(n);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(aside, error))) continue;
    if (::rename(path.c_str(), aside.c_str()) != 0) return {};
    // The WAL belongs to the file it was written for; the index of shared
    // memory is made again from it.
    ::rename((path + "-wal").c_str(), (aside + "-wal").c_str());
    ::unlink((path + "-shm").c_str());
    return aside;
  }
  return {};
}

std::string MatchExpression(std::string_view words) {
  std::string match;
  size_t i = 0;
  while (i < words.size()) {
    while (i < words.size() && (words[i] == ' ' || words[i] == '\t' || words[i] == '\r' || words[i] == '\n')) ++i;
    const size_t start = i;
    while (i < words.size() && words[i] != ' ' && words[i] != '\t' && words[i] != '\r' && words[i] != '\n') ++i;
    const std::string_view word = words.substr(start, i - start);
    bool hasLetter = false;
    for (char c : word) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80 || std::isalnum(byte)) hasLetter = true;
    }
    if (!hasLetter) continue;
    if (!match.empty()) match += ' ';
    match += '"';
    for (char c : word) {
      if (c == '"') match += '"';
      match += c;
    }
    match += "\"*";
  }
  return match;
}

std::string SummaryOf(std::string_view text, size_t limit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    size_t from = start, to = end;
    while (from < to && IsBlank(text[from])) ++from;
    while (to > from && IsBlank(text[to - 1])) --to;
    if (to > from) {
      std::string line(text.substr(from, to - from));
      // Cut at a character's start, counting characters, not bytes.
      size_t characters = 0;
      for (size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
        if (characters++ == limit) {
          line.resize(i);
          line += "...";
          break;
        }
      }
      for (char& c : line)
        if (c == '\t') c = ' ';
      return line;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace dossel::history
