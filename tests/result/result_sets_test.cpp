// Runs that yield several result sets: each keeps a grid of its own under a
// tab, the newest shown; the pane's commands act on the shown one; a run
// with one result set looks as it always did.

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/uiaction.h>

#include "frame_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "result/wx/result_tabs.h"

namespace dossel::test {
namespace {

constexpr int kSelectAll = 57642;
constexpr int kCopy = 57634;

class ResultSetsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    m_database = m_folder.File("sets.db");
    RunSqlite(m_database, "create table t(a text, b integer); insert into t values ('x', 1), ('y', 2), ('z', 3);");
    ASSERT_TRUE(ConnectTo("DSN=Sets;Database=" + m_database + ";Timeout=1000;StepAPI=1"));
  }

  CResultView* View() const { return m_frame->ResultView(); }
  const std::vector<CGridCtrl*>& Grids() const { return View()->GetResultGrids(); }

  std::string CopyAll() {
    View()->DoEditCommand(kSelectAll);
    View()->DoEditCommand(kCopy);
    wxTextDataObject data;
    if (!wxTheClipboard->Open()) return "(no clipboard)";
    wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    return data.GetText().utf8_string();
  }

  void Click(wxWindow* window) {
    wxUIActionSimulator mouse;
    mouse.MouseMove(window->GetScreenRect().GetPosition() + window->GetSize() / 2);
    mouse.MouseClick();
    Pump(100);
  }

  std::string m_database;
};

TEST_F(ResultSetsTest, EachResultSetOfAScriptKeepsItsGridUnderATab) {
  Run("select a, b from t order by b;\nupdate t set b = b;\nselect b from t where b > 1 order by b;");
  EXPECT_TRUE(NewTrace().ends_with("Query completed successfully.\r\n\r\n"));
  ASSERT_EQ(Grids().size(), 2u);
  CResultTabs* tabs = View()->GetResultTabs();
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->IsShown());
  ASSERT_EQ(tabs->GetCount(), 2u);
  EXPECT_EQ(tabs->GetLabel(0), "Result 1 (3 rows)");
  EXPECT_EQ(tabs->GetLabel(1), "Result 2 (2 rows)");
  // The newest is shown; the first kept its rows through the update between them.
  EXPECT_EQ(View()->GetGrid(), Grids()[1]);
  EXPECT_EQ(tabs->GetSelection(), 1u);
  EXPECT_TRUE(Grids()[1]->IsShown());
  EXPECT_FALSE(Grids()[0]->IsShown());
  EXPECT_EQ(Grids()[0]->GetId(), CResultView::kGridId);
  EXPECT_EQ(Grids()[0]->GetRowCount(), 4);
  EXPECT_EQ(ToUtf8(Grids()[0]->GetCellText(3, 1)), "z");
  EXPECT_EQ(Grids()[1]->GetRowCount(), 3);
  EXPECT_EQ(ToUtf8(Grids()[1]->GetCellText(2, 1)), "3");

  m_frame->SwitchPane(1);
  EXPECT_EQ(CopyAll(), "2\r\n3");
  // A click on the first tab shows the first set, and copy takes it.
  Click(tabs->GetTab(0));
  EXPECT_EQ(View()->GetGrid(), Grids()[0]);
  EXPECT_TRUE(Grids()[0]->IsShown());
  EXPECT_FALSE(Grids()[1]->IsShown());
  EXPECT_EQ(tabs->GetSelection(), 0u);
  EXPECT_EQ(CopyAll(), "x\t1\r\ny\t2\r\nz\t3");
  // A click on the tab already chosen leaves it chosen.
  Click(tabs->GetTab(0));
  EXPECT_EQ(View()->GetGrid(), Grids()[0]);
  EXPECT_EQ(tabs->GetSelection(), 0u);
}

TEST_F(ResultSetsTest, RunWithOneResultSetLooksAsBefore) {
  Run("select a from t; select b from t");
  ASSERT_EQ(Grids().size(), 2u);
  Run("select a, b from t where b = 2");
  ASSERT_EQ(Grids().size(), 1u);
  EXPECT_FALSE(View()->GetResultTabs()->IsShown());
  CGridCtrl* grid = View()->GetGrid();
  EXPECT_EQ(grid->GetId(), CResultView::kGridId);
  EXPECT_TRUE(grid->IsShown());
  EXPECT_EQ(grid->GetRowCount(), 2);
  // The grid covers the whole pane: no strip takes room above it.
  EXPECT_EQ(grid->GetRect(), View()->GetClientRect());
  // A statement without columns empties it, as before.
  Run("select a from t; select b from t");
  Run("update t set b = b");
  ASSERT_EQ(Grids().size(), 1u);
  EXPECT_EQ(View()->GetGrid()->GetRowCount(), 0);
  EXPECT_FALSE(View()->GetResultTabs()->IsShown());
}

TEST_F(ResultSetsTest, EmptyResultSetIsCountedAsNoRows) {
  Run("select a from t where 0; select a from t where b = 1");
  ASSERT_EQ(Grids().size(), 2u);
  EXPECT_EQ(View()->GetResultTabs()->GetLabel(0), "Result 1 (0 rows)");
  EXPECT_EQ(View()->GetResultTabs()->GetLabel(1), "Result 2 (1 row)");
}

}  // namespace
}  // namespace dossel::test
