// CGridCtrl: scroll bars and scrolling. Positions are pixels of the scrolled
// area, kept here as 32-bit values; the two scroll-bar controls only show
// them. Line steps move by whole columns or rows and skip hidden ones.

#include <wx/scrolbar.h>
#include <wx/settings.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"

namespace dossel {

int32_t CGridCtrl::ScrollMaxPos(int nBar) const {
  const int32_t max = nBar == wxHORIZONTAL ? m_nHScrollMax : m_nVScrollMax;
  const int32_t page = nBar == wxHORIZONTAL ? m_nHScrollPage : m_nVScrollPage;
  if (max <= 0) return 0;
  return std::max(0, max - std::max(page, 1) + 1);
}

bool CGridCtrl::SetScrollPos32(int nBar, int32_t nPos, bool bRedraw) {
  nPos = std::clamp(nPos, 0, ScrollMaxPos(nBar));
  int32_t& pos = nBar == wxHORIZONTAL ? m_nHScrollPos : m_nVScrollPos;
  if (pos != nPos) {
    pos = nPos;
    m_idTopLeftCell.row = -1;
  }
  wxScrollBar* bar = nBar == wxHORIZONTAL ? m_pHScroll : m_pVScroll;
  if (bar && bRedraw && bar->GetThumbPosition() != nPos) bar->SetThumbPosition(nPos);
  return true;
}

GridRect CGridCtrl::GetScrollBarlessRect() const {
  GridRect rect;
  if (!GetHandle()) return rect;
  const wxSize size = GetClientSize();
  rect.right = size.GetWidth();
  rect.bottom = size.GetHeight();
  return rect;
}

void CGridCtrl::LayoutScrollBars() {
  if (!m_pHScroll || !m_pVScroll) return;
  const wxSize client = GetClientSize();
  const int vw = m_pVScroll->GetBestSize().GetWidth();
  const int hh = m_pHScroll->GetBestSize().GetHeight();
  const bool showH = (m_nBarState & 0x1) != 0, showV = (m_nBarState & 0x2) != 0;
  const int width = client.GetWidth() - (showV ? vw : 0);
  const int height = client.GetHeight() - (showH ? hh : 0);
  if (showH) m_pHScroll->SetSize(0, height, std::max(width, 1), hh);
  if (showV) m_pVScroll->SetSize(width, 0, vw, std::max(height, 1));
  m_pHScroll->Show(showH);
  m_pVScroll->Show(showV);
}

void CGridCtrl::ResetScrollBars() {
  m_idTopLeftCell.col = -1;
  if (!m_bAllowDraw || !GetHandle()) return;
  GridRect rect = GetScrollBarlessRect();
  if (rect.IsEmpty()) return;
  const int vw = m_pVScroll ? m_pVScroll->GetBestSize().GetWidth() : 0;
  const int hh = m_pHScroll ? m_pHScroll->GetBestSize().GetHeight() : 0;
  const int32_t fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  if (rect.right <= fixedWidth || rect.bottom <= fixedHeight) {
    m_nBarState = 0;
    m_nHScrollMax = m_nVScrollMax = m_nHScrollPage = m_nVScrollPage = 0;
    SetScrollPos32(wxHORIZONTAL, 0, false);
    SetScrollPos32(wxVERTICAL, 0, false);
    LayoutScrollBars();
    return;
  }
  GridRect visible{fixedWidth, fixedHeight, rect.right, rect.bottom};
  const int32_t virtualWidth = GetVirtualWidth(), virtualHeight = GetVirtualHeight();
  if (visible.bottom < virtualHeight) visible.right -= vw;
  if (visible.right < virtualWidth) visible.bottom -= hh;
  // Showing the horizontal bar may now hide the last rows too.
  if (visible.bottom < virtualHeight && visible.right == rect.right) visible.right -= vw;
  m_nBarState = 0;
  m_nVScrollMax = 0;
  m_nHScrollMax = 0;
  if (visible.bottom < virtualHeight) {
    m_nBarState |= 0x2;
    m_nVScrollMax = virtualHeight - fixedHeight - 1;
  }
  if (visible.right < virtualWidth) {
    m_nBarState |= 0x1;
    m_nHScrollMax = virtualWidth - fixedWidth - 1;
  }
  m_nHScrollPage = m_nHScrollMax > 0 ? std::max(visible.right - fixedWidth, 1) : 0;
  m_nVScrollPage = m_nVScrollMax > 0 ? std::max(visible.bottom - fixedHeight, 1) : 0;
  if (m_pHScroll) m_pHScroll->SetScrollbar(0, m_nHScrollPage, m_nHScrollMax + 1, m_nHScrollPage, false);
  if (m_pVScroll) m_pVScroll->SetScrollbar(0, m_nVScrollPage, m_nVScrollMax + 1, m_nVScrollPage, false);
  // Keep the positions inside the new ranges.
  const int32_t h = m_nHScrollPos, v = m_nVScrollPos;
  m_nHScrollPos = m_nVScrollPos = -1;
  SetScrollPos32(wxHORIZONTAL, h);
  SetScrollPos32(wxVERTICAL, v);
  LayoutScrollBars();
}

void CGridCtrl::InvalidateScrolledArea(int nBar) {
  if (!HasDrawingWindow()) return;
  const GridRect client = GetGridClientRect();
  if (nBar == wxHORIZONTAL) {
    const int32_t left = GetFixedColumnWidth();
    RefreshRect(wxRect(left, 0, std::max(client.right - left, 0), client.bottom));
  } else {
    const int32_t top = GetFixedRowHeight();
    RefreshRect(wxRect(0, top, client.right, std::max(client.bottom - top, 0)));
  }
}

void CGridCtrl::ScrollLine(int nBar, bool bForward) {
  const bool horz = nBar == wxHORIZONTAL;
  const int32_t pos = GetScrollPos32(nBar);
  const int32_t max = GetScrollMax32(nBar);
  const CellId topLeft = GetTopLeftScrolledCell();
  const int32_t count = horz ? ShownCols() : ShownRows();
  const int32_t first = horz ? ShownFixedCols() : ShownFixedRows();
  auto size = [&](int32_t i) { return horz ? GetColumnWidth(i) : GetRowHeight(i); };
  int32_t index = horz ? topLeft.col : topLeft.row;
  if (bForward) {
    if (pos >= max) return;
    while (index < count - 1 && size(index) == 0) ++index;
    SetScrollPos32(nBar, pos + std::max(size(index), 0));
  } else {
    if (pos <= 0 || index <= first) return;
    --index;
    while (index > first && size(index) == 0) --index;
    SetScrollPos32(nBar, std::max(0, pos - std::max(size(index), 0)));
  }
  if (GetScrollPos32(nBar) != pos) InvalidateScrolledArea(nBar);
}

void CGridCtrl::ScrollTo(int nBar, int nSBCode, int32_t nTrackPos) {
  StopEditing();
  HideTitleTip();
  const bool horz = nBar == wxHORIZONTAL;
  const int32_t pos = GetScrollPos32(nBar);
  const int32_t max = GetScrollMax32(nBar);
  const GridRect client = GetGridClientRect();
  const int32_t page = horz ? client.right - GetFixedColumnWidth() : client.bottom - GetFixedRowHeight();
  switch (nSBCode) {
    case SB_LINEDOWN:
    case SB_LINEUP:
      ScrollLine(nBar, nSBCode == SB_LINEDOWN);
      return;
    case SB_PAGEDOWN:
      if (pos >= max) return;
      SetScrollPos32(nBar, std::min(max, pos + page));
      break;
    case SB_PAGEUP:
      if (pos <= 0) return;
      SetScrollPos32(nBar, std::max(0, pos - page));
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      const CellId before = GetTopLeftScrolledCell();
      SetScrollPos32(nBar, nTrackPos);
      const CellId after = GetTopLeftScrolledCell();
      if (after != before) InvalidateScrolledArea(nBar);
      return;
    }
    case SB_TOP:
      if (pos <= 0) return;
      SetScrollPos32(nBar, 0);
      if (HasDrawingWindow()) Refresh(false);
      return;
    case SB_BOTTOM:
      if (pos >= max) return;
      SetScrollPos32(nBar, max);
      if (HasDrawingWindow()) Refresh(false);
      return;
    default:
      return;
  }
  if (GetScrollPos32(nBar) != pos) InvalidateScrolledArea(nBar);
}

