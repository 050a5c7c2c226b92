#include "schema/reserved_words.h"

#include <sstream>
#include <string>
#include <unordered_set>

namespace dossel::schema {
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

const std::unordered_set<std::string>& ReservedWordSet() {
  static const std::unordered_set<std::string> words = [] {
    std::unordered_set<std::string> set;
    std::istringstream in{std::string(kReservedWords)};
    for (std::string word; in >> word;) set.insert(word);
    return set;
  }();
  return words;
}

}  // namespace

std::string_view StandardReservedWords() { return kReservedWords; }

bool IsReservedWord(TStringView word) {
  std::string folded;
  folded.reserve(word.size());
  for (TChar c : word) {
    // The words are ASCII: anything else is not one of them.
    if (c < TChar(0x21) || c > TChar(0x7E)) return false;
    folded += static_cast<char>(AsciiLower(c));
  }
  return ReservedWordSet().count(folded) != 0;
}

}  // namespace dossel::schema
