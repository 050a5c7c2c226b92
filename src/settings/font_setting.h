#pragma once
// A font as the settings keep it: the persisted fields of a classic LOGFONT
// record, one value each in a font key ("...\Query\Font"). The window side
// (settings/wx/font_wx.h) turns the record into a wxFont and back.
//
// Any thread may call these functions.

#include <cstdint>

#include "platform/text.h"

namespace dossel {

// Longest face name kept (the record's 32-character field less its NUL).
inline constexpr size_t kMaxFaceName = 31;

struct LOGFONT {
  int32_t lfHeight = 0;  // < 0: character height in pixels; > 0: cell height; 0: no font
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;  // 100..900, 400 normal, 700 bold
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;  // low 2 bits pitch (1 fixed, 2 variable), high nibble family
  TString lfFaceName;            // at most kMaxFaceName characters

  bool operator==(const LOGFONT&) const = default;
};

// Pitch and family bits used by the program.
inline constexpr uint8_t kFixedPitch = 0x01;
inline constexpr uint8_t kVariablePitch = 0x02;
inline constexpr uint8_t kFamilyRoman = 0x10;
inline constexpr uint8_t kFamilySwiss = 0x20;
inline constexpr uint8_t kFamilyModern = 0x30;
inline constexpr uint8_t kFamilyScript = 0x40;
inline constexpr uint8_t kFamilyDecorative = 0x50;

// The font used whenever no font is stored: -11, 400, swiss, "MS Sans Serif".
LOGFONT DefaultLogFont();

// `name` cut to kMaxFaceName characters (whole characters, in either width).
TString CutFaceName(TStringView name);

// Fills the record from the font key; with no stored height (or height 0)
// the whole record is the default font. Returns 1 when a font was stored.
int ReadFontSetting(TStringView fontKeyPath, LOGFONT& font);

// Stores the record's seven persisted fields; a record of height 0 is not a
// font and writes nothing. 1 when all values were written.
int WriteFontSetting(TStringView fontKeyPath, const LOGFONT& font);

}  // namespace dossel
