#include "session/worker_thread.h"

#include <chrono>
#include <system_error>

namespace dossel::session {

CWorkerThread::~CWorkerThread() {
  // The session waits for its threads before it goes; a thread still known
  // here has ended or is past its last use of the session.
  if (m_thread.joinable()) m_thread.detach();
}

bool CWorkerThread::Start(std::function<void()> body) {
  Forget();
  std::promise<void> done;
  m_done = done.get_future();
  try {
    m_thread = std::thread([body = std::move(body), done = std::move(done)]() mutable {
      body();
      done.set_value();
    });
  } catch (const std::system_error&) {
    m_done = {};
    return false;
  }
  return true;
}

bool CWorkerThread::WaitAtMost(unsigned milliseconds) {
  if (!m_thread.joinable()) return true;
  if (m_done.valid() && m_done.wait_for(std::chrono::milliseconds(milliseconds)) != std::future_status::ready)
    return false;
  m_thread.join();
  m_done = {};
  return true;
}

void CWorkerThread::Forget() {
  if (m_thread.joinable()) m_thread.join();
  m_done = {};
}

}  // namespace dossel::session
