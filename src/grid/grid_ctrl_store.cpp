// CGridCtrl: construction, counts, rows, columns and cell objects.

#include <wx/event.h>

#include <algorithm>
#include <new>

#include "grid/grid_ctrl.h"
#include "grid/grid_display.h"
#include "grid/grid_text_measure.h"
#include "platform/user_interface.h"

namespace dossel {

wxDEFINE_EVENT(wxEVT_GRID_NOTIFY, GridNotifyEvent);

CGridCtrl::CGridCtrl(int32_t nRows, int32_t nCols, int32_t nFixedRows, int32_t nFixedCols) {
  m_crWindowText = GetGridSysColour(COLOR_WINDOWTEXT);
  m_crWindowColour = GetGridSysColour(COLOR_WINDOW);
  m_cr3DFace = GetGridSysColour(COLOR_BTNFACE);
  m_crShadow = GetGridSysColour(COLOR_BTNSHADOW);
  m_crGridLineColour = GridRgb(192, 192, 192);
  SetupDefaultCells();
  m_crGridBkColour = m_crShadow;
  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetFixedRowCount(nFixedRows);
  SetFixedColumnCount(nFixedCols);
  m_SelectedCellMap.clear();
  m_PrevSelectedCellMap.clear();
}

CGridCtrl::~CGridCtrl() {
  // No repaint or scroll-bar work while the window goes away.
  m_bAllowDraw = false;
  DeleteAllCells();
}

void CGridCtrl::SetupDefaultCells() {
  CGridDefaultCell* cells[] = {&m_cellDefault, &m_cellFixedRowDef, &m_cellFixedColDef, &m_cellFixedRowColDef};
  for (CGridDefaultCell* cell : cells) {
    cell->SetGrid(this);
    cell->SetTextClr(m_crWindowText);
    cell->SetBackClr(cell == &m_cellDefault ? m_crWindowColour : m_cr3DFace);
  }
}

void CGridCtrl::ReportOutOfMemory() { ShowMessageBox(DT("Out of memory."), DT("Dossel"), kMbOk | kMbIconError); }

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool bFixedRow, bool bFixedCol) const {
  auto* self = const_cast<CGridCtrl*>(this);
  if (bFixedRow && bFixedCol) return &self->m_cellFixedRowColDef;
  if (bFixedRow) return &self->m_cellFixedRowDef;
  if (bFixedCol) return &self->m_cellFixedColDef;
  return &self->m_cellDefault;
}

bool CGridCtrl::IsValid(const CellRange& r) const {
  return r.minRow >= 0 && r.minCol >= 0 && r.maxRow >= 0 && r.maxCol >= 0 && r.maxRow < m_nRows && r.maxCol < m_nCols &&
         r.minRow <= r.maxRow && r.minCol <= r.maxCol;
}

// ---- cells ----

CGridCellBase* CGridCtrl::CreateCell(int32_t nRow, int32_t nCol) {
  if (!m_pRtcDefault || !m_pRtcDefault->IsDerivedFrom(&CGridCellBase::s_class) || !m_pRtcDefault->create)
    return nullptr;
  CGridCellBase* cell = m_pRtcDefault->create();
  if (!cell) return nullptr;
  cell->SetGrid(this);
  cell->SetCoords(nRow, nCol);
  uint32_t state = cell->GetState();
  if (nCol < m_nFixedCols) state |= GVIS_FIXED | GVIS_FIXEDCOL;
  if (nRow < m_nFixedRows) state |= GVIS_FIXED | GVIS_FIXEDROW;
  cell->SetState(state);
  cell->SetFormat(cell->GetDefaultCell()->GetFormat());
  return cell;
}

void CGridCtrl::DestroyCell(int32_t nRow, int32_t nCol) {
  if (nRow < 0 || nRow >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[nRow]) return;
  CGridCellBase*& slot = m_RowData[nRow][nCol];
  if (!slot) return;
  SetCellState(nRow, nCol, 0);
  delete slot;
  slot = nullptr;
}

CGridCellBase* CGridCtrl::GetCell(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return nullptr;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol);
  if (nRow >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[nRow]) return nullptr;
  return m_RowData[nRow][nCol];
}

