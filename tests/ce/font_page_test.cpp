// The handheld font page and its property sheet, at 96 pixels per inch.

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include <memory>

#include "ce/ce_property_sheet.h"
#include "ce/choose_font_page.h"
#include "ce_test_fixture.h"
#include "res/command_ids.h"

namespace dossel::test {
namespace {

LOGFONT Record(int height, const TChar* face) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfWeight = 400;
  font.lfFaceName = face;
  return font;
}

class FontPageTest : public ::testing::Test {
 protected:
  void Open(const LOGFONT& font) {
    m_sheet = std::make_unique<CCePropertySheet>("Choose Font", nullptr);
    m_page = new CChooseFontPage(m_sheet->GetBookCtrl(), font, 96);
    m_sheet->AddPage(m_page, "Font");
  }
  wxComboBox* Size() const { return static_cast<wxComboBox*>(m_page->FindWindow(CChooseFontPage::IDC_POINT_SIZE)); }
  wxComboBox* Face() const { return static_cast<wxComboBox*>(m_page->FindWindow(CChooseFontPage::IDC_FACE_NAME)); }
  void Click(int id, bool checked) {
    auto* box = static_cast<wxCheckBox*>(m_page->FindWindow(id));
    box->SetValue(checked);
    wxCommandEvent click(wxEVT_CHECKBOX, id);
    click.SetInt(checked ? 1 : 0);
    click.SetEventObject(box);
    box->ProcessWindowEvent(click);
  }
  bool IsChecked(int id) const { return static_cast<wxCheckBox*>(m_page->FindWindow(id))->GetValue(); }

