// Replacing a file atomically: the contents, the permissions and links it
// keeps, and a failed write that leaves the old file whole.

#include "platform/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "test_support.h"

namespace dossel::test {
namespace {

unsigned ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(FileReplaceTest, WritesNewFilesAndReplacesOldOnesKeepingModeAndLinks) {
  ScratchFolder folder;
  const std::string path = folder.File("query.txt");
  const std::string bytes("first\0second\r\n", 14);
  ASSERT_TRUE(ReplaceFileAtomically(path, bytes, nullptr, 0600));
  EXPECT_EQ(ReadFile(path), bytes);
  EXPECT_EQ(ModeOf(path), 0600u);

  // An existing file keeps the mode it has, not the one asked for new files.
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(ReplaceFileAtomically(path, "replaced", nullptr, 0600));
  EXPECT_EQ(ReadFile(path), "replaced");
  EXPECT_EQ(ModeOf(path), 0640u);

  // Through a link: the link stays a link and its target changes.
  const std::string link = folder.File("link.txt");
  std::filesystem::create_symlink(path, link);
  ASSERT_TRUE(ReplaceFileAtomically(link, "through the link"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(path), "through the link");

  // No temporary file is left beside it.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    ++entries;
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(entries, 2);
}

TEST(FileReplaceTest, AFailedWriteSaysWhyAndLeavesTheOldFileWhole) {
  ScratchFolder folder;
  std::string failure;
  EXPECT_FALSE(ReplaceFileAtomically(folder.File("missing/folder/file.txt"), "x", &failure));
  EXPECT_FALSE(failure.empty());
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  const std::string path = folder.File("kept.txt");
  ASSERT_TRUE(ReplaceFileAtomically(path, "old text"));
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  failure.clear();
  EXPECT_FALSE(ReplaceFileAtomically(path, "new text", &failure));
  EXPECT_FALSE(failure.empty());
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFile(path), "old text");
}

}  // namespace
}  // namespace dossel::test
