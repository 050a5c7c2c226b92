// Typing in the query pane by real key presses (through the X server), each
// measure in a process of its own (started again under Xvfb when there is no
// display), the median time of one key press until the pane has drawn it:
// - at the end of a query file of 50,000 lines against one of 100 lines,
//   with the time to open the long file and to undo the typing with one Undo;
// - the long file with completion switched off in the settings: the cost of
//   completion on typing;
// - the long file with the recovery file kept: the keeper hands the text
//   over after 250 ms without typing and at the latest 1 s after the first
//   change (the program waits 2 s and 5 s), so several copies of the 2.6 MB
//   text are taken while the keys are measured.

#include <wx/app.h>
#include <wx/init.h>
#include <wx/uiaction.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/text_edit.h"
#include "bench_support.h"
#include "bench_window.h"
#include "history/recovery_file.h"
#include "settings/settings_store.h"

using namespace dossel;

namespace {

constexpr int kKeys = 150;
using bench::Clock;
using bench::Since;

struct Setup {
  int lines = 50000;
  bool completion = true;
  bool recovery = false;
};

struct Timings {
  bench::Measure key;
  double open = 0;
  double undo = 0;
  int recoveryKept = 0;
};

void WriteSetting(const TChar* name, bool on) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Query"), name, on ? 1 : 0);
}

// The child: opens the file, types, undoes; writes
// "<open s> <median key s> <undo s> <recovery file kept>" to `out`.
int RunOnce(const Setup& setup, const std::string& out) {
  char name[] = "bench_query_typing";
  char* argv[] = {name, nullptr};
  if (!bench::StartWx(1, argv)) return 2;
  bench::UseScratchRegistry();
  WriteSetting(DT("Completion"), setup.completion);
  auto* frame = new CMainFrame();
  history::CRecoveryFile recovery(bench::ScratchFolder() + "/data-" + std::to_string(getpid()));
  if (setup.recovery) frame->UseRecovery(&recovery, 250, 1000);
  frame->SetSize(1000, 700);
  frame->Show();
  frame->Raise();
  bench::Pause(0.3);
  const std::string path = bench::QueryFile(setup.lines);
  auto start = Clock::now();
  if (!frame->OpenDocumentFile(path)) return 3;
  CTextEdit* edit = frame->QueryView()->GetEdit();
  edit->SetSelection(edit->GetLastPosition(), edit->GetLastPosition());
  edit->Update();
  const double open = Since(start);
  edit->SetFocus();
  bench::Pause(0.3);

  const double key = bench::MedianKeyPress(edit, kKeys);
  if (key < 0) return 4;
  recovery.WaitIdle(10000);
  const bool kept = std::filesystem::exists(recovery.Path());
  start = Clock::now();
  wxUIActionSimulator().Char('Z', wxMOD_CONTROL);
  const int typed = edit->GetTextLength();
  if (!bench::PumpUntil([&] { return edit->GetTextLength() < typed; }, 10)) return 5;
  edit->Update();
  const double undo = Since(start);
  std::ofstream(out) << open << ' ' << key << ' ' << undo << ' ' << (kept ? 1 : 0);
  frame->UseRecovery(nullptr);
  edit->DiscardEdits();
  frame->Destroy();
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}

// The fastest of three runs, by the key press.
Timings Measure(const char* self, const Setup& setup) {
  const std::string timeFile = bench::ScratchFolder() + "/typing";
  Timings best;
  for (int run = 0; run < 3; ++run) {
    bench::Measure m = bench::MeasureCommand(std::string("'") + self + "' --run " + std::to_string(setup.lines) +
                                             (setup.completion ? " 1" : " 0") + (setup.recovery ? " 1" : " 0") + " '" +
                                             timeFile + "'");
    Timings t;
    std::ifstream(timeFile) >> t.open >> m.seconds >> t.undo >> t.recoveryKept;
    t.key = m;
    if (m.ok && (!best.key.ok || m.seconds < best.key.seconds)) best = t;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--run")
    return RunOnce({std::atoi(argv[2]), std::string(argv[3]) == "1", std::string(argv[4]) == "1"}, argv[5]);
  bench::RerunUnderXvfbWithoutDisplay(argc, argv);
  const Timings shortFile = Measure(argv[0], {.lines = 100});
  const Timings longFile = Measure(argv[0], {});
  bench::Print("query_key_press_50000_lines", longFile.key, "query_key_press_100_lines", shortFile.key,
               "open_s=" + std::to_string(longFile.open) + " undo_s=" + std::to_string(longFile.undo) +
                   " keys=" + std::to_string(kKeys));
  const Timings withoutCompletion = Measure(argv[0], {.completion = false});
  bench::Print("query_key_press_completion_on", longFile.key, "query_key_press_completion_off", withoutCompletion.key,
               "lines=50000 limit_ratio=1.1");
  const Timings withRecovery = Measure(argv[0], {.recovery = true});
  bench::Print("query_key_press_recovery_on", withRecovery.key, "query_key_press_recovery_off", longFile.key,
               "lines=50000 recovery_file_kept=" + std::to_string(withRecovery.recoveryKept) + " limit_ratio=1.1");
  return 0;
}
