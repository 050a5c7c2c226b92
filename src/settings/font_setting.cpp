#include "settings/font_setting.h"

#include "settings/settings_store.h"

namespace dossel {

LOGFONT DefaultLogFont() {
  LOGFONT font;
  font.lfHeight = -11;
  font.lfWeight = 400;
  font.lfPitchAndFamily = kFamilySwiss;
  font.lfFaceName = DT("MS Sans Serif");
  return font;
}

int ReadFontSetting(TStringView fontKeyPath, LOGFONT& font) {
  const int height = KeyReadInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Height"), 0);
  if (height == 0) {
    font = DefaultLogFont();
    return 0;
  }
  auto lowByte = [&](const TChar* name, int defaultValue) {
    return static_cast<uint8_t>(KeyReadInteger(HKEY_LOCAL_MACHINE, fontKeyPath, name, defaultValue) & 0xFF);
  };
  font = LOGFONT();
  font.lfHeight = height;
  font.lfWeight = KeyReadInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Weight"), 0);
  font.lfItalic = lowByte(DT("Italic"), 0);
  font.lfUnderline = lowByte(DT("Underline"), 0);
  font.lfPitchAndFamily = lowByte(DT("PitchAndFamily"), 0);
  font.lfCharSet = lowByte(DT("CharSet"), 1);
  TString face;
  KeyReadString(HKEY_LOCAL_MACHINE, fontKeyPath, DT("FaceName"), DT("System"), face);
  font.lfFaceName = CutFaceName(face);
  return 1;
}

int WriteFontSetting(TStringView fontKeyPath, const LOGFONT& font) {
  if (font.lfHeight == 0) return 0;
  const TString face = CutFaceName(font.lfFaceName);
  int ok = 1;
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Height"), font.lfHeight);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Weight"), font.lfWeight);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Italic"), font.lfItalic);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("Underline"), font.lfUnderline);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("PitchAndFamily"), font.lfPitchAndFamily);
  ok &= KeyWriteInteger(HKEY_LOCAL_MACHINE, fontKeyPath, DT("CharSet"), font.lfCharSet);
  ok &= KeyWriteString(HKEY_LOCAL_MACHINE, fontKeyPath, DT("FaceName"), face);
  return ok;
}

}  // namespace dossel
