#include "app/recovery_keeper.h"

#include <wx/filename.h>
#include <wx/stc/stc.h>

#include <algorithm>

#include "app/dossel_doc.h"
#include "app/main_frame.h"
#include "app/text_edit.h"
#include "history/recovery_file.h"
#include "platform/user_interface.h"

using namespace dossel;
using Clock = std::chrono::steady_clock;

CRecoveryKeeper::CRecoveryKeeper(CDosselDoc& doc, CTextEdit& edit, history::CRecoveryFile& file, unsigned quietMs,
                                 unsigned longestMs)
    : m_doc(doc),
      m_edit(edit),
      m_file(file),
      m_quietMs(quietMs),
      m_longestMs(std::max(quietMs, longestMs)),
      m_timer(this) {
  // Scintilla tells of changes only when asked to.
  m_edit.SetModEventMask(m_edit.GetModEventMask() | wxSTC_MOD_INSERTTEXT | wxSTC_MOD_DELETETEXT);
  m_edit.Bind(wxEVT_STC_CHANGE, &CRecoveryKeeper::OnChange, this);
  m_edit.Bind(wxEVT_STC_SAVEPOINTREACHED, &CRecoveryKeeper::OnSavePoint, this);
  Bind(wxEVT_TIMER, &CRecoveryKeeper::OnTimer, this);
}

CRecoveryKeeper::~CRecoveryKeeper() {
  m_timer.Stop();
  m_edit.Unbind(wxEVT_STC_CHANGE, &CRecoveryKeeper::OnChange, this);
  m_edit.Unbind(wxEVT_STC_SAVEPOINTREACHED, &CRecoveryKeeper::OnSavePoint, this);
}

void CRecoveryKeeper::OnChange(wxStyledTextEvent& event) {
  event.Skip();
  TextChanged();
}

// Saved, or undone to the saved text: nothing is at risk.
void CRecoveryKeeper::OnSavePoint(wxStyledTextEvent& event) {
  event.Skip();
  // The document's own flag (a restored text's mark) is cleared after the
  // control's save point: look once the save is done.
  CallAfter([this] {
    if (!m_doc.IsModified()) KeepNow();
  });
}

// A change only restarts the timer: typing costs no copy of the text.
void CRecoveryKeeper::TextChanged() {
  const Clock::time_point now = Clock::now();
  if (!m_bChangePending) {
    m_bChangePending = true;
    m_firstChange = now;
  }
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_firstChange).count();
  const long left = static_cast<long>(m_longestMs) - static_cast<long>(waited);
  m_timer.StartOnce(static_cast<int>(std::clamp<long>(left, 1, m_quietMs)));
}

void CRecoveryKeeper::OnTimer(wxTimerEvent&) { KeepNow(); }

void CRecoveryKeeper::KeepNow() {
  m_timer.Stop();
  m_bChangePending = false;
  if (!m_doc.IsModified()) {
    m_file.Remove();
    return;
  }
  history::RecoveredQuery query;
  query.path = m_doc.GetPathName().utf8_string();
  const wxCharBuffer text = m_edit.GetTextRaw();
  query.text.assign(text.data(), text.length());
  m_file.Save(std::move(query));
}

bool CRecoveryKeeper::WaitKept(unsigned milliseconds) { return m_file.WaitIdle(milliseconds); }

bool OfferRecovery(CMainFrame& frame, history::CRecoveryFile& own, const std::string& folder) {
  if (!own.IsUsable()) return false;
  for (history::CLeftRecovery& left : history::FindLeftRecoveries(folder)) {
    history::RecoveredQuery query;
    // A file that cannot be read is left where it is for a later look.
    if (!left.Read(query)) continue;
    const int answer = ShowMessageBox(DT("Restore the unsaved query?"), DT("Dossel"), kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes) {
      left.Discard();
      continue;
    }
    own.Adopt(std::move(left));
    frame.RestoreUnsavedQuery(query.path, query.text);
    return true;
  }
  return false;
}