bool CGridCtrl::SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (nRow >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[nRow]) return false;
  if (pCell) pCell->SetCoords(nRow, nCol);
  m_RowData[nRow][nCol] = pCell;
  return true;
}

bool CGridCtrl::SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass) {
  if (m_bVirtualMode || !IsValid(nRow, nCol) || !pRuntimeClass) return false;
  if (!pRuntimeClass->IsDerivedFrom(&CGridCellBase::s_class) || !pRuntimeClass->create) return false;
  CGridCellBase* oldCell = GetCell(nRow, nCol);
  if (!oldCell) return false;
  CGridCellBase* newCell = pRuntimeClass->create();
  if (!newCell) return false;
  newCell->CopyFrom(*oldCell);
  SetCell(nRow, nCol, newCell);
  delete oldCell;
  return true;
}

bool CGridCtrl::SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass) {
  if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(&CGridCellBase::s_class)) return false;
  m_pRtcDefault = pRuntimeClass;
  return true;
}

// ---- counts ----

void CGridCtrl::ClearFocusIfRow(int32_t nRows) {
  if (m_idCurrentCell.row >= nRows) SetFocusCell(-1, -1);
}

void CGridCtrl::DestroyRow(int32_t row) {
  if (row >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[row]) return;
  for (int32_t col = 0; col < m_nCols; ++col) DestroyCell(row, col);
  delete[] m_RowData[row];
  m_RowData[row] = nullptr;
}

bool CGridCtrl::GrowRows(int32_t nRows) {
  const uint32_t height = static_cast<uint32_t>(m_cellDefault.GetHeight());
  m_arRowHeights.resize(static_cast<size_t>(nRows), height);
  if (m_bVirtualMode) {
    m_nRows = nRows;
    return true;
  }
  m_RowData.resize(static_cast<size_t>(nRows), nullptr);
  for (int32_t row = m_nRows; row < nRows; ++row) {
    m_arRowHeights[row] = height;
    CellRow cells = new CGridCellBase*[static_cast<size_t>(std::max(m_nCols, 1))]();
    m_RowData[row] = cells;
    m_nRows = row + 1;
    for (int32_t col = 0; col < m_nCols; ++col) cells[col] = CreateCell(row, col);
  }
  return true;
}

bool CGridCtrl::SetRowCount(int32_t nRows) {
  if (nRows == m_nRows) return true;
  if (nRows < 0) return false;
  bool bResult = true;
  m_idTopLeftCell.col = -1;
  if (nRows < m_nFixedRows) m_nFixedRows = nRows;
  ClearFocusIfRow(nRows);
  try {
    if (nRows < m_nRows) {
      if (!m_bVirtualMode)
        for (int32_t row = nRows; row < m_nRows; ++row) DestroyRow(row);
      m_nRows = nRows;
      m_RowData.resize(m_bVirtualMode ? 0 : static_cast<size_t>(nRows));
      m_arRowHeights.resize(static_cast<size_t>(nRows));
    } else {
      GrowRows(nRows);
    }
  } catch (const std::bad_alloc&) {
    // Rows added before the failure stay; keep the arrays in step with them.
    m_arRowHeights.resize(static_cast<size_t>(m_nRows));
    if (!m_bVirtualMode) m_RowData.resize(static_cast<size_t>(m_nRows));
    ReportOutOfMemory();
    bResult = false;
  }
  SetModified();
  ResetScrollBars();
  RepaintGrid();
  return bResult;
}

void CGridCtrl::ResizeRowObject(int32_t row, int32_t nOldCols, int32_t nNewCols) {
  CellRow oldCells = m_RowData[row];
  if (!oldCells) return;
  CellRow cells = new CGridCellBase*[static_cast<size_t>(std::max(nNewCols, 1))]();
  std::copy(oldCells, oldCells + std::min(nOldCols, nNewCols), cells);
  delete[] oldCells;
  m_RowData[row] = cells;
}

