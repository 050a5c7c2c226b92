#pragma once
// A font as the settings keep it: the persisted fields of the LOGFONT record
// (platform/log_font.h), one value each in a font key ("...\Query\Font"). The window side
// (settings/wx/font_wx.h) turns the record into a wxFont and back.
//
// Any thread may call these functions.

#include "platform/log_font.h"
#include "platform/text.h"

namespace dossel {

// The font used whenever no font is stored: -11, 400, swiss, "MS Sans Serif".
LOGFONT DefaultLogFont();

// Fills the record from the font key; with no stored height (or height 0)
// the whole record is the default font. Returns 1 when a font was stored.
int ReadFontSetting(TStringView fontKeyPath, LOGFONT& font);

// Stores the record's seven persisted fields; a record of height 0 is not a
// font and writes nothing. 1 when all values were written.
int WriteFontSetting(TStringView fontKeyPath, const LOGFONT& font);

}  // namespace dossel
