#pragma once
// CGridStore: the results grid's cells apart from its window. It owns the
// rows and their texts, the row heights and column widths, the four default
// cells, the focus cell and the selection, the modified marks, the sort
// state and virtual mode's data side. It includes no wx header; the window
// (CGridCtrl) shows it and adds repainting, scroll bars and measuring.
//
// Cells are data, not objects: each row's texts are one record of a
// CCellTable (NULL and empty kept apart), rows are found by a stable row id
// (a sort or an insert only reorders the ids) and columns by a slot of the
// records. A cell object (CGridCellBase) exists only where one was asked
// for: GetCell makes it on first use, styling or editing a cell does so
// too, and from then on the object holds the cell. PeekCell shows any cell
// as an object for reading without keeping one.
//
// Threads. Outside a fill everything runs on the UI thread. During a fill
// (BeginFill to EndFill) one thread, the session's store writer and never
// the UI thread, may call the writer operations:
//   GetRowCount, GetColumnCount, GetFixedRowCount, GetFixedColumnCount,
//   SetRowCount, SetColumnCount, SetFixedRowCount, SetFixedColumnCount,
//   SetCellText, SetRowTexts, GetCellText, SetColumnWidth, GetColumnWidth,
//   SetRowHeight, GetRowHeight, DeleteAllCells, PublishRows, PublishColumns.
// Rows [0, n) are complete once the writer calls PublishRows(n) and never
// change or move again during the fill: their records never move. The UI
// thread meanwhile reads only rows below GetPublishedRowCount() and columns
// below GetPublishedColumnCount(). Operations that would change or move a
// published row during a fill return false. The writer writes rows in order;
// the texts of a row not yet published are kept aside until the writer goes
// on to a later row or publishes it.
//
// Out of memory inside any operation: the operation returns false (or -1),
// no exception escapes and nothing is shown; TakeOutOfMemory() tells the UI
// thread once, so that the window reports it.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "grid/cell_selection.h"
#include "grid/cell_table.h"
#include "grid/grid_cell.h"
#include "grid/grid_types.h"
#include "grid/row_heights.h"
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

// One row's texts read at once, for code that walks many cells (export,
// copy, saving): Text(col) is what GetCellText(row, col) gives, without a
// copy. Valid until the store changes or the row is read again.
class CGridRowTexts {
 public:
  int32_t Row() const { return m_row; }
  TStringView Text(int32_t col) const;
  bool IsNull(int32_t col) const;

 private:
  friend class CGridStore;
  const CGridStore* m_store = nullptr;
  int32_t m_row = -1;
  uint32_t m_id = 0;
  CRowCells m_cells;
  TString m_pending;
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
  // Kept for callers that announce many columns; cells take no room per
  // column, so there is nothing to make ahead.
  bool ReserveColumns(int32_t) { return true; }
  // InsertColumn(heading, nFormat, -1) for each heading, in one pass over
  // the first row; false during a fill or when memory runs out.
  bool AppendColumns(const std::vector<TString>& headings, uint32_t nFormat);
  bool DeleteRow(int32_t nRow);
  bool DeleteColumn(int32_t nColumn);
  bool DeleteNonFixedRows();
  bool DeleteAllCells();

  // ---- cells ----
  // The cell's object, made on first use from the cell's data; null for a
  // bad index or when memory runs out. UI thread.
  CGridCellBase* GetCell(int32_t nRow, int32_t nCol) const;
  // The cell's object when it has one; null otherwise.
  CGridCellBase* FindCell(int32_t nRow, int32_t nCol) const;
  // The cell for reading: its object, or one of a few objects the store
  // lends, filled from the cell's data and valid until the store lends it
  // again (four calls later). UI thread.
  const CGridCellBase* PeekCell(int32_t nRow, int32_t nCol) const;
  // Gives the cell this object, which the store then owns; the object the
  // cell had before is left to the caller.
  bool SetCell(int32_t nRow, int32_t nCol, CGridCellBase* pCell);
  CGridDefaultCell* GetDefaultCell(bool bFixedRow, bool bFixedCol) const;
  virtual CGridCellBase* CreateCell(int32_t nRow, int32_t nCol);
  // Deletes the cell's object; the cell keeps its text.
  virtual void DestroyCell(int32_t nRow, int32_t nCol);
  bool SetCellClass(int32_t nRow, int32_t nCol, const GridRuntimeClass* pRuntimeClass);
  bool SetDefaultCellClass(const GridRuntimeClass* pRuntimeClass);
  // Cells that have objects.
  size_t GetCellObjectCount() const { return m_cells.size(); }

