// The run history's costs. Recording: the UI thread's part of recording a
// run (handing the record to the history writer) against moving the same
// record into a vector; and a run of "select 1" through the session on the
// SQLite driver with the history recording it, against the same run with no
// history. Searching: a history of 100,000 runs, searched word by word as a
// user types them, from the call to the first page of matches, against the
// same words found with LIKE over the texts.

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "bench_session_view.h"
#include "bench_support.h"
#include "history/history.h"
#include "history/history_store.h"
#include "session/session.h"

using namespace dossel;
using Clock = std::chrono::steady_clock;

namespace {

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Seconds with the precision a per-run figure needs.
std::string Fine(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7f", seconds);
  return text;
}

session::RunRecord Record(std::string text) {
  session::RunRecord record;
  record.text = FromUtf8(text);
  record.dataSource = DT("Sample");
  record.database = DT("/data/sample.db");
  record.startedAt = 1765000000000;
  record.durationMs = 12;
  record.rows = 42;
  return record;
}

constexpr int kHandOvers = 20000;

// Seconds per hand-over of a record to the history writer, measured on
// the calling thread alone: the median of the calls, since a call that the
// writer's own work on the other core delays now and then is not the UI
// thread's cost.
double RecordOnUiThread(history::CHistory* history, const std::string& text, int count) {
  std::vector<session::RunRecord> records(static_cast<size_t>(count), Record(text));
  std::vector<session::RunRecord> kept;
  kept.reserve(records.size());
  std::vector<double> times;
  times.reserve(records.size());
  for (session::RunRecord& record : records) {
    const auto start = Clock::now();
    if (history)
      history->RunEnded(std::move(record));
    else
      kept.push_back(std::move(record));
    times.push_back(Since(start));
  }
  if (history) history->WaitIdle(600000);
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void MeasureRecording() {
  const std::string folder = bench::ScratchFolder();
  history::CHistory history(folder + "/record.db", nullptr);
  history.WaitIdle(60000);
  const std::string text =
      "select c.name, sum(o.total) from customers c join orders o on o.customer_id = c.id "
      "group by c.name order by 2 desc";
  bench::Measure ui, ref;
  ui.ok = ref.ok = true;
  const double perRun = RecordOnUiThread(&history, text, kHandOvers);
  const double refPerRun = RecordOnUiThread(nullptr, text, kHandOvers);
  const double bigPerRun = RecordOnUiThread(&history, std::string(5 * 1024 * 1024, 'x'), 5);
  ui.seconds = perRun * kHandOvers;
  ref.seconds = refPerRun * kHandOvers;
  bench::Print("history_record_ui_thread", ui, "record_moved_into_vector", ref,
               "runs=" + std::to_string(kHandOvers) + " per_run_s=" + Fine(perRun) +
                   " five_mb_text_per_run_s=" + Fine(bigPerRun) + " limit_per_run_s=0.0001");
}

// Seconds per run of "select 1", with the history recording or without.
double RunsThroughSession(history::CHistory* history, const std::string& database, int runs) {
  bench::CPostingView view;
  session::CSession session(view);
  const TString connect = FromUtf8("DSN=Bench;Database=" + database + ";StepAPI=1");
  if (!session.Connect(&connect)) return -1;
  session.SetRunObserver(history);
  const auto start = Clock::now();
  for (int i = 0; i < runs; ++i) {
    session.Execute(DT("select 1"), true);
    view.RunUntilIdle(session);
  }
  const double seconds = Since(start) / runs;
  if (history) history->WaitIdle(600000);
  session.Shutdown();
  return seconds;
}

void MeasureRunCost() {
  std::setlocale(LC_ALL, "C.UTF-8");
  const std::string folder = bench::ScratchFolder();
  const std::string database = bench::RowsDatabase(10);
  history::CHistory history(folder + "/runs.db", nullptr);
  history.WaitIdle(60000);
  constexpr int kRuns = 2000;
  bench::Measure with, without;
  // The fastest of three of each, taken in turn.
  for (int i = 0; i < 3; ++i) {
    const double on = RunsThroughSession(&history, database, kRuns);
    const double off = RunsThroughSession(nullptr, database, kRuns);
    if (!with.ok || on < with.seconds) with.seconds = on;
    if (!without.ok || off < without.seconds) without.seconds = off;
    with.ok = without.ok = on > 0 && off > 0;
  }
  const double added = with.seconds - without.seconds;
  with.seconds *= kRuns;
  without.seconds *= kRuns;
  bench::Print("history_run_recorded", with, "run_not_recorded", without,
               "runs=" + std::to_string(kRuns) + " per_run_s=" + Fine(with.seconds / kRuns) +
                   " added_per_run_s=" + Fine(added) + " limit_added_per_run_s=0.001");
}

// A history of `runs` runs made through the store's own schema, with texts
// of a few hundred words drawn from a vocabulary of SQL and names.
std::string MakeHistory(int runs) {
  const std::string path = bench::ScratchFolder() + "/search.db";
  {
    history::CHistoryStore store;
    store.Open(path, 5000);
  }
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO runs(started_at, duration_ms, data_source, database_name, row_count, outcome,"
                     " first_error, summary, text) VALUES (?1, 5, ?2, 'db', 10, 0, '', ?3, ?3)",
                     -1, &insert, nullptr);
  const char* words[] = {"select", "from",   "where",    "join",     "group",   "order",   "customers", "orders",
                         "lines",  "price",  "quantity", "products", "city",    "name",    "total",     "sum",
                         "count",  "update", "insert",   "delete",   "values",  "between", "having",    "distinct",
                         "status", "region", "invoice",  "payment",  "shipped", "returns", "Zürich",    "Müller"};
  std::mt19937 random(7);
  for (int i = 0; i < runs; ++i) {
    std::string text;
    const int length = 8 + static_cast<int>(random() % 40);
    for (int w = 0; w < length; ++w) {
      text += words[random() % (sizeof words / sizeof *words)];
      text += w % 9 == 8 ? "\n" : " ";
    }
    if (i % 5000 == 0) text += " zanzibar_" + std::to_string(i);
    sqlite3_bind_int64(insert, 1, 1765000000000 + i * 1000LL);
    sqlite3_bind_text(insert, 2, i % 3 ? "Sample" : "Warehouse", -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path;
}

// The first page of matches for each prefix a user has typed, through the history writer.
std::vector<double> SearchAsTyped(history::CHistory& history, const std::vector<std::string>& typed) {
  std::vector<double> times;
  for (const std::string& words : typed) {
    std::mutex lock;
    std::condition_variable answered;
    bool done = false;
    history::HistoryQuery query;
    query.words = FromUtf8(words);
    const auto start = Clock::now();
    history.Search(query, [&](history::CHistory::Page) {
      std::lock_guard<std::mutex> guard(lock);
      done = true;
      answered.notify_all();
    });
    std::unique_lock<std::mutex> guard(lock);
    answered.wait(guard, [&] { return done; });
    times.push_back(Since(start));
  }
  return times;
}

// The same words, each the start of some word, with LIKE over every text.
std::vector<double> SearchWithLike(const std::string& path, const std::vector<std::string>& typed) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::vector<double> times;
  for (const std::string& words : typed) {
    std::string sql = "SELECT id, summary FROM runs WHERE 1";
    std::string word;
    for (size_t i = 0; i <= words.size(); ++i) {
      if (i < words.size() && words[i] != ' ') {
        word += words[i];
        continue;
      }
      if (!word.empty()) sql += " AND text LIKE '%" + word + "%'";
      word.clear();
    }
    sql += " ORDER BY id DESC LIMIT 201";
    const auto start = Clock::now();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
    times.push_back(Since(start));
  }
  sqlite3_close(db);
  return times;
}

void MeasureSearch() {
  constexpr int kRuns = 100000;
  const std::string path = MakeHistory(kRuns);
  history::CHistory history(path, nullptr);
  history.WaitIdle(60000);
  const std::vector<std::string> typed = {
      "s", "se", "sel", "sele", "selec",    "select", "select c",   "select cu",   "select cust",  "select custo",
      "z", "za", "zan", "zanz", "zanzibar", "mü",     "müller zür", "order lines", "invoice paym", "shipped reg"};
  std::vector<double> fts = SearchAsTyped(history, typed);
  std::vector<double> like = SearchWithLike(path, typed);
  for (size_t i = 0; i < typed.size(); ++i)
    std::fprintf(stderr, "  '%s': %.4f s (LIKE %.4f s)\n", typed[i].c_str(), fts[i], like[i]);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  bench::Measure m, ref;
  m.ok = ref.ok = true;
  m.seconds = *std::max_element(fts.begin(), fts.end());
  ref.seconds = *std::max_element(like.begin(), like.end());
  bench::Print("history_search_first_page_100000_runs", m, "like_scan_first_page", ref,
               "median_s=" + Fine(median(fts)) + " ref_median_s=" + Fine(median(like)) +
                   " keys=" + std::to_string(typed.size()) + " limit_s=0.05");
}

}  // namespace

int main() {
  MeasureRecording();
  MeasureRunCost();
  MeasureSearch();
  return 0;
}
