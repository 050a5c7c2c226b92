// The handheld edition's own dialog templates on real windows: Go To with its
// control numbers, the about box without buttons that still closes, and the
// sizes the Connect dialog and the font page take on the small screen; and
// the result grid without the desktop's title tips, printing and files.

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/print.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/about_dlg.h"
#include "app/connect_dlg.h"
#include "app/goto_dlg.h"
#include "ce/ce_property_sheet.h"
#include "ce/choose_font_page.h"
#include "ce_test_fixture.h"
#include "grid/wx/grid_ctrl.h"
#include "settings/font_setting.h"
#include "settings/settings_store.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

template <typename Control>
Control* Find(wxWindow* parent, int id) {
  return dynamic_cast<Control*>(parent->FindWindow(id));
}

void Press(wxButton* button) {
  wxCommandEvent click(wxEVT_BUTTON, button->GetId());
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

TEST_F(CeFrameTest, GoToCarriesTheHandheldNumbersAndItsButtonsWorkUnderThem) {
  m_frame->QueryView()->SetQueryText(DT("select 1\r\nfrom t\r\nwhere 1"));
  m_frame->SwitchPane(0);
  ASSERT_TRUE(SendCommand(m_frame, ID_EDIT_GOTO));
  CGoToDlg* dialog = m_frame->GetGoToDlg();
  ASSERT_NE(dialog, nullptr);
  auto* line = Find<wxTextCtrl>(dialog, 1007);
  auto* goTo = Find<wxButton>(dialog, 1012);
  auto* previous = Find<wxButton>(dialog, 1010);
  ASSERT_TRUE(line && goTo && previous);
  EXPECT_EQ(line, dialog->LineEdit());
  EXPECT_EQ(goTo->GetLabel(), "&Go To");
  EXPECT_EQ(previous->GetLabel(), "&Previous");
  EXPECT_EQ(dialog->FindWindow(1019), nullptr);
  EXPECT_EQ(dialog->FindWindow(1013), nullptr);
  bool labelled = false;
  for (wxWindow* child : dialog->GetChildren())
    if (auto* label = dynamic_cast<wxStaticText*>(child)) labelled |= label->GetLabel() == "Line Number:";
  EXPECT_TRUE(labelled);

  CTextEdit* edit = m_frame->QueryView()->GetEdit();
  line->SetValue("3");
  Press(goTo);
  EXPECT_EQ(edit->LineFromPosition(edit->GetSelectionStart()), 2);
  // An empty edit turns 1012 into "&Next" and enables 1010, which steps back.
  line->SetValue("");
  EXPECT_EQ(goTo->GetLabel(), "&Next");
  ASSERT_TRUE(previous->IsEnabled());
  Press(previous);
  EXPECT_EQ(edit->LineFromPosition(edit->GetSelectionStart()), 1);
  dialog->Close();
}

// Runs `user` once a `Dialog` is the running modal dialog; ends the dialog
// itself (and says so in `leftOpen`) when `user` did not within two seconds.
template <typename Dialog>
void AtShown(std::function<void(Dialog*)> user, bool& leftOpen) {
  wxTheApp->CallAfter([user, &leftOpen] {
    Dialog* shown = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
      if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsModal()) shown = dialog;
    if (!shown) return AtShown<Dialog>(user, leftOpen);
    user(shown);
    wxWeakRef<Dialog> watched(shown);
    wxTheApp->CallAfter([watched, &leftOpen] {
      const auto open = [&watched] { return watched && watched->IsModal(); };
      for (int waited = 0; open() && waited < 2000; waited += 20) Pump(20);
      if (open()) {
        leftOpen = true;
        watched->EndModal(wxID_ABORT);
      }
    });
  });
}

TEST_F(CeFrameTest, TheAboutBoxHasNoButtonsAndClosesWithEscapeAndItsCloseBox) {
  bool leftOpen = false;
  AtShown<CAboutDlg>(
      [](CAboutDlg* about) {
        auto* version = Find<wxStaticText>(about, 1001);
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->GetLabel(), "Dossel 2.8");
        EXPECT_EQ(about->FindWindow(IDC_ABOUT_VERSION), nullptr);
        int bitmaps = 0;
        for (wxWindow* child : about->GetChildren()) {
          EXPECT_EQ(dynamic_cast<wxButton*>(child), nullptr) << child->GetLabel();
          bitmaps += dynamic_cast<wxStaticBitmap*>(child) != nullptr;
        }
        EXPECT_EQ(bitmaps, 1);
        // The box keeps clear of the small screen's edges.
        const wxSize size = about->GetSize();
        EXPECT_LE(size.x, 240);
        EXPECT_LE(size.y, 320);
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(about);
        about->ProcessWindowEvent(escape);
      },
      leftOpen);
  ASSERT_TRUE(SendCommand(m_frame, ID_APP_ABOUT));
  EXPECT_FALSE(leftOpen) << "Escape left the about box open";

  leftOpen = false;
  AtShown<CAboutDlg>([](CAboutDlg* about) { about->Close(); }, leftOpen);
  ASSERT_TRUE(SendCommand(m_frame, ID_APP_ABOUT));
  EXPECT_FALSE(leftOpen) << "the close box left the about box open";
}

