// CGridStore: construction, counts, rows, columns and cell objects.

#include "grid/grid_store.h"

#include <algorithm>
#include <new>

namespace dossel {

CGridStore::CGridStore(IGridStoreHost* pHost) : m_pHost(pHost) {
  CGridDefaultCell* cells[] = {&m_cellDefault, &m_cellFixedRowDef, &m_cellFixedColDef, &m_cellFixedRowColDef};
  for (CGridDefaultCell* cell : cells) cell->SetGrid(this);
}

CGridStore::~CGridStore() {
  m_bFilling = false;
  DeleteAllCells();
}

CGridDefaultCell* CGridStore::GetDefaultCell(bool bFixedRow, bool bFixedCol) const {
  auto* self = const_cast<CGridStore*>(this);
  if (bFixedRow && bFixedCol) return &self->m_cellFixedRowColDef;
  if (bFixedRow) return &self->m_cellFixedRowDef;
  if (bFixedCol) return &self->m_cellFixedColDef;
  return &self->m_cellDefault;
}

bool CGridStore::IsValid(const CellRange& r) const {
  return r.minRow >= 0 && r.minCol >= 0 && r.maxRow >= 0 && r.maxCol >= 0 && r.maxRow < GetRowCount() &&
         r.maxCol < GetColumnCount() && r.minRow <= r.maxRow && r.minCol <= r.maxCol;
}

// ---- cells ----

CGridCellBase* CGridStore::CreateCell(int32_t nRow, int32_t nCol) {
  if (!m_pRtcDefault || !m_pRtcDefault->IsDerivedFrom(&CGridCellBase::s_class) || !m_pRtcDefault->create)
    return nullptr;
  if (m_bTestCellLimit.load(std::memory_order_relaxed) && m_nTestCellBudget.fetch_sub(1) <= 0) throw std::bad_alloc();
  CGridCellBase* cell = m_pRtcDefault->create();
  if (!cell) return nullptr;
  cell->SetGrid(this);
  cell->SetCoords(nRow, nCol);
  uint32_t state = cell->GetState();
  if (nCol < GetFixedColumnCount()) state |= GVIS_FIXED | GVIS_FIXEDCOL;
  if (nRow < GetFixedRowCount()) state |= GVIS_FIXED | GVIS_FIXEDROW;
  cell->SetState(state);
  cell->SetFormat(cell->GetDefaultCell()->GetFormat());
  return cell;
}

void CGridStore::DestroyCell(int32_t nRow, int32_t nCol) {
  if (nRow < 0 || static_cast<size_t>(nRow) >= m_RowData.Capacity() || !RowAt(nRow)) return;
  CGridCellBase*& slot = RowAt(nRow)[nCol];
  if (!slot) return;
  if (slot->GetState() & (GVIS_SELECTED | GVIS_FOCUSED)) SetCellState(nRow, nCol, 0);
  delete slot;
  slot = nullptr;
}

CGridCellBase* CGridStore::GetCell(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return nullptr;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol);
  const CellRow row = RowAt(nRow);
  return row ? row[nCol] : nullptr;
}

bool CGridStore::SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell) {
  if (m_bVirtualMode || !IsValid(nRow, nCol) || !RowAt(nRow)) return false;
  if (pCell) pCell->SetCoords(nRow, nCol);
  RowAt(nRow)[nCol] = pCell;
  return true;
}

bool CGridStore::SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass) {
  if (m_bVirtualMode || !IsValid(nRow, nCol) || !pRuntimeClass) return false;
  if (!pRuntimeClass->IsDerivedFrom(&CGridCellBase::s_class) || !pRuntimeClass->create) return false;
  CGridCellBase* oldCell = GetCell(nRow, nCol);
  if (!oldCell) return false;
  try {
    CGridCellBase* newCell = pRuntimeClass->create();
    if (!newCell) return false;
    newCell->CopyFrom(*oldCell);
    SetCell(nRow, nCol, newCell);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  delete oldCell;
  return true;
}

bool CGridStore::SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass) {
  if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(&CGridCellBase::s_class)) return false;
  m_pRtcDefault = pRuntimeClass;
  return true;
}

// ---- counts ----

void CGridStore::ClearFocusIfRow(int32_t nRows) {
  if (m_idCurrentCell.row >= nRows) SetFocusCell(CellId(-1, -1));
}

void CGridStore::DestroyRow(int32_t row) {
  if (static_cast<size_t>(row) >= m_RowData.Capacity() || !RowAt(row)) return;
  const int32_t cols = GetColumnCount();
  for (int32_t col = 0; col < cols; ++col) DestroyCell(row, col);
  delete[] RowAt(row);
  RowAt(row) = nullptr;
}

