#pragma once
// Small records and constants shared by the grid, its cells and its owner.
// Plain data: any thread may use them.

#include <cstdint>

#include "platform/log_font.h"
#include "platform/text.h"

namespace dossel {

// A cell address; (-1, -1) is no cell.
struct CellId {
  int32_t row = -1;
  int32_t col = -1;
  CellId() = default;
  CellId(int32_t nRow, int32_t nCol) : row(nRow), col(nCol) {}
  bool IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CellId& other) const { return row == other.row && col == other.col; }
  bool operator!=(const CellId& other) const { return !(*this == other); }
};

// An inclusive block of cells; all four -1 is the empty range.
struct CellRange {
  int32_t minRow = -1;
  int32_t minCol = -1;
  int32_t maxRow = -1;
  int32_t maxCol = -1;
  CellRange() = default;
  CellRange(int32_t nMinRow, int32_t nMinCol, int32_t nMaxRow, int32_t nMaxCol)
      : minRow(nMinRow), minCol(nMinCol), maxRow(nMaxRow), maxCol(nMaxCol) {}
  bool IsValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0; }
  bool InRange(int32_t row, int32_t col) const {
    return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
  }
  bool operator==(const CellRange& o) const {
    return minRow == o.minRow && minCol == o.minCol && maxRow == o.maxRow && maxCol == o.maxCol;
  }
};

// A colour as 0x00BBGGRR, the layout stored settings use.
using GridColour = uint32_t;
// "Take the colour from the cell's default cell."
inline constexpr GridColour kClrDefault = 0xFF000000u;
inline constexpr GridColour GridRgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

// The grid's fonts are the program's font records; a negative height is a
// character height in pixels, escapement is in tenths of a degree.
using GridLogFont = LOGFONT;

// Cell state bits.
enum GridCellState : uint32_t {
  GVIS_FOCUSED = 0x01,
  GVIS_SELECTED = 0x02,
  GVIS_DROPHILITED = 0x04,
  GVIS_READONLY = 0x08,
  GVIS_FIXED = 0x10,
  GVIS_FIXEDROW = 0x20,
  GVIS_FIXEDCOL = 0x40,
  GVIS_MODIFIED = 0x80,
};

// Text format bits, numbered as the classic DrawText flags so stored values
// keep their meaning.
enum GridTextFormat : uint32_t {
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_END_ELLIPSIS = 0x8000,
};
inline constexpr uint32_t kFormatDefault = 0xFFFFFFFFu;
inline constexpr uint32_t kMarginDefault = 0xFFFFFFFFu;
inline constexpr uint32_t kDefaultCellFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

// GridItem mask bits.
enum GridItemMask : uint32_t {
  GVIF_TEXT = 0x001,
  GVIF_IMAGE = 0x002,
  GVIF_PARAM = 0x004,
  GVIF_STATE = 0x008,
  GVIF_BKCLR = 0x010,
  GVIF_FGCLR = 0x020,
  GVIF_FORMAT = 0x040,
  GVIF_FONT = 0x080,
  GVIF_MARGIN = 0x100,
};

// Several attributes of one cell at once.
struct GridItem {
  int32_t row = 0;
  int32_t col = 0;
  uint32_t mask = 0;
  uint32_t nState = 0;
  uint32_t nFormat = 0;
  int32_t iImage = -1;
  GridColour crBkClr = kClrDefault;
  GridColour crFgClr = kClrDefault;
  uint32_t lParam = 0;
  GridLogFont lfFont;
  uint32_t nMargin = 0;
  TString strText;
};

// Notification codes sent to the owner window.
enum GridNotifyCode : int32_t {
  GVN_SELCHANGING = -100,
  GVN_SELCHANGED = -101,
  GVN_BEGINLABELEDIT = -105,
  GVN_ENDLABELEDIT = -106,
  GVN_ODCACHEHINT = -113,
  GVN_GETDISPINFO = -150,
  NM_CLICK = -2,
  NM_DBLCLK = -3,
  NM_RCLICK = -5,
};

// FindNextCell flags.
enum GridFindFlags : uint32_t {
  GVNI_FOCUSED = 0x01,
  GVNI_SELECTED = 0x02,
  GVNI_DROPHILITED = 0x04,
  GVNI_READONLY = 0x08,
  GVNI_FIXED = 0x10,
  GVNI_MODIFIED = 0x20,
  GVNI_ABOVE = 0x100,
  GVNI_BELOW = 0x200,
  GVNI_TOLEFT = 0x400,
  GVNI_TORIGHT = 0x800,
  GVNI_ALL = GVNI_BELOW | GVNI_TORIGHT | GVNI_TOLEFT,
};

// Grid line choices.
enum GridLines : int32_t { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };

// Auto-size style bits.
enum GridAutoSize : uint32_t { GVS_HEADER = 1, GVS_DATA = 2, GVS_BOTH = 3 };

}  // namespace dossel
