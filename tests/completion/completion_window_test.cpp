// Completion in the query pane of the main frame, driven by real key
// presses through the X server, against the SQLite driver.

#include <wx/uiaction.h>

#include <chrono>

#include "app/sql_completion.h"
#include "app/sql_edit.h"
#include "frame_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kShop =
    "create table customers(customer_id integer primary key, name text, city text);"
    "create table orders(order_id integer primary key, customer_id integer, total real);"
    "create table order_lines(order_id integer, product text);";
constexpr const char* kLongQuery =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c";

class CompletionWindowTest : public TextFrameTest {
 protected:
  void SetUp() override {
    TextFrameTest::SetUp();
    m_database = m_folder.File("shop.db");
    RunSqlite(m_database, kShop);
  }

  void Connect() {
    ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database));
    ASSERT_NE(Completion(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Completion()->Cache().NamesKnown() && Completion()->Cache().IsIdle(); }));
  }

  CSqlCompletion* Completion() { return m_frame->QueryView()->Completion(); }
  CSqlEdit* Edit() { return m_frame->QueryView()->SqlEdit(); }
  std::string Text() { return Edit()->GetValue().utf8_string(); }

  // Puts `marked` into the pane with the caret at its "|", focused.
  void Place(const std::string& marked) {
    const size_t caret = marked.find('|');
    std::string text = marked;
    text.erase(caret, 1);
    m_frame->QueryView()->SetQueryText(FromUtf8(text));
    m_frame->SwitchPane(0);
    Edit()->SetFocus();
    m_frame->Raise();
    Pump(30);
    Edit()->GotoPos(static_cast<int>(caret));
  }

  void Keys(const char* text) {
    wxUIActionSimulator simulator;
    simulator.Text(text);
    Pump(40);
  }
  void Key(int key, int modifiers = wxMOD_NONE) {
    wxUIActionSimulator simulator;
    simulator.Char(key, modifiers);
    Pump(40);
  }
  void CtrlSpace() { Key(WXK_SPACE, wxMOD_CONTROL); }

  bool ListShows(const std::function<bool(const Texts&)>& wanted, int timeoutMs = 5000) {
    return PumpUntil([&] { return wanted(Completion()->ShownTexts()); }, timeoutMs);
  }
  static bool Has(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  std::string m_database;
};

TEST_F(CompletionWindowTest, CtrlSpaceAfterFromOffersTheTablesAndEnterInsertsOne) {
  Connect();
  Place("select * from or|");
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return !t.empty(); })) << Text();
  EXPECT_EQ(Completion()->ShownTexts(), (Texts{"order_lines", "orders"}));
  EXPECT_EQ(Edit()->AutoCompGetCurrentText(), "order_lines");
  // Typing goes on in the text, and the list follows the word.
  Keys("ders");
  ASSERT_TRUE(ListShows([](const Texts& t) { return t == Texts{"orders"}; })) << Text();
  EXPECT_EQ(Text(), "select * from orders");
  Key(WXK_RETURN);
  EXPECT_EQ(Text(), "select * from orders") << "the name as it was, and no line break";
  EXPECT_FALSE(Edit()->AutoCompActive());

  // Word parts, and Tab inserts in place of the typed word.
  Place("select * from ord_li|");
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return t == Texts{"order_lines"}; })) << Text();
  Key(WXK_TAB);
  EXPECT_EQ(Text(), "select * from order_lines");
}

TEST_F(CompletionWindowTest, ADotAfterAnAliasOffersItsColumns) {
  Connect();
  Place("select o| from orders o");
  Key('.');
  ASSERT_TRUE(ListShows([](const Texts& t) { return !t.empty(); })) << "the columns are read, then shown";
  EXPECT_EQ(Completion()->ShownTexts(), (Texts{"order_id  INTEGER", "customer_id  INTEGER", "total  REAL"}));
  Keys("tot");
  ASSERT_TRUE(ListShows([](const Texts& t) { return t == Texts{"total  REAL"}; }));
  Key(WXK_RETURN);
  EXPECT_EQ(Text(), "select o.total from orders o") << "the name alone goes in";

  // Ctrl+Space with the caret after the dot does the same; Escape closes.
  Place("select o.| from orders o");
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return t.size() == 3; }));
  Key(WXK_ESCAPE);
  EXPECT_FALSE(Edit()->AutoCompActive());
  EXPECT_EQ(Text(), "select o. from orders o");
}

TEST_F(CompletionWindowTest, TheListClosesWhenAnotherPaneComesForward) {
  Connect();
  Place("select * from or|");
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return !t.empty(); })) << Text();
  // A pane key: the list must not float over the trace pane.
  Key(WXK_F7);
  EXPECT_FALSE(Edit()->AutoCompActive());

  // A run: its end brings the result pane forward.
  Place("select * from customers c where c|");
  Key('.');
  ASSERT_TRUE(ListShows([](const Texts& t) { return !t.empty(); })) << Text();
  Key(WXK_F4);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }));
  Pump(100);
  EXPECT_FALSE(Edit()->AutoCompActive());
  EXPECT_TRUE(Completion()->ShownTexts().empty());
}

