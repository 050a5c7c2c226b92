#pragma once
// The writing of one run's results: execute, walk the result sets of the
// batch, write each one as text or into the results grid, and write the
// execute times, affected-row counts and the driver's errors to the trace.
// Connection thread only.

#include <chrono>
#include <vector>

#include "db/query_result_set.h"
#include "platform/text.h"

namespace dossel::session {

class CSession;
class ISessionView;

// Runs `statements` one after another and writes every result of each;
// true when the run had errors. A statement that fails ends the run.
bool WriteRunResults(CSession& session, const std::vector<TString>& statements, bool textFormat);
// The object text of a T-SQL run, into the trace; true when it had errors.
bool WriteObjectText(CSession& session, const TString& sql);

// What every run does whatever the display format.
class CRunWriter {
 public:
  explicit CRunWriter(CSession& session);
  virtual ~CRunWriter() = default;
  CRunWriter(const CRunWriter&) = delete;
  CRunWriter& operator=(const CRunWriter&) = delete;

  // Runs the statements of one run in order; true when the run had errors.
  bool RunAll(const std::vector<TString>& statements);
  // Runs one statement (or a batch the driver takes whole); true when it had
  // errors.
  bool Run(const TString& sql);

 protected:
  // The run stops as soon as a cancel is asked for, not only once the driver
  // has been told: values read after the driver's cancel would only be
  // errors. A statement past the query time-out is stopped the same way.
  bool Canceled() const;
  // Writes one result set with columns; false stops the whole run.
  virtual bool WriteResultSet(bool fetchFirst) = 0;
  // The first result had no columns.
  virtual void OnNoColumns() {}
  void WriteCountLines(int64_t rows);
  void ReportError();
  // Says which value of the current result could not be read (`row` counted
  // from 1); its error lines follow with the count lines.
  void ReportUnreadValue(int64_t row);

  CSession& m_session;
  ISessionView& m_view;
  db::CQueryResultSet& m_rs;

 private:
  void AffectedRowLines(bool withTime);
  // Walks the result sets after the first; false when one could not be
  // reached or written.
  bool WriteLaterResults();
};

// Text output: a header, a hyphen line and numbered rows per result set.
// Text goes to the pane in pieces, at least every tenth of a second while
// rows arrive, so a slow query shows its rows as they come.
class CTextRunWriter : public CRunWriter {
 public:
  using CRunWriter::CRunWriter;

 private:
  bool WriteResultSet(bool fetchFirst) override;
  void WriteHeader(int columns);
  void FlushText();
  void FlushWhenDue();

  TString m_text;                 // text waiting to be appended
  std::vector<TString> m_values;  // one row
  std::chrono::steady_clock::time_point m_lastFlush;
};

}  // namespace dossel::session
