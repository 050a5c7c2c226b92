#include "grid/wx/grid_display.h"

#include <wx/app.h>
#include <wx/control.h>
#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/thread.h>

#include <algorithm>
#include <vector>

#include "platform/wx/log_font_wx.h"
#include "platform/wx/wx_text.h"

namespace dossel {

bool GridHasDisplay() { return wxTheApp != nullptr && wxThread::IsMain(); }

GridColour GetGridSysColour(int nIndex) {
  struct Entry {
    int index;
    wxSystemColour wx;
    GridColour fallback;
  };
  static const Entry kTable[] = {
      {COLOR_WINDOW, wxSYS_COLOUR_WINDOW, GridRgb(255, 255, 255)},
      {COLOR_WINDOWTEXT, wxSYS_COLOUR_WINDOWTEXT, GridRgb(0, 0, 0)},
      {COLOR_HIGHLIGHT, wxSYS_COLOUR_HIGHLIGHT, GridRgb(0, 120, 215)},
      {COLOR_HIGHLIGHTTEXT, wxSYS_COLOUR_HIGHLIGHTTEXT, GridRgb(255, 255, 255)},
      {COLOR_BTNFACE, wxSYS_COLOUR_BTNFACE, GridRgb(240, 240, 240)},
      {COLOR_BTNSHADOW, wxSYS_COLOUR_BTNSHADOW, GridRgb(160, 160, 160)},
      {COLOR_BTNHIGHLIGHT, wxSYS_COLOUR_BTNHIGHLIGHT, GridRgb(255, 255, 255)},
      {COLOR_3DDKSHADOW, wxSYS_COLOUR_3DDKSHADOW, GridRgb(105, 105, 105)},
  };
  for (const Entry& e : kTable) {
    if (e.index != nIndex) continue;
    if (!GridHasDisplay()) return e.fallback;
    const wxColour c = wxSystemSettings::GetColour(e.wx);
    return c.IsOk() ? FromWxColour(c) : e.fallback;
  }
  return GridRgb(0, 0, 0);
}

wxFont ToWxFont(const GridLogFont& lf) {
  wxFont font = FontFromLogFont(lf);
  // A record without a height still draws: in the system's font.
  if (!font.IsOk()) font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  return font;
}

GridLogFont FromWxFont(const wxFont& font) { return LogFontFromFont(font); }

GridLogFont GetMessageLogFont() {
  if (GridHasDisplay()) return FromWxFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  GridLogFont lf;
  lf.lfHeight = -12;
  lf.lfWeight = 400;
  return lf;
}

namespace {

// Cuts text to fit width, ending in "...", the way an end ellipsis does.
wxString Ellipsize(wxDC& dc, const wxString& text, int width) {
  if (dc.GetTextExtent(text).GetWidth() <= width) return text;
  return wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, width, wxELLIPSIZE_FLAGS_NONE);
}

}  // namespace

wxString GridSingleLineText(TStringView text) {
  wxString str = ToWx(text);
  str.Replace(wxT("\r"), wxEmptyString);
  str.Replace(wxT("\n"), wxT(" "));
  return str;
}

void GridDrawText(wxDC& dc, TStringView text, GridRect* rect, uint32_t nFormat) {
  const bool single = (nFormat & DT_SINGLELINE) != 0;
  wxString str = single ? GridSingleLineText(text) : ToWx(text);
  if (nFormat & DT_CALCRECT) {
    wxCoord w = 0, h = 0;
    dc.GetMultiLineTextExtent(str.empty() ? wxString(wxT(" ")) : str, &w, &h);
    if (str.empty()) w = 0;
    rect->right = rect->left + w;
    rect->bottom = rect->top + h;
    return;
  }
  const int width = rect->Width();
  const int height = rect->Height();
  if (width <= 0 || height <= 0 || str.empty()) return;
  if ((nFormat & DT_END_ELLIPSIS) && single) str = Ellipsize(dc, str, width);
  wxCoord w = 0, h = 0;
  dc.GetMultiLineTextExtent(str, &w, &h);
  int x = rect->left;
  if (nFormat & DT_RIGHT)
    x = rect->right - w;
  else if (nFormat & DT_CENTER)
    x = rect->left + (width - w) / 2;
  int y = rect->top;
  if (single && (nFormat & DT_BOTTOM))
    y = rect->bottom - h;
  else if (single && (nFormat & DT_VCENTER))
    y = rect->top + (height - h) / 2;
  wxDCClipper clip(dc, ToWxRect(*rect));
  dc.DrawText(str, x, y);
}

}  // namespace dossel
