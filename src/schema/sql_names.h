#pragma once
// Names and values put into SQL text. A catalog can return any name at all
// (a table called "t; drop table u"), and the texts built from it may be run
// at once, so every name goes through QuoteName and every value inside a
// string literal through EscapeSqlLiteral. Plain identifiers are left as they
// are, so ordinary scripts read as the user would write them; a reserved word
// is not plain, since unquoted it would be read as the word.
//
// A driver may have no quote character: a name that needs quotes then goes
// in as it is, and the text may not mean what it says (on a driver whose
// scripts are split, "x; delete from t" is two statements). CNameQuoter
// remembers such a name, so that its text is shown and never run.
//
// Pure functions of their arguments; any thread may call them. A CNameQuoter
// belongs to the thread that writes one text.

#include <optional>

#include "platform/text.h"

namespace dossel::schema {

// The quote character a driver reports when it has none.
inline constexpr TChar kNoIdentifierQuote = TChar(' ');

// Letters, digits and "_", not starting with a digit, and not empty. Letters
// are the ASCII ones: which other characters a server takes unquoted differs
// from server to server, and a quoted name means the same everywhere.
bool IsPlainIdentifier(TStringView name);

// Whether `name` must be quoted to be read as a name: it is not empty (a
// folder scripts with an empty name) and is not a plain identifier, or is a
// reserved word.
bool NeedsQuotes(TStringView name);

// Whether `quoteChar`, as the driver reported it, is a quote character: not
// a space or NUL.
bool IsQuoteChar(TChar quoteChar);

// `name` between two `quoteChar`s, each `quoteChar` inside it doubled, when
// it needs quotes and the driver has a quote character; else `name` as it is.
TString QuoteName(TStringView name, TChar quoteChar);

// Quotes the names of one text with the driver's quote character, and keeps
// the first name that needed quotes and went in as it is for want of one.
class CNameQuoter {
 public:
  explicit CNameQuoter(TChar quoteChar) : m_quoteChar(quoteChar) {}
  TString Quote(TStringView name) const;
  // "owner.name", each part quoted; the name alone when `owner` is empty.
  TString QuoteQualified(TStringView owner, TStringView name) const;
  // The name the text holds unquoted though it needs quotes; none when the
  // text is what it says.
  const std::optional<TString>& Unquoted() const { return m_unquoted; }

 private:
  TChar m_quoteChar;
  mutable std::optional<TString> m_unquoted;
};

// `value` with every single quote doubled, for use between single quotes.
TString EscapeSqlLiteral(TStringView value);

// A column caption or catalog name cut before the first space, "(", ",", "["
// or "{": the bare name in a tree caption such as "code [varchar(10),Not Null]",
// the bare type in a type name such as "varchar(10)". Only for callers that
// have nothing but the caption: a catalog name may itself contain a space.
TString CutColumnName(TStringView caption);

}  // namespace dossel::schema
