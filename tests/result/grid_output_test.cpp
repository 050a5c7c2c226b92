// Runs whose results go into the results grid: its shape after a run, empty
// results and updates, several result sets, cancel during a fill, and input
// that arrives while the store writer writes the cells.

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/uiaction.h>

#include "driver_script.h"
#include "frame_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "res/command_ids.h"
#include "result/wx/export_dlg.h"
#include "scripted_connect.h"

namespace dossel::test {
namespace {

constexpr const char* kMillionRows =
    "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000) "
    "select x, 'row ' || x, x * 2 from c";

class GridOutputTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    m_database = m_folder.File("grid.db");
    RunSqlite(m_database,
              "create table t(a text, b integer);"
              "insert into t values ('x', 1), ('y', 2), ('z', NULL);"
              "create table u(v integer); insert into u values (1),(2),(3),(4),(5);");
    ASSERT_TRUE(ConnectTo("DSN=Grid;Database=" + m_database + ";Timeout=1000;StepAPI=1"));
  }

  CGridCtrl* Grid() const { return m_frame->ResultView()->GetGrid(); }
  std::string Cell(int row, int col) const { return ToUtf8(Grid()->GetCellText(row, col)); }

  std::string m_database;
};

TEST_F(GridOutputTest, SelectFillsTheGridWithAHeaderRowAndRowNumbers) {
  EXPECT_EQ(Grid(), nullptr);
  Run("select a, b from t order by a");
  ASSERT_NE(Grid(), nullptr);
  EXPECT_EQ(Grid()->GetId(), 100);
  EXPECT_EQ(Grid()->GetRowCount(), 4);
  EXPECT_EQ(Grid()->GetColumnCount(), 3);
  EXPECT_EQ(Grid()->GetFixedRowCount(), 1);
  EXPECT_EQ(Grid()->GetFixedColumnCount(), 1);
  EXPECT_TRUE(Grid()->GetHeaderSort());
  EXPECT_FALSE(Grid()->IsFilling());
  EXPECT_EQ(Cell(0, 0), "  ");
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_EQ(Cell(0, 2), "b");
  EXPECT_EQ(Cell(1, 0), "1");
  EXPECT_EQ(Cell(3, 1), "z");
  EXPECT_EQ(Cell(3, 2), "");
  EXPECT_EQ(Result(), "");  // the edit control stays empty
  EXPECT_EQ(WithoutTimes(NewTrace()),
            "Executing query [select a, b from t order by a] ...\r\nExecute time: T\r\n(3 row(s) affected)\r\n"
            "Query completed successfully.\r\n\r\n");
  EXPECT_TRUE(m_frame->ResultView()->IsGridShown());
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
}

TEST_F(GridOutputTest, EmptyResultKeepsTheHundredRowsOfAFreshGrid) {
  Run("select a from t where 0");
  ASSERT_NE(Grid(), nullptr);
  EXPECT_EQ(Grid()->GetRowCount(), 100);
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_NE(NewTrace().find("(0 row(s) affected)"), std::string::npos);
  EXPECT_FALSE(Grid()->IsFilling());
}

TEST_F(GridOutputTest, UpdateEmptiesAnExistingGrid) {
  Run("select a from t");
  ASSERT_EQ(Grid()->GetRowCount(), 4);
  Run("update u set v = 0");
  EXPECT_EQ(Grid()->GetRowCount(), 0);
  EXPECT_NE(NewTrace().find("(5 row(s) affected)"), std::string::npos);
}

TEST_F(GridOutputTest, SelectAllAndCopyPutTabSeparatedRowsOnTheClipboard) {
  Run("select a, b from t order by a");
  m_frame->SwitchPane(1);
  ASSERT_TRUE(m_frame->ResultView()->IsEditCommandEnabled(57642));
  EXPECT_FALSE(m_frame->ResultView()->IsEditCommandEnabled(57634));  // nothing selected yet
  m_frame->ResultView()->DoEditCommand(57642);
  ASSERT_TRUE(m_frame->ResultView()->IsEditCommandEnabled(57634));
  m_frame->ResultView()->DoEditCommand(57634);
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTextDataObject data;
  ASSERT_TRUE(wxTheClipboard->GetData(data));
  wxTheClipboard->Close();
  EXPECT_EQ(data.GetText().utf8_string(), "x\t1\r\ny\t2\r\nz\t");
}

