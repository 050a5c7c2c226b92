#pragma once
// CGridStore: the results grid's cells apart from its window. It owns the
// rows, their cells, the row heights and column widths, the four default
// cells, the focus cell and the selected-cell maps, the modified marks, the
// sort state and virtual mode's data side. It includes no wx header; the
// window (CGridCtrl) shows it and adds repainting, scroll bars and
// measuring.
//
// Threads. Outside a fill everything runs on the UI thread. During a fill
// (the window's BeginFill to EndFill) one thread, the session's store
// writer and never the UI thread, may call the writer operations:
//   GetRowCount, GetColumnCount, GetFixedRowCount, GetFixedColumnCount,
//   SetRowCount, SetColumnCount, SetFixedRowCount, SetFixedColumnCount,
//   SetCellText, SetRowTexts, GetCellText, SetColumnWidth, GetColumnWidth,
//   SetRowHeight, GetRowHeight, DeleteAllCells, PublishRows, PublishColumns.
// Rows [0, n) are complete once the writer calls PublishRows(n) and never
// change or move again during the fill: rows, row heights and column widths
// live in chunks that never move (StableArray), cells in pool slots that
// never move. The UI thread meanwhile reads only rows below
// GetPublishedRowCount() and columns below GetPublishedColumnCount().
// Operations that would change or move a published row during a fill
// return false.
//
// Out of memory inside any operation: the operation returns false (or -1),
// no exception escapes and nothing is shown; TakeOutOfMemory() tells the UI
// thread once, so that the window reports it.

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "grid/grid_cell.h"
#include "grid/grid_types.h"
#include "grid/stable_array.h"
#include "platform/format.h"

namespace dossel {

// Supplies cell contents in virtual mode.
using GridDisplayCallback = bool (*)(GridItem* pItem, intptr_t lParam);
// Orders two cells (either may be null) for sorting.
using GridCompareFunc = int (*)(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t lParamSort);

// What the store asks of its window. UI thread.
class IGridStoreHost {
 public:
  virtual ~IGridStoreHost() = default;
  // The extent of text drawn in the cell (InsertRow and InsertColumn size
  // the new row or column with it).
  virtual GridSize MeasureCellText(CGridCellBase& cell, TStringView text) = 0;
  // Virtual mode without a display callback: fill in the record.
  virtual void RequestCellInfo(GridItem& item) = 0;
  // Makes the in-place editor of a cell over rect (grid client
  // coordinates), showing its text; null when none can be made.
  virtual GridEditWindow* CreateCellEditor(CGridCellBase&, int32_t, int32_t, const GridRect&, uint32_t, uint32_t) {
    return nullptr;
  }
};

class CGridStore {
 public:
  explicit CGridStore(IGridStoreHost* pHost = nullptr);
  virtual ~CGridStore();
  CGridStore(const CGridStore&) = delete;
  CGridStore& operator=(const CGridStore&) = delete;

  // ---- counts and structure ----
  int32_t GetRowCount() const { return m_nRows.load(std::memory_order_relaxed); }
  int32_t GetColumnCount() const { return m_nCols.load(std::memory_order_relaxed); }
  int32_t GetFixedRowCount() const { return m_nFixedRows.load(std::memory_order_relaxed); }
  int32_t GetFixedColumnCount() const { return m_nFixedCols.load(std::memory_order_relaxed); }
  bool SetRowCount(int32_t rows);
  bool SetColumnCount(int32_t cols);
  bool SetFixedRowCount(int32_t rows);
  bool SetFixedColumnCount(int32_t cols);
  int32_t InsertRow(TStringView strHeading, int32_t nRow = -1);
  int32_t InsertColumn(TStringView strHeading, uint32_t nFormat = kDefaultCellFormat, int32_t nColumn = -1);
  // Room in every row for nCols columns: inserting many columns one by one
  // would otherwise copy each row's cells once per column. False when
  // memory runs out (the columns are unchanged either way).
  bool ReserveColumns(int32_t nCols);
  bool DeleteRow(int32_t nRow);
  bool DeleteColumn(int32_t nColumn);
  bool DeleteNonFixedRows();
  bool DeleteAllCells();

