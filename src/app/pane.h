#pragma once
// The common face of the four panes the main frame switches between. The
// frame routes the Edit menu's commands, the Font and Word Wrap commands,
// Find / Replace and printing to the active pane through it; every default
// here means "this pane does not take the command", which disables it.
// UI thread only.

#include <wx/panel.h>

#include "platform/text.h"

class wxPrintout;
class CTextEdit;
namespace dossel::session {
class CSession;
}

// What a pane asks of the window that holds it (the main frame implements
// it): the session, the query pane that scripts go into, and switching the
// pane shown. UI thread only.
class IPaneHost {
 public:
  virtual dossel::session::CSession& Session() = 0;
  // Puts `text` into the query pane on a line of its own, selected when
  // `select`, and runs it when `execute`.
  virtual void InsertQueryText(dossel::TStringView text, bool select, bool execute) = 0;
  // Shows pane `index` (0 query, 1 result, 2 trace, 3 schema).
  virtual void SwitchPane(int index) = 0;

 protected:
  ~IPaneHost() = default;
};

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