  // ---- sizes ----
  bool SetRowHeight(int32_t row, int32_t height);
  bool SetColumnWidth(int32_t col, int32_t width);
  int32_t GetRowHeight(int32_t row) const;
  int32_t GetColumnWidth(int32_t col) const;
  // Every row this height, at once.
  void SetAllRowHeights(int32_t height);
  // The height of rows made later during a fill, and of rows that have
  // none of their own. Any thread (the window sets it during a fill).
  void SetSharedRowHeight(int32_t height);
  int32_t GetFixedRowHeight() const;
  int32_t GetFixedColumnWidth() const;
  int32_t GetVirtualHeight() const;
  int32_t GetVirtualWidth() const;
  // Sums over rows [0, rows) or columns [0, cols), capped at INT32_MAX.
  int32_t SumRowHeights(int32_t rows) const;
  int32_t SumColumnWidths(int32_t cols) const;
  // The sum over rows [first, end), not capped.
  int64_t SumRowHeights(int32_t first, int32_t end) const { return m_heights.Sum(first, end); }
  // The row of [first, end) whose span holds offset (from the top of
  // first); end when the rows end before it.
  int32_t RowAtOffset(int32_t first, int32_t end, int64_t offset) const { return m_heights.RowAt(first, end, offset); }
  bool IsValid(int32_t nRow, int32_t nCol) const {
    return nRow >= 0 && nRow < GetRowCount() && nCol >= 0 && nCol < GetColumnCount();
  }
  bool IsValid(const CellId& cell) const { return IsValid(cell.row, cell.col); }
  bool IsValid(const CellRange& range) const;

  // ---- cell contents and attributes ----
  // False for a bad index, in virtual mode or when memory runs out; never throws.
  bool SetCellText(int32_t row, int32_t col, TStringView text);
  // The texts of count cells of one row from firstCol on, as one call: the
  // fill's faster path. nulls[i], when given, marks a NULL value. False as
  // SetCellText (cells before a failure keep their new texts).
  bool SetRowTexts(int32_t row, int32_t firstCol, const TString* texts, int32_t count, const bool* nulls = nullptr);
  template <typename... Args>
  bool SetCellTextF(int32_t nRow, int32_t nCol, TStringView format, const Args&... args) {
    return SetCellText(nRow, nCol, Format(format, args...));
  }
  TString GetCellText(int32_t row, int32_t col) const;
  // True for a cell the fill stored as NULL (its text is empty).
  bool IsCellNull(int32_t row, int32_t col) const;
  // Reads the texts of a row at once; false for a bad row.
  bool ReadRow(int32_t row, CGridRowTexts& texts) const;
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

  // ---- focus cell and selection (data only; the window repaints) ----
  CellId GetFocusCell() const { return m_idCurrentCell; }
  // Moves the focus cell (kept out of the fixed cells) and its focused bit;
  // returns the previous focus cell.
  CellId SetFocusCell(CellId cell);
  void EnableSelection(bool bEnable) { m_bEnableSelection = bEnable; }
  bool IsSelectable() const { return m_bEnableSelection; }
  bool IsCellSelected(int32_t nRow, int32_t nCol) const;
  // Selects the range (all four -1: none) after unselecting the present
  // selection, keeping the remembered selection's cells selected unless
  // bKeepPrevious is false; or, with bSelectCells false, unselects the
  // range. changed(range) is told blocks of cells whose selection may have
  // changed (every cell that changed lies in one of them).
  template <typename Changed>
  void SetSelectedRange(const CellRange& range, bool bSelectCells, bool bKeepPrevious, Changed&& changed);
  CellRange GetSelectedRange() const;
  int32_t GetSelectedCount() const;
  // The selected cells, as disjoint blocks.
  const CCellSelection& GetSelection() const { return m_selection; }
  // Unselects every cell and forgets the previous selection.
  void ClearSelectedCells();
  // The selection a control-click keeps: the present one.
  void RememberSelection() { m_prevSelection = m_selection; }
  void ForgetRememberedSelection() { m_prevSelection.Clear(); }
  // The classic selection map's key: rows 65,536 apart share it.
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
  // The text comparison keeps rows of equal texts in the order they had (a
  // stable sort); another comparison runs the classic partition sort.
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

