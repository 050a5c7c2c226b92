#pragma once
// A session with a recording view and no display: the test thread plays the
// UI thread and runs what the session posts when it waits for a run.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <thread>

#include "grid/grid_store.h"
#include "recording_ui.h"
#include "session/session.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace dossel::test {

// What the session told its window, kept as UTF-8 text.
class RecordingSessionView : public session::ISessionView {
 public:
  void AppendTrace(TStringView text) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_trace += ToUtf8(text);
  }
  void AppendResultText(TStringView text) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_result += ToUtf8(text);
    ++m_resultAppends;
  }
  void Post(std::function<void()> call) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_posted.push_back(std::move(call));
  }
  void StartTimer(unsigned) override { m_timerRunning = true; }
  void StopTimer() override { m_timerRunning = false; }
  CGridStore* PrepareGrid() override {
    // The window's part of a reset, done here as the result pane does it.
    ++m_gridsPrepared;
    m_store.DeleteAllCells();
    m_store.SetRowCount(100);
    m_store.SetColumnCount(20);
    m_store.SetFixedRowCount(1);
    m_store.SetFixedColumnCount(1);
    m_store.BeginFill();
    return m_failGrid ? nullptr : &m_store;
  }
  void FinishGrid(bool rowsWritten) override {
    m_store.EndFill();
    m_lastFinishHadRows = rowsWritten;
  }
  void EmptyGrid() override { m_store.DeleteAllCells(); }
  void ShowObjectText() override { ++m_objectTextShown; }
  void RunEnded(bool objectTextRun) override {
    ++m_runsEnded;
    m_lastRunWasObjectText = objectTextRun;
  }
  void FirstRowsStored() override {
    ++m_firstRowsStored;
    m_runsEndedAtFirstRows = m_runsEnded;
    m_rowsAtFirstRows = m_store.GetPublishedRowCount();
  }

  // Runs what was posted; true when something ran.
  bool RunPosted() {
    std::deque<std::function<void()>> calls;
    {
      std::lock_guard<std::mutex> guard(m_lock);
      calls.swap(m_posted);
    }
    for (auto& call : calls) call();
    return !calls.empty();
  }
  std::string Trace() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_trace;
  }
  std::string Result() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_result;
  }
  int ResultAppends() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_resultAppends;
  }

  CGridStore m_store;
  bool m_failGrid = false;
  bool m_timerRunning = false;
  int m_gridsPrepared = 0;
  bool m_lastFinishHadRows = false;
  int m_objectTextShown = 0;
  int m_runsEnded = 0;
  bool m_lastRunWasObjectText = false;
  int m_firstRowsStored = 0;
  int m_runsEndedAtFirstRows = -1;
  int32_t m_rowsAtFirstRows = 0;

 private:
  std::mutex m_lock;
  std::string m_trace;
  std::string m_result;
  int m_resultAppends = 0;
  std::deque<std::function<void()>> m_posted;
};

// The elapsed times differ from run to run; tests compare the lines around them.
inline std::string WithoutTimes(const std::string& text) {
  static const std::regex time("\\d\\d+:\\d\\d:\\d\\d\\.\\d\\d\\d");
  return std::regex_replace(text, time, "T");
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("DOSSEL_REGISTRY", m_folder.File("registry.reg").c_str(), 1);
    SetUserInterface(&m_ui);
  }

  void TearDown() override {
    if (m_session.IsExecuting()) {
      m_session.RequestCancel();
      PumpUntil([&] { return !m_session.IsExecuting(); });
    }
    m_session.Shutdown();
    m_view.RunPosted();
    SetUserInterface(nullptr);
    unsetenv("DOSSEL_REGISTRY");
  }

  // Runs posted calls until `done` or `timeoutMs` passed; answers `done`.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      if (!m_view.RunPosted()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_view.RunPosted();
    return true;
  }

  void Pump(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end)
      if (!m_view.RunPosted()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  bool ConnectTo(const std::string& connect) {
    const TString text = FromUtf8(connect);
    const bool ok = m_session.Connect(&text);
    NewTrace();
    return ok;
  }

  void Start(const std::string& sql, bool textFormat = true) { m_session.Execute(FromUtf8(sql), textFormat); }

  // Executes `sql` and waits for its completion.
  void Run(const std::string& sql, bool textFormat = true) {
    Start(sql, textFormat);
    ASSERT_TRUE(PumpUntil([&] { return !m_session.IsExecuting(); })) << "the run did not finish";
  }

  // The trace written since the last call.
  std::string NewTrace() {
    const std::string all = m_view.Trace();
    const std::string fresh = all.substr(std::min(m_traceSeen, all.size()));
    m_traceSeen = all.size();
    return fresh;
  }
  std::string Cell(int row, int col) { return ToUtf8(m_view.m_store.GetCellText(row, col)); }

  ScratchFolder m_folder;
  RecordingUserInterface m_ui;
  RecordingSessionView m_view;
  session::CSession m_session{m_view};
  size_t m_traceSeen = 0;
};

}  // namespace dossel::test
