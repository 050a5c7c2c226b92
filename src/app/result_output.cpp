#include "app/result_output.h"

#include "app/main_frame.h"
#include "app/result_view.h"
#include "grid/grid_ctrl.h"

using namespace dossel;
using namespace dossel::db;

namespace {

constexpr TStringView kHyphenLine = DT("--------------------------------------\r\n");
// Text output is handed to the pane in pieces of about this many characters.
constexpr size_t kTextChunk = 64 * 1024;
// The grid grows by this many rows and columns at a time.
constexpr int32_t kRowStep = 80;
constexpr int32_t kColumnStep = 10;
constexpr int kRowNumberWidth = 30;

// What every run does whatever the display format: execute, walk the result
// sets of the batch, write the affected-row lines and the errors.
class CRunWriter {
 public:
  explicit CRunWriter(CMainFrame& frame) : m_frame(frame), m_rs(*frame.m_pResultSet) {}
  virtual ~CRunWriter() = default;

  bool Run(const TString& sql);

 protected:
  // The worker stops as soon as a cancel is asked for, not only once the
  // driver has been told: values read after the driver's cancel would only
  // be errors.
  bool Canceled() const { return m_frame.CancelRequested(); }
  // Writes one result set with columns; false stops the whole run.
  virtual bool WriteResultSet(bool fetchFirst) = 0;
  // The first result had no columns.
  virtual void OnNoColumns() {}
  void WriteCountLines(int rows);
  void ReportError();

  CMainFrame& m_frame;
  CQueryResultSet& m_rs;
  TString m_value;  // one cell

 private:
  void AffectedRowLines(bool withTime);
};

void CRunWriter::WriteCountLines(int rows) {
  if (m_rs.FetchFailed()) ReportError();
  m_frame.PrintExecuteTime();
  AppendTrace(DT("(%d row(s) affected)\r\n"), rows);
}

void CRunWriter::AffectedRowLines(bool withTime) {
  int64_t affected = -1;
  if (!m_rs.GetRowCount(affected)) {
    affected = -1;
    AppendTrace(DT("Failed to get rows affected.\r\n"));
  }
  if (withTime) m_frame.PrintExecuteTime();
  if (affected != -1) AppendTrace(DT("(%d row(s) affected)\r\n"), static_cast<long long>(affected));
}

// The driver's own words for what went wrong, one trace line each.
void CRunWriter::ReportError() {
  const TString& message = m_rs.LastErrorText();
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find('\n', start);
    if (end == TString::npos) end = message.size();
    if (end > start) AppendTrace(DT("Error: %s\r\n"), message.substr(start, end - start));
    start = end + 1;
  }
}

bool CRunWriter::Run(const TString& sql) {
  m_frame.CloseStatement();
  bool errors = false;
  if (!Canceled() && m_rs.OpenSql(sql)) {
    if (m_rs.ExecuteFailed() && !Canceled()) ReportError();
    int columns = m_rs.GetColumnCount();
    bool going = true;
    if (columns > 0) {
      going = WriteResultSet(false);
    } else {
      if (columns == 0 && m_frame.m_bRowCountSupported && !Canceled()) AffectedRowLines(false);
      OnNoColumns();
    }
    while (going && m_frame.m_bMultipleResults && !Canceled() && m_rs.NextResultSet()) {
      columns = m_rs.GetColumnCount();
      if (columns != 0)
        going = WriteResultSet(true);
      else if (m_frame.m_bRowCountSupported && !Canceled())
        AffectedRowLines(true);
    }
    errors = m_rs.ExecuteFailed() || m_rs.FetchFailed() || !going;
  }
  m_frame.CloseStatement();
  return errors;
}

class CTextRunWriter : public CRunWriter {
 public:
  using CRunWriter::CRunWriter;

 private:
  bool WriteResultSet(bool fetchFirst) override;
  void WriteHeader(int columns);
  void FlushText();

  TString m_text;  // text waiting to be appended
};

void CTextRunWriter::FlushText() {
  if (m_text.empty()) return;
  AppendResultTextRaw(m_text);
  m_text.clear();
}

void CTextRunWriter::WriteHeader(int columns) {
  m_text += DT("  \t");
  CDbColumnInfo info;
  for (int i = 0; i < columns; ++i) {
    m_rs.GetDescribedColumn(i, info);
    m_text += info.m_strName;
    m_text += DT("\t");
  }
  m_text += DT("\r\n");
  m_text += kHyphenLine;
}

