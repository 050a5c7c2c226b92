#pragma once
// The about box: the program's icon and version. The desktop's has OK and
// Cancel; the handheld edition's has no buttons of its own and ends with
// Escape or the window's close box. UI thread only.

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);

 private:
  void OnCharHook(wxKeyEvent& event);
};
