#include "history/history.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "history/data_folder.h"
#include "history/history_store.h"
#include "platform/format.h"
#include "settings/settings_store.h"

namespace dossel::history {

CHistory::CHistory(std::string path, Report report, int busyTimeoutMs)
    : m_path(std::move(path)), m_report(std::move(report)), m_busyTimeoutMs(busyTimeoutMs) {
  m_tasks.push_back([this](CHistoryStore& store) { OpenStore(store); });
  m_thread = std::thread([this] { Loop(); });
}

CHistory::~CHistory() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void CHistory::Queue(Task task) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_tasks.push_back(std::move(task));
  }
  m_wake.notify_one();
}

void CHistory::Loop() {
  CHistoryStore store;
  std::unique_lock<std::mutex> guard(m_lock);
  for (;;) {
    m_wake.wait(guard, [this] { return m_stopping || !m_tasks.empty(); });
    if (m_tasks.empty()) break;
    Task task = std::move(m_tasks.front());
    m_tasks.pop_front();
    m_busy = true;
    guard.unlock();
    task(store);
    guard.lock();
    m_busy = false;
    if (m_tasks.empty()) m_idle.notify_all();
  }
  guard.unlock();
  store.Close();
}

bool CHistory::WaitIdle(unsigned milliseconds) {
  std::unique_lock<std::mutex> guard(m_lock);
  return m_idle.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return m_tasks.empty() && !m_busy; });
}

void CHistory::OpenStore(CHistoryStore& store) {
  MakePrivateFolder(std::filesystem::path(m_path).parent_path().string());
  if (store.Open(m_path, m_busyTimeoutMs) || Recover(store)) m_state = State::kReady;
}

bool CHistory::Recover(CHistoryStore& store) {
  const TString path = FromUtf8(m_path);
  const StoreFailure failure = store.Failure();
  store.Close();
  if (failure == StoreFailure::kDamaged && !m_bKeptAside) {
    m_bKeptAside = true;
    const std::string aside = KeepDamagedFileAside(m_path);
    if (aside.empty()) {
      GiveUp(store,
             Format(DT("The run history %s could not be read, nor kept aside; runs are not recorded.\r\n"), path));
      return false;
    }
    if (m_report)
      m_report(Format(DT("The run history %s could not be read; it was kept as %s and a new one begun.\r\n"), path,
                      FromUtf8(aside)));
    if (store.Open(m_path, m_busyTimeoutMs)) return true;
  }
  switch (store.Failure() == StoreFailure::kNone ? failure : store.Failure()) {
    case StoreFailure::kLocked:
      GiveUp(store, Format(DT("The run history %s is locked by another program; runs are not recorded.\r\n"), path));
      break;
    case StoreFailure::kNewer:
      GiveUp(
          store,
          Format(DT("The run history %s was written by a later version of Dossel; runs are not recorded.\r\n"), path));
      break;
    default:
      GiveUp(store, Format(DT("The run history %s cannot be used (%s); runs are not recorded.\r\n"), path,
                           FromUtf8(store.FailureText())));
      break;
  }
  return false;
}

void CHistory::GiveUp(CHistoryStore& store, const TString& line) {
  store.Close();
  if (m_state.exchange(State::kUnavailable) != State::kUnavailable && m_report) m_report(line);
}

void CHistory::RunEnded(session::RunRecord record) {
  // The record moves into the task: the UI thread copies no text.
  auto shared = std::make_shared<session::RunRecord>(std::move(record));
  Queue([this, shared](CHistoryStore& store) { Record(store, *shared); });
}

void CHistory::Record(CHistoryStore& store, const session::RunRecord& record) {
  if (m_state != State::kReady) return;
  if (KeyReadInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("Record"), 1) == 0) return;
  int64_t maxRuns = KeyReadInteger(HKEY_LOCAL_MACHINE, kHistoryKey, DT("MaxRuns"), static_cast<int>(kDefaultMaxRuns));
  if (maxRuns < 1) maxRuns = kDefaultMaxRuns;
  if (store.Add(record, maxRuns)) return;
  // A damaged file kept aside: the record goes into the new one.
  if (Recover(store) && !store.Add(record, maxRuns)) Recover(store);
}

void CHistory::Search(HistoryQuery query, std::function<void(Page)> answer) {
  const uint64_t generation = ++m_searchGeneration;
  Queue([this, generation, query = std::move(query), answer = std::move(answer)](CHistoryStore& store) {
    if (generation != m_searchGeneration) return;
    Page page;
    if (store.IsOpen()) {
      HistoryQuery one = query;
      one.limit = query.limit + 1;
      if (store.Search(one, page.entries)) {
        if (page.entries.size() > static_cast<size_t>(query.limit)) {
          page.more = true;
          page.entries.pop_back();
        }
      } else if (store.Failure() == StoreFailure::kDamaged) {
        Recover(store);
      }
    }
    answer(std::move(page));
  });
}

void CHistory::ReadText(int64_t id, std::function<void(std::optional<TString>)> answer) {
  Queue([id, answer = std::move(answer)](CHistoryStore& store) {
    answer(store.IsOpen() ? store.ReadText(id) : std::nullopt);
  });
}

void CHistory::Remove(std::vector<int64_t> ids, std::function<void()> done) {
  Queue([this, ids = std::move(ids), done = std::move(done)](CHistoryStore& store) {
    if (store.IsOpen() && !store.Remove(ids)) Recover(store);
    if (done) done();
  });
}

void CHistory::ListDataSources(std::function<void(std::vector<TString>)> answer) {
  Queue([answer = std::move(answer)](CHistoryStore& store) {
    std::vector<TString> names;
    if (store.IsOpen()) store.ListDataSources(names);
    answer(std::move(names));
  });
}

}  // namespace dossel::history
