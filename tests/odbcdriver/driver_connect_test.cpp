// The scripted driver as the driver manager sees it: connecting by DRIVER=
// and through a configured data source, SQLGetInfo and SQLGetFunctions
// answers, the call log.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "driver_test_support.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

class ScriptedDriverConnect : public ::testing::Test {
 protected:
  std::string ConnectString() const { return ScriptedDriverConnectString(m_scriptFile); }
  void SaveAndConnect() {
    m_script.Save(m_scriptFile);
    ASSERT_EQ(SQL_SUCCESS, m_session.DriverConnect(ConnectString(), &m_completed));
  }

  ScratchFolder m_folder;
  std::string m_scriptFile = m_folder.File("script.txt");
  std::string m_logFile = m_folder.File("calls.log");
  DriverScript m_script;
  OdbcSession m_session;
  std::string m_completed;
};

TEST_F(ScriptedDriverConnect, ConnectsByDriverPathAndCompletesTheConnectString) {
  m_script.Log(m_logFile);
  SaveAndConnect();
  EXPECT_EQ(ConnectString(), m_completed);
  const auto lines = LogLines(m_logFile);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(1, CountLines(lines, "SQLDriverConnect DRIVER="));
}

TEST_F(ScriptedDriverConnect, ConnectsThroughADataSourceOfTheTestsOwnIniFile) {
  m_script.Dbms("Adaptive Server Anywhere");
  m_script.Save(m_scriptFile);
  const std::string ini = m_folder.File("odbc.ini");
  std::ofstream(ini) << "[ScriptedDsn]\nDriver=" << DOSSEL_SCRIPTED_DRIVER << "\nScript=" << m_scriptFile << "\n";
  ASSERT_EQ(0, setenv("ODBCINI", ini.c_str(), 1));
  {
    OdbcSession byDriverConnect;
    std::string completed;
    ASSERT_TRUE(SQL_SUCCEEDED(byDriverConnect.DriverConnect("DSN=ScriptedDsn", &completed)));
    EXPECT_EQ("DSN=ScriptedDsn;Script=" + m_scriptFile, completed);
    EXPECT_EQ("ScriptedDsn", InfoText(byDriverConnect.Dbc(), SQL_DATA_SOURCE_NAME));
  }
  OdbcSession byConnect;
  const SQLRETURN rc = byConnect.Connect("ScriptedDsn");
  unsetenv("ODBCINI");
  ASSERT_TRUE(SQL_SUCCEEDED(rc));
  EXPECT_EQ("Adaptive Server Anywhere", InfoText(byConnect.Dbc(), SQL_DBMS_NAME));
}

TEST_F(ScriptedDriverConnect, ConnectFailsWithoutAScriptOrWithTheScriptedRecords) {
  EXPECT_EQ(SQL_ERROR, m_session.DriverConnect("DRIVER=" + std::string(DOSSEL_SCRIPTED_DRIVER)));
  auto errors = m_session.Errors();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(std::string::npos, errors[0].message.find("No Script= key"));

  m_script.ConnectError("08001", 17, "[vendor][driver]Server does not exist")
      .ConnectError("01000", 2, "[vendor][driver]ConnectionOpen (Connect()).");
  m_script.Save(m_scriptFile);
  EXPECT_EQ(SQL_ERROR, m_session.DriverConnect(ConnectString()));
  errors = m_session.Errors();
  ASSERT_EQ(2u, errors.size());
  EXPECT_EQ("08001", errors[0].state);
  EXPECT_EQ(17, errors[0].native);
  EXPECT_EQ("[vendor][driver]ConnectionOpen (Connect()).", errors[1].message);
}

