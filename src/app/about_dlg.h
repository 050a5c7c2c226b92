#pragma once
// The about box: the program's icon and version. UI thread only.

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};