  // ---- cells ----
  CGridCellBase* GetCell(int32_t nRow, int32_t nCol) const;
  bool SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell);
  CGridDefaultCell* GetDefaultCell(bool bFixedRow, bool bFixedCol) const;
  virtual CGridCellBase* CreateCell(int32_t nRow, int32_t nCol);
  virtual void DestroyCell(int32_t nRow, int32_t nCol);
  bool SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass);
  bool SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass);

  // ---- sizes ----
  bool SetRowHeight(int32_t row, int32_t height);
  bool SetColumnWidth(int32_t col, int32_t width);
  int32_t GetRowHeight(int32_t row) const;
  int32_t GetColumnWidth(int32_t col) const;
  int32_t GetFixedRowHeight() const;
  int32_t GetFixedColumnWidth() const;
  int32_t GetVirtualHeight() const;
  int32_t GetVirtualWidth() const;
  // Sums over rows [0, rows) or columns [0, cols), capped at INT32_MAX.
  int32_t SumRowHeights(int32_t rows) const;
  int32_t SumColumnWidths(int32_t cols) const;
  bool IsValid(int32_t nRow, int32_t nCol) const {
    return nRow >= 0 && nRow < GetRowCount() && nCol >= 0 && nCol < GetColumnCount();
  }
  bool IsValid(const CellId& cell) const { return IsValid(cell.row, cell.col); }
  bool IsValid(const CellRange& range) const;

  // ---- cell contents and attributes ----
  // False for a bad index, in virtual mode or when memory runs out; never throws.
  bool SetCellText(int32_t row, int32_t col, TStringView text);
  // The texts of count cells of one row from firstCol on, as one call: the
  // fill's faster path. False as SetCellText (cells before a failure keep
  // their new texts).
  bool SetRowTexts(int32_t row, int32_t firstCol, const TString* texts, int32_t count);
  template <typename... Args>
  bool SetCellTextF(int32_t nRow, int32_t nCol, TStringView format, const Args&... args) {
    return SetCellText(nRow, nCol, Format(format, args...));
  }
  TString GetCellText(int32_t row, int32_t col) const;
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
  CellId FindNextCell(CellId cell, uint32_t nFlags) const;

  // ---- virtual mode's data side ----
  // Deletes all cells and stores the flag; the window sets the behaviour
  // that goes with it.
  void SetVirtualMode(bool bVirtual);
  bool GetVirtualMode() const { return m_bVirtualMode; }
  void SetDisplayCallback(GridDisplayCallback pCallback, intptr_t lParam = 0);

  // ---- focus cell and selection maps (data only; the window repaints) ----
  CellId GetFocusCell() const { return m_idCurrentCell; }
  // Moves the focus cell (kept out of the fixed cells) and its focused bit;
  // returns the previous focus cell.
  CellId SetFocusCell(CellId cell);
  void EnableSelection(bool bEnable) { m_bEnableSelection = bEnable; }
  bool IsSelectable() const { return m_bEnableSelection; }
  bool IsCellSelected(int32_t nRow, int32_t nCol) const;
  // Selects the range (all four -1: none) after unselecting the present
  // selection, keeping the previous-selection map's cells selected unless
  // bKeepPrevious is false. changed(row, col) is told every cell whose
  // selected bit changed or that was re-selected from the previous map.
  template <typename Changed>
  void SetSelectedRange(const CellRange& range, bool bSelectCells, bool bKeepPrevious, Changed&& changed);
  CellRange GetSelectedRange() const;
  int32_t GetSelectedCount() const { return static_cast<int32_t>(m_SelectedCellMap.size()); }
  // Unselects every cell and forgets the previous selection.
  void ClearSelectedCells();
  // The selection a control-click keeps: the present one.
  void RememberSelection() { m_PrevSelectedCellMap = m_SelectedCellMap; }
  void ForgetRememberedSelection() { m_PrevSelectedCellMap.clear(); }
  static uint32_t SelectionKey(int32_t nRow, int32_t nCol) {
    return (static_cast<uint32_t>(nCol) << 16) | (static_cast<uint32_t>(nRow) & 0xFFFFu);
  }

  // ---- sorting ----
  void SetSortColumn(int32_t nCol) { m_nSortColumn.store(nCol, std::memory_order_relaxed); }
  int32_t GetSortColumn() const { return m_nSortColumn.load(std::memory_order_relaxed); }
  void SetSortAscending(bool bAscending) { m_bAscending = bAscending; }
  bool GetSortAscending() const { return m_bAscending; }
  void SetCompareFunction(GridCompareFunc pfnCompare) { m_pfnCompare = pfnCompare; }
  // With the text comparison: a column whose every non-empty cell reads as
  // a number sorts by value, empty cells first (as a result grid wants:
  // drivers may describe numbers as text). Off: byte order always.
  void SetNumericSort(bool bNumeric) { m_bNumericSort = bNumeric; }
  bool GetNumericSort() const { return m_bNumericSort; }
  // The text read as a number: optional sign, digits with an optional
  // fraction, an optional exponent, blanks around; false for anything else.
  static bool ReadNumber(TStringView text, double* pValue);
  GridCompareFunc GetCompareFunction() const { return m_pfnCompare; }
  bool SortTextItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(int32_t nCol, bool bAscending, intptr_t data = 0);
  bool SortItems(GridCompareFunc pfnCompare, int32_t nCol, bool bAscending, intptr_t data = 0);
  static int CompareCellText(const CGridCellBase* pCell1, const CGridCellBase* pCell2, intptr_t lParamSort);

  // ---- filling ----
  // UI thread, before the writer starts and after it has finished: a fill
  // publishes from nothing; EndFill keeps every row (cancelled: only the
  // published rows, as later ones may be half written).
  void BeginFill();
  void EndFill(bool bCancelled = false);
  bool IsFilling() const { return m_bFilling.load(std::memory_order_acquire); }
  // Writer: rows [0, rows) are complete. The first publication also fixes
  // the column count the window shows, unless PublishColumns did.
  void PublishRows(int32_t rows);
  int32_t GetPublishedRowCount() const { return m_nPublishedRows.load(std::memory_order_acquire); }
  void PublishColumns(int32_t cols);
  int32_t GetPublishedColumnCount() const { return m_nPublishedCols.load(std::memory_order_acquire); }
  // Changes whenever a row height or column width changes: the window's
  // cue to lay out again during a fill.
  uint32_t GetLayoutStamp() const { return m_nLayoutStamp.load(std::memory_order_relaxed); }

  // ---- out of memory ----
  // True once after an operation ran out of memory, then cleared.
  bool TakeOutOfMemory() { return m_bOutOfMemory.exchange(false); }
  // Tests: at most this many more cells can be created (-1: no limit);
  // creating more runs out of memory.
  void SetCellLimitForTest(int64_t cells) {
    m_nTestCellBudget.store(cells);
    m_bTestCellLimit.store(cells >= 0);
  }

  IGridStoreHost* GetHost() const { return m_pHost; }
  void SetHost(IGridStoreHost* pHost) { m_pHost = pHost; }

 private:
  friend class GridSorter;
  using CellRow = CGridCellBase**;

  int32_t PublishedRows() const { return m_bFilling.load(std::memory_order_relaxed) ? GetPublishedRowCount() : 0; }
  bool TouchesPublishedRows() const { return PublishedRows() > 0; }
  void NoteOutOfMemory() { m_bOutOfMemory.store(true); }
  void BumpLayout() { m_nLayoutStamp.fetch_add(1, std::memory_order_relaxed); }
  CellRow& RowAt(int32_t row) { return m_RowData[static_cast<size_t>(row)]; }
  CellRow RowAt(int32_t row) const { return m_RowData[static_cast<size_t>(row)]; }
  uint32_t Height(int32_t row) const {
    return m_arRowHeights[static_cast<size_t>(row)].load(std::memory_order_relaxed);
  }
  void SetHeight(int32_t row, uint32_t h) {
    m_arRowHeights[static_cast<size_t>(row)].store(h, std::memory_order_relaxed);
  }
  uint32_t Width(int32_t col) const { return m_arColWidths[static_cast<size_t>(col)].load(std::memory_order_relaxed); }
  void SetWidth(int32_t col, uint32_t w) {
    m_arColWidths[static_cast<size_t>(col)].store(w, std::memory_order_relaxed);
  }

  // structure helpers
  void ClearFocusIfRow(int32_t nRows);
  void DestroyRow(int32_t row);
  void GrowRows(int32_t nRows);
  void GrowColumns(int32_t nCols);
  void ShrinkColumns(int32_t nCols);
  void ResizeRowObject(int32_t row, int32_t nOldCols, int32_t nNewCols);
  void ApplyFixedRowBits(int32_t nOld, int32_t nNew);
  void ApplyFixedColBits(int32_t nOld, int32_t nNew);
  void MoveRows(int32_t from, int32_t to, int32_t count);
  void MoveColumnWidths(int32_t from, int32_t to, int32_t count);
  CGridCellBase* GetVirtualCell(int32_t nRow, int32_t nCol) const;
  bool IsInSelectionMap(int32_t nRow, int32_t nCol) const;
  GridSize MeasureText(CGridCellBase& cell, TStringView text) const;
  void SetCellTextUnchecked(CGridCellBase& cell, int32_t row, int32_t col, TStringView text);
  void ApplyItem(CGridCellBase& cell, const GridItem& item);

  IGridStoreHost* m_pHost;

  // counts and sizes
  std::atomic<int32_t> m_nRows{0}, m_nCols{0}, m_nFixedRows{0}, m_nFixedCols{0};
  StableArray<std::atomic<uint32_t>> m_arRowHeights;
  StableArray<std::atomic<uint32_t>> m_arColWidths;
  StableArray<CellRow> m_RowData;
  // Row objects hold this many cell slots (at least one): the column count
  // when they were made or last resized.
  int32_t m_nRowObjectCols = 0;

  // default cells and cell class
  CGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
  const GridRuntimeClass* m_pRtcDefault = &CGridCell::s_class;

  // focus and selection
  // Keyed by SelectionKey. Cells whose rows (or columns) lie 65,536 apart
  // share a key; both entries are kept, so no selected cell is forgotten.
  using SelectionMap = std::unordered_multimap<uint32_t, CellId>;
  SelectionMap m_SelectedCellMap, m_PrevSelectedCellMap;
  CellId m_idCurrentCell;
  bool m_bEnableSelection = true;
  std::atomic<bool> m_bModified{false};

  // sorting
  bool m_bAscending = true;
  std::atomic<int32_t> m_nSortColumn{-1};
  GridCompareFunc m_pfnCompare = nullptr;
  bool m_bNumericSort = false;

  // virtual mode
  bool m_bVirtualMode = false;
  GridDisplayCallback m_pfnCallback = nullptr;
  intptr_t m_lParam = 0;
  mutable std::unique_ptr<CGridCell> m_pVirtualCell;
  mutable GridItem m_VirtualItem;

  // filling
  std::atomic<bool> m_bFilling{false};
  std::atomic<int32_t> m_nPublishedRows{0}, m_nPublishedCols{0};
  std::atomic<bool> m_bColumnsPublished{false};
  std::atomic<uint32_t> m_nLayoutStamp{0};
  std::atomic<bool> m_bOutOfMemory{false};
  std::atomic<bool> m_bTestCellLimit{false};
  std::atomic<int64_t> m_nTestCellBudget{0};
};

