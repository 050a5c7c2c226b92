#pragma once
// The query pane's undo history. GTK's text control keeps none, so this
// watches the control's change events, turns each change into one edit (the
// text removed and the text inserted at a position) by comparing with the
// text it saw last, and groups them the way an editor's user expects:
// characters typed one after another form one step (a typed line break ends
// it), as do runs of Backspace or of Delete; a change made by the program
// between BeginStep and EndStep is one step whatever it did.
//
// A text replaced without a change event (ChangeValue) is noticed at the
// next change or Undo, and the history then starts again from it.
//
// UI thread only.

#include <wx/event.h>
#include <wx/string.h>

#include <deque>

class wxTextCtrl;

namespace dossel {

// One change of the text: `removed` was at `pos` and `inserted` stands there now.
struct UndoEdit {
  long pos = 0;
  wxString removed;
  wxString inserted;
  // Typing or deleting that the next keystroke may still join.
  bool open = false;
};

// The single edit that turns `before` into `after` (their common beginning
// and end left out).
UndoEdit DiffTexts(const wxString& before, const wxString& after);

// Joins `next` to `last` when both are keystrokes of one run; true when
// joined (then `last` holds both).
bool JoinKeystroke(UndoEdit& last, const UndoEdit& next);

class CUndoHistory {
 public:
  // Steps kept; the oldest go first.
  static constexpr size_t kMaxSteps = 500;

  CUndoHistory() = default;
  CUndoHistory(const CUndoHistory&) = delete;
  CUndoHistory& operator=(const CUndoHistory&) = delete;
  ~CUndoHistory();

  // The control to watch; called again when the pane rebuilds it (the
  // history stays, the text being the same).
  void SetTarget(wxTextCtrl* target);
  // Forgets every step (a new document).
  void Reset();
  // Starts again when the control's text was replaced without a change
  // event (its length no longer fits); cheap enough for every idle turn.
  void Resync();
  // Ends the current run of typing, so the next keystroke starts a step.
  void BreakRun();
  void BeginStep();
  void EndStep();

  bool CanUndo() const { return !m_steps.empty(); }
  size_t StepCount() const { return m_steps.size(); }
  // Takes back the newest step and selects the text it brought back.
  bool Undo();

 private:
  void OnText(wxCommandEvent& event);
  void Record(const UndoEdit& edit);

  wxTextCtrl* m_target = nullptr;
  wxString m_seen;
  std::deque<UndoEdit> m_steps;
  int m_stepDepth = 0;
  wxString m_stepStart;
  bool m_applying = false;
};

}  // namespace dossel
