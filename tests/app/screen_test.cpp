// The program as a user sees it: the sample database queried into the grid.
// With DOSSEL_SCREENSHOT_DIR set, the screen is saved there for a person to
// look at.

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "frame_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "screenshot.h"

namespace dossel::test {
namespace {

void SaveScreen(wxWindow& window, const std::string& name) {
  const char* folder = std::getenv("DOSSEL_SCREENSHOT_DIR");
  if (!folder) return;
  window.Refresh();
  window.Update();
  Pump(300);
  // The X server's own picture of the window, as a person would see it.
  EXPECT_TRUE(SaveWindowPicture(window, std::string(folder) + "/" + name + ".png"));
}

std::string SampleQuery(const std::string& file) {
  std::string path = DOSSEL_SAMPLES_DIR;
  path += '/';
  path += file;
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(FrameTest, SampleDatabaseQueriedIntoTheGrid) {
  ASSERT_FALSE(SampleDatabasePath().empty());
  m_frame->SetSize(1000, 700);
  ASSERT_TRUE(ConnectTo("DSN=Sample;Database=" + SampleDatabasePath() + ";Timeout=1000;StepAPI=0"));
  Run(SampleQuery("best_orders.sql"));
  CGridCtrl* grid = m_frame->ResultView()->GetGrid();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->GetRowCount(), 21);
  EXPECT_EQ(ToUtf8(grid->GetCellText(0, 2)), "customer");
  SaveScreen(*m_frame, "result-grid");
  m_frame->SwitchPane(2);
  SaveScreen(*m_frame, "trace");
  m_frame->SwitchPane(0);
  SaveScreen(*m_frame, "query");
}

}  // namespace
}  // namespace dossel::test
