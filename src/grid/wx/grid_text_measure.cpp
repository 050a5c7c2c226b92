#include "grid/wx/grid_text_measure.h"

#include <wx/dc.h>
#include <wx/font.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <typeinfo>
#include <unordered_map>

#include "grid/grid_cell.h"
#include "grid/wx/grid_display.h"

namespace dossel {

namespace {

// How a character takes part in the sum model.
enum class CharKind : uint8_t {
  kRefused,  // measured exactly: shaped in context, combining, control, unknown
  kPaired,   // alphabetic scripts: every adjacent pair is measured once, as kerning and ligatures change it
  kUniform,  // ideographs, kana, hangul: set at their own advance; a column's widest text is still verified
};

struct CodeRange {
  uint32_t first;
  uint32_t last;
  CharKind kind;
};

// Scripts the layout engine sets glyph after glyph. Combining marks, soft
// hyphen, format and bidi controls, line and paragraph separators and the
// scripts shaped in context (Arabic, Hebrew, Indic, Thai, ...) stay out.
constexpr CodeRange kSimpleRanges[] = {
    {0x0020, 0x007E, CharKind::kPaired},  {0x00A0, 0x00AC, CharKind::kPaired},  {0x00AE, 0x02FF, CharKind::kPaired},
    {0x0370, 0x0377, CharKind::kPaired},  {0x037A, 0x037F, CharKind::kPaired},  {0x0384, 0x03FF, CharKind::kPaired},
    {0x0400, 0x0482, CharKind::kPaired},  {0x048A, 0x052F, CharKind::kPaired},  {0x1E00, 0x1FFF, CharKind::kPaired},
    {0x2010, 0x2027, CharKind::kPaired},  {0x2030, 0x205E, CharKind::kPaired},  {0x20A0, 0x20C0, CharKind::kPaired},
    {0x2100, 0x23FF, CharKind::kPaired},  {0x2460, 0x25FF, CharKind::kPaired},  {0x3000, 0x3029, CharKind::kUniform},
    {0x3030, 0x303F, CharKind::kUniform}, {0x3041, 0x3096, CharKind::kUniform}, {0x309B, 0x30FF, CharKind::kUniform},
    {0x3400, 0x4DBF, CharKind::kUniform}, {0x4E00, 0x9FFF, CharKind::kUniform}, {0xAC00, 0xD7A3, CharKind::kUniform},
    {0xFF01, 0xFF60, CharKind::kUniform}, {0xFFE0, 0xFFE6, CharKind::kUniform},
};

CharKind KindOf(uint32_t cp) {
  for (const CodeRange& r : kSimpleRanges)
    if (cp >= r.first && cp <= r.last) return r.kind;
  return CharKind::kRefused;
}

// The next character of the text; false for characters outside the basic
// plane and for invalid encodings (both measured exactly).
bool NextChar(TStringView text, size_t& i, uint32_t* cp) {
#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
  const uint32_t c = text[i++];
  *cp = c;
  return c < 0xD800 || c > 0xDFFF;
#else
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint32_t b0 = byte(i);
  if (b0 < 0x80) {
    *cp = b0;
    ++i;
    return true;
  }
  const size_t need = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : 0;
  if (need == 0 || i + need >= text.size()) return false;
  uint32_t c = b0 & (need == 1 ? 0x1F : 0x0F);
  for (size_t k = 1; k <= need; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return false;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  i += need + 1;
  *cp = c;
  const bool overlong = need == 1 ? c < 0x80 : c < 0x800;
  return !overlong && (c < 0xD800 || c > 0xDFFF);
#endif
}

}  // namespace

// What one font measures, learnt character by character and pair by pair.
class GridFontMetrics {
 public:
  explicit GridFontMetrics(const GridLogFont& lf) : m_lf(lf), m_font(ToWxFont(lf)) {}
  const GridLogFont& LogFont() const { return m_lf; }
  bool Usable() const { return m_font.IsOk(); }
  bool Measure(wxDC& dc, TStringView text, GridSize* size);

 private:
  struct Glyph {
    int16_t advance = 0;
    int16_t ascent = 0;
    int16_t descent = 0;
    CharKind kind = CharKind::kRefused;
    bool known = false;
  };
  using Page = std::array<Glyph, 256>;
  static constexpr int16_t kPairUnknown = std::numeric_limits<int16_t>::min();

