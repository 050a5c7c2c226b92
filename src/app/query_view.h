#pragma once
// The query pane: where the user writes SQL and where templates, keywords and
// generated scripts are inserted. Its text is the document's content; its
// control (CSqlEdit) highlights it and keeps its undo history. Makes its
// context menu, with the Script and Template catalogues, fresh each time it
// opens. UI thread only.

#include <memory>

#include "app/edit_pane.h"

class CMainFrame;
class CSqlEdit;
class CSqlCompletion;

class CQueryView : public CEditPane {
 public:
  CQueryView(wxWindow* parent, int id, CMainFrame* frame);
  ~CQueryView() override;

  // Appends `text` (after a line break when `newLine`), puts the caret at
  // the end, selects the inserted part when `select`, and runs Execute when
  // `execute`.
  void InsertText(dossel::TStringView text, bool newLine, bool select, bool execute);

  // The text a run takes: the selection, or the whole text without one.
  dossel::TString GetRunText() const;
  dossel::TString GetQueryText() const;
  // Replaces the whole text (a new or opened document); the undo history
  // starts again.
  void SetQueryText(dossel::TStringView text);
  void ReplaceText(const wxString& text);
  // Replaces the whole text with UTF-8 bytes taken as they are.
  void ReplaceTextUtf8(std::string_view utf8);
  CSqlEdit* SqlEdit() const;
  // Completion of names and keywords; null when the settings switch it off.
  CSqlCompletion* Completion() const { return m_pCompletion.get(); }

  bool CanChooseFont() override { return true; }
  void ChooseFont() override { RunFontDialog(); }
  int WordWrapCommand() const override;
  CTextEdit* FindTarget() override { return GetEdit(); }
  bool CanPrint() override { return true; }
  wxPrintout* CreatePrintout() override;

  wxMenu* BuildContextMenu() override;
  // A catalogue entry chosen from the context menu (its program number,
  // 33000 to 33999): appends the entry's text on a new line.
  void InsertCatalogEntry(int command);

 protected:
  void ClearAll() override;

 private:
  void OnCatalogCommand(wxCommandEvent& event);

  CMainFrame* m_pFrame;
  std::unique_ptr<CSqlCompletion> m_pCompletion;
};
