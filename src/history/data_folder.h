#pragma once
// Where the program keeps its own files besides the settings: the run
// history and the query pane's recovery files. Any thread.

#include <string>

namespace dossel::history {

// $XDG_DATA_HOME/dossel, or ~/.local/share/dossel when XDG_DATA_HOME is
// unset or not an absolute path.
std::string DataFolder();
// The run history: "history.db" in the data folder.
std::string HistoryFilePath();
// Makes `folder` (and its parents) when missing, readable by its owner
// alone; false when it is not there afterwards.
bool MakePrivateFolder(const std::string& folder);

}  // namespace dossel::history
