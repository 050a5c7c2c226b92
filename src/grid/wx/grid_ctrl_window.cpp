// CGridCtrl: the window itself, its event table, redraw control and the
// messages that are not about painting or scrolling.

#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid/wx/grid_text_measure.h"

namespace dossel {

namespace {

// Ignores a size event that arrives while one is being handled.
bool s_bInSize = false;

int ScrollCodeOf(wxEventType type) {
  if (type == wxEVT_SCROLL_LINEUP) return CGridCtrl::SB_LINEUP;
  if (type == wxEVT_SCROLL_LINEDOWN) return CGridCtrl::SB_LINEDOWN;
  if (type == wxEVT_SCROLL_PAGEUP) return CGridCtrl::SB_PAGEUP;
  if (type == wxEVT_SCROLL_PAGEDOWN) return CGridCtrl::SB_PAGEDOWN;
  if (type == wxEVT_SCROLL_THUMBTRACK) return CGridCtrl::SB_THUMBTRACK;
  if (type == wxEVT_SCROLL_THUMBRELEASE) return CGridCtrl::SB_THUMBPOSITION;
  if (type == wxEVT_SCROLL_TOP) return CGridCtrl::SB_TOP;
  if (type == wxEVT_SCROLL_BOTTOM) return CGridCtrl::SB_BOTTOM;
  if (type == wxEVT_SCROLL_CHANGED) return CGridCtrl::SB_THUMBPOSITION;
  return CGridCtrl::SB_ENDSCROLL;
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CGridCtrl, wxWindow)
  EVT_PAINT(CGridCtrl::OnPaint)
  EVT_ERASE_BACKGROUND(CGridCtrl::OnEraseBackground)
  EVT_SIZE(CGridCtrl::OnSize)
  EVT_SCROLL(CGridCtrl::OnScrollBar)
  EVT_MOUSEWHEEL(CGridCtrl::OnMouseWheel)
  EVT_SET_CURSOR(CGridCtrl::OnSetCursor)
  EVT_MOTION(CGridCtrl::OnMouseMove)
  EVT_LEFT_DOWN(CGridCtrl::OnLeftDown)
  EVT_LEFT_UP(CGridCtrl::OnLeftUp)
  EVT_LEFT_DCLICK(CGridCtrl::OnLeftDClick)
  EVT_RIGHT_DOWN(CGridCtrl::OnRightDown)
  EVT_RIGHT_UP(CGridCtrl::OnRightUp)
  EVT_MOUSE_CAPTURE_LOST(CGridCtrl::OnCaptureLost)
  EVT_KEY_DOWN(CGridCtrl::OnKeyDown)
  EVT_CHAR(CGridCtrl::OnChar)
  EVT_SYS_COLOUR_CHANGED(CGridCtrl::OnSysColourChanged)
  EVT_TIMER(CGridCtrl::kSelectTimerId, CGridCtrl::OnSelectTimer)
  EVT_TIMER(wxID_ANY, CGridCtrl::OnFillTimer)
wxEND_EVENT_TABLE()
    // clang-format on

    bool CGridCtrl::Create(const wxRect& rect, wxWindow* pParent, int nID, long dwStyle) {
  if (!wxWindow::Create(pParent, nID, rect.GetPosition(), rect.GetSize(), dwStyle, wxT("DosselGridCtrl"))) return false;
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  m_pHScroll = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_HORIZONTAL);
  m_pVScroll = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
  m_pHScroll->Hide();
  m_pVScroll->Hide();
  const CGridDefaultCell* def = GetDefaultCell(false, false);
  for (int32_t row = 0; row < GetRowCount(); ++row) m_store.SetRowHeight(row, def->GetHeight());
  for (int32_t col = 0; col < GetColumnCount(); ++col) m_store.SetColumnWidth(col, def->GetWidth());
  ResetScrollBars();
  return true;
}

void CGridCtrl::RepaintGrid() {
  if (HasDrawingWindow()) Refresh(false);
}

bool CGridCtrl::RedrawCell(int32_t nRow, int32_t nCol, wxDC* pDC) {
  if (!HasDrawingWindow() || !IsCellVisible(nRow, nCol)) return false;
  GridRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return false;
  if (!pDC) {
    // Painting happens in the paint handler; the cell's area is queued for it.
    RefreshRect(wxRect(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1), false);
    return true;
  }
  CGridCellBase* cell = PeekCell(nRow, nCol);
  if (!cell) return false;
  const bool result = DrawCell(*pDC, *cell, nRow, nCol, rect, true);
  if (nRow >= ShownFixedRows() && nCol >= ShownFixedCols()) {
    pDC->SetPen(wxPen(ToWxColour(m_crGridLineColour), 1));
    if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH)
      pDC->DrawLine(rect.left, rect.bottom, rect.right + 1, rect.bottom);
    if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH)
      pDC->DrawLine(rect.right, rect.top, rect.right, rect.bottom + 1);
    pDC->SetPen(wxNullPen);
  }
  return result;
}

