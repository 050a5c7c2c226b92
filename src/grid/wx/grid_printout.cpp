#include "grid/wx/grid_printout.h"

#include <wx/datetime.h>
#include <wx/dcscreen.h>

#include <algorithm>

#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_display.h"
#include "platform/wx/wx_text.h"

namespace dossel {

namespace {

const wxString kMeasureText = wxT("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ");

// The first non-empty title among the window and its parents.
wxString WindowTitle(wxWindow* window) {
  for (; window; window = window->GetParent()) {
    if (auto* top = dynamic_cast<wxTopLevelWindow*>(window); top && !top->GetTitle().empty()) return top->GetTitle();
    if (!window->GetLabel().empty()) return window->GetLabel();
  }
  return wxString();
}

wxColour Grey(GridColour clr) {
  const unsigned grey = static_cast<unsigned>((clr & 0xFF) * 0.30) + static_cast<unsigned>(((clr >> 8) & 0xFF) * 0.59) +
                        static_cast<unsigned>(((clr >> 16) & 0xFF) * 0.11);
  return wxColour(grey, grey, grey);
}

}  // namespace

CGridPrintout::CGridPrintout(CGridCtrl* pGrid, const wxString& title)
    : wxPrintout(title), m_pGrid(pGrid), m_appTitle(title) {
  m_windowTitle = WindowTitle(pGrid->GetParent());
}

wxFont CGridPrintout::FittedFont(wxDC& dc, const wxFont& font, int height) const {
  // Printer contexts size fonts their own way; the font is scaled until its
  // height in logical units is the one measured on the screen.
  wxFont fitted(font);
  for (int i = 0; i < 3; ++i) {
    dc.SetFont(fitted);
    const int now = dc.GetCharHeight();
    if (now <= 0 || now == height) break;
    fitted.SetFractionalPointSize(fitted.GetFractionalPointSize() * height / now);
  }
  return fitted;
}

void CGridPrintout::OnPreparePrinting() {
  wxDC* dc = GetDC();
  if (!dc) return;
  m_bMonochrome = !dc->IsOk() || dc->GetDepth() == 1;
  // The printer font: about ten pixels high on the screen.
  m_printerFont = wxFont(wxFontInfo(8).FaceName(wxT("Arial")).Family(wxFONTFAMILY_SWISS));
  {
    wxScreenDC screen;
    screen.SetFont(m_printerFont);
    const wxSize extent = screen.GetTextExtent(kMeasureText.Left(52));
    m_nCharWidth = std::max(1, extent.x / 52);
    m_nCharHeight = std::max(1, extent.y);
    const wxFont* gridFont = m_pGrid->GetGridFont();
    m_cellFont = gridFont && gridFont->IsOk() ? *gridFont : m_printerFont;
    screen.SetFont(m_cellFont);
    m_nCellFontHeight = std::max(1, screen.GetCharHeight());
  }
  const GridPrintMargins& margins = m_pGrid->GetPrintMargins();
  const int sideMargins = (margins.left + margins.right) * m_nCharWidth;
  int paperWidth = 0, paperHeight = 0;
  GetPageSizePixels(&paperWidth, &paperHeight);
  paperWidth = std::max(paperWidth, 1);
  paperHeight = std::max(paperHeight, 1);
  if (m_pGrid->GetWysiwygPrinting()) {
    int screenX = 96, screenY = 96, printerX = 300, printerY = 300;
    GetPPIScreen(&screenX, &screenY);
    GetPPIPrinter(&printerX, &printerY);
    m_logicalPage = wxSize(screenX * paperWidth / std::max(printerX, 1) * 3 / 4,
                           screenY * paperHeight / std::max(printerY, 1) * 3 / 4);
  } else {
    const int width = std::max(m_pGrid->GetVirtualWidth() + sideMargins, 1);
    m_logicalPage = wxSize(width, static_cast<int>(static_cast<int64_t>(width) * paperHeight / paperWidth));
  }
  const int32_t fixedRows = m_pGrid->GetFixedRowCount(), fixedCols = m_pGrid->GetFixedColumnCount();
  m_nPageHeight = m_logicalPage.y - m_pGrid->GetFixedRowHeight() -
                  (margins.header + margins.footer + 2 * margins.gap) * m_nCharHeight;
  m_rowPages.assign(1, fixedRows);
  int64_t sum = 0;
  for (int32_t row = fixedRows; row < m_pGrid->GetRowCount(); ++row) {
    const int32_t height = m_pGrid->GetRowHeight(row);
    sum += height;
    if (sum > m_nPageHeight && row > m_rowPages.back()) {
      m_rowPages.push_back(row);
      sum = height;
    }
  }
  m_nPageWidth = m_logicalPage.x - m_pGrid->GetFixedColumnWidth() - sideMargins;
  m_colPages.assign(1, fixedCols);
  if (m_pGrid->GetWysiwygPrinting()) {
    sum = 0;
    for (int32_t col = fixedCols; col < m_pGrid->GetColumnCount(); ++col) {
      const int32_t width = m_pGrid->GetColumnWidth(col);
      sum += width;
      if (sum > m_nPageWidth && col > m_colPages.back()) {
        m_colPages.push_back(col);
        sum = width;
      }
    }
  }
  m_nPageMultiplier = static_cast<int>(m_colPages.size());
  m_nPageCount = static_cast<int>(m_rowPages.size()) * m_nPageMultiplier;
}

void CGridPrintout::GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) {
  *minPage = 1;
  *maxPage = m_nPageCount;
  *selFrom = 1;
  *selTo = m_nPageCount;
}

