#pragma once
// A short-lived thread of the session (the cancel thread). Started and
// forgotten on the UI thread; the body runs on the thread and announces its
// end by a posted call of its own.

#include <functional>
#include <future>
#include <thread>

namespace dossel::session {

class CWorkerThread {
 public:
  CWorkerThread() = default;
  ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // Starts `body` on a new thread; false when no thread could be started.
  bool Start(std::function<void()> body);
  bool IsKnown() const { return m_thread.joinable(); }
  // Waits at most `milliseconds` for the thread to end; true when it ended
  // (or none was known). An ended thread is forgotten.
  bool WaitAtMost(unsigned milliseconds);
  // Forgets a thread that has posted its last message: it is ending, so
  // joining it takes no time worth mentioning.
  void Forget();

 private:
  std::thread m_thread;
  std::future<void> m_done;
};

}  // namespace dossel::session
