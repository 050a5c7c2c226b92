// What the SQLite driver never shows, played by the scripted test driver:
// values of unknown length, several diagnostic records, still-executing
// answers, a rejected query time-out, several result sets, and the order of
// the calls at open.

#include <gtest/gtest.h>

#include <string>

#include "db/db_connection.h"
#include "db/query_result_set.h"
#include "driver_script.h"
#include "scripted_connect.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using db::CDbConnection;
using db::CDbError;
using db::CQueryResultSet;

class ScriptedDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_scriptPath = m_folder.File("script.txt");
    m_logPath = m_folder.File("calls.log");
    m_script.Log(m_logPath);
  }

  TString ConnectString() const { return FromUtf8(ScriptedDriverConnectString(m_scriptPath)); }

  void Connect() {
    m_script.Save(m_scriptPath);
    ASSERT_TRUE(m_connection.OpenWithOptions(ConnectString(), db::kNoOdbcDialog));
  }

  std::string Log() const { return ReadFile(m_logPath); }

  ScratchFolder m_folder;
  std::string m_scriptPath;
  std::string m_logPath;
  DriverScript m_script;
  CDbConnection m_connection;
};

TEST_F(ScriptedDriverTest, ValueOfUnknownLengthIsReadUpTo65536Bytes) {
  m_script.Statement("select big")
      .Result({{"big", SQL_LONGVARCHAR, 1000000}})
      .NoTotal(1)
      .Row({std::string(100000, 'n')});
  Connect();
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("select big")));
  TString value;
  rs.GetFieldText(0, value);
  EXPECT_EQ(value.size() * sizeof(TChar), 65536u);
  EXPECT_EQ(value.find_first_not_of(TChar('n')), TString::npos);
}

TEST_F(ScriptedDriverTest, TwoDiagnosticRecordsWithTwoBracketedComponentsEach) {
  m_script.Statement("bad")
      .Error("42S02", 208, "[Vendor][Driver]Invalid object name 'x'.")
      .Error("01000", 3621, "[Vendor][Server] The statement has been terminated.");
  Connect();
  CQueryResultSet rs(&m_connection);
  const SQLRETURN rc = db::OdbcExecDirect(rs.GetStatement(), DT("bad"));
  ASSERT_EQ(rc, SQL_ERROR);
  CDbError error(rc);
  error.ReadDiagnostics(&m_connection, rs.GetStatement());
  EXPECT_EQ(error.m_strStateNativeOrigin,
            DT("State:S0002,Native:208,Origin:[Vendor][Driver]\nState:01000,Native:3621,Origin:[Vendor][Server]\n"));
  EXPECT_EQ(error.m_strError, DT("Invalid object name 'x'.\nThe statement has been terminated.\n"));
  // The same failure through the result set keeps the message for the user.
  ASSERT_TRUE(rs.OpenSql(DT("bad")));
  EXPECT_TRUE(rs.ExecuteFailed());
  EXPECT_EQ(rs.LastErrorText(), DT("Invalid object name 'x'.\nThe statement has been terminated.\n"));
}

TEST_F(ScriptedDriverTest, StillExecutingAnswersAreRepeated) {
  m_script.Statement("slow")
      .StillExecuting("SQLExecDirect", 3)
      .StillExecuting("SQLFetch", 2)
      .StillExecuting("SQLGetData", 2)
      .Result({{"a", SQL_VARCHAR, 10}})
      .Row({"first"})
      .Row({"second"});
  Connect();
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("slow")));
  std::vector<TString> values;
  for (; !rs.IsAfterLast(); rs.MoveNext()) {
    TString value;
    rs.GetFieldText(0, value);
    values.push_back(value);
  }
  EXPECT_EQ(values, (std::vector<TString>{DT("first"), DT("second")}));
  EXPECT_FALSE(rs.FetchFailed());
}

TEST_F(ScriptedDriverTest, RejectedQueryTimeOutIsNeverTriedAgain) {
  m_script.RejectQueryTimeout().Statement("select 1").Result({{"x", SQL_INTEGER, 10}}).Row({"1"});
  Connect();
  m_connection.SetQueryTimeOut(30);
  CQueryResultSet first(&m_connection);
  ASSERT_TRUE(first.OpenSql(DT("select 1")));
  EXPECT_EQ(m_connection.GetQueryTimeOut(), -1);
  TString value;
  first.GetFieldText(0, value);
  EXPECT_EQ(value, DT("1"));
  first.Close();
  const auto countTimeoutCalls = [&] {
    const std::string log = Log();
    size_t count = 0;
    for (size_t at = log.find("SQLSetStmtOption 0"); at != std::string::npos;
         at = log.find("SQLSetStmtOption 0", at + 1))
      ++count;
    return count;
  };
  const size_t before = countTimeoutCalls();
  CQueryResultSet second(&m_connection);
  ASSERT_TRUE(second.OpenSql(DT("select 1")));
  EXPECT_EQ(countTimeoutCalls(), before);
}

TEST_F(ScriptedDriverTest, TwoResultSetsOfDifferentShapes) {
  m_script.Statement("exec two")
      .Result({{"id", SQL_INTEGER, 10}, {"name", SQL_VARCHAR, 20}})
      .Row({"1", "one"})
      .Result({{"total", SQL_DECIMAL, 10, 2}, {"when", SQL_VARCHAR, 10}, {"who", SQL_VARCHAR, 10}})
      .Row({"12.50", "today", DriverScript::Null})
      .Row({"3.00", "later", "me"});
  Connect();
  CQueryResultSet rs(&m_connection);
  ASSERT_TRUE(rs.OpenSql(DT("exec two")));
  ASSERT_EQ(rs.GetColumnCount(), 2);
  ASSERT_TRUE(rs.NextResultSet());
  ASSERT_EQ(rs.GetColumnCount(), 3);
  db::CDbColumnInfo info;
  rs.GetDescribedColumn(2, info);
  EXPECT_EQ(info.m_strName, DT("who"));
  rs.MoveNext();
  TString total, who;
  rs.GetFieldText(0, total);
  rs.GetFieldText(2, who);
  EXPECT_EQ(total, DT("12.50"));
  EXPECT_EQ(who, DT(""));
  rs.MoveNext();
  rs.GetFieldText(2, who);
  EXPECT_EQ(who, DT("me"));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsAfterLast());
  EXPECT_FALSE(rs.NextResultSet());
}

TEST_F(ScriptedDriverTest, OpenSendsTheDataSourceNameLastAndKeepsReadOnly) {
  m_script.Save(m_scriptPath);
  const TString connect =
      DT("odbc;DRIVER=") + FromUtf8(DOSSEL_SCRIPTED_DRIVER) + DT(";Script=") + FromUtf8(m_scriptPath);
  ASSERT_TRUE(m_connection.Open(DT("x"), false, true, connect, false));
  const std::string log = Log();
  // The driver manager holds options set before the connect and hands them
  // on itself; the driver sees the read-only mode that the open sets again.
  const size_t connectCall = log.find("SQLDriverConnect");
  ASSERT_NE(connectCall, std::string::npos) << log;
  EXPECT_EQ(log.substr(connectCall, log.find('\n', connectCall) - connectCall),
            "SQLDriverConnect " + ScriptedDriverConnectString(m_scriptPath) + ";DSN=x");
  EXPECT_NE(log.find("SQLSetConnectOption 101"), std::string::npos) << log;
  EXPECT_FALSE(m_connection.IsUpdatable());
  EXPECT_EQ(m_connection.GetConnectString().rfind(DT("ODBC;"), 0), 0u);
}

}  // namespace
}  // namespace dossel::test
