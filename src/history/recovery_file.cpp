#include "history/recovery_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <utility>

#include "history/data_folder.h"
#include "platform/file_writer.h"

namespace dossel::history {
namespace {

constexpr std::string_view kFirstLine = "Dossel unsaved query 1\n";
constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kDataSuffix = ".query";
constexpr std::string_view kLockSuffix = ".lock";

// Takes `prefix` off the front of `bytes`; false when it is not there.
bool Take(std::string_view& bytes, std::string_view prefix) {
  if (bytes.substr(0, prefix.size()) != prefix) return false;
  bytes.remove_prefix(prefix.size());
  return true;
}

// "<name>: <count>\n" followed by that many bytes.
bool TakeCounted(std::string_view& bytes, std::string_view name, std::string& value, bool toEnd) {
  if (!Take(bytes, name) || !Take(bytes, ": ")) return false;
  const size_t newline = bytes.find('\n');
  if (newline == std::string_view::npos) return false;
  size_t count = 0;
  const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + newline, count);
  if (error != std::errc() || end != bytes.data() + newline) return false;
  bytes.remove_prefix(newline + 1);
  if (count > bytes.size() || (toEnd && count != bytes.size())) return false;
  value.assign(bytes.substr(0, count));
  bytes.remove_prefix(count);
  return true;
}

// A lock taken on `path` without waiting: its descriptor, or -1 when it is
// held (or cannot be made).
int TryLock(const std::string& path, bool create) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string UniqueId() {
  std::random_device random;
  char hex[9];
  const unsigned value = random();
  for (int i = 7; i >= 0; --i) hex[7 - i] = "0123456789abcdef"[(value >> (i * 4)) & 0xF];
  hex[8] = '\0';
  return std::to_string(::getpid()) + "-" + hex;
}

}  // namespace

std::string EncodeRecoveredQuery(const RecoveredQuery& query) {
  std::string bytes(kFirstLine);
  bytes += "path: " + std::to_string(query.path.size()) + "\n" + query.path + "\n";
  bytes += "text: " + std::to_string(query.text.size()) + "\n";
  bytes += query.text;
  return bytes;
}

bool DecodeRecoveredQuery(std::string_view bytes, RecoveredQuery& query) {
  RecoveredQuery read;
  if (!Take(bytes, kFirstLine) || !TakeCounted(bytes, "path", read.path, false) || !Take(bytes, "\n") ||
      !TakeCounted(bytes, "text", read.text, true))
    return false;
  query = std::move(read);
  return true;
}

CRecoveryFile::CRecoveryFile(std::string folder) {
  if (!MakePrivateFolder(folder)) return;
  const std::string base = (std::filesystem::path(folder) / (std::string(kPrefix) + UniqueId())).string();
  m_path = base + std::string(kDataSuffix);
  m_lockPath = base + std::string(kLockSuffix);
  m_lockFd = TryLock(m_lockPath, true);
  if (m_lockFd >= 0) m_thread = std::thread([this] { Loop(); });
}

CRecoveryFile::~CRecoveryFile() {
  if (m_lockFd < 0) return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
  ::unlink(m_path.c_str());
  ::unlink(m_lockPath.c_str());
  ::close(m_lockFd);
}

void CRecoveryFile::Save(RecoveredQuery query) {
  if (m_lockFd < 0) return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pending = Action::kSave;
    m_query = std::move(query);
  }
  m_wake.notify_one();
}

void CRecoveryFile::Remove() {
  if (m_lockFd < 0) return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pending = Action::kRemove;
    m_query = RecoveredQuery();
  }
  m_wake.notify_one();
}

void CRecoveryFile::Adopt(CLeftRecovery left) {
  if (m_lockFd < 0) return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_adopted.push_back(std::move(left));
  }
  m_wake.notify_one();
}

bool CRecoveryFile::WaitIdle(unsigned milliseconds) {
  if (m_lockFd < 0) return true;
  std::unique_lock<std::mutex> guard(m_lock);
  return m_idle.wait_for(guard, std::chrono::milliseconds(milliseconds),
                         [this] { return m_pending == Action::kNone && m_adopted.empty() && !m_busy; });
}

