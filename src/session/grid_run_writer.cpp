#include "session/grid_run_writer.h"

#include <new>
#include <system_error>

#include "grid/grid_store.h"
#include "session/session.h"

namespace dossel::session {

namespace {

// Batches in flight between the reader and the writer: enough that neither
// waits for the other, few enough that memory stays flat.
constexpr int kBatchCount = 4;
// The first batch is small, so the first screen of rows shows at once; the
// later ones large, so handing over costs nothing worth measuring.
constexpr int32_t kFirstBatchRows = 64;
constexpr int32_t kBatchRows = 1024;
// The grid grows by this many rows and columns at a time.
constexpr int32_t kRowStep = 80;
constexpr int kRowNumberWidth = 30;

void FormatRowNumber(int32_t number, TString& text) {
  TChar digits[12];
  int length = 0;
  do {
    digits[length++] = static_cast<TChar>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  text.clear();
  while (length > 0) text += digits[--length];
}

}  // namespace

CGridStoreWriter::CGridStoreWriter(CSession& session, CGridStore& store, int columns)
    : m_session(session), m_store(store), m_columns(columns), m_batches(kBatchCount) {
  for (RowBatch& batch : m_batches) {
    batch.values.resize(static_cast<size_t>(columns) * kBatchRows);
    m_empty.push_back(&batch);
  }
}

// A writer left running (the reader met an exception) is stopped before the
// batches it reads go.
CGridStoreWriter::~CGridStoreWriter() {
  bool failed = false;
  if (m_thread.joinable()) Finish(failed);
}

bool CGridStoreWriter::Start() {
  try {
    m_thread = std::thread([this] { Loop(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

RowBatch* CGridStoreWriter::TakeEmpty() {
  std::unique_lock<std::mutex> guard(m_lock);
  m_changed.wait(guard, [this] { return !m_empty.empty() || m_failed; });
  if (m_failed) return nullptr;
  RowBatch* batch = m_empty.front();
  m_empty.pop_front();
  batch->rows = 0;
  return batch;
}

void CGridStoreWriter::Hand(RowBatch* batch) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_full.push_back(batch);
  }
  m_changed.notify_all();
}

int32_t CGridStoreWriter::Finish(bool& failed) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_ending = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
  failed = m_failed;
  return m_rowsStored;
}

void CGridStoreWriter::Loop() {
  std::unique_lock<std::mutex> guard(m_lock);
  for (;;) {
    m_changed.wait(guard, [this] { return m_ending || !m_full.empty(); });
    if (m_full.empty()) return;
    RowBatch* batch = m_full.front();
    m_full.pop_front();
    guard.unlock();
    const bool stored = !m_failed && StoreBatch(*batch);
    guard.lock();
    if (!stored) m_failed = true;
    m_empty.push_back(batch);
    m_changed.notify_all();
  }
}

bool CGridStoreWriter::StoreBatch(const RowBatch& batch) {
  for (int32_t i = 0; i < batch.rows; ++i)
    if (!StoreRow(&batch.values[static_cast<size_t>(i) * m_columns])) return false;
  m_store.PublishRows(m_rowsStored + 1);
  m_session.NoteGridSize(m_store.GetRowCount(), m_store.GetColumnCount());
  // The first batch is a screen of rows (or the whole of a smaller result).
  if (batch.rows > 0) m_session.NoteFirstRowsStored();
  return true;
}

// Grows the row count ahead of the row about to be written.
bool CGridStoreWriter::EnsureRow(int32_t row) {
  if (row < m_store.GetRowCount()) return true;
  return m_store.SetRowCount(m_store.GetRowCount() + kRowStep);
}

bool CGridStoreWriter::StoreRow(const TString* values) {
  const int32_t row = m_rowsStored + 1;
  if (!EnsureRow(row)) return false;
  FormatRowNumber(row, m_number);
  if (!m_store.SetCellText(row, 0, m_number) || !m_store.SetRowTexts(row, 1, values, m_columns)) return false;
  m_rowsStored = row;
  return true;
}

void CGridRunWriter::OnNoColumns() { m_view.EmptyGrid(); }

bool CGridRunWriter::WriteHeader(CGridStore& store, int columns) {
  if (!store.SetColumnCount(columns + 1)) return false;
  store.SetColumnWidth(0, kRowNumberWidth);
  bool stored = store.SetCellText(0, 0, DT("  "));
  db::CDbColumnInfo info;
  for (int i = 0; i < columns && stored; ++i) {
    m_rs.GetDescribedColumn(i, info);
    stored = store.SetCellText(0, i + 1, info.m_strName);
  }
  store.PublishRows(1);
  m_session.NoteGridSize(store.GetRowCount(), store.GetColumnCount());
  return stored;
}

bool CGridRunWriter::ReadRows(CGridStoreWriter& writer, int columns) {
  int32_t batchRows = kFirstBatchRows;
  RowBatch* batch = nullptr;
  int64_t rows = 0;
  while (!Canceled() && !m_rs.IsAfterLast()) {
    if (!batch && !(batch = writer.TakeEmpty())) return false;
    TString* row = &batch->values[static_cast<size_t>(batch->rows) * columns];
    const bool read = m_rs.GetRowTexts(row, columns);
    // A cancel asked for before the row was read whole may have cut it (the
    // flag is set before the driver is told): such a row is not kept.
    if (Canceled()) break;
    // Nor is a row with a value the driver could not give; the rows before stay.
    if (!read) {
      ReportUnreadValue(rows + 1);
      break;
    }
    ++rows;
    if (++batch->rows == batchRows) {
      writer.Hand(batch);
      batch = nullptr;
      batchRows = kBatchRows;
    }
    if (!Canceled()) m_rs.MoveNext();
  }
  if (batch) writer.Hand(batch);
  return !writer.Failed();
}

bool CGridRunWriter::WriteResultSet(bool fetchFirst) {
  const int columns = m_rs.GetColumnCount();
  CGridStore* store = m_view.PrepareGrid();
  if (!store) {
    AppendTraceF(m_view, DT("Failed to create grid control.\r\n"));
    return false;
  }
  m_session.NoteRunHasGrid();
  bool written = Canceled() || WriteHeader(*store, columns);
  if (fetchFirst) m_rs.MoveNext();
  int32_t rows = 0;
  const bool hasRows = written && !Canceled() && !m_rs.IsBeforeFirst();
  bool readFailed = false;
  if (hasRows) {
    CGridStoreWriter writer(m_session, *store, columns);
    bool failed = !writer.Start();
    if (!failed) {
      // A value too large for the memory left ends the reading; the rows
      // read before it stay, and the window still gets its fill ended.
      try {
        ReadRows(writer, columns);
      } catch (const std::bad_alloc&) {
        readFailed = true;
      }
      rows = writer.Finish(failed);
    }
    written = !failed;
    store->SetRowCount(rows + 1);
    store->PublishRows(rows + 1);
    m_session.NoteGridSize(store->GetRowCount(), store->GetColumnCount());
  }
  m_view.FinishGrid(hasRows);
  if (readFailed) {
    AppendTraceF(m_view, DT("Out of memory.\r\n"));
    return false;
  }
  if (!written) {
    AppendTraceF(m_view, DT("Failed to add to grid cell.\r\n"));
    return false;
  }
  if (!Canceled()) WriteCountLines(rows);
  return true;
}

}  // namespace dossel::session
