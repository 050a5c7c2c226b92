#include "driverinfo/section_values.h"

#include "db/odbc_constants.h"

namespace dossel::driverinfo {
namespace {

constexpr CodeName kSearchable[] = {
    {0, DT("No")}, {1, DT("Only with LIKE")}, {2, DT("with all except LIKE")}, {3, DT("Yes")}};

// The text of a value field by its rule; a refused number leaves it empty.
TString RuleText(const FieldSpec& field, const CInfoSnapshot& s) {
  switch (field.rule) {
    case Rule::kText:
      return s.Text(field.info);
    case Rule::kYesNo:
      return YesNoText(s.Text(field.info));
    case Rule::kSupported:
      return SupportedText(s.Text(field.info));
    case Rule::kTextWords:
      for (const TextWords& entry : field.answers)
        if (s.Text(field.info) == entry.answer) return entry.words;
      return {};
    default:
      break;
  }
  if (!s.HasNumber(field.info)) return {};
  const uint32_t number = s.Number(field.info);
  switch (field.rule) {
    case Rule::kCodeWords:
      return CodeText(field.codes, static_cast<int32_t>(number));
    case Rule::kNoLimit:
      return number == 0 ? TString(DT("No Limit")) : NumberOrNone(number);
    default:
      return NumberOrNone(number);
  }
}

std::vector<TString> SetBitNames(std::span<const BitName> names, uint32_t mask) {
  std::vector<TString> set;
  for (const BitName& name : names)
    if (mask & name.bit) set.emplace_back(name.name);
  return set;
}

}  // namespace

bool LacksTransactions(const CInfoSnapshot& s) {
  return s.HasNumber(SQL_TXN_CAPABLE) && s.Number(SQL_TXN_CAPABLE) == SQL_TC_NONE;
}

bool IntervalsApply(const FieldSpec& field, const CInfoSnapshot& s) {
  return (s.Number(SQL_TIMEDATE_FUNCTIONS) & field.gate) != 0;
}

FieldValue MakeValue(const FieldSpec& field, const CInfoSnapshot& s) {
  FieldValue value;
  // The reserved keywords are the same for every driver.
  if (field.kind == FieldKind::kReservedKeywords) value.items = SplitKeywords(OdbcReservedKeywords());
  if (!s.IsConnected() || field.kind == FieldKind::kReservedKeywords) return value;
  if (field.needsTransactions && LacksTransactions(s)) {
    if (field.kind != FieldKind::kChecks) value.text = DT("<n/a>");
    return value;
  }
  switch (field.kind) {
    case FieldKind::kChecks:
      value.mask = s.Number(field.info);
      break;
    case FieldKind::kKeywords:
      value.items = SplitKeywords(s.Text(field.info));
      break;
    case FieldKind::kIntervals:
      if (!IntervalsApply(field, s)) {
        value.items = {DT("<n/a>")};
        break;
      }
      value.mask = s.Number(field.info);
      value.items = SetBitNames(IntervalNames(), value.mask);
      break;
    default:
      value.text = RuleText(field, s);
      break;
  }
  return value;
}

Answer AnswerOf(const FieldSpec& field) {
  switch (field.kind) {
    case FieldKind::kReservedKeywords:
      return Answer::kNone;
    case FieldKind::kChecks:
    case FieldKind::kIntervals:
      return Answer::kNumber32;
    case FieldKind::kKeywords:
      return Answer::kText;
    default:
      break;
  }
  switch (field.rule) {
    case Rule::kCodeWords:
    case Rule::kNoLimit:
    case Rule::kNumberOrNone:
      return field.is32 ? Answer::kNumber32 : Answer::kNumber16;
    default:
      return Answer::kText;
  }
}

TString SearchableText(int32_t searchable) { return CodeText(kSearchable, searchable); }

std::vector<TString> ConversionNames(const CInfoSnapshot& s, int32_t sqlType) {
  std::vector<TString> names;
  const SqlTypeName* type = FindSqlType(sqlType);
  if (!type) return names;
  const uint32_t mask = s.Number(type->convertInfo);
  for (const SqlTypeName& target : SqlTypes())
    if (mask & target.convertBit) names.emplace_back(target.name);
  return names;
}

}  // namespace dossel::driverinfo
