#pragma once
// GridDrawGuard: held by each UI-thread handler of the grid window for its
// whole run; tells whether the store may be read (drawing on). See the
// thread rules of CGridCtrl. UI thread only.

#include <atomic>
#include <mutex>

namespace dossel {

class GridDrawGuard {
 public:
  GridDrawGuard(std::recursive_mutex& mutex, const std::atomic<bool>& allowDraw)
      : m_lock(mutex), m_allow(allowDraw.load()) {}
  bool Allowed() const { return m_allow; }

 private:
  std::lock_guard<std::recursive_mutex> m_lock;
  bool m_allow;
};

}  // namespace dossel
