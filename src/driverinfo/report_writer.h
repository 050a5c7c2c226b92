#pragma once
// The driver-information report: the plain text that "Save As..." writes,
// section by section in page order: each page's fields as its description
// says (page_tables.h), the Functions and Data Types sections from the
// snapshot's function table and type rows. A snapshot of a closed connection
// gives only the cursor-library line. Pure formatting, no I/O; any thread.

#include <span>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/page_tables.h"
#include "platform/text.h"

namespace dossel::driverinfo {

// "Cursor Library is Not Loaded\n\n" and every section.
TString BuildReport(const CInfoSnapshot& snapshot);

// Appends the section of `page`; nothing for a closed connection.
void WriteSection(PageId page, const CInfoSnapshot& snapshot, TString& out);

// Helpers shared by the section writers.
namespace report {
// `text` followed by blanks up to `width` characters (never cut).
TString Padded(const TString& text, size_t width);
// prefix, the names of the set bits joined by ",", or `none`, then `end`.
void WriteBitList(TString& out, const TChar* prefix, std::span<const BitName> names, uint32_t mask, const TChar* none,
                  const TChar* end);
// One right-aligned "name - Supported" / "name - Not Supported" line.
void WriteSupportLine(TString& out, const TChar* name, bool supported);
// The sections that are lists of their own.
void WriteFunctionsSection(const CInfoSnapshot& snapshot, TString& out);
void WriteDataTypesSection(const CInfoSnapshot& snapshot, TString& out);
}  // namespace report

}  // namespace dossel::driverinfo
