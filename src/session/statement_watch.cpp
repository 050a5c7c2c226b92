#include "session/statement_watch.h"

#include <system_error>

namespace dossel::session {

CStatementWatch::~CStatementWatch() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopping = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

bool CStatementWatch::Arm(unsigned milliseconds) {
  if (milliseconds == 0) return true;
  // Started with the first statement watched: a session without a time-out
  // never has the thread.
  if (!m_thread.joinable()) {
    try {
      m_thread = std::thread([this] { Loop(); });
    } catch (const std::system_error&) {
      return false;
    }
  }
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    m_armed = true;
    m_expired = false;
  }
  m_changed.notify_all();
  return true;
}

bool CStatementWatch::Disarm() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_armed = false;
  const bool expired = m_expired;
  m_expired = false;
  return expired;
}

void CStatementWatch::Loop() {
  std::unique_lock<std::mutex> guard(m_lock);
  while (!m_stopping) {
    if (!m_armed) {
      m_changed.wait(guard);
      continue;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= m_deadline) {
      m_armed = false;
      m_expired = true;
      m_onExpiry();
      continue;
    }
    // Waits on the system clock, whose timed wait ThreadSanitizer follows;
    // the deadline itself is kept on the steady clock, checked on each wake.
    m_changed.wait_until(guard, std::chrono::system_clock::now() + (m_deadline - now));
  }
}

}  // namespace dossel::session
