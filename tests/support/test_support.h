#pragma once
// Shared helpers of the test programs: scratch folders, scratch SQLite
// databases, and the paths the build hands to tests.

#include <filesystem>
#include <string>

#include "platform/text.h"

namespace dossel::test {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }
  std::string File(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

// Creates (or adds to) an SQLite database file by running `sql` through the
// SQLite library itself, so the code under test is not its own witness.
void RunSqlite(const std::string& databasePath, const std::string& sql);

// The sample database the build made from samples/sample.sql.
std::string SampleDatabasePath();

// The connect string the programs build for an SQLite file.
TString SqliteConnectString(const std::string& databasePath, int stepApi = 0);

// Reads a whole file as bytes.
std::string ReadFile(const std::string& path);
// Writes `bytes` as the whole file.
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace dossel::test
