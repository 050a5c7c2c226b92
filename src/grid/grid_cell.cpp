#include "grid/grid_cell.h"

#include <wx/cursor.h>
#include <wx/dcscreen.h>
#include <wx/font.h>

#include <cstring>
#include <new>

#include "grid/cell_pool.h"
#include "grid/grid_ctrl.h"
#include "grid/grid_display.h"

namespace dossel {

namespace {

CellPool& OrdinaryCellPool() {
  // Never destroyed: cells of grids that outlive static destruction order
  // must still be able to return their slots.
  static CellPool* pool = new CellPool(sizeof(CGridCell));
  return *pool;
}

// The one font object that ordinary cells with their own font share; it is
// re-made on every request, so it is valid until the next one.
std::unique_ptr<wxFont>& SharedCellFont() {
  static std::unique_ptr<wxFont> font;
  return font;
}

}  // namespace

bool GridLogFont::operator==(const GridLogFont& o) const {
  return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement &&
         lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic &&
         lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut && lfCharSet == o.lfCharSet &&
         std::memcmp(lfFaceName, o.lfFaceName, sizeof(lfFaceName)) == 0;
}

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
  CGridCtrl* grid = GetGrid();
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

bool CGridCellBase::OnSetCursor() {
  if (GridHasDisplay() && GetGrid()) GetGrid()->SetCursor(wxCursor(wxCURSOR_ARROW));
  return true;
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

const wxFont* CGridCell::GetFontObject() const {
  if (m_pExtra && m_pExtra->plfFont) {
    SharedCellFont() = std::make_unique<wxFont>(ToWxFont(*m_pExtra->plfFont));
    return SharedCellFont().get();
  }
  const CGridDefaultCell* def = GetDefaultCell();
  return def ? def->GetFontObject() : nullptr;
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

void CGridCell::OnEndEdit() {
  if (!m_pExtra) return;
  m_pExtra->bEditing = false;
  m_pExtra->pEditWnd = nullptr;
}

// ---- CGridDefaultCell ----

CGridDefaultCell::CGridDefaultCell() {
  m_nFormat = kDefaultCellFormat;
  const GridLogFont lf = GetMessageLogFont();
  SetFont(&lf);
}

CGridDefaultCell::~CGridDefaultCell() = default;

const GridLogFont* CGridDefaultCell::GetFont() const {
  return m_pExtra && m_pExtra->plfFont ? m_pExtra->plfFont.get() : nullptr;
}

void CGridDefaultCell::SetFont(const GridLogFont* plf) {
  if (!plf) return;
  CGridCell::SetFont(plf);
  if (!GridHasDisplay()) {
    m_pFont.reset();
    SetMargin(3);
    m_Size = GridSize{40, 16};
    return;
  }
  m_pFont = std::make_unique<wxFont>(ToWxFont(*plf));
  wxScreenDC dc;
  dc.SetFont(*m_pFont);
  SetMargin(static_cast<uint32_t>(dc.GetTextExtent(wxT(" ")).GetWidth()));
  const wxSize size = dc.GetTextExtent(wxT(" XXXXXXXXXXXX "));
  m_Size = GridSize{size.GetWidth(), size.GetHeight() * 3 / 2};
}

}  // namespace dossel
