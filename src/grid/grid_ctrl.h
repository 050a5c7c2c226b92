#pragma once
// CGridCtrl: the results grid. It owns its row objects, its cells, the four
// default cells, the selection maps and its two scroll bars, and shows the
// cells in a window with fixed header rows and columns, pixel scrolling,
// double-buffered painting and header-click sorting.
//
// Threads. The window, painting, input, layout and measuring belong to the
// UI thread. While drawing is off (SetRedraw(false)) the query worker may
// call the storage operations and nothing else:
//   SetRedraw(false), GetRowCount, GetColumnCount, GetFixedRowCount,
//   GetFixedColumnCount, SetRowCount, SetColumnCount, SetFixedRowCount,
//   SetFixedColumnCount, SetCellText, SetCellTextF, GetCellText, GetCell,
//   SetColumnWidth, SetRowHeight, DeleteAllCells, DeleteNonFixedRows,
//   SetModified, GetModified.
// None of these makes a window-system call while drawing is off: the
// repaint and scroll-bar steps they end with return at once. SetRedraw(true),
// AutoSize, StretchLastColumn and everything else run on the UI thread.
// SetRedraw(false) waits for a paint or input handler that is running to
// finish, and from then on the handlers neither paint nor read the store,
// so the UI thread never reads what the worker writes.

#include <wx/window.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "grid/grid_cell.h"
#include "grid/grid_types.h"
#include "platform/format.h"

class wxScrollBar;
class wxScrollEvent;

namespace dossel {

class CGridCtrl;
class GridTextMeasure;

// Supplies cell contents in virtual mode.
using GridDisplayCallback = bool (*)(GridItem* pItem, intptr_t lParam);
// Orders two cells (either may be null) for sorting.
using GridCompareFunc = int (*)(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t lParamSort);

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

class CGridCtrl : public wxWindow {
 public:
  CGridCtrl(int32_t nRows = 0, int32_t nCols = 0, int32_t nFixedRows = 0, int32_t nFixedCols = 0);
  ~CGridCtrl() override;
  CGridCtrl(const CGridCtrl&) = delete;
  CGridCtrl& operator=(const CGridCtrl&) = delete;

  // ---- window ----
  static constexpr long kDefaultStyle = wxBORDER_SUNKEN | wxWANTS_CHARS | wxCLIP_CHILDREN;
  bool Create(const wxRect& rect, wxWindow* pParent, int nID, long dwStyle = kDefaultStyle);
  void SetRedraw(bool bAllowDraw, bool bResetScrollBars = false);
  bool IsRedrawAllowed() const { return m_bAllowDraw.load(); }
  void RepaintGrid();
  bool RedrawCell(int32_t nRow, int32_t nCol, wxDC* pDC = nullptr);
  bool RedrawRow(int32_t row);
  bool RedrawColumn(int32_t col);
  bool InvalidateCellRect(const CellId& cell);
  bool InvalidateCellRect(const CellRange& cellRange);

  // ---- sizes and structure ----
  int32_t GetRowCount() const { return m_nRows; }
  int32_t GetColumnCount() const { return m_nCols; }
  int32_t GetFixedRowCount() const { return m_nFixedRows; }
  int32_t GetFixedColumnCount() const { return m_nFixedCols; }
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

