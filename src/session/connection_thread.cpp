#include "session/connection_thread.h"

#include <chrono>
#include <future>
#include <system_error>

namespace dossel::session {

CConnectionThread::~CConnectionThread() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

bool CConnectionThread::Start() {
  if (m_thread.joinable()) return true;
  m_stopping = false;
  try {
    m_thread = std::thread([this] { Loop(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool CConnectionThread::Submit(std::function<void()> task) {
  if (!m_thread.joinable()) return false;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_tasks.push_back(std::move(task));
  }
  m_wake.notify_one();
  return true;
}

void CConnectionThread::Call(const std::function<void()>& task) {
  if (!m_thread.joinable()) {
    task();
    return;
  }
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  Submit([&task, &done] {
    task();
    done.set_value();
  });
  finished.wait();
}

bool CConnectionThread::WaitIdle(unsigned milliseconds) {
  std::unique_lock<std::mutex> guard(m_lock);
  return m_idle.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return m_tasks.empty() && !m_busy; });
}

bool CConnectionThread::Stop(unsigned milliseconds) {
  if (!m_thread.joinable()) return true;
  // A task still running keeps the thread: it may not be left to share the
  // queue with a thread started later.
  if (!WaitIdle(milliseconds)) return false;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
  return true;
}

void CConnectionThread::Loop() {
  std::unique_lock<std::mutex> guard(m_lock);
  for (;;) {
    m_wake.wait(guard, [this] { return m_stopping || !m_tasks.empty(); });
    if (m_tasks.empty()) return;
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    m_busy = true;
    guard.unlock();
    task();
    guard.lock();
    m_busy = false;
    if (m_tasks.empty()) m_idle.notify_all();
  }
}

}  // namespace dossel::session
