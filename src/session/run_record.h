#pragma once
// What one run was, as the session knows it when the run ends, and the
// interface of whoever wants to hear of every run (the run history).

#include <cstdint>

#include "platform/text.h"

namespace dossel::session {

// How a run ended. The numbers are stored (the run history keeps them).
enum class RunOutcome : int { kCompleted = 0, kErrors = 1, kCanceled = 2, kTimedOut = 3 };

struct RunRecord {
  // The text as the user ran it: the selection when one was run, the whole
  // query otherwise; a script is one run.
  TString text;
  TString dataSource;
  TString database;
  // When Execute was given the text: milliseconds since 1970-01-01 UTC.
  int64_t startedAt = 0;
  uint32_t durationMs = 0;
  // The last result set's row count, or the last affected-row count; -1
  // when the run gave neither.
  int64_t rows = -1;
  RunOutcome outcome = RunOutcome::kCompleted;
  // The first error the run met, its first line; empty for none.
  TString firstError;
};

class IRunObserver {
 public:
  // UI thread, once for every run, as it ends (its completion line is
  // written). Returns at once: whatever takes time happens on another thread.
  virtual void RunEnded(RunRecord record) = 0;

 protected:
  ~IRunObserver() = default;
};

}  // namespace dossel::session
