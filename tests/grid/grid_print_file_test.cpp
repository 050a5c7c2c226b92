// Printing the grid (to PostScript, read back through PDF text) and saving
// and loading it as delimited text.

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/cmndata.h>
#include <wx/filename.h>
#include <wx/generic/printps.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "file_size_limit.h"
#include "grid/wx/grid_ctrl.h"
#include "grid/wx/grid_printout.h"
#include "grid_window_fixture.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// Records message boxes instead of showing them.
class RecordingInterface : public IUserInterface {
 public:
  int MessageBox(TStringView text, TStringView, unsigned) override {
    messages.emplace_back(text);
    return 1;
  }
  std::vector<TString> messages;
};

class GridPrintFileTest : public GridWindowFixture {
 protected:
  void SetUp() override {
    GridWindowFixture::SetUp();
    char pattern[] = "/tmp/dossel-gridprint-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    GridWindowFixture::TearDown();
    if (!getenv("KEEP_GRID_PRINT")) std::system(("rm -rf '" + folder + "'").c_str());
  }
  void Fill(int32_t rows, int32_t cols) {
    grid->SetRowCount(rows);
    grid->SetColumnCount(cols);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) grid->SetCellTextF(r, c, DT("r%dc%d"), r, c);
    for (int32_t r = 0; r < rows; ++r) grid->SetRowHeight(r, 20);
    for (int32_t c = 0; c < cols; ++c) grid->SetColumnWidth(c, 70);
  }
  // Prints to PostScript and converts to PDF; answers its path (empty on failure).
  std::string PrintToPdf(CGridPrintout& printout) {
    const std::string ps = folder + "/grid.ps", pdf = folder + "/grid.pdf";
    wxPrintData data;
    data.SetFilename(ps);
    data.SetPrintMode(wxPRINT_MODE_FILE);
    data.SetPaperId(wxPAPER_A4);
    wxPrintDialogData dialogData(data);
    dialogData.SetFromPage(1);
    dialogData.SetToPage(9999);
    wxPostScriptPrinter printer(&dialogData);
    if (!printer.Print(frame, &printout, false)) return {};
    if (std::system(("ps2pdf '" + ps + "' '" + pdf + "'").c_str()) != 0) return {};
    return pdf;
  }
  std::string PageText(const std::string& pdf, int page) {
    const std::string p = std::to_string(page);
    return CommandOutput("pdftotext -layout -f " + p + " -l " + p + " '" + pdf + "' -");
  }
  std::string folder;
};

TEST_F(GridPrintFileTest, ThreePagesNumberedWithEveryRowWholeOnOnePage) {
  // Sized from a first print (the rows a page holds depend on the fonts):
  // two full pages and half a page.
  Fill(200, 6);
  int32_t first = 0, end = 0;
  {
    CGridPrintout probe(grid);
    ASSERT_FALSE(PrintToPdf(probe).empty()) << "printing to PostScript failed";
    probe.GetPageRows(1, &first, &end);
  }
  const int32_t perPage = end - first;
  ASSERT_GT(perPage, 5);
  const int32_t rows = 1 + 2 * perPage + perPage / 2;
  Fill(rows, 6);
  frame->SetTitle(wxT("Results window"));
  CGridPrintout printout(grid);
  const std::string pdf = PrintToPdf(printout);
  ASSERT_FALSE(pdf.empty()) << "printing to PostScript failed";
  ASSERT_EQ(printout.GetPageCount(), 3);
  const std::string info = CommandOutput("pdfinfo '" + pdf + "'");
  EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;

  std::string pages[3];
  for (int p = 0; p < 3; ++p) pages[p] = PageText(pdf, p + 1);
  EXPECT_NE(pages[1].find("Page 2 of 3"), std::string::npos) << pages[1];
  EXPECT_EQ(pages[1].find("Page 1 of 3"), std::string::npos);
  for (const std::string& text : pages) {
    EXPECT_NE(text.find("Results window"), std::string::npos);
    EXPECT_NE(text.find("Dossel"), std::string::npos);
    EXPECT_NE(text.find("r0c3"), std::string::npos) << "the header row heads every page";
  }
  // Every row prints once, all its cells on one page, in order.
  int lastPage = 0;
  for (int32_t row = 1; row < rows; ++row) {
    int page = -1;
    for (int p = 0; p < 3; ++p)
      if (pages[p].find("r" + std::to_string(row) + "c1 ") != std::string::npos) page = p;
    ASSERT_GE(page, 0) << row;
    EXPECT_GE(page, lastPage) << row;
    lastPage = page;
    for (int32_t col = 0; col < 6; ++col)
      EXPECT_NE(pages[page].find("r" + std::to_string(row) + "c" + std::to_string(col)), std::string::npos)
          << row << "," << col;
    printout.GetPageRows(page + 1, &first, &end);
    EXPECT_TRUE(row >= first && row < end) << row;
  }
}

TEST_F(GridPrintFileTest, WysiwygPrintsAWideGridOnPagesSideBySide) {
  Fill(10, 30);
  grid->SetWysiwygPrinting(false);
  CGridPrintout scaled(grid);
  ASSERT_FALSE(PrintToPdf(scaled).empty());
  EXPECT_EQ(scaled.GetPageCount(), 1) << "the whole width is scaled to the page";
  grid->SetWysiwygPrinting(true);
  CGridPrintout wysiwyg(grid);
  const std::string pdf = PrintToPdf(wysiwyg);
  ASSERT_FALSE(pdf.empty());
  EXPECT_GT(wysiwyg.GetPageCount(), 1);
  const std::string first = PageText(pdf, 1), second = PageText(pdf, 2);
  EXPECT_NE(first.find("r5c1 "), std::string::npos);
  EXPECT_EQ(second.find("r5c1 "), std::string::npos);
  EXPECT_NE(second.find("r5c0"), std::string::npos) << "the fixed column starts every page";
  EXPECT_NE(second.find("r0c"), std::string::npos);
}