// The bottom-right corner of every shown child, which must lie inside `client`.
void ExpectInside(wxWindow* dialog, const wxSize& client) {
  for (wxWindow* child : dialog->GetChildren()) {
    if (!child->IsShown()) continue;
    const wxRect rect = child->GetRect();
    EXPECT_GE(rect.x, 0) << child->GetLabel();
    EXPECT_LE(rect.GetRight(), client.x) << child->GetLabel();
    EXPECT_LE(rect.GetBottom(), client.y) << child->GetLabel();
  }
}

TEST_F(CeFrameTest, TheConnectDialogIs160By180UnitsWithEachLabelAboveItsField) {
  CConnectDlg dialog(m_frame);
  const wxSize client = dialog.ConvertDialogToPixels(wxSize(160, 180));
  EXPECT_EQ(dialog.GetClientSize(), client);
  ExpectInside(&dialog, client);
  // Each field stands below its label and to its right edge nothing overlaps.
  const auto& ids = CConnectDlg::Ids();
  wxRect previous;
  for (int id : {ids.dsn, ids.database, ids.lockTimeout, ids.stepApi}) {
    const wxRect field = dialog.FindWindow(id)->GetRect();
    EXPECT_GT(field.y, previous.GetBottom()) << id;
    previous = field;
  }
  for (wxWindow* child : dialog.GetChildren()) {
    auto* label = dynamic_cast<wxStaticText*>(child);
    if (!label) continue;
    EXPECT_EQ(label->GetPosition().x, dialog.FindWindow(ids.dsn)->GetPosition().x) << label->GetLabel();
  }
  const wxRect browse = dialog.FindWindow(ids.browse)->GetRect();
  EXPECT_GT(browse.x, dialog.FindWindow(ids.database)->GetRect().GetRight());
  const wxRect ok = dialog.FindWindow(wxID_OK)->GetRect();
  EXPECT_GT(ok.y, dialog.FindWindow(ids.inMemory)->GetRect().GetBottom());
  EXPECT_EQ(dialog.FindWindow(ids.deleteButton)->GetRect().y, ok.y);
}

TEST_F(CeFrameTest, TheFontPageTakesItsTemplatesSize) {
  bool leftOpen = false;
  AtShown<CCePropertySheet>(
      [](CCePropertySheet* sheet) {
        wxWindow* page = sheet->GetBookCtrl()->GetPage(0);
        const wxSize size = page->ConvertDialogToPixels(wxSize(160, 151));
        EXPECT_EQ(page->GetSize(), size);
        ExpectInside(page, size);
        sheet->EndModal(wxID_CANCEL);
      },
      leftOpen);
  LOGFONT font = DefaultLogFont();
  EXPECT_FALSE(ChooseFontCe(m_frame, font));
  EXPECT_FALSE(leftOpen);
}

TEST_F(CeGridFrameTest, TheResultGridHasNoTitleTipPrintingOrFilesAndNoWheelLinesFromTheRegistry) {
  KeyWriteString(HKEY_CURRENT_USER, DT("Control Panel\\Desktop"), DT("WheelScrollLines"), DT("7"));
  const std::string database = m_folder.File("long.db");
  RunSqlite(database, "create table t(v text); insert into t values ('a text far too long for a narrow column');");
  ASSERT_TRUE(ConnectTo("DSN=Long;Database=" + database));
  Run("select v from t");
  CGridCtrl* grid = m_frame->ResultView()->GetGrid();
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(m_frame->ResultView()->IsGridShown());
  EXPECT_TRUE(grid->IsHandheld());
  EXPECT_FALSE(grid->GetTitleTips());
  EXPECT_EQ(grid->GetRowsPerWheelNotch(), 3);

  // The mouse over a cut-off text brings up no tip window.
  grid->SetColumnWidth(1, 20);
  grid->Refresh();
  Pump(30);
  GridRect cell;
  ASSERT_TRUE(grid->GetCellRect(1, 1, &cell));
  wxMouseEvent motion(wxEVT_MOTION);
  motion.SetPosition(wxPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
  motion.SetEventObject(grid);
  grid->ProcessWindowEvent(motion);
  Pump(30);
  EXPECT_EQ(grid->GetTitleTip(), nullptr);
  for (wxWindow* window : wxTopLevelWindows) EXPECT_NE(window->GetName(), "DosselTitleTip");

  // Printing, saving and loading refuse and change nothing.
  const std::unique_ptr<wxPrintout> printout(grid->CreatePrintout());
  EXPECT_EQ(printout, nullptr);
  // A grid that did print would wait on the print system here.
  if (!printout) {
    EXPECT_FALSE(grid->Print(false));
  }
  const std::string saved = m_folder.File("grid.csv");
  EXPECT_FALSE(grid->SaveToFile(FromUtf8(saved)));
  EXPECT_FALSE(std::filesystem::exists(saved));
  const std::string other = m_folder.File("other.csv");
  std::ofstream(other) << "x,y\n1,2\n";
  const TString before = grid->GetCellText(1, 1);
  const int32_t columns = grid->GetColumnCount();
  EXPECT_FALSE(grid->LoadFromFile(FromUtf8(other)));
  EXPECT_EQ(grid->GetCellText(1, 1), before);
  EXPECT_EQ(grid->GetColumnCount(), columns);
}

}  // namespace
}  // namespace dossel::test
