#pragma once
// CStatementWatch: the query time-out kept by the program, for drivers that
// accept a time-out and ignore it. The connection thread arms the watch as
// a statement starts and disarms it when the statement's results are read;
// a statement still armed when its time runs out is ended by the expiry
// call, made on the watch's own thread.
//
// Arm and Disarm belong to the connection thread. The expiry runs under the
// watch's lock, so once Disarm returns no expiry of that statement is still
// running, and none can come later to stop the next statement.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace dossel::session {

class CStatementWatch {
 public:
  explicit CStatementWatch(std::function<void()> onExpiry) : m_onExpiry(std::move(onExpiry)) {}
  ~CStatementWatch();
  CStatementWatch(const CStatementWatch&) = delete;
  CStatementWatch& operator=(const CStatementWatch&) = delete;

  // The statement about to run may take `milliseconds`; 0 watches nothing.
  // False when the watch's thread could not be started (nothing is watched).
  bool Arm(unsigned milliseconds);
  // The statement ended; true when its time ran out first.
  bool Disarm();

 private:
  void Loop();

  std::function<void()> m_onExpiry;
  std::thread m_thread;
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::chrono::steady_clock::time_point m_deadline;
  bool m_armed = false;
  bool m_expired = false;
  bool m_stopping = false;
};

}  // namespace dossel::session
