// CGridCtrl: construction, and the store's structure operations followed by
// the window's repaint and scroll-bar work.

#include <wx/event.h>
#include <wx/thread.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "grid/wx/grid_text_measure.h"
#include "platform/user_interface.h"

namespace dossel {

wxDEFINE_EVENT(wxEVT_GRID_NOTIFY, GridNotifyEvent);

CGridCtrl::CGridCtrl(int32_t nRows, int32_t nCols, int32_t nFixedRows, int32_t nFixedCols)
    : m_store(this), m_selectTimer(this, kSelectTimerId), m_fillTimer(this) {
  m_crWindowText = GetGridSysColour(COLOR_WINDOWTEXT);
  m_crWindowColour = GetGridSysColour(COLOR_WINDOW);
  m_cr3DFace = GetGridSysColour(COLOR_BTNFACE);
  m_crShadow = GetGridSysColour(COLOR_BTNSHADOW);
  m_crGridLineColour = GridRgb(192, 192, 192);
  for (bool fixedRow : {false, true}) {
    for (bool fixedCol : {false, true}) {
      CGridDefaultCell* cell = m_store.GetDefaultCell(fixedRow, fixedCol);
      cell->SetTextClr(m_crWindowText);
      cell->SetBackClr(!fixedRow && !fixedCol ? m_crWindowColour : m_cr3DFace);
    }
  }
  SetGridFont(GetMessageLogFont());
  m_crGridBkColour = m_crShadow;
  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetFixedRowCount(nFixedRows);
  SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl() {
  // No repaint or scroll-bar work while the window goes away.
  m_bAllowDraw = false;
  m_fillTimer.Stop();
  m_selectTimer.Stop();
  DestroyTitleTip();
  m_bFilling = false;
  m_store.EndFill();
  m_store.SetHost(nullptr);
  m_store.DeleteAllCells();
}

void CGridCtrl::ReportOutOfMemory() { ShowMessageBox(DT("Out of memory."), DT("Dossel"), kMbOk | kMbIconError); }

bool CGridCtrl::Checked(bool result) {
  // Only the UI thread may show the message box; the store writer's out-of-memory
  // stays noted until the UI thread looks (EndFill).
  if (wxThread::IsMain() && m_store.TakeOutOfMemory()) ReportOutOfMemory();
  return result;
}

void CGridCtrl::AfterStructureChange() {
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  RepaintGrid();
}

GridSize CGridCtrl::MeasureCellText(CGridCellBase& cell, TStringView text) {
  return GetTextExtent(cell, text, nullptr);
}

void CGridCtrl::RequestCellInfo(GridItem& item) { NotifyOwner(item.row, item.col, GVN_GETDISPINFO, &item); }

bool CGridCtrl::SetRowCount(int32_t nRows) {
  if (nRows == GetRowCount()) return true;
  const bool result = m_store.SetRowCount(nRows);
  AfterStructureChange();
  return Checked(result);
}

bool CGridCtrl::SetColumnCount(int32_t nCols) {
  if (nCols == GetColumnCount()) return true;
  const bool result = m_store.SetColumnCount(nCols);
  AfterStructureChange();
  return Checked(result);
}

bool CGridCtrl::SetFixedRowCount(int32_t nFixedRows) {
  if (nFixedRows == GetFixedRowCount()) return true;
  const bool result = m_store.SetFixedRowCount(nFixedRows);
  AfterStructureChange();
  return Checked(result);
}

bool CGridCtrl::SetFixedColumnCount(int32_t nFixedCols) {
  if (nFixedCols == GetFixedColumnCount()) return true;
  const bool result = m_store.SetFixedColumnCount(nFixedCols);
  AfterStructureChange();
  return Checked(result);
}

int32_t CGridCtrl::InsertRow(TStringView strHeading, int32_t nRow) {
  const int32_t row = m_store.InsertRow(strHeading, nRow);
  AfterStructureChange();
  Checked(true);
  return row;
}

int32_t CGridCtrl::InsertColumn(TStringView strHeading, uint32_t nFormat, int32_t nColumn) {
  const int32_t col = m_store.InsertColumn(strHeading, nFormat, nColumn);
  AfterStructureChange();
  Checked(true);
  return col;
}

bool CGridCtrl::DeleteRow(int32_t nRow) {
  const bool result = m_store.DeleteRow(nRow);
  if (result) AfterStructureChange();
  return result;
}

bool CGridCtrl::DeleteColumn(int32_t nColumn) {
  const bool result = m_store.DeleteColumn(nColumn);
  if (result) AfterStructureChange();
  return result;
}

bool CGridCtrl::DeleteNonFixedRows() {
  const bool result = m_store.DeleteNonFixedRows();
  AfterStructureChange();
  return result;
}

bool CGridCtrl::DeleteAllCells() {
  const bool result = m_store.DeleteAllCells();
  if (result) ResetScrollPositions();
  AfterStructureChange();
  return result;
}

void CGridCtrl::ResetScrollPositions() {
  // Whatever the window shows: the next result must start at the top.
  m_nHScrollPos = m_nVScrollPos = 0;
  m_idTopLeftCell = CellId();
  m_nTopRowCacheRow = -1;
  m_nTopRowCacheStart = 0;
  m_nWheelRemainder = 0;
}

void CGridCtrl::ResetForNewResult(int32_t nRows, int32_t nCols) {
  if (m_bFilling) EndFill(true);
  StopEditing();
  ClearSelection();
  m_SelectionStartCell = m_LeftClickDownCell = CellId();
  m_MouseMode = MOUSE_NOTHING;
  DeleteAllCells();
  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetScrollPos32(wxHORIZONTAL, 0);
  SetScrollPos32(wxVERTICAL, 0);
  AfterStructureChange();
}

bool CGridCtrl::SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass) {
  return Checked(m_store.SetCellClass(nRow, nCol, pRuntimeClass));
}

bool CGridCtrl::SetRowHeight(int32_t row, int32_t height) {
  if (!m_store.SetRowHeight(row, height)) return false;
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  return true;
}

bool CGridCtrl::SetColumnWidth(int32_t col, int32_t width) {
  if (!m_store.SetColumnWidth(col, width)) return false;
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  return true;
}

bool CGridCtrl::SetCellText(int32_t nRow, int32_t nCol, TStringView str) {
  return Checked(m_store.SetCellText(nRow, nCol, str));
}

void CGridCtrl::SetModified(bool bModified, int32_t nRow, int32_t nCol) {
  const int32_t sortColumn = GetSortColumn();
  m_store.SetModified(bModified, nRow, nCol);
  // The header loses its sort arrow.
  if (sortColumn >= 0 && GetSortColumn() < 0) InvalidateCellRect(CellId(0, sortColumn));
}

void CGridCtrl::SetVirtualMode(bool bVirtual) {
  if (m_bFilling) return;
  m_store.SetVirtualMode(bVirtual);
  ResetScrollPositions();
  AfterStructureChange();
  if (!bVirtual) return;
  m_bEditable = false;
  m_bSortOnClick = false;
  m_nAutoSizeColumnStyle = GVS_HEADER;
  m_bFixedColumnSelection = false;
  m_bFixedRowSelection = false;
}

void CGridCtrl::SendCacheHint(const CellRange& range) {
  if (GetVirtualMode()) NotifyOwner(range.minRow, range.minCol, GVN_ODCACHEHINT, nullptr, &range);
}

}  // namespace dossel
