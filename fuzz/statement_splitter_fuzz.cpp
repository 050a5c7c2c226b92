// The statement splitter over any script, in both dialects. Besides not
// faulting: the pieces are views into the script, in order and apart, none
// empty or with blanks at either end, and each piece split on its own is
// that one piece again (nothing outside a statement changes where it ends).
// Built in both text widths: the UTF-16 target reads the input as
// little-endian code units (any units, unpaired surrogates too).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "session/statement_splitter.h"

namespace {

using dossel::TChar;
using dossel::TString;
using dossel::TStringView;
using dossel::session::SplitStatements;
using dossel::session::SqlDialect;

bool IsBlank(TChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

void Check(TStringView script, SqlDialect dialect) {
  const std::vector<TStringView> pieces = SplitStatements(script, dialect);
  const TChar* done = script.data();
  for (const TStringView piece : pieces) {
    FUZZ_CHECK(!piece.empty());
    FUZZ_CHECK(piece.data() >= done && piece.data() + piece.size() <= script.data() + script.size());
    FUZZ_CHECK(!IsBlank(piece.front()) && !IsBlank(piece.back()));
    done = piece.data() + piece.size();

    const std::vector<TStringView> again = SplitStatements(piece, dialect);
    FUZZ_CHECK(again.size() == 1 && again[0].data() == piece.data() && again[0].size() == piece.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TString script;
  constexpr size_t kUnit = sizeof(TChar);
  for (size_t i = 0; i + kUnit <= size; i += kUnit) {
    uint32_t unit = 0;
    for (size_t b = 0; b < kUnit; ++b) unit |= static_cast<uint32_t>(data[i + b]) << (8 * b);
    script += static_cast<TChar>(unit);
  }
  Check(script, SqlDialect::kStandard);
  Check(script, SqlDialect::kMySql);
  return 0;
}
