// The main window shell: menus, toolbar, pane switching by real key presses,
// query files, the about box and closing.

#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/filename.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/about_dlg.h"
#include "app/connect_dlg.h"
#include "app/dossel_doc.h"
#include "file_size_limit.h"
#include "frame_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

std::vector<std::string> MenuLines(wxMenu* menu) {
  std::vector<std::string> lines;
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator())
      lines.push_back("-");
    else
      lines.push_back(item->GetItemLabel().utf8_string());
  }
  return lines;
}

TEST_F(TextFrameTest, MenusHoldTheirItemsInOrderWithTheirSeparators) {
  wxMenuBar* bar = m_frame->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(bar->GetMenuLabel(0), "&SQL");
  EXPECT_EQ(MenuLines(bar->GetMenu(0)),
            (std::vector<std::string>{"&Connect\tCtrl+E", "&Disconnect\tCtrl+D", "&Execute\tF4", "C&ancel\tAlt+Pause",
                                      "Re&fresh Names", "-", "&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S",
                                      "Save &As...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-",
                                      "Recent Files", "-", "E&xit"}));
  EXPECT_EQ(MenuLines(bar->GetMenu(1)),
            (std::vector<std::string>{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-",
                                      "&Select All\tCtrl+A", "Clear A&ll", "-", "&Find...\tCtrl+F", "F&ind Next\tF3",
                                      "R&eplace...\tCtrl+H", "-", "&Go To...\tCtrl+G"}));
  EXPECT_EQ(MenuLines(bar->GetMenu(2)),
            (std::vector<std::string>{"&Toolbar", "&Status Bar", "-", "&Query\tF5", "&Result\tF6", "Tr&ace\tF7",
                                      "&Schema\tF8", "-", "&History...\tCtrl+R", "&Options\tF9", "ODBC &Info\tF10", "-",
                                      "&Word Wrap", "&Font...", "-", "&About Dossel"}));
  // Prompts come from the string table.
  EXPECT_EQ(bar->FindItem(ToWxId(ID_SQL_EXECUTE))->GetHelp(), "Execute Query");
}

TEST_F(TextFrameTest, ToolbarButtonsInOrderWithTooltips) {
  wxToolBar* toolbar = m_frame->GetToolBar();
  const int expected[] = {ID_FILE_NEW,    ID_FILE_OPEN,   ID_FILE_SAVE,  -1,
                          ID_EDIT_CUT,    ID_EDIT_COPY,   ID_EDIT_PASTE, -1,
                          ID_VIEW_QUERY,  ID_VIEW_RESULT, ID_VIEW_TRACE, ID_VIEW_SCHEMA,
                          ID_SQL_EXECUTE, ID_SQL_CANCEL};
  ASSERT_EQ(toolbar->GetToolsCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const wxToolBarToolBase* tool = toolbar->GetToolByPos(static_cast<int>(i));
    if (expected[i] == -1)
      EXPECT_TRUE(tool->IsSeparator()) << i;
    else
      EXPECT_EQ(FromWxId(tool->GetId()), expected[i]) << i;
  }
  EXPECT_EQ(toolbar->FindById(ToWxId(ID_SQL_EXECUTE))->GetShortHelp(), "Execute");
  EXPECT_EQ(m_frame->GetStatusBar()->GetFieldsCount(), 4);
}

// Cancels the first modal dialog of type T once it is shown, checking every
// 20 ms; timers also fire inside a dialog's own event loop.
template <typename T>
class ModalCloser : public wxTimer {
 public:
  ModalCloser() { Start(20); }
  void Notify() override {
    for (wxWindow* window : wxTopLevelWindows)
      if (auto* dialog = dynamic_cast<T*>(window); dialog && dialog->IsModal()) {
        seen = true;
        dialog->EndModal(wxID_CANCEL);
        Stop();
        return;
      }
  }
  bool seen = false;
};

class KeyTest : public TextFrameTest {
 protected:
  void Press(int key, int modifiers = wxMOD_NONE) {
    m_frame->Raise();
    m_frame->GetActivePane()->FocusWindow()->SetFocus();
    Pump(30);
    wxUIActionSimulator simulator;
    simulator.Char(key, modifiers);
    Pump(60);
  }
  bool Checked(int command) {
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    return m_frame->GetMenuBar()->IsChecked(ToWxId(command));
  }
};

