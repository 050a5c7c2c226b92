// Splitting scripts into statements: quotes, comments, trigger bodies, the
// MySQL family's backslash, non-ASCII text, large scripts, and a property
// test over generated scripts.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text.h"
#include "session/statement_splitter.h"

namespace dossel::test {
namespace {

using session::SqlDialect;

std::vector<std::string> Split(const std::string& script, SqlDialect dialect = SqlDialect::kStandard) {
  const TString text = FromUtf8(script);
  std::vector<std::string> pieces;
  for (TStringView piece : session::SplitStatements(text, dialect)) pieces.push_back(ToUtf8(piece));
  return pieces;
}

using Pieces = std::vector<std::string>;

TEST(StatementSplitterTest, SemicolonsOutsideQuotesEndStatements) {
  EXPECT_EQ(Split("create table t(a); insert into t values(1); select * from t;"),
            (Pieces{"create table t(a)", "insert into t values(1)", "select * from t"}));
  EXPECT_EQ(Split("select 1"), Pieces{"select 1"});
  EXPECT_EQ(Split("  select 1 ;\r\n\r\n"), Pieces{"select 1"});
  // Line ends inside a statement stay as written.
  EXPECT_EQ(Split("select a,\r\n  b\r\nfrom t;\r\nselect 2"), (Pieces{"select a,\r\n  b\r\nfrom t", "select 2"}));
}

TEST(StatementSplitterTest, QuotedTextAndIdentifiersKeepTheirSemicolons) {
  EXPECT_EQ(Split("insert into t values('a;''b'); select 1"), (Pieces{"insert into t values('a;''b')", "select 1"}));
  EXPECT_EQ(Split("select \"x;\"\"y\" from t; select 2"), (Pieces{"select \"x;\"\"y\" from t", "select 2"}));
  EXPECT_EQ(Split("select [a;b]]c] from t; select 2"), (Pieces{"select [a;b]]c] from t", "select 2"}));
  EXPECT_EQ(Split("select `a;``b` from t; select 2"), (Pieces{"select `a;``b` from t", "select 2"}));
  // A quote of one kind inside another kind of quotes is just a character.
  EXPECT_EQ(Split("select '\"', \"'\", '[', '`'; select 2"), (Pieces{"select '\"', \"'\", '[', '`'", "select 2"}));
  // An unterminated string runs to the end; the driver says what is wrong.
  EXPECT_EQ(Split("select 1; select 'open; select 2"), (Pieces{"select 1", "select 'open; select 2"}));
}

TEST(StatementSplitterTest, CommentsHideSemicolonsAndCommentOnlyPiecesAreDropped) {
  EXPECT_EQ(Split("select 1; -- note"), Pieces{"select 1"});
  EXPECT_EQ(Split("select 1 -- a;b\n; select 2"), (Pieces{"select 1 -- a;b", "select 2"}));
  EXPECT_EQ(Split("/* ; */ select 1; /* only a comment */ ; -- and another\n;"), Pieces{"/* ; */ select 1"});
  EXPECT_EQ(Split("select 1 /* open; select 2"), Pieces{"select 1 /* open; select 2"});
  // Comment markers inside strings are text.
  EXPECT_EQ(Split("select '--', '/*'; select 2"), (Pieces{"select '--', '/*'", "select 2"}));
  // A lone minus or slash is an operator.
  EXPECT_EQ(Split("select 4-1; select 4/2"), (Pieces{"select 4-1", "select 4/2"}));
}

TEST(StatementSplitterTest, EmptyTextsGiveNoStatement) {
  EXPECT_TRUE(Split("").empty());
  EXPECT_TRUE(Split(" ;; ;\r\n\t;").empty());
  EXPECT_TRUE(Split("-- nothing\n/* at all */").empty());
  EXPECT_EQ(Split(";;select 1;;;select 2;;"), (Pieces{"select 1", "select 2"}));
}

TEST(StatementSplitterTest, TriggerBodiesStayWhole) {
  const std::string trigger =
      "CREATE TRIGGER log_insert AFTER INSERT ON t\n"
      "BEGIN\n"
      "  insert into log values (new.a, 'added;');\n"
      "  update stats set n = case when n is null then 1 else n + 1 end;\n"
      "END";
  EXPECT_EQ(Split(trigger + ";\nselect 1;"), (Pieces{trigger, "select 1"}));
  const std::string temp =
      "create temp trigger x before delete on t when old.a = 1 begin select raise(abort, 'no'); end";
  EXPECT_EQ(Split("select 0; " + temp + "; select 2"), (Pieces{"select 0", temp, "select 2"}));
  // A trigger whose head holds a CASE.
  const std::string head =
      "create trigger y after update on t when case when new.a then 1 end begin delete from u; end";
  EXPECT_EQ(Split(head + ";select 3"), (Pieces{head, "select 3"}));
}

TEST(StatementSplitterTest, OnlyTriggersHaveBodies) {
  // A transaction's BEGIN and END are statements of their own.
  EXPECT_EQ(Split("begin; insert into t values(1); end;"), (Pieces{"begin", "insert into t values(1)", "end"}));
  // A column named trigger makes no trigger.
  EXPECT_EQ(Split("create table x(trigger text, begin text); select 1"),
            (Pieces{"create table x(trigger text, begin text)", "select 1"}));
  EXPECT_EQ(Split("create table trigger_log(a); select 1"), (Pieces{"create table trigger_log(a)", "select 1"}));
}

TEST(StatementSplitterTest, MySqlFamilyBackslashEscapesInsideQuotes) {
  EXPECT_EQ(Split("select 'Don\\'t; stop'; select 2", SqlDialect::kMySql),
            (Pieces{"select 'Don\\'t; stop'", "select 2"}));
  EXPECT_EQ(Split("select \"a\\\";b\"; select 2", SqlDialect::kMySql), (Pieces{"select \"a\\\";b\"", "select 2"}));
  EXPECT_EQ(Split("select 'c:\\\\'; select 2", SqlDialect::kMySql), (Pieces{"select 'c:\\\\'", "select 2"}));
  // Elsewhere a backslash is an ordinary character, and the quote ends the string.
  EXPECT_EQ(Split("select 'Don\\'t; stop'", SqlDialect::kStandard), (Pieces{"select 'Don\\'t", "stop'"}));
  // Its dump files set options in comments that it runs.
  EXPECT_EQ(Split("/*!40101 SET NAMES utf8 */;\n/* plain */;select 1", SqlDialect::kMySql),
            (Pieces{"/*!40101 SET NAMES utf8 */", "select 1"}));
  // Not inside backquoted names.
  EXPECT_EQ(Split("select `a\\`; select 2", SqlDialect::kMySql), (Pieces{"select `a\\`", "select 2"}));
}

TEST(StatementSplitterTest, MySqlTriggerWithBlocksItDoesNotCount) {
  const std::string trigger =
      "CREATE DEFINER = CURRENT_USER TRIGGER t_bi BEFORE INSERT ON t FOR EACH ROW BEGIN\n"
      "  IF NEW.a < 0 THEN SET NEW.a = 0; END IF;\n"
      "  CASE NEW.b WHEN 1 THEN SET NEW.c = 'one'; ELSE SET NEW.c = 'other'; END CASE;\n"
      "  WHILE NEW.a > 10 DO SET NEW.a = NEW.a - 10; END WHILE;\n"
      "END";
  EXPECT_EQ(Split(trigger + "; select 1", SqlDialect::kMySql), (Pieces{trigger, "select 1"}));
}

TEST(StatementSplitterTest, NonAsciiTextAndWords) {
  EXPECT_EQ(Split("select 'é;ü' as straße; select '日本;語'"), (Pieces{"select 'é;ü' as straße", "select '日本;語'"}));
  // A keyword glued to non-ASCII letters is another word: this END closes nothing.
  const std::string trigger = "create trigger z after insert on t begin insert into u(endé) values(1); end";
  EXPECT_EQ(Split(trigger + "; select 1"), (Pieces{trigger, "select 1"}));
}

// Several megabytes, tens of thousands of statements: a scan that went back
// over the text for every statement would not finish in the test's time.
TEST(StatementSplitterTest, LargeScriptSplitsWhole) {
  std::string script = "begin transaction;\n";
  constexpr int kStatements = 60000;
  for (int i = 0; i < kStatements; ++i)
    script += "insert into items(id, name, note) values (" + std::to_string(i) + ", 'item; number " +
              std::to_string(i) + "', 'a note that makes the script larger, -- not a comment');\n";
  script += "commit;\n";
  ASSERT_GT(script.size(), 5u * 1000 * 1000);
  const Pieces pieces = Split(script);
  ASSERT_EQ(pieces.size(), static_cast<size_t>(kStatements + 2));
  EXPECT_EQ(pieces.front(), "begin transaction");
  EXPECT_EQ(pieces[12345 + 1],
            "insert into items(id, name, note) values (12345, 'item; number 12345', "
            "'a note that makes the script larger, -- not a comment')");
  EXPECT_EQ(pieces.back(), "commit");
}

// Scripts made of generated statements with every kind of separator between
// them split back into those statements, each whole.
class ScriptGenerator {
 public:
  explicit ScriptGenerator(unsigned seed) : m_random(seed) {}

