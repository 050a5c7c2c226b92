#pragma once
// Fonts from the settings as wx fonts: the two font helpers the panes use,
// over the record's conversion (platform/wx/log_font_wx.h). UI thread only.

#include <wx/font.h>

#include "platform/wx/log_font_wx.h"
#include "settings/font_setting.h"

namespace dossel {

// Reads the font key and creates the font into `font`; 1 on success, else 0
// with `font` left empty (wxNullFont).
int CreateFontFromSetting(TStringView fontKeyPath, wxFont& font);

// Replaces `font` with one made from `chosen` and, only when that worked,
// stores `chosen` in the font key; 1 on success.
int ChangeFontSetting(TStringView fontKeyPath, const LOGFONT& chosen, wxFont& font);

}  // namespace dossel
