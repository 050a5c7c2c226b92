#pragma once
// The result pane: shows what a run returns, as text appended to its edit
// control or in the results grid, by the display format read once at
// creation ("Format" under the result key; 1 = text). In grid format the
// edit control stays empty and read-only, and the grid, made by the first
// grid run, covers the pane.
//
// While a run fills the grid, the query worker writes the grid's cells with
// the grid's drawing switched off. The grid then neither paints nor handles
// clicks, keys or wheel turns (its handlers test the drawing switch under the
// grid's own lock), and this pane keeps Copy, Select All and the exports
// disabled, so nothing on the UI thread reads the cells the worker writes.
// When the fill ends the UI thread switches drawing on, sizes the columns and
// repaints, and the new rows show at once.
//
// UI thread only, except Appender().Append, which workers call.

#include "app/edit_pane.h"
#include "app/pane_appender.h"

namespace dossel {
class CGridCtrl;
}

class CResultView : public CEditPane {
 public:
  enum Format { kGridFormat = 0, kTextFormat = 1 };
  // The grid's child window identifier.
  static constexpr int kGridId = 100;

  CResultView(wxWindow* parent, int id, CMainFrame* frame);

  bool IsTextFormat() const { return m_nFormat == kTextFormat; }
  // The results grid: null until the first grid run creates it.
  dossel::CGridCtrl* GetGrid() const { return m_pGrid; }
  // The grid exists, its window too, and it is visible.
  bool IsGridShown() const;
  // True while a run writes the grid's cells.
  bool IsGridBusy() const;
  CPaneAppender& Appender() { return m_appender; }

  // Makes the grid with the settings a result needs; null when its window
  // cannot be created.
  dossel::CGridCtrl* CreateGrid();
  // Gives a later run the grid back with its first counts: no text,
  // selection or scroll position of an earlier run stays.
  void ResetGrid();
  // Ends the fill the run began: every row shown, the columns sized to
  // what they hold (the header alone when no row was written).
  void FinishGridFill();
  // A fill whose end the closing frame gave up on (closing was then
  // cancelled, and the run's thread is idle): the window takes its rows and
  // input back.
  void EndAbandonedFill();

  bool IsEditCommandEnabled(int command) const override;
  void DoEditCommand(int command) override;
  wxWindow* FocusWindow() override;
  // Find and Find Next search the text results; Replace never changes them.
  CTextEdit* FindTarget() override;

  // Font (the result key's font, for the text or the grid), word wrap
  // (32782: a flag stored under the result key, while the grid is not
  // shown) and printing of the text (while the grid is not shown).
  // Not while a run fills the grid: the cells' fonts are read by the fill.
  bool CanChooseFont() override { return !(IsGridShown() && IsGridBusy()); }
  void ChooseFont() override;
  int WordWrapCommand() const override;
  bool CanPrint() override { return !IsGridShown(); }
  wxPrintout* CreatePrintout() override;

  // Save As and Save Selection: export the grid (nothing in text format).
  void ExportResults(bool selectionOnly);
  bool CanExport() const;

 protected:
  void ClearAll() override;

 private:
  void OnContextMenu(wxContextMenuEvent& event);
  void OnContextCommand(wxCommandEvent& event);
  void ApplyGridSettings();
  // The result key's font, or the desktop's normal font for the missing
  // default face.
  void ApplyGridFont();

  dossel::CGridCtrl* m_pGrid = nullptr;
  CMainFrame* m_pFrame;
  int m_nFormat;
  CPaneAppender m_appender;
};
