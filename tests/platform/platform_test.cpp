// Text conversion and formatting, in both text widths.

#include <gtest/gtest.h>

#include "platform/format.h"
#include "platform/system.h"
#include "platform/text.h"

namespace dossel {
namespace {

TEST(FormatTest, PrintfConversions) {
  EXPECT_EQ(Format(DT("Executing query [%s] ..."), TString(DT("select 1"))), DT("Executing query [select 1] ..."));
  EXPECT_EQ(Format(DT("%02d:%02d:%02d.%03d"), 1, 2, 5, 4), DT("01:02:05.004"));
  EXPECT_EQ(Format(DT("(%d row(s) affected)"), -1), DT("(-1 row(s) affected)"));
  EXPECT_EQ(Format(DT("%ld|%u|%x|%X|%5s|%-3s|"), 7L, 8u, 255, 255, DT("ab"), DT("c")), DT("7|8|ff|FF|   ab|c  |"));
  EXPECT_EQ(Format(DT("100%% %c"), TChar('z')), DT("100% z"));
  EXPECT_EQ(Format(DT("%.3s"), DT("abcdef")), DT("abc"));
}

TEST(FormatTest, ArgumentsAreNeverTakenAsFormats) {
  // Data with "%" passed as an argument is copied literally.
  EXPECT_EQ(Format(DT("[%s]"), DT("50% off %s %d")), DT("[50% off %s %d]"));
  // Missing arguments print nothing rather than reading garbage.
  EXPECT_EQ(Format(DT("a%sb%dc")), DT("abc"));
  // A number given to %s still prints.
  EXPECT_EQ(Format(DT("%s"), 42), DT("42"));
  EXPECT_EQ(Format(DT("trailing %")), DT("trailing %"));
}

TEST(TextTest, Utf8RoundTripsThroughTheBuildsText) {
  const std::string utf8 = "caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80";
  EXPECT_EQ(ToUtf8(FromUtf8(utf8)), utf8);
  EXPECT_EQ(Utf8ToUtf16(utf8).size(), 9u);  // the emoji takes a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8)), utf8);
  // Broken UTF-8 becomes replacement characters, never a crash.
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a\xC3")), "a\xEF\xBF\xBD");
  // Overlong forms of a line end, a zero, '/' and U+FFFF are no characters.
  EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x8A|\xC0\x80|\xC1\xAF|\xF0\x8F\xBF\xBF"), u"\xFFFD|\xFFFD|\xFFFD|\xFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"), u"\x0080\x0800\xD800\xDC00");
}

TEST(TextTest, CaseInsensitiveAsciiHelpers) {
  EXPECT_TRUE(StartsWithNoCase(DT("odbc;DSN=x"), DT("ODBC;")));
  EXPECT_FALSE(StartsWithNoCase(DT("odb"), DT("ODBC;")));
  EXPECT_EQ(FindNoCase(DT("xx USE db"), DT("use ")), 3u);
  EXPECT_TRUE(EqualsNoCase(DT("Software\\Harlune"), DT("SOFTWARE\\harlune")));
}

TEST(SystemTest, ComputerNameIsCutTo15Characters) {
  EXPECT_LE(GetComputerName().size(), 15u);
  const uint32_t before = GetTickCount();
  EXPECT_LT(static_cast<uint32_t>(GetTickCount() - before), 1000u);
}

}  // namespace
}  // namespace dossel
