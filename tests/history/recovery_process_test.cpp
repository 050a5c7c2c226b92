// The query pane's text survives a kill: the real program, started under
// the test's X server, gets unsaved text by real key presses, is killed
// with SIGKILL, and started again offers the text back; yes restores it
// exactly. A second program running meanwhile takes nothing of the first's.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "history/recovery_file.h"
#include "test_support.h"

namespace dossel::test {
namespace {

using namespace std::chrono_literals;

// The output of a shell command, without its last line break.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    ::pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

class RecoveryProcessTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (pid_t pid : m_children) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }

  pid_t StartProgram(const std::string& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const std::string root = m_folder.Path().string();
      setenv("DOSSEL_REGISTRY", (root + "/registry.reg").c_str(), 1);
      setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
      setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
      setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
      std::freopen(log.c_str(), "w", stdout);
      std::freopen(log.c_str(), "a", stderr);
      ::execl(DOSSEL_PROGRAM, DOSSEL_PROGRAM, static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    m_children.push_back(pid);
    return pid;
  }
  void Kill(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    std::erase(m_children, pid);
  }
  // The X window of a shown top-level window whose title matches, waited for.
  std::string WaitForWindow(const std::string& title) {
    return Output("timeout 30 xdotool search --sync --onlyvisible --name '" + title + "' 2>/dev/null | tail -1");
  }
  bool WindowShownWithin(const std::string& title, int seconds) {
    return !Output("timeout " + std::to_string(seconds) + " xdotool search --sync --onlyvisible --name '" + title +
                   "' 2>/dev/null")
                .empty();
  }
  // Real key presses into the window.
  void TypeInto(const std::string& window, const std::string& text) {
    std::system(("xdotool windowfocus --sync " + window + " 2>/dev/null; xdotool mousemove --window " + window +
                 " 200 200 2>/dev/null; xdotool type --delay 15 '" + text + "'")
                    .c_str());
  }
  // The recovery files of the data folder.
  std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path() / "data" / "dossel", error))
      if (entry.path().extension() == ".query") files.push_back(entry.path().string());
    return files;
  }
  // Waits for one recovery file that holds `text`; its path.
  std::string WaitForRecovery(const std::string& text, const std::string& nameHolds = "") {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
      for (const std::string& file : RecoveryFiles()) {
        history::RecoveredQuery query;
        if (file.find(nameHolds) != std::string::npos && history::DecodeRecoveredQuery(ReadFile(file), query) &&
            query.text == text)
          return file;
      }
      std::this_thread::sleep_for(100ms);
    }
    return {};
  }

  ScratchFolder m_folder;
  std::vector<pid_t> m_children;
};

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(RecoveryProcessTest, AKilledProgramsUnsavedQueryIsOfferedAtTheNextStartAndRestoredExactly) {
  const pid_t first = StartProgram(m_folder.File("first.log"));
  const std::string window = WaitForWindow("Untitled - Dossel");
  ASSERT_FALSE(window.empty()) << ReadFile(m_folder.File("first.log"));
  TypeInto(window, "select * from orders where total > 100;\n-- not saved yet");
  const std::string typed = "select * from orders where total > 100;\n-- not saved yet";
  const std::string kept = WaitForRecovery(typed, "-" + std::to_string(first) + "-");
  ASSERT_FALSE(kept.empty()) << "no recovery file holds the typed text";

  // A second program running beside it offers nothing and takes nothing.
  const pid_t second = StartProgram(m_folder.File("second.log"));
  EXPECT_FALSE(WindowShownWithin("^Dossel$", 4));
  EXPECT_TRUE(std::filesystem::exists(kept));
  Kill(second);

  Kill(first);
  const pid_t third = StartProgram(m_folder.File("third.log"));
  const std::string offer = WaitForWindow("^Dossel$");
  ASSERT_FALSE(offer.empty()) << "no offer; " << ReadFile(m_folder.File("third.log"));
  std::system(("xdotool windowfocus --sync " + offer + " 2>/dev/null; xdotool key Return").c_str());
  // The text is this program's now: its own file, written again once the
  // restored (unsaved) text has been kept.
  const std::string own = WaitForRecovery(typed, "-" + std::to_string(third) + "-");
  ASSERT_FALSE(own.empty()) << ReadFile(m_folder.File("third.log"));
  EXPECT_FALSE(std::filesystem::exists(kept));
  const ino_t adopted = InodeOf(own);
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (InodeOf(own) == adopted && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(100ms);
  EXPECT_NE(InodeOf(own), adopted) << "the restored text was not kept as unsaved";
  EXPECT_FALSE(WaitForRecovery(typed, "-" + std::to_string(third) + "-").empty());
  EXPECT_EQ(RecoveryFiles().size(), 1u);
}

}  // namespace
}  // namespace dossel::test
