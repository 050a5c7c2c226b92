// The query pane's recovery files: what they hold, their atomic writes, and
// which program may take one: never a running one's, always a gone one's.

#include "history/recovery_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "test_support.h"

namespace dossel::test {
namespace {

using history::CRecoveryFile;
using history::FindLeftRecoveries;
using history::RecoveredQuery;

RecoveredQuery Query(const std::string& text, const std::string& path = "") {
  RecoveredQuery query;
  query.text = text;
  query.path = path;
  return query;
}

int FilesIn(const std::filesystem::path& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(RecoveredQueryTest, EncodingKeepsEveryByteAndRefusesAnythingButAWholeFile) {
  RecoveredQuery query = Query(std::string("select 1;\r\n\0\xff -- \xc3\xa9", 19), "/tmp/with\nnewline.sql");
  const std::string bytes = history::EncodeRecoveredQuery(query);
  RecoveredQuery back;
  ASSERT_TRUE(history::DecodeRecoveredQuery(bytes, back));
  EXPECT_EQ(back.text, query.text);
  EXPECT_EQ(back.path, query.path);
  EXPECT_FALSE(history::DecodeRecoveredQuery(bytes.substr(0, bytes.size() - 1), back));
  EXPECT_FALSE(history::DecodeRecoveredQuery(bytes + "x", back));
  EXPECT_FALSE(history::DecodeRecoveredQuery("select 1", back));
  EXPECT_FALSE(history::DecodeRecoveredQuery("", back));
}

TEST(RecoveryFileTest, SavesReplaceTheFileRemoveAndANormalEndTakeItAway) {
  ScratchFolder folder;
  const std::filesystem::path data = folder.Path() / "data" / "dossel";
  std::string path;
  {
    CRecoveryFile file(data.string());
    ASSERT_TRUE(file.IsUsable());
    path = file.Path();
    struct stat info {};
    ASSERT_EQ(::stat(data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    file.Save(Query("first"));
    file.Save(Query("second", "/home/u/q.sql"));
    ASSERT_TRUE(file.WaitIdle(10000));
    RecoveredQuery read;
    ASSERT_TRUE(history::DecodeRecoveredQuery(ReadFile(path), read));
    EXPECT_EQ(read.text, "second");
    EXPECT_EQ(read.path, "/home/u/q.sql");
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    file.Remove();
    ASSERT_TRUE(file.WaitIdle(10000));
    EXPECT_FALSE(std::filesystem::exists(path));
    file.Save(Query("third"));
    ASSERT_TRUE(file.WaitIdle(10000));
    EXPECT_TRUE(std::filesystem::exists(path));
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(FilesIn(data), 0);
}

// A child process that keeps `text` in its recovery file, then is killed
// the way a crash ends it (no destructor runs).
// A child that never had unsaved text leaves only its lock.
void KilledChildKeeping(const std::string& folder, const std::string& text) {
  const pid_t child = ::fork();
  if (child == 0) {
    auto* file = new CRecoveryFile(folder);
    if (!text.empty()) file->Save(Query(text, "/srv/q.sql"));
    file->WaitIdle(10000);
    ::kill(::getpid(), SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(RecoveryFileTest, ARunningProgramsFileIsNeverTakenAGoneOnesIsOfferedAndAdopted) {
  ScratchFolder folder;
  const std::string data = folder.File("dossel");
  // The children are forked while this process runs no thread of its own.
  KilledChildKeeping(data, "");
  KilledChildKeeping(data, "older unsaved text");
  ::sleep(1);  // the two files' times differ
  KilledChildKeeping(data, "newer unsaved text");
  EXPECT_EQ(FilesIn(data), 5);

  CRecoveryFile running(data);
  running.Save(Query("mine, still running"));
  ASSERT_TRUE(running.WaitIdle(10000));
  // The gone programs' texts, newest first; the lock of the one that kept
  // no text is cleared away; the running program's file is passed by.
  std::vector<history::CLeftRecovery> left = FindLeftRecoveries(data);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(FilesIn(data), 6);
  RecoveredQuery read;
  ASSERT_TRUE(left[0].Read(read));
  EXPECT_EQ(read.text, "newer unsaved text");
  EXPECT_EQ(read.path, "/srv/q.sql");
  // While this program holds them, a program starting now passes them by.
  EXPECT_TRUE(FindLeftRecoveries(data).empty());

  // Declined: gone for good. Accepted: this program's own file from now on.
  const std::string declined = left[0].Path();
  left[0].Discard();
  EXPECT_FALSE(std::filesystem::exists(declined));
  CRecoveryFile restoring(data);
  const std::string adopted = left[1].Path();
  restoring.Adopt(std::move(left[1]));
  ASSERT_TRUE(restoring.WaitIdle(10000));
  EXPECT_FALSE(std::filesystem::exists(adopted));
  ASSERT_TRUE(history::DecodeRecoveredQuery(ReadFile(restoring.Path()), read));
  EXPECT_EQ(read.text, "older unsaved text");
  left.clear();
  EXPECT_TRUE(FindLeftRecoveries(data).empty());
  // The running program's file and lock, and the restoring one's.
  EXPECT_EQ(FilesIn(data), 4);
}

}  // namespace
}  // namespace dossel::test
