// A run's first screen of grid rows brings the result pane forward while the
// rest is still read, and the keyboard stays where the user had it until a
// click or a pane key moves it. Checked with real key presses.

#include <wx/uiaction.h>

#include "frame_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/result_view.h"

namespace dossel::test {
namespace {

class FirstRowsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    m_database = m_folder.File("rows.db");
    RunSqlite(m_database, "create table t(a); insert into t values (1), (2), (3);");
    ASSERT_TRUE(ConnectTo(ToUtf8(SqliteConnectString(m_database, 1))));
    m_frame->Raise();
    Pump(50);
  }
  void Type(const char* text) {
    wxUIActionSimulator().Text(text);
    Pump(60);
  }
  void CaretToEnd() {
    auto* edit = m_frame->QueryView()->GetEdit();
    edit->SetSelection(edit->GetLastPosition(), edit->GetLastPosition());
  }
  std::string QueryText() { return m_frame->QueryView()->GetEdit()->GetValue().utf8_string(); }
  bool ResultHasFocus() {
    wxWindow* focus = wxWindow::FindFocus();
    return focus && m_frame->ResultView()->IsDescendant(focus);
  }
  // Rows enough that the run is still reading long after its first screen.
  static constexpr const TChar* kLongQuery =
      DT("with recursive c(x) as (select 1 union all select x + 1 from c limit 20000000) select x, 'row ' || x from c");
  std::string m_database;
};

TEST_F(FirstRowsTest, TheResultPaneComesForwardDuringTheRunAndTheKeysStayInTheQuery) {
  m_frame->QueryView()->SetQueryText(kLongQuery);
  CaretToEnd();
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return m_frame->GetCurrentPane() == 1; }, 10000)) << Trace();
  EXPECT_TRUE(m_frame->Session().IsExecuting()) << "forward before the run ended";
  EXPECT_TRUE(m_frame->ResultView()->IsShown());
  ASSERT_TRUE(m_frame->ResultView()->GetGrid());
  EXPECT_GT(m_frame->ResultView()->GetGrid()->GetStore().GetPublishedRowCount(), 1);
  EXPECT_EQ(m_frame->GetKeysPane(), m_frame->QueryView());
  EXPECT_EQ(m_frame->GetActivePane(), m_frame->QueryView()) << "edit commands follow the keyboard";
  EXPECT_EQ(wxWindow::FindFocus(), m_frame->QueryView()->GetEdit());
  Type(" -- x");
  EXPECT_TRUE(QueryText().ends_with(" from c -- x")) << QueryText();

  // F6 gives the keyboard to the result pane; the query pane goes.
  wxUIActionSimulator().Char(WXK_F6);
  Pump(60);
  EXPECT_EQ(m_frame->GetKeysPane(), nullptr);
  EXPECT_FALSE(m_frame->QueryView()->IsShown());
  EXPECT_TRUE(ResultHasFocus());
  EXPECT_EQ(m_frame->GetActivePane(), m_frame->ResultView());
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }));
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  EXPECT_TRUE(ResultHasFocus());
}

TEST_F(FirstRowsTest, AShortRunEndsInFrontWithTheKeysInTheQueryUntilAClick) {
  m_frame->QueryView()->SetQueryText(DT("select a from t"));
  CaretToEnd();
  StartAndWait();
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  EXPECT_TRUE(m_frame->ResultView()->IsShown());
  EXPECT_EQ(wxWindow::FindFocus(), m_frame->QueryView()->GetEdit());
  Type(" order by a");
  EXPECT_EQ(QueryText(), "select a from t order by a");

  // A click into the grid moves the keyboard there.
  CGridCtrl* grid = m_frame->ResultView()->GetGrid();
  ASSERT_TRUE(grid);
  GridRect cell;
  ASSERT_TRUE(grid->GetCellRect(2, 1, &cell));
  wxUIActionSimulator mouse;
  mouse.MouseMove(grid->ClientToScreen(wxPoint(cell.left + 3, cell.top + 3)));
  Pump(30);
  mouse.MouseClick();
  Pump(100);
  EXPECT_TRUE(ResultHasFocus());
  EXPECT_EQ(m_frame->GetKeysPane(), nullptr);
  EXPECT_FALSE(m_frame->QueryView()->IsShown());

  // F5 goes back to the query, which has the keyboard again.
  wxUIActionSimulator().Char(WXK_F5);
  Pump(60);
  EXPECT_EQ(m_frame->GetCurrentPane(), 0);
  Type(";");
  EXPECT_EQ(QueryText(), "select a from t order by a;");
}

TEST_F(FirstRowsTest, ARunWithoutRowsGivesTheResultPaneTheKeysAtItsEnd) {
  m_frame->QueryView()->SetQueryText(DT("select a from t where a > 5"));
  StartAndWait();
  EXPECT_EQ(m_frame->GetKeysPane(), nullptr);
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  EXPECT_FALSE(m_frame->QueryView()->IsShown());
  EXPECT_TRUE(ResultHasFocus() || wxWindow::FindFocus() == m_frame->ResultView());
}

}  // namespace
}  // namespace dossel::test
