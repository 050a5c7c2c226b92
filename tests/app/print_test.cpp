// Printing the query text: the lines laid out for print, and a long query
// printed to PostScript (GTK's own printer cannot print headlessly), read
// back as PDF text.

#include <wx/dcps.h>
#include <wx/print.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <sstream>

#include "app/dossel_doc.h"
#include "app/text_printout.h"
#include "frame_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

std::string CommandOutput(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, read);
  return output;
}

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

TEST(PrintLinesTest, LineEndsOfEveryKindAndTabsToTheNextStop) {
  const std::vector<wxString> lines = SplitPrintLines("a\r\nb\nc\rd\te\t\tf\r\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[2], "c");
  EXPECT_EQ(lines[3], "d       e               f");
  EXPECT_EQ(SplitPrintLines("").size(), 1u) << "an empty text still prints one (empty) page";
  EXPECT_EQ(SplitPrintLines("x\n\ny").size(), 3u);
}

class PrintTest : public FrameTest {
 protected:
  // Prints the query pane's printout to PostScript, turns it into PDF and
  // answers the PDF's path (empty on failure).
  std::string PrintToPdf(CTextPrintout*& printout) {
    const std::string ps = m_folder.File("query.ps");
    const std::string pdf = m_folder.File("query.pdf");
    wxPrintData data;
    data.SetFilename(ps);
    data.SetPrintMode(wxPRINT_MODE_FILE);
    data.SetPaperId(wxPAPER_A4);
    wxPrintDialogData dialogData(data);
    // Without a page range the PostScript printer writes an empty document.
    dialogData.SetFromPage(1);
    dialogData.SetToPage(9999);
    std::unique_ptr<wxPrintout> owned(m_frame->QueryView()->CreatePrintout());
    printout = dynamic_cast<CTextPrintout*>(owned.get());
    if (!printout) return {};
    m_frame->Printing().ApplyMargins(printout);
    wxPostScriptPrinter printer(&dialogData);
    if (!printer.Print(m_frame, printout, false)) return {};
    m_printout = std::move(owned);
    if (std::system(("ps2pdf '" + ps + "' '" + pdf + "'").c_str()) != 0) return {};
    return pdf;
  }
  std::unique_ptr<wxPrintout> m_printout;
};

TEST_F(PrintTest, ALongQueryPrintsOnFullPagesWithHeadersAndEveryLineOnce) {
  constexpr int kLines = 300;
  TString text;
  for (int line = 1; line <= kLines; ++line) text += Format(DT("select %d as line%d;\r\n"), line, line);
  m_frame->QueryView()->SetQueryText(text);
  CTextPrintout* printout = nullptr;
  const std::string pdf = PrintToPdf(printout);
  ASSERT_FALSE(pdf.empty()) << "printing to PostScript failed";
  const int pages = printout->PageCount();
  ASSERT_GT(pages, 1);
  const std::string info = CommandOutput("pdfinfo '" + pdf + "'");
  std::smatch match;
  ASSERT_TRUE(std::regex_search(info, match, std::regex("Pages: *([0-9]+)"))) << info;
  EXPECT_EQ(std::stoi(match[1]), pages);

  const std::string all = CommandOutput("pdftotext '" + pdf + "' -");
  for (int line = 1; line <= kLines; ++line)
    ASSERT_EQ(Count(all, "select " + std::to_string(line) + " as line" + std::to_string(line) + ";"), 1) << line;
  EXPECT_LT(all.find("line1;"), all.find("line150;"));
  EXPECT_LT(all.find("line150;"), all.find("line300;"));
  // Each page: the title and its number in the header; all but the last full.
  const std::string title = m_frame->GetDocument()->GetTitle().utf8_string();
  const std::string first = CommandOutput("pdftotext -f 1 -l 1 '" + pdf + "' -");
  EXPECT_NE(first.find(title), std::string::npos) << first.substr(0, 200);
  EXPECT_NE(first.find("Page 1 of " + std::to_string(pages)), std::string::npos);
  const int perPage = Count(first, "select ");
  ASSERT_GT(perPage, 10);
  EXPECT_EQ(pages, (kLines + perPage - 1) / perPage);
  const std::string last =
      CommandOutput("pdftotext -f " + std::to_string(pages) + " -l " + std::to_string(pages) + " '" + pdf + "' -");
  EXPECT_NE(last.find("Page " + std::to_string(pages) + " of " + std::to_string(pages)), std::string::npos);
  EXPECT_EQ(Count(last, "select "), kLines - (pages - 1) * perPage);
}

TEST_F(PrintTest, ALineWiderThanThePageWrapsInsteadOfBeingCut) {
  std::string words;
  for (int i = 1; i <= 60; ++i) words += "word" + std::to_string(i) + " ";
  m_frame->QueryView()->SetQueryText(FromUtf8(words));
  // The PostScript printer of this test measures text without font metrics
  // and under-measures Courier, the fixed-width face it prints for the pane's
  // default font, so its lines overrun the page; a proportional font it
  // over-measures keeps the check on the wrapping itself.
  m_frame->QueryView()->ApplyFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS)));
  CTextPrintout* printout = nullptr;
  const std::string pdf = PrintToPdf(printout);
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(printout->PageCount(), 1);
  const std::string all = CommandOutput("pdftotext '" + pdf + "' -");
  // A wrapped line loses its last blank in the extracted text.
  for (int i = 1; i <= 60; ++i) {
    const std::regex word("word" + std::to_string(i) + "\\b");
    EXPECT_EQ(std::distance(std::sregex_iterator(all.begin(), all.end(), word), std::sregex_iterator()), 1) << i;
  }
  EXPECT_GT(Count(all, "\n"), 2) << "the line was wrapped";
}

TEST_F(PrintTest, PrintCommandsBelongToTheQueryPane) {
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  wxMenuBar* bar = m_frame->GetMenuBar();
  using namespace dossel::res;
  EXPECT_TRUE(bar->IsEnabled(ToWxId(ID_FILE_PRINT)));
  EXPECT_TRUE(bar->IsEnabled(ToWxId(ID_FILE_PRINT_PREVIEW)));
  m_frame->SwitchPane(2);
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_FALSE(bar->IsEnabled(ToWxId(ID_FILE_PRINT))) << "the trace pane does not print";
  EXPECT_TRUE(bar->IsEnabled(ToWxId(ID_FILE_PRINT_SETUP)));
}

}  // namespace
}  // namespace dossel::test
