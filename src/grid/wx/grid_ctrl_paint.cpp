// CGridCtrl: painting. Four passes draw the fixed corner, the fixed columns,
// the fixed rows and the scrolled cells, each limited to the clip box, so
// the cost follows what is visible, never the row count.

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"

namespace dossel {

void CGridCtrl::OnPaint(wxPaintEvent&) {
  const wxRect box = GetUpdateRegion().GetBox();
  if (m_bDoubleBuffer) {
    wxBufferedPaintDC dc(this);
    dc.SetClippingRegion(box);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    OnDraw(dc);
    DrawSizingLine(dc);
  } else {
    wxPaintDC dc(this);
    OnDraw(dc);
    DrawSizingLine(dc);
  }
}

void CGridCtrl::EraseBackground(wxDC& dc, const GridRect& clip) {
  GridRect visRect;
  GetVisibleScrolledRange(&visRect);
  const int32_t fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  auto fill = [&dc](GridColour colour, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (right <= left || bottom <= top) return;
    dc.SetBrush(wxBrush(ToWxColour(colour)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(left, top, right - left, bottom - top);
  };
  if (clip.left < fixedWidth && clip.top < fixedHeight)
    fill(GetDefaultCell(true, true)->GetBackClr(), clip.left, clip.top, fixedWidth, fixedHeight);
  if (clip.left < fixedWidth && clip.top < visRect.bottom)
    fill(GetDefaultCell(false, true)->GetBackClr(), clip.left, clip.top, fixedWidth, visRect.bottom);
  if (clip.top < fixedHeight && clip.right > fixedWidth && clip.left < visRect.right)
    fill(GetDefaultCell(true, false)->GetBackClr(), fixedWidth - 1, clip.top, visRect.right, fixedHeight);
  fill(GetDefaultCell(false, false)->GetBackClr(), std::max({visRect.left, clip.left, fixedWidth}),
       std::max({visRect.top, clip.top, fixedHeight}), std::min(visRect.right, clip.right),
       std::min(visRect.bottom, clip.bottom));
  if (visRect.right < clip.right) fill(m_crGridBkColour, visRect.right, clip.top, clip.right, clip.bottom);
  if (visRect.bottom < clip.bottom && clip.left < visRect.right)
    fill(m_crGridBkColour, clip.left, visRect.bottom, visRect.right, clip.bottom);
  // The corner between the two scroll bars.
  const GridRect client = GetGridClientRect();
  const GridRect full = GetScrollBarlessRect();
  if (client.right < full.right && client.bottom < full.bottom)
    fill(m_cr3DFace, client.right, client.bottom, full.right, full.bottom);
}

void CGridCtrl::DrawCellPass(wxDC& dc, const GridRect& clip, int32_t rowFrom, int32_t rowTo, int32_t colFrom,
                             int32_t colTo, int32_t top, int32_t left, bool bClipTest) {
  GridRect rect;
  rect.bottom = top - 1;
  for (int32_t row = rowFrom; row <= rowTo; ++row) {
    const int32_t height = GetRowHeight(row);
    if (height <= 0) continue;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + height - 1;
    if (bClipTest && rect.top > clip.bottom) break;
    if (bClipTest && rect.bottom < clip.top) continue;
    rect.right = left - 1;
    for (int32_t col = colFrom; col <= colTo; ++col) {
      const int32_t width = GetColumnWidth(col);
      if (width <= 0) continue;
      rect.left = rect.right + 1;
      rect.right = rect.left + width - 1;
      if (bClipTest && rect.left > clip.right) break;
      if (bClipTest && rect.right < clip.left) continue;
      CGridCellBase* cell = PeekCell(row, col);
      if (!cell) continue;
      cell->SetCoords(row, col);
      DrawCell(dc, *cell, row, col, rect, false);
    }
  }
}

void CGridCtrl::DrawGridLines(wxDC& dc, const CellRange& visible, const GridRect& visRect) {
  const int32_t fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  dc.SetPen(wxPen(ToWxColour(m_crGridLineColour), 1));
  if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
    int32_t x = fixedWidth;
    for (int32_t col = visible.minCol; col <= visible.maxCol; ++col) {
      const int32_t width = GetColumnWidth(col);
      if (width <= 0) continue;
      x += width;
      dc.DrawLine(x - 1, fixedHeight, x - 1, visRect.bottom);
    }
  }
  if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
    int32_t y = fixedHeight;
    for (int32_t row = visible.minRow; row <= visible.maxRow; ++row) {
      const int32_t height = GetRowHeight(row);
      if (height <= 0) continue;
      y += height;
      dc.DrawLine(fixedWidth, y - 1, visRect.right, y - 1);
    }
  }
  dc.SetPen(wxNullPen);
}

void CGridCtrl::OnDraw(wxDC& dc) {
  if (!m_bAllowDraw) return;
  wxRect box;
  dc.GetClippingBox(box);
  if (box.IsEmpty()) box = wxRect(wxPoint(0, 0), dc.GetSize());
  if (box.IsEmpty()) return;
  const GridRect clip{box.GetLeft(), box.GetTop(), box.GetRight() + 1, box.GetBottom() + 1};
  EraseBackground(dc, clip);
  const int32_t fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  GetTopLeftScrolledCell();
  GridRect visRect;
  const CellRange visible = GetVisibleScrolledRange(&visRect);
  SendCacheHint(visible);
  // The clip tests use inclusive pixel bounds.
  const GridRect inclusive{clip.left, clip.top, clip.right - 1, clip.bottom - 1};
  DrawCellPass(dc, inclusive, 0, ShownFixedRows() - 1, 0, ShownFixedCols() - 1, 0, 0, false);
  DrawCellPass(dc, inclusive, visible.minRow, visible.maxRow, 0, ShownFixedCols() - 1, fixedHeight, 0, true);
  DrawCellPass(dc, inclusive, 0, ShownFixedRows() - 1, visible.minCol, visible.maxCol, 0, fixedWidth, true);
  DrawCellPass(dc, inclusive, visible.minRow, visible.maxRow, visible.minCol, visible.maxCol, fixedHeight, fixedWidth,
               true);
  if (m_nGridLines != GVL_NONE) DrawGridLines(dc, visible, visRect);
  if (GetVirtualMode()) SendCacheHint(CellRange());
}

}  // namespace dossel
