#pragma once
// ISessionView: what a session needs of the window that shows it. The main
// frame implements it with wx (queued events, a wx timer, the result pane's
// grid); tests implement it with recorders and a hand-pumped queue.
//
// Threads are part of the contract: each function says who calls it.

#include <functional>

#include "platform/format.h"
#include "platform/text.h"

namespace dossel {

class CGridStore;

namespace session {

class ISessionView {
 public:
  virtual ~ISessionView() = default;

  // Any thread. The text is shown literally, in the order of the calls.
  virtual void AppendTrace(TStringView text) = 0;
  virtual void AppendResultText(TStringView text) = 0;

  // Any thread: runs `call` later on the UI thread, in the order posted.
  virtual void Post(std::function<void()> call) = 0;

  // UI thread: the session's one-second timer; OnTimer of the session is
  // to be called on each tick while it runs.
  virtual void StartTimer(unsigned milliseconds) = 0;
  virtual void StopTimer() = 0;

  // Connection thread; each waits for the UI thread's answer.
  // Makes or resets the results grid for a new result set and begins its
  // fill; the store to write, or null when no grid can be made.
  virtual CGridStore* PrepareGrid() = 0;
  // Ends the fill begun by PrepareGrid: the window shows every row written,
  // sized to its contents when `rowsWritten`.
  virtual void FinishGrid(bool rowsWritten) = 0;
  // A statement without columns: an existing grid is emptied.
  virtual void EmptyGrid() = 0;
  // The object text of a T-SQL run stands in the trace: show its start.
  virtual void ShowObjectText() = 0;

  // UI thread, after the completion lines of a run are written.
  virtual void RunEnded(bool objectTextRun) = 0;
  // UI thread, at most once per run and before RunEnded: the first screen
  // of a grid's rows is stored, so the window may show them while the rest
  // is read.
  virtual void FirstRowsStored() {}
};

}  // namespace session
}  // namespace dossel

namespace dossel::session {

// Formats into the trace; data passed as an argument is always copied
// literally, never read as a format.
template <typename... Args>
void AppendTraceF(ISessionView& view, TStringView format, const Args&... args) {
  view.AppendTrace(sizeof...(Args) ? Format(format, args...) : TString(format));
}

}  // namespace dossel::session
