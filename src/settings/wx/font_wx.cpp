#include "settings/wx/font_wx.h"

namespace dossel {

int CreateFontFromSetting(TStringView fontKeyPath, wxFont& font) {
  LOGFONT record;
  ReadFontSetting(fontKeyPath, record);
  font = FontFromLogFont(record);
  return font.IsOk() ? 1 : 0;
}

int ChangeFontSetting(TStringView fontKeyPath, const LOGFONT& chosen, wxFont& font) {
  font = FontFromLogFont(chosen);
  if (!font.IsOk()) return 0;
  WriteFontSetting(fontKeyPath, chosen);
  return 1;
}

}  // namespace dossel
