// The handheld options sheet (the desktop's pages and Export) and an export
// that takes the Export page's stored choices and asks only for the name.

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "ce/export_page.h"
#include "ce_test_fixture.h"
#include "dialog_test_support.h"
#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "result/export_choices.h"
#include "result/wx/export_dlg.h"
#include "result/wx/export_panel.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

void Click(wxWindow* button) {
  wxCommandEvent event(button->IsKindOf(wxCLASSINFO(wxRadioButton)) ? wxEVT_RADIOBUTTON : wxEVT_BUTTON,
                       button->GetId());
  event.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(event);
}

TEST_F(CeGridFrameTest, TheOptionsSheetHasTheDesktopPagesAndExportFifthAndLast) {
  std::vector<std::string> titles;
  WhenModal<COptionsSheet>([&](COptionsSheet& sheet) {
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    for (size_t i = 0; i < book->GetPageCount(); ++i) titles.push_back(book->GetPageText(i).utf8_string());
    // The Connections page carries the handheld's numbers.
    for (int id : {1008, 1029, 153}) EXPECT_NE(book->GetPage(0)->FindWindow(id), nullptr) << id;
    EXPECT_EQ(book->GetPage(0)->FindWindow(int(CConnectionsPage::kIdLoginTimeout)), nullptr);
    // The Export page takes tags without a header; OK stores them though
    // the page is not the active one.
    auto* page = dynamic_cast<CExportPage*>(book->GetPage(book->GetPageCount() - 1));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetId(), 132);
    page->GetPanel()->SetMode(ExportMode::Tagged);
    static_cast<wxCheckBox*>(page->FindWindow(IDC_EXPORT_HEADER))->SetValue(false);
    Click(sheet.FindWindow(wxID_OK));
  });
  ASSERT_TRUE(SendCommand(m_frame, ID_CE_VIEW_OPTIONS));
  EXPECT_EQ(titles, (std::vector<std::string>{"Connections", "Script", "Template", "Schema", "Export"}));
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimit"), 0), 1);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Header"), 1), 0);
  EXPECT_EQ(KeyReadInteger(HKEY_LOCAL_MACHINE, kOptionsKey, DT("QueryTimeOut"), -1), 0);
}

TEST_F(CeGridFrameTest, CancellingTheSheetKeepsTheStoredExportChoices) {
  KeyWriteString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimiter"), DT("Pipe Delimited"));
  WhenModal<COptionsSheet>([&](COptionsSheet& sheet) {
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    auto* page = dynamic_cast<CExportPage*>(book->GetPage(book->GetPageCount() - 1));
    ASSERT_NE(page, nullptr);
    auto* delimiter = static_cast<wxComboBox*>(page->FindWindow(IDC_EXPORT_DELIMITER));
    EXPECT_EQ(delimiter->GetValue(), "Pipe Delimited");
    delimiter->SetValue("Tab Delimited");
  });
  ASSERT_TRUE(SendCommand(m_frame, ID_CE_VIEW_OPTIONS));
  TString stored;
  KeyReadString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimiter"), DT(""), stored);
  EXPECT_EQ(stored, DT("Pipe Delimited"));
}

TEST_F(CeGridFrameTest, ExportAsksOnlyForTheNameAndTakesTheStoredChoices) {
  const std::string database = m_folder.File("shop.db");
  RunSqlite(database, "create table t(a text, b integer); insert into t values ('x', 1), ('caf\xC3\xA9', 2);");
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + database));
  Run("select a, b from t order by b");
  KeyWriteString(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Delimiter"), DT("Pipe Delimited"));
  KeyWriteInteger(HKEY_LOCAL_MACHINE, kExportSettingsKey, DT("Header"), 0);

  const std::string path = m_folder.File("out.txt");
  int asked = 0;
  CExportDlg::SetModalHook([&](CExportDlg& dialog) {
    ++asked;
    EXPECT_EQ(dialog.GetPanel(), nullptr);
    dialog.SetChosenFile(FromUtf8(path), 0);
    return static_cast<int>(wxID_OK);
  });
  m_frame->SwitchPane(1);
  SendCommand(m_frame, ID_FILE_SAVE_AS);
  CExportDlg::SetModalHook({});
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(ReadFile(path), "1|x|1\n2|caf\xC3\xA9|2");
}

}  // namespace
}  // namespace dossel::test
