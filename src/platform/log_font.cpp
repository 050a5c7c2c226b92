#include "platform/log_font.h"

namespace dossel {

TString CutFaceName(TStringView name) {
  size_t characters = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto unit = static_cast<uint32_t>(name[i]);
    // Count only the first unit of each character (UTF-8 lead bytes, UTF-16
    // units that are not low surrogates).
    const bool continuation = kWideText ? (unit >= 0xDC00 && unit <= 0xDFFF) : ((unit & 0xC0) == 0x80);
    if (continuation) continue;
    if (characters == kMaxFaceName) return TString(name.substr(0, i));
    ++characters;
  }
  return TString(name);
}

}  // namespace dossel