TEST_F(CompletionWindowTest, NoListInAStringOrAComment) {
  Connect();
  for (const char* marked : {"select * from orders where total = 'or|'", "select 1 -- from or|"}) {
    Place(marked);
    CtrlSpace();
    Pump(200);
    EXPECT_FALSE(Edit()->AutoCompActive()) << marked;
    Key('.');
    Pump(200);
    EXPECT_FALSE(Edit()->AutoCompActive()) << marked;
  }
}

TEST_F(CompletionWindowTest, ANewTableCompletesAfterItsCreateHasRun) {
  Connect();
  Run("create table fresh_things(a integer);\ninsert into fresh_things values (1);");
  ASSERT_TRUE(PumpUntil([&] { return Completion()->Cache().FindTable({DT("fresh_things")}) != nullptr; }));
  Place("select * from fre|");
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return t == Texts{"fresh_things"}; }));

  // A table made behind the session's back comes with the command.
  RunSqlite(m_database, "create table made_elsewhere(a integer);");
  Key(WXK_ESCAPE);
  ASSERT_TRUE(m_frame->IsCommandEnabled(res::ID_SQL_REFRESH_NAMES));
  wxCommandEvent command(wxEVT_MENU, res::ToWxId(res::ID_SQL_REFRESH_NAMES));
  m_frame->ProcessWindowEvent(command);
  ASSERT_TRUE(PumpUntil([&] { return Completion()->Cache().FindTable({DT("made_elsewhere")}) != nullptr; }));
}

// The list never waits for the driver: during a long run it shows what
// the cache holds at once, typing goes on as fast as without a run, and
// what must be read is read once the run has ended.
TEST_F(CompletionWindowTest, TypingDuringALongRunIsNotSlowed) {
  Connect();
  m_frame->QueryView()->SetQueryText(FromUtf8(std::string(kLongQuery) + ";\n"));
  m_frame->Execute();
  ASSERT_TRUE(m_frame->Session().IsExecuting());
  Edit()->SetFocus();
  Edit()->GotoPos(Edit()->GetLastPosition());
  Pump(30);
  ASSERT_TRUE(Edit()->IsShownOnScreen());

  using Clock = std::chrono::steady_clock;
  double slowest = 0;
  for (const char c : std::string("select * from cu")) {
    const int length = Edit()->GetTextLength();
    const auto start = Clock::now();
    wxUIActionSimulator simulator;
    simulator.Text(std::string(1, c).c_str());
    ASSERT_TRUE(PumpUntil([&] { return Edit()->GetTextLength() > length; }, 2000));
    slowest = std::max(slowest, std::chrono::duration<double>(Clock::now() - start).count());
  }
  EXPECT_LT(slowest, 0.5);
  const auto asked = Clock::now();
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return t == Texts{"customers"}; }, 2000));
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - asked).count(), 0.5);
  EXPECT_TRUE(m_frame->Session().IsExecuting());
  Key(WXK_RETURN);

  // Columns not read yet: no list for now, and no read while the run goes on.
  Keys(" c where c.");
  Pump(300);
  EXPECT_FALSE(Edit()->AutoCompActive());
  EXPECT_FALSE(Completion()->Cache().IsReading());
  ASSERT_TRUE(m_frame->Session().IsExecuting());
  EXPECT_TRUE(Text().ends_with("select * from customers c where c.")) << Text();
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }));
  // The run's end shows the result pane; back in the query pane the
  // columns read after the run are there.
  Key(WXK_F5);
  Edit()->SetFocus();
  Pump(30);
  CtrlSpace();
  ASSERT_TRUE(ListShows([](const Texts& t) { return t.size() == 3; }));
  EXPECT_EQ(Completion()->ShownTexts().front(), "customer_id  INTEGER");
}

class CompletionOffTest : public CompletionWindowTest {
 protected:
  void PrepareSettings() override {
    TextFrameTest::PrepareSettings();
    WriteSetting(DT("Software\\Harlune\\Dossel\\Query"), DT("Completion"), 0);
  }
};

TEST_F(CompletionOffTest, TheSettingSwitchesItOff) {
  EXPECT_EQ(Completion(), nullptr);
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + m_database));
  EXPECT_FALSE(m_frame->IsCommandEnabled(res::ID_SQL_REFRESH_NAMES));
  Place("select * from or|");
  wxUIActionSimulator simulator;
  simulator.Char(WXK_SPACE, wxMOD_CONTROL);
  Pump(200);
  EXPECT_FALSE(Edit()->AutoCompActive());
}

}  // namespace
}  // namespace dossel::test
