#pragma once
// The result pane: shows what a run returns, as text appended to its edit
// control or in the results grid, by the display format read once at
// creation ("Format" under the result key; 1 = text). In grid format the
// edit control stays empty and read-only, and the grid, made by the first
// grid run, covers the pane.
//
// A run fills the grid between the grid's BeginFill and EndFill: the
// session's store writer stores the rows and publishes each finished one,
// and the grid shows and scrolls the published rows meanwhile but refuses
// sorting, selecting, editing and copying. For the whole run this pane keeps
// Copy, Select All, the exports and the font disabled, since a run may begin
// a fill at any moment. When the fill ends (FinishGridFill, on the UI
// thread) the columns are sized to what they hold and the grid repaints.
//
// A run that yields several result sets keeps each in a grid of its own,
// under a strip of tabs that chooses the one shown (the newest at first);
// the commands of the pane (copy, select all, export, sorting, go to) act
// on the shown grid. The first grid lives as long as the pane; the others
// go when the next run starts.
//
// UI thread only, except Appender().Append, which any thread may call.

#include <vector>

#include "app/edit_pane.h"
#include "app/pane_appender.h"

class CResultTabs;

namespace dossel {
class CGridCtrl;
}

class CResultView : public CEditPane {
 public:
  enum Format { kGridFormat = 0, kTextFormat = 1 };
  // The grid's child window identifier.
  static constexpr int kGridId = 100;

  CResultView(wxWindow* parent, int id, IPaneHost* host);

  bool IsTextFormat() const { return m_nFormat == kTextFormat; }
  // The results grid shown: null until the first grid run creates it.
  dossel::CGridCtrl* GetGrid() const { return m_pGrid; }
  // The grids of the last run's result sets, in order (the first grid alone
  // between runs with at most one result set).
  const std::vector<dossel::CGridCtrl*>& GetResultGrids() const { return m_grids; }
  // The tabs over the grids; shown only while there is more than one.
  CResultTabs* GetResultTabs() const { return m_pTabs; }
  // Shows the grid of result set `index` (from 0).
  void ShowResult(size_t index);
  // The grid exists, its window too, and it is visible.
  bool IsGridShown() const;
  // True while a run writes the grid's cells.
  bool IsGridBusy() const;
  CPaneAppender& Appender() { return m_appender; }

  // A run starts, and another has ended: the next result set replaces what
  // the pane holds.
  void BeginRun() { m_nRunResults = 0; }
  void EndRun() { m_nRunResults = 0; }
  // The grid for the run's next result set: the first grid, made or reset,
  // for its first; a new grid, shown at once, for each later one. Null when
  // no grid window can be made.
  dossel::CGridCtrl* PrepareResultGrid();
  // A statement without columns: an existing grid is emptied, unless this
  // run already keeps a result set there.
  void EmptyResults();
  // Ends the fill the run began: every row shown, the columns sized to
  // what they hold (the header alone when no row was written).
  void FinishGridFill(bool rowsWritten);
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
  // Makes a grid with the settings a result needs; null when its window
  // cannot be created.
  dossel::CGridCtrl* CreateGrid(int id);
  // Gives a later run the first grid back with its first counts: no text,
  // selection or scroll position of an earlier run stays.
  void ResetGrid();
  // Destroys the grids of an earlier run's later result sets.
  void DropLaterGrids();
  void ApplyGridSettings(dossel::CGridCtrl* grid);
  // The result key's font, or the desktop's normal font for the missing
  // default face.
  void ApplyGridFont(dossel::CGridCtrl* grid);

  dossel::CGridCtrl* m_pGrid = nullptr;
  std::vector<dossel::CGridCtrl*> m_grids;
  std::vector<int32_t> m_rowCounts;          // rows of each grid's result set
  dossel::CGridCtrl* m_pFillGrid = nullptr;  // the grid the run fills
  CResultTabs* m_pTabs = nullptr;
  size_t m_nRunResults = 0;  // result sets of the current run given a grid
  IPaneHost* m_pHost;
  int m_nFormat;
  CPaneAppender m_appender;
};
