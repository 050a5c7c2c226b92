#pragma once
// CGridPrintout: the grid printed over pages. Rows are never split across
// pages; the fixed rows head every page and the fixed columns start every
// row. Without WYSIWYG printing the grid's whole width is scaled to the
// page width; with it the grid prints at about its screen size over as
// many pages side by side as its width needs. Each page has a header (the
// window's title centred, the program's at the right) and a footer
// ("Page %d of %d" and the date and time). The grid must outlive the
// printout and stay unchanged while it prints. UI thread only.

#include <wx/font.h>
#include <wx/print.h>

#include <vector>

#include "grid/grid_types.h"

namespace dossel {

class CGridCtrl;

class CGridPrintout : public wxPrintout {
 public:
  explicit CGridPrintout(CGridCtrl* pGrid, const wxString& title = wxT("Dossel"));

  void OnPreparePrinting() override;
  bool HasPage(int page) override { return page >= 1 && page <= m_nPageCount; }
  void GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) override;
  bool OnPrintPage(int page) override;

  int GetPageCount() const { return m_nPageCount; }
  // The scrolled rows page p (from 1) prints: [first, end).
  void GetPageRows(int page, int32_t* first, int32_t* end) const;

 private:
  // Scales the printer's context so that the logical page fills the
  // printable area, and sizes the printer fonts to the logical units.
  void PrepareDC(wxDC& dc);
  void PrintPageHeader(wxDC& dc, int width);
  void PrintPageFooter(wxDC& dc, int page, int width);
  // One band of cells (fixed or scrolled rows) from (x, y); false for a row
  // that would not fit and so ends the page.
  int PrintRowCells(wxDC& dc, int32_t row, int32_t firstCol, int32_t endCol, int x, int y, int maxRight);
  void PrintCell(wxDC& dc, int32_t row, int32_t col, const wxRect& rect);
  wxFont FittedFont(wxDC& dc, const wxFont& font, int height) const;

  CGridCtrl* m_pGrid;
  wxString m_appTitle;
  wxString m_windowTitle;
  // Character measures of the printer font, in logical units (screen pixels).
  int m_nCharWidth = 1, m_nCharHeight = 1;
  wxSize m_logicalPage;
  int m_nPageHeight = 0, m_nPageWidth = 0, m_nPageCount = 1, m_nPageMultiplier = 1;
  // The first scrolled row of each row page, the first column of each column page.
  std::vector<int32_t> m_rowPages, m_colPages;
  wxFont m_printerFont, m_boldFont, m_cellFont;
  int m_nCellFontHeight = 1;
  bool m_bMonochrome = false;
};

}  // namespace dossel
