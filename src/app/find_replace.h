#pragma once
// Find, Find Next and Replace on the active pane's text through wx's
// find/replace dialog. The frame owns one; the modeless dialog stays open
// while the user switches panes, and every search asks the frame's
// callback for the control of the pane that is active at that moment. The
// search text and options are kept for Find Next (F3) after the dialog has
// closed. UI thread only.

#include <wx/fdrepdlg.h>

#include <functional>

class wxTextCtrl;

namespace dossel {

// Where `what` occurs in `text` searching from `from`, forwards with
// wxFR_DOWN in `flags`, else backwards (a match ending at or before `from`);
// wxFR_MATCHCASE and wxFR_WHOLEWORD as in the dialog. -1 when not found.
long FindInText(const wxString& text, const wxString& what, long from, int flags);

// `text` with every match of `what` replaced by `with`; `count` gets their number.
wxString ReplaceAllInText(const wxString& text, const wxString& what, const wxString& with, int flags, int& count);

class CFindReplace : public wxEvtHandler {
 public:
  using TargetFn = std::function<wxTextCtrl*()>;

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
  static wxString SeedText(wxTextCtrl* edit);

  wxWindow* m_owner;
  TargetFn m_target;
  wxFindReplaceData m_data;
  wxFindReplaceDialog* m_dialog = nullptr;
};

}  // namespace dossel
