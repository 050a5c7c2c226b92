#include "driverinfo/report_writer.h"

#include "driverinfo/section_values.h"
#include "platform/format.h"

namespace dossel::driverinfo {

namespace report {

TString Padded(const TString& text, size_t width) {
  TString padded = text;
  if (padded.size() < width) padded.append(width - padded.size(), DT(' '));
  return padded;
}

void WriteBitList(TString& out, const TChar* prefix, std::span<const BitName> names, uint32_t mask, const TChar* none,
                  const TChar* end) {
  out += prefix;
  bool any = false;
  for (const BitName& name : names) {
    if (!(mask & name.bit)) continue;
    if (any) out += DT(",");
    out += name.name;
    any = true;
  }
  if (!any) out += none;
  out += end;
}

void WriteSupportLine(TString& out, const TChar* name, bool supported) {
  // Names end in one column: the longest, SQLProcedureColumns, gets 2 blanks.
  constexpr size_t kNameColumn = 21;
  const size_t length = TStringView(name).size();
  if (length < kNameColumn) out.append(kNameColumn - length, DT(' '));
  out += Format(supported ? DT("%s - Supported\n") : DT("%s - Not Supported\n"), name);
}

void WriteFunctionsSection(const CInfoSnapshot& snapshot, TString& out) {
  out += DT("ODBC API Functions\n------------------\n");
  for (const ApiFunction& function : ApiFunctions())
    WriteSupportLine(out, function.name, snapshot.IsFunctionSupported(function.code));
  out += DT("\n");
  for (const ScalarGroup& group : ScalarGroups()) {
    out += group.heading;
    const uint32_t mask = snapshot.Number(group.infoType);
    for (const BitName& function : group.functions) WriteSupportLine(out, function.name, (mask & function.bit) != 0);
    out += DT("\n");
  }
}

}  // namespace report

namespace {

// The keywords joined by ",", each line ending before column 76; the last
// line without its line break.
void WriteWrapped(TString& out, const std::vector<TString>& keywords) {
  constexpr size_t kLineLimit = 76;
  TString line;
  for (const TString& keyword : keywords) {
    if (line.size() + keyword.size() >= kLineLimit) {
      out += line + DT("\n");
      line = keyword;
    } else {
      if (!line.empty()) line += DT(",");
      line += keyword;
    }
  }
  out += line;
}

// `text` in lines of 75 characters, each with its line break, or `none`.
void WriteLines(TString& out, TStringView text, const TChar* none) {
  if (text.empty()) {
    out += none;
    return;
  }
  constexpr size_t kCharsPerLine = 75;
  for (; text.size() > kCharsPerLine; text.remove_prefix(kCharsPerLine))
    out += TString(text.substr(0, kCharsPerLine)) + DT("\n");
  out += TString(text) + DT("\n");
}

void WriteField(const FieldSpec& field, const CInfoSnapshot& snapshot, TString& out) {
  const FieldValue value = MakeValue(field, snapshot);
  switch (field.kind) {
    case FieldKind::kChecks:
      report::WriteBitList(out, field.report, field.reportBits, value.mask, field.none, field.end);
      return;
    case FieldKind::kIntervals:
      if (!IntervalsApply(field, snapshot)) {
        out += TString(field.report) + DT(" <n/a>") + field.end;
        return;
      }
      report::WriteBitList(out, (TString(field.report) + DT("\n")).c_str(), IntervalNames(), value.mask, field.none,
                           field.end);
      return;
    case FieldKind::kKeywords:
      out += field.report;
      WriteWrapped(out, value.items);
      break;
    case FieldKind::kLongText:
      out += field.report;
      WriteLines(out, value.text, field.none);
      break;
    default:
      out += field.report + value.text;
      break;
  }
  out += field.end;
}

}  // namespace

TString BuildReport(const CInfoSnapshot& snapshot) {
  TString out = DT("Cursor Library is Not Loaded\n\n");
  for (const PageSpec& page : Pages()) WriteSection(page.id, snapshot, out);
  return out;
}

void WriteSection(PageId page, const CInfoSnapshot& snapshot, TString& out) {
  if (!snapshot.IsConnected()) return;
  if (page == PageId::kFunctions) return report::WriteFunctionsSection(snapshot, out);
  if (page == PageId::kDataTypes) return report::WriteDataTypesSection(snapshot, out);
  const PageSpec& spec = Page(page);
  out += spec.heading;
  for (const FieldSpec& field : spec.fields)
    if (field.report) WriteField(field, snapshot, out);
  out += spec.trailer;
}

}  // namespace dossel::driverinfo
