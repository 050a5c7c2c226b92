// The export writer over a table of its own: the exact bytes of every mode
// and of the selection, the trace lines, the quoting and escaping mends
// (read back through a CSV reader of the test's own), and the stored-choice
// rules of the dialog that need no window.

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_export_source.h"
#include "platform/user_interface.h"
#include "recording_ui.h"
#include "result/export_choices.h"
#include "result/export_to_file.h"
#include "test_support.h"

namespace dossel {
namespace {

using test::FakeExportSource;

// A title row and three data rows, as the result output fills the grid.
std::vector<std::vector<TString>> SmallTable() {
  return {{DT("id"), DT("name"), DT("city")},
          {DT("1"), DT("Ann"), DT("Oslo")},
          {DT("2"), DT("Bob"), DT("Porto")},
          {DT("3"), DT(""), DT("Lisbon")}};
}

// Reads RFC 4180 text with line-feed line ends: quoted fields may hold the
// delimiter, quotes (doubled) and line ends.
std::vector<std::vector<std::string>> ReadCsv(const std::string& bytes, const std::string& delimiter) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  size_t i = 0;
  bool quoted = false;
  while (i < bytes.size()) {
    if (quoted) {
      if (bytes[i] == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"')
        field += '"', i += 2;
      else if (bytes[i] == '"')
        quoted = false, ++i;
      else
        field += bytes[i++];
    } else if (bytes[i] == '"' && field.empty()) {
      quoted = true, ++i;
    } else if (bytes.compare(i, delimiter.size(), delimiter) == 0) {
      rows.back().push_back(field), field.clear(), i += delimiter.size();
    } else if (bytes[i] == '\n') {
      rows.back().push_back(field), field.clear(), rows.emplace_back(), ++i;
    } else {
      field += bytes[i++];
    }
  }
  rows.back().push_back(field);
  return rows;
}

class ExportWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUserInterface(&m_ui); }
  void TearDown() override { SetUserInterface(nullptr); }

  // Exports to a scratch file and answers its bytes; `result` gets the return value.
  std::string Export(const ExportOptions& options, int* result = nullptr, const std::string& name = "out.csv") {
    const std::string path = m_folder.File(name);
    const int written =
        ExportToFile(FromUtf8(path), m_source, options, [this](TStringView line) { m_trace += ToUtf8(line); });
    if (result) *result = written;
    return test::ReadFile(path);
  }
  static ExportOptions Delimited(TStringView delimiter, bool header = true) {
    ExportOptions options;
    options.delimiter = TString(delimiter);
    options.header = header;
    return options;
  }

  test::ScratchFolder m_folder;
  test::RecordingUserInterface m_ui;
  FakeExportSource m_source{SmallTable()};
  std::string m_trace;
};

TEST_F(ExportWriterTest, AllRowsInEveryDelimiterWithAndWithoutTheTitleRow) {
  int result = 0;
  EXPECT_EQ(Export(Delimited(DT(",")), &result), "id,name,city\n1,Ann,Oslo\n2,Bob,Porto\n3,,Lisbon");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(m_trace, "Exporting results ...\r\n");
  EXPECT_EQ(Export(Delimited(DT(","), false)), "1,Ann,Oslo\n2,Bob,Porto\n3,,Lisbon");
  EXPECT_EQ(Export(Delimited(DT("\t"))), "id\tname\tcity\n1\tAnn\tOslo\n2\tBob\tPorto\n3\t\tLisbon");
  EXPECT_EQ(Export(Delimited(DT("|"), false)), "1|Ann|Oslo\n2|Bob|Porto\n3||Lisbon");
  EXPECT_EQ(Export(Delimited(DT(";"), false)), "1;Ann;Oslo\n2;Bob;Porto\n3;;Lisbon");
  EXPECT_EQ(Export(Delimited(DT(" :: "), false)), "1 :: Ann :: Oslo\n2 :: Bob :: Porto\n3 ::  :: Lisbon");
  EXPECT_TRUE(m_ui.texts.empty());
}

