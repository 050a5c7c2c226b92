#include "app/about_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/edition.h"
#include "app/images.h"

namespace {
// The desktop's box measures 171 x 119 dialog units.
const wxSize kAboutSize(171, 119);
}  // namespace

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "About Dossel") {
  const CEdition& edition = Edition();
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  wxIcon icon = AppIcon();
  wxBitmap bitmap;
  bitmap.CopyFromIcon(icon);
  top->Add(new wxStaticBitmap(this, wxID_ANY, bitmap), 0, wxALL, 10);
  auto* version = new wxStaticText(this, edition.aboutVersionId, wxEmptyString);
  version->SetLabel("Dossel 2.8");
  top->Add(version, 1, wxALIGN_CENTER_VERTICAL | wxALL, 10);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(top, 1, wxEXPAND);
  if (edition.hasAboutButtons) {
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "&OK");
    ok->SetDefault();
    buttons->Add(ok, 0, wxALL, 5);
    buttons->Add(new wxButton(this, wxID_CANCEL, "&Cancel"), 0, wxALL, 5);
    sizer->Add(buttons, 0, wxALIGN_CENTER | wxBOTTOM, 5);
    SetSizer(sizer);
    SetClientSize(ConvertDialogToPixels(kAboutSize));
  } else {
    // Without a Cancel button the framework ignores Escape; the close box
    // still ends the box as Cancel.
    Bind(wxEVT_CHAR_HOOK, &CAboutDlg::OnCharHook, this);
    SetSizerAndFit(sizer);
  }
  CentreOnParent();
}

void CAboutDlg::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE && event.GetModifiers() == wxMOD_NONE)
    EndDialog(wxID_CANCEL);
  else
    event.Skip();
}
