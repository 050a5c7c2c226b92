#pragma once
// The program's user interface for core code: wx message boxes, parented to
// the top window.

#include "platform/user_interface.h"

namespace dossel {

class WxUserInterface : public IUserInterface {
 public:
  int MessageBox(TStringView text, TStringView caption, unsigned style) override;
  void* BeginOwnedDialog() override;
  void EndOwnedDialog(void* owner) override;
};

}  // namespace dossel
