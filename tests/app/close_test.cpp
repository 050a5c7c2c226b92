// Closing the main window while a query runs: the user is asked whether to
// cancel it, and the window goes without a hang or a crash.

#include <type_traits>  // wx/weakref.h needs it first

#include <wx/weakref.h>

#include "frame_fixture.h"

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

}  // namespace
}  // namespace dossel::test