TEST_F(GridOutputTest, TextCommandsOfTheResultPaneWaitForTheGridToGo) {
  CResultView* view = m_frame->ResultView();
  EXPECT_EQ(view->WordWrapCommand(), 32782);  // no grid yet
  EXPECT_TRUE(view->CanPrint());
  EXPECT_TRUE(view->CanChooseFont());
  Run("select a from t");
  EXPECT_EQ(view->WordWrapCommand(), 0);
  EXPECT_FALSE(view->CanPrint());
  EXPECT_TRUE(view->CanChooseFont());
}

TEST_F(GridOutputTest, SaveAsInTheResultPaneExportsTheGrid) {
  Run("select a, b from t order by a");
  m_frame->SwitchPane(1);
  const std::string path = m_folder.File("out.csv");
  CExportDlg::SetModalHook([&](CExportDlg& dialog) {
    dialog.SetChosenFile(FromUtf8(path), 0);
    return static_cast<int>(wxID_OK);
  });
  wxCommandEvent saveAs(wxEVT_MENU, res::ToWxId(res::ID_FILE_SAVE_AS));
  m_frame->ProcessWindowEvent(saveAs);
  CExportDlg::SetModalHook({});
  EXPECT_EQ(ReadFile(path), "  ,a,b\n1,x,1\n2,y,2\n3,z,");
  EXPECT_NE(NewTrace().find("Exporting results ...\r\n"), std::string::npos);
}

TEST_F(GridOutputTest, CancelDuringAMillionRowFillLeavesAConsistentGrid) {
  m_frame->QueryView()->SetQueryText(FromUtf8(kMillionRows));
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return Grid() != nullptr && m_frame->Session().IsExecuting() && Grid()->IsFilling(); }));
  Pump(300);
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 10000));
  const std::string trace = NewTrace();
  EXPECT_TRUE(trace.ends_with("Query canceled.\r\n\r\n")) << trace;
  EXPECT_EQ(trace.find("row(s) affected"), std::string::npos);
  // Every row the grid keeps is complete and numbered in order.
  ASSERT_FALSE(Grid()->IsFilling());
  const int rows = Grid()->GetRowCount();
  ASSERT_GE(rows, 1);
  ASSERT_LT(rows, 1000001);
  for (int row = 1; row < rows; row += std::max(1, rows / 50)) {
    EXPECT_EQ(Cell(row, 0), std::to_string(row));
    EXPECT_EQ(Cell(row, 2), "row " + std::to_string(row));
  }
  // The grid works on afterwards.
  Run("select a from t");
  EXPECT_EQ(Grid()->GetRowCount(), 4);
}

TEST_F(GridOutputTest, InputDuringAFillNeitherCrashesNorCorrupts) {
  Run("select a from t");  // the grid exists and is shown
  m_frame->QueryView()->SetQueryText(FromUtf8(kMillionRows));
  m_frame->Execute();
  m_frame->SwitchPane(1);
  ASSERT_TRUE(PumpUntil([&] { return m_frame->Session().IsExecuting() && Grid()->IsFilling(); }));
  EXPECT_FALSE(m_frame->ResultView()->IsEditCommandEnabled(57642));
  EXPECT_FALSE(m_frame->ResultView()->CanExport());
  wxUIActionSimulator simulator;
  const wxPoint origin = Grid()->GetScreenPosition();
  for (int i = 0; i < 20 && m_frame->Session().IsExecuting(); ++i) {
    simulator.MouseMove(origin + wxPoint(60 + i * 7, 12 + (i % 5) * 20));
    simulator.MouseClick();
    simulator.Char(WXK_DOWN);
    simulator.Char(WXK_PAGEDOWN);
    Grid()->Refresh();
    Pump(10);
  }
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 300000));
  Pump(200);
  ASSERT_EQ(Grid()->GetRowCount(), 1000001);
  // A click that reaches a header once the fill is over sorts the rows, so
  // check that every row is whole rather than where it stands.
  for (int row = 1; row <= 1000000; row += 9973) {
    const std::string x = Cell(row, 1);
    ASSERT_FALSE(x.empty()) << row;
    EXPECT_EQ(Cell(row, 2), "row " + x) << row;
    EXPECT_EQ(Cell(row, 3), std::to_string(2 * std::stol(x))) << row;
  }
}

TEST_F(GridOutputTest, TimerReportsTheRowsOfAGridBeingFilled) {
  m_frame->QueryView()->SetQueryText(FromUtf8(kMillionRows));
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 300000));
  const std::string trace = NewTrace();
  if (trace.find("Timer: ") == std::string::npos) GTEST_SKIP() << "the fill took under a second";
  EXPECT_NE(trace.find("Results: "), std::string::npos) << trace;
  EXPECT_NE(trace.find(" col(s)\r\n"), std::string::npos);
}

