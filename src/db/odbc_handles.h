#pragma once
// Owning ODBC handles: an environment, a connection or a statement that frees
// itself (SQLFreeEnv, SQLFreeConnect, SQLFreeStmt SQL_DROP) when it is reset,
// replaced or destroyed, so that no early return and no exception leaks one.
// Move-only.
//
// The handle value is atomic because the cancel thread reads a statement's
// handle while the connection thread may be freeing it (CDbResultSet orders the
// two calls with a lock; the atomic keeps the reads themselves defined).
// Otherwise one thread at a time uses a handle object.

#include <atomic>

#include "db/odbc/dossel_odbc.h"

namespace dossel::db {

template <typename Traits>
class OdbcHandle {
 public:
  using Handle = typename Traits::Handle;

  OdbcHandle() noexcept = default;
  explicit OdbcHandle(Handle handle) noexcept : m_handle(handle) {}
  ~OdbcHandle() { Reset(); }
  OdbcHandle(OdbcHandle&& other) noexcept : m_handle(other.Release()) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  Handle Get() const noexcept { return m_handle.load(); }
  explicit operator bool() const noexcept { return Get() != nullptr; }
  // Gives up ownership without freeing.
  Handle Release() noexcept { return m_handle.exchange(nullptr); }
  // Frees the handle held (if any) and takes `handle`.
  void Reset(Handle handle = nullptr) noexcept {
    if (const Handle old = m_handle.exchange(handle)) Traits::Free(old);
  }

 private:
  std::atomic<Handle> m_handle{nullptr};
};

struct EnvironmentTraits {
  using Handle = SQLHENV;
  static void Free(SQLHENV henv) noexcept;
};
struct ConnectionTraits {
  using Handle = SQLHDBC;
  static void Free(SQLHDBC hdbc) noexcept;
};
struct StatementTraits {
  using Handle = SQLHSTMT;
  static void Free(SQLHSTMT hstmt) noexcept;
};

using EnvironmentHandle = OdbcHandle<EnvironmentTraits>;
using ConnectionHandle = OdbcHandle<ConnectionTraits>;
using StatementHandle = OdbcHandle<StatementTraits>;

// The ODBC 2 allocations. Each returns whatever handle the driver manager
// gave (empty when none) and its answer in `rc`; a caller that rejects the
// answer drops the handle, which frees it.
EnvironmentHandle AllocateEnvironment(SQLRETURN& rc);
ConnectionHandle AllocateConnection(SQLHENV henv, SQLRETURN& rc);
StatementHandle AllocateStatement(SQLHDBC hdbc, SQLRETURN& rc);

}  // namespace dossel::db
