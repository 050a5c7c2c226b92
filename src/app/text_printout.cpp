#include "app/text_printout.h"

#include <wx/dc.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>

namespace dossel {

namespace {
// The header: one line of text, a rule, and this much space (in lines).
constexpr double kHeaderLines = 2.0;
}  // namespace

std::vector<wxString> SplitPrintLines(const wxString& text, int tabWidth) {
  std::vector<wxString> lines;
  wxString line;
  for (size_t i = 0; i < text.length(); ++i) {
    const wxUniChar c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.length() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else if (c == '\t') {
      line.append(static_cast<size_t>(tabWidth - static_cast<int>(line.length()) % tabWidth), ' ');
    } else {
      line += c;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

CTextPrintout::CTextPrintout(const wxString& title, const wxString& text, const wxFont& font)
    : wxPrintout(title), m_title(title), m_text(text), m_font(font.IsOk() ? font : *wxNORMAL_FONT) {}

void CTextPrintout::SetMargins(const wxPoint& topLeft, const wxPoint& bottomRight) {
  m_marginTopLeft = topLeft;
  m_marginBottomRight = bottomRight;
}

wxRect CTextPrintout::PrepareDC() {
  // Screen-sized units keep the pane's font at the size it has on screen.
  MapScreenSizeToPage();
  wxRect page = GetLogicalPageRect();
  int ppiX = 0, ppiY = 0;
  GetPPIScreen(&ppiX, &ppiY);
  const auto mm = [](int value, int ppi) { return static_cast<int>(value * ppi / 25.4); };
  page.x += mm(m_marginTopLeft.x, ppiX);
  page.y += mm(m_marginTopLeft.y, ppiY);
  page.width -= mm(m_marginTopLeft.x + m_marginBottomRight.x, ppiX);
  page.height -= mm(m_marginTopLeft.y + m_marginBottomRight.y, ppiY);
  return page;
}

void CTextPrintout::WrapLine(wxDC& dc, const wxString& line, int width, std::vector<wxString>& out) const {
  wxString rest = line;
  while (dc.GetTextExtent(rest).x > width) {
    // The longest beginning that fits, found by halving (not every DC can
    // measure all beginnings at once); at least one character.
    size_t low = 1, high = rest.length();
    while (low < high) {
      const size_t middle = (low + high + 1) / 2;
      if (dc.GetTextExtent(rest.Left(middle)).x <= width)
        low = middle;
      else
        high = middle - 1;
    }
    // Break after the last blank of the piece when there is one.
    const size_t blank = rest.Left(low).find_last_of(' ');
    const size_t cut = blank != wxString::npos && blank > 0 ? blank + 1 : low;
    out.push_back(rest.Left(cut));
    rest = rest.Mid(cut);
  }
  out.push_back(rest);
}

void CTextPrintout::OnPreparePrinting() {
  wxDC* dc = GetDC();
  m_lines.clear();
  m_pages.clear();
  if (!dc) return;
  const wxRect page = PrepareDC();
  dc->SetFont(m_font);
  const int lineHeight = std::max(1, dc->GetCharHeight());
  const int bodyHeight = page.height - static_cast<int>(kHeaderLines * lineHeight);
  m_linesPerPage = std::max(1, bodyHeight / lineHeight);
  for (const wxString& line : SplitPrintLines(m_text)) WrapLine(*dc, line, page.width, m_lines);
  for (size_t first = 0; first < m_lines.size(); first += static_cast<size_t>(m_linesPerPage)) m_pages.push_back(first);
  if (m_pages.empty()) m_pages.push_back(0);
}

bool CTextPrintout::HasPage(int page) { return page >= 1 && page <= PageCount(); }

void CTextPrintout::GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) {
  *minPage = 1;
  *maxPage = PageCount();
  *selFrom = 1;
  *selTo = PageCount();
}

bool CTextPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (!dc || !HasPage(page)) return false;
  const wxRect area = PrepareDC();
  dc->SetFont(m_font);
  dc->SetTextForeground(*wxBLACK);
  const int lineHeight = std::max(1, dc->GetCharHeight());
  // Header: the title at the left, the page number at the right, a rule below.
  const wxString number = wxString::Format("Page %d of %d", page, PageCount());
  dc->DrawText(m_title, area.x, area.y);
  dc->DrawText(number, area.GetRight() - dc->GetTextExtent(number).x, area.y);
  dc->SetPen(*wxBLACK_PEN);
  const int rule = area.y + lineHeight + lineHeight / 4;
  dc->DrawLine(area.x, rule, area.GetRight(), rule);
  int y = area.y + static_cast<int>(kHeaderLines * lineHeight);
  const size_t first = m_pages[static_cast<size_t>(page - 1)];
  const size_t end = std::min(m_lines.size(), first + static_cast<size_t>(m_linesPerPage));
  for (size_t i = first; i < end; ++i, y += lineHeight) dc->DrawText(m_lines[i], area.x, y);
  return true;
}

CPrintSupport::CPrintSupport(wxWindow* owner) : m_owner(owner) {
  m_pageSetup.SetMarginTopLeft(wxPoint(15, 15));
  m_pageSetup.SetMarginBottomRight(wxPoint(15, 15));
}

void CPrintSupport::ApplyMargins(wxPrintout* printout) const {
  if (auto* text = dynamic_cast<CTextPrintout*>(printout))
    text->SetMargins(m_pageSetup.GetMarginTopLeft(), m_pageSetup.GetMarginBottomRight());
}

bool CPrintSupport::Print(wxPrintout* printout, bool prompt) {
  std::unique_ptr<wxPrintout> owned(printout);
  ApplyMargins(printout);
  m_printData.SetPrintData(m_pageSetup.GetPrintData());
  wxPrinter printer(&m_printData);
  const bool printed = printer.Print(m_owner, printout, prompt);
  if (printed)
    m_pageSetup.SetPrintData(printer.GetPrintDialogData().GetPrintData());
  else if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
    wxMessageBox("The query could not be printed.", "Dossel", wxOK | wxICON_EXCLAMATION, m_owner);
  return printed;
}

bool CPrintSupport::Preview(wxPrintout* printout, wxPrintout* forPrinting) {
  ApplyMargins(printout);
  ApplyMargins(forPrinting);
  m_printData.SetPrintData(m_pageSetup.GetPrintData());
  auto* preview = new wxPrintPreview(printout, forPrinting, &m_printData);
  if (!preview->IsOk()) {
    delete preview;
    wxMessageBox("The print preview could not be made.", "Dossel", wxOK | wxICON_EXCLAMATION, m_owner);
    return false;
  }
  auto* frame = new wxPreviewFrame(preview, m_owner, "Print Preview", wxDefaultPosition, wxSize(800, 700));
  frame->Initialize();
  frame->Show();
  return true;
}

void CPrintSupport::PageSetup() {
  wxPageSetupDialog dialog(m_owner, &m_pageSetup);
  if (dialog.ShowModal() == wxID_OK) {
    m_pageSetup = dialog.GetPageSetupDialogData();
    m_printData.SetPrintData(m_pageSetup.GetPrintData());
  }
}

}  // namespace dossel
