// CGridCtrl: cell contents and attributes, modified marks, virtual mode,
// searching.

#include "grid/grid_ctrl.h"

namespace dossel {

bool CGridCtrl::SetCellText(int32_t nRow, int32_t nCol, TStringView str) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetText(str);
  SetModified(true, nRow, nCol);
  return true;
}

TString CGridCtrl::GetCellText(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? TString(cell->GetText()) : TString();
}

bool CGridCtrl::SetCellData(int32_t nRow, int32_t nCol, uint32_t lParam) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetData(lParam);
  SetModified(true, nRow, nCol);
  return true;
}

uint32_t CGridCtrl::GetCellData(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetData() : 0;
}

bool CGridCtrl::SetCellImage(int32_t nRow, int32_t nCol, int32_t nImage) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetImage(nImage);
  SetModified(true, nRow, nCol);
  return true;
}

int32_t CGridCtrl::GetCellImage(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetImage() : -1;
}

bool CGridCtrl::IsInSelectionMap(int32_t nRow, int32_t nCol) const {
  const auto range = m_SelectedCellMap.equal_range(SelectionKey(nRow, nCol));
  for (auto it = range.first; it != range.second; ++it)
    if (it->second == CellId(nRow, nCol)) return true;
  return false;
}

bool CGridCtrl::SetCellState(int32_t nRow, int32_t nCol, uint32_t state) {
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

uint32_t CGridCtrl::GetCellState(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetState() : 0;
}

bool CGridCtrl::SetCellFormat(int32_t nRow, int32_t nCol, uint32_t nFormat) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetFormat(nFormat);
  return true;
}

uint32_t CGridCtrl::GetCellFormat(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetFormat() : 0;
}

bool CGridCtrl::SetCellBkColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetBackClr(cr);
  return true;
}

GridColour CGridCtrl::GetCellBkColour(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetBackClr() : 0;
}

bool CGridCtrl::SetCellFgColour(int32_t nRow, int32_t nCol, GridColour cr) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetTextClr(cr);
  return true;
}

GridColour CGridCtrl::GetCellFgColour(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell ? cell->GetTextClr() : 0;
}

