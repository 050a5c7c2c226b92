#include "completion/schema_change.h"

#include <initializer_list>
#include <vector>

#include "completion/sql_tokens.h"

namespace dossel::completion {
namespace {

bool IsOneOf(TStringView word, std::initializer_list<TStringView> words) {
  for (TStringView candidate : words)
    if (EqualsNoCase(word, candidate)) return true;
  return false;
}

class CStatementReader {
 public:
  CStatementReader(TStringView text, const std::vector<Token>& tokens, size_t begin, size_t end)
      : m_text(text), m_tokens(tokens), m_begin(begin), m_end(end) {}

  bool ChangesSchema() const {
    size_t first = Skip(m_begin);
    if (first >= m_end || m_tokens[first].kind != TokenKind::Word) return false;
    const TStringView word = Text(first);
    if (IsOneOf(word, {DT("create"), DT("alter"), DT("drop"), DT("rename"), DT("use"), DT("attach"), DT("detach"),
                       DT("import"), DT("sp_rename")}))
      return true;
    if (IsOneOf(word, {DT("exec"), DT("execute"), DT("call")})) {
      const size_t next = Skip(first + 1);
      return next < m_end && IsOneOf(Text(next), {DT("sp_rename"), DT("dbo.sp_rename")});
    }
    return IsOneOf(word, {DT("select")}) && SelectsIntoTable(first + 1);
  }

 private:
  TStringView Text(size_t i) const { return m_text.substr(m_tokens[i].begin, m_tokens[i].end - m_tokens[i].begin); }
  bool IsComment(size_t i) const {
    return m_tokens[i].kind == TokenKind::LineComment || m_tokens[i].kind == TokenKind::BlockComment;
  }
  // The first token at or after `i` that is neither a comment nor "(".
  size_t Skip(size_t i) const {
    while (i < m_end && (IsComment(i) || m_tokens[i].kind == TokenKind::Open)) ++i;
    return i;
  }

  // SELECT ... INTO name at the statement's own level makes a table (the
  // T-SQL family, PostgreSQL); INTO @variable or INTO OUTFILE makes none.
  bool SelectsIntoTable(size_t i) const {
    int depth = 0;
    for (; i < m_end; ++i) {
      const Token& t = m_tokens[i];
      if (t.kind == TokenKind::Open) ++depth;
      if (t.kind == TokenKind::Close) --depth;
      if (depth != 0 || t.kind != TokenKind::Word || !EqualsNoCase(Text(i), DT("into"))) continue;
      size_t next = i + 1;
      while (next < m_end && IsComment(next)) ++next;
      if (next >= m_end) return false;
      const TokenKind kind = m_tokens[next].kind;
      if (kind == TokenKind::QuotedName) return true;
      return kind == TokenKind::Word && !IsOneOf(Text(next), {DT("outfile"), DT("dumpfile"), DT("strict")});
    }
    return false;
  }

  TStringView m_text;
  const std::vector<Token>& m_tokens;
  size_t m_begin;
  size_t m_end;
};

}  // namespace

bool ChangesSchema(TStringView script, bool backslashEscapes) {
  const std::vector<Token> tokens = Tokenize(script, backslashEscapes);
  size_t begin = 0;
  for (size_t i = 0; i <= tokens.size(); ++i) {
    if (i < tokens.size() && tokens[i].kind != TokenKind::Semicolon) continue;
    if (CStatementReader(script, tokens, begin, i).ChangesSchema()) return true;
    begin = i + 1;
  }
  return false;
}

}  // namespace dossel::completion
