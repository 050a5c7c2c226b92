#pragma once
// The modeless Go To dialog: moves to a line of the query or trace pane, or
// to a row of the result grid, whichever pane is active. The frame creates
// it on first use and it destroys itself when closed. With an empty line
// edit the default button reads "&Next" and moves one line on from the
// caret; "&Previous" then moves one back. UI thread only.

#include <wx/dialog.h>
#include <wx/weakref.h>

class CMainFrame;
class CTextEdit;
class wxButton;
class wxTextCtrl;

// The control identifiers of the dialog in one edition.
struct GoToDialogIds {
  int line, goTo, previous;
};

class CGoToDlg : public wxDialog {
 public:
  // The desktop's control identifiers; Ids() gives this edition's.
  static constexpr GoToDialogIds kDesktopIds{1010, 1019, 1013};
  static const GoToDialogIds& Ids();

  explicit CGoToDlg(CMainFrame* frame);

  // Fills the line edit with the current line (or grid row) and focuses it;
  // runs whenever the dialog is activated.
  void Prefill();
  // The default button ("&Go To" or "&Next") and "&Previous".
  void GoTo();
  void Previous();

  wxTextCtrl* LineEdit() const { return m_line; }
  wxButton* GoToButton() const { return m_goTo; }
  wxButton* PreviousButton() const { return m_previous; }

  // The target after clamping to 1..count (a target above the count or
  // negative becomes the count, 0 becomes 1).
  static long Clamp(long target, long count);

 private:
  void OnLineChanged(wxCommandEvent& event);
  void OnActivate(wxActivateEvent& event);
  void OnClose(wxCloseEvent& event);
  // The branches of GoTo: true when they moved.
  bool GoToGridRow(long target);
  bool GoToTextLine(CTextEdit* edit, long target);
  // Shows the clamped target in the line edit when it differs from what was asked.
  void ShowClamped(long asked, long clamped);

  CMainFrame* m_pFrame;
  wxTextCtrl* m_line = nullptr;
  wxButton* m_goTo = nullptr;
  wxButton* m_previous = nullptr;
  bool m_bPrevious = false;
  bool m_bNext = false;
};

// The frame's hold on its Go To dialog: empty until the first Go To and
// again once the dialog closed itself; destroys a dialog still open when
// the frame goes. UI thread only.
class CGoToHolder {
 public:
  CGoToHolder() = default;
  CGoToHolder(const CGoToHolder&) = delete;
  CGoToHolder& operator=(const CGoToHolder&) = delete;
  ~CGoToHolder() {
    if (m_dialog) m_dialog->Destroy();
  }
  CGoToDlg* Get() const { return m_dialog; }
  void Set(CGoToDlg* dialog) { m_dialog = dialog; }

 private:
  wxWeakRef<CGoToDlg> m_dialog;
};