bool CGridCtrl::RedrawRow(int32_t row) {
  bool result = true;
  for (int32_t col = 0; col < ShownCols(); ++col) result = RedrawCell(row, col) && result;
  return result;
}

bool CGridCtrl::RedrawColumn(int32_t col) {
  bool result = true;
  for (int32_t row = 0; row < ShownRows(); ++row) result = RedrawCell(row, col) && result;
  return result;
}

bool CGridCtrl::InvalidateCellRect(const CellId& cell) {
  if (!HasDrawingWindow() || !IsShownCell(cell) || !IsCellVisible(cell.row, cell.col)) return false;
  GridRect rect;
  if (!GetCellRect(cell.row, cell.col, &rect)) return false;
  RefreshRect(wxRect(rect.left, rect.top, rect.Width() + 2, rect.Height() + 2), false);
  return true;
}

bool CGridCtrl::InvalidateCellRect(const CellRange& cellRange) {
  if (!HasDrawingWindow()) return false;
  const CellRange visible = GetVisibleScrolledRange();
  CellRange range(std::max(cellRange.minRow, visible.minRow), std::max(cellRange.minCol, visible.minCol),
                  std::min(cellRange.maxRow, visible.maxRow), std::min(cellRange.maxCol, visible.maxCol));
  GridRect rect;
  if (!GetCellRangeRect(range, &rect)) return false;
  RefreshRect(wxRect(rect.left, rect.top, rect.Width() + 2, rect.Height() + 2), false);
  return true;
}

intptr_t CGridCtrl::NotifyOwner(int32_t nRow, int32_t nCol, int32_t nCode, GridItem* pItem, const CellRange* pRange) {
  if (!GetHandle() || !GridHasDisplay()) return 0;
  wxWindow* owner = GetParent();
  if (!owner) return 0;
  GridNotifyEvent event(wxEVT_GRID_NOTIFY, GetId(), nCode, nRow, nCol);
  event.SetEventObject(this);
  event.m_pItem = pItem;
  if (pRange) event.m_range = *pRange;
  owner->GetEventHandler()->ProcessEvent(event);
  return event.GetResult();
}

// ---- fonts and colours ----

void CGridCtrl::MeasureDefaultCell(CGridDefaultCell& cell) {
  if (!GridHasDisplay()) return;
  const wxFont* font = GetCellFontObject(cell);
  if (!font || !font->IsOk()) return;
  wxScreenDC dc;
  dc.SetFont(*font);
  const int margin = dc.GetTextExtent(wxT(" ")).GetWidth();
  const wxSize size = dc.GetTextExtent(wxT(" XXXXXXXXXXXX "));
  cell.SetMeasuredSize(GridSize{size.GetWidth(), size.GetHeight() * 3 / 2}, static_cast<uint32_t>(margin));
}

const wxFont* CGridCtrl::GetCellFontObject(const CGridCellBase& cell) const {
  const GridLogFont* lf = cell.GetFont();
  if (!lf) return nullptr;
  if (!cell.IsDefaultFont()) {
    m_pCellFont = std::make_unique<wxFont>(ToWxFont(*lf));
    return m_pCellFont.get();
  }
  for (const auto& entry : m_fonts)
    if (entry.first == *lf) return entry.second.get();
  m_fonts.emplace_back(*lf, std::make_unique<wxFont>(ToWxFont(*lf)));
  return m_fonts.back().second.get();
}

