#pragma once
// The export writer: all rows or the selected cells of an IExportSource as
// delimited or tagged lines, streamed to an ExportFile one field at a time
// (no second copy of the table). Lines are separated by a line feed, with
// none after the last. Runs on the thread that owns the source.
//
// Two faults of the plain format are mended:
//  - delimited mode puts a cell holding the delimiter, a double quote, a
//    carriage return or a line feed, or ending so that the delimiter after
//    it would be found early (a multi-character delimiter such as " | "
//    after a cell ending in " |"), in double quotes with inner quotes
//    doubled, so that a CSV reader gets the cell back; other cells are
//    written as they are;
//  - tagged mode with markup tags (every tag given begins with "<") writes
//    &, < and > inside cell texts as &amp;, &lt; and &gt;.

#include <string>

#include "platform/text.h"
#include "result/export_file.h"
#include "result/export_source.h"

namespace dossel {

enum class ExportMode : int { Delimited = 0, Tagged = 1 };

struct ExportOptions {
  ExportMode mode = ExportMode::Delimited;
  TString delimiter = DT(",");
  TString rowBegin = DT("<TR>");
  TString rowEnd = DT("</TR>");
  TString colBegin = DT("<TD>");
  TString colEnd = DT("</TD>");
  bool header = true;          // all rows only: start at the title row 0
  bool selectionOnly = false;  // the selected cells instead of all rows
};

enum class ExportStatus {
  Written,      // every line went to the file's buffer
  NoSelection,  // a selection export without a valid selected range
  WriteFailed,  // the file reported an error; see ExportFile::Cause
};

// Reads the row and column counts once, so rows added meanwhile are not written.
ExportStatus WriteExport(ExportFile& file, const IExportSource& source, const ExportOptions& options);

// The pieces of the mends, exposed for their tests.
bool NeedsCsvQuotes(TStringView text, TStringView delimiter);
bool IsMarkupTags(const ExportOptions& options);

}  // namespace dossel
