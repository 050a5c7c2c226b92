#include "app/sql_keywords.h"

#include <set>
#include <sstream>
#include <vector>

#include "schema/reserved_words.h"
#include "settings/catalogs.h"

namespace dossel {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsWordCharacter(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void AddWords(std::string_view text, std::set<std::string>& words) {
  std::istringstream in{std::string(text)};
  for (std::string word; in >> word;) words.insert(word);
}

void AddCatalogWords(std::set<std::string>& words) {
  std::vector<TString> menus;
  ListMenus(kScriptCatalog, menus);
  for (const TString& menu : menus) {
    std::vector<TString> names;
    ListEntries(menu, kScriptCatalog, names);
    // A menu without entries is an entry itself (its text is under the menu key).
    if (names.empty()) names.emplace_back();
    for (const TString& name : names) {
      CatalogItem item;
      ReadItem(menu, name, kScriptCatalog, item);
      AddWords(KeywordsOfText(ToUtf8(item.text)), words);
    }
  }
}

}  // namespace

std::string KeywordsOfText(std::string_view text) {
  std::string words;
  size_t at = 0;
  while (at < text.size()) {
    if (!IsWordCharacter(text[at])) {
      ++at;
      continue;
    }
    const size_t start = at;
    while (at < text.size() && IsWordCharacter(text[at])) ++at;
    // A word must start with a letter; one joined to letters beyond ASCII is
    // part of a longer word to the lexer, never a keyword.
    if (!IsAsciiLetter(text[start]) || (start > 0 && static_cast<unsigned char>(text[start - 1]) >= 0x80)) continue;
    if (at < text.size() && static_cast<unsigned char>(text[at]) >= 0x80) continue;
    for (size_t i = start; i < at; ++i) words += Lower(text[i]);
    words += ' ';
  }
  return words;
}

std::string SqlKeywordList() {
  std::set<std::string> words;
  AddWords(schema::StandardReservedWords(), words);
  AddCatalogWords(words);
  std::string list;
  for (const std::string& word : words) {
    if (!list.empty()) list += ' ';
    list += word;
  }
  return list;
}

}  // namespace dossel
