#pragma once
// The common face of the four panes the main frame switches between. The
// frame routes the Edit menu's commands, the Font and Word Wrap commands,
// Find / Replace and printing to the active pane through it; every default
// here means "this pane does not take the command", which disables it.
// UI thread only.

#include <wx/panel.h>

class CMainFrame;
class wxPrintout;
class CTextEdit;

class CPane : public wxPanel {
 public:
  CPane(wxWindow* parent, int id) : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {}

  // Edit menu commands (Undo, Cut, Copy, Paste, Select All, Clear All).
  virtual bool IsEditCommandEnabled(int /*command*/) const { return false; }
  virtual void DoEditCommand(int /*command*/) {}
  // The window that should get the keyboard focus when the pane is shown.
  virtual wxWindow* FocusWindow() { return this; }

  // The Font command: whether the pane has a font to choose, and choosing it
  // (dialog, storing and applying).
  virtual bool CanChooseFont() { return false; }
  virtual void ChooseFont() {}

  // The word-wrap command this pane answers (32782 or 32835), 0 for none;
  // the check mark, and the toggle (which stores the new flag).
  virtual int WordWrapCommand() const { return 0; }
  virtual bool IsWordWrap() const { return false; }
  virtual void ToggleWordWrap() {}

  // The text control Find, Find Next and Replace work on; null for none.
  virtual CTextEdit* FindTarget() { return nullptr; }

  // Print and Print Preview: whether the pane prints, and a printout of its
  // contents, owned by the caller (null when it does not print).
  virtual bool CanPrint() { return false; }
  virtual wxPrintout* CreatePrintout() { return nullptr; }
};
