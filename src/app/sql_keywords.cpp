#include "app/sql_keywords.h"

#include <set>
#include <sstream>
#include <vector>

#include "settings/catalogs.h"

namespace dossel {

namespace {

// The reserved words of the SQL standard (the language's own words, its
// data types, and the functions and predicates it names as reserved).
constexpr std::string_view kReservedWords =
    "abs all allocate alter and any are array as asensitive asymmetric at atomic authorization avg "
    "begin between bigint binary blob boolean both by "
    "call called cardinality cascaded case cast ceil ceiling char char_length character character_length check "
    "clob close coalesce collate collect column commit condition connect constraint contains convert corr "
    "corresponding count covar_pop covar_samp create cross cube cume_dist current current_catalog current_date "
    "current_path current_role current_row current_schema current_time current_timestamp current_user cursor cycle "
    "date day deallocate dec decimal declare default delete dense_rank deref describe deterministic disconnect "
    "distinct double drop dynamic "
    "each element else end escape every except exec execute exists exp external extract "
    "false fetch filter first_value float floor for foreign frame_row free from full function fusion "
    "get global grant group grouping groups having hold hour "
    "identity in indicator inner inout insensitive insert int integer intersect intersection interval into is "
    "join lag language large last_value lateral lead leading left like like_regex ln local localtime "
    "localtimestamp lower "
    "match max member merge method min minute mod modifies module month multiset "
    "national natural nchar nclob new no none normalize not nth_value ntile null nullif numeric "
    "octet_length of offset old on only open or order out outer over overlaps overlay "
    "parameter partition percent percent_rank percentile_cont percentile_disc period position power precision "
    "prepare primary procedure "
    "range rank reads real recursive ref references referencing regr_avgx regr_avgy regr_count regr_intercept "
    "regr_r2 regr_slope regr_sxx regr_sxy regr_syy release result return returns revoke right rollback rollup row "
    "row_number rows "
    "savepoint scope scroll search second select sensitive session_user set similar smallint some specific "
    "specifictype sql sqlexception sqlstate sqlwarning sqrt start static stddev_pop stddev_samp submultiset "
    "substring sum symmetric system system_time system_user "
    "table tablesample then time timestamp timezone_hour timezone_minute to trailing translate translation treat "
    "trigger trim true "
    "uescape union unique unknown unnest update upper user using "
    "value values var_pop var_samp varbinary varchar varying versioning "
    "when whenever where width_bucket window with within without year";

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

std::string_view StandardReservedWords() { return kReservedWords; }

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
  AddWords(kReservedWords, words);
  AddCatalogWords(words);
  std::string list;
  for (const std::string& word : words) {
    if (!list.empty()) list += ' ';
    list += word;
  }
  return list;
}

}  // namespace dossel