TEST_F(KeyTest, FunctionKeysSwitchPanesAndSchemaWaitsForAConnection) {
  Press(WXK_F6);
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  EXPECT_TRUE(m_frame->ResultView()->IsShown());
  EXPECT_FALSE(m_frame->QueryView()->IsShown());
  EXPECT_TRUE(Checked(ID_VIEW_RESULT));
  EXPECT_FALSE(Checked(ID_VIEW_QUERY));
  EXPECT_EQ(FromWxId(m_frame->ResultView()->GetId()), AFX_IDW_PANE_FIRST);
  Press(WXK_F6);
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
  Press(WXK_F7);
  EXPECT_EQ(m_frame->GetCurrentPane(), 2);
  Press(WXK_F8);  // disabled while disconnected
  EXPECT_EQ(m_frame->GetCurrentPane(), 2);
  Press(WXK_F5);
  EXPECT_EQ(m_frame->GetCurrentPane(), 0);
}

TEST_F(KeyTest, ConnectExecuteAndCancelFromTheKeyboard) {
  // Ctrl+E opens the Connect dialog; close it again.
  ModalCloser<CConnectDlg> closer;
  Press('E', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return closer.seen; }, 3000));

  const std::string database = m_folder.File("k.db");
  RunSqlite(database, "create table t(a); insert into t values (1)");
  ASSERT_TRUE(ConnectTo("DSN=Keys;Database=" + database));
  Press(WXK_F8);
  EXPECT_EQ(m_frame->GetCurrentPane(), 3);
  Press(WXK_F5);
  m_frame->QueryView()->SetQueryText(DT(
      "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c"));
  Press(WXK_F4);
  EXPECT_TRUE(m_frame->Session().IsExecuting());
  Press(WXK_PAUSE, wxMOD_ALT);
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->Session().IsExecuting(); }, 5000));
  EXPECT_TRUE(Trace().ends_with("Query canceled.\r\n\r\n"));
  EXPECT_EQ(m_frame->GetCurrentPane(), 1);
}

TEST_F(TextFrameTest, QueryFileRoundTripsByteForByte) {
  const std::string path = m_folder.File("script.sql");
  const std::string bytes = "select 1;\r\n-- caf\xC3\xA9\r\nselect 2\n\tend";
  std::ofstream(path, std::ios::binary) << bytes;
  ASSERT_TRUE(m_frame->OpenDocumentFile(path));
  EXPECT_FALSE(m_frame->GetDocument()->IsModified());
  const std::string copy = m_folder.File("copy.sql");
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(copy, m_frame));
  EXPECT_EQ(ReadFile(copy), bytes);
  EXPECT_EQ(m_frame->GetTitle(), "script.sql - Dossel");

  // A file that is not UTF-8 comes back unchanged too.
  const std::string latin = m_folder.File("latin.sql");
  const std::string latinBytes = "select 'd\xE9j\xE0 vu'\r\n";
  std::ofstream(latin, std::ios::binary) << latinBytes;
  ASSERT_TRUE(m_frame->OpenDocumentFile(latin));
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(copy, m_frame));
  EXPECT_EQ(ReadFile(copy), latinBytes);
}

// The Recent Files submenu of the SQL menu.
wxMenu* RecentMenu(CMainFrame* frame) {
  for (wxMenuItem* item : frame->GetMenuBar()->GetMenu(0)->GetMenuItems())
    if (item->GetItemLabelText() == "Recent Files") return item->GetSubMenu();
  return nullptr;
}

TEST_F(TextFrameTest, RecentFilesSurviveTheFrame) {
  const std::string first = m_folder.File("first.sql"), second = m_folder.File("second.sql");
  std::ofstream(first) << "select 1";
  std::ofstream(second) << "select 2";
  ASSERT_TRUE(m_frame->OpenDocumentFile(first));
  ASSERT_TRUE(m_frame->OpenDocumentFile(second));
  m_frame->Destroy();
  Pump(20);
  m_frame = new CMainFrame();
  wxMenu* recent = RecentMenu(m_frame);
  ASSERT_NE(recent, nullptr);
  ASSERT_EQ(recent->GetMenuItemCount(), 2u);
  EXPECT_NE(recent->FindItemByPosition(0)->GetItemLabel().Find("second.sql"), wxNOT_FOUND);
  EXPECT_NE(recent->FindItemByPosition(1)->GetItemLabel().Find("first.sql"), wxNOT_FOUND);
}

// The names in the Recent Files submenu, newest first.
std::vector<std::string> RecentFiles(CMainFrame* frame) {
  std::vector<std::string> names;
  wxMenu* recent = RecentMenu(frame);
  if (!recent) return {"no Recent Files menu"};
  for (wxMenuItem* item : recent->GetMenuItems())
    names.push_back(wxFileName(item->GetItemLabelText().AfterFirst(' ')).GetFullName().utf8_string());
  return names;
}

