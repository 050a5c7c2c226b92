#pragma once
// A run history on a scratch file, with the writer's trace lines kept and
// its answers waited for.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "history/history.h"
#include "platform/format.h"
#include "session/run_record.h"
#include "test_support.h"

namespace dossel::test {

inline session::RunRecord MakeRecord(const std::string& text, const std::string& dataSource = "Shop",
                                     session::RunOutcome outcome = session::RunOutcome::kCompleted) {
  session::RunRecord record;
  record.text = FromUtf8(text);
  record.dataSource = FromUtf8(dataSource);
  record.database = DT("/data/shop.db");
  record.startedAt = 1765000000000;
  record.durationMs = 12;
  record.rows = 3;
  record.outcome = outcome;
  return record;
}

// Lines the history gave for the trace, from any thread.
class ReportedLines {
 public:
  history::CHistory::Report Sink() {
    return [this](TStringView line) {
      std::lock_guard<std::mutex> guard(m_lock);
      m_lines.push_back(ToUtf8(line));
    };
  }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lines;
  }

 private:
  std::mutex m_lock;
  std::vector<std::string> m_lines;
};

// Waits for one answer of the history writer.
template <typename T>
class Answer {
 public:
  std::function<void(T)> Callback() {
    return [this](T value) {
      std::lock_guard<std::mutex> guard(m_lock);
      m_value = std::make_unique<T>(std::move(value));
      m_changed.notify_all();
    };
  }
  T Wait() {
    std::unique_lock<std::mutex> guard(m_lock);
    EXPECT_TRUE(m_changed.wait_for(guard, std::chrono::seconds(20), [this] { return m_value != nullptr; }));
    return m_value ? std::move(*m_value) : T();
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::unique_ptr<T> m_value;
};

// A history file in a scratch folder, with its trace lines kept; the
// settings go to a scratch registry so that no test reads the user's.
class HistoryFileTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1); }
  void TearDown() override { unsetenv("DOSSEL_REGISTRY"); }

  std::unique_ptr<history::CHistory> Open(int busyTimeoutMs = 5000) {
    auto history = std::make_unique<history::CHistory>(m_path, m_reported.Sink(), busyTimeoutMs);
    EXPECT_TRUE(history->WaitIdle(20000));
    return history;
  }
  void Record(history::CHistory& history, const session::RunRecord& record) {
    history.RunEnded(record);
    ASSERT_TRUE(history.WaitIdle(20000));
  }
  void Record(history::CHistory& history, const std::string& text) { Record(history, MakeRecord(text)); }

  ScratchFolder m_folder;
  std::string m_path = m_folder.File("history.db");
  ReportedLines m_reported;
};

inline history::CHistory::Page SearchFor(history::CHistory& history, const std::string& words,
                                         const std::string& dataSource = "", int limit = 200, int64_t beforeId = 0) {
  Answer<history::CHistory::Page> answer;
  history::HistoryQuery query;
  query.words = FromUtf8(words);
  query.dataSource = FromUtf8(dataSource);
  query.limit = limit;
  query.beforeId = beforeId;
  history.Search(query, answer.Callback());
  return answer.Wait();
}

// The summaries of a page, newest first, as UTF-8.
inline std::vector<std::string> Summaries(const history::CHistory::Page& page) {
  std::vector<std::string> out;
  for (const auto& entry : page.entries) out.push_back(ToUtf8(entry.summary));
  return out;
}

}  // namespace dossel::test
