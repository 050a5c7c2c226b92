// Connect To Data Source: the chooser as the driver manager's prompt, driven
// through a real SQLDriverConnect that asks to prompt.

#include "app/data_source_chooser.h"

#include <gtest/gtest.h>
#include <wx/listctrl.h>

#include <fstream>

#include "dialog_test_support.h"

namespace dossel::test {
namespace {

// Driver-manager configuration of its own: two data sources, nothing of the
// machine's. Set before the first ODBC call of the process.
class ChooserTest : public DialogTest {
 protected:
  static void SetUpTestSuite() {
    s_odbc = new ScratchFolder();
    s_database = s_odbc->File("configured.db");
    RunSqlite(s_database, "create table t(a); insert into t values (1);");
    std::ofstream(s_odbc->File("odbcinst.ini"))
        << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << DosselOdbcSqliteDriverPath() << "\n";
    std::ofstream(s_odbc->File("odbc.ini")) << "[Alpha]\nDriver=SQLite3\nDatabase=" << s_database
                                            << "\n\n[Beta]\nDriver=SQLite3\nDatabase=" << s_database << "\n";
    std::ofstream(s_odbc->File("user.ini")) << "";
    setenv("ODBCSYSINI", s_odbc->Path().c_str(), 1);
    setenv("ODBCINI", s_odbc->File("user.ini").c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete s_odbc;
    s_odbc = nullptr;
  }
  void SetUp() override {
    DialogTest::SetUp();
    DosselOdbcSetPromptHandler(DataSourcePrompt);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)));
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc)));
  }
  void TearDown() override {
    SQLDisconnect(m_dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    DosselOdbcSetPromptHandler(nullptr);
    DialogTest::TearDown();
  }

  // A connect that asks the driver manager to prompt, as the program's
  // Connect To Data Source does; the completed string in `completed`.
  SQLRETURN PromptedConnect(std::string& completed) {
    SQLCHAR in[] = "";
    SQLCHAR out[2048] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLDriverConnectA(m_dbc, nullptr, in, SQL_NTS, out, sizeof out, &length, SQL_DRIVER_PROMPT);
    completed = reinterpret_cast<char*>(out);
    if (rc == SQL_ERROR) {
      SQLCHAR state[6] = {};
      SQLCHAR message[512] = {};
      SQLINTEGER native = 0;
      SQLSMALLINT got = 0;
      SQLGetDiagRecA(SQL_HANDLE_DBC, m_dbc, 1, state, &native, message, sizeof message, &got);
      completed = std::string("error ") + reinterpret_cast<char*>(state) + " " + reinterpret_cast<char*>(message);
    }
    return rc;
  }

  static ScratchFolder* s_odbc;
  static std::string s_database;
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
};

ScratchFolder* ChooserTest::s_odbc = nullptr;
std::string ChooserTest::s_database;

TEST_F(ChooserTest, ListsTheConfiguredDataSources) {
  const std::vector<DataSourceEntry> sources = ListConfiguredDataSources();
  ASSERT_EQ(sources.size(), 2u);
  EXPECT_EQ(sources[0].name, DT("Alpha"));
  EXPECT_EQ(sources[0].description, DT("SQLite3"));
  EXPECT_EQ(sources[1].name, DT("Beta"));

  CDataSourceChooserDlg dialog(nullptr);
  EXPECT_EQ(dialog.List()->GetItemCount(), 2);
  EXPECT_EQ(dialog.List()->GetItemText(1), "Beta");
}

TEST_F(ChooserTest, FileNamesBecomeDataSourceNamesThatConnectToTheFile) {
  const std::vector<DataSourceEntry> configured = {{DT("alpha"), DT("")}, {DT("alpha_2"), DT("")}};
  EXPECT_EQ(FileDataSourceName(DT("/tmp/sales.db"), configured), DT("sales"));
  EXPECT_EQ(FileDataSourceName(DT("/tmp/Alpha.db"), configured), DT("Alpha_3"));
  EXPECT_EQ(FileDataSourceName(DT("/tmp/a;b=c{d}.db"), configured), DT("a_b_c_d_"));
  EXPECT_EQ(FileDataSourceName(DT(""), configured), DT("SQLite"));
}