TEST_F(TextFrameTest, AFileThatFailsToOpenTakesOnlyItsOwnRecentEntry) {
  const std::string first = m_folder.File("first.sql"), second = m_folder.File("second.sql");
  std::ofstream(first) << "select 1";
  std::ofstream(second) << "select 2";
  ASSERT_TRUE(m_frame->OpenDocumentFile(first));
  ASSERT_TRUE(m_frame->OpenDocumentFile(second));
  ASSERT_EQ(RecentFiles(m_frame), (std::vector<std::string>{"second.sql", "first.sql"}));

  const std::string missing = m_folder.File("missing.sql");
  EXPECT_FALSE(m_frame->OpenDocumentFile(missing));
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], FromUtf8("Cannot open the file " + missing + "."));
  EXPECT_EQ(RecentFiles(m_frame), (std::vector<std::string>{"second.sql", "first.sql"}));

  // A listed file that has gone leaves the list, and only it.
  std::remove(first.c_str());
  EXPECT_FALSE(m_frame->OpenDocumentFile(first));
  EXPECT_EQ(RecentFiles(m_frame), std::vector<std::string>{"second.sql"});
}

TEST_F(TextFrameTest, SavingReplacesTheFileWholeOrLeavesItUntouched) {
  const std::string path = m_folder.File("script.sql");
  const std::string original = "select 'original'\n";
  std::ofstream(path, std::ios::binary) << original;
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(m_frame->OpenDocumentFile(path));
  const std::string longer = std::string(64 * 1024, 'x') + "\n";
  m_frame->QueryView()->SetQueryText(FromUtf8(longer));
  m_frame->QueryView()->GetEdit()->MarkDirty();

  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(m_frame->GetDocument()->OnSaveDocument(path, m_frame));
  }
  EXPECT_TRUE(ReadFile(path) == original) << "the original was changed";
  ASSERT_EQ(m_ui.texts.size(), 1u);
  const std::string said = ToUtf8(m_ui.texts[0]);
  EXPECT_EQ(said, "Cannot save the file " + path + ".\r\n" + std::strerror(EFBIG));
  EXPECT_TRUE(m_frame->GetDocument()->IsModified());
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(m_folder.File("")))
    if (!entry.path().filename().string().starts_with("registry")) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"script.sql"}) << "no temporary file is left behind";

  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(path, m_frame));
  EXPECT_TRUE(ReadFile(path) == longer);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // Saved through a link, the link stays and its target gets the text.
  const std::string link = m_folder.File("link.sql");
  ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
  m_frame->QueryView()->SetQueryText(DT("select 'through the link'"));
  ASSERT_TRUE(m_frame->GetDocument()->OnSaveDocument(link, m_frame));
  EXPECT_EQ(ReadFile(path), "select 'through the link'");
  struct stat linkInfo {};
  ASSERT_EQ(::lstat(link.c_str(), &linkInfo), 0);
  EXPECT_TRUE(S_ISLNK(linkInfo.st_mode));
}

TEST_F(TextFrameTest, AboutBoxShowsTheVersion) {
  CAboutDlg about(m_frame);
  auto* version = dynamic_cast<wxStaticText*>(about.FindWindow(IDC_ABOUT_VERSION));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->GetLabel(), "Dossel 2.8");
  EXPECT_EQ(about.GetTitle(), "About Dossel");
}

TEST_F(TextFrameTest, ClosingWhileAQueryRunsAsksToCancelAndWaits) {
  const std::string database = m_folder.File("c.db");
  RunSqlite(database, "create table t(a)");
  ASSERT_TRUE(ConnectTo("DSN=Close;Database=" + database));
  m_frame->QueryView()->SetQueryText(DT(
      "with recursive c(x) as (select 1 union all select x + 1 from c where x < 2000000000) select count(*) from c"));
  m_frame->QueryView()->GetEdit()->DiscardEdits();
  m_frame->Execute();
  Pump(100);
  m_ui.answer = kIdYes;
  m_frame->Close();  // disconnect asks, the connection thread stops, the frame goes
  ASSERT_EQ(m_ui.texts.size(), 1u);
  EXPECT_EQ(m_ui.texts[0], DT("A query is in progress.\r\nCancel the query?"));
  Pump(50);
  m_frame = new CMainFrame();  // for TearDown
}

}  // namespace
}  // namespace dossel::test
