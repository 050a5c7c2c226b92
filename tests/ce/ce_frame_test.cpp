// The frame of the handheld edition: its menus, command bar and keys, its
// command identifiers reaching the desktop handlers, what it leaves out,
// its recent files, its Font command, its schema root, and non-ASCII SQL
// through the wide ODBC calls.

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>

#include <fstream>
#include <set>

#include "app/connect_dlg.h"
#include "app/dossel_doc.h"
#include "app/recent_file_items.h"
#include "ce/ce_property_sheet.h"
#include "ce/choose_font_page.h"
#include "ce/font_size.h"
#include "ce_test_fixture.h"
#include "command_rows.h"
#include "options/options_sheet.h"
#include "res/command_ids.h"
#include "schema/wx/schema_view.h"
#include "settings/dsn_settings.h"
#include "settings/font_setting.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

std::vector<std::string> MenuLines(wxMenu* menu) {
  std::vector<std::string> lines;
  for (wxMenuItem* item : menu->GetMenuItems())
    lines.push_back(item->IsSeparator() ? std::string("-") : item->GetItemLabel().utf8_string());
  return lines;
}

TEST_F(CeFrameTest, MenusHoldTheHandheldCommandsWithoutKeyHints) {
  wxMenuBar* bar = m_frame->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 2u);
  wxMenu* sql = bar->GetMenu(0);
  EXPECT_EQ(MenuLines(sql), (std::vector<std::string>{"&Connect", "&Disconnect", "&Execute", "C&ancel", "-", "&File",
                                                      "Ed&it", "-", "Recent File", "-", "E&xit"}));
  EXPECT_EQ(MenuLines(sql->FindItemByPosition(5)->GetSubMenu()),
            (std::vector<std::string>{"&New", "&Open...", "&Save", "Save &As..."}));
  EXPECT_EQ(MenuLines(sql->FindItemByPosition(6)->GetSubMenu()),
            (std::vector<std::string>{"&Undo", "-", "Cu&t", "&Copy", "&Paste", "-", "&Select All", "Clear A&ll", "-",
                                      "&Find...", "F&ind Next", "R&eplace...", "-", "&Go To..."}));
  EXPECT_EQ(MenuLines(bar->GetMenu(1)),
            (std::vector<std::string>{"&Query", "&Result", "&Trace", "&Schema", "-", "&History...", "&Options", "-",
                                      "Word &Wrap", "&Font...", "-", "&About Dossel"}));
  for (int id : {ID_CE_SQL_CONNECT, ID_CE_SQL_DISCONNECT, ID_CE_VIEW_TRACE, ID_CE_VIEW_OPTIONS, ID_CE_VIEW_WORD_WRAP,
                 ID_CE_VIEW_FONT, ID_EDIT_GOTO})
    EXPECT_NE(bar->FindItem(ToWxId(id)), nullptr) << id;
  for (int id : {ID_SQL_CONNECT, ID_SQL_DISCONNECT, ID_VIEW_TRACE, ID_VIEW_OPTIONS, ID_VIEW_ODBC_INFO, ID_FILE_PRINT,
                 ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
    EXPECT_EQ(bar->FindItem(ToWxId(id)), nullptr) << id;
  // Prompts are those of the desktop commands the items stand for.
  EXPECT_EQ(bar->FindItem(ToWxId(ID_CE_VIEW_TRACE))->GetHelp(), "Show Trace");
}

TEST_F(CeFrameTest, TheFramesItemsAndButtonsShowTheirRows) {
  const std::set<int> shown = ExpectRowsOfFrame(m_frame);
  // The commands it numbers otherwise are there, under their own numbers.
  for (int command :
       {ID_SQL_CONNECT, ID_SQL_DISCONNECT, ID_VIEW_TRACE, ID_VIEW_OPTIONS, ID_VIEW_WORD_WRAP, ID_VIEW_FONT})
    EXPECT_TRUE(shown.count(command)) << command;
  EXPECT_FALSE(shown.count(ID_VIEW_ODBC_INFO));
}

TEST_F(CeFrameTest, TheCommandBarHasASeparatorThenSixPlainButtonsAndThereIsNoStatusBar) {
  wxToolBar* bar = m_frame->GetToolBar();
  ASSERT_NE(bar, nullptr);
  const int expected[] = {-1,           ID_VIEW_QUERY, ID_VIEW_RESULT, ID_CE_VIEW_TRACE, ID_VIEW_SCHEMA, ID_SQL_EXECUTE,
                          ID_SQL_CANCEL};
  ASSERT_EQ(bar->GetToolsCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
    if (expected[i] == -1) {
      EXPECT_TRUE(tool->IsSeparator());
      continue;
    }
    EXPECT_EQ(FromWxId(tool->GetId()), expected[i]) << i;
    EXPECT_EQ(tool->GetKind(), wxITEM_NORMAL) << i;
    EXPECT_TRUE(tool->IsEnabled() || expected[i] != ID_VIEW_QUERY) << i;
  }
  EXPECT_EQ(bar->FindById(ToWxId(ID_CE_VIEW_TRACE))->GetShortHelp(), "Trace");
  EXPECT_EQ(m_frame->GetStatusBar(), nullptr);
}

TEST_F(CeFrameTest, OnlyTheSevenControlKeysAreAcceleratorsAndTheLeftOutCommandsAreNotThere) {
  std::string keys;
  for (const AcceleratorEntry& entry : Edition().Accelerators()) {
    EXPECT_EQ(entry.modifiers, kAccelCtrl);
    keys += static_cast<char>(entry.key);
  }
  EXPECT_EQ(keys, "CNOSVXZ");
  // Connecting through the chooser (Ctrl+T on the desktop), printing, the
  // driver information and the bar toggles have no handler at all.
  for (int id : {ID_SQL_CONNECT_DATA_SOURCE, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_VIEW_TOOLBAR,
                 ID_VIEW_STATUS_BAR})
    EXPECT_FALSE(SendCommand(m_frame, id)) << id;
  EXPECT_FALSE(m_frame->Session().IsConnected());
}

TEST_F(CeFrameTest, TheHandheldIdentifiersReachTheDesktopHandlers) {
  const std::string database = m_folder.File("shop.db");
  RunSqlite(database, "create table t(a text);");
  DsnSettings shop;
  shop.database = FromUtf8(database);
  SaveDsnSettings(DT("Shop"), shop);
  // Connect (32777) opens the Connect dialog, with the handheld's control numbers.
  {
    ModalAnswer answer([&](wxDialog* dialog) {
      EXPECT_NE(dynamic_cast<CConnectDlg*>(dialog), nullptr);
      for (int id : {1015, 1016, 1017, 1018, 1019, 1020, 154}) EXPECT_NE(dialog->FindWindow(id), nullptr) << id;
      for (int id : {int(CConnectDlg::kIdDsn), int(CConnectDlg::kIdDatabase), int(CConnectDlg::kIdBrowse)})
        EXPECT_EQ(dialog->FindWindow(id), nullptr) << id;
      EXPECT_FALSE(dialog->FindWindow(1020)->IsShown());
      // Choosing a data source shows its database: the handler follows the numbers.
      dialog->TransferDataToWindow();
      auto* combo = static_cast<wxComboBox*>(dialog->FindWindow(1017));
      combo->SetSelection(combo->FindString("Shop"));
      wxCommandEvent chosen(wxEVT_COMBOBOX, 1017);
      chosen.SetEventObject(combo);
      combo->ProcessWindowEvent(chosen);
      EXPECT_EQ(static_cast<wxTextCtrl*>(dialog->FindWindow(1015))->GetValue(), ToWx(shop.database));
      return wxID_CANCEL;
    });
    EXPECT_TRUE(SendCommand(m_frame, ID_CE_SQL_CONNECT));
    EXPECT_EQ(answer.count, 1);
  }
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + database));
  EXPECT_FALSE(CommandState(m_frame, ID_CE_SQL_CONNECT).first);
  EXPECT_TRUE(CommandState(m_frame, ID_CE_SQL_DISCONNECT).first);

  // Trace (32779) shows the trace pane and is checked there.
  EXPECT_TRUE(SendCommand(m_frame, ID_CE_VIEW_TRACE));
  EXPECT_EQ(m_frame->GetCurrentPane(), 2);
  EXPECT_TRUE(CommandState(m_frame, ID_CE_VIEW_TRACE).second);

  // Options (32811) opens the options sheet.
  {
    ModalAnswer answer([](wxDialog* dialog) {
      EXPECT_NE(dynamic_cast<COptionsSheet*>(dialog), nullptr);
      return wxID_CANCEL;
    });
    EXPECT_TRUE(SendCommand(m_frame, ID_CE_VIEW_OPTIONS));
    EXPECT_EQ(answer.count, 1);
  }

  // Disconnect (32778).
  EXPECT_TRUE(SendCommand(m_frame, ID_CE_SQL_DISCONNECT));
  EXPECT_FALSE(m_frame->Session().IsConnected());
}

