// CGridStore: cell contents and attributes, modified marks, focus and
// selection data, virtual mode, searching.

#include <algorithm>
#include <new>

#include "grid/grid_store.h"

namespace dossel {

// ---- the cells' data ----

TStringView CGridRowTexts::Text(int32_t col) const {
  if (!m_store || col < 0 || col >= m_store->GetColumnCount()) return TStringView();
  if (m_store->m_bVirtualMode) {
    const_cast<CGridRowTexts*>(this)->m_pending = m_store->GetCellText(m_row, col);
    return m_pending;
  }
  const uint32_t slot = m_store->SlotAt(col);
  if (!m_store->m_cells.empty()) {
    const auto it = m_store->m_cells.find(CGridStore::CellKey(m_id, slot));
    if (it != m_store->m_cells.end()) return it->second->GetText();
  }
  return m_cells.Text(slot);
}

bool CGridRowTexts::IsNull(int32_t col) const {
  if (!m_store || col < 0 || col >= m_store->GetColumnCount() || m_store->m_bVirtualMode) return false;
  const uint32_t slot = m_store->SlotAt(col);
  if (!m_store->m_cells.empty() && m_store->m_cells.count(CGridStore::CellKey(m_id, slot))) return false;
  return m_cells.IsNull(slot);
}

bool CGridStore::ReadRow(int32_t row, CGridRowTexts& texts) const {
  texts.m_store = this;
  texts.m_row = row;
  texts.m_cells.Reset();
  if (row < 0 || row >= GetRowCount()) {
    texts.m_store = nullptr;
    return false;
  }
  if (m_bVirtualMode) return true;
  texts.m_id = IdAt(row);
  m_table.Read(texts.m_id, texts.m_cells);
  return true;
}

uint32_t CGridStore::BaseFormat(uint32_t id, int32_t row, int32_t col) const {
  const Column& column = m_columns[static_cast<size_t>(col)];
  if (column.format != kFormatDefault && id < column.formatBelowId) return column.format;
  return GetDefaultCell(row < GetFixedRowCount(), col < GetFixedColumnCount())->GetFormat();
}

bool CGridStore::BaseModified(uint32_t id, uint32_t slot) const {
  CRowCells cells;
  if (!m_table.Read(id, cells)) return false;
  return cells.IsModified(slot) && cells.Epoch() == m_nEpoch.load(std::memory_order_relaxed);
}

uint32_t CGridStore::DerivedState(int32_t row, int32_t col) const {
  uint32_t state = 0;
  if (col < GetFixedColumnCount()) state |= GVIS_FIXED | GVIS_FIXEDCOL;
  if (row < GetFixedRowCount()) state |= GVIS_FIXED | GVIS_FIXEDROW;
  if (m_selection.Contains(row, col)) state |= GVIS_SELECTED;
  if (CellId(row, col) == m_idCurrentCell) state |= GVIS_FOCUSED;
  if (BaseModified(IdAt(row), SlotAt(col))) state |= GVIS_MODIFIED;
  return state;
}

void CGridStore::RefreshSelectedBit(CGridCellBase& cell, int32_t row, int32_t col) const {
  const uint32_t state = cell.GetState();
  const bool selected = m_selection.Contains(row, col);
  if (((state & GVIS_SELECTED) != 0) != selected)
    cell.SetState(selected ? (state | GVIS_SELECTED) : (state & ~static_cast<uint32_t>(GVIS_SELECTED)));
}

void CGridStore::UpdateSlotOrder() {
  m_bSlotsInOrder = true;
  for (size_t col = 0; col < m_columns.size() && m_bSlotsInOrder; ++col) m_bSlotsInOrder = m_columns[col].slot == col;
}

bool CGridStore::RewriteRecord(uint32_t id, const CellChange* changes, size_t changeCount) {
  CRowCells cells;
  m_table.Read(id, cells);
  size_t count = cells.Count();
  for (size_t i = 0; i < changeCount; ++i) count = std::max(count, static_cast<size_t>(changes[i].slot) + 1);
  const uint32_t epoch = m_nEpoch.load(std::memory_order_relaxed);
  try {
    // The record may be rewritten where it stands: its texts are copied first.
    size_t chars = 0;
    for (size_t i = 0; i < cells.Count(); ++i) chars += cells.Text(i).size();
    m_rewrite.assign(cells.Count() ? cells.Text(0).data() : nullptr, chars);
    m_inputs.assign(count, CellInput{TStringView(), false, false});
    size_t at = 0;
    for (size_t i = 0; i < cells.Count(); ++i) {
      const size_t length = cells.Text(i).size();
      m_inputs[i] = CellInput{TStringView(m_rewrite.data() + at, length), cells.IsNull(i),
                              cells.IsModified(i) && cells.Epoch() == epoch};
      at += length;
    }
    for (size_t i = 0; i < changeCount; ++i)
      m_inputs[changes[i].slot] = CellInput{changes[i].text, changes[i].null, changes[i].modified};
  } catch (const std::bad_alloc&) {
    return false;
  }
  return m_table.Replace(id, m_inputs.data(), count, epoch);
}

bool CGridStore::CommitPending() {
  if (m_nPendingId < 0) return true;
  const auto id = static_cast<uint32_t>(m_nPendingId);
  m_nPendingId = -1;
  bool stored = false;
  try {
    m_inputs.resize(m_pending.size());
    for (size_t i = 0; i < m_pending.size(); ++i)
      m_inputs[i] = CellInput{m_pending[i].text, m_pending[i].null, m_pending[i].modified};
    stored = m_table.Append(id, m_inputs.data(), m_inputs.size(), m_nEpoch.load(std::memory_order_relaxed));
  } catch (const std::bad_alloc&) {
  }
  m_pending.clear();
  if (!stored) NoteOutOfMemory();
  return stored;
}

bool CGridStore::WritePendingCell(uint32_t id, uint32_t slot, TStringView text, bool null, bool modified) {
  if (m_nPendingId != static_cast<int64_t>(id)) {
    if (!CommitPending()) return false;
    // Rows are written in order: a row already stored is not written again.
    if (id < m_table.Count()) return false;
    m_nPendingId = id;
  }
  try {
    if (m_pending.size() <= slot) m_pending.resize(static_cast<size_t>(slot) + 1);
    PendingCell& cell = m_pending[slot];
    cell.text.assign(text);
    cell.null = null;
    cell.modified = modified;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool CGridStore::WriteCell(int32_t row, int32_t col, TStringView text, bool null, bool modified) {
  const uint32_t id = IdAt(row), slot = SlotAt(col);
  if (m_bFilling.load(std::memory_order_relaxed)) {
    // A published row never changes during a fill.
    if (row < GetPublishedRowCount()) return false;
    return WritePendingCell(id, slot, text, null, modified);
  }
  return RewriteRecord(id, slot, text, null, modified);
}

void CGridStore::NoteTextWritten(int32_t col) {
  if (!m_bModified.load(std::memory_order_relaxed)) m_bModified.store(true, std::memory_order_relaxed);
  if (col == GetSortColumn()) SetSortColumn(-1);
}

// ---- texts ----

bool CGridStore::SetCellText(int32_t nRow, int32_t nCol, TStringView str) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  bool stored;
  if (CGridCellBase* cell = IsWritersRow(nRow) ? nullptr : FindCell(nRow, nCol)) {
    try {
      cell->SetText(str);
      cell->SetState(cell->GetState() | GVIS_MODIFIED);
      stored = true;
    } catch (const std::bad_alloc&) {
      stored = false;
    }
  } else {
    stored = WriteCell(nRow, nCol, str, false, true);
  }
  if (!stored) {
    if (!IsFilling() || nRow >= GetPublishedRowCount()) NoteOutOfMemory();
    return false;
  }
  NoteTextWritten(nCol);
  return true;
}

bool CGridStore::SetRowTexts(int32_t row, int32_t firstCol, const TString* texts, int32_t count, const bool* nulls) {
  if (m_bVirtualMode || row < 0 || row >= GetRowCount() || firstCol < 0 || count < 0) return false;
  if (count > GetColumnCount() - firstCol) return false;
  const bool filling = m_bFilling.load(std::memory_order_relaxed);
  if (filling && row < GetPublishedRowCount()) return false;
  const uint32_t id = IdAt(row);
  // A whole new row goes straight into its record.
  if (firstCol == 0 && count == GetColumnCount() && m_bSlotsInOrder && (filling || m_cells.empty()) &&
      m_nPendingId != static_cast<int64_t>(id) && id >= m_table.Count()) {
    if (!CommitPending()) return false;
    bool stored = false;
    try {
      m_inputs.resize(static_cast<size_t>(count));
      for (int32_t i = 0; i < count; ++i) m_inputs[i] = CellInput{texts[i], nulls && nulls[i], true};
      stored = m_table.Append(id, m_inputs.data(), m_inputs.size(), m_nEpoch.load(std::memory_order_relaxed));
    } catch (const std::bad_alloc&) {
    }
    if (!stored) {
      NoteOutOfMemory();
      return false;
    }
    if (!m_bModified.load(std::memory_order_relaxed)) m_bModified.store(true, std::memory_order_relaxed);
    const int32_t sortColumn = GetSortColumn();
    if (sortColumn >= 0 && sortColumn < count) SetSortColumn(-1);
    return true;
  }
  if (!filling && m_cells.empty()) {
    try {
      m_changes.clear();
      for (int32_t i = 0; i < count; ++i)
        m_changes.push_back(CellChange{SlotAt(firstCol + i), texts[i], nulls && nulls[i], true});
    } catch (const std::bad_alloc&) {
      NoteOutOfMemory();
      return false;
    }
    if (!RewriteRecord(id, m_changes.data(), m_changes.size())) {
      NoteOutOfMemory();
      return false;
    }
    for (int32_t i = 0; i < count; ++i) NoteTextWritten(firstCol + i);
    return true;
  }
  for (int32_t i = 0; i < count; ++i) {
    const int32_t col = firstCol + i;
    if (nulls && nulls[i]) {
      if (!WriteCell(row, col, texts[i], true, true)) {
        NoteOutOfMemory();
        return false;
      }
      NoteTextWritten(col);
    } else if (!SetCellText(row, col, texts[i])) {
      return false;
    }
  }
  return true;
}

TString CGridStore::GetCellText(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return TString();
  if (m_bVirtualMode) return TString(GetVirtualCell(nRow, nCol)->GetText());
  const uint32_t id = IdAt(nRow), slot = SlotAt(nCol);
  if (IsWritersRow(nRow)) {
    if (const PendingCell* pending = PendingAt(id, slot)) return pending->text;
    if (m_nPendingId == static_cast<int64_t>(id)) return TString();
  } else if (const CGridCellBase* cell = FindCell(nRow, nCol)) {
    return TString(cell->GetText());
  }
  CRowCells cells;
  return TString(BaseText(id, slot, cells));
}

bool CGridStore::IsCellNull(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol) || m_bVirtualMode) return false;
  const uint32_t id = IdAt(nRow), slot = SlotAt(nCol);
  if (IsWritersRow(nRow)) {
    if (const PendingCell* pending = PendingAt(id, slot)) return pending->null;
  } else if (FindCell(nRow, nCol)) {
    return false;
  }
  CRowCells cells;
  m_table.Read(id, cells);
  return cells.IsNull(slot);
}

