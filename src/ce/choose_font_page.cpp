#include "ce/choose_font_page.h"

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "ce/ce_property_sheet.h"
#include "ce/font_size.h"
#include "platform/wx/log_font_wx.h"
#include "platform/wx/wx_text.h"

using namespace dossel;

namespace {

constexpr int kPointSizes[] = {8, 9, 10, 11, 12, 14, 16, 20, 24, 28, 36};
// The gray of the rules under the headings.
const wxColour kRuleColour(0xC0, 0xC0, 0xC0);

}  // namespace

CChooseFontPage::CChooseFontPage(wxWindow* parent, const LOGFONT& font, int pixelsPerInch)
    : wxPanel(parent, wxID_ANY), m_logFont(font), m_nPixelsPerInch(pixelsPerInch) {
  CreateControls();
  StartPage();
  Bind(wxEVT_PAINT, &CChooseFontPage::OnPaint, this);
}

void CChooseFontPage::CreateControls() {
  SetMinSize(ConvertDialogToPixels(wxSize(160, 151)));
  m_pFaceName = new wxComboBox(this, IDC_FACE_NAME, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                               wxCB_DROPDOWN | wxCB_SORT);
  m_pPointSize =
      new wxComboBox(this, IDC_POINT_SIZE, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxCB_DROPDOWN);
  m_pStyle = new wxStaticText(this, IDC_STYLE, "Style");
  m_pPreviewHeading = new wxStaticText(this, IDC_PREVIEW_HEADING, "Preview");
  m_pPreview = new wxStaticText(this, IDC_PREVIEW, m_strPreview);

  auto* fields = new wxFlexGridSizer(2, FromDIP(4), FromDIP(6));
  fields->AddGrowableCol(1);
  fields->Add(new wxStaticText(this, wxID_ANY, "Font:"), 0, wxALIGN_CENTER_VERTICAL);
  fields->Add(m_pFaceName, 1, wxEXPAND);
  fields->Add(new wxStaticText(this, wxID_ANY, "Size:"), 0, wxALIGN_CENTER_VERTICAL);
  fields->Add(m_pPointSize, 0);

  auto* styles = new wxGridSizer(2, FromDIP(4), FromDIP(6));
  for (auto [id, label] : {std::pair{IDC_BOLD, "Bold"}, std::pair{IDC_ITALIC, "Italic"},
                           std::pair{IDC_UNDERLINE, "Underline"}, std::pair{IDC_CLEARTYPE, "ClearType"}}) {
    styles->Add(new wxCheckBox(this, id, label));
    Bind(wxEVT_CHECKBOX, &CChooseFontPage::OnStyle, this, id);
  }

  auto* column = new wxBoxSizer(wxVERTICAL);
  const int gap = FromDIP(6);
  column->Add(fields, 0, wxEXPAND | wxALL, gap);
  column->Add(m_pStyle, 0, wxLEFT | wxRIGHT | wxTOP, gap);
  column->Add(styles, 0, wxEXPAND | wxALL, gap);
  column->Add(m_pPreviewHeading, 0, wxLEFT | wxRIGHT | wxTOP, gap);
  column->Add(m_pPreview, 1, wxEXPAND | wxALL, gap);
  SetSizer(column);

  m_pFaceName->Bind(wxEVT_COMBOBOX, &CChooseFontPage::OnFaceName, this);
  m_pFaceName->Bind(wxEVT_TEXT, &CChooseFontPage::OnFaceName, this);
  m_pPointSize->Bind(wxEVT_COMBOBOX, &CChooseFontPage::OnPointSize, this);
  m_pPointSize->Bind(wxEVT_TEXT, &CChooseFontPage::OnPointSize, this);
}

