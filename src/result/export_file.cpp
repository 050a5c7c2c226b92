#include "result/export_file.h"

#include <cerrno>

namespace dossel {

FileErrorCause FileErrorCauseFromErrno(int error, bool creating) {
  switch (error) {
    case 0:
      return FileErrorCause::None;
    case ENOENT:
      // Creating never misses the file itself, only a folder on the way.
      return creating ? FileErrorCause::BadPath : FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
      return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return FileErrorCause::AccessDenied;
    case EBADF:
      return FileErrorCause::InvalidFile;
    case EMLINK:
      return FileErrorCause::DirectoryFull;
    case ESPIPE:
      return FileErrorCause::BadSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
      return FileErrorCause::HardIO;
    case ETXTBSY:
    case EBUSY:
      return FileErrorCause::SharingViolation;
    case ENOLCK:
    case EDEADLK:
      return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileErrorCause::DiskFull;
    default:
      return FileErrorCause::Generic;
  }
}

TStringView FileErrorText(FileErrorCause cause) {
  switch (cause) {
    case FileErrorCause::FileNotFound:
      return DT("The file could not be located.");
    case FileErrorCause::BadPath:
      return DT("All or part of the path is invalid.");
    case FileErrorCause::TooManyOpenFiles:
      return DT("The permitted number of open files was exceeded.");
    case FileErrorCause::AccessDenied:
      return DT("The file could not be accessed.");
    case FileErrorCause::InvalidFile:
      return DT("There was an attempt to use an invalid file handle.");
    case FileErrorCause::RemoveCurrentDir:
      return DT("The current working directory cannot be removed.");
    case FileErrorCause::DirectoryFull:
      return DT("There are no more directory entries.");
    case FileErrorCause::BadSeek:
      return DT("There was an error trying to set the file pointer.");
    case FileErrorCause::HardIO:
      return DT("There was a hardware error.");
    case FileErrorCause::SharingViolation:
      return DT("SHARE.EXE was not loaded, or a shared region was locked.");
    case FileErrorCause::LockViolation:
      return DT("There was an attempt to lock a region that was already locked.");
    case FileErrorCause::DiskFull:
      return DT("The disk is full.");
    case FileErrorCause::EndOfFile:
      return DT("The end of file was reached.");
    case FileErrorCause::None:
    case FileErrorCause::Generic:
      break;
  }
  return DT("An unspecified error occurred.");
}

ExportFile::ExportFile() = default;

ExportFile::~ExportFile() = default;

bool ExportFile::Open(TStringView path) { return m_file.Open(ToUtf8(path)); }

void ExportFile::AppendText(TStringView text) {
#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
  Append(ToUtf8(text));
#else
  Append(std::string_view(text.data(), text.size()));
#endif
}

bool ExportFile::Close() { return m_file.Commit(); }

FileErrorCause ExportFile::Cause() const { return FileErrorCauseFromErrno(m_file.Error(), m_file.FailedCreating()); }

}  // namespace dossel
