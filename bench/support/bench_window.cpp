#include "bench_window.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/uilocale.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "app/text_edit.h"
#include "bench_support.h"

namespace dossel::bench {

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void RerunUnderXvfbWithoutDisplay(int argc, char** argv) {
  if (std::getenv("DISPLAY")) return;
  std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                             const_cast<char*>("-screen 0 1600x1200x24")};
  args.insert(args.end(), argv, argv + argc);
  args.push_back(nullptr);
  execvp("xvfb-run", args.data());
  std::perror("xvfb-run");
  std::exit(1);
}

bool StartWx(int argc, char** argv) {
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) return false;
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  return true;
}

void UseScratchRegistry() {
  setenv("DOSSEL_REGISTRY", (ScratchFolder() + "/registry-" + std::to_string(getpid()) + ".reg").c_str(), 1);
}

bool PumpUntil(const std::function<bool()>& done, double seconds) {
  const auto start = Clock::now();
  while (!done()) {
    if (Since(start) > seconds) return false;
    wxTheApp->Yield(true);
    // The program's event loop sleeps while nothing happens: a loop that
    // spun instead would take a core from the connection's thread.
    if (!wxTheApp->Pending()) std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return true;
}

void Pause(double seconds) {
  PumpUntil([] { return false; }, seconds);
}

namespace {

// A connection of its own to the display, apart from the toolkit's.
Display* TestDisplay() {
  static Display* const display = XOpenDisplay(nullptr);
  return display;
}

void SendKey(KeySym key, bool press) {
  Display* display = TestDisplay();
  if (!display) return;
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), press ? True : False, CurrentTime);
}

}  // namespace

void SendCharacter(char character) {
  const KeySym key = static_cast<KeySym>(static_cast<unsigned char>(character));
  SendKey(key, true);
  SendKey(key, false);
  XFlush(TestDisplay());
}

void SendControlSpace() {
  SendKey(XK_Control_L, true);
  SendKey(XK_space, true);
  SendKey(XK_space, false);
  SendKey(XK_Control_L, false);
  XFlush(TestDisplay());
}

std::string QueryFile(int lines) {
  const std::string path = ScratchFolder() + "/query-" + std::to_string(lines) + ".sql";
  std::ofstream out(path, std::ios::binary);
  for (int line = 1; line <= lines; ++line)
    out << "select id, name, 'line " << line << "' as note, amount * 2 from t where id = " << line
        << "; -- comment\r\n";
  return path;
}

double MedianKeyPress(CTextEdit* edit, int keys) {
  std::vector<double> times;
  for (int key = 0; key < keys; ++key) {
    const int length = edit->GetTextLength();
    const auto start = Clock::now();
    SendCharacter(static_cast<char>('a' + key % 26));
    if (!PumpUntil([&] { return edit->GetTextLength() > length; }, 10)) return -1;
    edit->Update();
    times.push_back(Since(start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace dossel::bench
