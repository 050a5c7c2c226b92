// The report's Data Types section: four tables over the driver's type rows.

#include "driverinfo/report_writer.h"
#include "driverinfo/section_values.h"
#include "platform/format.h"

namespace dossel::driverinfo {
namespace {

using report::Padded;

constexpr size_t kNameWidth = 20;

TString SqlTypeColumn(int16_t sqlType) {
  const SqlTypeName* type = FindSqlType(sqlType);
  return Padded(type ? TString(type->name) : TString(DT("<unknown type>")), 18);
}

void WriteScaleTable(const std::vector<TypeRecord>& types, TString& out) {
  out += DT("Native type         SQL Type          Precision   Min Scale  Max Scale\n");
  out += DT("-----------         --------          ---------   ---------  ---------\n");
  for (const TypeRecord& t : types) {
    out += Padded(t.typeName, kNameWidth) + SqlTypeColumn(t.sqlType);
    out += t.precision == -1 ? TString(DT("<n/a>       ")) : Format(DT("%-11d "), t.precision);
    out += t.minimumScale == -1 ? TString(DT("<n/a>      ")) : Format(DT("%-5d      "), t.minimumScale);
    out += t.maximumScale == -1 ? TString(DT("<n/a>      \n")) : Format(DT("%-5d\n"), t.maximumScale);
  }
  out += DT("\n");
}

const TChar* YesOrNo(int32_t value, const TChar* yes, const TChar* no) { return value ? yes : no; }

void WriteAttributeTable(const std::vector<TypeRecord>& types, TString& out) {
  out += DT("Native type         Nullable  Unsigned  Auto Inc  Money  Case Sensitive\n");
  out += DT("-----------         --------  --------  --------  -----  --------------\n");
  for (const TypeRecord& t : types) {
    out += Padded(t.typeName, kNameWidth);
    out += t.nullable == 0 ? DT("No        ") : t.nullable == 1 ? DT("Yes       ") : DT("Unknown   ");
    for (const int32_t flag : {t.unsignedAttribute, t.autoIncrement})
      out += flag == -1 ? DT("<n/a>     ") : YesOrNo(flag, DT("Yes       "), DT("No        "));
    out += YesOrNo(t.money, DT("Yes    "), DT("No     "));
    out += YesOrNo(t.caseSensitive, DT("Yes\n"), DT("No\n"));
  }
  out += DT("\n");
}

void WriteLiteralTable(const std::vector<TypeRecord>& types, TString& out) {
  out += DT("Native type         Lit. Prefix,Suffix  Create Params    Searchable\n");
  out += DT("-----------         ------------------  -------------    ----------\n");
  const auto orNa = [](const TString& text) { return text.empty() ? TString(DT("<n/a>")) : text; };
  for (const TypeRecord& t : types) {
    out += Padded(t.typeName, kNameWidth);
    out += Padded(orNa(t.literalPrefix) + DT(",") + orNa(t.literalSuffix), 20);
    out += t.createParams.empty() ? TString(DT("<none>           ")) : Padded(t.createParams, 17);
    out += SearchableText(t.searchable) + DT("\n");
  }
  out += DT("\n");
}

void WriteConversionTable(const CInfoSnapshot& snapshot, TString& out) {
  out += DT("Native type         Convert() Conversions\n");
  out += DT("-----------         ---------------------\n");
  constexpr size_t kLineLimit = 76;
  for (const TypeRecord& t : snapshot.Types()) {
    TString line = Padded(t.typeName, kNameWidth);
    bool first = true;
    for (const TString& name : ConversionNames(snapshot, t.sqlType)) {
      if (line.size() + name.size() >= kLineLimit) {
        out += line + DT("\n");
        line = TString(kNameWidth, DT(' ')) + name;
      } else {
        if (!first) line += DT(",");
        line += name;
      }
      first = false;
    }
    if (first) line += DT("<none>");
    out += line + DT("\n\n");
  }
  out += DT("\n");
}

}  // namespace

void report::WriteDataTypesSection(const CInfoSnapshot& snapshot, TString& out) {
  out += DT("Data Types\n----------\n\n");
  WriteScaleTable(snapshot.Types(), out);
  WriteAttributeTable(snapshot.Types(), out);
  WriteLiteralTable(snapshot.Types(), out);
  WriteConversionTable(snapshot, out);
  out += DT("\n");
}

}  // namespace dossel::driverinfo
