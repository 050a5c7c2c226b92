#pragma once
// The list completion shows at one place of the text: what the statement
// expects there (tables, a table's columns, keywords), taken from the
// catalog cache and the keyword list, matched against the typed word (by
// prefix, then by word parts) and written as it is to be inserted: a name
// that needs quotes quoted with the driver's quote character, a keyword in
// the case the user types in.
//
// UI thread (it reads the cache, which asks for what it lacks).

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "completion/catalog_cache.h"
#include "completion/name_matcher.h"
#include "completion/statement_context.h"
#include "platform/text.h"

namespace dossel::completion {

// Words completion offers or must quote, made ready once.
class CWordList {
 public:
  CWordList() = default;
  // `words` separated by blanks (the highlighter's form).
  explicit CWordList(TStringView words);
  struct Word {
    TString text;
    MatchKey key;
  };
  const std::vector<Word>& Words() const { return m_words; }
  bool Contains(TStringView word) const;

 private:
  std::vector<Word> m_words;
  std::unordered_set<TString> m_folded;
};

// How names are written into SQL: quoted when they are not plain
// identifiers (letters, digits and "_"), are reserved words, or are in a
// case the server would change unquoted; as they are when the driver has no
// quote character.
class CNameWriter {
 public:
  CNameWriter(const NameRules& rules, const CWordList& reserved) : m_rules(rules), m_reserved(reserved) {}
  bool NeedsQuotes(TStringView name) const;
  // `quote` overrides the driver's character (the user typed one).
  TString Write(TStringView name, TChar quote = TChar(0)) const;

 private:
  NameRules m_rules;
  const CWordList& m_reserved;
};

enum class ItemKind { Column, Table, View, Schema, Alias, Keyword };

struct CompletionItem {
  TString text;  // inserted as it is
  ItemKind kind;
  TString detail;  // a column's type, as the catalog spells it
};

// The most items of one group (the tables, a table's columns, the keywords,
// ...) a list shows: a toolkit list of many thousand rows takes a good part
// of a second to show, and nobody reads that far; the next key narrows the
// list to what was left out.
inline constexpr size_t kMaxGroupItems = 500;

struct CompletionList {
  std::vector<CompletionItem> items;
  // Something the place needs is still being read: the list is to be made
  // again when the cache changes.
  bool waiting = false;
  // A group matched more than kMaxGroupItems items; the first are shown,
  // those matching by prefix first.
  bool cut = false;
};

// `cache` is null when no connection is open. `keywords` are offered,
// `reserved` are quoted when they name a table or column.
CompletionList BuildCompletionList(TStringView text, const CompletionContext& context, CCatalogCache* cache,
                                   const CWordList& keywords, const CWordList& reserved);

}  // namespace dossel::completion
