#pragma once
// The tokens of SQL text as completion reads it: words, quoted names,
// strings, numbers, comments and the punctuation that shapes a statement.
// Positions are indexes into the text (its own units: bytes of UTF-8 in the
// narrow build, UTF-16 units in the wide one). Blanks make no token.
//
// Pure functions; any thread.

#include <vector>

#include "platform/text.h"

namespace dossel::completion {

enum class TokenKind {
  Word,        // a name or keyword: letters of any script, digits, "_" and "$"
  QuotedName,  // "name", `name` or [name]
  String,      // 'text'
  Number,
  LineComment,   // -- to the end of the line (the line end not included)
  BlockComment,  // /* ... */
  Dot,
  Comma,
  Semicolon,
  Open,   // (
  Close,  // )
  Star,   // *
  Other,  // an operator or any other character
};

struct Token {
  TokenKind kind;
  size_t begin;
  size_t end;
  // False for a quote or block comment the text ends inside.
  bool closed = true;
};

// `backslashEscapes`: a backslash inside quotes escapes the next character
// (the MySQL family's strings).
std::vector<Token> Tokenize(TStringView text, bool backslashEscapes = false);

// Whether `c` may stand in a word: ASCII letters, digits, "_", "$" and
// every character beyond ASCII.
bool IsWordCharacter(TChar c);

// The name a word or quoted-name token stands for: a quoted one without its
// quotes, doubled quotes made single.
TString NameOf(TStringView text, const Token& token);

}  // namespace dossel::completion
