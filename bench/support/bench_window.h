#pragma once
// Helpers of the benchmarks that drive real windows: the program started
// again under Xvfb when there is no display, wx started without an
// application class of ours, and the event loop pumped until a condition
// holds (so that a measure ends when the window has done its work).

#include <chrono>
#include <functional>
#include <string>

class CTextEdit;

namespace dossel::bench {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start);

// Without a display, runs this program again under xvfb-run with the same
// arguments and never returns; with one, returns at once.
void RerunUnderXvfbWithoutDisplay(int argc, char** argv);
// Starts wx and the user's locale; false when wx could not start.
bool StartWx(int argc, char** argv);
// Settings go to a registry file of this process's own in the scratch folder.
void UseScratchRegistry();

// Runs the event loop until `done`, at most `seconds`; false on time-out.
bool PumpUntil(const std::function<bool()>& done, double seconds = 60);
// Runs the event loop for `seconds`, so the windows settle.
void Pause(double seconds);

// Key presses sent straight to the X server through its test extension,
// without the waits wxUIActionSimulator makes after every event (about 10 ms
// each, 40 ms for one character), which would hide what is measured. Each
// call returns once the events are sent; the caller pumps until they show.
void SendCharacter(char character);
void SendControlSpace();

// A query file of `lines` lines of select statements in the scratch folder.
std::string QueryFile(int lines);
// Types `keys` characters at the caret of `edit` by real key presses and
// answers the median time of one, until the pane has drawn it; a negative
// answer when a key never arrived.
double MedianKeyPress(CTextEdit* edit, int keys);

}  // namespace dossel::bench
