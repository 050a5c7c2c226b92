#pragma once
// The common face of the four panes the main frame switches between. The
// frame routes the Edit menu's commands to the active pane through it.
// UI thread only.

#include <wx/panel.h>

class CMainFrame;

class CPane : public wxPanel {
 public:
  CPane(wxWindow* parent, int id) : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {}

  // Edit menu commands (Undo, Cut, Copy, Paste, Select All, Clear All).
  virtual bool IsEditCommandEnabled(int /*command*/) const { return false; }
  virtual void DoEditCommand(int /*command*/) {}
  // The window that should get the keyboard focus when the pane is shown.
  virtual wxWindow* FocusWindow() { return this; }
};
