// CGridCtrl: the mouse. Clicks and drags select (a timer scrolls while the
// pointer is outside the cells), presses near a header divider size rows
// and columns, double clicks there size to contents, a press on the focus
// cell's text prepares an edit, and hovering shows title tips. UI thread.

#include <wx/dcclient.h>
#include <wx/utils.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid/wx/grid_title_tip.h"

namespace dossel {

namespace {

constexpr int32_t r = CGridCtrl::kResizeCaptureRange;

// The cursor a mouse mode shows: sizing arrows over and while dragging a divider.
wxStockCursor CursorOfMode(int32_t mode) {
  switch (mode) {
    case CGridCtrl::MOUSE_OVER_COL_DIVIDE:
    case CGridCtrl::MOUSE_SIZING_COL:
      return wxCURSOR_SIZEWE;
    case CGridCtrl::MOUSE_OVER_ROW_DIVIDE:
    case CGridCtrl::MOUSE_SIZING_ROW:
      return wxCURSOR_SIZENS;
    default:
      return wxCURSOR_NONE;
  }
}

}  // namespace

void CGridCtrl::SetMouseMode(int32_t mode) {
  const wxStockCursor before = CursorOfMode(m_MouseMode), after = CursorOfMode(mode);
  m_MouseMode = mode;
  if (before == after || !GetHandle()) return;
  SetCursor(after == wxCURSOR_NONE ? wxNullCursor : wxCursor(after));
}

bool CGridCtrl::MouseOverColumnResizeArea(wxPoint point) {
  if (point.y >= GetFixedRowHeight()) return false;
  const CellId id = GetCellFromPoint(point);
  wxPoint start;
  if (!GetCellOrigin(id.row, id.col, &start)) return false;
  const int32_t endx = start.x + GetColumnWidth(id.col);
  return (point.x - start.x < r && id.col != 0) || endx - point.x < r;
}

bool CGridCtrl::MouseOverRowResizeArea(wxPoint point) {
  if (point.x >= GetFixedColumnWidth()) return false;
  const CellId id = GetCellFromPoint(point);
  wxPoint start;
  if (!GetCellOrigin(id.row, id.col, &start)) return false;
  const int32_t endy = start.y + GetRowHeight(id.row);
  return (point.y - start.y < r && id.row != 0) || endy - point.y < r;
}

wxPoint CGridCtrl::PointInCell(const CellId& cell, wxPoint point) {
  wxPoint origin;
  if (!GetCellOrigin(cell.row, cell.col, &origin)) return wxPoint(-1, -1);
  return point - origin;
}

bool CGridCtrl::IsTextClick(const CellId& cell, wxPoint point) {
  GridRect rect;
  if (!GetCellTextRect(cell.row, cell.col, &rect)) return false;
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

// ---- the sizing line: drawn over the cells by the paint handler ----

void CGridCtrl::MoveSizingLine(int32_t pos) {
  const GridRect client = GetGridClientRect();
  const bool column = m_MouseMode == MOUSE_SIZING_COL;
  auto strip = [&](int32_t at) {
    if (at < 0) return;
    RefreshRect(column ? wxRect(at - 2, 0, 5, client.bottom) : wxRect(0, at - 2, client.right, 5), false);
  };
  strip(m_nSizingLine);
  m_nSizingLine = pos;
  strip(m_nSizingLine);
}

void CGridCtrl::DrawSizingLine(wxDC& dc) {
  if (m_nSizingLine < 0 || (m_MouseMode != MOUSE_SIZING_COL && m_MouseMode != MOUSE_SIZING_ROW)) return;
  const GridRect client = GetGridClientRect();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  if (m_MouseMode == MOUSE_SIZING_COL)
    dc.DrawRectangle(m_nSizingLine, 0, 2, client.bottom);
  else
    dc.DrawRectangle(0, m_nSizingLine, client.right, 2);
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

// Turns "over a divider" into "sizing": picks the row or column the divider
// belongs to (the one left of or above it), skipping hidden ones when they
// may not be unhidden. False when there is none.
bool CGridCtrl::BeginSizing(wxPoint point, bool bColumn) {
  const int32_t at = bColumn ? point.x : point.y;
  int32_t& index = bColumn ? m_LeftClickDownCell.col : m_LeftClickDownCell.row;
  const int32_t count = bColumn ? ShownCols() : ShownRows();
  auto size = [&](int32_t i) { return bColumn ? GetColumnWidth(i) : GetRowHeight(i); };
  auto startOf = [&](int32_t i, int32_t* pos) {
    wxPoint origin;
    if (!GetCellOrigin(bColumn ? m_LeftClickDownCell.row : i, bColumn ? i : m_LeftClickDownCell.col, &origin))
      return false;
    *pos = bColumn ? origin.x : origin.y;
    return true;
  };
  m_MouseMode = bColumn ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;
  GridRect visRect;
  GetVisibleScrolledRange(&visRect);
  const int32_t visEnd = bColumn ? visRect.right : visRect.bottom;
  if (count > 0 && size(count - 1) < r && std::abs(at - visEnd) < r) index = count - 1;
  int32_t start = 0;
  if (!startOf(index, &start)) return false;
  const bool hiddenUnhide = bColumn ? m_bHiddenColUnhide : m_bHiddenRowUnhide;
  if (!hiddenUnhide) {
    const bool onRightBorder = at - start >= r;
    if (!(onRightBorder && index + 1 >= count)) {
      int32_t i = onRightBorder ? index : index - 1;
      while (i >= 0 && size(i) == 0) --i;
      if (i < 0) return false;
      index = i;
      if (!startOf(index, &start)) return false;
    }
  }
  if (at - start < r && !(index == count - 1 && size(index) < r) && index > 0) {
    --index;
    if (!startOf(index, &start)) return false;
  }
  MoveSizingLine(at);
  return true;
}

void CGridCtrl::EndSizing(wxPoint point, bool bColumn) {
  MoveSizingLine(-1);
  if (point == m_LeftClickDownPoint || point == wxPoint(0, 0)) return;
  wxPoint start;
  if (!GetCellOrigin(m_LeftClickDownCell.row, m_LeftClickDownCell.col, &start)) return;
  if (bColumn) {
    SetColumnWidth(m_LeftClickDownCell.col, std::max(point.x - start.x, m_bAllowColHide ? 0 : 1));
  } else {
    SetRowHeight(m_LeftClickDownCell.row, std::max(point.y - start.y, m_bAllowRowHide ? 0 : 1));
  }
  ResetScrollBars();
  Refresh(false);
}

void CGridCtrl::AutoSizeAtDivider(wxPoint point, bool bColumn) {
  const CellId cell = GetCellFromPoint(point);
  wxPoint start;
  if (!GetCellOrigin(cell.row, cell.col, &start)) return;
  int32_t index = bColumn ? cell.col : cell.row;
  if ((bColumn ? point.x - start.x : point.y - start.y) < r) --index;
  auto size = [&](int32_t i) { return bColumn ? GetColumnWidth(i) : GetRowHeight(i); };
  while (index >= 0 && size(index) == 0) --index;
  if (index < 0) return;
  if (bColumn)
    AutoSizeColumn(index, m_nAutoSizeColumnStyle, true);
  else
    AutoSizeRow(index, true);
  Refresh(false);
}

// ---- title tips ----

void CGridCtrl::ShowTitleTip(const CellId& id) {
  if (!GridHasDisplay() || m_bHandheld) return;
  CGridCellBase* cell = PeekCell(id.row, id.col);
  if (!cell || cell->GetTipText().empty() || cell->IsEditing()) return;
  GridRect cellRect;
  if (!GetCellRect(id.row, id.col, &cellRect)) return;
  // The tip measures the text against the room the cell draws it in.
  GridRect textRect = GridTextArea(cellRect, cell->GetMargin());
  if (!cell->GetTipTextRect(&textRect)) return;
  if (!m_pTitleTip) m_pTitleTip = new CGridTitleTip(this);
  if (m_pTitleTip->IsShown()) {
    const GridRect& hover = m_pTitleTip->GetHoverRect();
    if (m_LastMousePoint.x >= hover.left && m_LastMousePoint.x <= hover.right + 1 && m_LastMousePoint.y >= hover.top &&
        m_LastMousePoint.y <= hover.bottom + 1 && hover == cellRect)
      return;
    m_pTitleTip->HideTip();
  }
  const wxFont* font = GetCellFontObject(*cell);
  if (!font) font = GetGridFont();
  if (!font) return;
  m_pTitleTip->ShowTip(textRect, cell->GetTipText(), 0, cellRect, *font, m_crTTipTextClr, m_crTTipBackClr);
}

void CGridCtrl::HideTitleTip() {
  if (m_pTitleTip) m_pTitleTip->HideTip();
}

void CGridCtrl::SetHandheld() {
  m_bHandheld = true;
  DestroyTitleTip();
}

void CGridCtrl::DestroyTitleTip() {
  if (!m_pTitleTip) return;
  m_pTitleTip->Destroy();
  m_pTitleTip = nullptr;
}

// ---- events ----

void CGridCtrl::OnMouseMove(wxMouseEvent& event) {
  if (m_bFilling) return;
  const wxPoint point = event.GetPosition();
  if (!m_bLMouseButtonDown || m_MouseMode == MOUSE_NOTHING) {
    int32_t mode = MOUSE_NOTHING;
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
      mode = MOUSE_OVER_COL_DIVIDE;
    else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
      mode = MOUSE_OVER_ROW_DIVIDE;
    SetMouseMode(mode);
    m_LastMousePoint = point;
    if (mode != MOUSE_NOTHING) HideTitleTip();
    if (mode == MOUSE_NOTHING && (!GetVirtualMode() || m_bTitleTips)) {
      const CellId id = GetCellFromPoint(point);
      CGridCellBase* cell = IsShownCell(id) ? PeekCell(id.row, id.col) : nullptr;
      if (cell) {
        cell->OnMouseOver();
        if (m_bTitleTips && !m_bRMouseButtonDown) ShowTitleTip(id);
      }
    }
    m_LastMousePoint = point;
    return;
  }
  if (!IsShownCell(m_LeftClickDownCell)) {
    m_LastMousePoint = point;
    return;
  }
  switch (m_MouseMode) {
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
      const CellId id = GetCellFromPoint(point);
      if (!IsShownCell(id) || id == GetFocusCell()) break;
      ExtendSelectionTo(id);
      if ((id.row >= ShownFixedRows() && id.col >= ShownFixedCols()) || m_MouseMode != MOUSE_SELECT_CELLS)
        SetFocusCell(id);
      break;
    }
    case MOUSE_SIZING_COL:
      MoveSizingLine(point.x);
      break;
    case MOUSE_SIZING_ROW:
      MoveSizingLine(point.y);
      break;
    default:
      break;
  }
  m_LastMousePoint = point;
}

void CGridCtrl::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  // Sorting, sizing and selecting wait for the fill to end.
  if (m_bFilling) return;
  HideTitleTip();
  const wxPoint point = event.GetPosition();
  m_bLMouseButtonDown = true;
  m_LeftClickDownPoint = point;
  m_LeftClickDownCell = GetCellFromPoint(point);
  const CellId cell = m_LeftClickDownCell;
  if (!IsShownCell(cell)) return;
  if (!event.ShiftDown())
    m_SelectionStartCell = cell;
  else if (!IsValid(m_SelectionStartCell))
    m_SelectionStartCell = GetFocusCell();
  StopEditing();
  const wxPoint inCell = PointInCell(cell, point);
  if (CGridCellBase* pCell = PeekCell(cell.row, cell.col)) pCell->OnClickDown(inCell.x, inCell.y);
  const bool textClick = IsTextClick(cell, point);
  if (cell == GetFocusCell() && !event.ControlDown() && textClick && IsCellEditable(cell)) {
    m_MouseMode = MOUSE_PREPARE_EDIT;
    return;
  }
  const bool fixed = cell.row < ShownFixedRows() || cell.col < ShownFixedCols();
  if (IsCellSelected(cell.row, cell.col)) {
    SetFocusCell(cell);
    if (event.ControlDown()) {
      if (m_bListMode)
        SelectRows(cell, true, false);
      else
        SelectCells(cell, true, false);
      return;
    }
  } else if (m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE) {
    SetFocusCell(fixed ? CellId() : cell);
  }
  CaptureMouse();
  if (m_MouseMode == MOUSE_NOTHING) {
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
      SetMouseMode(MOUSE_OVER_COL_DIVIDE);
    else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
      SetMouseMode(MOUSE_OVER_ROW_DIVIDE);
  }
  if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
    if (!BeginSizing(point, m_MouseMode == MOUSE_OVER_COL_DIVIDE)) m_MouseMode = MOUSE_NOTHING;
  } else {
    SelectByMouse(cell, event.ControlDown());
  }
  m_LastMousePoint = point;
}

