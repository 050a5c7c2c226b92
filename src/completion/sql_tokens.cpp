#include "completion/sql_tokens.h"

#include <type_traits>

#include "session/statement_splitter.h"

namespace dossel::completion {
namespace {

using UChar = std::make_unsigned_t<TChar>;

bool IsBlank(TChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(TChar c) { return c >= '0' && c <= '9'; }

TChar ClosingQuote(TChar open) { return open == '[' ? TChar(']') : open; }

class CTokenizer {
 public:
  CTokenizer(TStringView text, bool backslash) : m_text(text), m_backslash(backslash) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = m_text.size();
    while (i < n) {
      const TChar c = m_text[i];
      const TChar next = i + 1 < n ? m_text[i + 1] : TChar(0);
      Token token{TokenKind::Other, i, i + 1};
      if (IsBlank(c)) {
        ++i;
        continue;
      } else if (c == '\'') {
        token.kind = TokenKind::String;
        SkipQuoted(token, '\'', m_backslash);
      } else if (c == '"' || c == '`' || c == '[') {
        token.kind = TokenKind::QuotedName;
        SkipQuoted(token, ClosingQuote(c), m_backslash && c == '"');
      } else if (c == '-' && next == '-') {
        token.kind = TokenKind::LineComment;
        const size_t end = m_text.find_first_of(DT("\r\n"), i);
        token.end = end == TStringView::npos ? n : end;
      } else if (c == '/' && next == '*') {
        token.kind = TokenKind::BlockComment;
        const size_t end = m_text.find(DT("*/"), i + 2);
        token.closed = end != TStringView::npos;
        token.end = token.closed ? end + 2 : n;
      } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
        token.kind = TokenKind::Number;
        token.end = NumberEnd(i);
      } else if (IsWordCharacter(c)) {
        token.kind = TokenKind::Word;
        token.end = WordEnd(i);
      } else {
        token.kind = PunctuationKind(c);
      }
      i = token.end;
      tokens.push_back(token);
    }
    return tokens;
  }

 private:
  static TokenKind PunctuationKind(TChar c) {
    switch (c) {
      case '.':
        return TokenKind::Dot;
      case ',':
        return TokenKind::Comma;
      case ';':
        return TokenKind::Semicolon;
      case '(':
        return TokenKind::Open;
      case ')':
        return TokenKind::Close;
      case '*':
        return TokenKind::Star;
      default:
        return TokenKind::Other;
    }
  }

  // Records where a quoted string or name ends and whether it closed.
  void SkipQuoted(Token& token, TChar close, bool backslash) const {
    const session::QuotedEnd quoted = session::FindQuotedEnd(m_text, token.begin + 1, close, backslash);
    token.end = quoted.end;
    token.closed = quoted.closed;
  }

  size_t WordEnd(size_t pos) const {
    while (pos < m_text.size() && IsWordCharacter(m_text[pos])) ++pos;
    return pos;
  }

  // Digits, a decimal point and an exponent; letters glued to it belong to
  // it (0x1F, 1e5), so that "1." before a name is never a qualifier.
  size_t NumberEnd(size_t pos) const {
    while (pos < m_text.size()) {
      const TChar c = m_text[pos];
      if (c == '.' || IsWordCharacter(c)) {
        ++pos;
      } else if ((c == '+' || c == '-') && (m_text[pos - 1] == 'e' || m_text[pos - 1] == 'E')) {
        ++pos;
      } else {
        break;
      }
    }
    return pos;
  }

  TStringView m_text;
  bool m_backslash;
};

}  // namespace

bool IsWordCharacter(TChar c) {
  const auto u = static_cast<UChar>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$' ||
         u >= 0x80;
}

std::vector<Token> Tokenize(TStringView text, bool backslashEscapes) {
  return CTokenizer(text, backslashEscapes).Run();
}

TString NameOf(TStringView text, const Token& token) {
  const TStringView raw = text.substr(token.begin, token.end - token.begin);
  if (token.kind != TokenKind::QuotedName || raw.empty()) return TString(raw);
  const TChar close = ClosingQuote(raw.front());
  TStringView inner = raw.substr(1);
  if (token.closed && !inner.empty()) inner.remove_suffix(1);
  TString name;
  for (size_t i = 0; i < inner.size(); ++i) {
    name += inner[i];
    if (inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) ++i;
  }
  return name;
}

}  // namespace dossel::completion
