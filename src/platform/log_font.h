#pragma once
// LOGFONT: a font as the program keeps it, with the fields of the classic
// font record. The settings store persists it ("...\Query\Font") and the
// grid's cells carry it; the window side (platform/wx/log_font_wx.h) turns it
// into a wxFont and back. Plain data: any thread may use it.

#include <cstdint>

#include "platform/text.h"

namespace dossel {

// Longest face name kept (the record's 32-character field less its NUL).
inline constexpr size_t kMaxFaceName = 31;

struct LOGFONT {
  // < 0: character height in pixels; > 0: character cell height in pixels
  // (taken as the pixel height of the font); 0: no font.
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;  // tenths of a degree; 900 is vertical text
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;  // 100..900, 400 normal, 700 bold; 0 is normal
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

// `name` cut to kMaxFaceName characters (whole characters, in either width).
TString CutFaceName(TStringView name);

}  // namespace dossel
