#pragma once
// The body of a run: executes the run's text on the controller's result set
// and writes every result set of the batch to the result pane, with the row
// counts and times in the trace pane. Runs on the query worker.

struct RunParams;

// True when the run had errors: the statement could not be executed or a row
// could not be read.
bool WriteRunResults(RunParams& run);
