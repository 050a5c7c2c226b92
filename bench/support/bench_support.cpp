#include "bench_support.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace dossel::bench {
namespace {

Measure WaitFor(pid_t child, std::chrono::steady_clock::time_point start) {
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakMb = usage.ru_maxrss / 1024.0;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

}  // namespace

Measure MeasureChild(const std::function<void()>& body) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    body();
    std::fflush(stdout);
    _exit(0);
  }
  return WaitFor(child, start);
}

Measure MeasureCommand(const std::string& shellCommand) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", shellCommand.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return WaitFor(child, start);
}

Measure Best(int runs, const std::function<Measure()>& measure) {
  Measure best;
  for (int i = 0; i < runs; ++i) {
    const Measure m = measure();
    if (i == 0 || m.seconds < best.seconds) best = m;
  }
  return best;
}

void Print(const std::string& measure, const Measure& m, const std::string& reference, const Measure& ref,
           const std::string& extra) {
  std::printf("bench: %s time_s=%.3f rss_mb=%.1f ref=%s ref_time_s=%.3f ratio=%.3f%s%s%s\n", measure.c_str(), m.seconds,
              m.peakMb, reference.c_str(), ref.seconds, ref.seconds > 0 ? m.seconds / ref.seconds : 0.0,
              extra.empty() ? "" : " ", extra.c_str(), m.ok && ref.ok ? "" : " failed=1");
  std::fflush(stdout);
}

std::string ScratchFolder() {
  // Never destroyed: the exit handler that removes the folder runs after
  // the static objects made before it was registered are gone.
  static const std::string* const folder = [] {
    auto* path = new std::string(
        (std::filesystem::temp_directory_path() / ("dossel-bench-" + std::to_string(getpid()))).string());
    std::filesystem::create_directories(*path);
    std::atexit([] {
      std::error_code ignored;
      if (getpid() == std::stoi(ScratchFolder().substr(ScratchFolder().rfind('-') + 1)))
        std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return path;
  }();
  return *folder;
}

std::string RowsDatabase(long rows) {
  const std::string path = ScratchFolder() + "/rows-" + std::to_string(rows) + ".db";
  if (std::filesystem::exists(path)) return path;
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  const std::string sql =
      "create table t(id integer primary key, name text, city text, amount real, quantity integer, note text);"
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
      std::to_string(rows) +
      ") insert into t select i, 'Customer ' || i, "
      "case i % 4 when 0 then 'Lisbon' when 1 then 'Oslo' when 2 then 'Porto' else 'Tallinn' end, "
      "i * 1.25, i % 97, case when i % 5 = 0 then null else 'note ' || (i % 1000) end from n;";
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "cannot make %s: %s\n", path.c_str(), error ? error : "?");
    std::exit(1);
  }
  sqlite3_close(db);
  return path;
}

}  // namespace dossel::bench
