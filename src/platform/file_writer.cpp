#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

namespace dossel {

namespace {

// The file a path names, links followed; the path itself when it cannot be
// resolved (the open that follows then says why).
std::string ResolvedTarget(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error || resolved.empty() ? path : resolved.string();
}

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? std::string(".") : folder;
}

// A new file in `folder` named after `target`, created with `mode` less the
// user's umask; `name` receives its path.
int CreateTemporaryBeside(const std::string& target, unsigned mode, std::string& name) {
  const std::filesystem::path path(target);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    name = (path.parent_path() / ("." + path.filename().string() + "." + std::to_string(::getpid()) + "-" +
                                  std::to_string(attempt) + ".tmp"))
               .string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The rename reaches the disk with its folder.
void SyncFolder(const std::string& folder) {
  const CFileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.IsOpen()) ::fsync(dir.Get());
}

}  // namespace

int CFileDescriptor::Close() {
  const int fd = std::exchange(m_fd, -1);
  return fd < 0 || ::close(fd) == 0 ? 0 : errno;
}

void CFileDescriptor::Reset(int fd) {
  Close();
  m_fd = fd;
}

int WriteAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

CReplacingFile::~CReplacingFile() { Abandon(); }

bool CReplacingFile::Open(const std::string& path, unsigned newFileMode) {
  Abandon();
  m_error = 0;
  m_failedCreating = false;
  m_inPlace = false;
  m_existed = false;
  m_target = ResolvedTarget(path);
  struct stat original {};
  if (::stat(m_target.c_str(), &original) == 0) {
    m_existed = true;
    m_mode = original.st_mode & 07777;
    m_owner = original.st_uid;
    m_group = original.st_gid;
    m_inPlace = !S_ISREG(original.st_mode);
  }
  if (m_inPlace) {
    m_file.Reset(::open(m_target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  } else {
    m_file.Reset(CreateTemporaryBeside(m_target, newFileMode, m_temporary));
    if (!m_file.IsOpen()) m_temporary.clear();
    m_failedCreating = !m_file.IsOpen();
  }
  if (!m_file.IsOpen()) {
    m_error = errno;
    return false;
  }
  m_buffer.reserve(kBufferSize);
  return true;
}

void CReplacingFile::Flush() {
  if (m_file.IsOpen() && m_error == 0) Fail(WriteAllBytes(m_file.Get(), m_buffer));
  m_buffer.clear();
}

void CReplacingFile::FlushAndAppend(std::string_view bytes) {
  Flush();
  if (bytes.size() >= kBufferSize) {
    if (m_file.IsOpen() && m_error == 0) Fail(WriteAllBytes(m_file.Get(), bytes));
  } else {
    m_buffer.append(bytes);
  }
}

bool CReplacingFile::Commit() {
  if (!m_file.IsOpen()) {
    Fail(EBADF);
    return false;
  }
  Flush();
  if (m_inPlace) {
    Fail(m_file.Close());
    return m_error == 0;
  }
  const int fd = m_file.Get();
  if (m_error == 0 && m_existed) {
    // The owner only where allowed (root, or a group of one's own); the
    // permissions always.
    if (m_owner != ::geteuid() || m_group != ::getegid()) static_cast<void>(::fchown(fd, m_owner, m_group));
    if (::fchmod(fd, m_mode) != 0) Fail(errno);
  }
  if (m_error == 0 && ::fsync(fd) != 0) Fail(errno);
  Fail(m_file.Close());
  if (m_error == 0 && ::rename(m_temporary.c_str(), m_target.c_str()) != 0) Fail(errno);
  if (m_error != 0) {
    Abandon();
    return false;
  }
  m_temporary.clear();
  SyncFolder(FolderOf(m_target));
  return true;
}

void CReplacingFile::Abandon() {
  m_file.Close();
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  m_temporary.clear();
  m_buffer.clear();
}

int ReplaceFileAtomically(const std::string& path, std::string_view bytes, unsigned newFileMode) {
  CReplacingFile file;
  if (!file.Open(path, newFileMode)) return file.Error();
  file.Append(bytes);
  file.Commit();
  return file.Error();
}

}  // namespace dossel
