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
  // The top-level window that owns a dialog shown by someone else (a
  // driver's connect prompt); it is disabled until EndOwnedDialog. Returns
  // an opaque window handle, or null when there is no window.
  virtual void* BeginOwnedDialog() { return nullptr; }
  virtual void EndOwnedDialog(void* owner) { (void)owner; }
};

// The installed implementation, or null. Set once at start-up on the UI thread.
void SetUserInterface(IUserInterface* ui);
IUserInterface* GetUserInterface();

// Shows a message box through the installed interface; without one the
// answer is OK (or Yes for the yes/no styles).
int ShowMessageBox(TStringView text, TStringView caption, unsigned style);

// Disables the owner window for the life of the object and hands out its
// handle (null without an interface or a window).
class OwnedDialogScope {
 public:
  OwnedDialogScope();
  ~OwnedDialogScope();
  OwnedDialogScope(const OwnedDialogScope&) = delete;
  OwnedDialogScope& operator=(const OwnedDialogScope&) = delete;
  void* Owner() const { return m_owner; }

 private:
  IUserInterface* m_ui;
  void* m_owner;
};

}  // namespace dossel