bool CTextRunWriter::WriteResultSet(bool fetchFirst) {
  const int columns = m_rs.GetColumnCount();
  if (!Canceled()) WriteHeader(columns);
  if (fetchFirst) m_rs.MoveNext();
  int rows = 0;
  if (!Canceled() && !m_rs.IsBeforeFirst()) {
    while (!Canceled() && !m_rs.IsAfterLast()) {
      ++rows;
      m_text += Format(DT("%d\t"), rows);
      for (int j = 0; j < columns; ++j) {
        m_rs.GetFieldText(j, m_value);
        m_text += m_value;
        m_text += DT("\t");
      }
      m_text += DT("\r\n");
      if (m_text.size() >= kTextChunk) FlushText();
      if (!Canceled()) m_rs.MoveNext();
    }
  }
  FlushText();
  if (!Canceled()) WriteCountLines(rows);
  return true;
}

// Writes into the results grid. The grid is made or reset on the UI thread,
// which also switches its drawing off before the worker writes a cell and on
// again (with sizing and a repaint) once the result set is written.
class CGridRunWriter : public CRunWriter {
 public:
  using CRunWriter::CRunWriter;

 private:
  bool WriteResultSet(bool fetchFirst) override;
  void OnNoColumns() override { m_frame.EmptyGrid(); }
  void WriteHeader(CGridCtrl& grid, int columns);
  bool WriteRows(CGridCtrl& grid, int columns, int& rows);
  bool Grow(CGridCtrl& grid, int32_t newRows, int32_t newColumns);

  int32_t m_capacity = kRowStep;  // carried over between result sets of the run
};

bool CGridRunWriter::Grow(CGridCtrl& grid, int32_t newRows, int32_t newColumns) {
  const bool ok = (newRows < 0 || grid.SetRowCount(newRows)) && (newColumns < 0 || grid.SetColumnCount(newColumns));
  m_frame.NoteGridSize(grid.GetRowCount(), grid.GetColumnCount());
  return ok;
}

void CGridRunWriter::WriteHeader(CGridCtrl& grid, int columns) {
  Grow(grid, -1, columns + 1);
  grid.SetColumnWidth(0, kRowNumberWidth);
  grid.SetCellText(0, 0, DT("  "));
  CDbColumnInfo info;
  for (int i = 0; i < columns; ++i) {
    m_rs.GetDescribedColumn(i, info);
    grid.SetCellText(0, i + 1, info.m_strName);
  }
}

bool CGridRunWriter::WriteRows(CGridCtrl& grid, int columns, int& rows) {
  while (!Canceled() && !m_rs.IsAfterLast()) {
    if (rows >= m_capacity - 1) {
      m_capacity += kRowStep;
      if (!Canceled()) Grow(grid, m_capacity, -1);
    }
    const int32_t row = ++rows;
    grid.SetCellText(row, 0, Format(DT("%d"), row));
    for (int j = 0; j < columns; ++j) {
      if (row >= grid.GetRowCount())
        Grow(grid, grid.GetRowCount() + kRowStep, -1);
      else if (j + 1 >= grid.GetColumnCount())
        Grow(grid, -1, grid.GetColumnCount() + kColumnStep);
      m_rs.GetFieldText(j, m_value);
      if (!grid.SetCellText(row, j + 1, m_value)) {
        AppendTrace(DT("Failed to add to grid cell.\r\n"));
        return false;
      }
    }
    if (!Canceled()) m_rs.MoveNext();
  }
  return true;
}

bool CGridRunWriter::WriteResultSet(bool fetchFirst) {
  const int columns = m_rs.GetColumnCount();
  CGridCtrl* grid = m_frame.PrepareGridFromWorker(columns);
  if (!grid) {
    AppendTrace(DT("Failed to create grid control."));
    return false;
  }
  if (!Canceled()) WriteHeader(*grid, columns);
  if (fetchFirst) m_rs.MoveNext();
  int rows = 0;
  bool written = true;
  const bool hasRows = !Canceled() && !m_rs.IsBeforeFirst();
  if (hasRows) {
    written = WriteRows(*grid, columns, rows);
    Grow(*grid, rows + 1, -1);
  }
  m_frame.FinishGridFromWorker(hasRows);
  if (!written) return false;
  if (!Canceled()) WriteCountLines(rows);
  return true;
}

}  // namespace

bool WriteRunResults(RunParams& run, bool textFormat) {
  if (textFormat) {
    CTextRunWriter writer(*run.frame);
    return writer.Run(run.sql);
  }
  CGridRunWriter writer(*run.frame);
  return writer.Run(run.sql);
}
