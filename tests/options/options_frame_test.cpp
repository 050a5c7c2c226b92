// The options sheet from the main window: the command opens it, OK hands the
// query time-out to the open connection, and the catalogue pages feed the
// query pane's menus.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <fstream>
#include <sstream>

#include "driver_script.h"
#include "frame_fixture.h"
#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "options/template_page.h"
#include "res/command_ids.h"
#include "scripted_connect.h"
#include "settings/catalogs.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

class OptionsFrameTest : public TextFrameTest {
 protected:
  void PrepareSettings() override {
    TextFrameTest::PrepareSettings();
    InstallDefaultCatalogs();
  }

  // Sends the Options command and lets `action` work the sheet it opens;
  // false when no sheet opened. A sheet left open is cancelled.
  bool WithOptions(std::function<void(COptionsSheet&)> action) {
    bool opened = false;
    wxTheApp->CallAfter([&] {
      for (wxWindow* window : wxTopLevelWindows) {
        if (auto* sheet = dynamic_cast<COptionsSheet*>(window); sheet && sheet->IsModal()) {
          opened = true;
          action(*sheet);
          if (sheet->IsModal()) sheet->EndModal(wxID_CANCEL);
          return;
        }
      }
    });
    wxCommandEvent event(wxEVT_MENU, ToWxId(ID_VIEW_OPTIONS));
    event.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(event);
    Pump(20);
    return opened;
  }

  static void Click(wxWindow& window, int id) {
    wxWindow* button = window.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
  }

  static wxMenuItem* FindItemByLabel(wxMenu* menu, const std::string& label) {
    for (wxMenuItem* item : menu->GetMenuItems())
      if (item->GetItemLabel().utf8_string() == label) return item;
    return nullptr;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(OptionsFrameTest, OkGivesTheNewQueryTimeoutToTheOpenConnectionAtOnce) {
  const std::string log = m_folder.File("calls.log");
  DriverScript script;
  script.Log(log).Statement("select 1").Result({{"a", SQL_INTEGER, 10}}).Row({"1"});
  const std::string path = m_folder.File("script.txt");
  script.Save(path);
  ASSERT_TRUE(ConnectTo(ScriptedDriverConnectString(path)));
  ASSERT_EQ(m_frame->Session().Connection().GetQueryTimeOut(), 0);

  // OK from another page than the time-outs'.
  ASSERT_TRUE(WithOptions([](COptionsSheet& sheet) {
    sheet.GetConnectionsPage()->QueryEdit()->SetValue("17");
    sheet.GetConnectionsPage()->LoginEdit()->SetValue("5");
    sheet.GetBookCtrl()->SetSelection(1);
    Click(sheet, wxID_OK);
  }));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), -1), 17);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("LoginTimeOut"), -1), 5);
  EXPECT_EQ(m_frame->Session().GetQueryTimeout(), 17);
  EXPECT_EQ(m_frame->Session().Connection().GetQueryTimeOut(), 17);
  EXPECT_EQ(m_frame->Session().GetLoginTimeout(), 0) << "a new login time-out waits for the next start";

  // The next statement of the open connection carries it to the driver
  // (SQL_QUERY_TIMEOUT is attribute 0).
  Run("select 1");
  const std::string calls = ReadFile(log);
  EXPECT_NE(calls.find(" 0 17\n"), std::string::npos) << calls;

  // Cancel changes nothing, in the settings or the connection.
  ASSERT_TRUE(WithOptions([](COptionsSheet& sheet) {
    sheet.GetConnectionsPage()->QueryEdit()->SetValue("99");
    Click(sheet, wxID_CANCEL);
  }));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), -1), 17);
  EXPECT_EQ(m_frame->Session().Connection().GetQueryTimeOut(), 17);
}

TEST_F(OptionsFrameTest, AnEntryAddedOnTheTemplatePageInsertsItsTextFromTheQueryMenu) {
  ASSERT_TRUE(WithOptions([](COptionsSheet& sheet) {
    sheet.GetBookCtrl()->SetSelection(2);
    CTemplatePage* page = sheet.GetTemplatePage();
    page->MenuList()->SetValue("&Mine");
    page->NameList()->SetValue("Count\tRows");
    page->TextEdit()->SetValue("SELECT COUNT(*)\nFROM t ");
    Click(*page, CTemplatePage::kIds.add);
    Click(sheet, wxID_CANCEL);  // the catalogue was written at the click
  }));
  CQueryView* query = m_frame->QueryView();
  query->SetQueryText(DT("-- count"));
  std::unique_ptr<wxMenu> menu(query->BuildContextMenu());
  wxMenu* templates = menu->GetMenuItems()[1]->GetSubMenu();
  wxMenuItem* mine = FindItemByLabel(templates, "Mine");
  ASSERT_NE(mine, nullptr);
  ASSERT_NE(mine->GetSubMenu(), nullptr);
  wxMenuItem* entry = FindItemByLabel(mine->GetSubMenu(), "Count");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(FromWxId(entry->GetId()), 33027);

  wxCommandEvent event(wxEVT_MENU, entry->GetId());
  event.SetEventObject(query);
  query->ProcessWindowEvent(event);
  EXPECT_EQ(query->GetEdit()->GetValue().utf8_string(), "-- count\r\nSELECT COUNT(*)\r\nFROM t ");
}

}  // namespace
}  // namespace dossel::test