  // ---- memory ----
  // Bytes the cells' data take in memory (records and their index).
  size_t GetMemoryBytes() const { return m_table.MemoryBytes(); }
  // Characters of text the fill stored.
  uint64_t GetTextChars() const { return m_table.TextChars(); }

  // ---- out of memory ----
  // True once after an operation ran out of memory, then cleared.
  bool TakeOutOfMemory() { return m_bOutOfMemory.exchange(false); }
  // Tests: at most this many more cells can be created (-1: no limit);
  // making rows or columns for more runs out of memory.
  void SetCellLimitForTest(int64_t cells) {
    m_nTestCellBudget.store(cells);
    m_bTestCellLimit.store(cells >= 0);
  }

  IGridStoreHost* GetHost() const { return m_pHost; }
  void SetHost(IGridStoreHost* pHost) { m_pHost = pHost; }

 private:
  friend class GridSorter;
  friend class CGridRowTexts;

  // A column: its slot in the records, and the format InsertColumn gave the
  // rows that existed then (ids below formatBelowId).
  struct Column {
    uint32_t slot = 0;
    uint32_t format = kFormatDefault;
    uint32_t formatBelowId = 0;
  };
  // The writer's row not yet stored (a fill that sets a row cell by cell).
  struct PendingCell {
    TString text;
    bool null = false;
    bool modified = false;
  };
  static uint64_t CellKey(uint32_t id, uint32_t slot) { return (static_cast<uint64_t>(id) << 32) | slot; }

  int32_t PublishedRows() const { return m_bFilling.load(std::memory_order_relaxed) ? GetPublishedRowCount() : 0; }
  bool TouchesPublishedRows() const { return PublishedRows() > 0; }
  void NoteOutOfMemory() { m_bOutOfMemory.store(true); }
  void BumpLayout() { m_nLayoutStamp.fetch_add(1, std::memory_order_relaxed); }
  uint32_t IdAt(int32_t row) const {
    return m_bOrdered ? m_order[static_cast<size_t>(row)] : static_cast<uint32_t>(row);
  }
  uint32_t SlotAt(int32_t col) const { return m_columns[static_cast<size_t>(col)].slot; }
  uint32_t Width(int32_t col) const { return m_arColWidths[static_cast<size_t>(col)].load(std::memory_order_relaxed); }
  void SetWidth(int32_t col, uint32_t w) {
    m_arColWidths[static_cast<size_t>(col)].store(w, std::memory_order_relaxed);
  }
  bool ChargeCells(int64_t cells);

  // structure helpers
  void ClearFocusIfRow(int32_t nRows);
  void GrowRows(int32_t nRows);
  void ShrinkRows(int32_t nRows);
  void EnsureOrdered();
  void ForgetRowIds(const std::vector<uint32_t>& ids);
  void ForgetColumnSlot(uint32_t slot);
  void ApplyFixedRowBits(int32_t nOld, int32_t nNew);
  void ApplyFixedColBits(int32_t nOld, int32_t nNew);
  void MoveColumnWidths(int32_t from, int32_t to, int32_t count);
  CGridCellBase* GetVirtualCell(int32_t nRow, int32_t nCol) const;
  GridSize MeasureText(CGridCellBase& cell, TStringView text) const;
  void ApplyItem(CGridCellBase& cell, const GridItem& item);
  // The object a setter of a non-default attribute needs.
  CGridCellBase* CellForChange(int32_t nRow, int32_t nCol);

