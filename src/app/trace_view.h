#pragma once
// The trace pane: the running log of every connect, run and cancel. Text
// reaches it only through AppendTrace. Owns its font, word-wrap flag and
// context menu; its Clear All is not undoable. UI thread only.

#include "app/edit_pane.h"
#include "app/pane_appender.h"

class CMainFrame;

class CTraceView : public CEditPane {
 public:
  CTraceView(wxWindow* parent, int id, CMainFrame* frame);
  CPaneAppender& Appender() { return m_appender; }

  bool CanChooseFont() override { return true; }
  void ChooseFont() override { RunFontDialog(); }
  int WordWrapCommand() const override;
  CTextEdit* FindTarget() override { return GetEdit(); }
  wxMenu* BuildContextMenu() override;

 protected:
  void ClearAll() override;

 private:
  CMainFrame* m_pFrame;
  CPaneAppender m_appender;
};