TEST_F(CeFrameTest, WordWrapWorksOnlyWhileTheTracePaneIsActive) {
  m_frame->SwitchPane(0);
  EXPECT_FALSE(CommandState(m_frame, ID_CE_VIEW_WORD_WRAP).first);
  const bool queryWrap = m_frame->QueryView()->IsWordWrap();
  SendCommand(m_frame, ID_CE_VIEW_WORD_WRAP);
  EXPECT_EQ(m_frame->QueryView()->IsWordWrap(), queryWrap);

  m_frame->SwitchPane(1);
  EXPECT_FALSE(CommandState(m_frame, ID_CE_VIEW_WORD_WRAP).first);

  m_frame->SwitchPane(2);
  EXPECT_TRUE(CommandState(m_frame, ID_CE_VIEW_WORD_WRAP).first);
  const bool traceWrap = m_frame->TraceView()->IsWordWrap();
  SendCommand(m_frame, ID_CE_VIEW_WORD_WRAP);
  EXPECT_NE(m_frame->TraceView()->IsWordWrap(), traceWrap);
  EXPECT_EQ(CommandState(m_frame, ID_CE_VIEW_WORD_WRAP).second, !traceWrap);
}

// The recent-file entries between the Edit submenu's separator and the one before Exit.
std::vector<std::string> RecentEntries(CMainFrame* frame) {
  std::vector<std::string> entries;
  wxMenu* sql = frame->GetMenuBar()->GetMenu(0);
  for (size_t i = 8; i < sql->GetMenuItemCount() && !sql->FindItemByPosition(i)->IsSeparator(); ++i)
    entries.push_back(sql->FindItemByPosition(i)->GetItemLabel().utf8_string());
  return entries;
}

