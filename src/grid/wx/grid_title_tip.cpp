// The grid's title tip.

#include "grid/wx/grid_title_tip.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

#include "grid/wx/grid_display.h"
#include "platform/wx/wx_text.h"

namespace dossel {

CGridTitleTip::CGridTitleTip(wxWindow* pGrid) : wxPopupWindow(pGrid, wxBORDER_SIMPLE), m_pGrid(pGrid) {
  SetName(wxT("DosselTitleTip"));
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CGridTitleTip::OnPaint, this);
  Bind(wxEVT_MOTION, &CGridTitleTip::OnMouseMove, this);
  Bind(wxEVT_LEAVE_WINDOW, &CGridTitleTip::OnLeave, this);
  Bind(wxEVT_LEFT_DOWN, &CGridTitleTip::OnMouseButton, this);
  Bind(wxEVT_LEFT_DCLICK, &CGridTitleTip::OnMouseButton, this);
  Bind(wxEVT_RIGHT_DOWN, &CGridTitleTip::OnMouseButton, this);
  Bind(wxEVT_MIDDLE_DOWN, &CGridTitleTip::OnMouseButton, this);
  Bind(wxEVT_MOUSEWHEEL, &CGridTitleTip::OnMouseButton, this);
  // The tip floats above every window: it must not outlive the program's
  // hold on the keyboard, nor the grid's.
  m_pFrame = wxGetTopLevelParent(pGrid);
  if (m_pFrame) m_pFrame->Bind(wxEVT_ACTIVATE, &CGridTitleTip::OnActivate, this);
  if (wxTheApp) wxTheApp->Bind(wxEVT_ACTIVATE_APP, &CGridTitleTip::OnActivate, this);
  m_pGrid->Bind(wxEVT_KILL_FOCUS, &CGridTitleTip::OnGridKillFocus, this);
}

CGridTitleTip::~CGridTitleTip() {
  if (m_pFrame) m_pFrame->Unbind(wxEVT_ACTIVATE, &CGridTitleTip::OnActivate, this);
  if (wxTheApp) wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CGridTitleTip::OnActivate, this);
  m_pGrid->Unbind(wxEVT_KILL_FOCUS, &CGridTitleTip::OnGridKillFocus, this);
}

bool CGridTitleTip::ShowTip(const GridRect& titleRect, TStringView text, int xOffset, const GridRect& hoverRect,
                            const wxFont& font, GridColour textClr, GridColour backClr) {
  if (titleRect.IsEmpty() || IsShown()) return false;
  m_hoverRect = hoverRect.IsEmpty() ? titleRect : hoverRect;
  m_text = wxT(" ") + GridSingleLineText(text) + wxT(" ");
  wxClientDC dc(m_pGrid);
  dc.SetFont(font);
  // Only a text that does not fit gets a tip; the blanks around it belong
  // to the tip, not to the cell.
  if (dc.GetTextExtent(GridSingleLineText(text)).GetWidth() <= titleRect.Width() - xOffset) return false;
  const int width = dc.GetTextExtent(m_text).GetWidth() + xOffset;
  SetFont(font);
  m_textColour = textClr == kClrDefault ? wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT) : ToWxColour(textClr);
  m_backColour = backClr == kClrDefault ? wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK) : ToWxColour(backClr);
  const wxPoint topLeft = m_pGrid->ClientToScreen(wxPoint(titleRect.left + xOffset, titleRect.top));
  SetSize(topLeft.x, topLeft.y, width + 2, titleRect.Height() + 2);
  Show();
  Refresh();
  return true;
}

void CGridTitleTip::HideTip() {
  if (IsShown()) Hide();
}

void CGridTitleTip::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  dc.SetBrush(wxBrush(m_backColour));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawRectangle(0, 0, size.x, size.y);
  dc.SetFont(GetFont());
  dc.SetTextForeground(m_textColour);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const int textHeight = dc.GetTextExtent(m_text).GetHeight();
  dc.DrawText(m_text, 0, (size.y - textHeight) / 2);
}

void CGridTitleTip::OnMouseMove(wxMouseEvent& event) {
  const wxPoint point = m_pGrid->ScreenToClient(ClientToScreen(event.GetPosition()));
  if (point.x >= m_hoverRect.left && point.x <= m_hoverRect.right + 1 && point.y >= m_hoverRect.top &&
      point.y <= m_hoverRect.bottom + 1)
    return;
  HideTip();
}

void CGridTitleTip::OnLeave(wxMouseEvent&) { HideTip(); }

void CGridTitleTip::OnActivate(wxActivateEvent& event) {
  event.Skip();
  if (!event.GetActive()) HideTip();
}

void CGridTitleTip::OnGridKillFocus(wxFocusEvent& event) {
  event.Skip();
  HideTip();
}

void CGridTitleTip::OnMouseButton(wxMouseEvent& event) {
  HideTip();
  // The press or the wheel belongs to the cell under the tip.
  wxMouseEvent press(event);
  press.SetEventObject(m_pGrid);
  press.SetPosition(m_pGrid->ScreenToClient(ClientToScreen(event.GetPosition())));
  m_pGrid->GetEventHandler()->ProcessEvent(press);
}

}  // namespace dossel