// ---- attributes: a cell gets an object only for a value its data cannot hold ----

CGridCellBase* CGridStore::CellForChange(int32_t nRow, int32_t nCol) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return nullptr;
  return GetCell(nRow, nCol);
}

bool CGridStore::SetCellData(int32_t nRow, int32_t nCol, uint32_t lParam) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (lParam != 0 || FindCell(nRow, nCol)) {
    CGridCellBase* cell = CellForChange(nRow, nCol);
    if (!cell) return false;
    try {
      cell->SetData(lParam);
    } catch (const std::bad_alloc&) {
      NoteOutOfMemory();
      return false;
    }
  }
  SetModified(true, nRow, nCol);
  return true;
}

uint32_t CGridStore::GetCellData(int32_t nRow, int32_t nCol) const {
  if (m_bVirtualMode) return IsValid(nRow, nCol) ? GetVirtualCell(nRow, nCol)->GetData() : 0;
  const CGridCellBase* cell = FindCell(nRow, nCol);
  return cell ? cell->GetData() : 0;
}

bool CGridStore::SetCellImage(int32_t nRow, int32_t nCol, int32_t nImage) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (nImage != -1 || FindCell(nRow, nCol)) {
    CGridCellBase* cell = CellForChange(nRow, nCol);
    if (!cell) return false;
    try {
      cell->SetImage(nImage);
    } catch (const std::bad_alloc&) {
      NoteOutOfMemory();
      return false;
    }
  }
  SetModified(true, nRow, nCol);
  return true;
}