  // the cells' data
  TStringView BaseText(uint32_t id, uint32_t slot, CRowCells& scratch) const {
    m_table.Read(id, scratch);
    return scratch.Text(slot);
  }
  // The writer's view of a row it has not published: its pending cell.
  bool IsWritersRow(int32_t row) const {
    return m_bFilling.load(std::memory_order_relaxed) && row >= GetPublishedRowCount();
  }
  const PendingCell* PendingAt(uint32_t id, uint32_t slot) const {
    return m_nPendingId == static_cast<int64_t>(id) && slot < m_pending.size() ? &m_pending[slot] : nullptr;
  }
  uint32_t BaseFormat(uint32_t id, int32_t row, int32_t col) const;
  uint32_t DerivedState(int32_t row, int32_t col) const;
  bool BaseModified(uint32_t id, uint32_t slot) const;
  bool WriteCell(int32_t row, int32_t col, TStringView text, bool null, bool modified);
  struct CellChange {
    uint32_t slot;
    TStringView text;
    bool null;
    bool modified;
  };
  bool RewriteRecord(uint32_t id, const CellChange* changes, size_t count);
  bool RewriteRecord(uint32_t id, uint32_t slot, TStringView text, bool null, bool modified) {
    const CellChange change{slot, text, null, modified};
    return RewriteRecord(id, &change, 1);
  }
  bool WritePendingCell(uint32_t id, uint32_t slot, TStringView text, bool null, bool modified);
  bool CommitPending();
  void RefreshSelectedBit(CGridCellBase& cell, int32_t row, int32_t col) const;
  void NoteTextWritten(int32_t col);
  void FillScratch(CGridCell& cell, int32_t row, int32_t col) const;
  void UpdateSlotOrder();

  IGridStoreHost* m_pHost;

  // counts and sizes
  std::atomic<int32_t> m_nRows{0}, m_nCols{0}, m_nFixedRows{0}, m_nFixedCols{0};
  CRowHeights m_heights;
  StableArray<std::atomic<uint32_t>> m_arColWidths;

  // rows: their ids (in row order once an insert or a sort made one) and records
  CCellTable m_table;
  StableArray<uint32_t> m_order;
  bool m_bOrdered = false;
  uint32_t m_nNextId = 0;
  std::vector<Column> m_columns;
  uint32_t m_nNextSlot = 0;
  bool m_bSlotsInOrder = true;  // column c is slot c
  TString m_rewrite;            // one row's texts while a record is rewritten
  std::vector<CellChange> m_changes;
  // Cells that have objects, by row id and slot.
  mutable std::unordered_map<uint64_t, CGridCellBase*> m_cells;
  // Lent by PeekCell.
  mutable std::array<CGridCell, 4> m_lent;
  mutable size_t m_nNextLent = 0;
  // Cells whose modified mark is older than this were cleared.
  std::atomic<uint32_t> m_nEpoch{1};
  // The writer's row being set cell by cell (id, cells by slot).
  int64_t m_nPendingId = -1;
  std::vector<PendingCell> m_pending;
  std::vector<CellInput> m_inputs;  // writer: one row's cells for the table

  // default cells and cell class
  CGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
  const GridRuntimeClass* m_pRtcDefault = &CGridCell::s_class;

  // focus and selection
  CCellSelection m_selection, m_prevSelection;
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
  const std::vector<CellRange> before = m_selection.Blocks();
  const bool allSet = range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0;
  if (bSelectCells) {
    m_selection.Clear();
    if (bKeepPrevious && allSet) {
      m_selection = m_prevSelection;
      m_selection.Clip(GetRowCount(), GetColumnCount());
    }
  }
  if (allSet && IsValid(range)) {
    if (bSelectCells)
      m_selection.Add(range);
    else
      m_selection.Remove(range);
  }
  for (const CellRange& block : before) changed(block);
  for (const CellRange& block : m_selection.Blocks()) changed(block);
}

}  // namespace dossel