// The press of a selecting click: headers select through their click
// handlers, cells start a block (or row) selection and its timer.
void CGridCtrl::SelectByMouse(const CellId& cell, bool bCtrl) {
  NotifyOwner(cell.row, cell.col, GVN_SELCHANGING);
  m_store.ForgetRememberedSelection();
  if (bCtrl) m_store.RememberSelection();
  if (cell.row < ShownFixedRows()) {
    OnHeaderRowClick(cell);
  } else if (cell.col < ShownFixedCols()) {
    OnHeaderColumnClick(cell);
  } else {
    m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
    ExtendSelectionTo(cell);
    m_selectTimer.Start(kSelectTimerMs);
  }
}

void CGridCtrl::StopSelectTimer() {
  m_selectTimer.Stop();
  if (HasCapture()) ReleaseMouse();
}

void CGridCtrl::OnLeftUp(wxMouseEvent& event) {
  m_bLMouseButtonDown = false;
  StopSelectTimer();
  if (m_bFilling) {
    m_MouseMode = MOUSE_NOTHING;
    return;
  }
  const wxPoint point = event.GetPosition();
  const int32_t mode = m_MouseMode;
  SetMouseMode(MOUSE_NOTHING);
  if (mode == MOUSE_PREPARE_EDIT) {
    const CellId focus = GetFocusCell();
    BeginCellEdit(focus.row, focus.col, PointInCell(focus, point), kEditByMouse);
  } else if (mode == MOUSE_SIZING_COL || mode == MOUSE_SIZING_ROW) {
    m_MouseMode = mode;
    EndSizing(point, mode == MOUSE_SIZING_COL);
    m_MouseMode = MOUSE_NOTHING;
  } else if (IsShownCell(m_LeftClickDownCell)) {
    const CellId focus = GetFocusCell();
    NotifyOwner(focus.row, focus.col, GVN_SELCHANGED);
    if (CGridCellBase* cell = IsShownCell(focus) ? PeekCell(focus.row, focus.col) : nullptr) {
      const wxPoint inCell = PointInCell(focus, point);
      cell->OnClick(inCell.x, inCell.y);
    }
    NotifyOwner(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
  }
  if (IsShownCell(m_LeftClickDownCell) && GetParent()) {
    // The owner also hears of the click as of a button's.
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetParent()->GetEventHandler()->AddPendingEvent(click);
  }
}

void CGridCtrl::OnLeftDClick(wxMouseEvent& event) {
  if (m_bFilling) return;
  const wxPoint point = event.GetPosition();
  const CellId cell = GetCellFromPoint(point);
  if (!IsShownCell(cell)) return;
  // The second press of the double click has already started sizing.
  if (m_MouseMode == MOUSE_SIZING_COL || m_MouseMode == MOUSE_SIZING_ROW) {
    const bool column = m_MouseMode == MOUSE_SIZING_COL;
    MoveSizingLine(-1);
    StopSelectTimer();
    m_MouseMode = column ? MOUSE_OVER_COL_DIVIDE : MOUSE_OVER_ROW_DIVIDE;
  }
  if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
    AutoSizeAtDivider(point, m_MouseMode == MOUSE_OVER_COL_DIVIDE);
    return;
  }
  if (m_MouseMode == MOUSE_NOTHING || m_MouseMode == MOUSE_PREPARE_EDIT) {
    const wxPoint inCell = PointInCell(cell, point);
    const bool scrolled = cell.row >= ShownFixedRows() && cell.col >= ShownFixedCols();
    if (IsTextClick(cell, point) && scrolled && IsShownCell(m_LeftClickDownCell)) {
      m_MouseMode = MOUSE_NOTHING;
      BeginCellEdit(cell.row, cell.col, inCell, kEditByMouse);
    }
    if (CGridCellBase* pCell = PeekCell(cell.row, cell.col)) pCell->OnDblClick(inCell.x, inCell.y);
    NotifyOwner(cell.row, cell.col, NM_DBLCLK);
  }
}

