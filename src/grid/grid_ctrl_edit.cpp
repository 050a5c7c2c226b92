// CGridCtrl: inserting and deleting rows and columns, row and column sizes.

#include <algorithm>
#include <new>

#include "grid/grid_ctrl.h"

namespace dossel {

int32_t CGridCtrl::InsertRow(TStringView strHeading, int32_t nRow) {
  if (nRow >= 0 && (nRow < m_nFixedRows || nRow >= m_nRows)) return -1;
  m_idTopLeftCell.col = -1;
  ClearSelectedCells();
  if (m_nCols < 1) SetColumnCount(1);
  const int32_t newRow = nRow < 0 ? m_nRows : nRow;
  try {
    m_arRowHeights.insert(m_arRowHeights.begin() + newRow, 0u);
    if (!m_bVirtualMode) {
      CellRow cells = new CGridCellBase*[static_cast<size_t>(std::max(m_nCols, 1))]();
      m_RowData.insert(m_RowData.begin() + newRow, cells);
    }
  } catch (const std::bad_alloc&) {
    if (m_arRowHeights.size() > static_cast<size_t>(m_nRows)) m_arRowHeights.erase(m_arRowHeights.begin() + newRow);
    ReportOutOfMemory();
    return -1;
  }
  m_nRows++;
  if (!m_bVirtualMode)
    for (int32_t col = 0; col < m_nCols; ++col) m_RowData[newRow][col] = CreateCell(newRow, col);
  SetCellText(newRow, 0, strHeading);
  CGridCellBase* cell = GetCell(newRow, 0);
  if (!strHeading.empty() && cell)
    m_arRowHeights[newRow] = static_cast<uint32_t>(cell->GetTextExtent(strHeading, nullptr).cy);
  else
    m_arRowHeights[newRow] = static_cast<uint32_t>(m_cellFixedRowDef.GetHeight());
  if (m_idCurrentCell.row != -1 && newRow < m_idCurrentCell.row) m_idCurrentCell.row++;
  ResetScrollBars();
  SetModified();
  return newRow;
}

int32_t CGridCtrl::InsertColumn(TStringView strHeading, uint32_t nFormat, int32_t nColumn) {
  if (nColumn >= 0 && (nColumn < m_nFixedCols || nColumn > m_nCols)) return -1;
  m_idTopLeftCell.col = -1;
  ClearSelectedCells();
  if (m_nRows < 1) SetRowCount(1);
  const int32_t newCol = nColumn < 0 ? m_nCols : nColumn;
  try {
    m_arColWidths.insert(m_arColWidths.begin() + newCol, 0u);
    if (!m_bVirtualMode) {
      for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) {
        if (!m_RowData[row]) continue;
        CellRow cells = new CGridCellBase*[static_cast<size_t>(m_nCols + 1)]();
        std::copy(m_RowData[row], m_RowData[row] + newCol, cells);
        std::copy(m_RowData[row] + newCol, m_RowData[row] + m_nCols, cells + newCol + 1);
        delete[] m_RowData[row];
        m_RowData[row] = cells;
      }
    }
  } catch (const std::bad_alloc&) {
    // Rows already widened hold an empty slot at the new index; drop the
    // column again so that every row matches the column count.
    for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row)
      if (m_RowData[row]) std::copy(m_RowData[row] + newCol + 1, m_RowData[row] + m_nCols + 1, m_RowData[row] + newCol);
    if (m_arColWidths.size() > static_cast<size_t>(m_nCols)) m_arColWidths.erase(m_arColWidths.begin() + newCol);
    ReportOutOfMemory();
    return -1;
  }
  m_nCols++;
  if (!m_bVirtualMode)
    for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row)
      if (m_RowData[row]) m_RowData[row][newCol] = CreateCell(row, newCol);
  SetCellText(0, newCol, strHeading);
  for (int32_t row = 0; row < m_nRows; ++row) SetCellFormat(row, newCol, nFormat);
  CGridCellBase* cell = GetCell(0, newCol);
  if (cell) m_arColWidths[newCol] = static_cast<uint32_t>(std::max(0, cell->GetTextExtent(strHeading, nullptr).cx));
  if (m_idCurrentCell.col != -1 && newCol < m_idCurrentCell.col) m_idCurrentCell.col++;
  ResetScrollBars();
  SetModified();
  return newCol;
}

