// The Script and Template pages: browsing a catalogue and changing it with
// "&Add" and "&Remove", which write at once.

#include <gtest/gtest.h>

#include "options/script_page.h"
#include "options/template_page.h"
#include "options_test_support.h"
#include "platform/wx/wx_text.h"
#include "settings/catalogs.h"

namespace dossel::test {
namespace {

class CatalogPageTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    InstallDefaultCatalogs();
  }

  static int NextId(CatalogKind kind) {
    return KeyReadInteger(HKEY_LOCAL_MACHINE, CatalogRootPath(kind), DT("NextID"), -1);
  }
  static CatalogItem Item(CatalogKind kind, const TChar* menu, const TChar* name) {
    CatalogItem item;
    ReadItem(menu, name, kind, item);
    return item;
  }
  static bool Exists(CatalogKind kind, const TString& path) {
    return KeyExists(HKEY_LOCAL_MACHINE, TString(CatalogRootPath(kind)) + DT("\\") + path) != 0;
  }
  // Fills the three fields as the user types them.
  static void Type(CCatalogPage* page, const wxString& menu, const wxString& name, const wxString& text) {
    page->MenuList()->SetValue(menu);
    page->NameList()->SetValue(name);
    page->TextEdit()->SetValue(text);
  }
  static void Add(CCatalogPage* page) { Click(*page, CTemplatePage::kIds.add); }
  static void Remove(CCatalogPage* page) { Click(*page, CTemplatePage::kIds.remove); }

  static wxArrayString Sorted(std::vector<TString> names) {
    wxArrayString sorted;
    for (const TString& name : names) sorted.Add(ToWx(name));
    sorted.Sort();
    return sorted;
  }
};

TEST_F(CatalogPageTest, BrowsingShowsMenusEntriesAndTexts) {
  COptionsSheet sheet(nullptr);
  CTemplatePage* page = sheet.GetTemplatePage();
  std::vector<TString> menus;
  ListMenus(kTemplateCatalog, menus);
  EXPECT_EQ(page->MenuList()->GetStrings(), Sorted(menus));
  EXPECT_EQ(page->MenuList()->GetString(0), "Alter");
  EXPECT_EQ(page->NameList()->GetCount(), 0u);

  Pick(page->MenuList(), "Create");
  std::vector<TString> names;
  ListEntries(DT("Create"), kTemplateCatalog, names);
  EXPECT_EQ(page->NameList()->GetStrings(), Sorted(names));
  EXPECT_EQ(page->TextEdit()->GetValue(), "") << "a menu with entries has no text";
  Pick(page->NameList(), "Trigger");
  EXPECT_EQ(page->TextEdit()->GetValue(),
            "CREATE TRIGGER trigger_name \nON table_name \nFOR DELETE, INSERT, UPDATE \nAS \nBEGIN \n\nEND ");

  // A menu without entries shows its own text, and empties the name list.
  ASSERT_EQ(WriteItem(kTemplateCatalog, {DT("Plain"), DT(""), DT("VACUUM; "), 33400}), 1);
  COptionsSheet again(nullptr);
  page = again.GetTemplatePage();
  Pick(page->MenuList(), "Create");
  Pick(page->MenuList(), "Plain");
  EXPECT_EQ(page->NameList()->GetCount(), 0u);
  EXPECT_EQ(page->NameList()->GetValue(), "");
  EXPECT_EQ(page->TextEdit()->GetValue(), "VACUUM; ");

  // The Script page edits the other catalogue.
  CScriptPage* script = again.GetScriptPage();
  EXPECT_NE(script->MenuList()->FindString("Comparison", true), wxNOT_FOUND);
  Pick(script->MenuList(), "Comparison");
  Pick(script->NameList(), ">=");
  EXPECT_EQ(script->TextEdit()->GetValue(), ">= ");
}

