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
  const int32_t rows = GetRowCount();
  const int32_t newRow = nRow < 0 ? rows : nRow;
  try {
    if (newRow == rows) {
      GrowRows(rows + 1);
    } else {
      if (!ChargeCells(GetColumnCount())) throw std::bad_alloc();
      EnsureOrdered();
      m_order.Reserve(static_cast<size_t>(rows) + 1);
      m_heights.Insert(newRow, 0);
      for (int32_t row = rows; row > newRow; --row)
        m_order[static_cast<size_t>(row)] = m_order[static_cast<size_t>(row) - 1];
      m_order[static_cast<size_t>(newRow)] = m_nNextId++;
      m_nRows.store(rows + 1, std::memory_order_relaxed);
    }
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return -1;
  }
  SetCellText(newRow, 0, strHeading);
  const CGridCellBase* cell = PeekCell(newRow, 0);
  if (!strHeading.empty() && cell)
    m_heights.Set(newRow,
                  static_cast<uint32_t>(std::max(0, MeasureText(const_cast<CGridCellBase&>(*cell), strHeading).cy)));
  else
    m_heights.Set(newRow, static_cast<uint32_t>(m_cellFixedRowDef.GetHeight()));
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
  const int32_t cols = GetColumnCount();
  const int32_t newCol = nColumn < 0 ? cols : nColumn;
  try {
    if (!m_bVirtualMode && !ChargeCells(GetRowCount())) throw std::bad_alloc();
    m_arColWidths.Reserve(static_cast<size_t>(cols) + 1);
    Column column;
    column.slot = m_nNextSlot++;
    // The rows there are now take the column's format; later rows the
    // default cell's, as every new cell does.
    column.format = nFormat;
    column.formatBelowId = m_bOrdered ? m_nNextId : static_cast<uint32_t>(GetRowCount());
    m_columns.insert(m_columns.begin() + newCol, column);
    MoveColumnWidths(newCol, newCol + 1, cols - newCol);
    SetWidth(newCol, 0);
    m_nCols.store(cols + 1, std::memory_order_relaxed);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    UpdateSlotOrder();
    return -1;
  }
  UpdateSlotOrder();
  SetCellText(0, newCol, strHeading);
  if (const CGridCellBase* cell = PeekCell(0, newCol))
    SetWidth(newCol, static_cast<uint32_t>(std::max(0, MeasureText(const_cast<CGridCellBase&>(*cell), strHeading).cx)));
  if (m_idCurrentCell.col != -1 && newCol < m_idCurrentCell.col) m_idCurrentCell.col++;
  SetModified();
  BumpLayout();
  return newCol;
}

bool CGridStore::AppendColumns(const std::vector<TString>& headings, uint32_t nFormat) {
  if (IsFilling()) return false;
  ClearSelectedCells();
  if (GetRowCount() < 1 && !SetRowCount(1)) return false;
  const int32_t cols = GetColumnCount();
  const auto added = static_cast<int32_t>(headings.size());
  const uint32_t belowId = m_bOrdered ? m_nNextId : static_cast<uint32_t>(GetRowCount());
  try {
    if (!m_bVirtualMode && !ChargeCells(static_cast<int64_t>(GetRowCount()) * added)) throw std::bad_alloc();
    m_arColWidths.Reserve(static_cast<size_t>(cols) + headings.size());
    m_columns.reserve(m_columns.size() + headings.size());
    m_changes.clear();
    for (int32_t i = 0; i < added; ++i) {
      Column column;
      column.slot = m_nNextSlot++;
      column.format = nFormat;
      column.formatBelowId = belowId;
      m_columns.push_back(column);
      SetWidth(cols + i, 0);
      m_changes.push_back(CellChange{column.slot, headings[static_cast<size_t>(i)], false, true});
    }
    m_nCols.store(cols + added, std::memory_order_relaxed);
    UpdateSlotOrder();
    if (!m_bVirtualMode && !RewriteRecord(IdAt(0), m_changes.data(), m_changes.size())) throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    UpdateSlotOrder();
    return false;
  }
  // Each heading sized in a cell like its own, without reading the row again.
  CGridCell cell;
  for (int32_t i = 0; i < added; ++i) {
    const int32_t col = cols + i;
    cell.Reset();
    cell.SetGrid(this);
    uint32_t state = 0;
    if (GetFixedRowCount() > 0) state |= GVIS_FIXED | GVIS_FIXEDROW;
    if (col < GetFixedColumnCount()) state |= GVIS_FIXED | GVIS_FIXEDCOL;
    cell.SetState(state);
    cell.SetFormat(nFormat);
    cell.SetText(headings[static_cast<size_t>(i)]);
    SetWidth(col, static_cast<uint32_t>(std::max(0, MeasureText(cell, headings[static_cast<size_t>(i)]).cx)));
    NoteTextWritten(col);
  }
  SetModified();
  BumpLayout();
  return true;
}

bool CGridStore::DeleteRow(int32_t nRow) {
  const int32_t rows = GetRowCount();
  if (nRow < 0 || nRow >= rows || IsFilling()) return false;
  ClearSelectedCells();
  if (nRow == rows - 1) {
    ShrinkRows(rows - 1);
  } else {
    try {
      EnsureOrdered();
    } catch (const std::bad_alloc&) {
      NoteOutOfMemory();
      return false;
    }
    ForgetRowIds({IdAt(nRow)});
    for (int32_t row = nRow; row + 1 < rows; ++row)
      m_order[static_cast<size_t>(row)] = m_order[static_cast<size_t>(row) + 1];
    m_heights.Erase(nRow);
    m_nRows.store(rows - 1, std::memory_order_relaxed);
  }
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
  const int32_t cols = GetColumnCount();
  if (nColumn < 0 || nColumn >= cols || IsFilling()) return false;
  ClearSelectedCells();
  ForgetColumnSlot(SlotAt(nColumn));
  m_columns.erase(m_columns.begin() + nColumn);
  UpdateSlotOrder();
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
  if (GetRowCount() > GetFixedRowCount()) SetRowCount(GetFixedRowCount());
  return true;
}

// ---- sizes ----

bool CGridStore::SetRowHeight(int32_t row, int32_t height) {
  if (row < 0 || row >= GetRowCount() || height < 0) return false;
  try {
    m_heights.Set(row, static_cast<uint32_t>(height));
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  BumpLayout();
  return true;
}

void CGridStore::SetAllRowHeights(int32_t height) {
  m_heights.SetAll(static_cast<uint32_t>(std::max(height, 0)));
  BumpLayout();
}

void CGridStore::SetSharedRowHeight(int32_t height) {
  m_heights.SetShared(static_cast<uint32_t>(std::max(height, 0)));
  BumpLayout();
}

bool CGridStore::SetColumnWidth(int32_t col, int32_t width) {
  if (col < 0 || col >= GetColumnCount() || width < 0) return false;
  SetWidth(col, static_cast<uint32_t>(width));
  BumpLayout();
  return true;
}

int32_t CGridStore::GetRowHeight(int32_t row) const {
  if (row < 0 || row >= GetRowCount()) return -1;
  return static_cast<int32_t>(m_heights.Get(row));
}

int32_t CGridStore::GetColumnWidth(int32_t col) const {
  if (col < 0 || col >= GetColumnCount()) return -1;
  return static_cast<int32_t>(Width(col));
}

int32_t CGridStore::SumRowHeights(int32_t rows) const {
  return static_cast<int32_t>(std::min<int64_t>(m_heights.Sum(0, rows), INT32_MAX));
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
