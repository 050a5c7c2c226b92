// Several programs sharing one settings file: no write is ever lost, and a
// program killed in the middle of writing leaves every earlier write intact.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "settings/settings_store.h"
#include "settings_fixture.h"

namespace dossel::test {
namespace {

constexpr const TChar* kRaceKey = DT("Software\\Harlune\\Dossel\\Race");

// Runs `body` in a child process; the child exits with body's result.
template <typename Body>
pid_t StartChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using SettingsProcessTest = SettingsTest;

TEST_F(SettingsProcessTest, TwoWritersLoseNothing) {
  constexpr int kWrites = 1000;
  auto writer = [](const TChar* prefix) {
    return [prefix] {
      for (int i = 0; i < kWrites; ++i) {
        if (!KeyWriteInteger(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("%sLast"), prefix), i)) return 1;
        // One value of its own per write, so that any lost update shows.
        if (i % 10 == 0 && !KeyWriteInteger(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("%s%d"), prefix, i), i)) return 1;
      }
      return 0;
    };
  };
  const pid_t first = StartChild(writer(DT("A")));
  const pid_t second = StartChild(writer(DT("B")));
  ASSERT_EQ(ExitCode(first), 0);
  ASSERT_EQ(ExitCode(second), 0);

  for (const TChar* prefix : {DT("A"), DT("B")}) {
    EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("%sLast"), prefix), -1), kWrites - 1);
    for (int i = 0; i < kWrites; i += 10)
      ASSERT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("%s%d"), prefix, i), -1), i) << i;
  }
  EXPECT_FALSE(std::filesystem::exists(m_registry + ".damaged-1"));
}

TEST_F(SettingsProcessTest, KilledWriterLosesNothingWrittenBefore) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = StartChild([&] {
    close(pipeEnds[0]);
    // A value large enough that the kill often lands inside a write.
    const TString filler(200, DT('f'));
    for (int i = 0;; ++i) {
      KeyWriteString(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("Value%d"), i), filler);
      if (write(pipeEnds[1], &i, sizeof i) != sizeof i) return 1;
    }
  });
  close(pipeEnds[1]);
  int confirmed = -1;
  while (confirmed < 150) ASSERT_EQ(read(pipeEnds[0], &confirmed, sizeof confirmed), (ssize_t)sizeof confirmed);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  // Writes the child finished after the last one it reported may be there too.
  int more = 0;
  while (read(pipeEnds[0], &more, sizeof more) == sizeof more) confirmed = more;
  close(pipeEnds[0]);

  for (int i = 0; i <= confirmed; ++i) {
    TString read;
    ASSERT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kRaceKey, Format(DT("Value%d"), i), DT(""), read), 1) << i;
  }
  // The file is whole, and the next program writes on without keeping anything aside.
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kRaceKey, DT("After"), 1), 1);
  EXPECT_FALSE(std::filesystem::exists(m_registry + ".damaged-1"));
  TString read;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kRaceKey, DT("Value0"), DT(""), read), 1);
}

}  // namespace
}  // namespace dossel::test