TEST_F(CatalogPageTest, AddNumbersANewEntryAndKeepsTheNumberWhenAddedAgain) {
  ASSERT_EQ(NextId(kTemplateCatalog), 33027);
  COptionsSheet sheet(nullptr);
  CTemplatePage* page = sheet.GetTemplatePage();
  Pick(page->MenuList(), "Select");
  Type(page, "Select", "Count", "SELECT COUNT(*)\nFROM t ");
  Add(page);
  CatalogItem added = Item(kTemplateCatalog, DT("Select"), DT("Count"));
  EXPECT_EQ(added.id, 33027);
  EXPECT_EQ(added.text, DT("SELECT COUNT(*)\r\nFROM t ")) << "stored with the catalogue's line breaks";
  EXPECT_EQ(NextId(kTemplateCatalog), 33028);
  EXPECT_NE(page->NameList()->FindString("Count", true), wxNOT_FOUND);
  EXPECT_EQ(page->MenuList()->GetCount(), 10u) << "the menu was listed already";

  // Again with the same menu and name: the number stays, the text changes.
  Type(page, "Select", "Count", "SELECT COUNT(1) FROM t");
  Add(page);
  added = Item(kTemplateCatalog, DT("Select"), DT("Count"));
  EXPECT_EQ(added.id, 33027);
  EXPECT_EQ(added.text, DT("SELECT COUNT(1) FROM t"));
  EXPECT_EQ(NextId(kTemplateCatalog), 33028);
  // A default entry keeps its own number too, whatever case the menu is typed in.
  Type(page, "select", "View", "SELECT 2");
  Add(page);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Select"), DT("View")).id, 33017);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Select"), DT("View")).text, DT("SELECT 2"));
  EXPECT_EQ(NextId(kTemplateCatalog), 33028);

  // A new menu with a name: both are listed and the entry numbered.
  Type(page, "Mine", "First", "SELECT 1");
  Add(page);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Mine"), DT("First")).id, 33028);
  EXPECT_NE(page->MenuList()->FindString("Mine", true), wxNOT_FOUND);
  // A name listed for another menu does not lend that menu's number.
  Pick(page->MenuList(), "Create");
  Type(page, "Alter", "Index", "ALTER INDEX ");
  Add(page);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Alter"), DT("Index")).id, 33029);
  // A plain menu item keeps its number when added again.
  Type(page, "Plain", "", "VACUUM; ");
  Add(page);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Plain"), DT("")).id, 33030);
  Type(page, "Plain", "", "VACUUM main; ");
  Add(page);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Plain"), DT("")).id, 33030);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Plain"), DT("")).text, DT("VACUUM main; "));
  EXPECT_EQ(page->NameList()->FindString("", true), wxNOT_FOUND) << "no empty name is listed";
  EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(CatalogPageTest, AddWithoutAMenuDoesNothing) {
  COptionsSheet sheet(nullptr);
  CScriptPage* page = sheet.GetScriptPage();
  const wxArrayString menus = page->MenuList()->GetStrings();
  Type(page, "", "Lonely", "LONELY ");
  Click(*page, CScriptPage::kIds.add);
  EXPECT_EQ(NextId(kScriptCatalog), 33555);
  EXPECT_FALSE(Exists(kScriptCatalog, DT("Lonely")));
  EXPECT_EQ(page->MenuList()->GetStrings(), menus);
  EXPECT_EQ(page->NameList()->GetCount(), 0u);

  // With a menu the same click adds to the Script catalogue.
  Type(page, "Keyword", "Limit", "LIMIT ");
  Click(*page, CScriptPage::kIds.add);
  EXPECT_EQ(Item(kScriptCatalog, DT("Keyword"), DT("Limit")).id, 33555);
  EXPECT_FALSE(Exists(kTemplateCatalog, DT("Keyword")));
}

TEST_F(CatalogPageTest, RemoveDeletesTheEntryOrTheWholeMenu) {
  COptionsSheet sheet(nullptr);
  CTemplatePage* page = sheet.GetTemplatePage();
  Pick(page->MenuList(), "Drop");
  Pick(page->NameList(), "Index");
  ASSERT_EQ(page->TextEdit()->GetValue(), "DROP INDEX ");
  Remove(page);
  EXPECT_FALSE(Exists(kTemplateCatalog, DT("Drop\\Index")));
  EXPECT_TRUE(Exists(kTemplateCatalog, DT("Drop\\View")));
  EXPECT_EQ(page->NameList()->FindString("Index", true), wxNOT_FOUND);
  EXPECT_EQ(page->NameList()->GetSelection(), wxNOT_FOUND);
  EXPECT_EQ(page->TextEdit()->GetValue(), "");

  // With the name emptied the whole menu goes, from the settings and the list.
  Pick(page->MenuList(), "Pragma");
  page->NameList()->SetValue("");
  Remove(page);
  EXPECT_FALSE(Exists(kTemplateCatalog, DT("Pragma")));
  EXPECT_EQ(page->MenuList()->FindString("Pragma", true), wxNOT_FOUND);

  // Typed names that are not chosen in a list leave the lists alone.
  Type(page, "Alter", "Table", "");
  page->MenuList()->SetSelection(wxNOT_FOUND);
  page->NameList()->SetSelection(wxNOT_FOUND);
  const size_t menus = page->MenuList()->GetCount();
  Remove(page);
  EXPECT_FALSE(Exists(kTemplateCatalog, DT("Alter\\Table")));
  EXPECT_EQ(page->MenuList()->GetCount(), menus);

  // Nothing typed: nothing removed.
  Type(page, "", "", "x");
  Remove(page);
  EXPECT_EQ(page->TextEdit()->GetValue(), "");
  EXPECT_TRUE(Exists(kTemplateCatalog, DT("Create")));
}

TEST_F(CatalogPageTest, CatalogueChangesStayWhenTheSheetIsCancelled) {
  EXPECT_EQ(RunSheet([](COptionsSheet& sheet) {
              CTemplatePage* page = sheet.GetTemplatePage();
              sheet.GetBookCtrl()->SetSelection(2);
              Type(page, "Mine", "Kept", "SELECT 'kept'");
              Add(page);
              Pick(page->MenuList(), "Delete");
              Pick(page->NameList(), "Table");
              Remove(page);
              Click(sheet, wxID_CANCEL);
            }),
            wxID_CANCEL);
  EXPECT_EQ(Item(kTemplateCatalog, DT("Mine"), DT("Kept")).text, DT("SELECT 'kept'"));
  EXPECT_FALSE(Exists(kTemplateCatalog, DT("Delete\\Table")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOptions)) << "Cancel stores no time-outs";
}

}  // namespace
}  // namespace dossel::test
