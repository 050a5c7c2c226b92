#pragma once
// Printing a pane's text: CTextPrintout lays the text out in the pane's font
// (long lines wrapped at the page width, tabs at every eighth column) under
// a page header holding the title and "Page n of m"; CPrintSupport keeps the
// printer and page settings for the program's life and runs Print, Print
// Preview and Print Setup with them. UI thread only.

#include <wx/cmndata.h>
#include <wx/font.h>
#include <wx/print.h>

#include <memory>
#include <vector>

namespace dossel {

// `text` split into printed lines: "\r\n", "\n" and "\r" end a line, tabs
// become spaces up to the next multiple of `tabWidth` columns.
std::vector<wxString> SplitPrintLines(const wxString& text, int tabWidth = 8);

class CTextPrintout : public wxPrintout {
 public:
  CTextPrintout(const wxString& title, const wxString& text, const wxFont& font);

  // Page margins in millimetres (from the page setup); defaults 15 mm.
  void SetMargins(const wxPoint& topLeft, const wxPoint& bottomRight);

  void OnPreparePrinting() override;
  bool HasPage(int page) override;
  void GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) override;
  bool OnPrintPage(int page) override;

  int PageCount() const { return static_cast<int>(m_pages.size()); }

 private:
  // Scales the DC to screen-sized units and answers the printable area.
  wxRect PrepareDC();
  // Breaks a line into pieces no wider than `width`, at a blank when one is near.
  void WrapLine(wxDC& dc, const wxString& line, int width, std::vector<wxString>& out) const;

  wxString m_title;
  wxString m_text;
  wxFont m_font;
  wxPoint m_marginTopLeft{15, 15};
  wxPoint m_marginBottomRight{15, 15};
  std::vector<wxString> m_lines;
  // Index of the first line of each page.
  std::vector<size_t> m_pages;
  int m_linesPerPage = 1;
};

class CPrintSupport {
 public:
  explicit CPrintSupport(wxWindow* owner);

  // Prints `printout` (taken over), asking first with the print dialog when
  // `prompt`; false when nothing was printed.
  bool Print(wxPrintout* printout, bool prompt);
  // Opens the preview window on two printouts of the same content (taken over).
  bool Preview(wxPrintout* printout, wxPrintout* forPrinting);
  void PageSetup();

  wxPrintDialogData& PrintData() { return m_printData; }
  wxPageSetupDialogData& PageSetupData() { return m_pageSetup; }
  // Gives a text printout the page setup's margins.
  void ApplyMargins(wxPrintout* printout) const;

 private:
  wxWindow* m_owner;
  wxPrintDialogData m_printData;
  wxPageSetupDialogData m_pageSetup;
};

}  // namespace dossel
