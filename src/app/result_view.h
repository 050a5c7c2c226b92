#pragma once
// The result pane: shows what a run returns, as text appended to its edit
// control or in the results grid, by the display format read once at
// creation ("Format" under the result key; 1 = text). UI thread only, except
// Appender().Append, which workers call.

#include "app/edit_pane.h"
#include "app/pane_appender.h"

namespace dossel {
class CGridCtrl;
}

class CResultView : public CEditPane {
 public:
  enum Format { kGridFormat = 0, kTextFormat = 1 };

  CResultView(wxWindow* parent, int id, CMainFrame* frame);

  bool IsTextFormat() const { return m_nFormat == kTextFormat; }
  // The results grid: null until the first grid run creates it.
  dossel::CGridCtrl* GetGrid() const { return m_pGrid; }
  // The grid exists, its window too, and it is visible.
  bool IsGridShown() const;
  CPaneAppender& Appender() { return m_appender; }

 protected:
  void OnEditCreated(wxTextCtrl* edit) override;
  void ClearAll() override;

 private:
  dossel::CGridCtrl* m_pGrid = nullptr;
  CMainFrame* m_pFrame;
  int m_nFormat;
  CPaneAppender m_appender;
};
