#pragma once
// How core code asks or tells the user something without opening a window
// itself. The program installs an implementation built on wx message boxes;
// tests install a recorder. With none installed, questions get their default
// answer and nothing is shown.

#include "platform/text.h"

namespace dossel {

// Message box styles and answers, numbered as the classic message box API so
// that stored or compared values keep their meaning.
enum MessageBoxStyle : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class IUserInterface {
 public:
  virtual ~IUserInterface() = default;
  // Shows a message box and returns the button the user pressed.
  virtual int MessageBox(TStringView text, TStringView caption, unsigned style) = 0;
};

// The installed implementation, or null. Set once at start-up on the UI thread.
void SetUserInterface(IUserInterface* ui);
IUserInterface* GetUserInterface();

// Shows a message box through the installed interface; without one the
// answer is OK (or Yes for the yes/no styles).
int ShowMessageBox(TStringView text, TStringView caption, unsigned style);

}  // namespace dossel
