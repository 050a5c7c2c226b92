#pragma once
// CGridTitleTip ("DosselTitleTip"): the pop-up that shows the whole text of
// a grid cell whose text is cut off. It shows at once over the cell and
// hides when the mouse leaves the cell, on a key or button press and on the
// wheel (the press or wheel goes on to the grid), when the grid scrolls,
// when editing begins, and when the grid, its window or the program loses
// the focus. The grid owns one. UI thread only.

#include <wx/popupwin.h>

#include "grid/grid_cell_base.h"
#include "platform/text.h"

namespace dossel {

class CGridTitleTip : public wxPopupWindow {
 public:
  explicit CGridTitleTip(wxWindow* pGrid);
  ~CGridTitleTip() override;

  // titleRect and hoverRect in the grid's client coordinates. Shows the
  // text (in font, with the colours unless they are kClrDefault) only when
  // it is wider than titleRect; true when shown.
  bool ShowTip(const GridRect& titleRect, TStringView text, int xOffset, const GridRect& hoverRect, const wxFont& font,
               GridColour textClr, GridColour backClr);
  void HideTip();
  const wxString& GetTipText() const { return m_text; }
  // The grid rectangle outside which the tip hides.
  const GridRect& GetHoverRect() const { return m_hoverRect; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnMouseButton(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnActivate(wxActivateEvent& event);
  void OnGridKillFocus(wxFocusEvent& event);

  wxWindow* m_pGrid;
  wxWindow* m_pFrame = nullptr;  // the grid's top-level window
  wxString m_text;
  GridRect m_hoverRect;
  wxColour m_textColour, m_backColour;
};

}  // namespace dossel