void CGridCtrl::OnHScroll(int nSBCode, int32_t nPos) { ScrollTo(wxHORIZONTAL, nSBCode, nPos); }

void CGridCtrl::OnVScroll(int nSBCode, int32_t nPos) { ScrollTo(wxVERTICAL, nSBCode, nPos); }

void CGridCtrl::OnMouseWheelDelta(int zDelta) {
  // What a turn leaves over (a touchpad sends a notch in many small parts)
  // is kept for the next one in the same direction.
  const int64_t perNotch = m_nRowsPerWheelNotch == -1 ? 1 : m_nRowsPerWheelNotch;
  int64_t units = perNotch * zDelta;
  if ((units > 0 && m_nWheelRemainder > 0) || (units < 0 && m_nWheelRemainder < 0)) units += m_nWheelRemainder;
  const int64_t steps = units / 120;
  m_nWheelRemainder = static_cast<int32_t>(units - steps * 120);
  const int count = static_cast<int>(std::min<int64_t>(std::abs(steps), INT32_MAX));
  if (m_nRowsPerWheelNotch == -1) {
    for (int i = 0; i < count; ++i) OnVScroll(steps > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    return;
  }
  for (int i = 0; i < count; ++i) OnVScroll(steps > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
}

void CGridCtrl::ScrollCellIntoView(int32_t nRow, int32_t nCol) {
  if (!HasDrawingWindow() || !IsShownCell(nRow, nCol)) return;
  const CellRange range = GetVisibleScrolledRange();
  if (nCol >= ShownFixedCols()) {
    for (int32_t col = range.maxCol; col < nCol; ++col)
      if (GetColumnWidth(col) > 0) OnHScroll(SB_LINEDOWN, 0);
    for (int32_t col = range.minCol; col > nCol; --col)
      if (GetColumnWidth(col) > 0) OnHScroll(SB_LINEUP, 0);
  }
  if (nRow >= ShownFixedRows()) {
    for (int32_t row = range.maxRow; row < nRow; ++row)
      if (GetRowHeight(row) > 0) OnVScroll(SB_LINEDOWN, 0);
    for (int32_t row = range.minRow; row > nRow; --row)
      if (GetRowHeight(row) > 0) OnVScroll(SB_LINEUP, 0);
  }
  GridRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return;
  const GridRect client = GetGridClientRect();
  // Bounded by the number of cells, so a cell wider than the window cannot loop forever.
  for (int32_t guard = ShownCols(); guard > 0 && rect.right > client.right && rect.left > GetFixedColumnWidth() &&
                                    (m_nBarState & 0x1) && GetCellRect(nRow, nCol, &rect);
       --guard) {
    const int32_t before = m_nHScrollPos;
    OnHScroll(SB_LINEDOWN, 0);
    if (m_nHScrollPos == before || !GetCellRect(nRow, nCol, &rect)) break;
  }
  for (int32_t guard = ShownRows(); guard > 0 && rect.bottom > client.bottom && rect.top > GetFixedRowHeight() &&
                                    (m_nBarState & 0x2) && GetCellRect(nRow, nCol, &rect);
       --guard) {
    const int32_t before = m_nVScrollPos;
    OnVScroll(SB_LINEDOWN, 0);
    if (m_nVScrollPos == before || !GetCellRect(nRow, nCol, &rect)) break;
  }
}

}  // namespace dossel
