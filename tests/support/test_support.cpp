#include "test_support.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace dossel::test {

ScratchFolder::ScratchFolder() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    auto candidate = base / ("dossel-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      m_path = candidate;
      return;
    }
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

void RunSqlite(const std::string& databasePath, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(databasePath.c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open " + databasePath);
  }
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("sqlite: " + message);
}

std::string SampleDatabasePath() {
  const char* path = std::getenv("DOSSEL_SAMPLE_DB");
  return path ? path : "";
}

TString SqliteConnectString(const std::string& databasePath, int stepApi) {
  return FromUtf8("DSN=DosselTest;Database=" + databasePath + ";Timeout=1000;StepAPI=" + std::to_string(stepApi));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace dossel::test