void CRecoveryFile::Loop() {
  std::unique_lock<std::mutex> guard(m_lock);
  for (;;) {
    m_wake.wait(guard, [this] { return m_stopping || m_pending != Action::kNone || !m_adopted.empty(); });
    if (m_pending == Action::kNone && m_adopted.empty()) return;
    std::vector<CLeftRecovery> adopted = std::move(m_adopted);
    m_adopted.clear();
    const Action action = std::exchange(m_pending, Action::kNone);
    const RecoveredQuery query = std::move(m_query);
    m_busy = true;
    guard.unlock();
    for (CLeftRecovery& left : adopted) {
      if (::rename(left.m_path.c_str(), m_path.c_str()) == 0) {
        ::unlink(left.m_lockPath.c_str());
        left.Release();
      }
    }
    Write(action, query);
    guard.lock();
    m_busy = false;
    if (m_pending == Action::kNone && m_adopted.empty()) m_idle.notify_all();
  }
}

void CRecoveryFile::Write(Action action, const RecoveredQuery& query) {
  if (action == Action::kSave)
    ReplaceFileAtomically(m_path, EncodeRecoveredQuery(query), 0600);
  else if (action == Action::kRemove)
    ::unlink(m_path.c_str());
}

CLeftRecovery::CLeftRecovery(std::string path, std::string lockPath, int lockFd)
    : m_path(std::move(path)), m_lockPath(std::move(lockPath)), m_lockFd(lockFd) {}

CLeftRecovery::CLeftRecovery(CLeftRecovery&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_lockPath(std::move(other.m_lockPath)),
      m_lockFd(std::exchange(other.m_lockFd, -1)) {}

CLeftRecovery& CLeftRecovery::operator=(CLeftRecovery&& other) noexcept {
  if (this != &other) {
    Release();
    m_path = std::move(other.m_path);
    m_lockPath = std::move(other.m_lockPath);
    m_lockFd = std::exchange(other.m_lockFd, -1);
  }
  return *this;
}

CLeftRecovery::~CLeftRecovery() { Release(); }

void CLeftRecovery::Release() {
  if (m_lockFd >= 0) ::close(m_lockFd);
  m_lockFd = -1;
}

bool CLeftRecovery::Read(RecoveredQuery& query) const {
  std::ifstream in(m_path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return !in.bad() && DecodeRecoveredQuery(bytes, query);
}

void CLeftRecovery::Discard() {
  if (m_lockFd < 0) return;
  ::unlink(m_path.c_str());
  ::unlink(m_lockPath.c_str());
  Release();
}

std::vector<CLeftRecovery> FindLeftRecoveries(const std::string& folder) {
  struct Found {
    CLeftRecovery left;
    std::filesystem::file_time_type written;
  };
  std::vector<Found> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(kPrefix) || !entry.is_regular_file(error)) continue;
    const std::string path = entry.path().string();
    // The lock of a program that ended before it kept any text.
    if (name.ends_with(kLockSuffix)) {
      const std::string dataPath = path.substr(0, path.size() - kLockSuffix.size()) + std::string(kDataSuffix);
      if (std::filesystem::exists(dataPath, error)) continue;
      const int fd = TryLock(path, false);
      if (fd >= 0 && !std::filesystem::exists(dataPath, error)) ::unlink(path.c_str());
      if (fd >= 0) ::close(fd);
      continue;
    }
    if (name.size() <= kPrefix.size() + kDataSuffix.size() || !name.ends_with(kDataSuffix)) continue;
    const std::string lockPath = path.substr(0, path.size() - kDataSuffix.size()) + std::string(kLockSuffix);
    // A program that is gone may have left its file without the lock's
    // companion; one still running always has both.
    int fd = TryLock(lockPath, false);
    if (fd < 0 && !std::filesystem::exists(lockPath, error)) fd = TryLock(lockPath, true);
    if (fd < 0) continue;
    found.push_back({CLeftRecovery(path, lockPath, fd), entry.last_write_time(error)});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.written > b.written; });
  std::vector<CLeftRecovery> left;
  for (Found& one : found) left.push_back(std::move(one.left));
  return left;
}

}  // namespace dossel::history
