#pragma once
// The program's user interface for core code: wx message boxes and the
// driver's own dialogs, owned by the window the user is working in.

#include "platform/user_interface.h"

class wxWindow;

namespace dossel {

// The newest modal dialog on screen, else the program's top window. A box
// parented to the frame under a modal sheet would open behind the sheet.
wxWindow* MessageOwner();

class WxUserInterface : public IUserInterface {
 public:
  int MessageBox(TStringView text, TStringView caption, unsigned style) override;
  void* BeginOwnedDialog() override;
  void EndOwnedDialog(void* owner) override;
};

}  // namespace dossel