  std::unique_ptr<CCePropertySheet> m_sheet;
  CChooseFontPage* m_page = nullptr;
};

TEST_F(FontPageTest, TheStartShowsTheRecordsSizeFaceAndStyles) {
  LOGFONT font = Record(-13, DT("DejaVu Sans"));
  font.lfWeight = 700;
  font.lfUnderline = 1;
  font.lfQuality = 5;
  Open(font);
  // -13 at 96 pixels per inch is 10 points, an item of the list.
  EXPECT_EQ(Size()->GetValue(), "10");
  EXPECT_EQ(Size()->GetSelection(), 2);
  EXPECT_EQ(Size()->GetCount(), 11u);
  EXPECT_EQ(Size()->GetString(0), "8");
  EXPECT_EQ(Size()->GetString(10), "36");
  EXPECT_EQ(Face()->GetStringSelection(), "DejaVu Sans");
  EXPECT_GT(Face()->GetCount(), 1u);
  EXPECT_TRUE(IsChecked(CChooseFontPage::IDC_BOLD));
  EXPECT_FALSE(IsChecked(CChooseFontPage::IDC_ITALIC));
  EXPECT_TRUE(IsChecked(CChooseFontPage::IDC_UNDERLINE));
  EXPECT_TRUE(IsChecked(CChooseFontPage::IDC_CLEARTYPE));
  EXPECT_EQ(static_cast<wxStaticText*>(m_page->FindWindow(CChooseFontPage::IDC_PREVIEW))->GetLabel(), "AaBbCcXxYyZz");
  EXPECT_EQ(m_page->GetPreviewFont().GetPixelSize().GetHeight(), 13);
  EXPECT_TRUE(m_page->GetPreviewFont().GetUnderlined());
  // The record is unchanged until the user changes something.
  EXPECT_EQ(m_page->GetLogFont(), font);
}

TEST_F(FontPageTest, ASizeOutsideTheListIsTypedAndStillSetsTheHeight) {
  Open(Record(-17, DT("DejaVu Sans")));
  EXPECT_EQ(Size()->GetValue(), "13");
  EXPECT_EQ(Size()->GetSelection(), wxNOT_FOUND);

  Size()->SetValue("10");
  EXPECT_EQ(m_page->GetLogFont().lfHeight, -13);
  Size()->SetValue("13");
  EXPECT_EQ(m_page->GetLogFont().lfHeight, -17);
  EXPECT_EQ(m_page->GetPreviewFont().GetPixelSize().GetHeight(), 17);
  // A size no font can be made from keeps the preview's font.
  Size()->SetValue("x");
  EXPECT_EQ(m_page->GetLogFont().lfHeight, 0);
  EXPECT_EQ(m_page->GetPreviewFont().GetPixelSize().GetHeight(), 17);
}

TEST_F(FontPageTest, StylesAndFaceChangeTheRecordAndThePreview) {
  Open(Record(-13, DT("DejaVu Sans")));
  Click(CChooseFontPage::IDC_BOLD, true);
  EXPECT_EQ(m_page->GetLogFont().lfWeight, 700);
  EXPECT_EQ(m_page->GetPreviewFont().GetWeight(), wxFONTWEIGHT_BOLD);
  Click(CChooseFontPage::IDC_BOLD, false);
  EXPECT_EQ(m_page->GetLogFont().lfWeight, 400);
  Click(CChooseFontPage::IDC_ITALIC, true);
  EXPECT_EQ(m_page->GetLogFont().lfItalic, 1);
  EXPECT_EQ(m_page->GetPreviewFont().GetStyle(), wxFONTSTYLE_ITALIC);
  Click(CChooseFontPage::IDC_UNDERLINE, true);
  EXPECT_EQ(m_page->GetLogFont().lfUnderline, 1);
  Click(CChooseFontPage::IDC_CLEARTYPE, true);
  EXPECT_EQ(m_page->GetLogFont().lfQuality, 5);
  Click(CChooseFontPage::IDC_CLEARTYPE, false);
  EXPECT_EQ(m_page->GetLogFont().lfQuality, 0);

  Face()->SetValue("DejaVu Serif");
  EXPECT_EQ(m_page->GetLogFont().lfFaceName, DT("DejaVu Serif"));
  EXPECT_EQ(m_page->GetPreviewFont().GetFaceName(), "DejaVu Serif");
}

TEST_F(FontPageTest, TheSheetHasItsTitleLineLinkLineAndCommandBar) {
  CCePropertySheet::SetLinkText("");
  Open(Record(-13, DT("DejaVu Sans")));
  EXPECT_EQ(m_sheet->GetCommandBar(), nullptr);
  {
    ModalAnswer answer([](wxDialog*) { return wxID_CANCEL; });
    EXPECT_EQ(m_sheet->DoModal(), wxID_CANCEL);
  }
  ASSERT_NE(m_sheet->GetCommandBar(), nullptr);
  EXPECT_EQ(m_sheet->GetCommandBar()->GetId(), res::ToWxId(res::AFX_IDW_TOOLBAR));
  EXPECT_EQ(m_sheet->GetCommandBar()->GetParent(), m_sheet.get());
  EXPECT_EQ(m_sheet->GetTitleLine()->GetLabel(), "Choose Font");
  EXPECT_EQ(CCePropertySheet::GetTitleText(), "Choose Font");
  EXPECT_FALSE(m_sheet->GetLinkLine()->IsShown());

  // A link text set before the sheet's window is made shows on its line.
  CCePropertySheet::SetLinkText("Fonts of this device");
  CCePropertySheet second("Second", nullptr);
  second.AddPage(new CChooseFontPage(second.GetBookCtrl(), Record(-13, DT("DejaVu Sans")), 96), "Font");
  ModalAnswer answer([](wxDialog*) { return wxID_OK; });
  EXPECT_EQ(second.DoModal(), wxID_OK);
  EXPECT_EQ(second.GetTitleLine()->GetLabel(), "Second");
  EXPECT_EQ(second.GetLinkLine()->GetLabel(), "Fonts of this device");
  EXPECT_TRUE(second.GetLinkLine()->IsShown());
  CCePropertySheet::SetLinkText("");
}

}  // namespace
}  // namespace dossel::test