TEST_F(CeFrameTest, RecentFilesAreNumberedItemsInPlaceOfTheRecentFileItem) {
  EXPECT_EQ(RecentEntries(m_frame), std::vector<std::string>{"Recent File"});
  EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(ToWxId(ID_FILE_MRU_FILE1))->IsEnabled());
  const std::string first = m_folder.File("first.sql"), second = m_folder.File("a&b.sql");
  std::ofstream(first) << "select 1";
  std::ofstream(second) << "select 2";
  ASSERT_TRUE(m_frame->OpenDocumentFile(first));
  ASSERT_TRUE(m_frame->OpenDocumentFile(second));
  EXPECT_EQ(RecentEntries(m_frame), (std::vector<std::string>{"&1 a&&b.sql", "&2 first.sql"}));

  // The list comes back with the next frame, and its items open the files.
  m_frame->Destroy();
  Pump(20);
  m_frame = new CMainFrame();
  EXPECT_EQ(RecentEntries(m_frame), (std::vector<std::string>{"&1 a&&b.sql", "&2 first.sql"}));
  EXPECT_TRUE(SendCommand(m_frame, ID_FILE_MRU_FILE1 + 1));
  EXPECT_EQ(m_frame->GetDocument()->GetPathName(), wxString::FromUTF8(first));
  EXPECT_EQ(RecentEntries(m_frame), (std::vector<std::string>{"&1 first.sql", "&2 a&&b.sql"}));

  // The tenth entry would be numbered 0.
  EXPECT_EQ(RecentFileCaption(9, DT("x.sql")), DT("&0 x.sql"));
  EXPECT_EQ(RecentFileCaption(0, DT("x.sql")), DT("&1 x.sql"));
}

