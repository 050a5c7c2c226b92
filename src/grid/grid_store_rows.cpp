// CGridStore: inserting and deleting rows and columns, row and column sizes.

#include <algorithm>
#include <new>

#include "grid/grid_store.h"

namespace dossel {

GridSize CGridStore::MeasureText(CGridCellBase& cell, TStringView text) const {
  if (m_pHost) return m_pHost->MeasureCellText(cell, text);
  const CGridDefaultCell* def = cell.GetDefaultCell();
  return def ? GridSize{def->GetWidth(), def->GetHeight()} : GridSize{};
}

// Moves count row entries (row object and height) from one index to
// another; the ranges may overlap.
void CGridStore::MoveRows(int32_t from, int32_t to, int32_t count) {
  auto move = [&](int32_t i) {
    if (!m_bVirtualMode) RowAt(to + i) = RowAt(from + i);
    SetHeight(to + i, Height(from + i));
  };
  if (to > from)
    for (int32_t i = count - 1; i >= 0; --i) move(i);
  else
    for (int32_t i = 0; i < count; ++i) move(i);
}

void CGridStore::MoveColumnWidths(int32_t from, int32_t to, int32_t count) {
  if (to > from)
    for (int32_t i = count - 1; i >= 0; --i) SetWidth(to + i, Width(from + i));
  else
    for (int32_t i = 0; i < count; ++i) SetWidth(to + i, Width(from + i));
}

int32_t CGridStore::InsertRow(TStringView strHeading, int32_t nRow) {
  if (IsFilling()) return -1;
  if (nRow >= 0 && (nRow < GetFixedRowCount() || nRow >= GetRowCount())) return -1;
  ClearSelectedCells();
  if (GetColumnCount() < 1 && !SetColumnCount(1)) return -1;
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  const int32_t newRow = nRow < 0 ? rows : nRow;
  try {
    m_arRowHeights.Reserve(static_cast<size_t>(rows) + 1);
    CellRow cells = nullptr;
    if (!m_bVirtualMode) {
      m_RowData.Reserve(static_cast<size_t>(rows) + 1);
      cells = new CGridCellBase*[static_cast<size_t>(std::max(m_nRowObjectCols, 1))]();
    }
    MoveRows(newRow, newRow + 1, rows - newRow);
    if (!m_bVirtualMode) RowAt(newRow) = cells;
    SetHeight(newRow, 0);
    m_nRows.store(rows + 1, std::memory_order_relaxed);
    if (!m_bVirtualMode)
      for (int32_t col = 0; col < cols; ++col) cells[col] = CreateCell(newRow, col);
  } catch (const std::bad_alloc&) {
    // The row stays, with the cells made before the failure.
    NoteOutOfMemory();
    if (GetRowCount() == rows) return -1;
  }
  SetCellText(newRow, 0, strHeading);
  CGridCellBase* cell = GetCell(newRow, 0);
  if (!strHeading.empty() && cell)
    SetHeight(newRow, static_cast<uint32_t>(std::max(0, MeasureText(*cell, strHeading).cy)));
  else
    SetHeight(newRow, static_cast<uint32_t>(m_cellFixedRowDef.GetHeight()));
  if (m_idCurrentCell.row != -1 && newRow < m_idCurrentCell.row) m_idCurrentCell.row++;
  SetModified();
  BumpLayout();
  return newRow;
}

int32_t CGridStore::InsertColumn(TStringView strHeading, uint32_t nFormat, int32_t nColumn) {
  if (IsFilling()) return -1;
  if (nColumn >= 0 && (nColumn < GetFixedColumnCount() || nColumn > GetColumnCount())) return -1;
  ClearSelectedCells();
  if (GetRowCount() < 1 && !SetRowCount(1)) return -1;
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  const int32_t newCol = nColumn < 0 ? cols : nColumn;
  try {
    m_arColWidths.Reserve(static_cast<size_t>(cols) + 1);
    if (!m_bVirtualMode && cols + 1 > m_nRowObjectCols) {
      for (int32_t row = 0; row < rows; ++row) ResizeRowObject(row, cols, cols + 1);
      m_nRowObjectCols = cols + 1;
    }
    // Make the cells first, so that a failure leaves the rows as they were.
    std::vector<CGridCellBase*> made;
    if (!m_bVirtualMode) {
      made.reserve(static_cast<size_t>(rows));
      try {
        for (int32_t row = 0; row < rows; ++row) made.push_back(CreateCell(row, newCol));
      } catch (const std::bad_alloc&) {
        for (CGridCellBase* cell : made) delete cell;
        throw;
      }
      for (int32_t row = 0; row < rows; ++row) {
        CellRow cells = RowAt(row);
        if (!cells) {
          delete made[row];
          continue;
        }
        std::copy_backward(cells + newCol, cells + cols, cells + cols + 1);
        cells[newCol] = made[row];
      }
    }
    MoveColumnWidths(newCol, newCol + 1, cols - newCol);
    SetWidth(newCol, 0);
    m_nCols.store(cols + 1, std::memory_order_relaxed);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return -1;
  }
  SetCellText(0, newCol, strHeading);
  for (int32_t row = 0; row < rows; ++row) SetCellFormat(row, newCol, nFormat);
  if (CGridCellBase* cell = GetCell(0, newCol))
    SetWidth(newCol, static_cast<uint32_t>(std::max(0, MeasureText(*cell, strHeading).cx)));
  if (m_idCurrentCell.col != -1 && newCol < m_idCurrentCell.col) m_idCurrentCell.col++;
  SetModified();
  BumpLayout();
  return newCol;
}

bool CGridStore::ReserveColumns(int32_t nCols) {
  if (m_bVirtualMode || IsFilling() || nCols <= m_nRowObjectCols) return true;
  try {
    for (int32_t row = 0; row < GetRowCount(); ++row) ResizeRowObject(row, GetColumnCount(), nCols);
  } catch (const std::bad_alloc&) {
    // Rows resized before the failure only have spare slots.
    NoteOutOfMemory();
    return false;
  }
  m_nRowObjectCols = nCols;
  return true;
}

bool CGridStore::DeleteRow(int32_t nRow) {
  const int32_t rows = GetRowCount();
  if (nRow < 0 || nRow >= rows || IsFilling()) return false;
  ClearSelectedCells();
  if (!m_bVirtualMode) {
    if (!RowAt(nRow)) return false;
    DestroyRow(nRow);
  }
  MoveRows(nRow + 1, nRow, rows - nRow - 1);
  if (!m_bVirtualMode) RowAt(rows - 1) = nullptr;
  m_nRows.store(rows - 1, std::memory_order_relaxed);
  if (nRow < GetFixedRowCount()) m_nFixedRows.fetch_sub(1, std::memory_order_relaxed);
  if (nRow == m_idCurrentCell.row)
    m_idCurrentCell = CellId(-1, -1);
  else if (nRow < m_idCurrentCell.row)
    m_idCurrentCell.row--;
  SetModified();
  BumpLayout();
  return true;
}

bool CGridStore::DeleteColumn(int32_t nColumn) {
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  if (nColumn < 0 || nColumn >= cols || IsFilling()) return false;
  ClearSelectedCells();
  if (!m_bVirtualMode) {
    for (int32_t row = 0; row < rows; ++row)
      if (!RowAt(row)) return false;
    for (int32_t row = 0; row < rows; ++row) {
      DestroyCell(row, nColumn);
      CellRow cells = RowAt(row);
      std::copy(cells + nColumn + 1, cells + cols, cells + nColumn);
      cells[cols - 1] = nullptr;
    }
  }
  MoveColumnWidths(nColumn + 1, nColumn, cols - nColumn - 1);
  m_nCols.store(cols - 1, std::memory_order_relaxed);
  if (nColumn < GetFixedColumnCount()) m_nFixedCols.fetch_sub(1, std::memory_order_relaxed);
  if (nColumn == m_idCurrentCell.col)
    m_idCurrentCell = CellId(-1, -1);
  else if (nColumn < m_idCurrentCell.col)
    m_idCurrentCell.col--;
  SetModified();
  BumpLayout();
  return true;
}

bool CGridStore::DeleteNonFixedRows() {
  if (IsFilling()) return false;
  for (int32_t row = GetRowCount() - 1; row >= GetFixedRowCount(); --row) DeleteRow(row);
  return true;
}

// ---- sizes ----

bool CGridStore::SetRowHeight(int32_t row, int32_t height) {
  if (row < 0 || row >= GetRowCount() || height < 0) return false;
  SetHeight(row, static_cast<uint32_t>(height));
  BumpLayout();
  return true;
}

bool CGridStore::SetColumnWidth(int32_t col, int32_t width) {
  if (col < 0 || col >= GetColumnCount() || width < 0) return false;
  SetWidth(col, static_cast<uint32_t>(width));
  BumpLayout();
  return true;
}

int32_t CGridStore::GetRowHeight(int32_t row) const {
  if (row < 0 || row >= GetRowCount()) return -1;
  return static_cast<int32_t>(Height(row));
}

int32_t CGridStore::GetColumnWidth(int32_t col) const {
  if (col < 0 || col >= GetColumnCount()) return -1;
  return static_cast<int32_t>(Width(col));
}

int32_t CGridStore::SumRowHeights(int32_t rows) const {
  int64_t h = 0;
  for (int32_t i = 0; i < rows; ++i) h += Height(i);
  return static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX));
}

int32_t CGridStore::SumColumnWidths(int32_t cols) const {
  int64_t w = 0;
  for (int32_t i = 0; i < cols; ++i) w += Width(i);
  return static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
}

int32_t CGridStore::GetFixedRowHeight() const { return SumRowHeights(GetFixedRowCount()); }
int32_t CGridStore::GetFixedColumnWidth() const { return SumColumnWidths(GetFixedColumnCount()); }
int32_t CGridStore::GetVirtualHeight() const { return SumRowHeights(GetRowCount()); }
int32_t CGridStore::GetVirtualWidth() const { return SumColumnWidths(GetColumnCount()); }

}  // namespace dossel
