#pragma once
// Writing files so that a failure part way (a full disk, a quota, an I/O
// error, a crash) never leaves a short file in place of a good one: the bytes
// go to a new file beside the target, reach the disk, take the old file's
// permissions and only then its name. Every file the program writes (query
// files, the settings file, exports, the driver report, saved grids) goes
// through here. A symbolic link is followed, so the link stays and its file
// is replaced; a target that exists but is not an ordinary file (a device
// such as /dev/null, a pipe) cannot be renamed over and is written in place.
//
// Paths are bytes as the system takes them (UTF-8 in this program). Errors
// are errno values, 0 for none. One thread at a time per object.

#include <string>
#include <string_view>

namespace dossel {

// Owns a file descriptor; closes it when dropped.
class CFileDescriptor {
 public:
  explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
  ~CFileDescriptor() { Close(); }
  CFileDescriptor(const CFileDescriptor&) = delete;
  CFileDescriptor& operator=(const CFileDescriptor&) = delete;
  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Gives up a descriptor held before; an errno value, 0 when it closed
  // cleanly or none was held.
  int Close();
  void Reset(int fd);

 private:
  int m_fd;
};

// Writes every byte of `bytes`, going on after interruptions and short
// writes; a write that makes no progress counts as a full device (ENOSPC).
int WriteAllBytes(int fd, std::string_view bytes);

// A file written whole or not at all. Open makes the new file, Append buffers
// and writes, Commit puts it in the target's place; a file dropped without a
// Commit, or whose Commit failed, is removed and the target is as it was. The
// first failure is kept and later appends are dropped, so a long writer can
// stop early.
class CReplacingFile {
 public:
  CReplacingFile() = default;
  ~CReplacingFile();
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;

  // A file that does not exist yet is made with `newFileMode` less the
  // umask; an existing one keeps its own permissions.
  bool Open(const std::string& path, unsigned newFileMode = 0666);
  bool IsOpen() const { return m_file.IsOpen(); }
  // False when the target is a device or pipe written in place.
  bool IsRegularFile() const { return !m_inPlace; }

  void Append(std::string_view bytes) {
    if (m_buffer.size() + bytes.size() > kBufferSize)
      FlushAndAppend(bytes);
    else
      m_buffer.append(bytes);
  }
  void Append(char byte) {
    if (m_buffer.size() >= kBufferSize) Flush();
    m_buffer.push_back(byte);
  }

  // Writes what is buffered, flushes it to the disk and renames the new file
  // over the target; false (the target untouched) when any step failed.
  bool Commit();
  // Drops what was written; the target stays as it was.
  void Abandon();

  bool Failed() const { return m_error != 0; }
  int Error() const { return m_error; }
  // True while the error is one of making the new file (a missing folder on
  // the way rather than a missing file).
  bool FailedCreating() const { return m_failedCreating; }

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  void Flush();
  void FlushAndAppend(std::string_view bytes);
  void Fail(int error) {
    if (m_error == 0) m_error = error;
  }

  CFileDescriptor m_file;
  std::string m_target;
  std::string m_temporary;
  bool m_inPlace = false;
  bool m_existed = false;
  unsigned m_mode = 0;
  unsigned m_owner = 0;
  unsigned m_group = 0;
  int m_error = 0;
  bool m_failedCreating = false;
  std::string m_buffer;
};

// Replaces the file at `path` with `bytes` as a whole (a new file made with
// `newFileMode` less the umask); an errno value, 0 when it was written.
int ReplaceFileAtomically(const std::string& path, std::string_view bytes, unsigned newFileMode = 0666);

}  // namespace dossel