TEST_F(ExportWriterTest, TaggedRowsHaveNoSurroundingElements) {
  ExportOptions options;
  options.mode = ExportMode::Tagged;
  options.delimiter = DT("ignored");
  options.header = false;
  EXPECT_EQ(Export(options),
            "<TR><TD>1</TD><TD>Ann</TD><TD>Oslo</TD></TR>\n"
            "<TR><TD>2</TD><TD>Bob</TD><TD>Porto</TD></TR>\n"
            "<TR><TD>3</TD><TD></TD><TD>Lisbon</TD></TR>");
  options.rowBegin = DT("[");
  options.rowEnd = DT("]");
  options.colBegin = DT("(");
  options.colEnd = DT(")");
  options.header = true;
  EXPECT_EQ(Export(options), "[(id)(name)(city)]\n[(1)(Ann)(Oslo)]\n[(2)(Bob)(Porto)]\n[(3)()(Lisbon)]");
}

TEST_F(ExportWriterTest, SelectionGivesEmptyFieldsForUnselectedCellsAndIgnoresTheHeaderFlag) {
  m_source.Rows()[2].push_back(DT("x"));
  for (auto& row : m_source.Rows()) row.resize(4, DT("y"));
  m_source.Select(2, 0);
  m_source.Select(2, 3);
  ExportOptions options = Delimited(DT(","), false);
  options.selectionOnly = true;
  EXPECT_EQ(Export(options), "2,,,x");
  EXPECT_EQ(m_trace, "Exporting selection ...\r\n");
  options.mode = ExportMode::Tagged;
  EXPECT_EQ(Export(options), "<TR><TD>2</TD><TD>x</TD></TR>");

  // A block reaching into the title row: the title row is written although
  // the header flag is clear; rows of the block without a selected cell are
  // lines of empty fields.
  m_source.Select(0, 1);
  options.mode = ExportMode::Delimited;
  EXPECT_EQ(Export(options), ",name,,\n,,,\n2,,,x");
}

// Without a selection nothing is opened: a file picked to be overwritten
// keeps its bytes, a new name makes no file, and the user is told.
TEST_F(ExportWriterTest, NoValidSelectionLeavesTheChosenFileAloneAndSaysSo) {
  ExportOptions options;
  options.selectionOnly = true;
  const std::string report = m_folder.File("report.csv");
  test::WriteFile(report, "last month's report\n");
  EXPECT_EQ(ExportToFile(FromUtf8(report), m_source, options, [this](TStringView line) { m_trace += ToUtf8(line); }),
            0);
  EXPECT_EQ(test::ReadFile(report), "last month's report\n");
  int result = 1;
  Export(options, &result, "none.csv");
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("none.csv")));
  EXPECT_EQ(m_trace, "");
  ASSERT_EQ(m_ui.texts.size(), 2u);
  EXPECT_EQ(m_ui.texts[0], kNoSelectionText);
  EXPECT_EQ(m_ui.captions[0], DT("Dossel"));
}

TEST_F(ExportWriterTest, EmptyTablesAndNonAsciiTextAreWrittenAsUtf8) {
  m_source.Rows() = {{DT("caf\u00e9"), DT("\u6771\u4eac")}, {DT("\u00fc"), DT("\U0001F600")}};
  EXPECT_EQ(Export(Delimited(DT(","))), "caf\xC3\xA9,\xE6\x9D\xB1\xE4\xBA\xAC\n\xC3\xBC,\xF0\x9F\x98\x80");
  m_source.Rows() = {{DT("only"), DT("titles")}};
  int result = 0;
  EXPECT_EQ(Export(Delimited(DT(","), false), &result), "");
  EXPECT_EQ(result, 1);
  m_source.Rows().clear();
  EXPECT_EQ(Export(Delimited(DT(","))), "");
}