int32_t CGridStore::GetCellImage(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return -1;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetImage();
  const CGridCellBase* cell = FindCell(nRow, nCol);
  return cell ? cell->GetImage() : -1;
}

bool CGridStore::IsCellSelected(int32_t nRow, int32_t nCol) const {
  if (!m_bEnableSelection) return false;
  return m_selection.Contains(nRow, nCol);
}

CellId CGridStore::SetFocusCell(CellId cell) {
  if (cell == m_idCurrentCell) return m_idCurrentCell;
  if (cell.row != -1 && cell.row < GetFixedRowCount()) cell.row = GetFixedRowCount();
  if (cell.col != -1 && cell.col < GetFixedColumnCount()) cell.col = GetFixedColumnCount();
  const CellId prev = m_idCurrentCell;
  m_idCurrentCell = cell;
  if (IsValid(prev))
    if (CGridCellBase* object = FindCell(prev.row, prev.col))
      object->SetState(object->GetState() & ~static_cast<uint32_t>(GVIS_FOCUSED));
  if (IsValid(cell))
    if (CGridCellBase* object = FindCell(cell.row, cell.col)) object->SetState(object->GetState() | GVIS_FOCUSED);
  return prev;
}

CellRange CGridStore::GetSelectedRange() const {
  if (m_selection.Empty()) return CellRange(GetRowCount(), GetColumnCount(), -1, -1);
  return m_selection.Bounds();
}

