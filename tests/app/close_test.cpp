// Closing the main window while a query runs: the user is asked whether to
// cancel it, and the window goes without a hang or a crash; a run that
// outlasts the wait ends the process, non-zero, with what the program keeps
// written first.

#include <type_traits>  // wx/weakref.h needs it first

#include <wx/weakref.h>

#include <cstdlib>
#include <filesystem>

#include "driver_script.h"
#include "frame_fixture.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

TEST(CloseTest, ClosingTheWindowDuringARunCancelsItAndCloses) {
  ScratchFolder folder;
  setenv("DOSSEL_REGISTRY", folder.File("registry.reg").c_str(), 1);
  RecordingUserInterface ui;
  ui.answer = kIdYes;
  SetUserInterface(&ui);
  const std::string database = folder.File("shop.db");
  RunSqlite(database, "create table t(a integer);");

  auto* frame = new CMainFrame();
  frame->Show();
  const TString connect = FromUtf8("DSN=Shop;Database=" + database);
  ASSERT_TRUE(frame->Connect(&connect));
  frame->QueryView()->SetQueryText(FromUtf8(kLongQuery));
  frame->Execute();
  Pump(300);
  ASSERT_TRUE(frame->Session().IsExecuting());

  wxWeakRef<CMainFrame> alive(frame);
  const auto asked = std::chrono::steady_clock::now();
  frame->Close();
  EXPECT_TRUE(PumpUntil([&] { return !alive; }, 10000)) << "the window did not close";
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(5));
  ASSERT_EQ(ui.texts.size(), 1u);
  EXPECT_EQ(ToUtf8(ui.texts[0]), "A query is in progress.\r\nCancel the query?");
  SetUserInterface(nullptr);
  unsetenv("DOSSEL_REGISTRY");
}

// A folder that this test and its death-test child share: the child is a
// fresh start of this program and finds the folder in the environment.
std::string SharedFolder() {
  constexpr const char* kVariable = "DOSSEL_CLOSE_TEST_FOLDER";
  if (const char* made = std::getenv(kVariable)) return made;
  std::string pattern = (std::filesystem::temp_directory_path() / "dossel-close-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return {};
  setenv(kVariable, pattern.c_str(), 1);
  return pattern;
}

// Runs a statement that never hears of a cancel, answers "No" to the
// cancel question and closes: the process must end inside Close.
void CloseDuringARunThatDoesNotEnd(const std::string& folder) {
  setenv("DOSSEL_REGISTRY", (folder + "/registry.reg").c_str(), 1);
  RecordingUserInterface ui;
  ui.answer = kIdNo;
  SetUserInterface(&ui);
  DriverScript script;
  script.Statement("hang").BlockInExecute();
  script.Save(folder + "/script.txt");
  WriteFile(folder + "/kept.sql", "hang");

  auto* frame = new CMainFrame();
  frame->Show();
  frame->SetThreadWait(200);
  frame->OpenDocumentFile(wxString::FromUTF8(folder + "/kept.sql"));
  const TString connect = FromUtf8(ScriptedDriverConnectString(folder + "/script.txt"));
  if (!frame->Connect(&connect)) return;
  frame->Execute();
  if (!PumpUntil([&] { return frame->Session().IsExecuting(); }, 5000)) return;
  frame->Close();
  Pump(20000);
}

TEST(CloseDeathTest, ARunThatOutlastsTheWaitEndsTheProcessNonZeroWithTheRecentFilesKept) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string folder = SharedFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EXIT(CloseDuringARunThatDoesNotEnd(folder), ::testing::ExitedWithCode(EXIT_FAILURE), "did not stop in time");
  setenv("DOSSEL_REGISTRY", (folder + "/registry.reg").c_str(), 1);
  TString recent;
  KeyReadString(HKEY_CURRENT_USER, DT("Software\\Harlune\\Dossel\\Recent File List"), DT("File1"), DT(""), recent);
  EXPECT_EQ(ToUtf8(recent), folder + "/kept.sql") << "the recent-file list was written before the end";
  unsetenv("DOSSEL_REGISTRY");
  unsetenv("DOSSEL_CLOSE_TEST_FOLDER");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dossel::test