TEST_F(CeFrameTest, TheFontCommandChoosesWithTheHandheldPageAndStoresThePanesFont) {
  int pixelsPerInch = 0;
  ModalAnswer answer([&](wxDialog* dialog) {
    auto* sheet = dynamic_cast<CCePropertySheet*>(dialog);
    EXPECT_NE(sheet, nullptr);
    if (!sheet) return wxID_CANCEL;
    EXPECT_EQ(sheet->GetTitleLine()->GetLabel(), "Choose Font");
    EXPECT_EQ(sheet->GetCommandBar()->GetId(), ToWxId(AFX_IDW_TOOLBAR));
    EXPECT_EQ(sheet->GetBookCtrl()->GetPageCount(), 1u);
    auto* page = dynamic_cast<CChooseFontPage*>(sheet->GetBookCtrl()->GetPage(0));
    EXPECT_NE(page, nullptr);
    if (!page) return wxID_CANCEL;
    pixelsPerInch = page->GetPixelsPerInch();
    static_cast<wxComboBox*>(page->FindWindow(CChooseFontPage::IDC_POINT_SIZE))->SetValue("13");
    auto* bold = static_cast<wxCheckBox*>(page->FindWindow(CChooseFontPage::IDC_BOLD));
    bold->SetValue(true);
    wxCommandEvent click(wxEVT_CHECKBOX, CChooseFontPage::IDC_BOLD);
    click.SetInt(1);
    click.SetEventObject(bold);
    bold->ProcessWindowEvent(click);
    return wxID_OK;
  });
  m_frame->SwitchPane(2);
  ASSERT_TRUE(SendCommand(m_frame, ID_CE_VIEW_FONT));
  ASSERT_EQ(answer.count, 1);
  LOGFONT stored;
  ASSERT_EQ(ReadFontSetting(DT("Software\\Harlune\\Dossel\\Trace\\Font"), stored), 1);
  EXPECT_EQ(stored.lfHeight, ce::HeightFromPoints(13, pixelsPerInch));
  EXPECT_EQ(stored.lfWeight, 700);
  EXPECT_EQ(m_frame->TraceView()->GetPaneFont().GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(m_frame->TraceView()->GetPaneFont().GetPixelSize().GetHeight(), -stored.lfHeight);

  // The schema pane's Font goes the same way (Cancel keeps its font).
  ModalAnswer cancel([](wxDialog* dialog) {
    EXPECT_NE(dynamic_cast<CCePropertySheet*>(dialog), nullptr);
    return wxID_CANCEL;
  });
  EXPECT_TRUE(m_frame->SchemaView()->CanChooseFont());
  m_frame->SchemaView()->ChooseFont();
  EXPECT_EQ(cancel.count, 1);
}

TEST_F(CeFrameTest, TheSchemaRootReadsPocketPC) {
  wxTreeCtrl* tree = m_frame->SchemaView()->GetTree();
  EXPECT_EQ(tree->GetItemText(tree->GetRootItem()), "Pocket PC");
  EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem(), false), 1u);
}

// The child of `item` with that caption, after expanding `item`.
wxTreeItemId ChildNamed(wxTreeCtrl* tree, const wxTreeItemId& item, const std::string& caption) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk(); child = tree->GetNextChild(item, cookie))
    if (tree->GetItemText(child).utf8_string() == caption) return child;
  ADD_FAILURE() << "no child " << caption;
  return {};
}

