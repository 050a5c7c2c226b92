// Where the keyboard goes: the pane that F5 to F8, the View menu or the
// toolbar shows takes the keyboard focus, and the Connect dialog gives it
// back to the pane that had it. Checked with real key presses.

#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "app/connect_dlg.h"
#include "app/data_source_chooser.h"
#include "frame_fixture.h"
#include "res/command_ids.h"
#include "schema/wx/schema_view.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

// Fills the Connect dialog once it is modal and presses Enter in it (its
// default button is OK), as a user would, after the frame behind it lost its
// focus; checks every 20 ms, and timers
// also fire inside the dialog's own event loop.
class ConnectDialogFiller : public wxTimer {
 public:
  ConnectDialogFiller(std::string dsn, std::string database) : m_dsn(std::move(dsn)), m_database(std::move(database)) {
    Start(20);
  }
  void Notify() override {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* dialog = dynamic_cast<CConnectDlg*>(window);
      if (!dialog || !dialog->IsModal()) continue;
      Stop();
      seen = true;
      // A frame can come back from a modal dialog with no focused window: one
      // disabled and enabled again (as a window disabler or an owned prompt
      // does) has none, measured here.
      dialog->GetParent()->Disable();
      dialog->GetParent()->Enable();
      dynamic_cast<wxComboBox*>(dialog->FindWindow(CConnectDlg::kIdDsn))->SetValue(m_dsn);
      auto* database = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(CConnectDlg::kIdDatabase));
      database->SetValue(m_database);
      database->SetFocus();
      wxTheApp->Yield(true);
      wxUIActionSimulator().Char(WXK_RETURN);
      return;
    }
  }
  bool seen = false;

 private:
  std::string m_dsn;
  std::string m_database;
};

class FocusTest : public TextFrameTest {
 protected:
  void Press(int key, int modifiers = wxMOD_NONE) {
    wxUIActionSimulator().Char(key, modifiers);
    Pump(60);
  }
  void Type(const char* text) {
    wxUIActionSimulator().Text(text);
    Pump(60);
  }
  std::string Text(CEditPane* pane) { return pane->GetEdit()->GetValue().utf8_string(); }
  void Command(wxEventType type, int id) {
    wxCommandEvent event(type, ToWxId(id));
    event.SetEventObject(type == wxEVT_TOOL ? static_cast<wxObject*>(m_frame->GetToolBar()) : m_frame);
    m_frame->ProcessWindowEvent(event);
    Pump(30);
  }
};

TEST_F(FocusTest, KeysReachThePaneAfterTheConnectDialogAndAfterEverySwitch) {
  const std::string database = m_folder.File("focus.db");
  RunSqlite(database, "create table t(a)");
  m_frame->Raise();
  Pump(50);
  Type("select a");

  ConnectDialogFiller filler("Focus", database);
  Press('E', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return filler.seen && m_frame->Session().IsConnected(); }, 5000)) << "not connected";
  Pump(100);
  Type(" from t");
  EXPECT_EQ(Text(m_frame->QueryView()), "select a from t") << "the Connect dialog gives the focus back";

  // Function keys, to another pane and to the pane already shown.
  Press(WXK_F7);
  ASSERT_EQ(m_frame->GetCurrentPane(), 2);
  const std::string trace = Text(m_frame->TraceView());
  Type("#");
  EXPECT_EQ(Text(m_frame->TraceView()), trace + "#");
  Press(WXK_F5);
  Type(" where a");
  EXPECT_EQ(Text(m_frame->QueryView()), "select a from t where a");
  m_frame->Disable();  // drops the focus
  m_frame->Enable();
  Pump(30);
  Press(WXK_F5);
  Type(" = 1");
  EXPECT_EQ(Text(m_frame->QueryView()), "select a from t where a = 1");

  // The View menu and the toolbar.
  Command(wxEVT_MENU, ID_VIEW_TRACE);
  EXPECT_EQ(wxWindow::FindFocus(), m_frame->TraceView()->GetEdit());
  Command(wxEVT_TOOL, ID_VIEW_QUERY);
  EXPECT_EQ(wxWindow::FindFocus(), m_frame->QueryView()->GetEdit());
  Type(";");
  EXPECT_EQ(Text(m_frame->QueryView()), "select a from t where a = 1;");
  Command(wxEVT_TOOL, ID_VIEW_SCHEMA);
  EXPECT_EQ(wxWindow::FindFocus(), m_frame->SchemaView()->FocusWindow());
}

TEST_F(FocusTest, ACancelledConnectDialogGivesTheFocusBack) {
  m_frame->SwitchPane(2);
  m_frame->Raise();
  Pump(50);
  Press(WXK_F7);
  const std::string trace = Text(m_frame->TraceView());
  bool seen = false;
  wxTimer closer;
  closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (wxWindow* window : wxTopLevelWindows)
      if (auto* dialog = dynamic_cast<CConnectDlg*>(window); dialog && dialog->IsModal()) {
        closer.Stop();
        seen = true;
        m_frame->Disable();
        m_frame->Enable();
        wxUIActionSimulator().Char(WXK_ESCAPE);
      }
  });
  closer.Start(20);
  Press('E', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return seen; }, 3000));
  Pump(100);
  Type("typed");
  EXPECT_EQ(Text(m_frame->TraceView()), trace + "typed");
}

// Ctrl+T: the driver manager's chooser disables the frame while it is open.
TEST_F(FocusTest, KeysReachThePaneAfterConnectingThroughTheChooser) {
  const std::string database = m_folder.File("chosen.db");
  RunSqlite(database, "create table t(a)");
  DosselOdbcSetPromptHandler(DataSourcePrompt);
  m_frame->Raise();
  Pump(50);
  Type("select a");
  bool seen = false;
  wxTimer opener;
  opener.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (wxWindow* window : wxTopLevelWindows)
      if (auto* dialog = dynamic_cast<CDataSourceChooserDlg*>(window); dialog && dialog->IsModal()) {
        opener.Stop();
        seen = true;
        // As the file dialog does, a window of its own takes the keyboard
        // and is gone before the chooser closes.
        dialog->SetFilePicker([&](wxWindow* parent, TString& path) {
          wxFileDialog files(parent, "Open");
          wxTheApp->CallAfter([&files] {
            wxMilliSleep(200);
            files.EndModal(wxID_OK);
          });
          files.ShowModal();
          path = FromUtf8(database);
          return true;
        });
        wxCommandEvent click(wxEVT_BUTTON, CDataSourceChooserDlg::kIdOpenFile);
        dialog->GetEventHandler()->ProcessEvent(click);
      }
  });
  opener.Start(20);
  Press('T', wxMOD_CONTROL);
  const bool connected = PumpUntil([&] { return seen && m_frame->Session().IsConnected(); }, 5000);
  DosselOdbcSetPromptHandler(nullptr);
  ASSERT_TRUE(connected) << Trace();
  Pump(100);
  Type(" from t");
  EXPECT_EQ(Text(m_frame->QueryView()), "select a from t");
}

}  // namespace
}  // namespace dossel::test
