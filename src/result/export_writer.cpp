#include "result/export_writer.h"

#include <algorithm>

namespace dossel {

namespace {

bool IsCsvSpecial(TChar c) { return c == DT('"') || c == DT('\r') || c == DT('\n'); }

// Writes fields and lines in the chosen mode; keeps the choices it derives
// from the options (quoting, escaping) so they are decided once per export.
class FieldWriter {
 public:
  FieldWriter(ExportFile& file, const ExportOptions& options)
      : m_file(file),
        m_options(options),
        m_tagged(options.mode == ExportMode::Tagged),
        m_escape(m_tagged && IsMarkupTags(options)) {}

  bool Tagged() const { return m_tagged; }

  void BeginLine(bool first) {
    if (!first) m_file.Append('\n');
    if (m_tagged) m_file.AppendText(m_options.rowBegin);
  }
  void EndLine() {
    if (m_tagged) m_file.AppendText(m_options.rowEnd);
  }
  void Delimiter() { m_file.AppendText(m_options.delimiter); }

  // One cell: the plain or quoted text (delimited) or the text between the
  // column tags (tagged).
  void Cell(TStringView text) {
    if (m_tagged) {
      m_file.AppendText(m_options.colBegin);
      if (m_escape)
        Escaped(text);
      else
        m_file.AppendText(text);
      m_file.AppendText(m_options.colEnd);
    } else if (NeedsCsvQuotes(text, m_options.delimiter)) {
      Quoted(text);
    } else {
      m_file.AppendText(text);
    }
  }

 private:
  void Quoted(TStringView text) {
    m_file.Append('"');
    for (size_t quote; (quote = text.find(DT('"'))) != TStringView::npos; text.remove_prefix(quote + 1)) {
      m_file.AppendText(text.substr(0, quote + 1));
      m_file.Append('"');
    }
    m_file.AppendText(text);
    m_file.Append('"');
  }

  void Escaped(TStringView text) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const TChar c = text[i];
      if (c != DT('&') && c != DT('<') && c != DT('>')) continue;
      m_file.AppendText(text.substr(start, i - start));
      m_file.Append(c == DT('&') ? "&amp;" : c == DT('<') ? "&lt;" : "&gt;");
      start = i + 1;
    }
    m_file.AppendText(text.substr(start));
  }

  ExportFile& m_file;
  const ExportOptions& m_options;
  const bool m_tagged;
  const bool m_escape;
};

ExportStatus WriteAllRows(ExportFile& file, const IExportSource& source, const ExportOptions& options) {
  const int32_t rows = source.GetRowCount();
  const int32_t cols = source.GetColumnCount();
  FieldWriter writer(file, options);
  for (int32_t row = options.header ? 0 : 1; row < rows; ++row) {
    writer.BeginLine(row == (options.header ? 0 : 1));
    for (int32_t col = 0; col < cols; ++col) {
      if (col > 0 && !writer.Tagged()) writer.Delimiter();
      writer.Cell(source.GetCellText(row, col));
    }
    writer.EndLine();
    if (file.Failed()) return ExportStatus::WriteFailed;
  }
  return file.Failed() ? ExportStatus::WriteFailed : ExportStatus::Written;
}

ExportStatus WriteSelection(ExportFile& file, const IExportSource& source, const ExportOptions& options) {
  const ExportRange range = source.GetSelectedRange();
  if (!source.IsValidRange(range)) return ExportStatus::NoSelection;
  FieldWriter writer(file, options);
  for (int32_t row = range.minRow; row <= range.maxRow; ++row) {
    writer.BeginLine(row == range.minRow);
    for (int32_t col = range.minCol; col <= range.maxCol; ++col) {
      if (source.IsCellSelected(row, col)) writer.Cell(source.GetCellText(row, col));
      // Unselected cells still get their delimiter: they become empty fields.
      if (!writer.Tagged() && col < range.maxCol) writer.Delimiter();
    }
    writer.EndLine();
    if (file.Failed()) return ExportStatus::WriteFailed;
  }
  return file.Failed() ? ExportStatus::WriteFailed : ExportStatus::Written;
}

}  // namespace

bool NeedsCsvQuotes(TStringView text, TStringView delimiter) {
  if (std::any_of(text.begin(), text.end(), IsCsvSpecial)) return true;
  if (delimiter.empty()) return false;
  if (text.find(delimiter) != TStringView::npos) return true;
  // A reader ends the field at the first delimiter it meets. When the cell
  // ends in a start of the delimiter that its own end repeats (" |" before
  // " | "), the cell's tail and the delimiter after it spell the delimiter
  // early, and the field would be cut short.
  for (size_t k = 1; k < delimiter.size() && k <= text.size(); ++k) {
    if (text.substr(text.size() - k) == delimiter.substr(0, k) &&
        delimiter.substr(k) == delimiter.substr(0, delimiter.size() - k))
      return true;
  }
  return false;
}

bool IsMarkupTags(const ExportOptions& options) {
  bool any = false;
  for (const TString* tag : {&options.rowBegin, &options.rowEnd, &options.colBegin, &options.colEnd}) {
    if (tag->empty()) continue;
    if ((*tag)[0] != DT('<')) return false;
    any = true;
  }
  return any;
}

ExportStatus WriteExport(ExportFile& file, const IExportSource& source, const ExportOptions& options) {
  return options.selectionOnly ? WriteSelection(file, source, options) : WriteAllRows(file, source, options);
}

}  // namespace dossel
