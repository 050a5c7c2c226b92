#pragma once
// The body of a run: executes the run's text on the controller's result set
// and writes every result set of the batch to the result pane, as text or
// into the results grid, with the row counts and times in the trace pane.
// Runs on the query worker.

struct RunParams;

// True when the run had errors: the statement could not be executed, a row
// could not be read, or the grid could not take the rows.
bool WriteRunResults(RunParams& run, bool textFormat);