TEST_F(ExportWriterTest, RowsAddedWhileWritingAreNotWritten) {
  m_source.onRead = [this] {
    if (m_source.Rows().size() < 8) m_source.Rows().push_back({DT("new"), DT("new"), DT("new")});
  };
  EXPECT_EQ(Export(Delimited(DT(","), false)), "1,Ann,Oslo\n2,Bob,Porto\n3,,Lisbon");
}

// Mend: cells holding the delimiter, a quote or a line end are quoted.
TEST_F(ExportWriterTest, QuotedCellsReadBackAsWritten) {
  const std::vector<std::vector<TString>> table = {{DT("plain"), DT("a,b"), DT("say \"hi\""), DT("two\nlines")},
                                                   {DT("cr\rhere"), DT("\""), DT(""), DT("crlf\r\nend,")},
                                                   {DT(" spaced "), DT("semi;colon"), DT("'single'"), DT("tab\there")}};
  m_source.Rows() = table;
  const std::string bytes = Export(Delimited(DT(","), true));
  EXPECT_EQ(bytes,
            "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\n"
            "\"cr\rhere\",\"\"\"\",,\"crlf\r\nend,\"\n"
            " spaced ,semi;colon,'single',tab\there");
  for (TStringView delimiter : {TStringView(DT(",")), TStringView(DT(";")), TStringView(DT("\t")), TStringView(DT("|")),
                                TStringView(DT("<->"))}) {
    const auto rows = ReadCsv(Export(Delimited(delimiter, true)), ToUtf8(delimiter));
    ASSERT_EQ(rows.size(), table.size()) << ToUtf8(delimiter);
    for (size_t r = 0; r < table.size(); ++r) {
      ASSERT_EQ(rows[r].size(), table[r].size());
      for (size_t c = 0; c < table[r].size(); ++c) EXPECT_EQ(rows[r][c], ToUtf8(table[r][c])) << r << "," << c;
    }
  }
  // Only the chosen delimiter makes a cell quoted.
  m_source.Rows() = {{DT("a,b"), DT("c;d")}};
  EXPECT_EQ(Export(Delimited(DT(";"))), "a,b;\"c;d\"");
  EXPECT_TRUE(NeedsCsvQuotes(DT("x<->y"), DT("<->")));
  EXPECT_FALSE(NeedsCsvQuotes(DT("x<-y"), DT("<->")));
  EXPECT_FALSE(NeedsCsvQuotes(DT("anything"), DT("")));
}

// A multi-character delimiter whose start repeats its end: a cell ending in
// such a start would run into the delimiter after it, and a reader taking
// the first delimiter it meets would cut the cell short (found by fuzzing).
TEST_F(ExportWriterTest, CellsEndingInAStartOfARepeatingDelimiterAreQuoted) {
  m_source.Rows() = {{DT("a |"), DT("b")}, {DT("| c"), DT("d | e")}, {DT("x |"), DT("end |")}};
  EXPECT_EQ(Export(Delimited(DT(" | "))), "\"a |\" | b\n| c | \"d | e\"\n\"x |\" | \"end |\"");
  const auto rows = ReadCsv(Export(Delimited(DT(" | "))), " | ");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a |", "b"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"| c", "d | e"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"x |", "end |"}));

  EXPECT_TRUE(NeedsCsvQuotes(DT("xa"), DT("aa")));
  EXPECT_TRUE(NeedsCsvQuotes(DT("xab"), DT("aba")));
  EXPECT_TRUE(NeedsCsvQuotes(DT("x<-"), DT("<-<-")));
  // A start of the delimiter that its end does not repeat is safe: the first
  // delimiter a reader finds is still the one after the cell.
  EXPECT_FALSE(NeedsCsvQuotes(DT("x<-"), DT("<->")));
  EXPECT_FALSE(NeedsCsvQuotes(DT("xa"), DT("ab")));
  EXPECT_FALSE(NeedsCsvQuotes(DT("x<-<"), DT("<-<-")));
}