int32_t CGridStore::GetSelectedCount() const {
  return static_cast<int32_t>(std::min<int64_t>(m_selection.Count(), INT32_MAX));
}

void CGridStore::ClearSelectedCells() {
  // Nothing is written when nothing is selected, so that a fill's writer
  // never touches what the UI thread reads.
  if (!m_prevSelection.Empty()) m_prevSelection.Clear();
  if (m_selection.Empty()) return;
  SetSelectedRange(CellRange(), true, false, [](const CellRange&) {});
}

bool CGridStore::SetCellState(int32_t nRow, int32_t nCol, uint32_t state) {
  const bool wasSelected = m_selection.Contains(nRow, nCol);
  const bool select = (state & GVIS_SELECTED) != 0;
  if (wasSelected && !select)
    m_selection.Remove(CellRange(nRow, nCol, nRow, nCol));
  else if (!wasSelected && select && IsValid(nRow, nCol))
    m_selection.Add(CellRange(nRow, nCol, nRow, nCol));
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  CGridCellBase* cell = FindCell(nRow, nCol);
  // Bits the cell's place does not give need an object.
  constexpr uint32_t kOwnBits = GVIS_READONLY | GVIS_DROPHILITED;
  if (!cell && (state & kOwnBits)) cell = GetCell(nRow, nCol);
  if (cell) {
    cell->SetState(state);
    return true;
  }
  const bool modified = (state & GVIS_MODIFIED) != 0;
  if (modified != BaseModified(IdAt(nRow), SlotAt(nCol))) {
    CRowCells cells;
    const TString text(BaseText(IdAt(nRow), SlotAt(nCol), cells));
    if (!WriteCell(nRow, nCol, text, cells.IsNull(SlotAt(nCol)), modified)) return false;
  }
  return true;
}

uint32_t CGridStore::GetCellState(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return 0;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetState();
  if (CGridCellBase* cell = FindCell(nRow, nCol)) {
    RefreshSelectedBit(*cell, nRow, nCol);
    return cell->GetState();
  }
  return DerivedState(nRow, nCol);
}

bool CGridStore::SetCellFormat(int32_t nRow, int32_t nCol, uint32_t nFormat) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  CGridCellBase* cell = FindCell(nRow, nCol);
  if (!cell && nFormat == BaseFormat(IdAt(nRow), nRow, nCol)) return true;
  if (!cell && !(cell = GetCell(nRow, nCol))) return false;
  cell->SetFormat(nFormat);
  return true;
}

