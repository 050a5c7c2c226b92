#pragma once
// CGridCtrl: the results grid's window. It shows a CGridStore (which owns
// the rows, cells, sizes and selection data) with fixed header rows and
// columns, pixel scrolling, double-buffered painting and header-click
// sorting, and owns its two scroll bars, its font objects and text measures.
// Every storage operation of the store is offered here too, followed by the
// repaint and scroll-bar work it needs.
//
// Threads. Everything here is the UI thread's, except during a fill
// (BeginFill ... EndFill): then one other thread, the session's store writer,
// writes through GetStore() and publishes finished rows, while the window
// shows and scrolls the published rows (it polls the published count with a
// timer, or on OnRowsPublished), paints the background for the rest and
// refuses sorting, selecting, editing and copying.
// Out of memory in the store is reported with the "Out of memory." message
// box on the UI thread only: at once when the operation ran there, else
// when the fill ends.

#include <wx/window.h>

#include <wx/font.h>
#include <wx/timer.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "grid/grid_cell.h"
#include "grid/grid_store.h"
#include "grid/grid_types.h"
#include "platform/format.h"

class wxPrintout;
class wxScrollBar;
class wxScrollEvent;

namespace dossel {

class CGridCtrl;
class CGridTitleTip;
class GridTextMeasure;

// Print margins in character units of the printer font; top and bottom are
// kept but take no part in the layout.
struct GridPrintMargins {
  int32_t header = 2, footer = 2, left = 4, right = 4, top = 1, bottom = 1, gap = 1;
};

// What the grid tells its owner (the parent window) through
// wxEVT_GRID_NOTIFY; the owner answers with SetResult.
class GridNotifyEvent : public wxCommandEvent {
 public:
  GridNotifyEvent(wxEventType type, int id, int32_t code, int32_t row, int32_t col)
      : wxCommandEvent(type, id), m_code(code), m_row(row), m_col(col) {}
  wxEvent* Clone() const override { return new GridNotifyEvent(*this); }
  int32_t GetCode() const { return m_code; }
  int32_t GetRow() const { return m_row; }
  int32_t GetCol() const { return m_col; }
  void SetResult(intptr_t result) { m_result = result; }
  intptr_t GetResult() const { return m_result; }
  // Set for the virtual-mode requests: the record to fill or the range hint.
  GridItem* m_pItem = nullptr;
  CellRange m_range;

 private:
  int32_t m_code;
  int32_t m_row;
  int32_t m_col;
  intptr_t m_result = 0;
};
wxDECLARE_EVENT(wxEVT_GRID_NOTIFY, GridNotifyEvent);

class CGridCtrl : public wxWindow, private IGridStoreHost {
 public:
  CGridCtrl(int32_t nRows = 0, int32_t nCols = 0, int32_t nFixedRows = 0, int32_t nFixedCols = 0);
  ~CGridCtrl() override;
  CGridCtrl(const CGridCtrl&) = delete;
  CGridCtrl& operator=(const CGridCtrl&) = delete;

  // ---- window ----
  static constexpr long kDefaultStyle = wxBORDER_SUNKEN | wxWANTS_CHARS | wxCLIP_CHILDREN;
  bool Create(const wxRect& rect, wxWindow* pParent, int nID, long dwStyle = kDefaultStyle);
  void RepaintGrid();
  bool RedrawCell(int32_t nRow, int32_t nCol, wxDC* pDC = nullptr);
  bool RedrawRow(int32_t row);
  bool RedrawColumn(int32_t col);
  bool InvalidateCellRect(const CellId& cell);
  bool InvalidateCellRect(const CellRange& cellRange);

  // ---- the store ----
  CGridStore& GetStore() { return m_store; }
  const CGridStore& GetStore() const { return m_store; }

  // ---- filling by the store writer (UI thread) ----
  // Clears the selection and focus and shows nothing until the writer
  // publishes rows; from then on shows the published rows as they come.
  void BeginFill();
  // The writer has finished (or, cancelled, stopped): every row is shown,
  // or only the published ones when cancelled; the columns are sized over
  // all shown rows; an out-of-memory during the fill is reported.
  void EndFill(bool bCancelled = false);
  bool IsFilling() const { return m_bFilling; }
  // Shows what the writer published since the last look (the fill's timer
  // calls it too).
  void OnRowsPublished();
  // The rows the window shows: during a fill those it has taken in so far.
  int32_t GetShownRowCount() const { return m_bFilling ? m_nShownRows : GetRowCount(); }
  // Empties the grid for a new result of rows x cols: no text, selection or
  // focus of the earlier one, scrolled to the top, default sizes (the new
  // header's sizing follows with AutoSize).
  void ResetForNewResult(int32_t nRows, int32_t nCols);

