// The export writer over arbitrary cell texts and options. Input: records
// separated by RS (0x1e), fields by US (0x1f). The first record holds the
// options: flags ('T' tagged, 'N' no title row, 'S' selected cells only, 'F'
// also export to /dev/full), then the delimiter, the row and column tags and
// a pattern of '1's choosing the selected cells in row-major order. Every
// further record is a row of cells.
//
// Besides not faulting, the file must read back to the cells wherever the
// format makes that possible: delimited with a delimiter free of quotes and
// line ends (a CSV reader that takes the first delimiter it meets), and
// tagged with markup tags and a closing column tag.
//
// Built in both text widths; the input is UTF-8 either way, and what the
// file must hold is each text as the build's text gives it back in UTF-8.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "result/export_writer.h"
#include "tests/result/fake_export_source.h"

namespace {

using dossel::ExportFile;
using dossel::ExportMode;
using dossel::ExportOptions;
using dossel::ExportStatus;
using dossel::FromUtf8;
using dossel::ToUtf8;
using Table = std::vector<std::vector<std::string>>;

// Bounds the cells the writer visits: a first row of many cells over many
// short rows would otherwise make a few kilobytes of input a long export.
constexpr size_t kMaxCells = 20000;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t end = text.find(separator);
    parts.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return parts;
    text.remove_prefix(end + 1);
  }
}

const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/dossel-export-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    FUZZ_CHECK(fd >= 0);
    close(fd);
    std::atexit([] { unlink(ScratchPath().c_str()); });
    return pattern;
  }();
  return path;
}

std::string ReadFile(const std::string& path) {
  std::string out;
  const int fd = open(path.c_str(), O_RDONLY);
  FUZZ_CHECK(fd >= 0);
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  close(fd);
  return out;
}

// The UTF-8 of a text after its trip through the build's text.
std::string AsStored(std::string_view utf8) { return ToUtf8(FromUtf8(utf8)); }

// The options' delimiter and tags in UTF-8, as the file holds them.
struct Tags {
  explicit Tags(const ExportOptions& options)
      : delimiter(ToUtf8(options.delimiter)),
        rowBegin(ToUtf8(options.rowBegin)),
        rowEnd(ToUtf8(options.rowEnd)),
        colBegin(ToUtf8(options.colBegin)),
        colEnd(ToUtf8(options.colEnd)) {}
  std::string delimiter, rowBegin, rowEnd, colBegin, colEnd;
};

// Reads `out` as the lines of `expected`, consuming it from the front.
class Reader {
 public:
  explicit Reader(std::string_view out) : m_out(out) {}
  bool Expect(std::string_view text) {
    if (m_out.substr(0, text.size()) != text) return false;
    m_out.remove_prefix(text.size());
    return true;
  }
  bool AtEnd() const { return m_out.empty(); }

  bool CsvField(std::string_view delimiter, std::string& field) {
    field.clear();
    if (!Expect("\"")) {
      const size_t end = std::min(m_out.find(delimiter), m_out.find('\n'));
      field = m_out.substr(0, end);
      m_out.remove_prefix(field.size());
      return true;
    }
    for (;;) {
      const size_t quote = m_out.find('"');
      if (quote == std::string_view::npos) return false;
      field += m_out.substr(0, quote);
      m_out.remove_prefix(quote + 1);
      if (!Expect("\"")) return true;
      field += '"';
    }
  }

  // Escaped text up to the next '<', which begins the closing column tag.
  bool MarkupText(std::string& text) {
    text.clear();
    const size_t end = m_out.find('<');
    if (end == std::string_view::npos) return false;
    std::string_view escaped = m_out.substr(0, end);
    m_out.remove_prefix(end);
    while (!escaped.empty()) {
      if (escaped.front() != '&') {
        text += escaped.front();
        escaped.remove_prefix(1);
        continue;
      }
      bool known = false;
      for (const auto& [entity, c] : {std::pair{"&amp;", '&'}, std::pair{"&lt;", '<'}, std::pair{"&gt;", '>'}}) {
        if (escaped.substr(0, std::string_view(entity).size()) != entity) continue;
        text += c;
        escaped.remove_prefix(std::string_view(entity).size());
        known = true;
        break;
      }
      if (!known) return false;
    }
    return true;
  }

 private:
  std::string_view m_out;
};

bool ReadsBackDelimited(std::string_view out, const Tags& options, const Table& expected) {
  Reader reader(out);
  std::string field;
  for (size_t row = 0; row < expected.size(); ++row) {
    if (row > 0 && !reader.Expect("\n")) return false;
    for (size_t col = 0; col < expected[row].size(); ++col) {
      if (col > 0 && !reader.Expect(options.delimiter)) return false;
      if (!reader.CsvField(options.delimiter, field) || field != expected[row][col]) return false;
    }
  }
  return reader.AtEnd();
}

bool ReadsBackTagged(std::string_view out, const Tags& options, const Table& expected) {
  Reader reader(out);
  std::string text;
  for (size_t row = 0; row < expected.size(); ++row) {
    if (row > 0 && !reader.Expect("\n")) return false;
    if (!reader.Expect(options.rowBegin)) return false;
    for (const std::string& cell : expected[row]) {
      if (!reader.Expect(options.colBegin) || !reader.MarkupText(text) || text != cell) return false;
      if (!reader.Expect(options.colEnd)) return false;
    }
    if (!reader.Expect(options.rowEnd)) return false;
  }
  return reader.AtEnd();
}

