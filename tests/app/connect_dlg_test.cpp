// The Connect dialog, driven through its controls and real button events.

#include "app/connect_dlg.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdlib>

#include "dialog_test_support.h"
#include "platform/wx/wx_user_interface.h"
#include "settings/dsn_settings.h"
#include "settings/settings_store.h"

namespace dossel::test {
namespace {

class ConnectDlgTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    SaveDsnSettings(DT("Sales"), {DT("/data/sales.db"), 2500, 1});
    SaveDsnSettings(DT("archive"), {DT("/data/archive.db"), 300, 0});
    SaveDsnSettings(DT("Team\\Nested"), {DT("/data/nested.db"), 1000, 0});
  }

  template <typename T>
  T* Control(wxDialog& dialog, int id) {
    return dynamic_cast<T*>(dialog.FindWindow(id));
  }
  void Pick(CConnectDlg& dialog, const wxString& name) {
    auto* combo = Control<wxComboBox>(dialog, CConnectDlg::kIdDsn);
    combo->SetSelection(combo->FindString(name));
    wxCommandEvent event(wxEVT_COMBOBOX, CConnectDlg::kIdDsn);
    event.SetEventObject(combo);
    event.SetInt(combo->GetSelection());
    combo->GetEventHandler()->ProcessEvent(event);
  }
};

TEST_F(ConnectDlgTest, HasTheControlsOfItsTemplate) {
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  EXPECT_EQ(dialog.GetTitle(), "Connect");
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(204, 125)));
  for (int id : {1048, 1040, 1051, 1044, 1054, 1058, 3, int(wxID_OK), int(wxID_CANCEL)})
    EXPECT_NE(dialog.FindWindow(id), nullptr) << id;
  EXPECT_EQ(Control<wxButton>(dialog, 3)->GetLabel(), "&Delete");
  EXPECT_EQ(Control<wxButton>(dialog, CConnectDlg::kIdBrowse)->GetLabel(), "...");
  EXPECT_FALSE(Control<wxCheckBox>(dialog, CConnectDlg::kIdInMemory)->IsShown());
  EXPECT_EQ(dialog.FindWindow(CConnectDlg::kIdLockTimeout)->GetPosition(),
            dialog.ConvertDialogToPixels(wxPoint(77, 41)));
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->GetValue(), "1000");

  // Remembered names, sorted; a name with a backslash is not offered whole.
  const wxArrayString names = Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->GetStrings();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "archive");
  EXPECT_EQ(names[1], "Sales");
  EXPECT_EQ(names[2], "Team");
}

TEST_F(ConnectDlgTest, PickingANameFillsItsValuesANewNameKeepsThem) {
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  Pick(dialog, "Sales");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "/data/sales.db");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->GetValue(), "2500");
  EXPECT_TRUE(Control<wxCheckBox>(dialog, CConnectDlg::kIdStepApi)->GetValue());

  Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->SetValue("Brand new");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "/data/sales.db");
}

TEST_F(ConnectDlgTest, OkRemembersTheValuesAndConnectsWithTheirString) {
  TString connected;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->SetValue("N");
    Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->SetValue("D");
    Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->SetValue("2500");
    Control<wxCheckBox>(dialog, CConnectDlg::kIdStepApi)->SetValue(true);
    Click(dialog, wxID_OK);
  });
  const bool result = RunConnectDialog(nullptr, [&](const TString& connectString) {
    connected = connectString;
    // Remembered before the connect is tried.
    EXPECT_EQ(LoadDsnSettings(DT("N")).database, DT("D"));
    return false;
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(connected, DT("DSN=N;Database=D;Timeout=2500;StepAPI=1"));
  const DsnSettings stored = LoadDsnSettings(DT("N"));
  EXPECT_EQ(stored.lockTimeout, 2500u);
  EXPECT_EQ(stored.stepApi, 1);
  TString name;
  KeyReadString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\DSN\\N"), DT("DSN"), DT(""), name);
  EXPECT_EQ(name, DT("N"));
}

TEST_F(ConnectDlgTest, EmptyDatabaseFieldLeavesTheDataSourcesOwnDatabase) {
  TString connected;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->SetValue("Configured");
    Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->SetValue("");
    Click(dialog, wxID_OK);
  });
  RunConnectDialog(nullptr, [&](const TString& connectString) {
    connected = connectString;
    return false;
  });
  EXPECT_EQ(connected, DT("DSN=Configured;Timeout=1000;StepAPI=1"));
}