TEST_F(ChooserTest, ChoosingAConfiguredSourceConnectsToIt) {
  RunModal<CDataSourceChooserDlg>([](CDataSourceChooserDlg& dialog) {
    dialog.List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    Click(dialog, wxID_OK);
  });
  std::string completed;
  ASSERT_TRUE(SQL_SUCCEEDED(PromptedConnect(completed))) << completed;
  EXPECT_EQ(completed.rfind("DSN=Beta;", 0), 0u) << completed;
}

TEST_F(ChooserTest, OpeningAFileConnectsToThatFile) {
  const std::string file = m_folder.File("my data.db");
  RunSqlite(file, "create table mine(x);");
  RunModal<CDataSourceChooserDlg>([file](CDataSourceChooserDlg& dialog) {
    dialog.SetFilePicker([file](wxWindow*, TString& path) {
      path = FromUtf8(file);
      return true;
    });
    Click(dialog, CDataSourceChooserDlg::kIdOpenFile);
  });
  std::string completed;
  ASSERT_TRUE(SQL_SUCCEEDED(PromptedConnect(completed)));
  EXPECT_NE(completed.find("DSN=my data;"), std::string::npos) << completed;
  EXPECT_NE(completed.find(file), std::string::npos) << completed;
  EXPECT_NE(completed.find("StepAPI=1"), std::string::npos) << "rows as the driver reads them: " << completed;

  // It is that file: its table is there.
  SQLHSTMT statement = SQL_NULL_HSTMT;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &statement)));
  SQLCHAR sql[] = "select count(*) from mine";
  EXPECT_TRUE(SQL_SUCCEEDED(SQLExecDirectA(statement, sql, SQL_NTS)));
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

TEST_F(ChooserTest, CancellingLeavesNoConnection) {
  RunModal<CDataSourceChooserDlg>([](CDataSourceChooserDlg& dialog) {
    // A cancelled file dialog keeps the chooser open.
    dialog.SetFilePicker([](wxWindow*, TString&) { return false; });
    Click(dialog, CDataSourceChooserDlg::kIdOpenFile);
    EXPECT_TRUE(dialog.IsModal());
    Click(dialog, wxID_CANCEL);
  });
  std::string completed = "untouched";
  EXPECT_EQ(PromptedConnect(completed), SQL_NO_DATA);
  EXPECT_EQ(completed, "");

  // A path the SQLite driver cannot take is refused, and the chooser stays.
  RunModal<CDataSourceChooserDlg>([this](CDataSourceChooserDlg& dialog) {
    dialog.SetFilePicker([this](wxWindow*, TString& path) {
      path = FromUtf8(m_folder.File("a;b.db"));
      return true;
    });
    Click(dialog, CDataSourceChooserDlg::kIdOpenFile);
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_EQ(m_messages.texts.size(), 1u);
    Click(dialog, wxID_CANCEL);
  });
  EXPECT_EQ(PromptedConnect(completed), SQL_NO_DATA);

  char chosen[8] = {};
  RunModal<CDataSourceChooserDlg>([](CDataSourceChooserDlg& dialog) { Click(dialog, wxID_OK); });
  EXPECT_EQ(DataSourcePrompt(nullptr, "", chosen, sizeof chosen), 0) << "a choice that does not fit is not cut";
}

TEST_F(ChooserTest, Screenshot) {
  const char* folder = std::getenv("DOSSEL_SCREENSHOTS");
  if (!folder) GTEST_SKIP() << "set DOSSEL_SCREENSHOTS to a folder to keep a picture";
  CDataSourceChooserDlg dialog(nullptr);
  SaveScreenshot(dialog, std::string(folder) + "/data_source_chooser.png");
}

}  // namespace
}  // namespace dossel::test
