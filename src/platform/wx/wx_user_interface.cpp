#include "platform/wx/wx_user_interface.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/msgdlg.h>

#include "platform/wx/wx_text.h"

namespace dossel {
namespace {

long ToWxStyle(unsigned style) {
  long wxStyle = 0;
  switch (style & 0xF) {
    case kMbOkCancel:
      wxStyle |= wxOK | wxCANCEL;
      break;
    case kMbYesNoCancel:
      wxStyle |= wxYES_NO | wxCANCEL;
      break;
    case kMbYesNo:
      wxStyle |= wxYES_NO;
      break;
    default:
      wxStyle |= wxOK;
      break;
  }
  switch (style & 0xF0) {
    case kMbIconError:
      wxStyle |= wxICON_ERROR;
      break;
    case kMbIconQuestion:
      wxStyle |= wxICON_QUESTION;
      break;
    case kMbIconWarning:
      wxStyle |= wxICON_WARNING;
      break;
    case kMbIconInformation:
      wxStyle |= wxICON_INFORMATION;
      break;
    default:
      break;
  }
  return wxStyle;
}

int FromWxAnswer(int answer) {
  switch (answer) {
    case wxYES:
      return kIdYes;
    case wxNO:
      return kIdNo;
    case wxCANCEL:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

}  // namespace

wxWindow* MessageOwner() {
  for (auto it = wxTopLevelWindows.rbegin(); it != wxTopLevelWindows.rend(); ++it) {
    const auto* dialog = dynamic_cast<wxDialog*>(*it);
    if (dialog && dialog->IsModal() && dialog->IsShown()) return *it;
  }
  return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

int WxUserInterface::MessageBox(TStringView text, TStringView caption, unsigned style) {
  return FromWxAnswer(wxMessageBox(ToWx(text), ToWx(caption), ToWxStyle(style), MessageOwner()));
}

void* WxUserInterface::BeginOwnedDialog() {
  wxWindow* owner = MessageOwner();
  if (owner && owner->IsEnabled()) {
    owner->Disable();
    return owner;
  }
  return nullptr;
}

void WxUserInterface::EndOwnedDialog(void* owner) {
  if (owner) static_cast<wxWindow*>(owner)->Enable();
}

}  // namespace dossel
