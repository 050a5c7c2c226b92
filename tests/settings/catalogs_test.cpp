#include "settings/catalogs.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings_fixture.h"

namespace dossel::test {
namespace {

int CountEntries(CatalogKind kind) {
  int count = 0;
  std::vector<TString> menus;
  ListMenus(kind, menus);
  for (const TString& menu : menus) {
    std::vector<TString> entries;
    ListEntries(menu, kind, entries);
    count += entries.empty() ? 1 : static_cast<int>(entries.size());
  }
  return count;
}

int NextId(CatalogKind kind) { return KeyReadInteger(HKEY_LOCAL_MACHINE, CatalogRootPath(kind), DT("NextID"), -1); }

using CatalogsTest = SettingsTest;

TEST_F(CatalogsTest, FreshStoreGetsTheDefaultsOnce) {
  EXPECT_TRUE(InstallDefaultCatalogs());
  EXPECT_EQ(CountEntries(kTemplateCatalog), 27);
  EXPECT_EQ(CountEntries(kScriptCatalog), 55);
  EXPECT_EQ(NextId(kTemplateCatalog), 33027);
  EXPECT_EQ(NextId(kScriptCatalog), 33555);
  TString stamp;
  KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel"), DT("ProductVersion"), DT(""), stamp);
  EXPECT_EQ(stamp, DT("2.8"));

  CatalogItem item;
  ReadItem(DT("Create"), DT("Trigger"), kTemplateCatalog, item);
  EXPECT_EQ(item.id, 33004);
  EXPECT_EQ(item.text, DT("CREATE TRIGGER trigger_name \r\nON table_name \r\nFOR DELETE, INSERT, UPDATE \r\nAS \r\n"
                          "BEGIN \r\n\r\nEND "));
  ReadItem(DT("Update"), DT("Table"), kTemplateCatalog, item);
  EXPECT_EQ(item.text, DT("UPDATE table_name \r\nSET column_name=value \r\nWHERE column_name=  "));
  ReadItem(DT("Clause"), DT("Where"), kScriptCatalog, item);
  EXPECT_EQ(item.id, 33554);
  EXPECT_EQ(item.text, DT("WHERE "));
  ReadItem(DT("Pattern"), DT("[^]"), kScriptCatalog, item);
  EXPECT_EQ(item.text, DT("[^] "));

  EXPECT_FALSE(InstallDefaultCatalogs()) << "the stamp is current";
}

TEST_F(CatalogsTest, ChangedVersionReinstallsButKeepsUserEntries) {
  InstallDefaultCatalogs();
  WriteItem(kTemplateCatalog, {DT("Create"), DT("Table"), DT("changed"), 33001});
  WriteItem(kTemplateCatalog, {DT("Mine"), DT("Query"), DT("SELECT 1"), 33027});
  EXPECT_FALSE(InstallDefaultCatalogs());
  CatalogItem item;
  ReadItem(DT("Create"), DT("Table"), kTemplateCatalog, item);
  EXPECT_EQ(item.text, DT("changed"));

  KeyWriteString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\"), DT("ProductVersion"), DT("2.7"));
  EXPECT_TRUE(InstallDefaultCatalogs());
  ReadItem(DT("Create"), DT("Table"), kTemplateCatalog, item);
  EXPECT_EQ(item.text, DT("CREATE TABLE table_name ( \r\n\tcolumn_name data_type NOT NULL )"));
  ReadItem(DT("Mine"), DT("Query"), kTemplateCatalog, item);
  EXPECT_EQ(item.text, DT("SELECT 1"));
  EXPECT_EQ(NextId(kTemplateCatalog), 33027);

  // The next new entry shares its number with the older user entry; the
  // first in menu and entry order wins.
  const int id = AllocateId(kTemplateCatalog);
  EXPECT_EQ(id, 33027);
  WriteItem(kTemplateCatalog, {DT("Another"), DT(""), DT("SELECT 2"), id});
  ASSERT_EQ(FindItemById(33027, kTemplateCatalog, item), 1);
  EXPECT_EQ(item.menu, DT("Another"));
  EXPECT_EQ(item.name, DT(""));
  EXPECT_EQ(item.text, DT("SELECT 2"));
}

TEST_F(CatalogsTest, ItemsAreAddressedByMenuAndName) {
  EXPECT_EQ(WriteItem(kScriptCatalog, {DT(""), DT(""), DT("x"), 33600}), 0);
  EXPECT_EQ(WriteItem(kScriptCatalog, {DT("Menu"), DT("Long"), TString(255, DT('x')), 33600}), 0);
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\Script\\Menu")), 0);

  ASSERT_EQ(WriteItem(kScriptCatalog, {DT("Menu"), DT("Entry"), DT("ENTRY "), 33600}), 1);
  ASSERT_EQ(WriteItem(kScriptCatalog, {DT(""), DT("Plain"), DT("PLAIN "), 33601}), 1);
  CatalogItem item;
  ReadItem(DT("Plain"), DT(""), kScriptCatalog, item);
  EXPECT_EQ(item.text, DT("PLAIN "));
  EXPECT_EQ(item.id, 33601);
  ReadItem(DT("Menu"), DT("Missing"), kScriptCatalog, item);
  EXPECT_EQ(item.menu, DT("Menu"));
  EXPECT_EQ(item.name, DT("Missing"));
  EXPECT_EQ(item.text, DT(""));
  EXPECT_EQ(item.id, 0);
  EXPECT_EQ(FindItemById(0, kScriptCatalog, item), 0) << "a missing number matches nothing";

  ASSERT_EQ(FindItemById(33601, kScriptCatalog, item), 1);
  EXPECT_EQ(item.menu, DT("Plain"));
  EXPECT_EQ(item.name, DT(""));

  EXPECT_EQ(RemoveItem(DT(""), DT(""), kScriptCatalog), 0);
  EXPECT_EQ(RemoveItem(DT(""), DT("Plain"), kScriptCatalog), 1);
  EXPECT_EQ(RemoveItem(DT("Menu"), DT(""), kScriptCatalog), 1);
  std::vector<TString> menus;
  ListMenus(kScriptCatalog, menus);
  EXPECT_TRUE(menus.empty());
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, CatalogRootPath(kScriptCatalog)), 1);
}

