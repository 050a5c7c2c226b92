// The saved-grid reader over any file, with a comma and with a second
// separator (a tab; in the UTF-16 build a non-ASCII one, U+00A7, that the
// file holds as two UTF-8 bytes). Besides not faulting:
// - the line reader gives one line per "\n", plus one for text after the
//   last, each without its "\n" and without one "\r" before it, and
//   nothing else is lost or added;
// - the grid has a row per line and a column per field of the first line;
// - saving the grid and loading the file again gives the same grid, unless
//   a cell of the last column ends with "\r" (which the format cannot keep:
//   nothing is quoted);
// - a file that the writer could have written (every line closed and with
//   the first line's field count, no "\r", and UTF-8 that the build's text
//   gives back unchanged) is saved again byte for byte.
// A first line of many fields over many short lines makes a grid of many
// empty cells from a few bytes; such files only get the line check, so that
// each run stays short.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "grid/grid_saved_file.h"

namespace {

using dossel::CGridStore;
using dossel::TChar;
using dossel::TString;

constexpr size_t kMaxCells = 100000;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The bytes as a stream; an empty file is /dev/null (fmemopen wants bytes).
std::unique_ptr<std::FILE, FileCloser> Open(std::string& bytes) {
  return std::unique_ptr<std::FILE, FileCloser>(bytes.empty() ? std::fopen("/dev/null", "r")
                                                              : fmemopen(bytes.data(), bytes.size(), "r"));
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return lines;
}

std::string_view WithoutCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

void CheckLineReader(std::string bytes, const std::vector<std::string_view>& expected) {
  auto file = Open(bytes);
  dossel::CSavedLineReader reader(file.get());
  std::string line;
  for (const std::string_view want : expected) {
    FUZZ_CHECK(reader.ReadLine(line));
    FUZZ_CHECK(line == WithoutCr(want));
  }
  FUZZ_CHECK(!reader.ReadLine(line));
}

size_t FieldCount(std::string_view line, TChar separator) {
  const TString text = dossel::FromUtf8(WithoutCr(line));
  return static_cast<size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

bool Load(CGridStore& store, std::string bytes, TChar separator) {
  auto file = Open(bytes);
  return dossel::LoadSavedGrid(store, file.get(), separator, 0);
}

std::string Saved(const CGridStore& store, TChar separator) {
  std::string bytes;
  for (int32_t row = 0; row < store.GetRowCount(); ++row) bytes += dossel::SavedGridFileLine(store, row, separator);
  return bytes;
}

bool SameCells(const CGridStore& a, const CGridStore& b) {
  if (a.GetRowCount() != b.GetRowCount() || a.GetColumnCount() != b.GetColumnCount()) return false;
  for (int32_t row = 0; row < a.GetRowCount(); ++row)
    for (int32_t col = 0; col < a.GetColumnCount(); ++col)
      if (a.GetCellText(row, col) != b.GetCellText(row, col)) return false;
  return true;
}

bool Writable(std::string_view bytes, const std::vector<std::string_view>& lines, TChar separator) {
  if (bytes.empty()) return true;
  if (bytes.back() != '\n' || bytes.find('\r') != std::string_view::npos) return false;
  if (dossel::ToUtf8(dossel::FromUtf8(bytes)) != bytes) return false;
  const size_t fields = FieldCount(lines[0], separator);
  return std::all_of(lines.begin(), lines.end(),
                     [&](std::string_view line) { return FieldCount(line, separator) == fields; });
}

void CheckGrid(std::string_view bytes, const std::vector<std::string_view>& lines, TChar separator) {
  const size_t cols = lines.empty() ? 0 : FieldCount(lines[0], separator);
  if (lines.size() * cols > kMaxCells) return;
  CGridStore store;
  FUZZ_CHECK(Load(store, std::string(bytes), separator));
  FUZZ_CHECK(static_cast<size_t>(store.GetRowCount()) == lines.size());
  FUZZ_CHECK(static_cast<size_t>(store.GetColumnCount()) == cols);

  const std::string saved = Saved(store, separator);
  bool keepable = true;
  for (int32_t row = 0; row < store.GetRowCount() && keepable; ++row) {
    const TString last = store.GetCellText(row, store.GetColumnCount() - 1);
    keepable = last.empty() || last.back() != '\r';
  }
  if (keepable) {
    CGridStore again;
    FUZZ_CHECK(Load(again, saved, separator));
    FUZZ_CHECK(SameCells(store, again));
  }
  if (Writable(bytes, lines, separator)) FUZZ_CHECK(saved == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = Lines(bytes);
  CheckLineReader(std::string(bytes), lines);
  CheckGrid(bytes, lines, DT(','));
#if defined(DOSSEL_WIDE) && DOSSEL_WIDE
  CheckGrid(bytes, lines, TChar(0xA7));
#else
  CheckGrid(bytes, lines, DT('\t'));
#endif
  return 0;
}
