// Typing at the end of a long query against the same in a short one: a
// query file of 50,000 lines is opened into the query pane, characters are
// typed at its end by real key presses (through the X server) and taken back
// with one Undo; the same with a file of 100 lines is the reference. Each
// size runs in a process of its own (started again under Xvfb when there is
// no display). Prints the time of one key press (until the pane has drawn
// it), and for the long file also the time to open it and to undo the typing.
// The long file is typed in once more with completion switched off in the
// settings: the cost of completion on typing.

#include <wx/app.h>
#include <wx/init.h>
#include <wx/uiaction.h>
#include <wx/uilocale.h>
#include <wx/utils.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/query_view.h"
#include "app/text_edit.h"
#include "bench_support.h"
#include "res/command_ids.h"
#include "settings/settings_store.h"

using namespace dossel;

namespace {

constexpr int kKeys = 60;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string QueryFile(int lines) {
  const std::string path = bench::ScratchFolder() + "/query-" + std::to_string(lines) + ".sql";
  std::ofstream out(path, std::ios::binary);
  for (int line = 1; line <= lines; ++line)
    out << "select id, name, 'line " << line << "' as note, amount * 2 from t where id = " << line
        << "; -- comment\r\n";
  return path;
}

// Runs the event loop until `done`, at most `seconds`.
template <typename Done>
bool PumpUntil(Done done, double seconds = 10) {
  const auto start = Clock::now();
  while (!done()) {
    if (Since(start) > seconds) return false;
    wxTheApp->Yield(true);
  }
  return true;
}

// The child: opens the file, types, undoes; writes "<open s> <median key s> <undo s>" to `out`.
int RunOnce(int lines, const std::string& out, bool completion) {
  int argc = 1;
  char name[] = "bench_query_typing";
  char* argv[] = {name, nullptr};
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) return 2;
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  setenv("DOSSEL_REGISTRY", (bench::ScratchFolder() + "/registry-" + std::to_string(getpid()) + ".reg").c_str(), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Query"), DT("Completion"), completion ? 1 : 0);
  auto* frame = new CMainFrame();
  frame->SetSize(1000, 700);
  frame->Show();
  frame->Raise();
  PumpUntil([] { return false; }, 0.3);
  const std::string path = QueryFile(lines);
  auto start = Clock::now();
  if (!frame->OpenDocumentFile(path)) return 3;
  CTextEdit* edit = frame->QueryView()->GetEdit();
  edit->SetSelection(edit->GetLastPosition(), edit->GetLastPosition());
  edit->Update();
  const double open = Since(start);
  edit->SetFocus();
  PumpUntil([] { return false; }, 0.3);

  wxUIActionSimulator simulator;
  std::vector<double> keys;
  for (int key = 0; key < kKeys; ++key) {
    const int length = edit->GetTextLength();
    start = Clock::now();
    simulator.Char('a' + key % 26);
    if (!PumpUntil([&] { return edit->GetTextLength() > length; })) return 4;
    edit->Update();
    keys.push_back(Since(start));
  }
  std::sort(keys.begin(), keys.end());
  start = Clock::now();
  simulator.Char('Z', wxMOD_CONTROL);
  const int typed = edit->GetTextLength();
  if (!PumpUntil([&] { return edit->GetTextLength() < typed; })) return 5;
  edit->Update();
  const double undo = Since(start);
  std::ofstream(out) << open << ' ' << keys[keys.size() / 2] << ' ' << undo;
  edit->DiscardEdits();
  frame->Destroy();
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}

struct Timings {
  bench::Measure key;
  double open = 0;
  double undo = 0;
};

// The fastest of three runs, by the key press.
Timings Measure(const char* self, int lines, bool completion = true) {
  const std::string timeFile = bench::ScratchFolder() + "/typing";
  Timings best;
  for (int run = 0; run < 3; ++run) {
    bench::Measure m = bench::MeasureCommand(std::string("'") + self + "' --run " + std::to_string(lines) + " '" +
                                             timeFile + "'" + (completion ? "" : " off"));
    Timings t;
    std::ifstream(timeFile) >> t.open >> m.seconds >> t.undo;
    t.key = m;
    if (m.ok && (!best.key.ok || m.seconds < best.key.seconds)) best = t;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--run")
    return RunOnce(std::atoi(argv[2]), argv[3], argc == 4);
  if (!std::getenv("DISPLAY")) {
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1600x1200x24", argv[0], static_cast<char*>(nullptr));
    std::perror("xvfb-run");
    return 1;
  }
  const Timings shortFile = Measure(argv[0], 100);
  const Timings longFile = Measure(argv[0], 50000);
  bench::Print("query_key_press_50000_lines", longFile.key, "query_key_press_100_lines", shortFile.key,
               "open_s=" + std::to_string(longFile.open) + " undo_s=" + std::to_string(longFile.undo) +
                   " keys=" + std::to_string(kKeys));
  const Timings withoutCompletion = Measure(argv[0], 50000, false);
  bench::Print("query_key_press_completion_on", longFile.key, "query_key_press_completion_off", withoutCompletion.key,
               "lines=50000 limit_ratio=1.1");
  return 0;
}
