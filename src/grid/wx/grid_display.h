#pragma once
// The grid's bridge to the window system: fonts from stored font records,
// colours, system colours and metrics. UI thread only; every function
// answers with fixed fallbacks when no display is open (storage used
// without a window, as the unit tests do).

#include "grid/grid_cell_base.h"
#include "grid/grid_types.h"

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

class wxDC;

namespace dossel {

// System colour indices, numbered as the classic window-system ones.
enum GridSysColour : int {
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
};

// True when a display is open and the caller may use it.
bool GridHasDisplay();

GridColour GetGridSysColour(int nIndex);
inline wxColour ToWxColour(GridColour clr) { return wxColour(clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF); }
inline GridColour FromWxColour(const wxColour& c) { return GridRgb(c.Red(), c.Green(), c.Blue()); }

// The record's font (platform/wx/log_font_wx.h); a record of height 0 gives
// the system's font.
wxFont ToWxFont(const GridLogFont& lf);
GridLogFont FromWxFont(const wxFont& font);
// The system's message font as a record; a plain 9-point sans without display.
GridLogFont GetMessageLogFont();

// From inclusive-exclusive rectangle to wx and back.
inline wxRect ToWxRect(const GridRect& r) { return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// The part of a cell's inclusive rectangle that its text is drawn in: inside
// the margin, as an inclusive-exclusive rectangle. A text no wider than it
// shows whole.
inline GridRect GridTextArea(GridRect cellRect, uint32_t nMargin) {
  const auto margin = static_cast<int32_t>(nMargin);
  return GridRect{cellRect.left + margin, cellRect.top + margin, cellRect.right - margin + 1,
                  cellRect.bottom - margin + 1};
}

// The text as a single-line cell shows it: line feeds as blanks, carriage
// returns left out.
wxString GridSingleLineText(TStringView text);

// Draws text into rect with the format bits (alignment, single line, end
// ellipsis); with DT_CALCRECT it only measures, widening nothing and
// setting rect's bottom (and right) to the text's extent.
void GridDrawText(wxDC& dc, TStringView text, GridRect* rect, uint32_t nFormat);

}  // namespace dossel
