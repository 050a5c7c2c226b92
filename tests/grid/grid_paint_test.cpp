// What the grid paints, checked pixel by pixel in an off-screen bitmap.

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <cstdlib>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"

namespace dossel {
namespace {

class GridPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, wxT("grid"), wxDefaultPosition, wxSize(600, 400));
    grid = new CGridCtrl(0, 0, 0, 0);
    ASSERT_TRUE(grid->Create(wxRect(0, 0, 500, 300), frame, 100));
    frame->Show();
    grid->SetSize(0, 0, 500, 300);
    grid->SetRowCount(6);
    grid->SetColumnCount(5);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int32_t col = 0; col < 5; ++col) grid->SetColumnWidth(col, 60);
  }
  void TearDown() override { frame->Destroy(); }

  wxImage Render() {
    const wxSize size = grid->GetClientSize();
    wxBitmap bitmap(size.GetWidth(), size.GetHeight(), 24);
    {
      wxMemoryDC dc(bitmap);
      grid->OnDraw(dc);
    }
    return bitmap.ConvertToImage();
  }
  static GridColour At(const wxImage& image, int x, int y) {
    return GridRgb(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
  }
  GridRect Rect(int32_t row, int32_t col) {
    GridRect rect;
    EXPECT_TRUE(grid->GetCellRect(row, col, &rect));
    return rect;
  }
  int DiffersInside(const wxImage& a, const wxImage& b, const GridRect& r) {
    int count = 0;
    for (int y = r.top; y <= r.bottom; ++y)
      for (int x = r.left; x <= r.right; ++x) count += At(a, x, y) != At(b, x, y);
    return count;
  }

  wxFrame* frame = nullptr;
  CGridCtrl* grid = nullptr;
};

TEST_F(GridPaintTest, GridLinesOnTheLastPixelOfEachColumnAndRow) {
  const wxImage image = Render();
  const GridColour line = grid->GetGridLineColour();
  const GridColour window = grid->GetDefaultCell(false, false)->GetBackClr();
  for (int32_t col = 1; col < 5; ++col) {
    const GridRect r = Rect(2, col);
    const int y = (r.top + r.bottom) / 2;
    EXPECT_EQ(At(image, r.right, y), line) << col;
    EXPECT_EQ(At(image, r.right - 1, y), window) << col;
    EXPECT_EQ(At(image, r.left + 1, r.bottom), line) << col;
    EXPECT_EQ(At(image, r.left + 1, r.bottom - 1), window) << col;
  }
  // Right of the last column lies the grid's own background.
  const GridRect last = Rect(2, 4);
  EXPECT_EQ(At(image, last.right + 2, last.top + 2), grid->GetGridBkColour());
}

TEST_F(GridPaintTest, SortArrowOnlyWhenItFits) {
  grid->SetColumnWidth(2, 120);
  const wxImage plain = Render();
  grid->SetSortColumn(2);
  grid->SetSortAscending(true);
  const wxImage up = Render();
  EXPECT_GT(DiffersInside(plain, up, Rect(0, 2)), 4);
  grid->SetSortAscending(false);
  const wxImage down = Render();
  EXPECT_GT(DiffersInside(up, down, Rect(0, 2)), 4);   // the arrow turns over
  EXPECT_EQ(DiffersInside(plain, up, Rect(1, 2)), 0);  // only the header shows it

  grid->SetSortColumn(-1);
  grid->SetColumnWidth(2, 9);
  const wxImage narrowPlain = Render();
  grid->SetSortColumn(2);
  EXPECT_EQ(DiffersInside(narrowPlain, Render(), Rect(0, 2)), 0);
}

TEST_F(GridPaintTest, HeadersOfTheFocusRowAndColumnAreSunken) {
  const GridColour highlight = GetGridSysColour(COLOR_BTNHIGHLIGHT);
  const GridColour shadow = GetGridSysColour(COLOR_BTNSHADOW);
  grid->SetFocusCell(2, 3);
  wxImage image = Render();
  // The top edge, one pixel in from the corner: dark when sunken, light when raised.
  auto topEdge = [&](const wxImage& img, int32_t row, int32_t col) {
    const GridRect r = Rect(row, col);
    return At(img, r.left + 1, r.top);
  };
  EXPECT_EQ(topEdge(image, 2, 0), shadow);
  EXPECT_EQ(topEdge(image, 3, 0), highlight);
  EXPECT_EQ(topEdge(image, 0, 3), shadow);
  EXPECT_EQ(topEdge(image, 0, 2), highlight);
  grid->SetTrackFocusCell(false);
  image = Render();
  EXPECT_EQ(topEdge(image, 2, 0), highlight);
}

TEST_F(GridPaintTest, ZeroWidthColumnIsNeverPainted) {
  const GridColour red = GridRgb(255, 0, 0);
  for (int32_t row = 1; row < 6; ++row) grid->SetCellBkColour(row, 2, red);
  grid->SetColumnWidth(2, 0);
  const wxImage image = Render();
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) ASSERT_NE(At(image, x, y), red) << x << "," << y;
  EXPECT_EQ(Rect(2, 3).left, Rect(2, 1).right + 1);

  // Selected and focused cells are drawn in the highlight colours.
  grid->SetSelectedRange(1, 3, 1, 3);
  const wxImage selected = Render();
  const GridRect r = Rect(1, 3);
  EXPECT_EQ(At(selected, r.left + 2, r.top + 2), GetGridSysColour(COLOR_HIGHLIGHT));

  if (const char* path = std::getenv("DOSSEL_GRID_SHOT")) {
    grid->SetColumnWidth(2, 60);
    grid->SetCellText(0, 1, DT("Name"));
    grid->SetCellText(1, 1, DT("A longer text that does not fit"));
    grid->SetSortColumn(1);
    grid->SetFocusCell(2, 1);
    Render().SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
  }
}

}  // namespace
}  // namespace dossel
