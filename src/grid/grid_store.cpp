// CGridStore: construction, counts, rows, columns and cell objects.

#include "grid/grid_store.h"

#include <algorithm>
#include <new>
#include <unordered_set>

namespace dossel {

CGridStore::CGridStore(IGridStoreHost* pHost) : m_pHost(pHost) {
  CGridDefaultCell* cells[] = {&m_cellDefault, &m_cellFixedRowDef, &m_cellFixedColDef, &m_cellFixedRowColDef};
  for (CGridDefaultCell* cell : cells) cell->SetGrid(this);
  m_heights.SetShared(static_cast<uint32_t>(m_cellDefault.GetHeight()));
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

bool CGridStore::ChargeCells(int64_t cells) {
  if (!m_bTestCellLimit.load(std::memory_order_relaxed) || cells <= 0) return true;
  if (m_nTestCellBudget.load() < cells) return false;
  m_nTestCellBudget.fetch_sub(cells);
  return true;
}

// ---- cells ----

CGridCellBase* CGridStore::CreateCell(int32_t nRow, int32_t nCol) {
  if (!m_pRtcDefault || !m_pRtcDefault->IsDerivedFrom(&CGridCellBase::s_class) || !m_pRtcDefault->create)
    return nullptr;
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

CGridCellBase* CGridStore::FindCell(int32_t nRow, int32_t nCol) const {
  if (m_cells.empty() || m_bVirtualMode || !IsValid(nRow, nCol)) return nullptr;
  const auto it = m_cells.find(CellKey(IdAt(nRow), SlotAt(nCol)));
  return it == m_cells.end() ? nullptr : it->second;
}

CGridCellBase* CGridStore::GetCell(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return nullptr;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol);
  if (CGridCellBase* cell = FindCell(nRow, nCol)) {
    RefreshSelectedBit(*cell, nRow, nCol);
    return cell;
  }
  auto* self = const_cast<CGridStore*>(this);
  try {
    std::unique_ptr<CGridCellBase> cell(self->CreateCell(nRow, nCol));
    if (!cell) return nullptr;
    const uint32_t id = IdAt(nRow), slot = SlotAt(nCol);
    CRowCells scratch;
    cell->SetText(BaseText(id, slot, scratch));
    cell->SetFormat(BaseFormat(id, nRow, nCol));
    uint32_t state = cell->GetState() | DerivedState(nRow, nCol);
    if (!BaseModified(id, slot)) state &= ~static_cast<uint32_t>(GVIS_MODIFIED);
    cell->SetState(state);
    m_cells.emplace(CellKey(id, slot), cell.get());
    return cell.release();
  } catch (const std::bad_alloc&) {
    self->NoteOutOfMemory();
    return nullptr;
  }
}

void CGridStore::FillScratch(CGridCell& cell, int32_t row, int32_t col) const {
  const uint32_t id = IdAt(row), slot = SlotAt(col);
  CRowCells scratch;
  cell.Reset();
  cell.SetGrid(const_cast<CGridStore*>(this));
  cell.SetText(BaseText(id, slot, scratch));
  cell.SetState(DerivedState(row, col));
  cell.SetFormat(BaseFormat(id, row, col));
}

const CGridCellBase* CGridStore::PeekCell(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return nullptr;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol);
  if (CGridCellBase* cell = FindCell(nRow, nCol)) {
    RefreshSelectedBit(*cell, nRow, nCol);
    return cell;
  }
  // Cells of another class are the objects of that class.
  if (m_pRtcDefault != &CGridCell::s_class) return GetCell(nRow, nCol);
  CGridCell& cell = m_lent[m_nNextLent];
  m_nNextLent = (m_nNextLent + 1) % m_lent.size();
  try {
    FillScratch(cell, nRow, nCol);
  } catch (const std::bad_alloc&) {
    const_cast<CGridStore*>(this)->NoteOutOfMemory();
    cell.Reset();
  }
  return &cell;
}

void CGridStore::DestroyCell(int32_t nRow, int32_t nCol) {
  CGridCellBase* cell = FindCell(nRow, nCol);
  if (!cell) return;
  // The object's text stays as the cell's data.
  WriteCell(nRow, nCol, cell->GetText(), false, cell->IsModified());
  m_cells.erase(CellKey(IdAt(nRow), SlotAt(nCol)));
  delete cell;
}

bool CGridStore::SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  const uint64_t key = CellKey(IdAt(nRow), SlotAt(nCol));
  try {
    if (pCell) {
      pCell->SetCoords(nRow, nCol);
      m_cells[key] = pCell;
    } else {
      m_cells.erase(key);
    }
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
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

// ---- rows ----

void CGridStore::ClearFocusIfRow(int32_t nRows) {
  if (m_idCurrentCell.row >= nRows) SetFocusCell(CellId(-1, -1));
}

void CGridStore::EnsureOrdered() {
  if (m_bOrdered) return;
  const int32_t rows = GetRowCount();
  m_order.Reserve(static_cast<size_t>(std::max(rows, 1)));
  for (int32_t row = 0; row < rows; ++row) m_order[static_cast<size_t>(row)] = static_cast<uint32_t>(row);
  m_nNextId = static_cast<uint32_t>(std::max<int64_t>(m_nNextId, rows));
  m_bOrdered = true;
}

void CGridStore::ForgetRowIds(const std::vector<uint32_t>& ids) {
  if (m_cells.empty() || ids.empty()) return;
  const std::unordered_set<uint32_t> gone(ids.begin(), ids.end());
  for (auto it = m_cells.begin(); it != m_cells.end();) {
    if (gone.count(static_cast<uint32_t>(it->first >> 32))) {
      delete it->second;
      it = m_cells.erase(it);
    } else {
      ++it;
    }
  }
}

void CGridStore::ForgetColumnSlot(uint32_t slot) {
  for (auto it = m_cells.begin(); it != m_cells.end();) {
    if (static_cast<uint32_t>(it->first) == slot) {
      delete it->second;
      it = m_cells.erase(it);
    } else {
      ++it;
    }
  }
}

void CGridStore::GrowRows(int32_t nRows) {
  const int32_t wanted = nRows;
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  // Rows made while nothing shows take the default cell's height; a fill's
  // rows take the height the window gave the rows shown so far.
  uint32_t height = m_heights.Shared();
  if (!m_bFilling.load(std::memory_order_relaxed)) {
    height = static_cast<uint32_t>(m_cellDefault.GetHeight());
    if (rows == 0) m_heights.SetShared(height);
  }
  // Tests: only the whole rows the cell budget allows are made.
  int32_t target = nRows;
  if (!m_bVirtualMode && cols > 0 && m_bTestCellLimit.load(std::memory_order_relaxed)) {
    const int64_t allowed = std::max<int64_t>(m_nTestCellBudget.load() / cols, 0);
    target = static_cast<int32_t>(std::min<int64_t>(nRows, rows + allowed));
    m_nTestCellBudget.fetch_sub(static_cast<int64_t>(target - rows) * cols);
  }
  nRows = target;
  m_heights.Resize(nRows, height);
  if (m_bOrdered) {
    m_order.Reserve(static_cast<size_t>(nRows));
    for (int32_t row = rows; row < nRows; ++row) m_order[static_cast<size_t>(row)] = m_nNextId++;
  } else {
    m_nNextId = static_cast<uint32_t>(nRows);
  }
  m_nRows.store(nRows, std::memory_order_relaxed);
  if (target < wanted) throw std::bad_alloc();
}

void CGridStore::ShrinkRows(int32_t nRows) {
  const int32_t rows = GetRowCount();
  if (!m_bOrdered) {
    std::vector<uint32_t> gone;
    if (!m_cells.empty())
      for (int32_t row = nRows; row < rows; ++row) gone.push_back(static_cast<uint32_t>(row));
    ForgetRowIds(gone);
    m_table.Truncate(static_cast<uint32_t>(nRows));
    if (m_nPendingId >= nRows) {
      m_nPendingId = -1;
      m_pending.clear();
    }
    m_nNextId = static_cast<uint32_t>(nRows);
  } else if (!m_cells.empty()) {
    std::vector<uint32_t> gone;
    for (int32_t row = nRows; row < rows; ++row) gone.push_back(IdAt(row));
    ForgetRowIds(gone);
  }
  m_heights.Resize(nRows, 0);
  m_nRows.store(nRows, std::memory_order_relaxed);
  if (!m_selection.Empty()) m_selection.Clip(nRows, GetColumnCount());
}

bool CGridStore::SetRowCount(int32_t nRows) {
  const int32_t rows = GetRowCount();
  if (nRows == rows) return true;
  if (nRows < 0 || nRows < PublishedRows()) return false;
  bool bResult = true;
  if (nRows < GetFixedRowCount()) m_nFixedRows.store(nRows, std::memory_order_relaxed);
  ClearFocusIfRow(nRows);
  try {
    if (nRows < rows)
      ShrinkRows(nRows);
    else
      GrowRows(nRows);
  } catch (const std::bad_alloc&) {
    // Rows added before the failure stay.
    NoteOutOfMemory();
    bResult = false;
  }
  SetModified();
  BumpLayout();
  return bResult;
}

// ---- columns ----

bool CGridStore::SetColumnCount(int32_t nCols) {
  const int32_t cols = GetColumnCount();
  if (nCols == cols) return true;
  if (nCols < 0 || TouchesPublishedRows()) return false;
  bool bResult = true;
  if (nCols < GetFixedColumnCount()) m_nFixedCols.store(nCols, std::memory_order_relaxed);
  if (m_idCurrentCell.col >= nCols) SetFocusCell(CellId(-1, -1));
  try {
    if (nCols < cols) {
      for (int32_t col = nCols; col < cols; ++col)
        if (!m_cells.empty()) ForgetColumnSlot(SlotAt(col));
      m_columns.resize(static_cast<size_t>(nCols));
      m_nCols.store(nCols, std::memory_order_relaxed);
      if (!m_selection.Empty()) m_selection.Clip(GetRowCount(), nCols);
    } else {
      if (!m_bVirtualMode && !ChargeCells(static_cast<int64_t>(nCols - cols) * GetRowCount())) throw std::bad_alloc();
      const uint32_t width = static_cast<uint32_t>(m_cellFixedColDef.GetWidth());
      m_arColWidths.Reserve(static_cast<size_t>(nCols));
      m_columns.reserve(static_cast<size_t>(nCols));
      for (int32_t col = cols; col < nCols; ++col) {
        Column column;
        column.slot = m_nNextSlot++;
        m_columns.push_back(column);
        SetWidth(col, width);
      }
      m_nCols.store(nCols, std::memory_order_relaxed);
    }
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    bResult = false;
  }
  UpdateSlotOrder();
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

// Cells without objects take their fixed bits from where they stand; only
// objects keep bits (and colours) of their own.
void CGridStore::ApplyFixedRowBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode || m_cells.empty()) return;
  const int32_t rows = GetRowCount(), cols = GetColumnCount(), fixedCols = GetFixedColumnCount();
  for (int32_t row = std::min(nOld, nNew); row < std::max(nOld, nNew) && row < rows; ++row)
    for (int32_t col = 0; col < cols; ++col)
      ChangeFixedBit(FindCell(row, col), nNew > nOld, GVIS_FIXEDROW, col < fixedCols);
}

void CGridStore::ApplyFixedColBits(int32_t nOld, int32_t nNew) {
  if (m_bVirtualMode || m_cells.empty()) return;
  const int32_t rows = GetRowCount(), cols = GetColumnCount(), fixedRows = GetFixedRowCount();
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t col = std::min(nOld, nNew); col < std::max(nOld, nNew) && col < cols; ++col)
      ChangeFixedBit(FindCell(row, col), nNew > nOld, GVIS_FIXEDCOL, row < fixedRows);
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
  for (auto& entry : m_cells) delete entry.second;
  m_cells.clear();
  m_table.Clear();
  m_order.Release();
  m_bOrdered = false;
  m_nNextId = 0;
  m_columns.clear();
  m_nNextSlot = 0;
  m_bSlotsInOrder = true;
  m_nPendingId = -1;
  m_pending.clear();
  m_heights.Clear();
  m_arColWidths.Release();
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
  if (!bCancelled) CommitPending();
  m_bFilling.store(false, std::memory_order_release);
  if (bCancelled) {
    m_nPendingId = -1;
    m_pending.clear();
    if (published < GetRowCount()) SetRowCount(published);
  }
}

void CGridStore::PublishRows(int32_t rows) {
  rows = std::clamp(rows, 0, GetRowCount());
  if (m_nPendingId >= 0 && m_nPendingId < rows && !CommitPending()) {
    // The row could not be stored: only the rows before it are complete.
    rows = static_cast<int32_t>(std::min<int64_t>(rows, m_table.Count()));
  }
  if (!m_bColumnsPublished.load(std::memory_order_relaxed) && rows > 0) PublishColumns(GetColumnCount());
  m_nPublishedRows.store(rows, std::memory_order_release);
}

void CGridStore::PublishColumns(int32_t cols) {
  m_bColumnsPublished.store(true, std::memory_order_relaxed);
  m_nPublishedCols.store(std::clamp(cols, 0, GetColumnCount()), std::memory_order_release);
}

}  // namespace dossel