void CGridStore::GrowRows(int32_t nRows) {
  const uint32_t height = static_cast<uint32_t>(m_cellDefault.GetHeight());
  m_arRowHeights.Reserve(static_cast<size_t>(nRows));
  if (m_bVirtualMode) {
    for (int32_t row = GetRowCount(); row < nRows; ++row) SetHeight(row, height);
    m_nRows.store(nRows, std::memory_order_relaxed);
    return;
  }
  m_RowData.Reserve(static_cast<size_t>(nRows));
  const int32_t cols = GetColumnCount();
  for (int32_t row = GetRowCount(); row < nRows; ++row) {
    SetHeight(row, height);
    CellRow cells = new CGridCellBase*[static_cast<size_t>(std::max(m_nRowObjectCols, 1))]();
    RowAt(row) = cells;
    try {
      for (int32_t col = 0; col < cols; ++col) cells[col] = CreateCell(row, col);
    } catch (const std::bad_alloc&) {
      // Only whole rows stay.
      for (int32_t col = 0; col < cols; ++col) delete cells[col];
      delete[] cells;
      RowAt(row) = nullptr;
      throw;
    }
    m_nRows.store(row + 1, std::memory_order_relaxed);
  }
}

bool CGridStore::SetRowCount(int32_t nRows) {
  const int32_t rows = GetRowCount();
  if (nRows == rows) return true;
  if (nRows < 0 || nRows < PublishedRows()) return false;
  bool bResult = true;
  if (nRows < GetFixedRowCount()) m_nFixedRows.store(nRows, std::memory_order_relaxed);
  ClearFocusIfRow(nRows);
  try {
    if (nRows < rows) {
      if (!m_bVirtualMode)
        for (int32_t row = nRows; row < rows; ++row) DestroyRow(row);
      m_nRows.store(nRows, std::memory_order_relaxed);
    } else {
      GrowRows(nRows);
    }
  } catch (const std::bad_alloc&) {
    // Rows added before the failure stay.
    NoteOutOfMemory();
    bResult = false;
  }
  SetModified();
  BumpLayout();
  return bResult;
}

void CGridStore::ResizeRowObject(int32_t row, int32_t nOldCols, int32_t nNewCols) {
  CellRow oldCells = RowAt(row);
  if (!oldCells) return;
  CellRow cells = new CGridCellBase*[static_cast<size_t>(std::max(nNewCols, 1))]();
  std::copy(oldCells, oldCells + std::min(nOldCols, nNewCols), cells);
  delete[] oldCells;
  RowAt(row) = cells;
}

void CGridStore::GrowColumns(int32_t nCols) {
  const int32_t oldCols = GetColumnCount(), rows = GetRowCount();
  const uint32_t width = static_cast<uint32_t>(m_cellFixedColDef.GetWidth());
  m_arColWidths.Reserve(static_cast<size_t>(nCols));
  if (!m_bVirtualMode && nCols > m_nRowObjectCols) {
    // Make every row object big enough first, so that a failure leaves
    // each row consistent with the old column count.
    for (int32_t row = 0; row < rows; ++row) ResizeRowObject(row, oldCols, nCols);
    m_nRowObjectCols = nCols;
  }
  for (int32_t col = oldCols; col < nCols; ++col) SetWidth(col, width);
  if (!m_bVirtualMode) {
    // The cells come column by column, so that a failure leaves whole columns.
    for (int32_t col = oldCols; col < nCols; ++col) {
      try {
        for (int32_t row = 0; row < rows; ++row)
          if (RowAt(row)) RowAt(row)[col] = CreateCell(row, col);
      } catch (const std::bad_alloc&) {
        for (int32_t row = 0; row < rows; ++row) {
          if (!RowAt(row)) continue;
          delete RowAt(row)[col];
          RowAt(row)[col] = nullptr;
        }
        throw;
      }
      m_nCols.store(col + 1, std::memory_order_relaxed);
    }
  }
  m_nCols.store(nCols, std::memory_order_relaxed);
}

void CGridStore::ShrinkColumns(int32_t nCols) {
  const int32_t cols = GetColumnCount(), rows = GetRowCount();
  if (!m_bVirtualMode) {
    for (int32_t row = 0; row < rows; ++row) {
      if (!RowAt(row)) continue;
      for (int32_t col = nCols; col < cols; ++col) DestroyCell(row, col);
    }
  }
  m_nCols.store(nCols, std::memory_order_relaxed);
  // Rows made from now on need only the new count of slots (older rows keep
  // their larger objects, which still hold every slot a row needs); a grid
  // reset to 20 columns and then given 7 would otherwise spend 13 empty
  // slots on each of a million rows.
  m_nRowObjectCols = std::min(m_nRowObjectCols, nCols);
}