  // ---- sizes and structure ----
  int32_t GetRowCount() const { return m_store.GetRowCount(); }
  int32_t GetColumnCount() const { return m_store.GetColumnCount(); }
  int32_t GetFixedRowCount() const { return m_store.GetFixedRowCount(); }
  int32_t GetFixedColumnCount() const { return m_store.GetFixedColumnCount(); }
  bool SetRowCount(int32_t nRows);
  bool SetColumnCount(int32_t nCols);
  bool SetFixedRowCount(int32_t nFixedRows);
  bool SetFixedColumnCount(int32_t nFixedCols);
  int32_t InsertRow(TStringView strHeading, int32_t nRow = -1);
  int32_t InsertColumn(TStringView strHeading, uint32_t nFormat = kDefaultCellFormat, int32_t nColumn = -1);
  bool DeleteRow(int32_t nRow);
  bool DeleteColumn(int32_t nColumn);
  bool DeleteNonFixedRows();
  bool DeleteAllCells();

  // The cell's object, made on first use (CGridStore::GetCell).
  CGridCellBase* GetCell(int32_t nRow, int32_t nCol) const { return m_store.GetCell(nRow, nCol); }
  // The cell's object when it has one.
  CGridCellBase* FindCell(int32_t nRow, int32_t nCol) const { return m_store.FindCell(nRow, nCol); }
  // The cell to draw, measure or ask: its object, or one the store lends
  // for a moment (CGridStore::PeekCell); what is changed on a lent cell is
  // not kept.
  CGridCellBase* PeekCell(int32_t nRow, int32_t nCol) const {
    return const_cast<CGridCellBase*>(m_store.PeekCell(nRow, nCol));
  }
  bool SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell) { return m_store.SetCell(nRow, nCol, pCell); }
  CGridDefaultCell* GetDefaultCell(bool bFixedRow, bool bFixedCol) const {
    return m_store.GetDefaultCell(bFixedRow, bFixedCol);
  }
  CGridCellBase* CreateCell(int32_t nRow, int32_t nCol) { return m_store.CreateCell(nRow, nCol); }
  void DestroyCell(int32_t nRow, int32_t nCol) { m_store.DestroyCell(nRow, nCol); }
  bool SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass);
  bool SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass) { return m_store.SetDefaultCellClass(pRuntimeClass); }

  bool SetRowHeight(int32_t row, int32_t height);
  bool SetColumnWidth(int32_t col, int32_t width);
  int32_t GetRowHeight(int32_t row) const { return m_store.GetRowHeight(row); }
  int32_t GetColumnWidth(int32_t col) const { return m_store.GetColumnWidth(col); }
  // Sums over the rows and columns shown (during a fill: the published ones).
  int32_t GetFixedRowHeight() const { return m_store.SumRowHeights(ShownFixedRows()); }
  int32_t GetFixedColumnWidth() const { return m_store.SumColumnWidths(ShownFixedCols()); }
  int32_t GetVirtualHeight() const { return m_store.SumRowHeights(ShownRows()); }
  int32_t GetVirtualWidth() const { return m_store.SumColumnWidths(ShownCols()); }
  bool IsValid(int32_t nRow, int32_t nCol) const { return m_store.IsValid(nRow, nCol); }
  bool IsValid(const CellId& cell) const { return m_store.IsValid(cell); }
  bool IsValid(const CellRange& range) const { return m_store.IsValid(range); }

  // ---- cell contents and attributes ----
  bool SetCellText(int32_t nRow, int32_t nCol, TStringView str);
  template <typename... Args>
  bool SetCellTextF(int32_t nRow, int32_t nCol, TStringView format, const Args&... args) {
    return SetCellText(nRow, nCol, Format(format, args...));
  }
  TString GetCellText(int32_t nRow, int32_t nCol) const { return m_store.GetCellText(nRow, nCol); }
  bool SetCellData(int32_t nRow, int32_t nCol, uint32_t lParam) {
    return Checked(m_store.SetCellData(nRow, nCol, lParam));
  }
  uint32_t GetCellData(int32_t nRow, int32_t nCol) const { return m_store.GetCellData(nRow, nCol); }
  bool SetCellImage(int32_t nRow, int32_t nCol, int32_t nImage) {
    return Checked(m_store.SetCellImage(nRow, nCol, nImage));
  }
  int32_t GetCellImage(int32_t nRow, int32_t nCol) const { return m_store.GetCellImage(nRow, nCol); }
  bool SetCellState(int32_t nRow, int32_t nCol, uint32_t state) { return m_store.SetCellState(nRow, nCol, state); }
  uint32_t GetCellState(int32_t nRow, int32_t nCol) const { return m_store.GetCellState(nRow, nCol); }
  bool SetCellFormat(int32_t nRow, int32_t nCol, uint32_t nFormat) {
    return m_store.SetCellFormat(nRow, nCol, nFormat);
  }
  uint32_t GetCellFormat(int32_t nRow, int32_t nCol) const { return m_store.GetCellFormat(nRow, nCol); }
  bool SetCellBkColour(int32_t nRow, int32_t nCol, GridColour cr = kClrDefault) {
    return Checked(m_store.SetCellBkColour(nRow, nCol, cr));
  }
  GridColour GetCellBkColour(int32_t nRow, int32_t nCol) const { return m_store.GetCellBkColour(nRow, nCol); }
  bool SetCellFgColour(int32_t nRow, int32_t nCol, GridColour cr = kClrDefault) {
    return Checked(m_store.SetCellFgColour(nRow, nCol, cr));
  }
  GridColour GetCellFgColour(int32_t nRow, int32_t nCol) const { return m_store.GetCellFgColour(nRow, nCol); }
  bool SetCellFont(int32_t nRow, int32_t nCol, const GridLogFont* plf) {
    return Checked(m_store.SetCellFont(nRow, nCol, plf));
  }
  const GridLogFont* GetCellFont(int32_t nRow, int32_t nCol) const { return m_store.GetCellFont(nRow, nCol); }
  bool IsCellEditing(int32_t nRow, int32_t nCol) const { return m_store.IsCellEditing(nRow, nCol); }
  bool SetCellItem(const GridItem* pItem) { return Checked(m_store.SetCellItem(pItem)); }
  bool GetCellItem(GridItem* pItem) const { return m_store.GetCellItem(pItem); }
  void SetModified(bool bModified = true, int32_t nRow = -1, int32_t nCol = -1);
  bool GetModified(int32_t nRow = -1, int32_t nCol = -1) const { return m_store.GetModified(nRow, nCol); }
  void SetVirtualMode(bool bVirtual);
  bool GetVirtualMode() const { return m_store.GetVirtualMode(); }
  void SetDisplayCallback(GridDisplayCallback pCallback, intptr_t lParam = 0) {
    m_store.SetDisplayCallback(pCallback, lParam);
  }
  CellId FindNextCell(CellId cell, uint32_t nFlags) const { return m_store.FindNextCell(cell, nFlags); }

  // ---- focus and selection (the base the interaction layer builds on) ----
  // Refused (no change) during a fill, except clearing.
  CellId SetFocusCell(CellId cell);
  CellId SetFocusCell(int32_t nRow, int32_t nCol) { return SetFocusCell(CellId(nRow, nCol)); }
  CellId GetFocusCell() const { return m_store.GetFocusCell(); }
  void SetSelectedRange(const CellRange& range, bool bForceRepaint = false, bool bSelectCells = true);
  void SetSelectedRange(int32_t nMinRow, int32_t nMinCol, int32_t nMaxRow, int32_t nMaxCol, bool bForceRepaint = false,
                        bool bSelectCells = true);
  CellRange GetSelectedRange() const { return m_store.GetSelectedRange(); }
  int32_t GetSelectedCount() const { return m_store.GetSelectedCount(); }
  void ClearSelection();
  void SelectColumns(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void SelectRows(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void SelectCells(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void ExtendSelectionTo(CellId cell);

  // Selects every scrolled cell (the owner is not told).
  void SelectAllCells();

  // ---- editing (UI thread) ----
  // The grid is editable and the cell not read-only.
  bool IsCellEditable(int32_t nRow, int32_t nCol) const;
  bool IsCellEditable(const CellId& cell) const { return IsCellEditable(cell.row, cell.col); }
  // Opens the cell's in-place editor after scrolling it into view, unless
  // the owner refuses (GVN_BEGINLABELEDIT answered negatively). point is
  // relative to the cell ((-1, -1) from the keyboard); nChar is the key that
  // started the edit, kEditByMouse for a click.
  virtual bool BeginCellEdit(int32_t nRow, int32_t nCol, wxPoint point, uint32_t nChar);
  // The editor's text: kept (cell marked modified) when validation and the
  // owner (GVN_ENDLABELEDIT) accept it, else the old text comes back.
  virtual void FinishCellEdit(int32_t nRow, int32_t nCol, TStringView text);
  virtual bool ValidateCellEdit(int32_t nRow, int32_t nCol, TStringView text);
  // Ends the focus cell's editor, keeping its text as FinishCellEdit does.
  virtual void StopEditing();
  // Sets the text as an edit would, asking the owner before and after.
  bool SetCellTextChecked(int32_t nRow, int32_t nCol, TStringView text);
  // Empties every shown cell of the range through SetCellTextChecked.
  void ClearCells(const CellRange& range);
  // The in-place editor's end: keeps its text and, when a navigation key
  // ended it, moves on and edits the next cell.
  void OnInPlaceEditEnd(int32_t nRow, int32_t nCol, TStringView text, uint32_t nLastKey);
  // The key handling of the window (arrows, Tab, Page Up/Down, Home/End,
  // F2, Delete, the Ctrl shortcuts); false for a key it leaves alone.
  bool HandleKeyDown(int nKeyCode, bool bShift, bool bCtrl);
  static constexpr uint32_t kEditByMouse = 1;
  // Marks a typed character among the key codes that start or reach an
  // editor: characters of any script (their code points overlap the
  // window system's key codes from WXK_START on) are flagged with it.
  static constexpr uint32_t kTypedCharacter = 0x80000000u;
  static constexpr int kInPlaceEditId = 8;
  // How close to a divider the mouse must be to size a row or column.
  static constexpr int32_t kResizeCaptureRange = 3;
  static constexpr int kSelectTimerMs = 25;

  // ---- title tips ----
  void SetTitleTipBackClr(GridColour clr = kClrDefault) { m_crTTipBackClr = clr; }
  GridColour GetTitleTipBackClr() const { return m_crTTipBackClr; }
  void SetTitleTipTextClr(GridColour clr = kClrDefault) { m_crTTipTextClr = clr; }
  GridColour GetTitleTipTextClr() const { return m_crTTipTextClr; }
  CGridTitleTip* GetTitleTip() const { return m_pTitleTip; }

  // ---- clipboard (UI thread) ----
  // The selected cells as tab-separated text, rows joined by "\r\n"; false
  // when nothing valid is selected.
  bool CopySelectionText(TString& text) const;
  // Puts the selected cells on the clipboard, as plain text and under the
  // grid's own format (which pastes back split at tabs only).
  virtual void OnEditCopy();
  // Copies, then empties the selected cells; when the copy fails (the
  // clipboard could not be had) the cells keep their text.
  virtual void OnEditCut();
  // Puts `text` on the clipboard in both formats; false when the clipboard
  // could not be opened or refused the data.
  virtual bool PutTextOnClipboard(const TString& text);
  // Pastes the clipboard's text at the top-left selected cell (else the
  // focus cell, else the top-left scrolled cell); editable grids only.
  virtual void OnEditPaste();
  // Notifies, selects every non-fixed cell, notifies.
  virtual void OnEditSelectAll();
  // Empties the selected cells (editable grids only).
  virtual void CutSelection();
  // Writes text into the cells from cell on (split as SplitPastedText does;
  // bFromGrid: fields end at tabs only); the grid never grows. False when
  // the cell cannot take text.
  virtual bool PasteTextAt(CellId cell, TStringView text, bool bFromGrid, bool bSelect = true);

  // ---- printing (UI thread) ----
  // Prints the grid over pages, asking with the print dialog first when
  // bPrompt; false when nothing was printed.
  bool Print(bool bPrompt = true);
  // A printout of the grid's present contents, for any wx printer; null
  // for a handheld grid.
  wxPrintout* CreatePrintout();
  // Each value >= 0 replaces the stored one.
  void SetPrintMargins(int32_t header, int32_t footer, int32_t left, int32_t right, int32_t top, int32_t bottom,
                       int32_t gap);
  const GridPrintMargins& GetPrintMargins() const { return m_printMargins; }
  void SetShadedPrintOut(bool bEnable = true) { m_bShadedPrintOut = bEnable; }
  bool GetShadedPrintOut() const { return m_bShadedPrintOut; }
  void SetWysiwygPrinting(bool bEnable = true) { m_bWysiwygPrinting = bEnable; }
  bool GetWysiwygPrinting() const { return m_bWysiwygPrinting; }

  // ---- persistence (UI thread) ----
  // Every row as one line of texts joined by the separator.
  bool SaveToFile(const TString& fileName, TChar separator = DT(','));
  // Replaces the grid with the file's: the first line the column headings
  // (no fixed rows or columns result), then a row per line.
  bool LoadFromFile(const TString& fileName, TChar separator = DT(','));
  bool IsCellSelected(int32_t nRow, int32_t nCol) const { return m_store.IsCellSelected(nRow, nCol); }
  static uint32_t SelectionKey(int32_t nRow, int32_t nCol) { return CGridStore::SelectionKey(nRow, nCol); }

  // ---- geometry ----
  bool GetCellOrigin(int32_t nRow, int32_t nCol, wxPoint* p);
  bool GetCellRect(int32_t nRow, int32_t nCol, GridRect* pRect);
  bool GetCellTextRect(int32_t nRow, int32_t nCol, GridRect* pRect);
  bool GetCellRangeRect(const CellRange& cellRange, GridRect* lpRect);
  CellId GetCellFromPoint(wxPoint point, bool bAllowFixedCellCheck = true);
  CellId GetTopLeftScrolledCell(bool bForceRecalculation = false);
  CellRange GetVisibleScrolledRange(GridRect* pRect = nullptr, bool bForceRecalculation = false);
  CellRange GetFullyVisibleScrolledRange(bool bForceRecalculation = false);
  bool IsCellVisible(int32_t nRow, int32_t nCol);
  bool IsCellVisible(const CellId& cell) { return IsCellVisible(cell.row, cell.col); }
  // The area the cells may use: the client area less the scroll bars shown.
  GridRect GetGridClientRect() const;

  // ---- scrolling ----
  void ScrollCellIntoView(int32_t nRow, int32_t nCol);
  void ResetScrollBars();
  int32_t GetScrollPos32(int nBar) const { return nBar == wxHORIZONTAL ? m_nHScrollPos : m_nVScrollPos; }
  bool SetScrollPos32(int nBar, int32_t nPos, bool bRedraw = true);
  int32_t GetScrollMax32(int nBar) const { return nBar == wxHORIZONTAL ? m_nHScrollMax : m_nVScrollMax; }
  uint32_t GetScrollBarState() const { return m_nBarState; }
  // Scroll codes as the classic scroll messages number them.
  enum ScrollCode {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8
  };
  void OnHScroll(int nSBCode, int32_t nPos);
  void OnVScroll(int nSBCode, int32_t nPos);
  void OnMouseWheelDelta(int zDelta);
  int32_t GetRowsPerWheelNotch() const { return m_nRowsPerWheelNotch; }
  void SetRowsPerWheelNotch(int32_t nRows) { m_nRowsPerWheelNotch = nRows; }

  // ---- sizing ----
  bool AutoSizeColumn(int32_t nCol, uint32_t nAutoSizeStyle = 0, bool bResetScroll = true);
  bool AutoSizeRow(int32_t nRow, bool bResetScroll = true);
  void AutoSizeColumns(uint32_t nAutoSizeStyle = 0);
  void AutoSizeRows();
  void AutoSize(uint32_t nAutoSizeStyle = 0);
  void StretchColumnsToFit(bool bIncludeFixed = false);
  void StretchRowsToFit(bool bIncludeFixed = false);
  void StretchToFit(bool bIncludeFixed = false);
  void StretchLastColumn();
  void FillWindow();

  // ---- appearance settings ----
  void SetGridLines(int32_t nWhichLines = GVL_BOTH);
  int32_t GetGridLines() const { return m_nGridLines; }
  void SetGridLineColour(GridColour clr) { m_crGridLineColour = clr; }
  GridColour GetGridLineColour() const { return m_crGridLineColour; }
  void SetGridBkColour(GridColour clr) { m_crGridBkColour = clr; }
  GridColour GetGridBkColour() const { return m_crGridBkColour; }
  void SetDoubleBuffering(bool bBuffer = true) { m_bDoubleBuffer = bBuffer; }
  bool GetDoubleBuffering() const { return m_bDoubleBuffer; }
  void SetAutoSizeStyle(uint32_t nStyle = GVS_BOTH) { m_nAutoSizeColumnStyle = nStyle; }
  uint32_t GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
  void SetFrameFocusCell(bool bFrame) { m_bFrameFocus = bFrame; }
  bool GetFrameFocusCell() const { return m_bFrameFocus; }
  void SetTrackFocusCell(bool bTrack) { m_bTrackFocusCell = bTrack; }
  bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
  // Gives the font to the four default cells (re-measuring them); sizes of
  // existing rows and columns stay.
  void SetGridFont(const GridLogFont& lf);
  const wxFont* GetGridFont() const;
  // The font a cell is drawn in: its own (one shared object, re-made on
  // every call for such a cell) or its default cell's.
  const wxFont* GetCellFontObject(const CGridCellBase& cell) const;
  bool SetFont(const wxFont& font) override;
  void OnSysColourChange();

  // ---- behaviour settings read by the interaction layer ----
  void SetEditable(bool bEditable = true) { m_bEditable = bEditable; }
  bool IsEditable() const { return m_bEditable; }
  void SetListMode(bool bEnableListMode = true);
  bool GetListMode() const { return m_bListMode; }
  void EnableSelection(bool bEnable = true) { m_store.EnableSelection(bEnable); }
  bool IsSelectable() const { return m_store.IsSelectable(); }
  void SetFixedColumnSelection(bool bSelect) { m_bFixedColumnSelection = bSelect; }
  bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
  void SetFixedRowSelection(bool bSelect) { m_bFixedRowSelection = bSelect; }
  bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
  void EnableColumnHide(bool bEnable = true) { m_bAllowColHide = bEnable; }
  bool GetColumnHide() const { return m_bAllowColHide; }
  void EnableRowHide(bool bEnable = true) { m_bAllowRowHide = bEnable; }
  bool GetRowHide() const { return m_bAllowRowHide; }
  void SetRowResize(bool bResize = true) { m_bAllowRowResize = bResize; }
  bool GetRowResize() const { return m_bAllowRowResize; }
  void SetColumnResize(bool bResize = true) { m_bAllowColumnResize = bResize; }
  bool GetColumnResize() const { return m_bAllowColumnResize; }
  void EnableHiddenColUnhide(bool bEnable = true) { m_bHiddenColUnhide = bEnable; }
  bool GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
  void EnableHiddenRowUnhide(bool bEnable = true) { m_bHiddenRowUnhide = bEnable; }
  bool GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
  void SetHandleTabKey(bool bHandleTab = true) { m_bHandleTabKey = bHandleTab; }
  bool GetHandleTabKey() const { return m_bHandleTabKey; }
  void EnableTitleTips(bool bEnable = true) { m_bTitleTips = bEnable; }
  bool GetTitleTips() const { return m_bTitleTips && !m_bHandheld; }
  // The handheld edition's grid: no title tip window is ever made (one
  // already made goes), and printing, saving and loading refuse, changing
  // nothing. For good once set.
  void SetHandheld();
  bool IsHandheld() const { return m_bHandheld; }
  void EnableDragAndDrop(bool bAllow = true) { m_bAllowDragAndDrop = bAllow; }
  bool GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  void SetSingleRowSelection(bool bSing = true) { m_bSingleRowSelection = bSing; }
  bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
  void SetSingleColSelection(bool bSing = true) { m_bSingleColSelection = bSing; }
  bool GetSingleColSelection() const { return m_bSingleColSelection; }

  // ---- sorting ----
  void SetSortColumn(int32_t nCol);
  int32_t GetSortColumn() const { return m_store.GetSortColumn(); }
  void SetSortAscending(bool bAscending) { m_store.SetSortAscending(bAscending); }
  bool GetSortAscending() const { return m_store.GetSortAscending(); }
  void SetCompareFunction(GridCompareFunc pfnCompare) { m_store.SetCompareFunction(pfnCompare); }
  void SetHeaderSort(bool bSortOnClick = true) { m_bSortOnClick = bSortOnClick; }
  bool GetHeaderSort() const { return m_bSortOnClick; }
  bool SortTextItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data = 0);
  static int CompareCellText(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t lParamSort) {
    return CGridStore::CompareCellText(pCell1, pCell2, lParamSort);
  }
  virtual void OnHeaderRowClick(CellId cell);
  virtual void OnHeaderColumnClick(CellId cell);

  // ---- drawing and measuring cells ----
  // Draws the cell into rect (inclusive), as every cell class is drawn.
  virtual bool DrawCell(wxDC& dc, CGridCellBase& cell, int32_t nRow, int32_t nCol, GridRect rect, bool bEraseBkgnd);
  // The size the cell's text needs as drawn (one line for a single-line
  // format), plus its margins; without a context the window's is borrowed.
  virtual GridSize GetTextExtent(const CGridCellBase& cell, TStringView text, wxDC* pDC);
  // The text extent of the cell's text plus 1 (and 1 more for a fixed cell).
  GridSize GetCellExtent(const CGridCellBase& cell, wxDC* pDC);

  // ---- drawing ----
  virtual void OnDraw(wxDC& dc);
  void EraseBackground(wxDC& dc, const GridRect& clip);
  intptr_t NotifyOwner(int32_t nRow, int32_t nCol, int32_t nCode, GridItem* pItem = nullptr,
                       const CellRange* pRange = nullptr);

  // The drag selection's timer.
  static constexpr int kSelectTimerId = 0x0201;

  // Mouse modes of the interaction layer.
  enum MouseMode {
    MOUSE_NOTHING = 0,
    MOUSE_SELECT_ALL = 1,
    MOUSE_SELECT_COL = 2,
    MOUSE_SELECT_ROW = 3,
    MOUSE_SELECT_CELLS = 4,
    MOUSE_OVER_ROW_DIVIDE = 6,
    MOUSE_SIZING_ROW = 7,
    MOUSE_OVER_COL_DIVIDE = 8,
    MOUSE_SIZING_COL = 9,
    MOUSE_PREPARE_EDIT = 10
  };
  int32_t GetMouseMode() const { return m_MouseMode; }

 private:
  // ---- IGridStoreHost ----
  GridSize MeasureCellText(CGridCellBase& cell, TStringView text) override;
  void RequestCellInfo(GridItem& item) override;
  GridEditWindow* CreateCellEditor(CGridCellBase& cell, int32_t nRow, int32_t nCol, const GridRect& rect, uint32_t nID,
                                   uint32_t nChar) override;

  // mouse and keys
  bool MouseOverColumnResizeArea(wxPoint point);
  bool MouseOverRowResizeArea(wxPoint point);
  void SetMouseMode(int32_t mode);
  bool IsTextClick(const CellId& cell, wxPoint point);
  wxPoint PointInCell(const CellId& cell, wxPoint point);
  bool BeginSizing(wxPoint point, bool bColumn);
  void EndSizing(wxPoint point, bool bColumn);
  void AutoSizeAtDivider(wxPoint point, bool bColumn);
  void SelectByMouse(const CellId& cell, bool bCtrl);
  void ShowTitleTip(const CellId& cell);
  void HideTitleTip();
  void DestroyTitleTip();
  CellId MoveFocusByKey(int nKeyCode, bool bShift, bool bCtrl, int* pScrolled);
  CellId MoveFocusFar(int nKeyCode, bool bCtrl, CellId next, int* pScrolled);
  void ApplyKeyMove(CellId next, int nKeyCode, bool bShift, int nScrolled);
  void DrawSizingLine(wxDC& dc);
  void MoveSizingLine(int32_t pos);
  void OnMouseMove(wxMouseEvent& event);
  void OnLeftDClick(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnRightUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnSelectTimer(wxTimerEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void StopSelectTimer();

  // What the window shows: during a fill the published rows and columns.
  int32_t ShownRows() const { return m_bFilling ? m_store.GetPublishedRowCount() : m_store.GetRowCount(); }
  int32_t ShownCols() const { return m_bFilling ? m_store.GetPublishedColumnCount() : m_store.GetColumnCount(); }
  int32_t ShownFixedRows() const { return std::min(m_store.GetFixedRowCount(), ShownRows()); }
  int32_t ShownFixedCols() const { return std::min(m_store.GetFixedColumnCount(), ShownCols()); }
  bool IsShownCell(int32_t nRow, int32_t nCol) const {
    return nRow >= 0 && nRow < ShownRows() && nCol >= 0 && nCol < ShownCols();
  }
  bool IsShownCell(const CellId& cell) const { return IsShownCell(cell.row, cell.col); }
  // The store's result, after reporting an out-of-memory it noted.
  bool Checked(bool result);
  void ReportOutOfMemory();
  void AfterStructureChange();

  // layout helpers
  void ScrollLine(int nBar, bool bForward);
  void ScrollTo(int nBar, int nSBCode, int32_t nTrackPos);
  int32_t ScrollMaxPos(int nBar) const;
  void LayoutScrollBars();
  GridRect GetScrollBarlessRect() const;
  void InvalidateScrolledArea(int nBar);
  bool HasDrawingWindow() const { return GetHandle() != nullptr && m_bAllowDraw; }
  void ResetScrollPositions();

  // measuring (UI thread)
  GridTextMeasure& TextMeasure();
  GridSize MeasureCell(wxDC& dc, const CGridCellBase& cell);
  int32_t MeasureColumn(wxDC& dc, int32_t col, int32_t first, int32_t last, bool skipHidden, uint32_t* heights);
  void SizeColumnToContents(wxDC& dc, int32_t col, uint32_t nAutoSizeStyle);
  void SizeRowToContents(wxDC& dc, int32_t row);
  void MeasureDefaultCell(CGridDefaultCell& cell);
  void SendCacheHint(const CellRange& range);

  // painting
  void DrawCellPass(wxDC& dc, const GridRect& clip, int32_t rowFrom, int32_t rowTo, int32_t colFrom, int32_t colTo,
                    int32_t top, int32_t left, bool bClipTest);
  void DrawGridLines(wxDC& dc, const CellRange& visible, const GridRect& visRect);

  // filling
  void AutoSizeFirstScreen();

  // event handlers
  void OnPaint(wxPaintEvent& event);
  void OnEraseBackground(wxEraseEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnScrollBar(wxScrollEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnSysColourChanged(wxSysColourChangedEvent& event);
  void OnFillTimer(wxTimerEvent& event);

  CGridStore m_store;

  // interaction state
  CellId m_SelectionStartCell, m_LeftClickDownCell, m_idTopLeftCell;
  int32_t m_MouseMode = MOUSE_NOTHING;
  wxPoint m_LeftClickDownPoint, m_LastMousePoint;
  bool m_bLMouseButtonDown = false, m_bRMouseButtonDown = false;
  // Drag selection scrolls by this timer while the button is down.
  wxTimer m_selectTimer;
  // Where the sizing line is drawn (x for a column, y for a row), -1: none.
  int32_t m_nSizingLine = -1;
  // The size of the last size event.
  wxSize m_lastSize;
  CGridTitleTip* m_pTitleTip = nullptr;
  GridPrintMargins m_printMargins;
  bool m_bShadedPrintOut = true;

  // settings
  GridColour m_crGridLineColour, m_crGridBkColour;
  GridColour m_crWindowText, m_crWindowColour, m_cr3DFace, m_crShadow;
  // Read by the grid's interaction layer (selection, editing, title tips,
  // printing), as are m_bTitleTips, m_bHandleTabKey, m_bWysiwygPrinting and
  // m_bAllowDragAndDrop below.
  GridColour m_crTTipBackClr = kClrDefault, m_crTTipTextClr = kClrDefault;
  int32_t m_nGridLines = GVL_BOTH;
  bool m_bEditable = true, m_bListMode = false, m_bSingleRowSelection = false, m_bSingleColSelection = false;
  // Cleared while the window goes away: no repaint or scroll-bar work then.
  bool m_bAllowDraw = true;
  bool m_bFixedColumnSelection = true, m_bFixedRowSelection = true;
  bool m_bAllowRowResize = true, m_bAllowColumnResize = true, m_bSortOnClick = false, m_bHandleTabKey = true;
  bool m_bDoubleBuffer = true, m_bTitleTips = true, m_bWysiwygPrinting = false, m_bHandheld = false;
  bool m_bHiddenColUnhide = true, m_bHiddenRowUnhide = true, m_bAllowColHide = true, m_bAllowRowHide = true;
  uint32_t m_nAutoSizeColumnStyle = GVS_BOTH;
  bool m_bAllowDragAndDrop = false, m_bTrackFocusCell = true, m_bFrameFocus = true;
  int32_t m_nRowsPerWheelNotch = 3;
  // Wheel turns not yet scrolled, in 1/120 notch times rows per notch (or
  // 1/120 page): touchpads send a notch in many small parts.
  int32_t m_nWheelRemainder = 0;

  // scroll state (pixels of the scrolled area)
  int32_t m_nHScrollPos = 0, m_nVScrollPos = 0, m_nHScrollMax = 0, m_nVScrollMax = 0;
  int32_t m_nHScrollPage = 0, m_nVScrollPage = 0;
  uint32_t m_nBarState = 0;
  // Where the last computed top row starts, in scrolled pixels.
  int32_t m_nTopRowCacheRow = -1;
  int64_t m_nTopRowCacheStart = 0;
  wxScrollBar* m_pHScroll = nullptr;
  wxScrollBar* m_pVScroll = nullptr;

  // Font objects of the LOGFONT records cells are drawn in, and the one a
  // cell with its own font gets (re-made on every request).
  mutable std::vector<std::pair<GridLogFont, std::unique_ptr<wxFont>>> m_fonts;
  mutable std::unique_ptr<wxFont> m_pCellFont;
  // Per-font character measures for sizing to contents; made on first use.
  std::unique_ptr<GridTextMeasure> m_pTextMeasure;

  // filling
  bool m_bFilling = false;
  bool m_bFirstScreenSized = false;
  int32_t m_nShownRows = 0;
  uint32_t m_nShownLayoutStamp = 0;
  wxTimer m_fillTimer;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace dossel
