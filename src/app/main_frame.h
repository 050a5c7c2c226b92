#pragma once
// The main window. Owns the panes and the session state. UI thread only.

#include <wx/frame.h>

class CMainFrame : public wxFrame {
 public:
  CMainFrame();
};
