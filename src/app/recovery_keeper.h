#pragma once
// CRecoveryKeeper: keeps the query pane's unsaved text in this program's
// recovery file (history/recovery_file.h). After a change the text is
// handed to the recovery writer once the typing pauses (`quietMs`), and at
// the latest `longestMs` after the first change not yet kept, so a long
// run of typing is kept too; the UI thread only copies the text. Once the
// text is saved, or put back as it was saved, the file is removed.
//
// OfferRecovery, at start-up: a recovery file left by a program that is gone
// (a crash, a kill) is offered back, "Restore the unsaved query?"; yes puts
// its text into the query pane, marked modified, and makes the file this
// program's own; no removes it. Recovery files of programs still running
// are left alone.
//
// UI thread only.

#include <wx/event.h>
#include <wx/timer.h>

#include <chrono>

class CDosselDoc;
class CMainFrame;
class CTextEdit;
class wxStyledTextEvent;

namespace dossel::history {
class CRecoveryFile;
}

class CRecoveryKeeper : public wxEvtHandler {
 public:
  CRecoveryKeeper(CDosselDoc& doc, CTextEdit& edit, dossel::history::CRecoveryFile& file, unsigned quietMs = 2000,
                  unsigned longestMs = 5000);
  ~CRecoveryKeeper() override;
  CRecoveryKeeper(const CRecoveryKeeper&) = delete;
  CRecoveryKeeper& operator=(const CRecoveryKeeper&) = delete;

  // The text changed (the control says so itself; a restored text calls it).
  void TextChanged();
  // Hands the text over now when it is unsaved, else removes the file.
  void KeepNow();
  // Waits at most `milliseconds` until the file holds what was handed over.
  bool WaitKept(unsigned milliseconds);

 private:
  void OnChange(wxStyledTextEvent& event);
  void OnSavePoint(wxStyledTextEvent& event);
  void OnTimer(wxTimerEvent& event);

  CDosselDoc& m_doc;
  CTextEdit& m_edit;
  dossel::history::CRecoveryFile& m_file;
  const unsigned m_quietMs;
  const unsigned m_longestMs;
  wxTimer m_timer;
  // The first change not yet handed over.
  std::chrono::steady_clock::time_point m_firstChange;
  bool m_bChangePending = false;
};

// Offers the newest recovery file left by a program that is gone, then the
// next while the user declines; true when a text was restored.
bool OfferRecovery(CMainFrame& frame, dossel::history::CRecoveryFile& own, const std::string& folder);
