// Files replaced as a whole: the new bytes take the old file's name only
// once they are all on disk, with its permissions, through a link to it;
// a failure part way (a file size limit standing in for a full disk) or a
// writer dropped early leaves the old file and no temporary file; devices
// are written in place.

#include "platform/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "test_support.h"

namespace dossel::test {
namespace {

class FileWriterTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }

  ScratchFolder m_folder;
};

TEST_F(FileWriterTest, ReplacesTheFileKeepingItsModeAndItsLinks) {
  const std::string path = m_folder.File("report.csv");
  EXPECT_EQ(ReplaceFileAtomically(path, "first"), 0);
  EXPECT_EQ(ReadFile(path), "first");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(path), 0666u & ~mask) << "a new file gets the mode any new file gets";

  ::chmod(path.c_str(), 0640);
  EXPECT_EQ(ReplaceFileAtomically(path, "second, longer"), 0);
  EXPECT_EQ(ReadFile(path), "second, longer");
  EXPECT_EQ(ModeOf(path), 0640u);

  const std::string link = m_folder.File("link.csv");
  ASSERT_EQ(::symlink("report.csv", link.c_str()), 0);
  EXPECT_EQ(ReplaceFileAtomically(link, "through the link"), 0);
  EXPECT_EQ(ReadFile(path), "through the link");
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
  EXPECT_EQ(Names(), (std::vector<std::string>{"link.csv", "report.csv"}));
}

TEST_F(FileWriterTest, APrivateNewFileIsMadePrivateAndAnOldOneKeepsItsMode) {
  // The query pane's recovery file holds unsaved text: no one else reads it.
  const std::string path = m_folder.File("recovery");
  EXPECT_EQ(ReplaceFileAtomically(path, "unsaved", 0600), 0);
  EXPECT_EQ(ModeOf(path), 0600u);
  ::chmod(path.c_str(), 0640);
  EXPECT_EQ(ReplaceFileAtomically(path, "unsaved, more", 0600), 0);
  EXPECT_EQ(ModeOf(path), 0640u) << "the mode asked for is only for new files";
}

TEST_F(FileWriterTest, AFailurePartWayOrAnUncommittedFileLeavesTheOldFile) {
  const std::string path = m_folder.File("grid.txt");
  ASSERT_EQ(ReplaceFileAtomically(path, "the old contents\n"), 0);
  {
    const FileSizeLimit limit(4096);
    CReplacingFile file;
    ASSERT_TRUE(file.Open(path));
    for (int i = 0; i < 100; ++i) file.Append(std::string(1000, 'x'));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Error(), EFBIG);
    EXPECT_FALSE(file.FailedCreating());
    EXPECT_EQ(ReplaceFileAtomically(path, std::string(100000, 'y')), EFBIG);
  }
  EXPECT_EQ(ReadFile(path), "the old contents\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"grid.txt"}) << "no temporary file is left";

  {
    CReplacingFile dropped;
    ASSERT_TRUE(dropped.Open(path));
    dropped.Append("never committed");
  }
  CReplacingFile abandoned;
  ASSERT_TRUE(abandoned.Open(path));
  abandoned.Append('z');
  abandoned.Abandon();
  EXPECT_FALSE(abandoned.Commit());
  EXPECT_EQ(ReadFile(path), "the old contents\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"grid.txt"});
}

TEST_F(FileWriterTest, DevicesAreWrittenInPlaceAndMissingFoldersFailOnCreating) {
  CReplacingFile null;
  ASSERT_TRUE(null.Open("/dev/null"));
  EXPECT_FALSE(null.IsRegularFile());
  null.Append(std::string(200 * 1024, 'n'));
  EXPECT_TRUE(null.Commit());
  struct stat info {};
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(ReplaceFileAtomically("/dev/full", "x"), ENOSPC);
  }

  CReplacingFile missing;
  EXPECT_FALSE(missing.Open(m_folder.File("no/such/folder.txt")));
  EXPECT_EQ(missing.Error(), ENOENT);
  EXPECT_TRUE(missing.FailedCreating());
  EXPECT_EQ(ReplaceFileAtomically(m_folder.Path().string(), "x"), EISDIR);
  EXPECT_TRUE(Names().empty());
}

}  // namespace
}  // namespace dossel::test