const wxFont* CGridCtrl::GetGridFont() const { return GetCellFontObject(*GetDefaultCell(false, false)); }

void CGridCtrl::SetGridFont(const GridLogFont& lf) {
  m_fonts.clear();
  for (bool fixedRow : {false, true}) {
    for (bool fixedCol : {false, true}) {
      CGridDefaultCell* cell = GetDefaultCell(fixedRow, fixedCol);
      cell->SetFont(&lf);
      MeasureDefaultCell(*cell);
    }
  }
  // A font set again may be set up differently now (system font settings).
  if (m_pTextMeasure) m_pTextMeasure->Clear();
  RepaintGrid();
}

bool CGridCtrl::SetFont(const wxFont& font) {
  const bool changed = wxWindow::SetFont(font);
  if (font.IsOk()) SetGridFont(FromWxFont(font));
  return changed;
}

void CGridCtrl::OnSysColourChange() {
  if (m_pTextMeasure) m_pTextMeasure->Clear();
  const GridColour windowText = GetGridSysColour(COLOR_WINDOWTEXT);
  const GridColour window = GetGridSysColour(COLOR_WINDOW);
  for (bool fixedRow : {false, true}) {
    for (bool fixedCol : {false, true}) {
      CGridDefaultCell* cell = GetDefaultCell(fixedRow, fixedCol);
      if (cell->GetTextClr() == m_crWindowText) cell->SetTextClr(windowText);
      if (cell->GetBackClr() == m_crWindowColour) cell->SetBackClr(window);
    }
  }
  if (m_crGridBkColour == m_crShadow) m_crGridBkColour = GetGridSysColour(COLOR_BTNSHADOW);
  m_crWindowText = windowText;
  m_crWindowColour = window;
  m_cr3DFace = GetGridSysColour(COLOR_BTNFACE);
  m_crShadow = GetGridSysColour(COLOR_BTNSHADOW);
}

void CGridCtrl::SetGridLines(int32_t nWhichLines) {
  m_nGridLines = nWhichLines;
  RepaintGrid();
}

// ---- event handlers ----

void CGridCtrl::OnEraseBackground(wxEraseEvent&) {}

void CGridCtrl::OnSize(wxSizeEvent& event) {
  event.Skip();
  if (s_bInSize) return;
  s_bInSize = true;
  // Layouts send sizes that change nothing; only a real change ends an edit.
  if (event.GetSize() != m_lastSize) StopEditing();
  m_lastSize = event.GetSize();
  ResetScrollBars();
  s_bInSize = false;
}

void CGridCtrl::OnScrollBar(wxScrollEvent& event) {
  const int code = ScrollCodeOf(event.GetEventType());
  if (code == SB_ENDSCROLL) return;
  ScrollTo(event.GetOrientation(), code, event.GetPosition());
  // The control may have moved its thumb itself; show the grid's position.
  SetScrollPos32(event.GetOrientation(), GetScrollPos32(event.GetOrientation()));
}

void CGridCtrl::OnMouseWheel(wxMouseEvent& event) {
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return;
  const int delta = event.GetWheelDelta() > 0 ? event.GetWheelRotation() * 120 / event.GetWheelDelta() : 0;
  OnMouseWheelDelta(delta);
}

void CGridCtrl::OnSetCursor(wxSetCursorEvent& event) {
  if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_SIZING_COL) {
    event.SetCursor(wxCursor(wxCURSOR_SIZEWE));
    return;
  }
  if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE || m_MouseMode == MOUSE_SIZING_ROW) {
    event.SetCursor(wxCursor(wxCURSOR_SIZENS));
    return;
  }
  if (!GetVirtualMode()) {
    const CellId id = GetCellFromPoint(wxPoint(event.GetX(), event.GetY()));
    CGridCellBase* cell = IsShownCell(id) ? PeekCell(id.row, id.col) : nullptr;
    if (cell && cell->OnSetCursor()) {
      event.SetCursor(wxCursor(wxCURSOR_ARROW));
      return;
    }
  }
  event.SetCursor(wxCursor(wxCURSOR_ARROW));
}

void CGridCtrl::OnSysColourChanged(wxSysColourChangedEvent& event) {
  event.Skip();
  OnSysColourChange();
  RepaintGrid();
}

}  // namespace dossel
