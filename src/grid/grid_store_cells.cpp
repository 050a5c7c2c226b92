// CGridStore: cell contents and attributes, modified marks, focus and
// selection data, virtual mode, searching.

#include "grid/grid_store.h"

#include <algorithm>
#include <new>

namespace dossel {

void CGridStore::SetCellTextUnchecked(CGridCellBase& cell, int32_t row, int32_t col, TStringView text) {
  cell.SetText(text);
  // SetModified(true, row, col) without the work a fill does not need: the
  // grid flag and the sort column are written only when they change.
  cell.SetState(cell.GetState() | GVIS_MODIFIED);
  if (!m_bModified.load(std::memory_order_relaxed)) m_bModified.store(true, std::memory_order_relaxed);
  if (col == GetSortColumn()) SetSortColumn(-1);
  (void)row;
}

bool CGridStore::SetCellText(int32_t nRow, int32_t nCol, TStringView str) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  try {
    SetCellTextUnchecked(*cell, nRow, nCol, str);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

bool CGridStore::SetRowTexts(int32_t row, int32_t firstCol, const TString* texts, int32_t count) {
  if (m_bVirtualMode || row < 0 || row >= GetRowCount() || firstCol < 0 || count < 0) return false;
  if (count > GetColumnCount() - firstCol) return false;
  const CellRow cells = RowAt(row);
  if (!cells) return false;
  try {
    for (int32_t i = 0; i < count; ++i) {
      CGridCellBase* cell = cells[firstCol + i];
      if (!cell) return false;
      SetCellTextUnchecked(*cell, row, firstCol + i, texts[i]);
    }
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  return true;
}

TString CGridStore::GetCellText(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? TString(cell->GetText()) : TString();
}

bool CGridStore::SetCellData(int32_t nRow, int32_t nCol, uint32_t lParam) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  try {
    cell->SetData(lParam);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  SetModified(true, nRow, nCol);
  return true;
}

uint32_t CGridStore::GetCellData(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetData() : 0;
}

bool CGridStore::SetCellImage(int32_t nRow, int32_t nCol, int32_t nImage) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  try {
    cell->SetImage(nImage);
  } catch (const std::bad_alloc&) {
    NoteOutOfMemory();
    return false;
  }
  SetModified(true, nRow, nCol);
  return true;
}

int32_t CGridStore::GetCellImage(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetImage() : -1;
}

bool CGridStore::IsInSelectionMap(int32_t nRow, int32_t nCol) const {
  const auto range = m_SelectedCellMap.equal_range(SelectionKey(nRow, nCol));
  for (auto it = range.first; it != range.second; ++it)
    if (it->second == CellId(nRow, nCol)) return true;
  return false;
}

bool CGridStore::IsCellSelected(int32_t nRow, int32_t nCol) const {
  if (!m_bEnableSelection) return false;
  if (m_bVirtualMode) return IsInSelectionMap(nRow, nCol);
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell && cell->IsSelected();
}

CellId CGridStore::SetFocusCell(CellId cell) {
  if (cell == m_idCurrentCell) return m_idCurrentCell;
  if (cell.row != -1 && cell.row < GetFixedRowCount()) cell.row = GetFixedRowCount();
  if (cell.col != -1 && cell.col < GetFixedColumnCount()) cell.col = GetFixedColumnCount();
  const CellId prev = m_idCurrentCell;
  m_idCurrentCell = cell;
  if (IsValid(prev))
    SetCellState(prev.row, prev.col, GetCellState(prev.row, prev.col) & ~static_cast<uint32_t>(GVIS_FOCUSED));
  if (IsValid(cell)) SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GVIS_FOCUSED);
  return prev;
}

CellRange CGridStore::GetSelectedRange() const {
  CellRange range(GetRowCount(), GetColumnCount(), -1, -1);
  for (const auto& entry : m_SelectedCellMap) {
    const CellId& id = entry.second;
    range.minRow = std::min(range.minRow, id.row);
    range.minCol = std::min(range.minCol, id.col);
    range.maxRow = std::max(range.maxRow, id.row);
    range.maxCol = std::max(range.maxCol, id.col);
  }
  return range;
}

void CGridStore::ClearSelectedCells() {
  // Nothing is written when nothing is selected, so that a fill's writer
  // never touches the maps the UI thread reads.
  if (!m_PrevSelectedCellMap.empty()) m_PrevSelectedCellMap.clear();
  if (m_SelectedCellMap.empty()) return;
  SetSelectedRange(CellRange(), true, false, [](int32_t, int32_t) {});
}

bool CGridStore::SetCellState(int32_t nRow, int32_t nCol, uint32_t state) {
  const bool wasSelected = IsCellSelected(nRow, nCol);
  const uint32_t key = SelectionKey(nRow, nCol);
  if (wasSelected && !(state & GVIS_SELECTED)) {
    const auto range = m_SelectedCellMap.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
      if (it->second == CellId(nRow, nCol)) {
        m_SelectedCellMap.erase(it);
        break;
      }
    }
  } else if (!wasSelected && (state & GVIS_SELECTED) && IsValid(nRow, nCol) && !IsInSelectionMap(nRow, nCol)) {
    m_SelectedCellMap.emplace(key, CellId(nRow, nCol));
  }
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetState(state);
  return true;
}

