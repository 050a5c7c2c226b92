#pragma once
// The run history's records as its window lists them, and what it asks for.

#include <cstdint>

#include "platform/text.h"
#include "session/run_record.h"

namespace dossel::history {

// One run as the list shows it: everything but the whole text, which is
// read when the run is picked.
struct HistoryEntry {
  int64_t id = 0;
  int64_t startedAt = 0;  // milliseconds since 1970-01-01 UTC
  uint32_t durationMs = 0;
  int64_t rows = -1;  // -1: the run gave no count
  session::RunOutcome outcome = session::RunOutcome::kCompleted;
  TString dataSource;
  TString database;
  TString firstError;
  // The text's first line that is not blank, cut to a list's width.
  TString summary;
};

// A search: the runs whose text holds every word typed (each a word's
// start, in any case and with or without accents), of one data source or
// all, newest first, `limit` of them older than `beforeId` (0: the newest).
struct HistoryQuery {
  TString words;
  TString dataSource;  // empty: every data source
  int64_t beforeId = 0;
  int limit = 200;
};

}  // namespace dossel::history
