// Saving the report: the default name from the driver's name, the bytes
// written, and the message box when the file cannot be made.

#include <gtest/gtest.h>

#include <string>

#include "driverinfo/report_file.h"
#include "recording_ui.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using driverinfo::DefaultReportName;
using driverinfo::SaveReportFile;

TEST(ReportFileTest, DefaultNameIsTheDriverNameUpToItsFirstDot) {
  EXPECT_EQ(DefaultReportName(DT("sqlite3odbc.so")), DT("sqlite3odbc"));
  EXPECT_EQ(DefaultReportName(DT("libdossel_scripted_driver.so.1")), DT("libdossel_scripted_driver"));
  EXPECT_EQ(DefaultReportName(DT("DRIVER")), DT("DRIVER"));
  EXPECT_EQ(DefaultReportName(DT(".hidden")), DT(""));
}

class ReportSaveTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUserInterface(&m_ui); }
  void TearDown() override { SetUserInterface(nullptr); }

  RecordingUserInterface m_ui;
  ScratchFolder m_folder;
};

TEST_F(ReportSaveTest, WritesTheTextAndReplacesAnOlderFile) {
  const std::string path = m_folder.File("driver.txt");
  ASSERT_TRUE(SaveReportFile(FromUtf8(path), DT("Cursor Library is Not Loaded\n\nA longer older text")));
  ASSERT_TRUE(SaveReportFile(FromUtf8(path), DT("Cursor Library is Not Loaded\n\n")));
  EXPECT_EQ(ReadFile(path), "Cursor Library is Not Loaded\n\n");
  EXPECT_TRUE(m_ui.texts.empty());
}

TEST_F(ReportSaveTest, AFileThatCannotBeMadeShowsItsPathAndTheReason) {
  const std::string path = m_folder.File("missing/driver.txt");
  EXPECT_FALSE(SaveReportFile(FromUtf8(path), DT("text")));
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("File Path Name: <") + FromUtf8(path) + DT("> All or part of the path is invalid."));
  EXPECT_EQ(m_ui.styles[0], kMbOk | kMbIconError);

  m_ui.texts.clear();
  EXPECT_FALSE(SaveReportFile(FromUtf8(m_folder.Path().string()), DT("text")));
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0].rfind(DT("File Path Name: <") + FromUtf8(m_folder.Path().string()) + DT("> "), 0), 0u);
}

}  // namespace
}  // namespace dossel::test
