// Choosing a pane's font on the real, shown Choose Font sheet leaves the
// query document as unchanged as it was: closing asks nothing.

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>

#include <fstream>

#include "app/dossel_doc.h"
#include "ce/ce_property_sheet.h"
#include "ce/choose_font_page.h"
#include "ce_test_fixture.h"
#include "settings/font_setting.h"

namespace dossel::test {
namespace {

using namespace dossel::res;

// The shown Choose Font sheet, or null while it is not yet modal.
CCePropertySheet* ShownFontSheet() {
  for (wxWindow* window : wxTopLevelWindows)
    if (auto* sheet = dynamic_cast<CCePropertySheet*>(window); sheet && sheet->IsModal()) return sheet;
  return nullptr;
}

void Click(wxWindow* control, wxEventType type) {
  wxCommandEvent event(type, control->GetId());
  event.SetEventObject(control);
  if (type == wxEVT_CHECKBOX) event.SetInt(static_cast<wxCheckBox*>(control)->GetValue() ? 1 : 0);
  control->ProcessWindowEvent(event);
}

// As a user at the shown sheet: another face from the list, a size typed in,
// Bold ticked, then OK.
void ChooseAnotherFontAndConfirm() {
  CCePropertySheet* sheet = ShownFontSheet();
  if (!sheet) {
    wxTheApp->CallAfter([] { ChooseAnotherFontAndConfirm(); });
    return;
  }
  wxWindow* page = sheet->GetBookCtrl()->GetPage(0);
  auto* face = static_cast<wxComboBox*>(page->FindWindow(CChooseFontPage::IDC_FACE_NAME));
  if (face->GetCount() > 1) {
    face->SetSelection(face->GetSelection() == 0 ? 1 : 0);
    Click(face, wxEVT_COMBOBOX);
  }
  static_cast<wxComboBox*>(page->FindWindow(CChooseFontPage::IDC_POINT_SIZE))->SetValue("13");
  auto* bold = static_cast<wxCheckBox*>(page->FindWindow(CChooseFontPage::IDC_BOLD));
  bold->SetValue(!bold->GetValue());
  Click(bold, wxEVT_CHECKBOX);
  Click(sheet->FindWindow(wxID_OK), wxEVT_BUTTON);
}

class CeFontDocumentTest : public CeFrameTest {
 protected:
  // Runs the Font command of pane `pane` with the sheet really shown;
  // true when the pane's font record was stored.
  bool ChooseFontOn(int pane) {
    m_frame->SwitchPane(pane);
    wxTheApp->CallAfter([] { ChooseAnotherFontAndConfirm(); });
    if (!SendCommand(m_frame, ID_CE_VIEW_FONT)) return false;
    Pump(30);
    LOGFONT stored;
    const TChar* key =
        pane == 0 ? DT("Software\\Harlune\\Dossel\\Query\\Font") : DT("Software\\Harlune\\Dossel\\Trace\\Font");
    return ReadFontSetting(key, stored) == 1 && stored.lfHeight != 0;
  }

  // Whether closing would ask to save; the question is answered "No".
  bool CloseAsks() {
    m_ui.answer = kIdNo;
    const size_t before = m_ui.texts.size();
    EXPECT_TRUE(m_frame->GetDocument()->SaveModified(m_frame));
    return m_ui.texts.size() != before;
  }
};

TEST_F(CeFontDocumentTest, ChoosingAFontLeavesNewAndOpenedQueriesUnchanged) {
  // A new, empty query.
  ASSERT_TRUE(ChooseFontOn(0));
  EXPECT_FALSE(CloseAsks());

  // A query file of this edition (UTF-16) and one of the narrow program,
  // each with text, fonts chosen on the query pane and on the trace pane.
  const std::string wide = m_folder.File("wide.sql"), narrow = m_folder.File("narrow.sql");
  std::ofstream(wide, std::ios::binary) << std::string(
      "s\0e\0l\0e\0c\0t\0 \0"
      "1\0\r\0\n\0",
      20);
  std::ofstream(narrow, std::ios::binary) << "select 2\r\nfrom t";
  for (const std::string& file : {wide, narrow}) {
    ASSERT_TRUE(m_frame->OpenDocumentFile(file)) << file;
    const wxString text = m_frame->QueryView()->GetEdit()->GetValue();
    for (int pane : {0, 2}) {
      ASSERT_TRUE(ChooseFontOn(pane)) << file << " pane " << pane;
      EXPECT_FALSE(CloseAsks()) << file << " pane " << pane;
      EXPECT_EQ(m_frame->QueryView()->GetEdit()->GetValue(), text);
    }
  }

  // A query the user did change still asks.
  m_frame->QueryView()->GetEdit()->AppendText(" ");
  ASSERT_TRUE(ChooseFontOn(0));
  EXPECT_TRUE(CloseAsks());
}

}  // namespace
}  // namespace dossel::test
