#pragma once
// Helpers of the benchmark programs: each measure runs in a child process of
// its own, so its peak memory is its own, and is printed with a reference
// measured in the same run:
//   bench: <measure> time_s=<s> rss_mb=<MB> ref=<reference> ref_time_s=<s> ratio=<time/ref_time>

#include <functional>
#include <string>

namespace dossel::bench {

struct Measure {
  double seconds = 0;
  double peakMb = 0;
  bool ok = false;
};

// Runs `body` in a forked child; its time and peak resident memory.
Measure MeasureChild(const std::function<void()>& body);
// Runs a shell command; its time and peak resident memory.
Measure MeasureCommand(const std::string& shellCommand);
// The fastest of `runs` measures (peak memory of that run).
Measure Best(int runs, const std::function<Measure()>& measure);

void Print(const std::string& measure, const Measure& m, const std::string& reference, const Measure& ref,
           const std::string& extra = "");

// A scratch folder for the run's data, removed at exit.
std::string ScratchFolder();
// A table "t" of `rows` rows and six columns (id integer, name text,
// city text, amount real, quantity integer, note text), made once per path.
std::string RowsDatabase(long rows);

}  // namespace dossel::bench
