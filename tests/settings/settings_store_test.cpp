#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "settings_fixture.h"

namespace dossel::test {
namespace {

constexpr const TChar* kOptions = DT("Software\\Harlune\\Dossel\\Options");

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

using SettingsStoreTest = SettingsTest;

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryReaderItsDefault) {
  TString text;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Name"), DT("fallback"), text), 0);
  EXPECT_EQ(text, DT("fallback"));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("LoginTimeOut"), 42), 42);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kOptions), 0);
  std::vector<TString> names;
  EXPECT_EQ(KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, kOptions, names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(std::filesystem::exists(m_registry)) << "reading must not create the file";
}

TEST_F(SettingsStoreTest, TextsRoundTripExactly) {
  const TString texts[] = {
      DT("Grüße, Ελλάδα, 日本語, 😀"),
      DT("C:\\dir\\file \"quoted\" \\\\server\\share\\"),
      DT("line one\r\nline two\nthree\r\tand a tab"),
      DT("ends with a backslash\\"),
      DT("\\n is not a line break here, \\r neither"),
      DT("[HKEY_LOCAL_MACHINE\\fake]"),
      DT(""),
      TString(254, DT('x')),
  };
  int index = 0;
  for (const TString& text : texts) {
    const TString name = Format(DT("Value%d"), index++);
    ASSERT_EQ(KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, name, text), 1) << ToUtf8(text);
  }
  index = 0;
  for (const TString& text : texts) {
    TString read;
    EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, Format(DT("Value%d"), index++), DT("?"), read), 1);
    EXPECT_EQ(read, text);
  }
  const std::string file = FileText();
  EXPECT_EQ(file.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\Software\\Harlune\\Dossel\\Options]\n"), std::string::npos);
  EXPECT_NE(file.find("\"Value1\"=\"C:\\\\dir\\\\file \\\"quoted\\\" \\\\\\\\server\\\\share\\\\\"\n"),
            std::string::npos);
  EXPECT_NE(file.find("\"Value2\"=\"line one\\r\\nline two\\nthree\\r\tand a tab\"\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, LengthLimitsCountCharacters) {
  ASSERT_EQ(KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), DT("old")), 1);
  EXPECT_EQ(KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), TString(255, DT('y'))), 0);
  TString read;
  KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), DT(""), read);
  EXPECT_EQ(read, DT("old")) << "a refused write keeps the old value";

  // 254 characters of two UTF-8 bytes each fit in both widths.
  TString umlauts;
  for (int i = 0; i < 254; ++i) umlauts += DT("ä");
  EXPECT_EQ(KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), umlauts), 1);
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), DT(""), read), 1);
  EXPECT_EQ(read, umlauts);

  // A longer value put into the file by hand reads as the default.
  std::string file = FileText();
  file += "[HKEY_LOCAL_MACHINE\\Long]\n\"Text\"=\"" + std::string(255, 'z') + "\"\n";
  WriteText(m_registry, file);
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, DT("Long"), DT("Text"), DT("default"), read), 0);
  EXPECT_EQ(read, DT("default"));
}

TEST_F(SettingsStoreTest, ValuesAreReadOnlyAsTheirOwnType) {
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Number"), -5), 1);
  ASSERT_EQ(KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), DT("12")), 1);
  TString read;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Number"), DT("default"), read), 0);
  EXPECT_EQ(read, DT("default"));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Number"), 0), -5);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Text"), 7), 7);
  EXPECT_NE(FileText().find("\"Number\"=dword:fffffffb\n"), std::string::npos);

  // An expandable string, as another tool would write it, reads unexpanded.
  std::string file = FileText();
  file += "[HKEY_LOCAL_MACHINE\\Expand]\n\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,\\\n  00,00\n";
  WriteText(m_registry, file);
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, DT("Expand"), DT("Path"), DT(""), read), 1);
  EXPECT_EQ(read, DT("%HOME%"));
  // ...and survives our next write untouched.
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Other"), 1), 1);
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, DT("Expand"), DT("Path"), DT(""), read), 1);
  EXPECT_EQ(read, DT("%HOME%"));
}

TEST_F(SettingsStoreTest, NamesIgnoreCaseAndEnumerateInStableOrder) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Query"), DT("WordWrap"), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("SOFTWARE\\harlune\\DOSSEL\\query\\"), DT("wordwrap"), 0), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("software\\HARLUNE\\Dossel\\QUERY"), DT("WORDWRAP"), 0);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Query"), DT("WordWrap"), 5), 0);

  for (const TChar* name : {DT("zeta"), DT("Beta"), DT("alpha"), DT("Gamma"), DT("ALPHA")})
    KeyWriteInteger(HKEY_LOCAL_MACHINE, Format(DT("Software\\List\\%s"), name), DT("x"), 1);
  std::vector<TString> names;
  EXPECT_EQ(KeyReadStringAllSubkey(HKEY_LOCAL_MACHINE, DT("Software\\List"), names), 1);
  EXPECT_EQ(names, (std::vector<TString>{DT("alpha"), DT("Beta"), DT("Gamma"), DT("zeta")}));

  names.clear();
  EXPECT_EQ(KeyReadStringAllSubkeyOf(names, DT("Software"), DT("list")), 1);
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(KeyReadStringAllSubkeyOf(names, DT("Software"), DT("Missing")), 1);
  EXPECT_EQ(names.size(), 4u);
}