void CGridCtrl::OnRightDown(wxMouseEvent& event) {
  event.Skip();
  m_bRMouseButtonDown = true;
  HideTitleTip();
}

void CGridCtrl::OnRightUp(wxMouseEvent& event) {
  event.Skip();
  m_bRMouseButtonDown = false;
  if (m_bFilling) return;
  StopEditing();
  const CellId cell = GetCellFromPoint(event.GetPosition());
  if (!IsShownCell(cell)) {
    NotifyOwner(-1, -1, NM_RCLICK);
    return;
  }
  SetFocusCell(-1, -1);
  SetFocusCell(std::max(cell.row, ShownFixedRows()), std::max(cell.col, ShownFixedCols()));
  if (CGridCellBase* pCell = PeekCell(cell.row, cell.col)) {
    const wxPoint inCell = PointInCell(cell, event.GetPosition());
    pCell->OnRClick(inCell.x, inCell.y);
  }
  NotifyOwner(cell.row, cell.col, NM_RCLICK);
}

void CGridCtrl::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_selectTimer.Stop();
  MoveSizingLine(-1);
  m_bLMouseButtonDown = false;
  m_MouseMode = MOUSE_NOTHING;
}

void CGridCtrl::OnSelectTimer(wxTimerEvent&) {
  if (m_bFilling || !m_bLMouseButtonDown) return;
  wxPoint pt = ScreenToClient(wxGetMousePosition());
  const GridRect rect = GetGridClientRect();
  const int32_t fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  const int32_t bottom = rect.bottom - 1, right = rect.right - 1;
  if (pt.y > bottom) {
    HandleKeyDown(WXK_DOWN, false, false);
    pt.x = std::clamp(pt.x, 0, std::max(right, 0));
    pt.y = bottom;
    ExtendSelectionTo(GetCellFromPoint(pt));
  } else if (pt.y < fixedHeight) {
    HandleKeyDown(WXK_UP, false, false);
    pt.x = std::clamp(pt.x, 0, std::max(right, 0));
    pt.y = fixedHeight + 1;
    ExtendSelectionTo(GetCellFromPoint(pt));
  }
  if (pt.x > right) {
    HandleKeyDown(WXK_RIGHT, false, false);
    pt.y = std::clamp(pt.y, 0, std::max(bottom, 0));
    pt.x = right;
    ExtendSelectionTo(GetCellFromPoint(pt));
  } else if (pt.x < fixedWidth) {
    HandleKeyDown(WXK_LEFT, false, false);
    pt.y = std::clamp(pt.y, 0, std::max(bottom, 0));
    pt.x = fixedWidth + 1;
    ExtendSelectionTo(GetCellFromPoint(pt));
  }
}

}  // namespace dossel
