#include "settings/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/file_writer.h"

namespace dossel::settings {
namespace {

// Missing: no file (or an empty one); Read: read and parsed; Damaged: read
// whole but not parsed; Unreadable: there but not read (too many open
// files, a permission change, an I/O error), which says nothing about its
// contents.
enum class FileState { Missing, Read, Damaged, Unreadable };

FileState ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got == 0) return FileState::Read;
    if (got < 0) {
      if (errno == EINTR) continue;
      return FileState::Unreadable;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
}

FileState LoadTree(const std::string& path, RegistryTree& tree) {
  std::string text;
  const FileState state = ReadWholeFile(path, text);
  tree = RegistryTree();
  if (state != FileState::Read) return state;
  // An empty file holds nothing to keep; treat it as a new one.
  if (text.empty()) return FileState::Missing;
  if (ParseRegistryText(text, tree)) return FileState::Read;
  tree = RegistryTree();
  return FileState::Damaged;
}

// Renames a damaged file out of the way; false when it could not be kept.
bool KeepAside(const std::string& path) {
  for (int n = 1; n < 10000; ++n) {
    const std::string aside = path + ".damaged-" + std::to_string(n);
    struct stat info;
    if (::lstat(aside.c_str(), &info) == 0) continue;
    if (::rename(path.c_str(), aside.c_str()) != 0) return false;
    std::fprintf(stderr, "dossel: the settings file %s could not be read; it was kept as %s\n", path.c_str(),
                 aside.c_str());
    return true;
  }
  return false;
}

// Holds the exclusive lock of the settings file for its lifetime.
class RegistryLock {
 public:
  explicit RegistryLock(const std::string& path)
      : m_file(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (m_file.Get() < 0) return;
    int rc;
    do {
      rc = ::flock(m_file.Get(), LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    m_locked = rc == 0;
  }
  ~RegistryLock() {
    if (m_locked) ::flock(m_file.Get(), LOCK_UN);
  }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;
  bool Locked() const { return m_locked; }

 private:
  CFileDescriptor m_file;
  bool m_locked = false;
};

}  // namespace

std::string RegistryFilePath() {
  const char* overridden = std::getenv("DOSSEL_REGISTRY");
  if (overridden && *overridden) return overridden;
  std::filesystem::path base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : ".") / ".config";
  }
  return (base / "dossel" / "registry.reg").string();
}

bool ReadRegistry(RegistryTree& tree) { return LoadTree(RegistryFilePath(), tree) == FileState::Read; }

bool UpdateRegistry(const std::function<bool(RegistryTree&)>& change) {
  const std::string path = RegistryFilePath();
  std::error_code ignored;
  const auto folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);

  RegistryLock lock(path);
  if (!lock.Locked()) return false;
  RegistryTree tree;
  const FileState state = LoadTree(path, tree);
  // A file that could not be read may be good: it is neither moved aside nor
  // written over, and the program runs on defaults.
  if (state == FileState::Unreadable) return false;
  if (!change(tree)) return false;
  if (state == FileState::Damaged && !KeepAside(path)) return false;
  return ReplaceFileAtomically(path, WriteRegistryText(tree)) == 0;
}

}  // namespace dossel::settings
