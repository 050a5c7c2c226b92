// Files that cannot be opened or written: the file error texts, the causes
// errno values stand for, a missing folder, a read-only folder, a full disk
// (/dev/full) that ends the export early, and devices that are never deleted.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "fake_export_source.h"
#include "file_size_limit.h"
#include "recording_ui.h"
#include "result/export_to_file.h"
#include "test_support.h"

namespace dossel {
namespace {

TEST(FileErrorTextTest, EveryCauseHasItsText) {
  const std::pair<FileErrorCause, TStringView> table[] = {
      {FileErrorCause::FileNotFound, DT("The file could not be located.")},
      {FileErrorCause::BadPath, DT("All or part of the path is invalid.")},
      {FileErrorCause::TooManyOpenFiles, DT("The permitted number of open files was exceeded.")},
      {FileErrorCause::AccessDenied, DT("The file could not be accessed.")},
      {FileErrorCause::InvalidFile, DT("There was an attempt to use an invalid file handle.")},
      {FileErrorCause::RemoveCurrentDir, DT("The current working directory cannot be removed.")},
      {FileErrorCause::DirectoryFull, DT("There are no more directory entries.")},
      {FileErrorCause::BadSeek, DT("There was an error trying to set the file pointer.")},
      {FileErrorCause::HardIO, DT("There was a hardware error.")},
      {FileErrorCause::SharingViolation, DT("SHARE.EXE was not loaded, or a shared region was locked.")},
      {FileErrorCause::LockViolation, DT("There was an attempt to lock a region that was already locked.")},
      {FileErrorCause::DiskFull, DT("The disk is full.")},
      {FileErrorCause::EndOfFile, DT("The end of file was reached.")},
      {FileErrorCause::Generic, DT("An unspecified error occurred.")},
  };
  for (const auto& [cause, text] : table) EXPECT_EQ(FileErrorText(cause), text) << static_cast<int>(cause);

  EXPECT_EQ(FileErrorCauseFromErrno(ENOENT), FileErrorCause::FileNotFound);
  EXPECT_EQ(FileErrorCauseFromErrno(ENOENT, true), FileErrorCause::BadPath);
  EXPECT_EQ(FileErrorCauseFromErrno(ENOTDIR), FileErrorCause::BadPath);
  EXPECT_EQ(FileErrorCauseFromErrno(EMFILE), FileErrorCause::TooManyOpenFiles);
  EXPECT_EQ(FileErrorCauseFromErrno(EACCES), FileErrorCause::AccessDenied);
  EXPECT_EQ(FileErrorCauseFromErrno(EROFS), FileErrorCause::AccessDenied);
  EXPECT_EQ(FileErrorCauseFromErrno(EISDIR), FileErrorCause::AccessDenied);
  EXPECT_EQ(FileErrorCauseFromErrno(EBADF), FileErrorCause::InvalidFile);
  EXPECT_EQ(FileErrorCauseFromErrno(EIO), FileErrorCause::HardIO);
  EXPECT_EQ(FileErrorCauseFromErrno(ENOSPC), FileErrorCause::DiskFull);
  EXPECT_EQ(FileErrorCauseFromErrno(EDQUOT), FileErrorCause::DiskFull);
  EXPECT_EQ(FileErrorCauseFromErrno(EFBIG), FileErrorCause::DiskFull);
  EXPECT_EQ(FileErrorCauseFromErrno(EDEADLK), FileErrorCause::LockViolation);
  EXPECT_EQ(FileErrorCauseFromErrno(ESPIPE), FileErrorCause::BadSeek);
  EXPECT_EQ(FileErrorCauseFromErrno(EPROTO), FileErrorCause::Generic);
  EXPECT_EQ(FileErrorMessage(DT("/x/y.csv"), FileErrorCause::DiskFull), DT("File /x/y.csv The disk is full."));
}

class ExportFileErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUserInterface(&m_ui); }
  void TearDown() override { SetUserInterface(nullptr); }
  int Export(const std::string& path, const ExportOptions& options = {}) {
    return ExportToFile(FromUtf8(path), m_source, options, [this](TStringView line) { m_trace += ToUtf8(line); });
  }
  void ExpectOneMessage(const std::string& text) {
    ASSERT_EQ(m_ui.texts.size(), 1u);
    EXPECT_EQ(ToUtf8(m_ui.texts[0]), text);
    EXPECT_EQ(m_ui.captions[0], DT("Dossel"));
    m_ui.texts.clear();
    m_ui.captions.clear();
  }