bool CGridCtrl::SetCellFont(int32_t nRow, int32_t nCol, const GridLogFont* plf) {
  if (m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(nRow, nCol);
  if (!cell) return false;
  cell->SetFont(plf);
  return true;
}

const GridLogFont* CGridCtrl::GetCellFont(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  if (cell) return cell->GetFont();
  return GetDefaultCell(nRow >= 0 && nRow < m_nFixedRows, nCol >= 0 && nCol < m_nFixedCols)->GetFont();
}

bool CGridCtrl::IsCellEditing(int32_t nRow, int32_t nCol) const {
  const CGridCellBase* cell = GetCell(nRow, nCol);
  return cell && cell->IsEditing();
}

bool CGridCtrl::SetCellItem(const GridItem* pItem) {
  if (!pItem || m_bVirtualMode) return false;
  CGridCellBase* cell = GetCell(pItem->row, pItem->col);
  if (!cell) return false;
  SetModified(true, pItem->row, pItem->col);
  if (pItem->mask & GVIF_TEXT) cell->SetText(pItem->strText);
  if (pItem->mask & GVIF_PARAM) cell->SetData(pItem->lParam);
  if (pItem->mask & GVIF_IMAGE) cell->SetImage(pItem->iImage);
  if (pItem->mask & GVIF_STATE) SetCellState(pItem->row, pItem->col, pItem->nState);
  if (pItem->mask & GVIF_FORMAT) cell->SetFormat(pItem->nFormat);
  if (pItem->mask & GVIF_BKCLR) cell->SetBackClr(pItem->crBkClr);
  if (pItem->mask & GVIF_FGCLR) cell->SetTextClr(pItem->crFgClr);
  if (pItem->mask & GVIF_FONT) cell->SetFont(&pItem->lfFont);
  if (pItem->mask & GVIF_MARGIN) cell->SetMargin(pItem->nMargin);
  return true;
}

bool CGridCtrl::GetCellItem(GridItem* pItem) const {
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

void CGridCtrl::SetModified(bool bModified, int32_t nRow, int32_t nCol) {
  if (nCol < 0 || nCol == m_nSortColumn) m_nSortColumn = -1;
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
  } else {
    m_bModified = bModified;
  }
  if (m_bModified || m_bVirtualMode) return;
  for (int32_t row = 0; row < static_cast<int32_t>(m_RowData.size()); ++row) {
    if (!m_RowData[row]) continue;
    for (int32_t col = 0; col < m_nCols; ++col) {
      CGridCellBase* cell = m_RowData[row][col];
      if (cell) cell->SetState(cell->GetState() & ~static_cast<uint32_t>(GVIS_MODIFIED));
    }
  }
}

bool CGridCtrl::GetModified(int32_t nRow, int32_t nCol) const {
  if (nRow >= 0 && nCol >= 0) {
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell && (cell->GetState() & GVIS_MODIFIED) != 0;
  }
  return m_bModified;
}

// ---- virtual mode ----

void CGridCtrl::SetVirtualMode(bool bVirtual) {
  DeleteAllCells();
  m_bVirtualMode = bVirtual;
  if (!bVirtual) return;
  m_bEditable = false;
  m_bSortOnClick = false;
  m_nAutoSizeColumnStyle = GVS_HEADER;
  m_bFixedColumnSelection = false;
  m_bFixedRowSelection = false;
}

void CGridCtrl::SetDisplayCallback(GridDisplayCallback pCallback, intptr_t lParam) {
  m_pfnCallback = pCallback;
  m_lParam = lParam;
}

CGridCellBase* CGridCtrl::GetVirtualCell(int32_t nRow, int32_t nCol) const {
  const bool fixedRow = nRow < m_nFixedRows;
  const bool fixedCol = nCol < m_nFixedCols;
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
  auto* self = const_cast<CGridCtrl*>(this);
  if (m_pfnCallback)
    m_pfnCallback(&item, m_lParam);
  else
    self->NotifyOwner(nRow, nCol, GVN_GETDISPINFO, &item);
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

void CGridCtrl::SendCacheHint(const CellRange& range) {
  if (m_bVirtualMode) NotifyOwner(range.minRow, range.minCol, GVN_ODCACHEHINT, nullptr, &range);
}

// ---- searching ----

namespace {

bool CellMatches(const CGridCtrl& grid, int32_t row, int32_t col, uint32_t nFlags) {
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

CellId CGridCtrl::FindNextCell(CellId cell, uint32_t nFlags) const {
  const int32_t row = cell.row, col = cell.col;
  if ((nFlags & GVNI_ALL) == GVNI_ALL) {
    int32_t r = row <= 0 ? m_nFixedRows : row;
    int32_t c = col + 1 <= 0 ? m_nFixedCols : col + 1;
    for (; r < m_nRows; ++r, c = m_nFixedCols)
      for (; c < m_nCols; ++c)
        if (CellMatches(*this, r, c, nFlags)) return CellId(r, c);
    return CellId(-1, -1);
  }
  if ((nFlags & GVNI_BELOW) && (nFlags & GVNI_TORIGHT)) {
    for (int32_t r = row; r < m_nRows; ++r)
      for (int32_t c = col + 1; c < m_nCols; ++c)
        if (CellMatches(*this, r, c, nFlags)) return CellId(r, c);
    return CellId(-1, -1);
  }
  if (nFlags & GVNI_ABOVE) {
    for (int32_t r = row - 1; r >= 0; --r)
      if (CellMatches(*this, r, col, nFlags)) return CellId(r, col);
  } else if (nFlags & GVNI_BELOW) {
    for (int32_t r = row + 1; r < m_nRows; ++r)
      if (CellMatches(*this, r, col, nFlags)) return CellId(r, col);
  } else if (nFlags & GVNI_TOLEFT) {
    for (int32_t c = col - 1; c >= 0; --c)
      if (CellMatches(*this, row, c, nFlags)) return CellId(row, c);
  } else if (nFlags & GVNI_TORIGHT) {
    for (int32_t c = col + 1; c < m_nCols; ++c)
      if (CellMatches(*this, row, c, nFlags)) return CellId(row, c);
  }
  return CellId(-1, -1);
}

}  // namespace dossel
