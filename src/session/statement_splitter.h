#pragma once
// Splitting a script into its statements, for drivers that run one
// statement per call. A ";" ends a statement unless it stands inside a
// quoted string or identifier, a comment, or the body of a trigger
// (CREATE TRIGGER ... BEGIN ... END). Pieces that hold nothing but blanks
// and comments are dropped. One pass over the text: a script of several
// megabytes splits in time proportional to its length.
//
// Pure functions; any thread.

#include <vector>

#include "platform/text.h"

namespace dossel::session {

enum class SqlDialect {
  kStandard,  // quotes end only at the closing quote ('' and "" stand for one)
  kMySql,     // besides, a backslash inside quotes escapes the next character
};

// The statements of `script`, in order, as views into it: each without the
// ";" that ends it and without the blanks and line ends around it.
std::vector<TStringView> SplitStatements(TStringView script, SqlDialect dialect);

// Where a quoted string or name ends whose text starts at `pos` (just after
// the opening quote): just after the `close` quote, a doubled one standing
// for itself; with `backslash`, a backslash escapes the next character. A
// quote that never closes runs to the end of `text`, and `closed` says which.
struct QuotedEnd {
  size_t end = 0;
  bool closed = false;
};
QuotedEnd FindQuotedEnd(TStringView text, size_t pos, TChar close, bool backslash);

}  // namespace dossel::session