  const Glyph& GlyphOf(wxDC& dc, uint32_t cp);
  int32_t PairCorrection(wxDC& dc, uint32_t a, const Glyph& ga, uint32_t b, const Glyph& gb);
  int32_t LearnPair(wxDC& dc, uint32_t a, const Glyph& ga, uint32_t b, const Glyph& gb);
  int32_t TripleCorrection(wxDC& dc, const uint32_t (&cps)[3], int32_t sumSoFar);
  wxSize Exact(wxDC& dc, const wxString& text, wxCoord* descent) const;

  GridLogFont m_lf;
  wxFont m_font;
  std::array<std::unique_ptr<Page>, 256> m_pages;
  std::vector<int16_t> m_latinPairs;  // both characters below U+0100
  std::unordered_map<uint32_t, int16_t> m_otherPairs;
  std::unordered_map<uint64_t, int16_t> m_triples;
};

wxSize GridFontMetrics::Exact(wxDC& dc, const wxString& text, wxCoord* descent) const {
  const wxFont old = dc.GetFont();
  dc.SetFont(m_font);
  wxCoord w = 0, h = 0, d = 0;
  dc.GetTextExtent(text, &w, &h, &d);
  if (old.IsOk()) dc.SetFont(old);
  if (descent) *descent = d;
  return wxSize(w, h);
}

const GridFontMetrics::Glyph& GridFontMetrics::GlyphOf(wxDC& dc, uint32_t cp) {
  std::unique_ptr<Page>& page = m_pages[cp >> 8];
  if (!page) page = std::make_unique<Page>();
  Glyph& g = (*page)[cp & 0xFF];
  if (g.known) return g;
  g.known = true;
  g.kind = KindOf(cp);
  if (g.kind == CharKind::kRefused) return g;
  wxCoord descent = 0;
  const wxSize ext = Exact(dc, wxString(static_cast<wxUniChar>(cp)), &descent);
  const int32_t limit = std::numeric_limits<int16_t>::max();
  if (ext.GetWidth() <= 0 || ext.GetHeight() <= 0 || ext.GetWidth() > limit || ext.GetHeight() > limit || descent < 0 ||
      descent > ext.GetHeight()) {
    g.kind = CharKind::kRefused;
    return g;
  }
  g.advance = static_cast<int16_t>(ext.GetWidth());
  g.descent = static_cast<int16_t>(descent);
  g.ascent = static_cast<int16_t>(ext.GetHeight() - descent);
  return g;
}

int32_t GridFontMetrics::LearnPair(wxDC& dc, uint32_t a, const Glyph& ga, uint32_t b, const Glyph& gb) {
  wxString pair(static_cast<wxUniChar>(a));
  pair += static_cast<wxUniChar>(b);
  return Exact(dc, pair, nullptr).GetWidth() - ga.advance - gb.advance;
}

int32_t GridFontMetrics::PairCorrection(wxDC& dc, uint32_t a, const Glyph& ga, uint32_t b, const Glyph& gb) {
  if (ga.kind == CharKind::kUniform && gb.kind == CharKind::kUniform) return 0;
  if (a < 0x100 && b < 0x100) {
    if (m_latinPairs.empty()) m_latinPairs.assign(0x10000, kPairUnknown);
    int16_t& slot = m_latinPairs[(a << 8) | b];
    if (slot != kPairUnknown) return slot;
    const int32_t correction = LearnPair(dc, a, ga, b, gb);
    if (correction > kPairUnknown && correction <= std::numeric_limits<int16_t>::max()) {
      slot = static_cast<int16_t>(correction);
      return correction;
    }
    // Out of range: kept in the map, where the slot stays unknown.
  }
  const uint32_t key = (a << 16) | b;
  const auto found = m_otherPairs.find(key);
  if (found != m_otherPairs.end()) return found->second;
  const int32_t correction =
      std::clamp<int32_t>(LearnPair(dc, a, ga, b, gb), kPairUnknown + 1, std::numeric_limits<int16_t>::max());
  m_otherPairs.emplace(key, static_cast<int16_t>(correction));
  return correction;
}

// Three characters of which a pair changes the width (f, f, l) may form one
// ligature: what the three measure beyond their advances and pair
// corrections is learnt once. sumSoFar is that sum for the three.
int32_t GridFontMetrics::TripleCorrection(wxDC& dc, const uint32_t (&cps)[3], int32_t sumSoFar) {
  const uint64_t key = (uint64_t{cps[0]} << 32) | (uint64_t{cps[1]} << 16) | cps[2];
  const auto found = m_triples.find(key);
  if (found != m_triples.end()) return found->second;
  wxString triple;
  for (uint32_t cp : cps) triple += static_cast<wxUniChar>(cp);
  const int32_t correction =
      std::clamp<int32_t>(Exact(dc, triple, nullptr).GetWidth() - sumSoFar, std::numeric_limits<int16_t>::min(),
                          std::numeric_limits<int16_t>::max());
  m_triples.emplace(key, static_cast<int16_t>(correction));
  return correction;
}

bool GridFontMetrics::Measure(wxDC& dc, TStringView text, GridSize* size) {
  int32_t width = 0;
  uint32_t cps[3] = {0, 0, 0};  // the last three characters
  const Glyph* glyphs[3] = {nullptr, nullptr, nullptr};
  int32_t lastPair = 0;
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    if (!NextChar(text, i, &cp)) return false;
    const Glyph& g = GlyphOf(dc, cp);
    if (g.kind == CharKind::kRefused) return false;
    // Characters from another font (a fallback for ideographs, say) set the
    // line at other heights and fractional positions: measured exactly.
    if (glyphs[2] && (g.ascent != glyphs[2]->ascent || g.descent != glyphs[2]->descent)) return false;
    cps[0] = cps[1], cps[1] = cps[2], cps[2] = cp;
    glyphs[0] = glyphs[1], glyphs[1] = glyphs[2], glyphs[2] = &g;
    width += g.advance;
    if (!glyphs[1]) continue;
    const int32_t pair = PairCorrection(dc, cps[1], *glyphs[1], cp, g);
    width += pair;
    if ((pair != 0 || lastPair != 0) && glyphs[0])
      width += TripleCorrection(dc, cps, glyphs[0]->advance + glyphs[1]->advance + g.advance + lastPair + pair);
    lastPair = pair;
  }
  if (!glyphs[2]) return false;
  *size = GridSize{width, glyphs[2]->ascent + glyphs[2]->descent};
  return true;
}

// ---- GridTextMeasure ----

GridTextMeasure::GridTextMeasure() = default;

GridTextMeasure::~GridTextMeasure() = default;

void GridTextMeasure::Clear() {
  m_fonts.clear();
  m_pLast = nullptr;
}

GridFontMetrics* GridTextMeasure::Metrics(const GridLogFont& lf) {
  if (m_pLast && m_pLast->LogFont() == lf) return m_pLast;
  for (const auto& metrics : m_fonts)
    if (metrics->LogFont() == lf) return m_pLast = metrics.get();
  m_fonts.push_back(std::make_unique<GridFontMetrics>(lf));
  return m_pLast = m_fonts.back().get();
}

bool GridTextMeasure::TextSize(wxDC& dc, const GridLogFont& lf, TStringView text, GridSize* size) {
  if (text.empty()) return false;
  GridFontMetrics* metrics = Metrics(lf);
  return metrics->Usable() && metrics->Measure(dc, text, size);
}

bool GridTextMeasure::CellExtent(wxDC& dc, const CGridCellBase& cell, const wxFont* font, GridSize* size) {
  // Other cell classes may measure differently.
  if (typeid(cell) != typeid(CGridCell)) return false;
  const TStringView text = cell.GetText();
  if (text.empty()) return false;
  const GridLogFont* lf = cell.GetFont();
  if (!lf || lf->lfEscapement == 900 || lf->lfEscapement == -900) return false;
  if (cell.IsDefaultFont()) {
    // Without its font object the cell is measured in the context's font.
    if (!font || !font->IsOk()) return false;
  }
  GridSize textSize;
  if (!TextSize(dc, *lf, text, &textSize)) return false;
  const int32_t margin = static_cast<int32_t>(cell.GetMargin());
  const int32_t edge = cell.IsFixed() ? 2 : 1;
  *size = GridSize{textSize.cx + 2 * margin + edge, textSize.cy + 2 * margin + edge};
  return true;
}

}  // namespace dossel
