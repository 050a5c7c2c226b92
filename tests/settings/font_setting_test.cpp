#include "settings/font_setting.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings_fixture.h"

namespace dossel::test {
namespace {

constexpr const TChar* kFontKey = DT("Software\\Harlune\\Dossel\\Query\\Font");

using FontSettingTest = SettingsTest;

TEST_F(FontSettingTest, NoStoredHeightMeansTheDefaultFont) {
  LOGFONT font;
  font.lfHeight = 99;
  EXPECT_EQ(ReadFontSetting(kFontKey, font), 0);
  EXPECT_EQ(font, DefaultLogFont());
  EXPECT_EQ(font.lfHeight, -11);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfPitchAndFamily, 0x20);
  EXPECT_EQ(font.lfFaceName, DT("MS Sans Serif"));

  // Height 0 wins over every other stored value.
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kFontKey, DT("Height"), 0);
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kFontKey, DT("Weight"), 700);
  KeyWriteString(HKEY_LOCAL_MACHINE, kFontKey, DT("FaceName"), DT("Courier"));
  ReadFontSetting(kFontKey, font);
  EXPECT_EQ(font, DefaultLogFont());
}

TEST_F(FontSettingTest, HeightZeroWritesNothing) {
  LOGFONT font = DefaultLogFont();
  font.lfHeight = 0;
  EXPECT_EQ(WriteFontSetting(kFontKey, font), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kFontKey), 0);
}

TEST_F(FontSettingTest, PersistedFieldsRoundTripAndOthersReadAsZero) {
  LOGFONT font;
  font.lfHeight = -15;
  font.lfWidth = 7;
  font.lfStrikeOut = 1;
  font.lfQuality = 3;
  font.lfWeight = 700;
  font.lfItalic = 1;
  font.lfUnderline = 1;
  font.lfCharSet = 0;
  font.lfPitchAndFamily = 0x31;
  font.lfFaceName = DT("DejaVu Sans Mono");
  ASSERT_EQ(WriteFontSetting(kFontKey, font), 1);
  LOGFONT read;
  EXPECT_EQ(ReadFontSetting(kFontKey, read), 1);
  LOGFONT expected = font;
  expected.lfWidth = 0;
  expected.lfStrikeOut = 0;
  expected.lfQuality = 0;
  EXPECT_EQ(read, expected);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kFontKey, DT("PitchAndFamily"), 0), 0x31);
}

TEST_F(FontSettingTest, MissingFieldsTakeTheirDefaultsAndLongFaceNamesAreCut) {
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kFontKey, DT("Height"), 12);
  LOGFONT font;
  ReadFontSetting(kFontKey, font);
  EXPECT_EQ(font.lfHeight, 12);
  EXPECT_EQ(font.lfWeight, 0);
  EXPECT_EQ(font.lfCharSet, 1);
  EXPECT_EQ(font.lfFaceName, DT("System"));

  // Only the low byte of the byte-sized fields counts.
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kFontKey, DT("Italic"), 0x101);
  KeyWriteString(HKEY_LOCAL_MACHINE, kFontKey, DT("FaceName"), DT("Ünicode Face Name That Is Far Too Long To Keep"));
  ReadFontSetting(kFontKey, font);
  EXPECT_EQ(font.lfItalic, 1);
  EXPECT_EQ(font.lfFaceName, DT("Ünicode Face Name That Is Far T"));
  EXPECT_EQ(CutFaceName(DT("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀")), DT("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀"));
}

}  // namespace
}  // namespace dossel::test