  std::string Statement() {
    static const std::vector<std::string> kFirst = {"select", "insert into t values", "update t set a =", "delete"};
    static const std::vector<std::string> kParts = {"a",
                                                    "1",
                                                    "'x;y'",
                                                    "'it''s'",
                                                    "\"q;\"\"r\"",
                                                    "[b;c]",
                                                    "`d;e`",
                                                    "/* ; */",
                                                    "-- c;\n z",
                                                    "(1, 2)",
                                                    "é",
                                                    "'日;本'",
                                                    "case when 1 then 2 end",
                                                    "begin",
                                                    "end",
                                                    "+",
                                                    "-",
                                                    "/",
                                                    "*"};
    static const std::vector<std::string> kTriggers = {
        "create trigger g after insert on t begin update u set n = n + 1; delete from v; end",
        "CREATE TEMPORARY TRIGGER h BEFORE UPDATE ON t BEGIN SELECT CASE WHEN 1 THEN 2 END; END"};
    if (Pick(8) == 0) return kTriggers[Pick(kTriggers.size())];
    std::string text = kFirst[Pick(kFirst.size())];
    const size_t parts = 1 + Pick(6);
    for (size_t i = 0; i < parts; ++i) text += Blank() + kParts[Pick(kParts.size())];
    return text;
  }

