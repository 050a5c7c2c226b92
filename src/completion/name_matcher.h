#pragma once
// Matching a typed word against names: case-insensitive by prefix, then by
// word parts, where each part of the typed word ("ord_li": "ord", "li")
// begins a part of the name ("order_lines": "order", "lines") in order.
// Parts are split at "_" and "$" and where a lower-case letter or digit
// meets an upper-case one ("orderLines"). Case is folded for ASCII and for
// the Latin, Greek and Cyrillic letters, the same in both text widths.
//
// Pure functions; any thread. Keys are made once per name (the catalog
// cache keeps them), so that a list of many thousand names is filtered
// again on every key press.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace dossel::completion {

struct MatchKey {
  std::u32string folded;
  // Where each word part begins in `folded`.
  std::vector<uint32_t> parts;
};

MatchKey MakeMatchKey(TStringView name);

enum class MatchKind { None, Prefix, WordParts };

// A typed word made ready for matching against many keys.
class CTypedWord {
 public:
  explicit CTypedWord(TStringView typed);
  bool IsEmpty() const { return m_folded.empty(); }
  MatchKind Match(const MatchKey& key) const;

 private:
  std::u32string m_folded;
  std::vector<std::u32string> m_parts;
};

// `c` in lower case, for the letters named above; others as they are.
char32_t FoldCase(char32_t c);

}  // namespace dossel::completion