void CGridPrintout::GetPageRows(int page, int32_t* first, int32_t* end) const {
  const size_t rowPage = static_cast<size_t>((page - 1) / m_nPageMultiplier);
  *first = rowPage < m_rowPages.size() ? m_rowPages[rowPage] : m_pGrid->GetRowCount();
  *end = rowPage + 1 < m_rowPages.size() ? m_rowPages[rowPage + 1] : m_pGrid->GetRowCount();
}

void CGridPrintout::PrepareDC(wxDC& dc) {
  FitThisSizeToPage(m_logicalPage);
  m_printerFont = FittedFont(dc, m_printerFont, m_nCharHeight);
  m_boldFont = m_printerFont.Bold();
  m_cellFont = FittedFont(dc, m_cellFont, m_nCellFontHeight);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
}

bool CGridPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (!dc || !HasPage(page)) return false;
  PrepareDC(*dc);
  const GridPrintMargins& margins = m_pGrid->GetPrintMargins();
  const int left = margins.left * m_nCharWidth;
  const int width = m_logicalPage.x - (margins.left + margins.right) * m_nCharWidth;
  dc->SetDeviceOrigin(dc->LogicalToDeviceX(left), dc->LogicalToDeviceY(0));
  PrintPageHeader(*dc, width);

  int32_t firstRow = 0, endRow = 0;
  GetPageRows(page, &firstRow, &endRow);
  const int32_t firstCol = m_colPages[static_cast<size_t>((page - 1) % m_nPageMultiplier)];
  const int32_t fixedRows = m_pGrid->GetFixedRowCount();
  const int fixedWidth = m_pGrid->GetFixedColumnWidth();
  const int maxRight = fixedWidth + m_nPageWidth;
  int y = (margins.header + margins.gap) * m_nCharHeight;
  dc->SetPen(*wxBLACK_PEN);
  for (int32_t row = 0; row < fixedRows; ++row) y += PrintRowCells(*dc, row, firstCol, -1, 0, y, maxRight);
  for (int32_t row = firstRow; row < endRow; ++row) y += PrintRowCells(*dc, row, firstCol, -1, 0, y, maxRight);
  PrintPageFooter(*dc, page, width);
  dc->SetDeviceOrigin(0, 0);
  return true;
}

