#include "options/timeout_field.h"

#include <limits>

namespace dossel {

bool ParseTimeout(const wxString& text, int32_t& value) {
  wxString trimmed = text;
  trimmed.Trim(true).Trim(false);
  auto it = trimmed.begin();
  bool negative = false;
  if (it != trimmed.end() && (*it == '-' || *it == '+')) {
    negative = *it == '-';
    ++it;
  }
  if (it == trimmed.end()) return false;
  // One past the largest magnitude, so the check below stops before overflow.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; it != trimmed.end(); ++it) {
    if (*it < '0' || *it > '9') return false;
    magnitude = magnitude * 10 + (static_cast<int>((*it).GetValue()) - '0');
    if (magnitude > kLimit) return false;
  }
  if (!negative && magnitude == kLimit) return false;
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

}  // namespace dossel
