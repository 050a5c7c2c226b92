// The frame as the session's view: what a connect, a run and an object-text
// run change in the window (commands, the pane shown, the trace's scroll).
// The session's own behaviour is tested without a display in tests/session.

#include "driver_script.h"
#include "frame_fixture.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

class FrameSessionTest : public TextFrameTest {
 protected:
  void SetUp() override {
    TextFrameTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database, "create table t(a text, b integer); insert into t values ('x', 1), ('y', 2);");
  }
  std::string m_database;
};

TEST_F(FrameSessionTest, ConnectEnablesTheConnectedCommands) {
  EXPECT_FALSE(m_frame->IsCommandEnabled(32829));  // Schema pane
  EXPECT_FALSE(ConnectTo("DSN=Shop;Database=" + m_folder.File("no/such/folder.db")));
  EXPECT_FALSE(m_frame->IsCommandEnabled(32829));
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database));
  EXPECT_TRUE(m_frame->IsCommandEnabled(32829));
  EXPECT_FALSE(m_frame->IsCommandEnabled(32831));  // Connect
}

TEST_F(FrameSessionTest, ARunEndsOnTheResultPaneAndRunsOnlyTheSelection) {
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database));
  m_frame->QueryView()->SetQueryText(DT("select 1\nselect b from t where b = 2"));
  m_frame->QueryView()->GetEdit()->SetSelection(9, m_frame->QueryView()->GetEdit()->GetLastPosition());
  StartAndWait();
  EXPECT_TRUE(NewTrace().starts_with("Executing query [select b from t where b = 2] ...\r\n"));
  EXPECT_NE(Result().find("1\t2\t\r\n"), std::string::npos);
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  EXPECT_TRUE(m_frame->IsCommandEnabled(32773));  // Execute again
}

TEST_F(FrameSessionTest, ObjectTextRunEndsOnTheTracePane) {
  DriverScript script;
  script.Dbms("Microsoft SQL Server")
      .Statement("sp_helptext myview")
      .Result({{"text", SQL_VARCHAR, 255}})
      .Row({"create view myview as select 2"});
  const std::string path = m_folder.File("script.txt");
  script.Save(path);
  ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(path)));
  Run("sp_helptext myview");
  EXPECT_NE(Trace().find("\r\ncreate view myview as select 2\r\n"), std::string::npos);
  EXPECT_EQ(m_frame->GetCurrentPane(), 2);
  EXPECT_EQ(Result(), "");
}

}  // namespace
}  // namespace dossel::test
