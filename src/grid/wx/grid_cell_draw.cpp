// CGridCtrl: drawing and measuring a cell (UI thread only).

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>

#include <algorithm>
#include <memory>

#include "grid/grid_cell.h"
#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "platform/wx/wx_text.h"

namespace dossel {

namespace {

// Restores what Draw changes on the context.
class DcStateSaver {
 public:
  explicit DcStateSaver(wxDC& dc)
      : m_dc(dc),
        m_font(dc.GetFont()),
        m_pen(dc.GetPen()),
        m_brush(dc.GetBrush()),
        m_text(dc.GetTextForeground()),
        m_mode(dc.GetBackgroundMode()) {}
  ~DcStateSaver() {
    if (m_font.IsOk()) m_dc.SetFont(m_font);
    m_dc.SetPen(m_pen.IsOk() ? m_pen : wxNullPen);
    m_dc.SetBrush(m_brush.IsOk() ? m_brush : wxNullBrush);
    m_dc.SetTextForeground(m_text);
    m_dc.SetBackgroundMode(m_mode);
  }

 private:
  wxDC& m_dc;
  wxFont m_font;
  wxPen m_pen;
  wxBrush m_brush;
  wxColour m_text;
  int m_mode;
};

void FillRect(wxDC& dc, const GridRect& r, GridColour colour) {
  if (r.IsEmpty()) return;
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWxColour(colour)));
  dc.DrawRectangle(ToWxRect(r));
}

