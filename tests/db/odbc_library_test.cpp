// What DosselODBC adds to the driver manager: unknown names with a Database=
// key open SQLite files, configured data sources stay their own, and a
// prompt goes to the installed handler.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "db/odbc/dossel_odbc.h"
#include "db_test_fixture.h"

namespace dossel::test {
namespace {

using db::CDbConnection;

std::string s_promptTarget;
std::string s_promptSeen;

int ChooseTarget(SQLHWND, const char* connectString, char* chosen, int room) {
  s_promptSeen = connectString;
  if (s_promptTarget.empty()) return 0;
  std::strncpy(chosen, s_promptTarget.c_str(), room - 1);
  return 1;
}

class PromptHandlerScope {
 public:
  explicit PromptHandlerScope(std::string target) {
    s_promptTarget = std::move(target);
    s_promptSeen = "<not asked>";
    DosselOdbcSetPromptHandler(ChooseTarget);
  }
  ~PromptHandlerScope() { DosselOdbcSetPromptHandler(nullptr); }
};

TEST(OdbcLibraryTest, ConfiguredDataSourceConnectsThroughItsOwnEntry) {
  ScratchFolder folder;
  const std::string configured = folder.File("configured.db");
  RunSqlite(configured, "create table which(v); insert into which values ('configured')");
  const std::string ini = folder.File("odbc.ini");
  std::ofstream(ini) << "[DosselConfigured]\nDriver=" << DosselOdbcSqliteDriverPath() << "\nDatabase=" << configured
                     << "\n";
  const char* previous = std::getenv("ODBCINI");
  setenv("ODBCINI", ini.c_str(), 1);
  {
    CDbConnection connection;
    ASSERT_TRUE(connection.OpenWithOptions(DT("DSN=DosselConfigured"), db::kNoOdbcDialog));
    db::CQueryResultSet rs(&connection);
    ASSERT_TRUE(rs.OpenSql(DT("select v from which")));
    TString v;
    rs.GetFieldText(0, v);
    EXPECT_EQ(v, DT("configured"));
  }
  if (previous)
    setenv("ODBCINI", previous, 1);
  else
    unsetenv("ODBCINI");
}

TEST(OdbcLibraryTest, DatabasePathWithBlanksAndNonAsciiCharacters) {
  ScratchFolder folder;
  const std::string path = folder.File("my shop \xC3\xA9.db");
  RunSqlite(path, "create table t(a); insert into t values ('found')");
  CDbConnection connection;
  ASSERT_TRUE(
      connection.OpenWithOptions(FromUtf8("DSN=Any Name;Database=" + path + ";Timeout=1000"), db::kNoOdbcDialog));
  EXPECT_EQ(connection.GetConnectString().rfind(DT("ODBC;DSN=Any Name;"), 0), 0u);
  db::CQueryResultSet rs(&connection);
  ASSERT_TRUE(rs.OpenSql(DT("select a from t")));
  TString v;
  rs.GetFieldText(0, v);
  EXPECT_EQ(v, DT("found"));
}

TEST(OdbcLibraryTest, PromptGoesToTheHandlerAndCancelLeavesTheConnectionClosed) {
  ScratchFolder folder;
  const std::string path = folder.File("chosen.db");
  RunSqlite(path, "create table t(a)");
  {
    PromptHandlerScope handler("");  // the user cancels
    CDbConnection connection;
    EXPECT_FALSE(connection.Open(DT(""), false, false, DT("ODBC;"), false));
    EXPECT_EQ(s_promptSeen, "");
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.GetConnectString(), DT(""));
  }
  {
    PromptHandlerScope handler("DSN=Chosen;Database=" + path);
    CDbConnection connection;
    ASSERT_TRUE(connection.Open(DT(""), false, false, DT("ODBC;"), false));
    EXPECT_EQ(connection.GetConnectString().rfind(DT("ODBC;DSN=Chosen;"), 0), 0u);
  }
  {
    // A complete connect string without a prompt request never reaches the handler.
    PromptHandlerScope handler("");
    CDbConnection connection;
    ASSERT_TRUE(connection.OpenWithOptions(SqliteConnectString(path), 0));
    EXPECT_EQ(s_promptSeen, "<not asked>");
  }
}

}  // namespace
}  // namespace dossel::test
