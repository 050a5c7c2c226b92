// The window side of the settings: catalogue menus and fonts as wx fonts.

#include <gtest/gtest.h>
#include <wx/menu.h>

#include "settings/settings_store.h"
#include "settings/wx/catalog_menu.h"
#include "settings/wx/font_wx.h"
#include "settings_fixture.h"

namespace dossel::test {
namespace {

using SettingsWxTest = SettingsTest;

TEST_F(SettingsWxTest, CatalogMenuShowsMenusEntriesAndPlainItems) {
  InstallDefaultCatalogs();
  WriteItem(kTemplateCatalog, {DT("Create"), DT("&Table"), DT("changed"), 33001});
  WriteItem(kTemplateCatalog, {DT("Mi&ne\tCtrl+M"), DT(""), DT("SELECT 1"), 33027});
  WriteItem(kTemplateCatalog, {DT("Broken"), DT("Cut\\there"), DT("x"), 0});
  wxMenu popup;
  popup.Append(1, "stale");
  BuildCatalogMenu(popup, kTemplateCatalog);
  EXPECT_EQ(popup.FindItem(1), nullptr) << "the popup is emptied first";
  ASSERT_EQ(popup.GetMenuItemCount(), 12u);
  EXPECT_EQ(popup.FindItemByPosition(0)->GetItemLabelText(), "Alter");
  wxMenuItem* mine = popup.FindItemByPosition(7);
  EXPECT_EQ(mine->GetItemLabelText(), "Mine");
  EXPECT_EQ(mine->GetId(), 33027 - 20000);
  EXPECT_EQ(mine->GetSubMenu(), nullptr);
  wxMenuItem* table = popup.FindItem(33001 - 20000);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->GetItemLabelText(), "Table");
  wxMenuItem* broken = popup.FindItemByPosition(1)->GetSubMenu()->FindItemByPosition(0);
  EXPECT_EQ(broken->GetItemLabelText(), "Cut");
  EXPECT_FALSE(broken->IsEnabled()) << "no command reaches an entry without a number";
  EXPECT_EQ(CatalogCaption(DT("A&&b\\tc")), DT("Ab"));
}

TEST_F(SettingsWxTest, FontsConvertAndPersistOnlyWhenCreated) {
  constexpr const TChar* kKey = DT("Software\\Harlune\\Dossel\\Trace\\Font");
  wxFont font;
  EXPECT_EQ(CreateFontFromSetting(kKey, font), 1);
  EXPECT_NEAR(font.GetPixelSize().GetHeight(), 11, 1);
  EXPECT_EQ(font.GetFamily(), wxFONTFAMILY_SWISS) << "a missing face falls back to sans";

  LOGFONT chosen = LogFontFromFont(wxFontInfo(wxSize(0, 16)).Family(wxFONTFAMILY_TELETYPE).Bold().Italic());
  EXPECT_EQ(chosen.lfHeight, -16);
  EXPECT_EQ(chosen.lfWeight, 700);
  EXPECT_EQ(chosen.lfItalic, 1);
  EXPECT_EQ(ChangeFontSetting(kKey, chosen, font), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kKey, DT("Height"), 0), -16);
  EXPECT_NEAR(font.GetPixelSize().GetHeight(), 16, 1);
  EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_BOLD);

  LOGFONT none;
  EXPECT_EQ(ChangeFontSetting(kKey, none, font), 0);
  EXPECT_FALSE(font.IsOk());
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kKey, DT("Height"), 0), -16) << "a failed change stores nothing";
}

}  // namespace
}  // namespace dossel::test
