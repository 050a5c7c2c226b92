#pragma once
// The description of each page of the driver-information sheet: its caption,
// its report heading and one table of its fields. A field says what the page
// calls it, how the page shows it, which SQLGetInfo answer it comes from and
// by which rule that answer becomes text, and how its report line reads. The
// pages lay themselves out from these tables, the snapshot reads the answers
// they name and the report writes its sections from them, so a field is
// described once. Constant data; any thread.

#include <cstdint>
#include <span>

#include "driverinfo/info_tables.h"
#include "platform/text.h"

namespace dossel::driverinfo {

// How a page shows a field, and how the report writes it. Every report line
// starts with the field's `report` and ends with its `end`.
enum class FieldKind : uint8_t {
  kValue,             // a value field; report: the text
  kEdit,              // a read-only edit, for a text that may be long; report: the text
  kLongText,          // a read-only multi-line edit; report: lines of 75 characters, or `none`
  kChecks,            // a display-only check box per bit of `boxes`; report: the names
                      // of the set `reportBits` joined by ",", or `none`
  kKeywords,          // a list box, one keyword a line; report: the keywords joined by ","
                      // in lines that end before column 76
  kReservedKeywords,  // a list box of the ODBC reserved keywords, filled when the page
                      // is made; not in the report
  kIntervals,         // a list control of the set interval bits' names, or "<n/a>" when
                      // the `gate` bit of SQL_TIMEDATE_FUNCTIONS is clear; report: "\n"
                      // and the names joined by "," (or `none`), or " <n/a>"
};

// How the answer of a value field becomes its text.
enum class Rule : uint8_t {
  kText,          // the text answer as it is
  kYesNo,         // YesNoText of the text answer
  kSupported,     // SupportedText of the text answer
  kTextWords,     // the words of the text answer in `answers`, else empty
  kCodeWords,     // the words of the numeric answer in `codes`, else empty
  kNoLimit,       // a numeric answer: 0 "No Limit", else the number
  kNumberOrNone,  // NumberOrNone of the numeric answer
};

// A text answer and its words.
struct TextWords {
  const TChar* answer;
  const TChar* words;
};

// One field. Numeric answers are 16-bit unless `is32`; bitmasks (kChecks,
// kIntervals) are 32-bit. A refused numeric answer leaves the text empty.
struct FieldSpec {
  FieldKind kind = FieldKind::kValue;
  const TChar* label = nullptr;  // the page's caption; null: the name of the report line
  uint16_t info = 0;
  Rule rule = Rule::kText;
  bool is32 = false;
  std::span<const CodeName> codes = {};
  std::span<const TextWords> answers = {};
  const TChar* report = nullptr;  // null: not in the report
  const TChar* end = DT("\n");
  const TChar* none = DT("<none>");
  std::span<const BitName> reportBits = {};  // in report order
  std::span<const BitName> boxes = {};       // the page's check boxes, in page order
  int boxColumns = 2;
  // A driver without transactions (SQL_TXN_CAPABLE answers SQL_TC_NONE) has
  // no such value: the text reads "<n/a>" and no bit is set.
  bool needsTransactions = false;
  uint32_t gate = 0;
};

// The pages in sheet order.
enum class PageId : uint8_t {
  kDriverInfo,
  kFunctions,
  kSupportedSql,
  kDataTypes,
  kIdentifiers,
  kLimits,
  kMisc1,
  kMisc2,
};

// One page. Functions and Data Types have no field table: their pages and
// report sections are lists of their own.
struct PageSpec {
  PageId id;
  const TChar* title;
  const TChar* heading = DT("");           // the report section's first lines
  std::span<const FieldSpec> fields = {};  // in report order
  const TChar* trailer = DT("");           // after the section's last field
  // The fields the page shows first, in its order (by index); the others
  // follow in report order.
  std::span<const uint8_t> layoutFirst = {};
  int valuePairs = 1;       // caption-and-value pairs a row
  int groupColumns = 2;     // check-box groups a row
  bool stackLists = false;  // lists one above the other, else side by side
};

// Every page, in sheet order.
std::span<const PageSpec> Pages();
const PageSpec& Page(PageId id);

// The caption the page shows for `field`: its label, or the name of its
// report line ("             Max Row Size - " gives "Max Row Size:").
TString FieldCaption(const FieldSpec& field);

}  // namespace dossel::driverinfo