TEST_F(CatalogsTest, AllocateRenumbersNearTheEndOfTheRange) {
  InstallDefaultCatalogs();
  WriteItem(kTemplateCatalog, {DT("Mine"), DT("Late"), DT("x"), 33448});
  KeyWriteInteger(HKEY_LOCAL_MACHINE, CatalogRootPath(kTemplateCatalog), DT("NextID"), 33449);
  EXPECT_EQ(AllocateId(kTemplateCatalog), 33028);
  EXPECT_EQ(NextId(kTemplateCatalog), 33029);
  CatalogItem item;
  // Numbers follow menu and entry order: "Alter" comes first.
  ReadItem(DT("Alter"), DT("Procedure"), kTemplateCatalog, item);
  EXPECT_EQ(item.id, 33000);
  ReadItem(DT("Mine"), DT("Late"), kTemplateCatalog, item);
  EXPECT_GT(item.id, 33000);
  EXPECT_LT(item.id, 33028);
  EXPECT_TRUE(m_messages.texts.empty());

  // A number below the range is renumbered too.
  KeyWriteInteger(HKEY_LOCAL_MACHINE, CatalogRootPath(kScriptCatalog), DT("NextID"), 5);
  EXPECT_EQ(AllocateId(kScriptCatalog), 33555);
}

TEST_F(CatalogsTest, FullRangeRefusesTheNewEntryAndRenumbersNothing) {
  // 500 entries fill 33000..33499 and leave no number to hand out.
  for (int i = 0; i < 500; ++i)
    WriteItem(kTemplateCatalog, {Format(DT("M%03d"), i / 10), Format(DT("E%d"), i % 10), DT("x"), 40000 + i});
  KeyWriteInteger(HKEY_LOCAL_MACHINE, CatalogRootPath(kTemplateCatalog), DT("NextID"), 33499);
  EXPECT_EQ(AllocateId(kTemplateCatalog), 0);
  ASSERT_EQ(m_messages.texts.size(), 1u);
  EXPECT_EQ(m_messages.texts[0], DT("Too many items"));
  EXPECT_EQ(m_messages.styles[0], kMbOk | kMbIconError);
  EXPECT_EQ(NextId(kTemplateCatalog), 33499);
  CatalogItem item;
  ReadItem(DT("M000"), DT("E0"), kTemplateCatalog, item);
  EXPECT_EQ(item.id, 40000);

  EXPECT_EQ(RenumberItems(kTemplateCatalog), 0);
  EXPECT_EQ(m_messages.texts.size(), 2u);

  // One fewer fits, with the last number left for the new entry.
  RemoveItem(DT("M049"), DT("E9"), kTemplateCatalog);
  EXPECT_EQ(AllocateId(kTemplateCatalog), 33499);
  ReadItem(DT("M000"), DT("E0"), kTemplateCatalog, item);
  EXPECT_EQ(item.id, 33000);
  ReadItem(DT("M049"), DT("E8"), kTemplateCatalog, item);
  EXPECT_EQ(item.id, 33498);
}

}  // namespace
}  // namespace dossel::test