  // What may stand between two statements.
  std::string Separator() {
    static const std::vector<std::string> kAfter = {"", " ", "\r\n", "\t", "-- note; here\n", "/* c; */", ";", " ; "};
    std::string text = ";";
    const size_t count = Pick(3);
    for (size_t i = 0; i < count; ++i) text += kAfter[Pick(kAfter.size())];
    return text;
  }

  size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(m_random); }

 private:
  std::string Blank() {
    static const std::vector<std::string> kBlanks = {" ", "  ", "\n", "\r\n  "};
    return kBlanks[Pick(kBlanks.size())];
  }

  std::mt19937 m_random;
};

TEST(StatementSplitterTest, GeneratedScriptsSplitBackIntoTheirStatements) {
  ScriptGenerator generator(20261208);
  for (int round = 0; round < 2000; ++round) {
    Pieces statements;
    std::string script = generator.Pick(2) ? "\r\n" : "";
    const size_t count = 1 + generator.Pick(6);
    for (size_t i = 0; i < count; ++i) {
      statements.push_back(generator.Statement());
      script += statements.back();
      if (i + 1 < count || generator.Pick(2)) script += generator.Separator();
    }
    // A comment between statements stays in front of the next one, as the
    // user wrote it.
    const Pieces pieces = Split(script);
    ASSERT_EQ(pieces.size(), statements.size()) << "script: " << script;
    for (size_t i = 0; i < pieces.size(); ++i) {
      ASSERT_TRUE(pieces[i].ends_with(statements[i])) << pieces[i] << "\nscript: " << script;
      ASSERT_TRUE(Split(pieces[i].substr(0, pieces[i].size() - statements[i].size())).empty()) << pieces[i];
    }
  }
}

}  // namespace
}  // namespace dossel::test