bool CGridStore::SetColumnCount(int32_t nCols) {
  const int32_t cols = GetColumnCount();
  if (nCols == cols) return true;
  if (nCols < 0 || TouchesPublishedRows()) return false;
  bool bResult = true;
  if (nCols < GetFixedColumnCount()) m_nFixedCols.store(nCols, std::memory_order_relaxed);
  if (m_idCurrentCell.col >= nCols) SetFocusCell(CellId(-1, -1));
  try {
    if (nCols < cols)
      ShrinkColumns(nCols);
    else
      GrowColumns(nCols);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    bResult = false;
  }
  SetModified();
  BumpLayout();
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

void CGridStore::ApplyFixedRowBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode) return;
  const int32_t rows = GetRowCount(), cols = GetColumnCount(), fixedCols = GetFixedColumnCount();
  for (int32_t row = std::min(nOld, nNew); row < std::max(nOld, nNew) && row < rows; ++row)
    for (int32_t col = 0; col < cols; ++col)
      ChangeFixedBit(GetCell(row, col), nNew > nOld, GVIS_FIXEDROW, col < fixedCols);
}

void CGridStore::ApplyFixedColBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode) return;
  const int32_t rows = GetRowCount(), cols = GetColumnCount(), fixedRows = GetFixedRowCount();
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t col = std::min(nOld, nNew); col < std::max(nOld, nNew) && col < cols; ++col)
      ChangeFixedBit(GetCell(row, col), nNew > nOld, GVIS_FIXEDCOL, row < fixedRows);
}

bool CGridStore::SetFixedRowCount(int32_t nFixedRows) {
  const int32_t fixed = GetFixedRowCount();
  if (nFixedRows == fixed) return true;
  if (nFixedRows < 0 || TouchesPublishedRows()) return false;
  ClearSelectedCells();
  SetFocusCell(CellId(-1, -1));
  if (nFixedRows > GetRowCount() && !SetRowCount(nFixedRows)) return false;
  ApplyFixedRowBits(fixed, nFixedRows);
  m_nFixedRows.store(nFixedRows, std::memory_order_relaxed);
  BumpLayout();
  return true;
}

bool CGridStore::SetFixedColumnCount(int32_t nFixedCols) {
  const int32_t fixed = GetFixedColumnCount();
  if (nFixedCols == fixed) return true;
  if (nFixedCols < 0 || TouchesPublishedRows()) return false;
  ClearSelectedCells();
  SetFocusCell(CellId(-1, -1));
  if (nFixedCols > GetColumnCount() && !SetColumnCount(nFixedCols)) return false;
  ApplyFixedColBits(fixed, nFixedCols);
  m_nFixedCols.store(nFixedCols, std::memory_order_relaxed);
  BumpLayout();
  return true;
}

bool CGridStore::DeleteAllCells() {
  if (TouchesPublishedRows()) return false;
  ClearSelectedCells();
  const int32_t rows = GetRowCount();
  for (int32_t row = 0; row < rows && static_cast<size_t>(row) < m_RowData.Capacity(); ++row) DestroyRow(row);
  m_RowData.Release();
  m_arRowHeights.Release();
  m_arColWidths.Release();
  m_nRowObjectCols = 0;
  if (m_idCurrentCell.row != -1 || m_idCurrentCell.col != -1) m_idCurrentCell = CellId(-1, -1);
  m_nRows.store(0, std::memory_order_relaxed);
  m_nFixedRows.store(0, std::memory_order_relaxed);
  m_nCols.store(0, std::memory_order_relaxed);
  m_nFixedCols.store(0, std::memory_order_relaxed);
  SetModified();
  BumpLayout();
  return true;
}

// ---- filling ----

void CGridStore::BeginFill() {
  m_nPublishedRows.store(0, std::memory_order_release);
  m_nPublishedCols.store(0, std::memory_order_release);
  m_bColumnsPublished.store(false);
  m_bFilling.store(true, std::memory_order_release);
}

void CGridStore::EndFill(bool bCancelled) {
  const int32_t published = GetPublishedRowCount();
  m_bFilling.store(false, std::memory_order_release);
  if (bCancelled && published < GetRowCount()) SetRowCount(published);
}

void CGridStore::PublishRows(int32_t rows) {
  rows = std::clamp(rows, 0, GetRowCount());
  if (!m_bColumnsPublished.load(std::memory_order_relaxed) && rows > 0) PublishColumns(GetColumnCount());
  m_nPublishedRows.store(rows, std::memory_order_release);
}

void CGridStore::PublishColumns(int32_t cols) {
  m_bColumnsPublished.store(true, std::memory_order_relaxed);
  m_nPublishedCols.store(std::clamp(cols, 0, GetColumnCount()), std::memory_order_release);
}

}  // namespace dossel
