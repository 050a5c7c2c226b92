#pragma once
// One long-lived thread that makes every call on one connection: the query
// runs, catalog reads and the disconnect, whoever asks. Some drivers keep a
// lock on the thread that made a call (one connector does after a refused
// batch), so a connection whose calls all come from one thread never waits
// for a lock held by a thread that moved on.
//
// Submit and Call come from the UI thread; tasks run one at a time, in order.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace dossel::session {

class CConnectionThread {
 public:
  CConnectionThread() = default;
  ~CConnectionThread();
  CConnectionThread(const CConnectionThread&) = delete;
  CConnectionThread& operator=(const CConnectionThread&) = delete;

  // Starts the thread if it is not running; false when none can be started.
  bool Start();
  bool IsRunning() const { return m_thread.joinable(); }
  // Queues a task; false when the thread is not running.
  bool Submit(std::function<void()> task);
  // Runs a task on the thread and waits for it (and for everything queued
  // before it). Runs it on the caller's thread when none is running.
  void Call(const std::function<void()>& task);
  // Waits at most `milliseconds` until no task is queued or running; true
  // when the thread is idle.
  bool WaitIdle(unsigned milliseconds);
  // Ends the thread once its queue is done. Waits at most `milliseconds`;
  // false, with the thread still running, when a task has not ended by then
  // (the frame's close then ends the process rather than free what the task
  // uses).
  bool Stop(unsigned milliseconds);

 private:
  void Loop();

  std::thread m_thread;
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::condition_variable m_idle;
  std::deque<std::function<void()>> m_tasks;
  bool m_busy = false;
  bool m_stopping = false;
};

}  // namespace dossel::session