uint32_t CGridStore::GetCellState(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetState() : 0;
}

bool CGridStore::SetCellFormat(int32_t nRow, int32_t nCol, uint32_t nFormat) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetFormat(nFormat);
  return true;
}

uint32_t CGridStore::GetCellFormat(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetFormat() : 0;
}

bool CGridStore::SetCellBkColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
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
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetBackClr() : 0;
}

bool CGridStore::SetCellFgColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
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
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetTextClr() : 0;
}

bool CGridStore::SetCellFont(int32_t nRow, int32_t nCol, const GridLogFont* plf) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
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
  const CGridCellBase* cell = GetCell(nRow, nCol);
  if (cell) return cell->GetFont();
  return GetDefaultCell(nRow >= 0 && nRow < GetFixedRowCount(), nCol >= 0 && nCol < GetFixedColumnCount())->GetFont();
}

bool CGridStore::IsCellEditing(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
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
  const CGridCellBase* cell = GetCell(pItem->row, pItem->col);
  if (!cell) return false;
  if (pItem->mask & GVIF_TEXT) pItem->strText = GetCellText(pItem->row, pItem->col);
  if (pItem->mask & GVIF_PARAM) pItem->lParam = cell->GetData();
  if (pItem->mask & GVIF_IMAGE) pItem->iImage = cell->GetImage();
  if (pItem->mask & GVIF_STATE) pItem->nState = cell->GetState();
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
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol);
    if (cell) {
      if (bModified) {
        cell->SetState(cell->GetState() | GVIS_MODIFIED);
        m_bModified = true;
      } else {
        cell->SetState(cell->GetState() & ~static_cast<uint32_t>(GVIS_MODIFIED));
      }
    }
  } else if (m_bModified.load(std::memory_order_relaxed) != bModified) {
    m_bModified = bModified;
  }
  if (m_bModified || m_bVirtualMode) return;
  const int32_t rows = GetRowCount(), cols = GetColumnCount();
  for (int32_t row = 0; row < rows; ++row) {
    const CellRow cells = RowAt(row);
    if (!cells) continue;
    for (int32_t col = 0; col < cols; ++col) {
      CGridCellBase* cell = cells[col];
      if (cell) cell->SetState(cell->GetState() & ~static_cast<uint32_t>(GVIS_MODIFIED));
    }
  }
}

bool CGridStore::GetModified(int32_t nRow, int32_t nCol) const {
  if (nRow >= 0 && nCol >= 0) {
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell && (cell->GetState() & GVIS_MODIFIED) != 0;
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
  if (IsInSelectionMap(nRow, nCol)) item.nState |= GVIS_SELECTED;
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
