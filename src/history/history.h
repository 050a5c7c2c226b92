#pragma once
// CHistory: the run history of this program. It hears of every run as it
// ends (the session's run observer) and hands the record to the history
// writer, a thread of its own that owns the history file (CHistoryStore):
// it records, searches, reads texts and removes runs there, in the order
// asked, so that no window ever waits on the file.
//
// Recording can be turned off and is bounded (under the key
// "Software\Harlune\Dossel\History": "Record", default 1; "MaxRuns",
// default 100,000), both read by the writer for each run. A damaged file is kept aside and a new one begun;
// a file that stays locked, a newer one, or one that cannot be written
// leaves the program without history: either is said once, through
// `report` (a line for the trace), and the program runs on.
//
// Threads: every public function may be called from the UI thread (or any
// other); answers are called on the history writer, which hands them on
// (the window posts them to the UI thread).

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "history/history_entry.h"
#include "platform/text.h"
#include "session/run_record.h"

namespace dossel::history {

class CHistoryStore;

inline constexpr const TChar* kHistoryKey = DT("Software\\Harlune\\Dossel\\History");
inline constexpr int64_t kDefaultMaxRuns = 100000;

class CHistory final : public session::IRunObserver {
 public:
  enum class State { kOpening, kReady, kUnavailable };
  using Report = std::function<void(TStringView line)>;

  // Opens `path` on the history writer; `busyTimeoutMs` is how long a write
  // waits for another program's lock before the history is given up.
  CHistory(std::string path, Report report, int busyTimeoutMs = 5000);
  // Finishes what was asked before (a record of a run still goes in), then
  // ends the writer.
  ~CHistory();
  CHistory(const CHistory&) = delete;
  CHistory& operator=(const CHistory&) = delete;

  void RunEnded(session::RunRecord record) override;

  struct Page {
    std::vector<HistoryEntry> entries;
    // More runs match, older than the last one here.
    bool more = false;
  };
  // A search; a newer search makes an older one that has not yet run
  // answer nothing.
  void Search(HistoryQuery query, std::function<void(Page)> answer);
  // The whole text of a run; nothing when it is gone or cannot be read.
  void ReadText(int64_t id, std::function<void(std::optional<TString>)> answer);
  void Remove(std::vector<int64_t> ids, std::function<void()> done);
  void ListDataSources(std::function<void(std::vector<TString>)> answer);

  State GetState() const { return m_state; }
  const std::string& Path() const { return m_path; }
  // Waits at most `milliseconds` until everything asked has been done.
  bool WaitIdle(unsigned milliseconds);

 private:
  using Task = std::function<void(CHistoryStore&)>;
  void Queue(Task task);
  void Loop();
  void OpenStore(CHistoryStore& store);
  // After a failure of the store: keeps a damaged file aside and begins a
  // new one, or gives the history up; true when the store is usable again.
  bool Recover(CHistoryStore& store);
  void GiveUp(CHistoryStore& store, const TString& line);
  void Record(CHistoryStore& store, const session::RunRecord& record);

  const std::string m_path;
  const Report m_report;
  const int m_busyTimeoutMs;
  std::atomic<State> m_state{State::kOpening};
  std::atomic<uint64_t> m_searchGeneration{0};
  bool m_bKeptAside = false;  // history writer

  std::mutex m_lock;
  std::condition_variable m_wake;
  std::condition_variable m_idle;
  std::deque<Task> m_tasks;
  bool m_busy = false;
  bool m_stopping = false;
  std::thread m_thread;
};

}  // namespace dossel::history
