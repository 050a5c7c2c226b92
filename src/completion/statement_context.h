#pragma once
// What completion needs to know about the place of the caret in SQL text:
// the statement around it, whether it stands in a string or comment, the
// word being typed and the names before a dot, what the statement expects
// there (a table, a column, a keyword), and the tables and aliases the
// statement names (in FROM, JOIN, INTO, UPDATE; subqueries and WITH names
// included) that the caret can see.
//
// The text may hold several statements (";" ends one outside quotes and
// comments) and may end anywhere, in the middle of a statement or a quote.
// Positions are indexes into the text, in its own units.
//
// Pure functions; any thread.

#include <cstddef>
#include <vector>

#include "platform/text.h"

namespace dossel::completion {

enum class Place {
  None,      // in a string, a comment or a number: no list
  Keywords,  // keywords only (a statement's start, after a table's alias...)
  Tables,    // a table or view is named here (after FROM, JOIN, INTO, UPDATE, TABLE)
  Columns,   // a select list, a condition, SET, ORDER BY...: columns, then keywords
  Member,    // after "name.": what that name holds
};

// A table the statement names, or a subquery or WITH name standing for one.
struct TableRef {
  // As written, unquoted: [catalog.][schema.]table. Empty for a subquery.
  std::vector<TString> name;
  TString alias;
  // The parenthesis group it is named in; 0 is the statement itself.
  int scope = 0;
  // The subquery or WITH entry behind it (an index into the context's
  // derived tables), or -1 for a table of the catalog.
  int derived = -1;
};

// The columns of a subquery or a WITH entry, as its select list names them.
struct DerivedTable {
  std::vector<TString> columns;
  // Its select list has a "*": the columns of its own tables count too.
  bool star = false;
  // The group of its select, whose tables are its own; -1 when not known.
  int scope = -1;
};

struct CompletionContext {
  Place place = Place::None;
  // What a chosen name replaces: from the start of the typed word (its
  // opening quote included) to the caret.
  size_t wordStart = 0;
  size_t wordEnd = 0;
  // The typed part of the word, without its opening quote.
  TString prefix;
  bool quotedPrefix = false;
  // For Member: the names before the dot, outermost first ("s.t." gives s, t).
  std::vector<TString> qualifier;
  // For Member: a table is named here ("from public.").
  bool tableExpected = false;
  // Every table the statement names, in the order of the text.
  std::vector<TableRef> refs;
  // Those the caret sees (its own group's and the enclosing ones'), as
  // indexes into refs, innermost group first.
  std::vector<size_t> visible;
  std::vector<DerivedTable> derived;
};

// `backslashEscapes` as for Tokenize (the MySQL family).
CompletionContext AnalyzeCompletion(TStringView text, size_t caret, bool backslashEscapes = false);

// The refs of group `scope` (the tables of a subquery), as indexes into refs.
std::vector<size_t> RefsOfScope(const CompletionContext& context, int scope);

}  // namespace dossel::completion
