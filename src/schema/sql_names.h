#pragma once
// Names and values put into SQL text. A catalog can return any name at all
// (a table called "t; drop table u"), and the texts built from it may be run
// at once, so every name goes through QuoteName and every value inside a
// string literal through EscapeSqlLiteral. Plain identifiers are left as they
// are, so ordinary scripts read as the user would write them.
//
// Pure functions of their arguments; any thread may call them.

#include "platform/text.h"

namespace dossel::schema {

// The quote character a driver reports when it has none.
inline constexpr TChar kNoIdentifierQuote = TChar(' ');

// Letters, digits and "_", not starting with a digit, and not empty. Letters
// are the ASCII ones: which other characters a server takes unquoted differs
// from server to server, and a quoted name means the same everywhere.
bool IsPlainIdentifier(TStringView name);

// `name` between two `quoteChar`s, each `quoteChar` inside it doubled, unless
// it is a plain identifier, it is empty (a folder scripts with an empty
// name), or the driver has no quote character (space or NUL): then `name`
// as it is.
TString QuoteName(TStringView name, TChar quoteChar);

// `value` with every single quote doubled, for use between single quotes.
TString EscapeSqlLiteral(TStringView value);

// A column caption or catalog name cut before the first space, "(", ",", "["
// or "{": the bare name in a tree caption such as "code [varchar(10),Not Null]",
// the bare type in a type name such as "varchar(10)". Only for callers that
// have nothing but the caption: a catalog name may itself contain a space.
TString CutColumnName(TStringView caption);

}  // namespace dossel::schema