// OK right after typing a remembered name, with the focus still in the name
// field, must connect with and keep the name's stored values, not save the
// empty fields over them.
TEST_F(ConnectDlgTest, OkAfterTypingARememberedNameKeepsItsStoredValues) {
  TString typed, set;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    auto* name = Control<wxComboBox>(dialog, CConnectDlg::kIdDsn);
    name->SetFocus();
    wxTheApp->Yield(true);
    wxUIActionSimulator().Text("Sales");
    for (int waited = 0; name->GetValue() != "Sales" && waited < 2000; waited += 10) {
      wxTheApp->Yield(true);
      wxMilliSleep(10);
    }
    EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "/data/sales.db")
        << "the typed name shows its values";
    Click(dialog, wxID_OK);
  });
  RunConnectDialog(nullptr, [&](const TString& connectString) {
    typed = connectString;
    return false;
  });
  EXPECT_EQ(typed, DT("DSN=Sales;Database=/data/sales.db;Timeout=2500;StepAPI=1"));
  EXPECT_EQ(LoadDsnSettings(DT("Sales")).database, DT("/data/sales.db"));

  // A name put in without a text event (no keys at all) is filled at OK:
  // values the user never saw are not saved over.
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->ChangeValue("ARCHIVE");
    Click(dialog, wxID_OK);
  });
  RunConnectDialog(nullptr, [&](const TString& connectString) {
    set = connectString;
    return false;
  });
  EXPECT_NE(set.find(DT("Database=/data/archive.db;Timeout=300;StepAPI=0")), TString::npos) << ToUtf8(set);
  const DsnSettings archive = LoadDsnSettings(DT("archive"));
  EXPECT_EQ(archive.database, DT("/data/archive.db"));
  EXPECT_EQ(archive.lockTimeout, 300u);
  EXPECT_EQ(archive.stepApi, 0);
}

// Step API is checked unless a stored value says otherwise: without it the
// SQLite driver reads a whole result before handing over its first row.
TEST_F(ConnectDlgTest, StepApiIsCheckedUnlessTheNameStoresOtherwise) {
  KeyWriteString(HKEY_LOCAL_MACHINE, DT("Software\\Harlune\\Dossel\\DSN\\Handmade"), DT("Database"),
                 DT("/data/handmade.db"));
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  auto* stepApi = Control<wxCheckBox>(dialog, CConnectDlg::kIdStepApi);
  EXPECT_TRUE(stepApi->GetValue()) << "a new name";
  Pick(dialog, "archive");
  EXPECT_FALSE(stepApi->GetValue()) << "stored as 0";
  Pick(dialog, "Handmade");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "/data/handmade.db");
  EXPECT_TRUE(stepApi->GetValue()) << "stored without a StepAPI value";
}

TEST_F(ConnectDlgTest, BadLockTimeoutKeepsTheDialogOpen) {
  bool stillOpen = false;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->SetValue("X");
    for (const char* bad : {"abc", "-5", "4294967296", ""}) {
      Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->SetValue(bad);
      Click(dialog, wxID_OK);
    }
    stillOpen = dialog.IsModal();
    Click(dialog, wxID_CANCEL);
  });
  EXPECT_FALSE(RunConnectDialog(nullptr, [](const TString&) { return true; }));
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(m_messages.texts.size(), 4u);
  EXPECT_EQ(m_messages.texts[0], DT("Please enter a positive integer."));
  EXPECT_TRUE(ListDsnNames().size() == 3u) << "a cancelled dialog remembers nothing";

  uint32_t value = 0;
  EXPECT_TRUE(ParseUnsignedNumber(" 4294967295 ", value));
  EXPECT_EQ(value, 4294967295u);
}

// A name picked with the mouse leaves GTK's focus on the list's arrow button,
// where Return would open the list again; it must press OK.
TEST_F(ConnectDlgTest, ReturnAfterPickingANameConnects) {
  bool focusInList = false;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    // A button stands in for the arrow, which wx does not expose.
    dialog.FindWindow(CConnectDlg::kIdDelete)->SetFocus();
    Pick(dialog, "Sales");
    wxTheApp->Yield(true);
    const wxWindow* focus = wxWindow::FindFocus();
    focusInList = focus && (focus == dialog.FindWindow(CConnectDlg::kIdDsn) ||
                            focus->GetParent() == dialog.FindWindow(CConnectDlg::kIdDsn));
    wxUIActionSimulator().Char(WXK_RETURN);
    for (int waited = 0; dialog.IsModal() && waited < 2000; waited += 10) {
      wxTheApp->Yield(true);
      wxMilliSleep(10);
    }
  });
  TString used;
  EXPECT_TRUE(RunConnectDialog(nullptr, [&](const TString& connect) {
    used = connect;
    return true;
  }));
  EXPECT_TRUE(focusInList);
  EXPECT_NE(used.find(DT("/data/sales.db")), TString::npos) << ToUtf8(used);
}

