#pragma once
// The session's window for benchmarks that run the session without one: the
// trace is kept, and posted calls run on the benchmark's main thread as the
// UI thread would run them.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

#include "session/session.h"

namespace dossel::bench {

class CPostingView : public session::ISessionView {
 public:
  void AppendTrace(TStringView text) override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_trace += text;
  }
  void AppendResultText(TStringView) override {}
  void Post(std::function<void()> call) override {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_posted.push_back(std::move(call));
    }
    m_wake.notify_all();
  }
  void StartTimer(unsigned) override {}
  void StopTimer() override {}
  CGridStore* PrepareGrid() override { return nullptr; }
  void FinishGrid(bool) override {}
  void EmptyGrid() override {}
  void ShowObjectText() override {}
  void RunEnded(bool) override {}

  // Runs posted calls until `session` is no longer executing.
  void RunUntilIdle(const session::CSession& session) {
    while (session.IsExecuting()) {
      std::deque<std::function<void()>> calls;
      {
        std::unique_lock<std::mutex> guard(m_lock);
        m_wake.wait(guard, [this] { return !m_posted.empty(); });
        calls.swap(m_posted);
      }
      for (auto& call : calls) call();
    }
  }
  // The trace so far; emptied, so that long benchmarks keep no more than a run's.
  TString TakeTrace() {
    std::lock_guard<std::mutex> guard(m_lock);
    return std::exchange(m_trace, TString());
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_posted;
  TString m_trace;
};

}  // namespace dossel::bench