uint32_t CGridStore::GetCellFormat(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return 0;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetFormat();
  if (const CGridCellBase* cell = FindCell(nRow, nCol)) return cell->GetFormat();
  return BaseFormat(IdAt(nRow), nRow, nCol);
}

bool CGridStore::SetCellBkColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (cr == kClrDefault && !FindCell(nRow, nCol)) return true;
  CGridCellBase* cell = CellForChange(nRow, nCol);
  if (!cell) return false;
  try {
    cell->SetBackClr(cr);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

GridColour CGridStore::GetCellBkColour(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return 0;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetBackClr();
  const CGridCellBase* cell = FindCell(nRow, nCol);
  return cell ? cell->GetBackClr() : kClrDefault;
}

bool CGridStore::SetCellFgColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (cr == kClrDefault && !FindCell(nRow, nCol)) return true;
  CGridCellBase* cell = CellForChange(nRow, nCol);
  if (!cell) return false;
  try {
    cell->SetTextClr(cr);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

GridColour CGridStore::GetCellFgColour(int32_t nRow, int32_t nCol) const {
  if (!IsValid(nRow, nCol)) return 0;
  if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetTextClr();
  const CGridCellBase* cell = FindCell(nRow, nCol);
  return cell ? cell->GetTextClr() : kClrDefault;
}

bool CGridStore::SetCellFont(int32_t nRow, int32_t nCol, const GridLogFont* plf) {
  if (m_bVirtualMode || !IsValid(nRow, nCol)) return false;
  if (!plf && !FindCell(nRow, nCol)) return true;
  CGridCellBase* cell = CellForChange(nRow, nCol);
  if (!cell) return false;
  try {
    cell->SetFont(plf);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

const GridLogFont* CGridStore::GetCellFont(int32_t nRow, int32_t nCol) const {
  if (IsValid(nRow, nCol)) {
    if (m_bVirtualMode) return GetVirtualCell(nRow, nCol)->GetFont();
    if (const CGridCellBase* cell = FindCell(nRow, nCol)) return cell->GetFont();
  }
  return GetDefaultCell(nRow >= 0 && nRow < GetFixedRowCount(), nCol >= 0 && nCol < GetFixedColumnCount())->GetFont();
}

bool CGridStore::IsCellEditing(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = FindCell(nRow, nCol);
  return cell && cell->IsEditing();
}

bool CGridStore::SetCellItem(const GridItem* pItem) {
  if (!pItem || m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(pItem->row, pItem->col);
  if (!cell) return false;
  SetModified(true, pItem->row, pItem->col);
  try {
    ApplyItem(*cell, *pItem);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

void CGridStore::ApplyItem(CGridCellBase& cell, const GridItem& item) {
  const GridItem* pItem = &item;
  CGridCellBase* pCell = &cell;
  if (pItem->mask & GVIF_TEXT) pCell->SetText(pItem->strText);
  if (pItem->mask & GVIF_PARAM) pCell->SetData(pItem->lParam);
  if (pItem->mask & GVIF_IMAGE) pCell->SetImage(pItem->iImage);
  if (pItem->mask & GVIF_STATE) SetCellState(pItem->row, pItem->col, pItem->nState);
  if (pItem->mask & GVIF_FORMAT) pCell->SetFormat(pItem->nFormat);
  if (pItem->mask & GVIF_BKCLR) pCell->SetBackClr(pItem->crBkClr);
  if (pItem->mask & GVIF_FGCLR) pCell->SetTextClr(pItem->crFgClr);
  if (pItem->mask & GVIF_FONT) pCell->SetFont(&pItem->lfFont);
  if (pItem->mask & GVIF_MARGIN) pCell->SetMargin(pItem->nMargin);
}

bool CGridStore::GetCellItem(GridItem* pItem) const {
  if (!pItem) return false;
  const CGridCellBase* cell = PeekCell(pItem->row, pItem->col);
  if (!cell) return false;
  if (pItem->mask & GVIF_TEXT) pItem->strText = GetCellText(pItem->row, pItem->col);
  if (pItem->mask & GVIF_PARAM) pItem->lParam = cell->GetData();
  if (pItem->mask & GVIF_IMAGE) pItem->iImage = cell->GetImage();
  if (pItem->mask & GVIF_STATE) pItem->nState = GetCellState(pItem->row, pItem->col);
  if (pItem->mask & GVIF_FORMAT) pItem->nFormat = cell->GetFormat();
  if (pItem->mask & GVIF_BKCLR) pItem->crBkClr = cell->GetBackClr();
  if (pItem->mask & GVIF_FGCLR) pItem->crFgClr = cell->GetTextClr();
  if (pItem->mask & GVIF_FONT) {
    const GridLogFont* lf = cell->GetFont();
    if (lf) pItem->lfFont = *lf;
  }
  if (pItem->mask & GVIF_MARGIN) pItem->nMargin = cell->GetMargin();
  return true;
}

// ---- modified marks ----

void CGridStore::SetModified(bool bModified, int32_t nRow, int32_t nCol) {
  if ((nCol < 0 || nCol == GetSortColumn()) && GetSortColumn() != -1) SetSortColumn(-1);
  if (nRow >= 0 && nCol >= 0) {
    if (!m_bVirtualMode && IsValid(nRow, nCol)) {
      if (CGridCellBase* cell = IsWritersRow(nRow) ? nullptr : FindCell(nRow, nCol)) {
        const uint32_t state = cell->GetState();
        cell->SetState(bModified ? (state | GVIS_MODIFIED) : (state & ~static_cast<uint32_t>(GVIS_MODIFIED)));
      } else if (IsWritersRow(nRow)) {
        if (m_nPendingId == static_cast<int64_t>(IdAt(nRow)) && SlotAt(nCol) < m_pending.size())
          m_pending[SlotAt(nCol)].modified = bModified;
      } else if (!(m_bFilling.load(std::memory_order_relaxed) && nRow < GetPublishedRowCount())) {
        const uint32_t id = IdAt(nRow), slot = SlotAt(nCol);
        if (BaseModified(id, slot) != bModified) {
          CRowCells cells;
          const TString text(BaseText(id, slot, cells));
          if (!RewriteRecord(id, slot, text, cells.IsNull(slot), bModified)) NoteOutOfMemory();
        }
      }
      if (bModified) m_bModified = true;
    }
  } else if (m_bModified.load(std::memory_order_relaxed) != bModified) {
    m_bModified = bModified;
  }
  if (m_bModified || m_bVirtualMode) return;
  // Every mark goes: the marks of records written before now no longer count.
  m_nEpoch.fetch_add(1, std::memory_order_relaxed);
  for (auto& entry : m_cells) entry.second->SetState(entry.second->GetState() & ~static_cast<uint32_t>(GVIS_MODIFIED));
  if (!m_bFilling.load(std::memory_order_relaxed))
    for (PendingCell& cell : m_pending) cell.modified = false;
}

bool CGridStore::GetModified(int32_t nRow, int32_t nCol) const {
  if (nRow >= 0 && nCol >= 0) {
    if (!IsValid(nRow, nCol) || m_bVirtualMode) return false;
    if (IsWritersRow(nRow)) {
      const PendingCell* pending = PendingAt(IdAt(nRow), SlotAt(nCol));
      if (pending) return pending->modified;
    } else if (const CGridCellBase* cell = FindCell(nRow, nCol)) {
      return (cell->GetState() & GVIS_MODIFIED) != 0;
    }
    return BaseModified(IdAt(nRow), SlotAt(nCol));
  }
  return m_bModified;
}

// ---- virtual mode ----

void CGridStore::SetVirtualMode(bool bVirtual) {
  if (IsFilling()) return;
  DeleteAllCells();
  m_bVirtualMode = bVirtual;
}

void CGridStore::SetDisplayCallback(GridDisplayCallback pCallback, intptr_t lParam) {
  m_pfnCallback = pCallback;
  m_lParam = lParam;
}

CGridCellBase* CGridStore::GetVirtualCell(int32_t nRow, int32_t nCol) const {
  const bool fixedRow = nRow < GetFixedRowCount();
  const bool fixedCol = nCol < GetFixedColumnCount();
  const CGridDefaultCell* def = GetDefaultCell(fixedRow, fixedCol);
  GridItem& item = m_VirtualItem;
  item = GridItem();
  item.row = nRow;
  item.col = nCol;
  item.mask = 0xFFFFFFFFu;
  item.nState = 0;
  if (m_selection.Contains(nRow, nCol)) item.nState |= GVIS_SELECTED;
  if (fixedRow) item.nState |= GVIS_FIXED | GVIS_FIXEDROW;
  if (fixedCol) item.nState |= GVIS_FIXED | GVIS_FIXEDCOL;
  if (CellId(nRow, nCol) == m_idCurrentCell) item.nState |= GVIS_FOCUSED;
  item.nFormat = def->GetFormat();
  item.iImage = def->GetImage();
  item.crBkClr = def->GetBackClr();
  item.crFgClr = def->GetTextClr();
  item.lParam = def->GetData();
  if (def->GetFont()) item.lfFont = *def->GetFont();
  item.nMargin = def->GetMargin();
  auto* self = const_cast<CGridStore*>(this);
  if (m_pfnCallback)
    m_pfnCallback(&item, m_lParam);
  else if (m_pHost)
    m_pHost->RequestCellInfo(item);
  if (!m_pVirtualCell) m_pVirtualCell = std::make_unique<CGridCell>();
  CGridCell* cell = m_pVirtualCell.get();
  cell->Reset();
  cell->SetGrid(self);
  cell->SetText(item.strText);
  cell->SetState(item.nState);
  cell->SetFormat(item.nFormat);
  cell->SetImage(item.iImage);
  cell->SetBackClr(item.crBkClr);
  cell->SetTextClr(item.crFgClr);
  cell->SetData(item.lParam);
  cell->SetFont(&item.lfFont);
  cell->SetMargin(item.nMargin);
  return cell;
}

// ---- searching ----

namespace {

bool CellMatches(const CGridStore& grid, int32_t row, int32_t col, uint32_t nFlags) {
  const uint32_t state = grid.GetCellState(row, col);
  static const uint32_t kMap[][2] = {
      {GVNI_FOCUSED, GVIS_FOCUSED},   {GVNI_SELECTED, GVIS_SELECTED}, {GVNI_DROPHILITED, GVIS_DROPHILITED},
      {GVNI_READONLY, GVIS_READONLY}, {GVNI_FIXED, GVIS_FIXED},       {GVNI_MODIFIED, GVIS_MODIFIED}};
  uint32_t wanted = 0;
  for (const auto& entry : kMap)
    if (nFlags & entry[0]) wanted |= entry[1];
  return (state & wanted) != 0;
}

}  // namespace

CellId CGridStore::FindNextCell(CellId cell, uint32_t nFlags) const {
  const int32_t row = cell.row, col = cell.col;
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  const int32_t fixedRows = GetFixedRowCount(), fixedCols = GetFixedColumnCount();
  if ((nFlags & GVNI_ALL) == GVNI_ALL) {
    int32_t r = row <= 0 ? fixedRows : row;
    int32_t c = col + 1 <= 0 ? fixedCols : col + 1;
    for (; r < rows; ++r, c = fixedCols)
      for (; c < cols; ++c)
        if (CellMatches(*this, r, c, nFlags)) return CellId(r, c);
    return CellId(-1, -1);
  }
  if ((nFlags & GVNI_BELOW) && (nFlags & GVNI_TORIGHT)) {
    for (int32_t r = row; r < rows; ++r)
      for (int32_t c = col + 1; c < cols; ++c)
        if (CellMatches(*this, r, c, nFlags)) return CellId(r, c);
    return CellId(-1, -1);
  }
  if (nFlags & GVNI_ABOVE) {
    for (int32_t r = row - 1; r >= 0; --r)
      if (CellMatches(*this, r, col, nFlags)) return CellId(r, col);
  } else if (nFlags & GVNI_BELOW) {
    for (int32_t r = row + 1; r < rows; ++r)
      if (CellMatches(*this, r, col, nFlags)) return CellId(r, col);
  } else if (nFlags & GVNI_TOLEFT) {
    for (int32_t c = col - 1; c >= 0; --c)
      if (CellMatches(*this, row, c, nFlags)) return CellId(row, c);
  } else if (nFlags & GVNI_TORIGHT) {
    for (int32_t c = col + 1; c < cols; ++c)
      if (CellMatches(*this, row, c, nFlags)) return CellId(row, c);
  }
  return CellId(-1, -1);
}

}  // namespace dossel
