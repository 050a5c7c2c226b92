#pragma once
// ExportFile: the file an export writes, opened for writing (created or
// truncated), with a buffer of its own so that a million rows cost a few
// hundred system calls. Every write and the close are checked; the first
// failure is kept (as an errno value) and later appends are dropped, so a
// full disk ends the export early instead of leaving a silent short file.
// Owned by one thread at a time (the UI thread in the program).

#include <string>
#include <string_view>

#include "platform/text.h"

namespace dossel {

// The causes a file operation can fail for, with the user's text for each.
enum class FileErrorCause {
  None,
  Generic,
  FileNotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  InvalidFile,
  RemoveCurrentDir,
  DirectoryFull,
  BadSeek,
  HardIO,
  SharingViolation,
  LockViolation,
  DiskFull,
  EndOfFile,
};

// The cause an errno value stands for; `creating` marks an open that creates
// the file, where a missing entry can only be a folder of the path.
FileErrorCause FileErrorCauseFromErrno(int error, bool creating = false);
// The fixed English text shown for a cause ("The disk is full.").
TStringView FileErrorText(FileErrorCause cause);

class ExportFile {
 public:
  ExportFile();
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  // Creates or truncates the file at `path` (the build's text, UTF-8 on disk).
  bool Open(TStringView path);
  bool IsOpen() const { return m_fd >= 0; }
  // True when the path names an ordinary file (not a device such as /dev/null).
  bool IsRegularFile() const { return m_regular; }

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
  // Text of the build's width, written as UTF-8.
  void AppendText(TStringView text);

  // Writes what is buffered and closes; false when any write or the close failed.
  bool Close();
  bool Failed() const { return m_error != 0; }
  int Error() const { return m_error; }
  FileErrorCause Cause() const;

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  void Flush();
  void FlushAndAppend(std::string_view bytes);
  void WriteAll(std::string_view bytes);

  int m_fd = -1;
  int m_error = 0;
  bool m_creating = false;
  bool m_regular = false;
  std::string m_buffer;
};

}  // namespace dossel