TEST_F(CeFrameTest, TheSchemaPanesDeleteItemCarriesTheHandheldIdentifier) {
  const std::string database = m_folder.File("shop.db");
  RunSqlite(database, "create table orders(id integer);");
  ASSERT_TRUE(ConnectTo("DSN=Shop;Database=" + database));
  wxTreeCtrl* tree = m_frame->SchemaView()->GetTree();
  const wxTreeItemId root = tree->GetRootItem();
  ExpandAndWait(tree, root);
  wxTreeItemIdValue cookie;
  const wxTreeItemId databaseItem = tree->GetFirstChild(root, cookie);
  ExpandAndWait(tree, databaseItem);
  const wxTreeItemId folder = ChildNamed(tree, databaseItem, "User Tables");
  ASSERT_TRUE(folder.IsOk());
  ExpandAndWait(tree, folder);
  const wxTreeItemId orders = ChildNamed(tree, folder, "orders");
  ASSERT_TRUE(orders.IsOk());
  tree->SelectItem(orders);
  m_frame->SwitchPane(3);

  // The item's command (32785, the desktop's Disconnect) scripts the drop
  // and leaves the connection alone.
  m_ui.answer = kIdCancel;
  wxCommandEvent remove(wxEVT_MENU, ToWxId(ID_CE_SCHEMA_DELETE));
  remove.SetEventObject(m_frame->SchemaView());
  m_frame->SchemaView()->ProcessWindowEvent(remove);
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(ToUtf8(m_ui.texts[0]), "Are you sure?\r\nTo script only, please press Cancel.");
  EXPECT_EQ(ToUtf8(m_frame->QueryView()->GetRunText()), "\r\nDROP TABLE orders;");
  EXPECT_TRUE(m_frame->Session().IsConnected());
}

// Delete carries the desktop's Disconnect number; the frame's rule for
// Disconnect (only while connected) must not grey it.
TEST_F(CeFrameTest, TheSchemaPanesDeleteItemIsOfferedWhileDisconnected) {
  ASSERT_FALSE(m_frame->Session().IsConnected());
  wxMenu menu;
  menu.Append(ToWxId(ID_CE_SCHEMA_DELETE), wxT("&Delete"));
  menu.UpdateUI(m_frame->SchemaView()->GetEventHandler());
  EXPECT_TRUE(menu.IsEnabled(ToWxId(ID_CE_SCHEMA_DELETE)));
  // The menu's own Disconnect still follows the connection.
  EXPECT_FALSE(CommandState(m_frame, ID_CE_SQL_DISCONNECT).first);
}

TEST_F(CeFrameTest, NonAsciiSqlRunsThroughTheWideCalls) {
  const std::string database = m_folder.File("words.db");
  RunSqlite(database, "create table w(v text);");
  ASSERT_TRUE(ConnectTo("DSN=Words;Database=" + database));
  Run("insert into w values ('caf\xC3\xA9 \xE4\xB8\xAD')");
  Run("select v, length(v), hex(v) from w where v like '%\xE4\xB8\xAD'");
  const std::string result = Result();
  EXPECT_NE(result.find("caf\xC3\xA9 \xE4\xB8\xAD\t6\t636166C3A920E4B8AD"), std::string::npos) << result;
}

TEST_F(CeFrameTest, QueryFilesAreUtf16AndFilesOfTheNarrowProgramKeepTheirBytes) {
  const std::string sql = "select 'caf\xC3\xA9 \xE4\xB8\xAD'";
  std::string utf16;
  for (char16_t unit : Utf8ToUtf16(sql)) {
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
  }
  const std::string fresh = m_folder.File("fresh.sql");
  m_frame->QueryView()->SetQueryText(FromUtf8(sql));
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(fresh, m_frame));
  EXPECT_EQ(ReadFile(fresh), utf16);
  m_frame->QueryView()->SetQueryText({});
  ASSERT_TRUE(m_frame->OpenDocumentFile(fresh));
  EXPECT_EQ(ToUtf8(FromWx(m_frame->QueryView()->GetEdit()->GetValue())), sql);
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(fresh, m_frame));
  EXPECT_EQ(ReadFile(fresh), utf16);

  // A file of the narrow program (UTF-8) opens as such and is written back unchanged.
  const std::string narrow = m_folder.File("narrow.sql");
  std::ofstream(narrow) << sql;
  ASSERT_TRUE(m_frame->OpenDocumentFile(narrow));
  EXPECT_EQ(ToUtf8(FromWx(m_frame->QueryView()->GetEdit()->GetValue())), sql);
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(narrow, m_frame));
  EXPECT_EQ(ReadFile(narrow), sql);

  // A new query after that is UTF-16 again.
  SendCommand(m_frame, ID_FILE_NEW);
  m_frame->QueryView()->SetQueryText(FromUtf8(sql));
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(fresh, m_frame));
  EXPECT_EQ(ReadFile(fresh), utf16);
}

}  // namespace
}  // namespace dossel::test
