#pragma once
// Find, Find Next and Replace on the active pane's text through wx's
// find/replace dialog. The frame owns one; the modeless dialog stays open
// while the user switches panes, and every search asks the frame's
// callback for the control of the pane that is active at that moment. The
// search text and options are kept for Find Next (F3) after the dialog has
// closed. Searches run in the control itself, on its positions, without
// copying its text. UI thread only.

#include <wx/fdrepdlg.h>

#include <functional>

class CTextEdit;
class wxStyledTextCtrl;

namespace dossel {

// Where `what` occurs in `text` (indexes of its characters) searching from
// `from`, forwards with wxFR_DOWN in `flags`, else backwards (a match ending
// at or before `from`); wxFR_MATCHCASE and wxFR_WHOLEWORD as in the dialog.
// -1 when not found.
long FindInText(const wxString& text, const wxString& what, long from, int flags);

// Where `what` occurs in the control's text searching from `from`, forwards
// with wxFR_DOWN in `flags`, else backwards (a match ending at or before
// `from`); wxFR_MATCHCASE and wxFR_WHOLEWORD as in the dialog. -1 when not
// found; otherwise `end` (when given) gets the match's end.
long FindInEdit(wxStyledTextCtrl& edit, const wxString& what, long from, int flags, long* end = nullptr);

// Replaces every match of `what` by `with` in one undo step; their number.
int ReplaceAllInEdit(wxStyledTextCtrl& edit, const wxString& what, const wxString& with, int flags);

class CFindReplace : public wxEvtHandler {
 public:
  using TargetFn = std::function<CTextEdit*()>;

  CFindReplace(wxWindow* owner, TargetFn target);
  ~CFindReplace() override;

  void ShowFind();
  void ShowReplace();
  // Repeats the last search; opens Find when there was none yet.
  void FindNext();

  wxFindReplaceData& Data() { return m_data; }
  wxFindReplaceDialog* Dialog() const { return m_dialog; }

  // The searches the dialog's buttons run; each works on the current target
  // and answers whether it found (or replaced) anything.
  bool FindNextMatch();
  bool ReplaceCurrent();
  int ReplaceAll();

 private:
  void Show(int style, const wxString& title);
  void OnFindEvent(wxFindDialogEvent& event);
  void OnFindClose(wxFindDialogEvent& event);
  // The selection or the word at the caret, to start a search with.
  static wxString SeedText(CTextEdit* edit);

  wxWindow* m_owner;
  TargetFn m_target;
  wxFindReplaceData m_data;
  wxFindReplaceDialog* m_dialog = nullptr;
};

}  // namespace dossel
