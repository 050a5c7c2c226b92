#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace dossel {
namespace {

// Owns a file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return m_fd; }
  bool Close() {
    const int fd = std::exchange(m_fd, -1);
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// A new file beside `target` that no other writer uses; `name` receives its
// path. Its name starts with a dot, so listings of the folder pass it by.
int CreateTemporaryBeside(const std::filesystem::path& target, unsigned mode, std::string& name) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    name = (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                                    std::to_string(attempt) + ".tmp"))
               .string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool Fail(std::string* failure, int reason) {
  if (failure) *failure = std::strerror(reason);
  return false;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* failure,
                           unsigned newFileMode) {
  std::error_code error;
  std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
  if (error) target = path;
  struct stat original {};
  const bool existed = ::stat(target.c_str(), &original) == 0;
  std::string temporary;
  FileDescriptor file(CreateTemporaryBeside(target, newFileMode, temporary));
  if (file.Get() < 0) return Fail(failure, errno);
  if (existed && (original.st_uid != ::geteuid() || original.st_gid != ::getegid()))
    static_cast<void>(::fchown(file.Get(), original.st_uid, original.st_gid));  // only where allowed
  if (!WriteAll(file.Get(), bytes) || (existed && ::fchmod(file.Get(), original.st_mode & 07777) != 0) ||
      ::fsync(file.Get()) != 0 || !file.Close() || ::rename(temporary.c_str(), target.c_str()) != 0) {
    const int reason = errno;
    file.Close();
    ::unlink(temporary.c_str());
    return Fail(failure, reason);
  }
  // The rename itself reaches the disk with the folder.
  const std::filesystem::path folder = target.parent_path();
  FileDescriptor folderFd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Get() >= 0) ::fsync(folderFd.Get());
  return true;
}

}  // namespace dossel
