#include "grid/grid_cell.h"

#include <new>

#include "grid/cell_pool.h"
#include "grid/grid_store.h"

namespace dossel {

namespace {

CellPool& OrdinaryCellPool() {
  // Never destroyed: cells of grids that outlive static destruction order
  // must still be able to return their slots.
  static CellPool* pool = new CellPool(sizeof(CGridCell));
  return *pool;
}

}  // namespace

bool GridRuntimeClass::IsDerivedFrom(const GridRuntimeClass* other) const {
  for (const GridRuntimeClass* c = this; c; c = c->base)
    if (c == other) return true;
  return false;
}

const GridRuntimeClass CGridCellBase::s_class{"CGridCellBase", nullptr, nullptr};
const GridRuntimeClass CGridCell::s_class{"CGridCell", &CGridCellBase::s_class, &CGridCell::CreateObject};
const GridRuntimeClass CGridDefaultCell::s_class{"CGridDefaultCell", &CGridCell::s_class,
                                                 &CGridDefaultCell::CreateObject};

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
  CGridStore* grid = GetGrid();
  if (!grid) return nullptr;
  return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::CopyFrom(const CGridCellBase& other) {
  if (&other == this) return;
  SetGrid(other.GetGrid());
  SetText(other.GetText());
  SetImage(other.GetImage());
  SetData(other.GetData());
  SetState(other.GetState());
  SetFormat(other.GetFormat());
  SetTextClr(other.GetTextClr());
  SetBackClr(other.GetBackClr());
  SetFont(other.IsDefaultFont() ? nullptr : other.GetFont());
  SetMargin(other.GetMargin());
}

// ---- CGridCell ----

void* CGridCell::operator new(size_t size) {
  if (size == sizeof(CGridCell)) return OrdinaryCellPool().Allocate();
  return ::operator new(size);
}

void CGridCell::operator delete(void* p, size_t size) {
  if (size == sizeof(CGridCell))
    OrdinaryCellPool().Free(p);
  else
    ::operator delete(p);
}

CGridCell::CGridCell() { Reset(); }

CGridCell::~CGridCell() = default;

CGridCell::Extra& CGridCell::TakeExtra() {
  if (!m_pExtra) m_pExtra = std::make_unique<Extra>();
  return *m_pExtra;
}

void CGridCell::SetImage(int32_t nImage) {
  if (m_pExtra || nImage != -1) TakeExtra().nImage = nImage;
}

void CGridCell::SetData(uint32_t lParam) {
  if (m_pExtra || lParam != 0) TakeExtra().lParam = lParam;
}

void CGridCell::SetTextClr(GridColour clr) {
  if (m_pExtra || clr != kClrDefault) TakeExtra().crFgClr = clr;
}

void CGridCell::SetBackClr(GridColour clr) {
  if (m_pExtra || clr != kClrDefault) TakeExtra().crBkClr = clr;
}

void CGridCell::SetMargin(uint32_t nMargin) {
  if (m_pExtra || nMargin != kMarginDefault) TakeExtra().nMargin = nMargin;
}

void CGridCell::SetFont(const GridLogFont* plf) {
  if (!plf) {
    if (m_pExtra) m_pExtra->plfFont.reset();
    return;
  }
  Extra& extra = TakeExtra();
  if (!extra.plfFont) extra.plfFont = std::make_unique<GridLogFont>();
  *extra.plfFont = *plf;
}

uint32_t CGridCell::GetFormat() const {
  if (m_nFormat != kFormatDefault) return m_nFormat;
  const CGridDefaultCell* def = GetDefaultCell();
  return def ? def->GetFormat() : 0;
}

const GridLogFont* CGridCell::GetFont() const {
  if (m_pExtra && m_pExtra->plfFont) return m_pExtra->plfFont.get();
  const CGridDefaultCell* def = GetDefaultCell();
  return def ? def->GetFont() : nullptr;
}

uint32_t CGridCell::GetMargin() const {
  if (m_pExtra && m_pExtra->nMargin != kMarginDefault) return m_pExtra->nMargin;
  const CGridDefaultCell* def = GetDefaultCell();
  return def ? def->GetMargin() : 0;
}

void CGridCell::Reset() {
  CGridCellBase::Reset();
  m_strText.Assign(TStringView());
  m_pGrid = nullptr;
  m_nFormat = kFormatDefault;
  m_pExtra.reset();
}

bool CGridCell::Edit(int32_t nRow, int32_t nCol, const GridRect& rect, int32_t, int32_t, uint32_t nID, uint32_t nChar) {
  if (IsEditing()) {
    if (GetEditWnd()) GetEditWnd()->SendChar(nChar);
    return true;
  }
  IGridStoreHost* host = m_pGrid ? m_pGrid->GetHost() : nullptr;
  if (!host) return false;
  Extra& extra = TakeExtra();
  extra.bEditing = true;
  GridEditWindow* editor = host->CreateCellEditor(*this, nRow, nCol, rect, nID, nChar);
  // The editor may already have ended (it lost the focus at once); then it
  // has cleared the flag and must not be remembered.
  if (!editor || !m_pExtra->bEditing) {
    OnEndEdit();
    return editor != nullptr;
  }
  m_pExtra->pEditWnd = editor;
  return true;
}

void CGridCell::EndEdit() {
  if (GetEditWnd()) GetEditWnd()->EndEdit();
}

void CGridCell::OnEndEdit() {
  if (!m_pExtra) return;
  m_pExtra->bEditing = false;
  m_pExtra->pEditWnd = nullptr;
}

// ---- CGridDefaultCell ----

CGridDefaultCell::CGridDefaultCell() {
  m_nFormat = kDefaultCellFormat;
  // A plain sans font until the window gives the system's message font.
  GridLogFont lf;
  lf.lfHeight = -12;
  lf.lfWeight = 400;
  SetFont(&lf);
}

CGridDefaultCell::~CGridDefaultCell() = default;

const GridLogFont* CGridDefaultCell::GetFont() const {
  return m_pExtra && m_pExtra->plfFont ? m_pExtra->plfFont.get() : nullptr;
}

void CGridDefaultCell::SetFont(const GridLogFont* plf) {
  if (!plf) return;
  CGridCell::SetFont(plf);
  SetMeasuredSize(GridSize{40, 16}, 3);
}

}  // namespace dossel
