// The session's asks: reads on the connection thread whose answers come back
// to the UI thread by a posted call, so that the window never waits for the
// connection (a catalog read that hangs in the driver leaves it working),
// and the cancel of those reads.

#include <chrono>
#include <thread>

#include "session/session.h"

namespace dossel::session {

namespace {

// How often a cancel of reads is sent again while they have not ended: a
// cancel that reaches the driver before the read's statement runs is lost.
constexpr auto kReadCancelRepeat = std::chrono::milliseconds(50);

}  // namespace

bool CSession::QueueAsk(std::weak_ptr<const void> owner, AskTask task) {
  if (!m_db.IsOpen() || !m_connectionThread.IsRunning() || m_bDisconnectPending) return false;
  const uint64_t serial = ++m_nLastAsk;
  ++m_nAsksOutstanding;
  const std::weak_ptr<int> alive = m_alive;
  const bool queued =
      m_connectionThread.Submit([this, serial, alive, owner = std::move(owner), task = std::move(task)]() mutable {
        {
          std::lock_guard<std::mutex> guard(m_askLock);
          m_nRunningAsk = serial;
        }
        std::function<void()> answer = task(m_db);
        {
          std::lock_guard<std::mutex> guard(m_askLock);
          m_nRunningAsk = 0;
          m_nFinishedAsk = serial;
        }
        m_view.Post([this, alive, owner = std::move(owner), answer = std::move(answer)] {
          if (alive.expired()) return;
          --m_nAsksOutstanding;
          if (!owner.expired()) answer();
          DisconnectIfReadsEnded();
        });
      });
  if (!queued) --m_nAsksOutstanding;
  return queued;
}

bool CSession::Ask(std::function<PostedAnswer(db::CDbConnection&)> call) {
  if (!m_db.IsOpen() || !m_connectionThread.IsRunning() || m_bDisconnectPending) return false;
  const uint64_t serial = m_nConnectionSerial;
  const std::weak_ptr<int> alive = m_alive;
  // Not one of the asks a Disconnect or a Cancel waits for: the user never
  // asked for these reads.
  return m_connectionThread.Submit([this, call = std::move(call), serial, alive] {
    // Queued before a disconnect, run after it: nothing to ask.
    if (!m_db.IsOpen()) return;
    PostedAnswer answer = call(m_db);
    if (!answer) return;
    m_view.Post([this, answer = std::move(answer), serial, alive] {
      // The session is destroyed on this thread, so it cannot go between the
      // check and the answer.
      if (alive.expired() || serial != m_nConnectionSerial || !m_db.IsOpen()) return;
      answer();
    });
  });
}

void CSession::CancelReads() {
  if (!IsReading() || m_bCancelingReads || !m_bCancelSupported) return;
  m_bCancelingReads = true;
  AppendTraceF(m_view, DT("Canceling catalog read ...\r\n"));
  const uint64_t lastAsk = m_nLastAsk;
  if (!m_cancelThread.Start([this, lastAsk] { CancelReadsUpTo(lastAsk); })) m_bCancelingReads = false;
}

void CSession::CancelReadsUpTo(uint64_t lastAsk) {
  for (;;) {
    {
      std::lock_guard<std::mutex> guard(m_askLock);
      if (m_nFinishedAsk >= lastAsk) break;
      if (m_nRunningAsk != 0 && !IsCancelRefused()) m_db.CancelStatements();
    }
    std::this_thread::sleep_for(kReadCancelRepeat);
  }
  const std::weak_ptr<int> alive = m_alive;
  m_view.Post([this, alive] {
    if (alive.expired()) return;
    m_bCancelingReads = false;
    m_cancelThread.Forget();
  });
}

}  // namespace dossel::session