TEST_F(SettingsStoreTest, RootsAreSeparate) {
  KeyWriteString(HKEY_CURRENT_USER, kOptions, DT("Who"), DT("user"));
  KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Who"), DT("machine"));
  TString user, machine;
  KeyReadString(HKEY_CURRENT_USER, kOptions, DT("Who"), DT(""), user);
  KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Who"), DT(""), machine);
  EXPECT_EQ(user, DT("user"));
  EXPECT_EQ(machine, DT("machine"));
  EXPECT_NE(FileText().find("[HKEY_CURRENT_USER\\Software\\Harlune\\Dossel\\Options]"), std::string::npos);
}

TEST_F(SettingsStoreTest, DeleteTreeRemovesNestedKeysAndToleratesMissingOnes) {
  EXPECT_EQ(KeyDeleteTree(HKEY_LOCAL_MACHINE, DT("Software\\Missing")), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\A\\B\\C"), DT("x"), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\A\\D"), DT("x"), 1);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\Keep"), DT("x"), 1);

  EXPECT_EQ(KeyDeleteTree(HKEY_LOCAL_MACHINE, DT("software\\tree\\a\\")), 1);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\A\\B\\C")), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\A")), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Tree\\Keep")), 1);

  EXPECT_EQ(KeyDeleteTree(HKEY_LOCAL_MACHINE, DT("")), 0) << "a root is never deleted";
  EXPECT_EQ(KeyDeleteTree(HKEY_LOCAL_MACHINE, DT("\\")), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software")), 1);
}

TEST_F(SettingsStoreTest, BadPathsFailQuietly) {
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\\\Double"), DT("x"), 1), 0);
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("\\Leading"), DT("x"), 1), 0);
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Line\nBreak"), DT("x"), 1), 0);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\\\Double"), DT("x"), 3), 3);
  EXPECT_FALSE(std::filesystem::exists(m_registry));
}

TEST_F(SettingsStoreTest, DamagedFileIsKeptAsideAndDefaultsUsed) {
  KeyWriteString(HKEY_LOCAL_MACHINE, kOptions, DT("Before"), DT("kept"));
  KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Later"), DT("Number"), 9);
  std::string damaged = FileText();
  const size_t middle = damaged.find("[HKEY_LOCAL_MACHINE\\Software\\Later]");
  ASSERT_NE(middle, std::string::npos);
  damaged.insert(middle, "\"Broken\"=dword:xyz\n");
  WriteText(m_registry, damaged);

  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\Later"), DT("Number"), -1), -1);
  TString read;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Before"), DT("default"), read), 0);
  EXPECT_EQ(ReadFile(m_registry), damaged) << "reading never changes a damaged file";

  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("After"), 1), 1);
  EXPECT_EQ(ReadFile(m_registry + ".damaged-1"), damaged);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("After"), 0), 1);
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, kOptions, DT("Before"), DT("default"), read), 0);

  WriteText(m_registry, "not a settings file");
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("After"), 2), 1);
  EXPECT_EQ(ReadFile(m_registry + ".damaged-1"), damaged) << "an older copy is never replaced";
  EXPECT_EQ(ReadFile(m_registry + ".damaged-2"), "not a settings file");
}

// The settings file is replaced as a whole, as every file the program
// writes: one reached through a link stays a link, and keeps its mode.
TEST_F(SettingsStoreTest, AFileReachedThroughALinkStaysALinkAndKeepsItsMode) {
  const std::string real = m_folder.File("real.reg");
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("First"), 1), 1);
  std::filesystem::rename(m_registry, real);
  ASSERT_EQ(::symlink("real.reg", m_registry.c_str()), 0);
  ::chmod(real.c_str(), 0600);
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Second"), 2), 1);
  EXPECT_TRUE(std::filesystem::is_symlink(m_registry));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("First"), 0), 1);
  EXPECT_NE(ReadFile(real).find("\"Second\"=dword:00000002"), std::string::npos) << ReadFile(real);
  EXPECT_EQ(std::filesystem::status(real).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Uses up this process's file descriptors but `left`, for its lifetime, as
// a program with too many files open would have.
class DescriptorsUsedUp {
 public:
  explicit DescriptorsUsedUp(size_t left) {
    getrlimit(RLIMIT_NOFILE, &m_saved);
    const rlimit low{256, m_saved.rlim_max};
    setrlimit(RLIMIT_NOFILE, &low);
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) m_fds.push_back(fd);
    for (size_t i = 0; i < left && !m_fds.empty(); ++i) {
      ::close(m_fds.back());
      m_fds.pop_back();
    }
  }
  ~DescriptorsUsedUp() {
    for (const int fd : m_fds) ::close(fd);
    setrlimit(RLIMIT_NOFILE, &m_saved);
  }
  DescriptorsUsedUp(const DescriptorsUsedUp&) = delete;
  DescriptorsUsedUp& operator=(const DescriptorsUsedUp&) = delete;

 private:
  rlimit m_saved{};
  std::vector<int> m_fds;
};