struct Case {
  ExportOptions options;
  bool toFullDisk = false;
  std::string pattern;  // selected cells, row-major, repeated
  std::vector<std::vector<dossel::TString>> cells;
  Table rows;  // the cells in UTF-8, as stored
  size_t cols = 0;

  const std::string& Cell(size_t row, size_t col) const {
    static const std::string empty;
    return col < rows[row].size() ? rows[row][col] : empty;
  }
  bool Selected(size_t row, size_t col) const {
    return !pattern.empty() && pattern[(row * cols + col) % pattern.size()] == '1';
  }
};

Case ReadCase(std::string_view input) {
  Case c;
  std::vector<std::string_view> records = Split(input, '\x1e');
  std::vector<std::string_view> fields = Split(records[0], '\x1f');
  fields.resize(std::max<size_t>(fields.size(), 7), {});
  const std::string_view flags = fields[0];
  const auto has = [&](char flag) { return flags.find(flag) != std::string_view::npos; };
  c.options.mode = has('T') ? ExportMode::Tagged : ExportMode::Delimited;
  c.options.header = !has('N');
  c.options.selectionOnly = has('S');
  c.toFullDisk = has('F');
  if (records[0].find('\x1f') != std::string_view::npos) {
    c.options.delimiter = FromUtf8(fields[1]);
    c.options.rowBegin = FromUtf8(fields[2]);
    c.options.rowEnd = FromUtf8(fields[3]);
    c.options.colBegin = FromUtf8(fields[4]);
    c.options.colEnd = FromUtf8(fields[5]);
  }
  c.pattern = fields[6];
  for (size_t i = 1; i < records.size(); ++i) {
    c.cells.emplace_back();
    c.rows.emplace_back();
    for (std::string_view cell : Split(records[i], '\x1f')) {
      c.cells.back().push_back(FromUtf8(cell));
      c.rows.back().push_back(AsStored(cell));
    }
  }
  c.cols = c.rows.empty() ? 0 : c.rows[0].size();
  return c;
}

// The cells the file should hold, line by line; in tagged mode unselected
// cells are left out, in delimited mode they are empty fields.
Table ExpectedCells(const Case& c, const dossel::ExportRange& range) {
  Table lines;
  const bool tagged = c.options.mode == ExportMode::Tagged;
  if (!c.options.selectionOnly) {
    for (size_t row = c.options.header ? 0 : 1; row < c.rows.size(); ++row) {
      lines.emplace_back();
      for (size_t col = 0; col < c.cols; ++col) lines.back().push_back(c.Cell(row, col));
    }
    return lines;
  }
  for (auto row = static_cast<size_t>(range.minRow); row <= static_cast<size_t>(range.maxRow); ++row) {
    lines.emplace_back();
    for (auto col = static_cast<size_t>(range.minCol); col <= static_cast<size_t>(range.maxCol); ++col) {
      if (c.Selected(row, col))
        lines.back().push_back(c.Cell(row, col));
      else if (!tagged)
        lines.back().emplace_back();
    }
  }
  return lines;
}

bool DelimitedReadable(const ExportOptions& options) {
  const std::string delimiter = ToUtf8(options.delimiter);
  return options.mode == ExportMode::Delimited && !delimiter.empty() &&
         delimiter.find_first_of("\"\r\n") == std::string::npos;
}

bool TaggedReadable(const ExportOptions& options) {
  return options.mode == ExportMode::Tagged && dossel::IsMarkupTags(options) && !options.colEnd.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Case c = ReadCase(std::string_view(reinterpret_cast<const char*>(data), size));
  if (c.rows.size() * std::max<size_t>(c.cols, 1) > kMaxCells) return 0;

  dossel::test::FakeExportSource source(c.cells);
  for (size_t row = 0; row < c.rows.size(); ++row)
    for (size_t col = 0; col < c.cols; ++col)
      if (c.Selected(row, col)) source.Select(static_cast<int32_t>(row), static_cast<int32_t>(col));

  ExportFile file;
  FUZZ_CHECK(file.Open(FromUtf8(ScratchPath())));
  const ExportStatus status = dossel::WriteExport(file, source, c.options);
  FUZZ_CHECK(file.Close());
  const std::string out = ReadFile(ScratchPath());
  const bool anySelected = source.GetSelectedRange().minRow >= 0;
  if (c.options.selectionOnly && !anySelected) {
    FUZZ_CHECK(status == ExportStatus::NoSelection && out.empty());
    return 0;
  }
  FUZZ_CHECK(status == ExportStatus::Written);

  const Table expected = ExpectedCells(c, source.GetSelectedRange());
  if (DelimitedReadable(c.options)) FUZZ_CHECK(ReadsBackDelimited(out, Tags(c.options), expected));
  if (TaggedReadable(c.options)) FUZZ_CHECK(ReadsBackTagged(out, Tags(c.options), expected));

  if (c.toFullDisk) {
    ExportFile full;
    FUZZ_CHECK(full.Open(DT("/dev/full")));
    dossel::WriteExport(full, source, c.options);
    FUZZ_CHECK(full.Close() == out.empty());
    FUZZ_CHECK(out.empty() || full.Cause() == dossel::FileErrorCause::DiskFull);
  }
  return 0;
}
