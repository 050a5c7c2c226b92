#include "session/statement_splitter.h"

#include <type_traits>

namespace dossel::session {

namespace {

using UChar = std::make_unsigned_t<TChar>;

// Letters of every script count as word characters, so a keyword glued to
// non-ASCII text is no keyword.
bool IsWordChar(TChar c) {
  const auto u = static_cast<UChar>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$' ||
         u >= 0x80;
}

bool IsBlank(TChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// How many words after CREATE may come before TRIGGER (CREATE OR REPLACE
// TEMPORARY TRIGGER, CREATE DEFINER = x TRIGGER ...).
constexpr int kTriggerWordLimit = 6;

class CSplitter {
 public:
  CSplitter(TStringView text, SqlDialect dialect) : m_text(text), m_mySql(dialect == SqlDialect::kMySql) {}

  std::vector<TStringView> Split();

 private:
  size_t SkipLineComment(size_t pos) const;
  size_t SkipBlockComment(size_t pos) const;
  size_t WordEnd(size_t pos) const;
  // Reads the word at [pos, end); answers where scanning goes on.
  size_t OnWord(size_t pos, size_t end);
  size_t OnEnd(size_t end);
  void EndStatement(size_t end);

  TStringView m_text;
  const bool m_mySql;
  std::vector<TStringView> m_pieces;

  // The statement being read.
  size_t m_start = 0;
  bool m_hasContent = false;
  int m_words = 0;
  bool m_deciding = false;  // after CREATE, until TRIGGER or too far
  bool m_trigger = false;
  int m_depth = 0;  // open BEGIN and CASE blocks of a trigger
};

std::vector<TStringView> CSplitter::Split() {
  const size_t n = m_text.size();
  size_t i = 0;
  while (i < n) {
    const TChar c = m_text[i];
    const TChar next = i + 1 < n ? m_text[i + 1] : TChar(0);
    if (c == '\'' || c == '"' || c == '`') {
      m_hasContent = true;
      i = FindQuotedEnd(m_text, i + 1, c, m_mySql && c != '`').end;
    } else if (c == '[') {
      m_hasContent = true;
      i = FindQuotedEnd(m_text, i + 1, ']', false).end;
    } else if (c == '-' && next == '-') {
      i = SkipLineComment(i + 2);
    } else if (c == '/' && next == '*') {
      // The MySQL family runs the text of /*! ... */ (dump files set their
      // session options that way): such a comment is a statement.
      if (m_mySql && i + 2 < n && m_text[i + 2] == '!') m_hasContent = true;
      i = SkipBlockComment(i + 2);
    } else if (c == ';' && (!m_trigger || m_depth <= 0)) {
      EndStatement(i);
      m_start = ++i;
    } else if (IsWordChar(c)) {
      m_hasContent = true;
      i = OnWord(i, WordEnd(i));
    } else {
      if (!IsBlank(c)) {
        m_hasContent = true;
        // A column list: CREATE TABLE t(trigger ...) makes no trigger.
        if (c == '(') m_deciding = false;
      }
      ++i;
    }
  }
  EndStatement(n);
  return std::move(m_pieces);
}

size_t CSplitter::SkipLineComment(size_t pos) const {
  const size_t end = m_text.find('\n', pos);
  return end == TStringView::npos ? m_text.size() : end + 1;
}

size_t CSplitter::SkipBlockComment(size_t pos) const {
  const size_t end = m_text.find(DT("*/"), pos);
  return end == TStringView::npos ? m_text.size() : end + 2;
}

size_t CSplitter::WordEnd(size_t pos) const {
  while (pos < m_text.size() && IsWordChar(m_text[pos])) ++pos;
  return pos;
}

size_t CSplitter::OnWord(size_t pos, size_t end) {
  const TStringView word = m_text.substr(pos, end - pos);
  ++m_words;
  if (m_words == 1) {
    m_deciding = EqualsNoCase(word, DT("CREATE"));
  } else if (m_deciding) {
    if (EqualsNoCase(word, DT("TRIGGER"))) {
      m_trigger = true;
      m_deciding = false;
    } else if (m_words > kTriggerWordLimit || EqualsNoCase(word, DT("AS"))) {
      m_deciding = false;
    }
  } else if (m_trigger) {
    if (EqualsNoCase(word, DT("BEGIN")) || EqualsNoCase(word, DT("CASE")))
      ++m_depth;
    else if (EqualsNoCase(word, DT("END")))
      return OnEnd(end);
  }
  return end;
}

// END closes a BEGIN or CASE block, except where it closes a block this
// scan does not open (END IF, END LOOP, END WHILE, END REPEAT of the MySQL
// family); END CASE closes a CASE statement and is one END.
size_t CSplitter::OnEnd(size_t end) {
  size_t next = end;
  while (next < m_text.size() && IsBlank(m_text[next])) ++next;
  const size_t nextEnd = WordEnd(next);
  const TStringView word = m_text.substr(next, nextEnd - next);
  for (TStringView other : {DT("IF"), DT("LOOP"), DT("WHILE"), DT("REPEAT")})
    if (EqualsNoCase(word, other)) return end;
  --m_depth;
  return EqualsNoCase(word, DT("CASE")) ? nextEnd : end;
}

void CSplitter::EndStatement(size_t end) {
  if (m_hasContent) {
    size_t first = m_start;
    while (first < end && IsBlank(m_text[first])) ++first;
    size_t last = end;
    while (last > first && IsBlank(m_text[last - 1])) --last;
    m_pieces.push_back(m_text.substr(first, last - first));
  }
  m_hasContent = false;
  m_words = 0;
  m_deciding = m_trigger = false;
  m_depth = 0;
}

}  // namespace

QuotedEnd FindQuotedEnd(TStringView text, size_t pos, TChar close, bool backslash) {
  const size_t n = text.size();
  while (pos < n) {
    const TChar c = text[pos];
    if (backslash && c == '\\') {
      pos += 2;
    } else if (c == close) {
      if (pos + 1 < n && text[pos + 1] == close) {
        pos += 2;
      } else {
        return {pos + 1, true};
      }
    } else {
      ++pos;
    }
  }
  return {n, false};
}

std::vector<TStringView> SplitStatements(TStringView script, SqlDialect dialect) {
  return CSplitter(script, dialect).Split();
}

}  // namespace dossel::session
