#include "platform/wx/log_font_wx.h"

#include <wx/fontenum.h>

#include <algorithm>
#include <cstdlib>

#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

wxFontFamily FamilyFromPitchAndFamily(uint8_t pitchAndFamily) {
  switch (pitchAndFamily & 0xF0) {
    case kFamilyRoman:
      return wxFONTFAMILY_ROMAN;
    case kFamilyModern:
      return wxFONTFAMILY_TELETYPE;
    case kFamilyScript:
      return wxFONTFAMILY_SCRIPT;
    case kFamilyDecorative:
      return wxFONTFAMILY_DECORATIVE;
    case kFamilySwiss:
      return wxFONTFAMILY_SWISS;
    default:
      return (pitchAndFamily & 0x03) == kFixedPitch ? wxFONTFAMILY_TELETYPE : wxFONTFAMILY_SWISS;
  }
}

uint8_t PitchAndFamilyFromFont(const wxFont& font) {
  uint8_t family = 0;
  switch (font.GetFamily()) {
    case wxFONTFAMILY_ROMAN:
      family = kFamilyRoman;
      break;
    case wxFONTFAMILY_TELETYPE:
    case wxFONTFAMILY_MODERN:
      family = kFamilyModern;
      break;
    case wxFONTFAMILY_SCRIPT:
      family = kFamilyScript;
      break;
    case wxFONTFAMILY_DECORATIVE:
      family = kFamilyDecorative;
      break;
    default:
      family = kFamilySwiss;
      break;
  }
  return static_cast<uint8_t>(family | (font.IsFixedWidth() ? kFixedPitch : kVariablePitch));
}

}  // namespace

wxFont FontFromLogFont(const LOGFONT& record) {
  if (record.lfHeight == 0) return wxNullFont;
  const int pixels = std::abs(record.lfHeight);
  wxFontInfo info(wxSize(0, pixels));
  info.Family(FamilyFromPitchAndFamily(record.lfPitchAndFamily))
      .Italic(record.lfItalic != 0)
      .Underlined(record.lfUnderline != 0)
      .Strikethrough(record.lfStrikeOut != 0);
  const wxString face = ToWx(record.lfFaceName);
  if (!face.empty() && wxFontEnumerator::IsValidFacename(face)) info.FaceName(face);
  wxFont font(info);
  if (font.IsOk() && record.lfWeight > 0) font.SetNumericWeight(std::min(record.lfWeight, 1000));
  return font;
}

LOGFONT LogFontFromFont(const wxFont& font) {
  LOGFONT record;
  if (!font.IsOk()) return record;
  int pixels = font.GetPixelSize().GetHeight();
  // A font given in points may not know its pixel size yet.
  if (pixels <= 0) pixels = static_cast<int>(font.GetFractionalPointSize() * 96.0 / 72.0 + 0.5);
  if (pixels <= 0) pixels = 1;
  record.lfHeight = -pixels;
  record.lfWeight = font.GetNumericWeight();
  record.lfItalic = font.GetStyle() != wxFONTSTYLE_NORMAL ? 1 : 0;
  record.lfUnderline = font.GetUnderlined() ? 1 : 0;
  record.lfStrikeOut = font.GetStrikethrough() ? 1 : 0;
  record.lfPitchAndFamily = PitchAndFamilyFromFont(font);
  record.lfFaceName = CutFaceName(FromWx(font.GetFaceName()));
  return record;
}

}  // namespace dossel