void FrameRect(wxDC& dc, const GridRect& r, GridColour colour) {
  if (r.IsEmpty()) return;
  dc.SetPen(wxPen(ToWxColour(colour), 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(ToWxRect(r));
}

void Grow(GridRect& r, int32_t right, int32_t bottom) {
  r.right += right;
  r.bottom += bottom;
}

// Header look: sunken for the focus cell's row and column, raised otherwise.
void DrawFixedEdge(wxDC& dc, GridRect& rect, bool sunken) {
  if (sunken) {
    GridRect edge = rect;
    Grow(edge, 1, 1);
    dc.SetPen(wxPen(ToWxColour(GetGridSysColour(COLOR_BTNSHADOW)), 1));
    dc.DrawLine(edge.left, edge.bottom - 1, edge.left, edge.top);
    dc.DrawLine(edge.left, edge.top, edge.right, edge.top);
    dc.SetPen(wxPen(ToWxColour(GetGridSysColour(COLOR_BTNHIGHLIGHT)), 1));
    dc.DrawLine(edge.left, edge.bottom - 1, edge.right - 1, edge.bottom - 1);
    dc.DrawLine(edge.right - 1, edge.bottom - 1, edge.right - 1, edge.top);
  } else {
    dc.SetPen(wxPen(ToWxColour(GetGridSysColour(COLOR_BTNHIGHLIGHT)), 1));
    dc.DrawLine(rect.right, rect.top, rect.left, rect.top);
    dc.DrawLine(rect.left, rect.top, rect.left, rect.bottom);
    dc.SetPen(wxPen(ToWxColour(GetGridSysColour(COLOR_3DDKSHADOW)), 1));
    dc.DrawLine(rect.right, rect.top, rect.right, rect.bottom);
    dc.DrawLine(rect.right, rect.bottom, rect.left, rect.bottom);
  }
  rect.left += 1;
  rect.top += 1;
  rect.right -= 1;
  rect.bottom -= 1;
}

// The sort arrow in the box (left, top, size): pointing up when ascending.
void DrawSortArrow(wxDC& dc, int32_t left, int32_t top, int32_t size, bool ascending) {
  auto triangle = [&](int32_t dx, int32_t dy, GridColour colour) {
    dc.SetPen(wxPen(ToWxColour(colour), 1));
    const int32_t l = left + dx, t = top + dy, mid = l + size / 2;
    if (ascending) {
      dc.DrawLine(l, t + size, mid, t);
      dc.DrawLine(mid, t, l + size, t + size);
      dc.DrawLine(l + size, t + size, l, t + size);
    } else {
      dc.DrawLine(l, t, mid, t + size);
      dc.DrawLine(mid, t + size, l + size, t);
      dc.DrawLine(l + size, t, l, t);
    }
  };
  triangle(1, 1, GetGridSysColour(COLOR_BTNHIGHLIGHT));
  triangle(0, 0, GetGridSysColour(COLOR_BTNSHADOW));
}

}  // namespace

bool CGridCtrl::DrawCell(wxDC& dc, CGridCellBase& cell, int32_t nRow, int32_t nCol, GridRect rect, bool bEraseBkgnd) {
  if (!cell.GetGrid() || rect.Width() <= 0 || rect.Height() <= 0) return false;
  DcStateSaver saver(dc);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  CGridDefaultCell* def = cell.GetDefaultCell();
  if (!def) return false;
  GridColour textClr = cell.GetTextClr() == kClrDefault ? def->GetTextClr() : cell.GetTextClr();
  GridColour backClr = cell.GetBackClr();
  if (backClr == kClrDefault)
    backClr = def->GetBackClr();
  else
    bEraseBkgnd = true;
  const int32_t gridLines = m_nGridLines;
  if (cell.IsFocused() || cell.IsDropHighlighted()) {
    if (cell.IsSelected()) {
      backClr = GetGridSysColour(COLOR_HIGHLIGHT);
      textClr = GetGridSysColour(COLOR_HIGHLIGHTTEXT);
      bEraseBkgnd = true;
    }
    Grow(rect, 1, 1);
    if (bEraseBkgnd) FillRect(dc, rect, backClr);
    if (gridLines != GVL_NONE) Grow(rect, -1, -1);
    if (m_bFrameFocus) FrameRect(dc, rect, textClr);
    if (gridLines == GVL_NONE) Grow(rect, -1, -1);
  } else if (cell.IsSelected()) {
    Grow(rect, 1, 1);
    FillRect(dc, rect, GetGridSysColour(COLOR_HIGHLIGHT));
    Grow(rect, -1, -1);
    textClr = GetGridSysColour(COLOR_HIGHLIGHTTEXT);
  } else if (bEraseBkgnd) {
    Grow(rect, 1, 1);
    FillRect(dc, rect, backClr);
    Grow(rect, -1, -1);
  }
  dc.SetTextForeground(ToWxColour(textClr));
  if (cell.IsFixed() && gridLines != GVL_NONE) {
    const CellId focus = GetFocusCell();
    const bool sunken = m_bTrackFocusCell && IsShownCell(focus) && (focus.row == nRow || focus.col == nCol);
    DrawFixedEdge(dc, rect, sunken);
  }
  const wxFont* font = GetCellFontObject(cell);
  if (font && font->IsOk()) dc.SetFont(*font);
  rect = GridTextArea(rect, cell.GetMargin());
  if (nRow == 0 && nCol == GetSortColumn()) {
    const bool vertical = cell.GetFont() && cell.GetFont()->lfEscapement == 900;
    int32_t size = dc.GetTextExtent(wxT("M")).GetHeight() - 4;
    size = std::min(size, rect.Height() - 4);
    if (size > 0 && size + rect.left < rect.right) {
      const int32_t top = rect.bottom - 2 - size;
      const int32_t left = vertical ? (rect.right + rect.left - size) / 2 : rect.right - size;
      DrawSortArrow(dc, left, top, size, GetSortAscending());
      if (!vertical) rect.right -= size;
    }
  }
  cell.GetTextRect(&rect);
  Grow(rect, 1, 1);
  GridDrawText(dc, cell.GetText(), &rect, cell.GetFormat() | DT_NOPREFIX);
  return true;
}

GridSize CGridCtrl::GetTextExtent(const CGridCellBase& cell, TStringView text, wxDC* pDC) {
  const CGridDefaultCell* def = cell.GetDefaultCell();
  std::unique_ptr<wxDC> borrowed;
  if (!pDC && !text.empty() && GridHasDisplay()) {
    if (GetHandle())
      borrowed = std::make_unique<wxClientDC>(this);
    else
      borrowed = std::make_unique<wxScreenDC>();
    pDC = borrowed.get();
  }
  if (!pDC || text.empty()) return def ? GridSize{def->GetWidth(), def->GetHeight()} : GridSize{};
  wxDC& dc = *pDC;
  const wxFont oldFont = dc.GetFont();
  const wxFont* font = GetCellFontObject(cell);
  if (font && font->IsOk()) dc.SetFont(*font);
  GridSize size;
  const uint32_t format = cell.GetFormat();
  if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
    wxCoord w = 0, h = 0;
    dc.GetMultiLineTextExtent(ToWx(text), &w, &h);
    size = GridSize{w, h};
  } else {
    // Measured as drawn: a single-line cell shows its line breaks as blanks
    // on one line (GTK would measure them as several lines).
    const wxString str = (format & DT_SINGLELINE) ? GridSingleLineText(text) : ToWx(text);
    const wxSize ext = dc.GetTextExtent(str);
    size = GridSize{ext.GetWidth(), ext.GetHeight()};
  }
  if (oldFont.IsOk()) dc.SetFont(oldFont);
  const int32_t margin = static_cast<int32_t>(cell.GetMargin());
  size.cx += 2 * margin;
  size.cy += 2 * margin;
  const GridLogFont* lf = cell.GetFont();
  if (lf && (lf->lfEscapement == 900 || lf->lfEscapement == -900)) {
    std::swap(size.cx, size.cy);
    size.cy += 4 * margin;
  }
  return size;
}

GridSize CGridCtrl::GetCellExtent(const CGridCellBase& cell, wxDC* pDC) {
  GridSize size = GetTextExtent(cell, cell.GetText(), pDC);
  size.cx += 1;
  size.cy += 1;
  if (cell.IsFixed()) {
    size.cx += 1;
    size.cy += 1;
  }
  return size;
}

}  // namespace dossel
