// What DosselODBC adds to the driver manager: unknown names with a Database=
// key open SQLite files, configured data sources stay their own, and a
// prompt goes to the installed handler.

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

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

// The path reaches the SQLite driver byte for byte, whatever its characters
// and wherever it stands in the connect string, and nothing is read past the
// string's end.
TEST(OdbcLibraryTest, NonAsciiPathAtTheEndOfTheConnectString) {
  ScratchFolder folder;
  const std::string path = folder.File("\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9.db");
  RunSqlite(path, "create table t(a); insert into t values ('found')");
  CDbConnection connection;
  ASSERT_TRUE(connection.OpenWithOptions(FromUtf8("DSN=Last;Database=" + path), db::kNoOdbcDialog));
  db::CQueryResultSet rs(&connection);
  ASSERT_TRUE(rs.OpenSql(DT("select a from t")));
  TString v;
  rs.GetFieldText(0, v);
  EXPECT_EQ(v, DT("found"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("")), {}), 1) << "no other file was made";
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

// The SQLite driver cuts a column's name at its last ".", so an expression
// such as 2.5 would head its column "5". Headings come from the column's
// label: whole for expressions and dotted aliases, the bare name for columns
// of a table (with or without a correlation name).
TEST(OdbcLibraryTest, SqliteColumnHeadingsAreWholeLabels) {
  ScratchFolder folder;
  const std::string path = folder.File("shop.db");
  RunSqlite(path,
            "create table customers(customer_id integer primary key, name text);"
            "create table orders(order_id integer primary key, customer_id integer, price real);"
            "insert into customers values (1, 'Ann'); insert into orders values (7, 1, 2.0)");
  CDbConnection connection;
  ASSERT_TRUE(connection.OpenWithOptions(FromUtf8("DSN=Shop;Database=" + path), db::kNoOdbcDialog));
  auto headings = [&](const TString& sql) {
    db::CQueryResultSet rs(&connection);
    EXPECT_TRUE(rs.OpenSql(sql));
    std::vector<TString> names;
    for (int i = 0; i < rs.GetColumnCount(); ++i) {
      db::CDbColumnInfo info;
      rs.GetDescribedColumn(i, info);
      names.push_back(info.m_strName);
    }
    return names;
  };
  using Names = std::vector<TString>;
  EXPECT_EQ(headings(DT("select 2.5, price*1.1, c.name, o.order_id, count(*) "
                        "from customers c join orders o on c.customer_id = o.customer_id")),
            (Names{DT("2.5"), DT("price*1.1"), DT("name"), DT("order_id"), DT("count(*)")}));
  EXPECT_EQ(headings(DT("select * from customers c join orders o on c.customer_id = o.customer_id")),
            (Names{DT("customer_id"), DT("name"), DT("order_id"), DT("customer_id"), DT("price")}));
  EXPECT_EQ(headings(DT("select customers.name, name as \"x.y\", upper(name), price as p from customers, orders")),
            (Names{DT("name"), DT("x.y"), DT("upper(name)"), DT("p")}));
}

}  // namespace
}  // namespace dossel::test