bool CGridCtrl::DeleteRow(int32_t nRow) {
  if (nRow < 0 || nRow >= m_nRows) return false;
  ClearSelectedCells();
  if (!m_bVirtualMode) {
    if (nRow >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[nRow]) return false;
    DestroyRow(nRow);
    m_RowData.erase(m_RowData.begin() + nRow);
  }
  m_arRowHeights.erase(m_arRowHeights.begin() + nRow);
  m_nRows--;
  if (nRow < m_nFixedRows) m_nFixedRows--;
  if (nRow == m_idCurrentCell.row)
    m_idCurrentCell = CellId(-1, -1);
  else if (nRow < m_idCurrentCell.row)
    m_idCurrentCell.row--;
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  SetModified();
  return true;
}

bool CGridCtrl::DeleteColumn(int32_t nColumn) {
  if (nColumn < 0 || nColumn >= m_nCols) return false;
  ClearSelectedCells();
  if (!m_bVirtualMode) {
    for (int32_t row = 0; row < m_nRows; ++row)
      if (row >= static_cast<int32_t>(m_RowData.size()) || !m_RowData[row]) return false;
    for (int32_t row = 0; row < m_nRows; ++row) {
      DestroyCell(row, nColumn);
      std::copy(m_RowData[row] + nColumn + 1, m_RowData[row] + m_nCols, m_RowData[row] + nColumn);
      m_RowData[row][m_nCols - 1] = nullptr;
    }
  }
  m_arColWidths.erase(m_arColWidths.begin() + nColumn);
  m_nCols--;
  if (nColumn < m_nFixedCols) m_nFixedCols--;
  if (nColumn == m_idCurrentCell.col)
    m_idCurrentCell = CellId(-1, -1);
  else if (nColumn < m_idCurrentCell.col)
    m_idCurrentCell.col--;
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  SetModified();
  return true;
}

bool CGridCtrl::DeleteNonFixedRows() {
  for (int32_t row = m_nRows - 1; row >= m_nFixedRows; --row) DeleteRow(row);
  return true;
}

bool CGridCtrl::DeleteAllCells() {
  ClearSelectedCells();
  m_arRowHeights.clear();
  m_arColWidths.clear();
  for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) DestroyRow(row);
  m_RowData.clear();
  m_idCurrentCell = CellId(-1, -1);
  m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  SetModified();
  return true;
}

// ---- sizes ----

bool CGridCtrl::SetRowHeight(int32_t row, int32_t height) {
  if (row < 0 || row >= m_nRows || height < 0) return false;
  m_arRowHeights[row] = static_cast<uint32_t>(height);
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  return true;
}

bool CGridCtrl::SetColumnWidth(int32_t col, int32_t width) {
  if (col < 0 || col >= m_nCols || width < 0) return false;
  m_arColWidths[col] = static_cast<uint32_t>(width);
  m_idTopLeftCell.col = -1;
  ResetScrollBars();
  return true;
}

int32_t CGridCtrl::GetRowHeight(int32_t row) const {
  if (row < 0 || row >= m_nRows) return -1;
  return static_cast<int32_t>(m_arRowHeights[row]);
}

int32_t CGridCtrl::GetColumnWidth(int32_t col) const {
  if (col < 0 || col >= m_nCols) return -1;
  return static_cast<int32_t>(m_arColWidths[col]);
}

int32_t CGridCtrl::GetFixedRowHeight() const {
  int64_t h = 0;
  for (int32_t i = 0; i < m_nFixedRows; ++i) h += m_arRowHeights[i];
  return static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX));
}

int32_t CGridCtrl::GetFixedColumnWidth() const {
  int64_t w = 0;
  for (int32_t i = 0; i < m_nFixedCols; ++i) w += m_arColWidths[i];
  return static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
}

int32_t CGridCtrl::GetVirtualHeight() const {
  int64_t h = 0;
  for (uint32_t v : m_arRowHeights) h += v;
  return static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX));
}

int32_t CGridCtrl::GetVirtualWidth() const {
  int64_t w = 0;
  for (uint32_t v : m_arColWidths) w += v;
  return static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
}

}  // namespace dossel
