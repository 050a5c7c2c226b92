// A select written into the result pane, as text (100,000 and 1,000,000
// rows) and into the grid (1,000,000 rows), against the sqlite3 shell and
// isql reading the same query to /dev/null, with StepAPI=0 and 1.
// Each run is a process of its own (started again under Xvfb when there is
// no display): it opens the main frame, connects, runs the query and reports
// the time from Execute to the completion line, and for the grid the time
// until the window shows its first screen of rows. For text, the memory
// beyond the idle program (the same run returning no row) is set against the
// bytes of text the pane holds.

#include <wx/app.h>
#include <wx/init.h>
#include <wx/uilocale.h>
#include <wx/utils.h>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "bench_support.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/result_view.h"
#include "settings/settings_store.h"

using namespace dossel;

namespace {

const char* kQuery = "select id, name, city, amount, quantity, note from t where id <= ";

// Rows a first screen of the grid holds, at the bench's window size.
constexpr int kFirstScreenRows = 30;

// The child: one run in a real frame; writes its seconds, the seconds until
// the first screen of rows was shown and the bytes of text in the result
// pane to `out`.
int RunOnce(const std::string& database, long rows, int format, int stepApi, const std::string& out) {
  int argc = 1;
  char name[] = "bench_result_output";
  char* argv[] = {name, nullptr};
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) return 2;
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  setenv("DOSSEL_REGISTRY", (bench::ScratchFolder() + "/registry-" + std::to_string(getpid()) + ".reg").c_str(), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Result"), DT("Format"), format);
  auto* frame = new CMainFrame();
  frame->Show();
  const TString connect = FromUtf8("DSN=Bench;Database=" + database + ";StepAPI=" + std::to_string(stepApi));
  if (!frame->Connect(&connect)) return 3;
  frame->QueryView()->SetQueryText(FromUtf8(kQuery + std::to_string(rows)));
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  frame->Execute();
  double firstScreen = -1;
  while (frame->Session().IsExecuting()) {
    wxTheApp->Yield(true);
    const CGridCtrl* grid = frame->ResultView()->GetGrid();
    if (firstScreen < 0 && grid && grid->IsFilling() && grid->GetShownRowCount() > kFirstScreenRows)
      firstScreen = elapsed();
    wxMilliSleep(1);
  }
  const double seconds = elapsed();
  std::ofstream(out) << seconds << ' ' << (firstScreen < 0 ? seconds : firstScreen) << ' '
                     << frame->ResultView()->GetEdit()->GetTextLength();
  frame->Destroy();
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}

}  // namespace

// One of our runs, best of three; `firstScreen` gets that run's time to
// the first screen of rows, `textBytes` the bytes of text it showed.
bench::Measure MeasureRun(const char* self, const std::string& database, long rows, int format, int stepApi,
                          double* firstScreen = nullptr, double* textBytes = nullptr) {
  const std::string timeFile = bench::ScratchFolder() + "/seconds";
  double bestFirst = 0;
  bench::Measure best = bench::Best(3, [&] {
    bench::Measure m =
        bench::MeasureCommand(std::string("'") + self + "' --run '" + database + "' " + std::to_string(rows) + " " +
                              std::to_string(format) + " " + std::to_string(stepApi) + " '" + timeFile + "'");
    double first = 0, bytes = 0;
    std::ifstream(timeFile) >> m.seconds >> first >> bytes;
    if (m.ok && (bestFirst == 0 || first < bestFirst)) bestFirst = first;
    if (textBytes) *textBytes = bytes;
    return m;
  });
  if (firstScreen) *firstScreen = bestFirst;
  return best;
}

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--run")
    return RunOnce(argv[2], std::atol(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), argv[6]);
  // "grid" or "text" runs only those measures.
  const std::string only = argc > 1 ? argv[1] : "";
  if (!std::getenv("DISPLAY")) {
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1600x1200x24", argv[0], only.empty() ? nullptr : only.c_str(),
           static_cast<char*>(nullptr));
    std::perror("xvfb-run");
    return 1;
  }
  const std::string database = bench::RowsDatabase(1000000);
  const bench::Measure idle = only == "grid" ? bench::Measure{} : MeasureRun(argv[0], database, 0, 1, 1);
  for (long rows : {100000L, 1000000L}) {
    if (only == "grid") break;
    const std::string sql = kQuery + std::to_string(rows);
    const bench::Measure shell =
        bench::Best(3, [&] { return bench::MeasureCommand("sqlite3 '" + database + "' '" + sql + "' > /dev/null"); });
    double textBytes = 0;
    const bench::Measure text = MeasureRun(argv[0], database, rows, 1, 1, nullptr, &textBytes);
    const double textMb = textBytes / (1024.0 * 1024.0);
    char memory[160];
    std::snprintf(memory, sizeof memory, " text_mb=%.1f idle_rss_mb=%.1f rss_over_text=%.2f", textMb, idle.peakMb,
                  textMb > 0 ? (text.peakMb - idle.peakMb) / textMb : 0.0);
    bench::Print("text_output_" + std::to_string(rows), text, "sqlite3_shell", shell,
                 "rows=" + std::to_string(rows) + " step_api=1" + memory);
  }
  if (only == "text") return 0;
  const long rows = 1000000;
  const std::string sql = kQuery + std::to_string(rows);
  const bench::Measure csv = bench::Best(
      3, [&] { return bench::MeasureCommand("sqlite3 -csv '" + database + "' '" + sql + "' > /dev/null"); });
  for (int stepApi : {0, 1}) {
    const std::string driver = std::string("DRIVER=") + DosselOdbcSqliteDriverPath() + ";Database=" + database +
                               ";StepAPI=" + std::to_string(stepApi);
    const bench::Measure isql = bench::Best(
        3, [&] { return bench::MeasureCommand("echo '" + sql + "' | isql -k '" + driver + "' -b -d, > /dev/null"); });
    double firstScreen = 0;
    const bench::Measure grid = MeasureRun(argv[0], database, rows, 0, stepApi, &firstScreen);
    const std::string tag =
        "rows=1000000 step_api=" + std::to_string(stepApi) + " first_screen_s=" + std::to_string(firstScreen);
    bench::Print("grid_fill_1m", grid, "sqlite3_csv", csv, tag);
    bench::Print("grid_fill_1m", grid, "isql_batch", isql, tag);
  }
  return 0;
}
