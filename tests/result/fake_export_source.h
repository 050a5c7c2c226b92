#pragma once
// A table of text cells for the export tests: rows of cells, a set of
// selected cells and the range they span, counting what the writer reads.

#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "result/export_source.h"

namespace dossel::test {

class FakeExportSource : public IExportSource {
 public:
  FakeExportSource() = default;
  explicit FakeExportSource(std::vector<std::vector<TString>> rows) : m_rows(std::move(rows)) {}

  void Select(int32_t row, int32_t col) {
    m_selected.insert({row, col});
    if (m_range.minRow < 0) m_range = {row, col, row, col};
    m_range.minRow = std::min(m_range.minRow, row);
    m_range.minCol = std::min(m_range.minCol, col);
    m_range.maxRow = std::max(m_range.maxRow, row);
    m_range.maxCol = std::max(m_range.maxCol, col);
  }

  int32_t GetRowCount() const override { return static_cast<int32_t>(m_rows.size()); }
  int32_t GetColumnCount() const override { return m_rows.empty() ? 0 : static_cast<int32_t>(m_rows[0].size()); }
  TStringView GetCellText(int32_t row, int32_t col) const override {
    ++cellsRead;
    if (onRead) onRead();
    const auto& cells = m_rows[static_cast<size_t>(row)];
    return static_cast<size_t>(col) < cells.size() ? TStringView(cells[static_cast<size_t>(col)]) : TStringView();
  }
  bool IsCellSelected(int32_t row, int32_t col) const override { return m_selected.count({row, col}) > 0; }
  ExportRange GetSelectedRange() const override { return m_range; }
  bool IsValidRange(const ExportRange& r) const override {
    return r.minRow >= 0 && r.minCol >= 0 && r.maxRow < GetRowCount() && r.maxCol < GetColumnCount() &&
           r.maxRow >= r.minRow && r.maxCol >= r.minCol;
  }

  std::vector<std::vector<TString>>& Rows() { return m_rows; }
  mutable long cellsRead = 0;
  // Called on every cell read; lets a test change the table mid-export.
  std::function<void()> onRead;

 private:
  std::vector<std::vector<TString>> m_rows;
  std::set<std::pair<int32_t, int32_t>> m_selected;
  ExportRange m_range;
};

}  // namespace dossel::test
