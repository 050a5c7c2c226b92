#include "platform/user_interface.h"

namespace dossel {
namespace {
IUserInterface* s_userInterface = nullptr;
}

void SetUserInterface(IUserInterface* ui) { s_userInterface = ui; }
IUserInterface* GetUserInterface() { return s_userInterface; }

int ShowMessageBox(TStringView text, TStringView caption, unsigned style) {
  if (s_userInterface) return s_userInterface->MessageBox(text, caption, style);
  const unsigned buttons = style & 0xF;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdYes : kIdOk;
}

OwnedDialogScope::OwnedDialogScope() : m_ui(s_userInterface), m_owner(m_ui ? m_ui->BeginOwnedDialog() : nullptr) {}

OwnedDialogScope::~OwnedDialogScope() {
  if (m_ui) m_ui->EndOwnedDialog(m_owner);
}

}  // namespace dossel
