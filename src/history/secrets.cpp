#include "history/secrets.h"

#include <array>

namespace dossel::history {
namespace {

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerWord(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) c = Lower(c);
  return lower;
}

// A word that names a password: "PWD", "Password", "SSLPassword",
// "ClientSecret", "passwd"... ("passwordless" or "password_hash" do not).
bool NamesSecret(std::string_view word) {
  static constexpr std::array<std::string_view, 4> kEndings = {"pwd", "passwd", "password", "secret"};
  const std::string lower = LowerWord(word);
  for (std::string_view ending : kEndings)
    if (lower.ends_with(ending)) return true;
  return false;
}

size_t SkipBlanks(std::string_view text, size_t at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) ++at;
  return at;
}

// The end of the quoted literal that opens at `at` (past its closing quote;
// a doubled quote stands for one), or the end of the text.
size_t LiteralEnd(std::string_view text, size_t at) {
  const char quote = text[at];
  size_t i = at + 1;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  return text.size();
}

// The end of a connect-string value that starts at `at`: a braced value
// ("}}" stands for "}"), else up to ";", a quote (the SQL literal around the
// connect string ends) or the line's end.
size_t ValueEnd(std::string_view text, size_t at) {
  if (at < text.size() && text[at] == '{') {
    size_t i = at + 1;
    while (i < text.size()) {
      if (text[i] == '}') {
        if (i + 1 < text.size() && text[i + 1] == '}') {
          i += 2;
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return text.size();
  }
  size_t i = at;
  while (i < text.size() && text[i] != ';' && text[i] != '\'' && text[i] != '"' && text[i] != '\r' && text[i] != '\n')
    ++i;
  // Blanks before the ";" are not part of the value.
  while (i > at && (text[i - 1] == ' ' || text[i - 1] == '\t')) --i;
  return i;
}

bool IsQuote(char c) { return c == '\'' || c == '"'; }

class Redactor {
 public:
  explicit Redactor(std::string_view text) : m_text(text) { m_out.reserve(text.size()); }

  std::string Run() {
    size_t i = 0;
    while (i < m_text.size()) {
      if (!IsWordChar(m_text[i]) || (i > 0 && IsWordChar(m_text[i - 1]))) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < m_text.size() && IsWordChar(m_text[end])) ++end;
      const std::string_view word = m_text.substr(i, end - i);
      if (NamesSecret(word))
        i = AfterSecretName(end);
      else if (LowerWord(word) == "identified")
        i = AfterIdentified(end);
      else
        i = end;
    }
    m_out.append(m_text.substr(m_copied));
    return std::move(m_out);
  }

 private:
  // Replaces [from, to) with the mark.
  void Redact(size_t from, size_t to) {
    m_out.append(m_text.substr(m_copied, from - m_copied));
    m_out.append(kRedacted);
    m_copied = to;
  }
  // A literal's contents, keeping its quotes.
  size_t RedactLiteral(size_t at) {
    const size_t end = LiteralEnd(m_text, at);
    const size_t inner = end > at + 1 && end <= m_text.size() && m_text[end - 1] == m_text[at] ? end - 1 : end;
    Redact(at + 1, inner);
    return end;
  }

  // After "PWD", "Password"...: "= value" (a connect-string value or a
  // literal) or a literal straight after ("PASSWORD 'x'").
  size_t AfterSecretName(size_t end) {
    size_t at = SkipBlanks(m_text, end);
    if (at < m_text.size() && m_text[at] == '=') {
      at = SkipBlanks(m_text, at + 1);
      if (at < m_text.size() && IsQuote(m_text[at])) return RedactLiteral(at);
      // A national literal, N'...'.
      if (at + 1 < m_text.size() && (m_text[at] == 'N' || m_text[at] == 'n') && IsQuote(m_text[at + 1]))
        return RedactLiteral(at + 1);
      const size_t valueEnd = ValueEnd(m_text, at);
      if (valueEnd > at) Redact(at, valueEnd);
      return valueEnd;
    }
    // A quote right after the word closes a literal the word stands in.
    if (at > end && at < m_text.size() && IsQuote(m_text[at])) return RedactLiteral(at);
    return end;
  }

  // "IDENTIFIED BY secret", "IDENTIFIED BY 'secret'"; "IDENTIFIED BY
  // PASSWORD 'hash'" is the password word's own case.
  size_t AfterIdentified(size_t end) {
    size_t at = SkipBlanks(m_text, end);
    if (m_text.size() - at < 2 || LowerWord(m_text.substr(at, 2)) != "by" ||
        (at + 2 < m_text.size() && IsWordChar(m_text[at + 2])))
      return end;
    at = SkipBlanks(m_text, at + 2);
    if (at >= m_text.size()) return at;
    if (IsQuote(m_text[at])) return RedactLiteral(at);
    size_t wordEnd = at;
    while (wordEnd < m_text.size() && IsWordChar(m_text[wordEnd])) ++wordEnd;
    if (wordEnd == at || NamesSecret(m_text.substr(at, wordEnd - at))) return at;
    Redact(at, wordEnd);
    return wordEnd;
  }

  std::string_view m_text;
  std::string m_out;
  size_t m_copied = 0;
};

}  // namespace

std::string RedactSecrets(std::string_view text) { return Redactor(text).Run(); }

}  // namespace dossel::history