void CChooseFontPage::StartPage() {
  m_bStarting = true;
  LOGFONT label;
  label.lfHeight = -11;
  label.lfWeight = kBoldWeight;
  // A string made first: g++ 12 at -O2 takes assigning the literal for an
  // over-read (a false -Wstringop-overread).
  label.lfFaceName = TString(DT("Tahoma"));
  m_boldFont = FontFromLogFont(label);
  m_pStyle->SetFont(m_boldFont);
  m_pPreviewHeading->SetFont(m_boldFont);

  if (m_nPixelsPerInch <= 0) m_nPixelsPerInch = wxScreenDC().GetPPI().y;
  wxArrayString faces = wxFontEnumerator::GetFacenames();
  m_pFaceName->Append(faces);
  m_strFaceName = ToWx(m_logFont.lfFaceName);
  if (const int found = m_pFaceName->FindString(m_strFaceName); found != wxNOT_FOUND) m_pFaceName->SetSelection(found);

  for (int size : kPointSizes) m_pPointSize->Append(wxString::Format("%d", size));
  m_strSize = wxString::Format("%d", ce::PointsFromHeight(m_logFont.lfHeight, m_nPixelsPerInch));
  if (const int found = m_pPointSize->FindString(m_strSize); found != wxNOT_FOUND)
    m_pPointSize->SetSelection(found);
  else
    m_pPointSize->SetValue(m_strSize);

  static_cast<wxCheckBox*>(FindWindow(IDC_BOLD))->SetValue(m_logFont.lfWeight == kBoldWeight);
  static_cast<wxCheckBox*>(FindWindow(IDC_ITALIC))->SetValue(m_logFont.lfItalic != 0);
  static_cast<wxCheckBox*>(FindWindow(IDC_UNDERLINE))->SetValue(m_logFont.lfUnderline != 0);
  static_cast<wxCheckBox*>(FindWindow(IDC_CLEARTYPE))->SetValue(m_logFont.lfQuality == kClearTypeQuality);
  m_bStarting = false;
  UpdatePreview();
}

void CChooseFontPage::UpdatePreview() {
  const wxFont font = FontFromLogFont(m_logFont);
  // A record no font can be made from leaves the preview as it was.
  if (!font.IsOk()) return;
  m_previewFont = font;
  m_pPreview->SetFont(m_previewFont);
  m_pPreview->Refresh();
  Layout();
}

void CChooseFontPage::OnStyle(wxCommandEvent& event) {
  const bool checked = event.IsChecked();
  switch (event.GetId()) {
    case IDC_BOLD:
      m_logFont.lfWeight = checked ? kBoldWeight : kNormalWeight;
      break;
    case IDC_ITALIC:
      m_logFont.lfItalic = checked ? 1 : 0;
      break;
    case IDC_UNDERLINE:
      m_logFont.lfUnderline = checked ? 1 : 0;
      break;
    case IDC_CLEARTYPE:
      m_logFont.lfQuality = checked ? kClearTypeQuality : 0;
      break;
    default:
      return;
  }
  UpdatePreview();
}

void CChooseFontPage::OnFaceName(wxCommandEvent& event) {
  if (m_bStarting) return;
  // A chosen item's text, or what the user typed.
  m_strFaceName = event.GetEventType() == wxEVT_COMBOBOX ? event.GetString() : m_pFaceName->GetValue();
  m_logFont.lfFaceName = CutFaceName(FromWx(m_strFaceName));
  UpdatePreview();
}

void CChooseFontPage::OnPointSize(wxCommandEvent& event) {
  if (m_bStarting) return;
  m_strSize = event.GetEventType() == wxEVT_COMBOBOX ? event.GetString() : m_pPointSize->GetValue();
  m_logFont.lfHeight = ce::HeightFromPoints(ce::PointsFromText(m_strSize.wc_str()), m_nPixelsPerInch);
  UpdatePreview();
}

void CChooseFontPage::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetPen(wxPen(kRuleColour));
  for (const wxStaticText* heading : {m_pStyle, m_pPreviewHeading}) {
    const wxRect rect = heading->GetRect();
    const int y = rect.GetBottom() + FromDIP(2);
    dc.DrawLine(rect.GetLeft(), y, GetClientSize().GetWidth() - rect.GetLeft(), y);
  }
}

bool ChooseFontCe(wxWindow* parent, LOGFONT& font) {
  CCePropertySheet sheet("Choose Font", parent);
  auto* page = new CChooseFontPage(sheet.GetBookCtrl(), font);
  sheet.AddPage(page, "Font");
  if (sheet.DoModal() != wxID_OK) return false;
  font = page->GetLogFont();
  return true;
}
