#include "history/data_folder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace dossel::history {

std::string DataFolder() {
  std::filesystem::path base;
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : ".") / ".local" / "share";
  }
  return (base / "dossel").string();
}

std::string HistoryFilePath() { return (std::filesystem::path(DataFolder()) / "history.db").string(); }

bool MakePrivateFolder(const std::string& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, error);
  // The queries a user runs and types are theirs alone.
  if (::mkdir(folder.c_str(), 0700) == 0) return true;
  return std::filesystem::is_directory(folder, error);
}

}  // namespace dossel::history
