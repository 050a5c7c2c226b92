// DosselODBC's connect-string functions on their own (they are pure, so the
// test builds their file in): parsing with braces, blanks and fragments, the
// string rebuilt for the SQLite driver, the data-source name put back, and a
// string of a million fragments parsed in one pass.

#include "db/odbc/connect_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dossel::odbc {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs AsPairs(const std::vector<ConnectAttribute>& attributes) {
  Pairs pairs;
  for (const ConnectAttribute& attribute : attributes) pairs.emplace_back(attribute.key, attribute.value);
  return pairs;
}

TEST(ConnectStringTest, BracesBlanksAndFragmentsWithoutAValue) {
  const auto attributes = ParseConnectString(" DSN = Sample ;junk;PWD={p;a}}ss} tail;=orphan;Database=/a b.db;;");
  EXPECT_EQ(AsPairs(attributes), (Pairs{{"DSN", " Sample "}, {"PWD", "p;a}ss"}, {"Database", "/a b.db"}}));
  EXPECT_EQ(FindAttribute(attributes, "dsn"), " Sample ");
  EXPECT_EQ(FindAttribute(attributes, "UID"), std::nullopt);
  EXPECT_TRUE(NamesDataSource(attributes));
  EXPECT_FALSE(NamesDataSource(ParseConnectString("DSN=;Database=x.db")));
  EXPECT_TRUE(NamesDataSource(ParseConnectString("FILEDSN=")));
  EXPECT_EQ(AsPairs(ParseConnectString("A={open;B=1")), (Pairs{{"A", "open;B=1"}}));
}

TEST(ConnectStringTest, RebuiltStringsParseBackToWhatTheUserTyped) {
  const auto attributes = ParseConnectString("DSN=Sample;PWD={p;a}}ss};Note= lead;driver=old;Database=/a b.db");
  const std::string rebuilt = SqliteConnectString(attributes, "/usr/lib/odbc/lib{sqlite}.so");
  EXPECT_EQ(rebuilt, "DRIVER={/usr/lib/odbc/lib{sqlite}}.so};PWD={p;a}}ss};Note={ lead};Database=/a b.db");
  EXPECT_EQ(
      AsPairs(ParseConnectString(rebuilt)),
      (Pairs{
          {"DRIVER", "/usr/lib/odbc/lib{sqlite}.so"}, {"PWD", "p;a}ss"}, {"Note", " lead"}, {"Database", "/a b.db"}}));

  EXPECT_EQ(RestoreDataSourceName("DSN=;Database=x.db;Timeout=100", "My;DSN"),
            "DSN={My;DSN};Database=x.db;Timeout=100");
  EXPECT_EQ(RestoreDataSourceName("DRIVER=x;Database=x.db", "Sample"), "DRIVER=x;Database=x.db");
}

// A fragment without "=" must not start a search for "=" through the rest
// of the string: done for each fragment, this string would take minutes.
TEST(ConnectStringTest, MillionsOfFragmentsParseInOnePass) {
  std::string text(2'000'000, ';');
  text += "Key=value";
  EXPECT_EQ(AsPairs(ParseConnectString(text)), (Pairs{{"Key", "value"}}));
  std::string words;
  for (int i = 0; i < 500'000; ++i) words += "word;";
  EXPECT_TRUE(ParseConnectString(words).empty());
}

}  // namespace
}  // namespace dossel::odbc
