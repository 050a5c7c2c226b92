// What the driver manager settles once per process: whether it loads at all,
// and where its data sources are configured. A connection that cannot begin
// (driver manager missing, or refusing an environment) fails its open with
// the reason and throws nothing; the data sources come in the driver
// manager's order.
//
// Each case runs in a child process of its own, started before anything in
// this program has touched ODBC, with the environment variables it needs
// ($DOSSEL_ODBC_DRIVER_MANAGER names the library DosselODBC loads).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "db/data_sources.h"
#include "db/db_connection.h"
#include "db/odbc/dossel_odbc.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using db::CDbConnection;
using db::DbEnvironment;

using Environment = std::map<std::string, std::string>;

// Runs `work` in a child process with `environment` set; returns what it
// wrote. A child that dies (an exception escaping `work`) fails the test.
std::string InChild(const Environment& environment, const std::function<std::string()>& work) {
  int channel[2];
  if (pipe(channel) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    const std::string answer = work();
    for (size_t written = 0; written < answer.size();) {
      const ssize_t n = write(channel[1], answer.data() + written, answer.size() - written);
      if (n <= 0) _exit(2);
      written += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child ended abnormally: " << status;
  return answer;
}

// Both ways of opening, then what the connection and environment show.
std::string OpenTwiceAndReport() {
  std::string report;
  CDbConnection connection;
  const bool opened = connection.OpenWithOptions(DT("DSN=x;Database=/tmp/never.db"), db::kNoOdbcDialog);
  report += opened ? "opened\n" : "refused\n";
  report += ToUtf8(connection.GetLastErrorText()) + "\n";
  report += connection.IsOpen() ? "open\n" : "closed\n";
  const bool prompted = connection.Open(TString(), false, false, DT("ODBC;"), false);
  report += prompted ? "opened\n" : "refused\n";
  report += ToUtf8(connection.GetLastErrorText()) + "\n";
  report += DbEnvironment::Instance().Handle() ? "environment\n" : "no environment\n";
  report += std::to_string(DbEnvironment::Instance().ConnectionCount()) + " connections\n";
  report += std::to_string(db::ListDataSources().size()) + " data sources\n";
  return report;
}

std::string ListedDataSources() {
  std::string listed;
  for (const db::DataSourceEntry& entry : db::ListDataSources())
    listed += ToUtf8(entry.name) + " (" + ToUtf8(entry.description) + ")\n";
  return listed;
}

TEST(DriverManagerTest, MissingDriverManagerIsAnOpenThatFailsWithTheLoadersReason) {
  const std::string missing = "/nonexistent/dossel/libodbc.so.2";
  const std::string reason = "The ODBC driver manager could not be loaded: " + missing +
                             ": cannot open shared object file: No such file or directory";
  EXPECT_EQ(
      InChild({{"DOSSEL_ODBC_DRIVER_MANAGER", missing}}, OpenTwiceAndReport),
      "refused\n" + reason + "\nclosed\nrefused\n" + reason + "\nno environment\n0 connections\n0 data sources\n");
}

TEST(DriverManagerTest, RefusedEnvironmentIsAnOpenThatFailsWithThatReason) {
  const std::string reason = "Could not allocate an ODBC environment.";
  EXPECT_EQ(
      InChild({{"DOSSEL_ODBC_DRIVER_MANAGER", DOSSEL_REFUSING_DRIVER_MANAGER}}, OpenTwiceAndReport),
      "refused\n" + reason + "\nclosed\nrefused\n" + reason + "\nno environment\n0 connections\n0 data sources\n");
}

TEST(DriverManagerTest, TheBuiltInDriverManagerStillOpens) {
  ScratchFolder folder;
  const std::string path = folder.File("real.db");
  RunSqlite(path, "create table t(a)");
  const std::string answer = InChild({{"DOSSEL_ODBC_DRIVER_MANAGER", ""}}, [&] {
    CDbConnection connection;
    const bool opened = connection.OpenWithOptions(SqliteConnectString(path), db::kNoOdbcDialog);
    return std::string(opened ? "opened" : "refused: " + ToUtf8(connection.GetLastErrorText()));
  });
  EXPECT_EQ(answer, "opened");
}

// The driver manager reads where its system configuration lives once per
// process, so each configuration gets a process of its own.
class DataSourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(m_folder.File("odbcinst.ini"))
        << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << DosselOdbcSqliteDriverPath() << "\n";
    std::ofstream(m_folder.File("odbc.ini")) << "";
    std::ofstream(m_folder.File("user.ini")) << "";
  }

  std::string List() {
    return InChild({{"ODBCSYSINI", m_folder.Path().string()}, {"ODBCINI", m_folder.File("user.ini")}},
                   ListedDataSources);
  }

  ScratchFolder m_folder;
};

TEST_F(DataSourcesTest, UserThenSystemDataSourcesInTheDriverManagersOrder) {
  std::ofstream(m_folder.File("odbc.ini")) << "[Zulu]\nDriver=SQLite3\nDatabase=/tmp/z.db\n\n"
                                           << "[Alpha \xC3\xA9t\xC3\xA9]\nDriver=SQLite3\nDatabase=/tmp/a.db\n";
  std::ofstream(m_folder.File("user.ini")) << "[Mine]\nDriver=SQLite3\nDatabase=/tmp/m.db\n";
  EXPECT_EQ(List(), "Mine (SQLite3)\nZulu (SQLite3)\nAlpha \xC3\xA9t\xC3\xA9 (SQLite3)\n");
}

TEST_F(DataSourcesTest, NoneConfigured) { EXPECT_EQ(List(), ""); }

TEST_F(DataSourcesTest, NoneWithoutADriverManager) {
  std::ofstream(m_folder.File("odbc.ini")) << "[Zulu]\nDriver=SQLite3\nDatabase=/tmp/z.db\n";
  EXPECT_EQ(InChild({{"ODBCSYSINI", m_folder.Path().string()},
                     {"DOSSEL_ODBC_DRIVER_MANAGER", "/nonexistent/dossel/libodbc.so.2"}},
                    ListedDataSources),
            "");
}

}  // namespace
}  // namespace dossel::test