// Mend: markup tags get escaped cell texts; other tags and CSV quoting stay out.
TEST_F(ExportWriterTest, MarkupTagsEscapeAmpersandsAndAngleBrackets) {
  m_source.Rows() = {{DT("a<b>&c"), DT("\"q\",x")}, {DT("&amp;"), DT("5 > 3")}};
  ExportOptions options;
  options.mode = ExportMode::Tagged;
  EXPECT_EQ(Export(options),
            "<TR><TD>a&lt;b&gt;&amp;c</TD><TD>\"q\",x</TD></TR>\n"
            "<TR><TD>&amp;amp;</TD><TD>5 &gt; 3</TD></TR>");
  options.rowBegin = DT("");
  options.rowEnd = DT("");
  EXPECT_TRUE(IsMarkupTags(options));
  EXPECT_EQ(Export(options), "<TD>a&lt;b&gt;&amp;c</TD><TD>\"q\",x</TD>\n<TD>&amp;amp;</TD><TD>5 &gt; 3</TD>");
  options.colEnd = DT("|");
  EXPECT_FALSE(IsMarkupTags(options));
  EXPECT_EQ(Export(options), "<TD>a<b>&c|<TD>\"q\",x|\n<TD>&amp;|<TD>5 > 3|");
  options.rowBegin = options.rowEnd = options.colBegin = options.colEnd = DT("");
  EXPECT_FALSE(IsMarkupTags(options));
}

TEST(ExportChoicesTest, DelimiterFieldTextsAndListMatching) {
  EXPECT_EQ(ResolveDelimiter(DT("Comma Delimited")), DT(","));
  EXPECT_EQ(ResolveDelimiter(DT("Tab Delimited")), DT("\t"));
  EXPECT_EQ(ResolveDelimiter(DT("Pipe Delimited")), DT("|"));
  EXPECT_EQ(ResolveDelimiter(DT("my Pipe Delimited!")), DT("|"));
  EXPECT_EQ(ResolveDelimiter(DT(";")), DT(";"));
  EXPECT_EQ(ResolveDelimiter(DT("comma delimited")), DT("comma delimited"));
  EXPECT_EQ(ResolveDelimiter(DT("")), DT(""));

  EXPECT_EQ(TrimBlanks(DT(" \t Tab \t")), DT("Tab"));
  EXPECT_EQ(TrimBlanks(DT("   ")), DT(""));
  const auto& items = DelimiterItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
  EXPECT_EQ(FirstItemBeginningWith(items, DT("Tab")), 2u);
  EXPECT_EQ(FirstItemBeginningWith(items, DT("pipe delimited")), 1u);
  EXPECT_EQ(FirstItemBeginningWith(items, DT("")), 0u);
  EXPECT_EQ(FirstItemBeginningWith(items, DT(";")), std::nullopt);
}

TEST(ExportChoicesTest, BareNamesGetTheChosenFiltersExtension) {
  EXPECT_EQ(ExportFileFilter(), DT("Export CSV Files (*.csv)|*.csv|Export HTML Files (*.htm;*.html)|*.htm;*.html|"
                                   "Export XML Files (*.xml)|*.xml|All Files(*.*)|*.*"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out"), 0), DT("/tmp/out.csv"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out"), 1), DT("/tmp/out.htm"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out"), 2), DT("/tmp/out.xml"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out"), 3), DT("/tmp/out.csv"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out"), -1), DT("/tmp/out.csv"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/out.txt"), 2), DT("/tmp/out.txt"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/a.b/out"), 0), DT("/a.b/out.csv"));
  EXPECT_EQ(ApplyDefaultExtension(DT("/tmp/"), 0), DT("/tmp/"));
}

}  // namespace
}  // namespace dossel