  test::ScratchFolder m_folder;
  test::RecordingUserInterface m_ui;
  test::FakeExportSource m_source{{{DT("a"), DT("b")}, {DT("1"), DT("2")}}};
  std::string m_trace;
};

TEST_F(ExportFileErrorTest, UnopenablePathsShowTheFileMessageAndWriteNoTrace) {
  const std::string missing = m_folder.File("no-such-folder/out.csv");
  EXPECT_EQ(Export(missing), 0);
  ExpectOneMessage("File " + missing + " All or part of the path is invalid.");
  EXPECT_EQ(Export(m_folder.Path().string()), 0);
  ExpectOneMessage("File " + m_folder.Path().string() + " The file could not be accessed.");
  const std::string underFile = m_folder.File("plain");
  std::ofstream(underFile) << "x";
  EXPECT_EQ(Export(underFile + "/out.csv"), 0);
  ExpectOneMessage("File " + underFile + "/out.csv All or part of the path is invalid.");
  EXPECT_EQ(m_trace, "");
}

// Root may write into any folder, so the read-only folder is tried by a child
// that gives up root first.
TEST_F(ExportFileErrorTest, ReadOnlyFolderShowsTheAccessText) {
  const std::string folder = m_folder.File("readonly");
  std::filesystem::create_directory(folder);
  ::chmod(folder.c_str(), 0555);
  const std::string path = folder + "/out.csv";
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && ::setgid(65534) != 0) ::_exit(3);
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
    test::RecordingUserInterface ui;
    SetUserInterface(&ui);
    const int result = ExportToFile(FromUtf8(path), m_source, {}, {});
    const bool ok = result == 0 && ui.texts.size() == 1 &&
                    ToUtf8(ui.texts[0]) == "File " + path + " The file could not be accessed.";
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot drop root to try a read-only folder";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ExportFileErrorTest, FullDiskIsReportedAndEndsTheExportEarly) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(Export("/dev/full"), 0);
  EXPECT_EQ(m_trace, "Exporting results ...\r\n");
  ExpectOneMessage("File /dev/full The disk is full.");
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));

  // A table far larger than the file's buffer: writing stops at the first
  // failed write instead of reading every cell.
  m_source.Rows().assign(200000, {TString(40, DT('x')), TString(40, DT('y'))});
  m_source.cellsRead = 0;
  EXPECT_EQ(Export("/dev/full"), 0);
  ExpectOneMessage("File /dev/full The disk is full.");
  EXPECT_LT(m_source.cellsRead, 10000);

  // A selection export without a selection leaves a device in place.
  ExportOptions selection;
  selection.selectionOnly = true;
  EXPECT_EQ(Export("/dev/full", selection), 0);
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));
  ExpectOneMessage(ToUtf8(kNoSelectionText));
}

// An export that fails part way leaves the file it would have replaced
// whole, and no half-written file beside it.
TEST_F(ExportFileErrorTest, AFailurePartWayKeepsTheOldFile) {
  const std::string report = m_folder.File("report.csv");
  test::WriteFile(report, "last month's report\n");
  m_source.Rows().assign(2000, {TString(40, DT('x')), TString(40, DT('y'))});
  {
    const test::FileSizeLimit limit(4096);
    EXPECT_EQ(Export(report), 0);
  }
  ExpectOneMessage("File " + report + " The disk is full.");
  EXPECT_EQ(test::ReadFile(report), "last month's report\n");
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(ExportFileErrorTest, ExportFileKnowsDevicesFromOrdinaryFiles) {
  ExportFile device;
  ASSERT_TRUE(device.Open(DT("/dev/null")));
  EXPECT_FALSE(device.IsRegularFile());
  device.Append("bytes");
  EXPECT_TRUE(device.Close());
  ExportFile file;
  ASSERT_TRUE(file.Open(FromUtf8(m_folder.File("f.txt"))));
  EXPECT_TRUE(file.IsRegularFile());
  const std::string big(200 * 1024, 'z');
  file.Append(big);
  file.Append('!');
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(test::ReadFile(m_folder.File("f.txt")), big + "!");
}

}  // namespace
}  // namespace dossel
