#pragma once
// Writes result sets into the results grid's store. The window makes or
// resets the grid and begins its fill on the UI thread (PrepareGrid); then
// two threads share the work so that reading and storing overlap: the
// connection thread reads rows from the driver into batches, the store
// writer (a thread of its own) turns each batch into cells and publishes the rows, which the window may
// show at once. The fill ends on the UI thread (FinishGrid), which sizes the
// columns and shows every row.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "session/run_writer.h"

namespace dossel {
class CGridStore;
}

namespace dossel::session {

// Rows read from the driver and not yet stored: `rows` rows of `columns`
// values each, row after row. Batches are reused, and so are their texts'
// buffers.
struct RowBatch {
  std::vector<TString> values;
  int32_t rows = 0;
};

// The store writer: the thread that stores one result set, and the batches in flight.
class CGridStoreWriter {
 public:
  CGridStoreWriter(CSession& session, CGridStore& store, int columns);
  ~CGridStoreWriter();
  CGridStoreWriter(const CGridStoreWriter&) = delete;
  CGridStoreWriter& operator=(const CGridStoreWriter&) = delete;

  // Reader side (connection thread).
  bool Start();
  // An empty batch to fill; null once the writer failed.
  RowBatch* TakeEmpty();
  // Hands a filled batch to the writer.
  void Hand(RowBatch* batch);
  // Waits until every batch handed over is stored; the number of rows
  // stored; `failed` when a cell could not be stored.
  int32_t Finish(bool& failed);
  bool Failed() const { return m_failed; }

 private:
  void Loop();
  bool StoreBatch(const RowBatch& batch);
  bool StoreRow(const TString* values);
  bool EnsureRow(int32_t row);

  CSession& m_session;
  CGridStore& m_store;
  const int m_columns;
  std::thread m_thread;
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<RowBatch> m_batches;
  std::deque<RowBatch*> m_empty;
  std::deque<RowBatch*> m_full;
  bool m_ending = false;
  bool m_writing = false;
  std::atomic<bool> m_failed{false};
  int32_t m_rowsStored = 0;  // store writer
  TString m_number;          // store writer: one row number
};

class CGridRunWriter : public CRunWriter {
 public:
  using CRunWriter::CRunWriter;

 private:
  bool WriteResultSet(bool fetchFirst) override;
  void OnNoColumns() override;
  bool WriteHeader(CGridStore& store, int columns);
  // Reads the rows and hands them to the writer; false when the writer failed.
  bool ReadRows(CGridStoreWriter& writer, int columns);
};

}  // namespace dossel::session