// Prints the row's fixed cells and its cells from firstCol on while they
// fit left of maxRight; answers the row's height.
int CGridPrintout::PrintRowCells(wxDC& dc, int32_t row, int32_t firstCol, int32_t endCol, int x, int y, int maxRight) {
  const int height = m_pGrid->GetRowHeight(row);
  if (height <= 0) return 0;
  const int32_t cols = endCol < 0 ? m_pGrid->GetColumnCount() : endCol;
  const int32_t gridLines = m_pGrid->GetGridLines();
  auto printAt = [&](int32_t col, int left) {
    const int width = m_pGrid->GetColumnWidth(col);
    if (width <= 0) return 0;
    const wxRect rect(left, y, width, height);
    PrintCell(dc, row, col, rect);
    dc.SetPen(*wxBLACK_PEN);
    if (gridLines == GVL_HORZ || gridLines == GVL_BOTH) {
      dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetRight() + 1, rect.GetBottom());
      if (row == 0) dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight() + 1, rect.GetTop());
    }
    if (gridLines == GVL_VERT || gridLines == GVL_BOTH) {
      dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom() + 1);
      if (left == 0) dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetLeft(), rect.GetBottom() + 1);
    }
    return width;
  };
  int left = x;
  for (int32_t col = 0; col < m_pGrid->GetFixedColumnCount(); ++col) left += printAt(col, left);
  for (int32_t col = std::max(firstCol, m_pGrid->GetFixedColumnCount()); col < cols; ++col) {
    if (left + m_pGrid->GetColumnWidth(col) > maxRight + x) break;
    left += printAt(col, left);
  }
  return height;
}

void CGridPrintout::PrintCell(wxDC& dc, int32_t row, int32_t col, const wxRect& rect) {
  CGridCellBase* cell = m_pGrid->PeekCell(row, col);
  if (!cell || rect.IsEmpty()) return;
  const CGridDefaultCell* def = cell->GetDefaultCell();
  wxColour text = *wxBLACK;
  if (m_pGrid->GetShadedPrintOut() && def) {
    GridColour back = kClrDefault;
    if (cell->IsFixed())
      back = cell->GetBackClr() == kClrDefault ? def->GetBackClr() : cell->GetBackClr();
    else if (cell->GetBackClr() != kClrDefault && cell->GetBackClr() != def->GetBackClr())
      back = cell->GetBackClr();
    const GridColour fore =
        cell->GetBackClr() != kClrDefault && cell->GetTextClr() != kClrDefault ? cell->GetTextClr() : def->GetTextClr();
    text = m_bMonochrome && back == kClrDefault ? Grey(fore) : ToWxColour(fore);
    if (back != kClrDefault) {
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(ToWxColour(back)));
      dc.DrawRectangle(rect.x, rect.y, rect.width + 1, rect.height + 1);
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
    }
  }
  dc.SetTextForeground(text);
  dc.SetFont(m_cellFont);
  // Lines drawn between two cells leave the PostScript context needing the
  // font given again.
  dc.SetFont(m_boldFont);
  dc.SetFont(m_cellFont);
  const int32_t margin = static_cast<int32_t>(cell->GetMargin());
  GridRect textRect{rect.x + margin, rect.y, rect.x + rect.width - margin, rect.y + rect.height};
  if (textRect.right > textRect.left)
    GridDrawText(dc, cell->GetText(), &textRect, (cell->GetFormat() | DT_NOPREFIX) & ~DT_CALCRECT);
}

void CGridPrintout::PrintPageHeader(wxDC& dc, int width) {
  const GridPrintMargins& margins = m_pGrid->GetPrintMargins();
  const int height = margins.header * m_nCharHeight;
  dc.SetFont(m_boldFont);
  dc.SetTextForeground(*wxBLACK);
  const wxRect rect(0, 0, width, height);
  if (!m_windowTitle.empty()) dc.DrawLabel(m_windowTitle, rect, wxALIGN_CENTRE);
  if (!m_appTitle.empty()) dc.DrawLabel(m_appTitle, rect, wxALIGN_RIGHT | wxALIGN_CENTRE_VERTICAL);
  dc.SetPen(*wxBLACK_PEN);
  dc.DrawLine(0, height, width, height);
}

void CGridPrintout::PrintPageFooter(wxDC& dc, int page, int width) {
  const GridPrintMargins& margins = m_pGrid->GetPrintMargins();
  const int height = margins.footer * m_nCharHeight;
  const int top = m_logicalPage.y - height;
  dc.SetPen(*wxBLACK_PEN);
  dc.DrawLine(0, top, width, top);
  dc.SetFont(m_boldFont);
  dc.SetTextForeground(*wxBLACK);
  const wxRect rect(0, top, width, height);
  dc.DrawLabel(wxString::Format(wxT("Page %d of %d"), page, m_nPageCount), rect,
               wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL);
  dc.DrawLabel(wxDateTime::Now().Format(wxT("%c")), rect, wxALIGN_RIGHT | wxALIGN_CENTRE_VERTICAL);
}

}  // namespace dossel
