#pragma once
// The one conversion between a LOGFONT record and a wxFont, used by the
// settings' fonts and by the grid. UI thread only.

#include <wx/font.h>

#include "platform/log_font.h"

namespace dossel {

// The height's magnitude is the font's pixel height, whether it is given as
// a character height (negative) or a cell height (positive): wx has no
// cell-height fonts. A face name this machine lacks falls back to the
// family's default (the default sans font for family 0). A record of height
// 0 is no font: wxNullFont.
wxFont FontFromLogFont(const LOGFONT& record);
// The record of a font: a negative (character) height in pixels.
LOGFONT LogFontFromFont(const wxFont& font);

}  // namespace dossel
