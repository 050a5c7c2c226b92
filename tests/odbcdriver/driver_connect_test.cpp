// The scripted driver as the driver manager sees it: connecting by DRIVER=
// and through a configured data source, SQLGetInfo and SQLGetFunctions
// answers, the call log.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "driver_test_support.h"

namespace dossel::test {
namespace {

class ScriptedDriverConnect : public ::testing::Test {
 protected:
  std::string ConnectString() const {
    return std::string("DRIVER=") + DOSSEL_SCRIPTED_DRIVER + ";Script=" + m_scriptFile;
  }
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

}  // namespace
}  // namespace dossel::test