bool CGridCtrl::GrowColumns(int32_t nCols) {
  const int32_t oldCols = m_nCols;
  const uint32_t width = static_cast<uint32_t>(m_cellFixedColDef.GetWidth());
  m_arColWidths.resize(static_cast<size_t>(nCols), width);
  if (!m_bVirtualMode) {
    // Make every row object big enough first, so that a failure leaves
    // each row consistent with the old column count.
    for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) ResizeRowObject(row, oldCols, nCols);
    for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) {
      if (!m_RowData[row]) continue;
      for (int32_t col = oldCols; col < nCols; ++col) m_RowData[row][col] = CreateCell(row, col);
    }
  }
  m_nCols = nCols;
  return true;
}

bool CGridCtrl::SetColumnCount(int32_t nCols) {
  if (nCols == m_nCols) return true;
  if (nCols < 0) return false;
  bool bResult = true;
  m_idTopLeftCell.col = -1;
  if (nCols < m_nFixedCols) m_nFixedCols = nCols;
  if (m_idCurrentCell.col >= nCols) SetFocusCell(-1, -1);
  try {
    if (nCols < m_nCols) {
      if (!m_bVirtualMode) {
        for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) {
          if (!m_RowData[row]) continue;
          for (int32_t col = nCols; col < m_nCols; ++col) DestroyCell(row, col);
          ResizeRowObject(row, m_nCols, nCols);
        }
      }
      m_arColWidths.resize(static_cast<size_t>(nCols));
      m_nCols = nCols;
    } else {
      GrowColumns(nCols);
    }
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
    bResult = false;
  }
  SetModified();
  ResetScrollBars();
  RepaintGrid();
  return bResult;
}

namespace {

// Sets or clears one of a cell's fixed bits. A cell that stops being fixed
// altogether gets the default colours back; one that stays fixed the other
// way keeps them.
void ChangeFixedBit(CGridCellBase* cell, bool becomesFixed, uint32_t bit, bool stillFixedOtherWay) {
  if (!cell) return;
  if (becomesFixed) {
    cell->SetState(cell->GetState() | GVIS_FIXED | bit);
  } else if (stillFixedOtherWay) {
    cell->SetState(cell->GetState() & ~bit);
    return;
  } else {
    cell->SetState(cell->GetState() & ~static_cast<uint32_t>(GVIS_FIXED | bit));
  }
  cell->SetBackClr(kClrDefault);
  cell->SetTextClr(kClrDefault);
}

}  // namespace

void CGridCtrl::ApplyFixedRowBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode) return;
  for (int32_t row = std::min(nOld, nNew); row < std::max(nOld, nNew) && row < m_nRows; ++row)
    for (int32_t col = 0; col < m_nCols; ++col)
      ChangeFixedBit(GetCell(row, col), nNew > nOld, GVIS_FIXEDROW, col < m_nFixedCols);
}

void CGridCtrl::ApplyFixedColBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode) return;
  for (int32_t row = 0; row < m_nRows; ++row)
    for (int32_t col = std::min(nOld, nNew); col < std::max(nOld, nNew) && col < m_nCols; ++col)
      ChangeFixedBit(GetCell(row, col), nNew > nOld, GVIS_FIXEDCOL, row < m_nFixedRows);
}

bool CGridCtrl::SetFixedRowCount(int32_t nFixedRows) {
  if (nFixedRows == m_nFixedRows) return true;
  if (nFixedRows < 0) return false;
  ClearSelection();
  m_idTopLeftCell.col = -1;
  if (nFixedRows > m_nRows && !SetRowCount(nFixedRows)) return false;
  if (m_idCurrentCell.row < nFixedRows) SetFocusCell(-1, -1);
  ApplyFixedRowBits(m_nFixedRows, nFixedRows);
  m_nFixedRows = nFixedRows;
  RepaintGrid();
  return true;
}

bool CGridCtrl::SetFixedColumnCount(int32_t nFixedCols) {
  if (nFixedCols == m_nFixedCols) return true;
  if (nFixedCols < 0) return false;
  ClearSelection();
  m_idTopLeftCell.col = -1;
  if (nFixedCols > m_nCols && !SetColumnCount(nFixedCols)) return false;
  if (m_idCurrentCell.col < nFixedCols) SetFocusCell(-1, -1);
  ApplyFixedColBits(m_nFixedCols, nFixedCols);
  m_nFixedCols = nFixedCols;
  RepaintGrid();
  return true;
}

}  // namespace dossel
