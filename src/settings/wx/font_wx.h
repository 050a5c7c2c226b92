#pragma once
// Fonts from the settings as wx fonts: the LOGFONT-shaped record converted
// to and from wxFont, and the two font helpers the panes use. UI thread only.

#include <wx/font.h>

#include "settings/font_setting.h"

namespace dossel {

// A negative height is a character height in pixels; a positive one (a cell
// height) is taken as the character height too, wx having no cell-height
// fonts. A face name this machine lacks falls back to the family's default
// (the default sans font for the default record).
wxFont FontFromLogFont(const LOGFONT& record);
LOGFONT LogFontFromFont(const wxFont& font);

// Reads the font key and creates the font into `font`; 1 on success, else 0
// with `font` left empty (wxNullFont).
int CreateFontFromSetting(TStringView fontKeyPath, wxFont& font);

// Replaces `font` with one made from `chosen` and, only when that worked,
// stores `chosen` in the font key; 1 on success.
int ChangeFontSetting(TStringView fontKeyPath, const LOGFONT& chosen, wxFont& font);

}  // namespace dossel