// Only a file that was read and failed to parse is damaged. One that is
// there but cannot be opened or read (no descriptor left, a folder in its
// place) reads as defaults, and a change neither moves it aside nor writes
// over it.
TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeverMovedAsideOrWrittenOver) {
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Kept"), 7), 1);
  const std::string good = ReadFile(m_registry);
  int read = 0;
  int written = 0;
  {
    const DescriptorsUsedUp none(0);
    read = KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Kept"), -1);
  }
  {
    // One left: the lock takes it, and the file cannot be opened.
    const DescriptorsUsedUp one(1);
    written = KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Other"), 1);
  }
  EXPECT_EQ(read, -1);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(ReadFile(m_registry), good);
  EXPECT_FALSE(std::filesystem::exists(m_registry + ".damaged-1"));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Kept"), -1), 7);

  std::filesystem::remove(m_registry);
  std::filesystem::create_directory(m_registry);
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Other"), 1), 0);
  EXPECT_TRUE(std::filesystem::is_directory(m_registry));
  EXPECT_FALSE(std::filesystem::exists(m_registry + ".damaged-1"));
}

// A key path of n components below the given root.
TString DeepPath(size_t n) {
  TString path = DT("K");
  for (size_t i = 1; i < n; ++i) path += DT("\\K");
  return path;
}

// Writing and freeing the tree recurse once per key level, so a file whose
// key runs a hundred thousand levels deep would overflow the stack at the
// next change (found while fuzzing the settings reader). Keys deeper than
// 512 levels, the root included, make a file damaged, and the store refuses
// them.
TEST_F(SettingsStoreTest, KeysDeeperThanTheLimitAreRefused) {
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DeepPath(511), DT("Depth"), 511), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DeepPath(511), DT("Depth"), 0), 511);
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DeepPath(512), DT("Depth"), 512), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DeepPath(512)), 0);
  EXPECT_FALSE(std::filesystem::exists(m_registry + ".damaged-1")) << "the deepest allowed key reads back";

  const std::string deep = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\" + ToUtf8(DeepPath(100000)) +
                           "]\n\"Depth\"=dword:00000001\n";
  WriteText(m_registry, deep);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("K")), 0);
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("After"), 1), 1);
  EXPECT_EQ(ReadFile(m_registry + ".damaged-1"), deep);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptions, DT("After"), 0), 1);
}

// A key of a hundred thousand values reads in time proportional to its size
// (every settings call reads the whole file), and a name repeated in
// another case is one value: the later text, the first name's case, the
// first one's place.
TEST_F(SettingsStoreTest, ManyValuesInOneKeyAndNamesRepeatedInAnotherCase) {
  std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Many]\n";
  text += "\"Name\"=\"first\"\n";
  for (int i = 0; i < 100000; ++i) text += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
  text += "\"NAME\"=\"second\"\n";
  WriteText(m_registry, text);

  TString read;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Many"), DT("name"), DT(""), read), 1);
  EXPECT_EQ(read, DT("second"));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\Many"), DT("V99999"), 0), 1);
  ASSERT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, DT("Software\\Many"), DT("V5"), 7), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\Many"), DT("v5"), 0), 7);
  const std::string file = FileText();
  EXPECT_NE(file.find("]\n\"Name\"=\"second\"\n\"v0\"=dword:00000001\n"), std::string::npos);
  EXPECT_NE(file.find("\n\"v5\"=dword:00000007\n\"v6\"="), std::string::npos);
  EXPECT_EQ(file.find("NAME"), std::string::npos);
  EXPECT_EQ(file.find("V5"), std::string::npos);
}

TEST_F(SettingsStoreTest, ReadsFilesWrittenByOtherTools) {
  WriteText(m_registry,
            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
            "; written by hand\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Harlune\\Dossel\\Trace]\r\n"
            "\"WordWrap\"=dword:00000001\r\n"
            "@=\"default value\"\r\n"
            "\"Odd\"=\"C:\\temp\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Harlune\\Dossel\\Trace\\Font]\r\n");
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Trace"), DT("WordWrap"), 0), 1);
  TString read;
  EXPECT_EQ(KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Trace"), DT(""), DT(""), read), 1);
  EXPECT_EQ(read, DT("default value"));
  KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Trace"), DT("Odd"), DT(""), read);
  EXPECT_EQ(read, DT("C:\\temp")) << "an unknown escape keeps its backslash";
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Trace\\Font")), 1);
}

TEST_F(SettingsStoreTest, LocationFollowsTheEnvironment) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  unsetenv("DOSSEL_REGISTRY");
  const std::string config = m_folder.File("config");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(KeyWriteInteger(HKEY_LOCAL_MACHINE, kOptions, DT("Where"), 1), 1);
  EXPECT_TRUE(std::filesystem::exists(config + "/dossel/registry.reg"));
  if (old) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace dossel::test