// A warning from the dialog must open over it, not behind it on the frame.
TEST_F(ConnectDlgTest, MessagesAreOwnedByTheOpenDialog) {
  wxFrame frame(nullptr, wxID_ANY, "Owner");
  wxTheApp->SetTopWindow(&frame);
  wxWindow* ownerWhileOpen = nullptr;
  wxWindow* dialogShown = nullptr;
  RunModal<CConnectDlg>([&](CConnectDlg& dialog) {
    dialogShown = &dialog;
    ownerWhileOpen = MessageOwner();
  });
  RunConnectDialog(&frame, [](const TString&) { return true; });
  EXPECT_EQ(ownerWhileOpen, dialogShown);
  EXPECT_EQ(MessageOwner(), &frame) << "with no dialog open, the frame";
  wxTheApp->SetTopWindow(nullptr);
}

TEST_F(ConnectDlgTest, DeleteForgetsTheNameAndResetsTheFields) {
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  Pick(dialog, "Sales");
  Control<wxCheckBox>(dialog, CConnectDlg::kIdStepApi)->SetValue(false);
  Click(dialog, CConnectDlg::kIdDelete);
  EXPECT_EQ(ListDsnNames(), (std::vector<TString>{DT("archive"), DT("Team")}));
  EXPECT_EQ(Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->GetCount(), 2u);
  EXPECT_EQ(Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->GetValue(), "");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->GetValue(), "1000");
  EXPECT_TRUE(Control<wxCheckBox>(dialog, CConnectDlg::kIdStepApi)->GetValue()) << "as for any new name";

  // Without a name only the fields are reset.
  Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->SetValue("kept?");
  Click(dialog, CConnectDlg::kIdDelete);
  EXPECT_EQ(ListDsnNames().size(), 2u);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase)->GetValue(), "");

  // A bad time-out is reported, and the deletion still goes on.
  Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->SetValue("ARCHIVE");
  Control<wxTextCtrl>(dialog, CConnectDlg::kIdLockTimeout)->SetValue("soon");
  Click(dialog, CConnectDlg::kIdDelete);
  EXPECT_EQ(m_messages.texts.size(), 1u);
  EXPECT_EQ(ListDsnNames(), std::vector<TString>{DT("Team")});
  EXPECT_EQ(Control<wxComboBox>(dialog, CConnectDlg::kIdDsn)->GetCount(), 1u);
}

TEST_F(ConnectDlgTest, BrowseAndInMemoryBox) {
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  auto* database = Control<wxTextCtrl>(dialog, CConnectDlg::kIdDatabase);
  database->SetValue("before");
  dialog.SetFilePicker([](wxWindow*, TString&) { return false; });
  Click(dialog, CConnectDlg::kIdBrowse);
  EXPECT_EQ(database->GetValue(), "before") << "a cancelled file dialog keeps the text";
  dialog.SetFilePicker([](wxWindow*, TString& path) {
    path = DT("/home/ü/my db.sqlite");
    return true;
  });
  Click(dialog, CConnectDlg::kIdBrowse);
  EXPECT_EQ(database->GetValue(), wxString::FromUTF8("/home/ü/my db.sqlite"));

  auto* inMemory = Control<wxCheckBox>(dialog, CConnectDlg::kIdInMemory);
  inMemory->SetValue(true);
  wxCommandEvent clicked(wxEVT_CHECKBOX, CConnectDlg::kIdInMemory);
  clicked.SetEventObject(inMemory);
  clicked.SetInt(1);
  inMemory->GetEventHandler()->ProcessEvent(clicked);
  for (int id : {1048, 1040, 1044, 1051}) EXPECT_FALSE(dialog.FindWindow(id)->IsEnabled()) << id;
  EXPECT_TRUE(dialog.FindWindow(CConnectDlg::kIdStepApi)->IsEnabled());
  inMemory->SetValue(false);
  clicked.SetInt(0);
  inMemory->GetEventHandler()->ProcessEvent(clicked);
  for (int id : {1048, 1040, 1044, 1051}) EXPECT_TRUE(dialog.FindWindow(id)->IsEnabled()) << id;
}

TEST_F(ConnectDlgTest, Screenshot) {
  const char* folder = std::getenv("DOSSEL_SCREENSHOTS");
  if (!folder) GTEST_SKIP() << "set DOSSEL_SCREENSHOTS to a folder to keep a picture";
  CConnectDlg dialog(nullptr);
  dialog.InitDialog();
  Pick(dialog, "Sales");
  SaveScreenshot(dialog, std::string(folder) + "/connect_dlg.png");
}

}  // namespace
}  // namespace dossel::test
