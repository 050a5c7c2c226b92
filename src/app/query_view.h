#pragma once
// The query pane: where the user writes SQL and where templates, keywords and
// generated scripts are inserted. Its text is the document's content.
// UI thread only.

#include "app/edit_pane.h"

class CQueryView : public CEditPane {
 public:
  CQueryView(wxWindow* parent, int id, CMainFrame* frame);

  // Appends `text` (after a line break when `newLine`), puts the caret at
  // the end, selects the inserted part when `select`, and runs Execute when
  // `execute`.
  void InsertText(dossel::TStringView text, bool newLine, bool select, bool execute);

  // The text a run takes: the selection, or the whole text without one.
  dossel::TString GetRunText() const;
  dossel::TString GetQueryText() const;
  void SetQueryText(dossel::TStringView text);

 protected:
  void ClearAll() override;

 private:
  CMainFrame* m_pFrame;
};
