#include "schema/sql_names.h"

#include <iterator>

#include "schema/reserved_words.h"

namespace dossel::schema {
namespace {

bool IsAsciiLetter(TChar c) { return (c >= TChar('a') && c <= TChar('z')) || (c >= TChar('A') && c <= TChar('Z')); }
bool IsAsciiDigit(TChar c) { return c >= TChar('0') && c <= TChar('9'); }

}  // namespace

bool IsPlainIdentifier(TStringView name) {
  if (name.empty() || IsAsciiDigit(name.front())) return false;
  for (TChar c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != TChar('_')) return false;
  }
  return true;
}

bool NeedsQuotes(TStringView name) { return !name.empty() && (!IsPlainIdentifier(name) || IsReservedWord(name)); }

bool IsQuoteChar(TChar quoteChar) { return quoteChar != kNoIdentifierQuote && quoteChar != TChar(0); }

TString QuoteName(TStringView name, TChar quoteChar) {
  if (!NeedsQuotes(name) || !IsQuoteChar(quoteChar)) return TString(name);
  TString quoted(1, quoteChar);
  for (TChar c : name) {
    quoted += c;
    if (c == quoteChar) quoted += c;
  }
  quoted += quoteChar;
  return quoted;
}

TString CNameQuoter::Quote(TStringView name) const {
  if (!m_unquoted && NeedsQuotes(name) && !IsQuoteChar(m_quoteChar)) m_unquoted = TString(name);
  return QuoteName(name, m_quoteChar);
}

TString CNameQuoter::QuoteQualified(TStringView owner, TStringView name) const {
  if (owner.empty()) return Quote(name);
  return Quote(owner) + TChar('.') + Quote(name);
}

TString EscapeSqlLiteral(TStringView value) {
  TString escaped;
  escaped.reserve(value.size());
  for (TChar c : value) {
    escaped += c;
    if (c == TChar('\'')) escaped += c;
  }
  return escaped;
}

TString CutColumnName(TStringView caption) {
  static constexpr TChar kNameEnds[] = {TChar(' '), TChar('('), TChar(','), TChar('['), TChar('{')};
  const size_t end = caption.find_first_of(TStringView(kNameEnds, std::size(kNameEnds)));
  return TString(caption.substr(0, end));
}

}  // namespace dossel::schema
