#include "grid/grid_saved_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "grid/grid_text_exchange.h"

namespace dossel {

bool CSavedLineReader::ReadLine(std::string& line) {
  line.clear();
  bool any = false;
  while (true) {
    if (m_begin == m_end) {
      m_begin = 0;
      m_end = std::fread(m_buffer, 1, sizeof m_buffer, m_file);
      if (m_end == 0) break;
    }
    const char* start = m_buffer + m_begin;
    const size_t count = m_end - m_begin;
    const void* newline = std::memchr(start, '\n', count);
    const size_t taken = newline ? static_cast<size_t>(static_cast<const char*>(newline) - start) : count;
    line.append(start, taken);
    any = true;
    if (newline) {
      m_begin += taken + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    m_begin = m_end;
  }
  // The last line has no line end.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

bool LoadSavedGrid(CGridStore& store, std::FILE* file, TChar separator, uint32_t format) {
  store.DeleteAllCells();
  CSavedLineReader reader(file);
  std::string line;
  if (reader.ReadLine(line)) {
    const std::vector<TString> headings = SplitSavedLine(FromUtf8(line), separator);
    store.AppendColumns(headings, format);
    while (reader.ReadLine(line)) {
      const std::vector<TString> fields = SplitSavedLine(FromUtf8(line), separator);
      // Fails only during a fill or when memory ran out (which the store
      // notes): no later row would go in either.
      const int32_t row = store.InsertRow(fields[0], -1);
      if (row < 0) break;
      const auto count = static_cast<int32_t>(
          std::min<size_t>(fields.size() - 1, static_cast<size_t>(std::max(store.GetColumnCount() - 1, 0))));
      if (count > 0) store.SetRowTexts(row, 1, fields.data() + 1, count);
    }
  }
  return !std::ferror(file);
}

std::string SavedGridFileLine(const CGridStore& store, int32_t row, TChar separator) {
  return ToUtf8(SavedGridLine(store, row, separator)) + "\n";
}

}  // namespace dossel