TEST_F(ScriptedDriverConnect, GetInfoAnswersScriptedValuesDefaultsAndRefusesTheRest) {
  m_script.Dbms("Sybase SQL Anywhere")
      .Info(SQL_DATABASE_NAME, "pubs2")
      .InfoInt16(SQL_TXN_CAPABLE, SQL_TC_NONE)
      .InfoInt32(SQL_GETDATA_EXTENSIONS, SQL_GD_BOUND)
      .InfoMissing(SQL_IDENTIFIER_QUOTE_CHAR)
      .Log(m_logFile);
  SaveAndConnect();
  SQLHDBC dbc = m_session.Dbc();
  EXPECT_EQ("Sybase SQL Anywhere", InfoText(dbc, SQL_DBMS_NAME));
  EXPECT_EQ("pubs2", InfoText(dbc, SQL_DATABASE_NAME));
  EXPECT_EQ("Y", InfoText(dbc, SQL_MULT_RESULT_SETS));
  EXPECT_EQ("03.00", InfoText(dbc, SQL_DRIVER_ODBC_VER));
  SQLUSMALLINT capable = 99;
  SQLUINTEGER extensions = 0;
  SQLSMALLINT length = 0;
  ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(dbc, SQL_TXN_CAPABLE, &capable, sizeof capable, &length));
  EXPECT_EQ(SQL_TC_NONE, capable);
  ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(dbc, SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions, &length));
  EXPECT_EQ(static_cast<SQLUINTEGER>(SQL_GD_BOUND), extensions);
  char quote[2] = {};
  EXPECT_EQ(SQL_ERROR, SQLGetInfo(dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length));
  const auto errors = m_session.Errors();
  ASSERT_EQ(1u, errors.size());
  EXPECT_EQ("S1096", errors[0].state);  // HY096 as an ODBC 2 application sees it
  char shortBuffer[4] = {};
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, SQLGetInfo(dbc, SQL_DBMS_NAME, shortBuffer, sizeof shortBuffer, &length));
  EXPECT_STREQ("Syb", shortBuffer);
  EXPECT_EQ(19, length);
  EXPECT_EQ(2, CountLines(LogLines(m_logFile), "SQLGetInfo 17"));
}

TEST_F(ScriptedDriverConnect, GetFunctionsReportsWhatTheScriptLeavesOut) {
  m_script.Unsupported(SQL_API_SQLROWCOUNT).Unsupported(SQL_API_SQLCANCEL).Unsupported(SQL_API_SQLPRIMARYKEYS);
  m_script.Log(m_logFile);
  SaveAndConnect();
  SQLHDBC dbc = m_session.Dbc();
  SQLUSMALLINT single = 99;
  ASSERT_EQ(SQL_SUCCESS, SQLGetFunctions(dbc, SQL_API_SQLROWCOUNT, &single));
  EXPECT_EQ(SQL_FALSE, single);
  ASSERT_EQ(SQL_SUCCESS, SQLGetFunctions(dbc, SQL_API_SQLEXECDIRECT, &single));
  EXPECT_EQ(SQL_TRUE, single);
  SQLUSMALLINT all[100] = {};
  ASSERT_EQ(SQL_SUCCESS, SQLGetFunctions(dbc, SQL_API_ALL_FUNCTIONS, all));
  EXPECT_FALSE(all[SQL_API_SQLCANCEL]);
  EXPECT_FALSE(all[SQL_API_SQLPRIMARYKEYS]);
  EXPECT_TRUE(all[SQL_API_SQLMORERESULTS]);
  SQLUSMALLINT bitmap[SQL_API_ODBC3_ALL_FUNCTIONS_SIZE] = {};
  ASSERT_EQ(SQL_SUCCESS, SQLGetFunctions(dbc, SQL_API_ODBC3_ALL_FUNCTIONS, bitmap));
  EXPECT_FALSE(SQL_FUNC_EXISTS(bitmap, SQL_API_SQLROWCOUNT));
  EXPECT_TRUE(SQL_FUNC_EXISTS(bitmap, SQL_API_SQLFETCHSCROLL));

  // The driver manager takes the driver's word: it refuses the left-out
  // functions itself and never passes them on.
  SQLHSTMT stmt = m_session.NewStatement();
  EXPECT_EQ(SQL_ERROR, SQLCancel(stmt));
  const auto lines = LogLines(m_logFile);
  EXPECT_EQ(0, CountLines(lines, "SQLCancel"));
  EXPECT_EQ(1, CountLines(lines, "SQLGetFunctions 999"));
}

}  // namespace
}  // namespace dossel::test
