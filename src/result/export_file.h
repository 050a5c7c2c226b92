#pragma once
// ExportFile: the file an export writes, replaced as a whole (platform/
// file_writer.h): a failure part way leaves the file the user named as it
// was. Buffered, so that a million rows cost a few hundred system calls.
// Every write and the close are checked; the first failure is kept (as an
// errno value) and later appends are dropped, so a full disk ends the export
// early.
// Owned by one thread at a time (the UI thread in the program).

#include <string>
#include <string_view>

#include "platform/file_writer.h"
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

  // Starts the file at `path` (the build's text, UTF-8 on disk): a new file
  // beside it that takes its place at Close.
  bool Open(TStringView path);
  bool IsOpen() const { return m_file.IsOpen(); }
  // True when the path names an ordinary file (not a device such as /dev/null).
  bool IsRegularFile() const { return m_file.IsRegularFile(); }

  void Append(std::string_view bytes) { m_file.Append(bytes); }
  void Append(char byte) { m_file.Append(byte); }
  // Text of the build's width, written as UTF-8.
  void AppendText(TStringView text);

  // Writes what is buffered and puts the file in place; false when any write
  // or the close failed, the file at the path then as it was before.
  bool Close();
  bool Failed() const { return m_file.Failed(); }
  int Error() const { return m_file.Error(); }
  FileErrorCause Cause() const;

 private:
  CReplacingFile m_file;
};

}  // namespace dossel