// A run that returns nothing shows nothing of the run before it: no text,
// no selection, scrolled to the top.
TEST_F(GridOutputTest, AnEmptyResultShowsNoRowsOfTheRunBefore) {
  Run("with recursive c(x) as (select 1 union all select x + 1 from c where x < 500) "
      "select x, 'a long old value that makes its column wide ' || x, x from c");
  m_frame->SwitchPane(1);
  Grid()->OnEditSelectAll();
  Grid()->OnVScroll(CGridCtrl::SB_BOTTOM, 0);
  ASSERT_GT(Grid()->GetScrollPos32(wxVERTICAL), 0);
  const int wideColumn = Grid()->GetColumnWidth(2);
  Run("select a, b, a as c from t where 0");
  // Sized to the new header, not to the old values.
  EXPECT_LT(Grid()->GetColumnWidth(2), wideColumn / 2);
  ASSERT_EQ(Grid()->GetRowCount(), 100);
  for (int row = 1; row < 100; ++row)
    for (int col = 0; col < Grid()->GetColumnCount(); ++col) ASSERT_EQ(Cell(row, col), "") << row << "," << col;
  EXPECT_EQ(Grid()->GetSelectedCount(), 0);
  EXPECT_EQ(Grid()->GetScrollPos32(wxVERTICAL), 0);
  EXPECT_EQ(Cell(0, 1), "a");
}

// Go To and the Font command would move the focus cell or change the fonts
// of cells the fill is writing.
TEST_F(GridOutputTest, GoToAndFontWaitForTheFillToEnd) {
  Run("select a from t");
  m_frame->QueryView()->SetQueryText(FromUtf8(kMillionRows));
  m_frame->Execute();
  m_frame->SwitchPane(1);
  ASSERT_TRUE(PumpUntil([&] { return m_frame->Session().IsExecuting() && Grid()->IsFilling(); }));
  EXPECT_FALSE(m_frame->IsCommandEnabled(res::ID_EDIT_GOTO));
  EXPECT_FALSE(m_frame->IsCommandEnabled(res::ID_VIEW_FONT));
  m_frame->RequestCancel();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 10000));
  EXPECT_TRUE(m_frame->IsCommandEnabled(res::ID_EDIT_GOTO));
  EXPECT_TRUE(m_frame->IsCommandEnabled(res::ID_VIEW_FONT));
}

// Closing during a fill gives up on the fill's end; when the user then keeps
// the window open, the grid must not stay in its filling state.
TEST_F(GridOutputTest, ClosingDuringAFillThenStayingLeavesAWorkingGrid) {
  Run("select a from t");
  m_frame->QueryView()->SetQueryText(FromUtf8(kMillionRows));
  m_frame->QueryView()->GetEdit()->MarkDirty();  // a changed document asks before closing
  m_frame->Execute();
  ASSERT_TRUE(PumpUntil([&] { return m_frame->Session().IsExecuting() && Grid()->IsFilling(); }));
  m_ui.answer = kIdCancel;  // "Save changes?" (and "Cancel the query?" below) answered
  m_frame->RequestCancel();
  m_frame->Close();
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 10000));
  EXPECT_FALSE(Grid()->IsFilling());
  m_frame->SwitchPane(1);
  EXPECT_TRUE(m_frame->ResultView()->IsEditCommandEnabled(57642));  // Select All
  EXPECT_TRUE(m_frame->ResultView()->CanExport());
}

class ScriptedGridTest : public FrameTest {};

TEST_F(ScriptedGridTest, TwoResultSetsLeaveTheSecondInTheGrid) {
  DriverScript script;
  script.Dbms("SQL Server")
      .Statement("exec both")
      .Result({{"id", SQL_INTEGER, 10}})
      .Row({"1"})
      .Row({"2"})
      .Result({{"name", SQL_VARCHAR, 10}, {"n", SQL_INTEGER, 10}})
      .Row({"x", "9"});
  const std::string scriptPath = m_folder.File("script.txt");
  script.Save(scriptPath);
  ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(scriptPath)));
  Run("exec both");
  CGridCtrl* grid = m_frame->ResultView()->GetGrid();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->GetRowCount(), 2);
  EXPECT_EQ(grid->GetColumnCount(), 3);
  EXPECT_EQ(ToUtf8(grid->GetCellText(0, 1)), "name");
  EXPECT_EQ(ToUtf8(grid->GetCellText(1, 2)), "9");
}

}  // namespace
}  // namespace dossel::test