TEST_F(GridPrintFileTest, SaveWritesALinePerRowAndLoadReadsItBack) {
  grid->SetRowCount(2);
  grid->SetColumnCount(2);
  grid->SetCellText(0, 0, DT("a"));
  grid->SetCellText(0, 1, DT("b"));
  grid->SetCellText(1, 0, DT("c"));
  grid->SetCellText(1, 1, DT("d"));
  const TString file = FromUtf8(folder + "/grid.csv");
  ASSERT_TRUE(grid->SaveToFile(file));
  std::ifstream in(folder + "/grid.csv");
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), "a,b\nc,d\n");

  grid->SetCellText(1, 1, DT("changed"));
  grid->SetFixedRowCount(1);
  ASSERT_TRUE(grid->LoadFromFile(file));
  EXPECT_EQ(grid->GetRowCount(), 2);
  EXPECT_EQ(grid->GetColumnCount(), 2);
  EXPECT_EQ(grid->GetFixedRowCount(), 0);
  EXPECT_EQ(grid->GetCellText(0, 0), DT("a"));
  EXPECT_EQ(grid->GetCellText(0, 1), DT("b"));
  EXPECT_EQ(grid->GetCellText(1, 0), DT("c"));
  EXPECT_EQ(grid->GetCellText(1, 1), DT("d"));

  // A long line stays one row; extra fields are dropped, missing ones empty.
  std::ofstream(folder + "/long.csv") << "h1,h2\n" << std::string(3000, 'x') << ",y,z\nonly\n";
  ASSERT_TRUE(grid->LoadFromFile(FromUtf8(folder + "/long.csv")));
  EXPECT_EQ(grid->GetRowCount(), 3);
  EXPECT_EQ(grid->GetCellText(1, 0).size(), 3000u);
  EXPECT_EQ(grid->GetCellText(1, 1), DT("y"));
  EXPECT_EQ(grid->GetCellText(2, 0), DT("only"));
  EXPECT_EQ(grid->GetCellText(2, 1), DT(""));
}

TEST_F(GridPrintFileTest, SaveAndLoadKeepZeroBytesAndLongHeadingLines) {
  // A zero byte in a cell neither ends its line in the file nor joins it
  // to the next line when read back.
  grid->SetRowCount(2);
  grid->SetColumnCount(2);
  const TString zero(1, TChar(0));
  grid->SetCellText(0, 0, DT("a") + zero + DT("b"));
  grid->SetCellText(1, 1, zero);
  const TString file = FromUtf8(folder + "/zero.csv");
  ASSERT_TRUE(grid->SaveToFile(file));
  std::ifstream in(folder + "/zero.csv", std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), std::string("a\0b,\n,\0\n", 8));
  grid->SetCellText(1, 1, DT("changed"));
  ASSERT_TRUE(grid->LoadFromFile(file));
  ASSERT_EQ(grid->GetRowCount(), 2);
  EXPECT_EQ(grid->GetCellText(0, 0), DT("a") + zero + DT("b"));
  EXPECT_EQ(grid->GetCellText(1, 1), zero);

  // A heading line of 20,000 fields is as many columns.
  std::ofstream(folder + "/wide.csv") << std::string(19999, ',') << "last\nv\n";
  ASSERT_TRUE(grid->LoadFromFile(FromUtf8(folder + "/wide.csv")));
  EXPECT_EQ(grid->GetColumnCount(), 20000);
  EXPECT_EQ(grid->GetCellText(0, 19999), DT("last"));
  EXPECT_EQ(grid->GetCellText(1, 0), DT("v"));
}

TEST_F(GridPrintFileTest, FilesThatCannotBeOpenedAreReported) {
  RecordingInterface ui;
  IUserInterface* before = GetUserInterface();
  SetUserInterface(&ui);
  EXPECT_FALSE(grid->LoadFromFile(FromUtf8(folder + "/missing.csv")));
  EXPECT_FALSE(grid->SaveToFile(FromUtf8(folder + "/no/such/folder.csv")));
  EXPECT_EQ(ui.messages.size(), 2u);

  // A save that fails part way (the disk full) keeps the file it would replace.
  grid->SetRowCount(2000);
  grid->SetColumnCount(2);
  for (int32_t row = 0; row < 2000; ++row) grid->SetCellText(row, 0, TString(40, DT('g')));
  const std::string saved = folder + "/kept.csv";
  std::ofstream(saved) << "the grid saved yesterday\n";
  {
    const test::FileSizeLimit limit(4096);
    EXPECT_FALSE(grid->SaveToFile(FromUtf8(saved)));
  }
  SetUserInterface(before);
  EXPECT_EQ(ui.messages.size(), 3u) << "\"Unable to save grid list\"";
  std::ifstream in(saved);
  std::stringstream kept;
  kept << in.rdbuf();
  EXPECT_EQ(kept.str(), "the grid saved yesterday\n");
}

}  // namespace
}  // namespace dossel
