#include "completion/name_matcher.h"

#include <algorithm>

namespace dossel::completion {
namespace {

// The code points of `text`, whatever its width.
std::u32string CodePoints(TStringView text) {
  // Most names are plain ASCII: their characters are their code points.
  if (std::all_of(text.begin(), text.end(), [](TChar c) { return static_cast<char32_t>(c) < 0x80; }))
    return std::u32string(text.begin(), text.end());
  std::u16string utf16;
  if constexpr (kWideText) {
    utf16.assign(text.begin(), text.end());
  } else {
    utf16 = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  }
  std::u32string points;
  points.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    points += c;
  }
  return points;
}

bool IsSeparator(char32_t c) { return c == U'_' || c == U'$'; }
bool IsUpper(char32_t c) { return FoldCase(c) != c; }

// Whether a new part begins at points[i] that is not a separator.
bool BeginsPart(const std::u32string& points, size_t i) {
  if (i == 0 || IsSeparator(points[i - 1])) return true;
  return IsUpper(points[i]) && !IsUpper(points[i - 1]);
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return ((c % 2 == 1) == oddUpper) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

MatchKey MakeMatchKey(TStringView name) {
  MatchKey key;
  key.folded = CodePoints(name);
  // Parts are found on the text as it is, before it is folded in place.
  const std::u32string& points = key.folded;
  for (size_t i = 0; i < points.size(); ++i)
    if (!IsSeparator(points[i]) && BeginsPart(points, i)) key.parts.push_back(static_cast<uint32_t>(i));
  for (char32_t& c : key.folded) c = FoldCase(c);
  return key;
}

CTypedWord::CTypedWord(TStringView typed) {
  const std::u32string points = CodePoints(typed);
  m_parts.emplace_back();
  for (size_t i = 0; i < points.size(); ++i) {
    const char32_t c = points[i];
    m_folded += FoldCase(c);
    if (IsSeparator(c)) {
      // "ord_" asks for a part after the one "ord" begins.
      if (!m_parts.back().empty()) m_parts.emplace_back();
      continue;
    }
    if (!m_parts.back().empty() && BeginsPart(points, i)) m_parts.emplace_back();
    m_parts.back() += FoldCase(c);
  }
}

MatchKind CTypedWord::Match(const MatchKey& key) const {
  if (key.folded.compare(0, m_folded.size(), m_folded) == 0) return MatchKind::Prefix;
  if (m_parts.empty()) return MatchKind::None;
  size_t next = 0;  // the first name part the next typed part may begin
  for (const std::u32string& part : m_parts) {
    bool found = false;
    for (; next < key.parts.size(); ++next) {
      if (key.folded.compare(key.parts[next], part.size(), part) == 0) {
        found = true;
        ++next;
        break;
      }
    }
    if (!found) return MatchKind::None;
  }
  return MatchKind::WordParts;
}

}  // namespace dossel::completion