template <typename Changed>
void CGridStore::SetSelectedRange(const CellRange& range, bool bSelectCells, bool bKeepPrevious, Changed&& changed) {
  if (!m_bEnableSelection) return;
  if (bSelectCells && !m_SelectedCellMap.empty()) {
    std::vector<CellId> selected;
    selected.reserve(m_SelectedCellMap.size());
    for (auto it = m_SelectedCellMap.begin(); it != m_SelectedCellMap.end();) {
      if (!IsValid(it->second)) {
        it = m_SelectedCellMap.erase(it);
      } else {
        selected.push_back(it->second);
        ++it;
      }
    }
    for (const CellId& id : selected) {
      SetCellState(id.row, id.col, GetCellState(id.row, id.col) & ~static_cast<uint32_t>(GVIS_SELECTED));
      if (!range.InRange(id.row, id.col)) changed(id.row, id.col);
    }
  }
  const bool allSet = range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0;
  if (bSelectCells && bKeepPrevious && allSet) {
    for (const auto& entry : m_PrevSelectedCellMap) {
      const CellId& id = entry.second;
      if (!IsValid(id)) continue;
      SetCellState(id.row, id.col, GetCellState(id.row, id.col) | GVIS_SELECTED);
      changed(id.row, id.col);
    }
  }
  if (!allSet || !IsValid(range)) return;
  for (int32_t row = range.minRow; row <= range.maxRow; ++row) {
    for (int32_t col = range.minCol; col <= range.maxCol; ++col) {
      if (IsCellSelected(row, col) == bSelectCells) continue;
      const uint32_t state = GetCellState(row, col);
      SetCellState(row, col, bSelectCells ? (state | GVIS_SELECTED) : (state & ~static_cast<uint32_t>(GVIS_SELECTED)));
      changed(row, col);
    }
  }
}

}  // namespace dossel