  CGridCellBase* GetCell(int32_t nRow, int32_t nCol) const;
  bool SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell);
  CGridDefaultCell* GetDefaultCell(bool bFixedRow, bool bFixedCol) const;
  virtual CGridCellBase* CreateCell(int32_t nRow, int32_t nCol);
  virtual void DestroyCell(int32_t nRow, int32_t nCol);
  bool SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass);
  bool SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass);

  bool SetRowHeight(int32_t row, int32_t height);
  bool SetColumnWidth(int32_t col, int32_t width);
  int32_t GetRowHeight(int32_t row) const;
  int32_t GetColumnWidth(int32_t col) const;
  int32_t GetFixedRowHeight() const;
  int32_t GetFixedColumnWidth() const;
  int32_t GetVirtualHeight() const;
  int32_t GetVirtualWidth() const;
  bool IsValid(int32_t nRow, int32_t nCol) const { return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols; }
  bool IsValid(const CellId& cell) const { return IsValid(cell.row, cell.col); }
  bool IsValid(const CellRange& range) const;

  // ---- cell contents and attributes ----
  bool SetCellText(int32_t nRow, int32_t nCol, TStringView str);
  template <typename... Args>
  bool SetCellTextF(int32_t nRow, int32_t nCol, TStringView format, const Args&... args);
  TString GetCellText(int32_t nRow, int32_t nCol) const;
  bool SetCellData(int32_t nRow, int32_t nCol, uint32_t lParam);
  uint32_t GetCellData(int32_t nRow, int32_t nCol) const;
  bool SetCellImage(int32_t nRow, int32_t nCol, int32_t nImage);
  int32_t GetCellImage(int32_t nRow, int32_t nCol) const;
  bool SetCellState(int32_t nRow, int32_t nCol, uint32_t state);
  uint32_t GetCellState(int32_t nRow, int32_t nCol) const;
  bool SetCellFormat(int32_t nRow, int32_t nCol, uint32_t nFormat);
  uint32_t GetCellFormat(int32_t nRow, int32_t nCol) const;
  bool SetCellBkColour(int32_t nRow, int32_t nCol, GridColour cr = kClrDefault);
  GridColour GetCellBkColour(int32_t nRow, int32_t nCol) const;
  bool SetCellFgColour(int32_t nRow, int32_t nCol, GridColour cr = kClrDefault);
  GridColour GetCellFgColour(int32_t nRow, int32_t nCol) const;
  bool SetCellFont(int32_t nRow, int32_t nCol, const GridLogFont* plf);
  const GridLogFont* GetCellFont(int32_t nRow, int32_t nCol) const;
  bool IsCellEditing(int32_t nRow, int32_t nCol) const;
  bool SetCellItem(const GridItem* pItem);
  bool GetCellItem(GridItem* pItem) const;
  void SetModified(bool bModified = true, int32_t nRow = -1, int32_t nCol = -1);
  bool GetModified(int32_t nRow = -1, int32_t nCol = -1) const;
  void SetVirtualMode(bool bVirtual);
  bool GetVirtualMode() const { return m_bVirtualMode; }
  void SetDisplayCallback(GridDisplayCallback pCallback, intptr_t lParam = 0);
  CellId FindNextCell(CellId cell, uint32_t nFlags) const;

  // ---- focus and selection (the base the interaction layer builds on) ----
  CellId SetFocusCell(CellId cell);
  CellId SetFocusCell(int32_t nRow, int32_t nCol) { return SetFocusCell(CellId(nRow, nCol)); }
  CellId GetFocusCell() const { return m_idCurrentCell; }
  void SetSelectedRange(const CellRange& range, bool bForceRepaint = false, bool bSelectCells = true);
  void SetSelectedRange(int32_t nMinRow, int32_t nMinCol, int32_t nMaxRow, int32_t nMaxCol, bool bForceRepaint = false,
                        bool bSelectCells = true);
  CellRange GetSelectedRange() const;
  int32_t GetSelectedCount() const { return static_cast<int32_t>(m_SelectedCellMap.size()); }
  void ClearSelection();
  void SelectColumns(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void SelectRows(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void SelectCells(CellId currentCell, bool bForceRedraw = false, bool bSelectCells = true);
  void ExtendSelectionTo(CellId cell);

  // ---- clipboard (UI thread) ----
  // The selected cells as tab-separated text, rows joined by "\r\n"; false
  // when nothing valid is selected.
  bool CopySelectionText(TString& text) const;
  // Puts the selected cells on the clipboard.
  virtual void OnEditCopy();
  // Selects every non-fixed cell.
  virtual void OnEditSelectAll();
  bool IsCellSelected(int32_t nRow, int32_t nCol) const;
  static uint32_t SelectionKey(int32_t nRow, int32_t nCol) {
    return (static_cast<uint32_t>(nCol) << 16) | (static_cast<uint32_t>(nRow) & 0xFFFFu);
  }

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
  const wxFont* GetGridFont() const { return m_cellDefault.GetFontObject(); }
  bool SetFont(const wxFont& font) override;
  void OnSysColourChange();

  // ---- behaviour settings read by the interaction layer ----
  void SetEditable(bool bEditable = true) { m_bEditable = bEditable; }
  bool IsEditable() const { return m_bEditable; }
  void SetListMode(bool bEnableListMode = true);
  bool GetListMode() const { return m_bListMode; }
  void EnableSelection(bool bEnable = true) { m_bEnableSelection = bEnable; }
  bool IsSelectable() const { return m_bEnableSelection; }
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
  bool GetTitleTips() const { return m_bTitleTips; }
  void EnableDragAndDrop(bool bAllow = true) { m_bAllowDragAndDrop = bAllow; }
  bool GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  void SetSingleRowSelection(bool bSing = true) { m_bSingleRowSelection = bSing; }
  bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
  void SetSingleColSelection(bool bSing = true) { m_bSingleColSelection = bSing; }
  bool GetSingleColSelection() const { return m_bSingleColSelection; }

  // ---- sorting ----
  void SetSortColumn(int32_t nCol);
  int32_t GetSortColumn() const { return m_nSortColumn; }
  void SetSortAscending(bool bAscending) { m_bAscending = bAscending; }
  bool GetSortAscending() const { return m_bAscending; }
  void SetCompareFunction(GridCompareFunc pfnCompare) { m_pfnCompare = pfnCompare; }
  void SetHeaderSort(bool bSortOnClick = true) { m_bSortOnClick = bSortOnClick; }
  bool GetHeaderSort() const { return m_bSortOnClick; }
  bool SortTextItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data = 0);
  static int CompareCellText(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t lParamSort);
  virtual void OnHeaderRowClick(CellId cell);
  virtual void OnHeaderColumnClick(CellId cell);

  // ---- drawing ----
  virtual void OnDraw(wxDC& dc);
  void EraseBackground(wxDC& dc, const GridRect& clip);
  intptr_t NotifyOwner(int32_t nRow, int32_t nCol, int32_t nCode, GridItem* pItem = nullptr,
                       const CellRange* pRange = nullptr);
  virtual void StopEditing() {}

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
  friend class GridSorter;
  using CellRow = CGridCellBase**;

  // storage helpers
  void SetupDefaultCells();
  void ClearFocusIfRow(int32_t nRows);
  void DestroyRow(int32_t row);
  bool GrowRows(int32_t nRows);
  bool GrowColumns(int32_t nCols);
  void ResizeRowObject(int32_t row, int32_t nOldCols, int32_t nNewCols);
  void ApplyFixedRowBits(int32_t nOld, int32_t nNew);
  void ApplyFixedColBits(int32_t nOld, int32_t nNew);
  CGridCellBase* GetVirtualCell(int32_t nRow, int32_t nCol) const;
  void SendCacheHint(const CellRange& range);
  bool IsInSelectionMap(int32_t nRow, int32_t nCol) const;
  void ClearSelectedCells();
  void ReportOutOfMemory();

  // layout helpers
  void ScrollLine(int nBar, bool bForward);
  void ScrollTo(int nBar, int nSBCode, int32_t nTrackPos);
  int32_t ScrollMaxPos(int nBar) const;
  void LayoutScrollBars();
  GridRect GetScrollBarlessRect() const;
  void InvalidateScrolledArea(int nBar);
  bool HasDrawingWindow() const { return GetHandle() != nullptr && m_bAllowDraw.load(); }

  // measuring (UI thread)
  GridTextMeasure& TextMeasure();
  GridSize MeasureCell(wxDC& dc, const CGridCellBase& cell);
  int32_t MeasureColumn(wxDC& dc, int32_t col, int32_t first, int32_t last, bool skipHidden, uint32_t* heights);
  void SizeColumnToContents(wxDC& dc, int32_t col, uint32_t nAutoSizeStyle);
  void SizeRowToContents(wxDC& dc, int32_t row);

  // painting
  void DrawCellPass(wxDC& dc, const GridRect& clip, int32_t rowFrom, int32_t rowTo, int32_t colFrom, int32_t colTo,
                    int32_t top, int32_t left, bool bClipTest);
  void DrawGridLines(wxDC& dc, const CellRange& visible, const GridRect& visRect);

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

  // counts and sizes
  int32_t m_nRows = 0, m_nCols = 0, m_nFixedRows = 0, m_nFixedCols = 0;
  std::vector<uint32_t> m_arRowHeights;
  std::vector<uint32_t> m_arColWidths;
  std::vector<CellRow> m_RowData;

  // default cells and cell class
  CGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
  const GridRuntimeClass* m_pRtcDefault = &CGridCell::s_class;

  // selection and interaction state
  // Keyed by SelectionKey. Cells whose rows (or columns) lie 65,536 apart
  // share a key; both entries are kept, so no selected cell is forgotten.
  using SelectionMap = std::unordered_multimap<uint32_t, CellId>;
  SelectionMap m_SelectedCellMap, m_PrevSelectedCellMap;
  CellId m_idCurrentCell, m_SelectionStartCell, m_LeftClickDownCell, m_idTopLeftCell;
  int32_t m_MouseMode = MOUSE_NOTHING;
  bool m_bModified = false;

  // settings
  GridColour m_crGridLineColour, m_crGridBkColour;
  GridColour m_crWindowText, m_crWindowColour, m_cr3DFace, m_crShadow;
  GridColour m_crTTipBackClr = kClrDefault, m_crTTipTextClr = kClrDefault;
  bool m_bVirtualMode = false;
  GridDisplayCallback m_pfnCallback = nullptr;
  intptr_t m_lParam = 0;
  int32_t m_nGridLines = GVL_BOTH;
  bool m_bEditable = true, m_bListMode = false, m_bSingleRowSelection = false, m_bSingleColSelection = false;
  std::atomic<bool> m_bAllowDraw{true};
  bool m_bEnableSelection = true, m_bFixedColumnSelection = true, m_bFixedRowSelection = true;
  bool m_bAllowRowResize = true, m_bAllowColumnResize = true, m_bSortOnClick = false, m_bHandleTabKey = true;
  bool m_bDoubleBuffer = true, m_bTitleTips = true, m_bWysiwygPrinting = false;
  bool m_bHiddenColUnhide = true, m_bHiddenRowUnhide = true, m_bAllowColHide = true, m_bAllowRowHide = true;
  bool m_bAscending = true;
  int32_t m_nSortColumn = -1;
  GridCompareFunc m_pfnCompare = nullptr;
  uint32_t m_nAutoSizeColumnStyle = GVS_BOTH;
  bool m_bAllowDragAndDrop = false, m_bTrackFocusCell = true, m_bFrameFocus = true;
  int32_t m_nRowsPerWheelNotch = 3;

  // scroll state (pixels of the scrolled area)
  int32_t m_nHScrollPos = 0, m_nVScrollPos = 0, m_nHScrollMax = 0, m_nVScrollMax = 0;
  int32_t m_nHScrollPage = 0, m_nVScrollPage = 0;
  uint32_t m_nBarState = 0;
  // Where the last computed top row starts, in scrolled pixels.
  int32_t m_nTopRowCacheRow = -1;
  int64_t m_nTopRowCacheStart = 0;
  wxScrollBar* m_pHScroll = nullptr;
  wxScrollBar* m_pVScroll = nullptr;

  // Per-font character measures for sizing to contents; made on first use.
  std::unique_ptr<GridTextMeasure> m_pTextMeasure;

  // virtual mode's shared cell
  mutable std::unique_ptr<CGridCell> m_pVirtualCell;
  mutable GridItem m_VirtualItem;

  // Held by the UI thread's handlers and by SetRedraw(false): see the class comment.
  std::recursive_mutex m_drawMutex;

  wxDECLARE_EVENT_TABLE();
};

template <typename... Args>
bool CGridCtrl::SetCellTextF(int32_t nRow, int32_t nCol, TStringView format, const Args&... args) {
  return SetCellText(nRow, nCol, Format(format, args...));
}

}  // namespace dossel
