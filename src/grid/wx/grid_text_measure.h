#pragma once
// GridTextMeasure: measures single-line cell texts without asking the window
// system for every text. Per font it keeps what one character measures
// (advance, ascent, descent) and what each adjacent pair of characters
// measures beyond its two advances (kerning, ligatures), each taken once
// from wxDC::GetTextExtent. A text's width is then the sum of its advances
// and pair corrections (plus, next to a correction, what three characters
// measure beyond them, for ligatures such as ffi) and its height
// the line height of its font, which is how the layout engine sets a line
// of simple scripts.
// Texts the model cannot promise to get right (line breaks, tabs, empty
// texts, characters of scripts that are shaped in context, combining marks,
// invalid encodings, characters drawn from different fonts in one text) are
// refused; the caller measures those exactly.
//
// Owned by one grid; UI thread only. It keeps no pointer to a context.

#include <memory>
#include <vector>

#include "grid/grid_cell_base.h"
#include "grid/grid_types.h"

class wxDC;
class wxFont;

namespace dossel {

class GridFontMetrics;

class GridTextMeasure {
 public:
  GridTextMeasure();
  ~GridTextMeasure();
  GridTextMeasure(const GridTextMeasure&) = delete;
  GridTextMeasure& operator=(const GridTextMeasure&) = delete;

  // The size dc.GetTextExtent gives the text in the font; false when the
  // text must be measured exactly. The context's font is left as it was.
  bool TextSize(wxDC& dc, const GridLogFont& lf, TStringView text, GridSize* size);
  // The size CGridCtrl::GetCellExtent gives the cell, drawn in font (the
  // window's object for its LOGFONT); false when the cell must be measured
  // exactly (another cell class, empty text, turned font, or a text
  // TextSize refuses).
  bool CellExtent(wxDC& dc, const CGridCellBase& cell, const wxFont* font, GridSize* size);
  // Forgets every font (after the system's font settings change).
  void Clear();

 private:
  GridFontMetrics* Metrics(const GridLogFont& lf);

  std::vector<std::unique_ptr<GridFontMetrics>> m_fonts;
  GridFontMetrics* m_pLast = nullptr;
};

}  // namespace dossel
