#include "driverinfo/wx/data_types_page.h"

#include "driverinfo/section_values.h"
#include "platform/format.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

namespace {

TString NumberOrNa(int32_t value) { return value == -1 ? TString(DT("<n/a>")) : Format(DT("%d"), value); }

TString FlagText(int32_t value) {
  if (value == -1) return DT("<n/a>");
  return value ? DT("Yes") : DT("No");
}

constexpr CodeName kNullable[] = {{0, DT("No")}, {1, DT("Yes")}, {2, DT("Unknown")}};

TString OrNa(const TString& text) { return text.empty() ? TString(DT("<n/a>")) : text; }

// The attributes of the selected type, in page order.
struct RecordField {
  const char* caption;
  TString (*text)(const TypeRecord& record);
};

const RecordField kRecordFields[] = {
    {"SQL Type:",
     [](const TypeRecord& r) {
       const SqlTypeName* type = FindSqlType(r.sqlType);
       return type ? TString(type->name) : TString(DT("<new or driver-specific>"));
     }},
    {"Precision:", [](const TypeRecord& r) { return NumberOrNa(r.precision); }},
    {"Literal Prefix,Suffix:",
     [](const TypeRecord& r) { return OrNa(r.literalPrefix) + DT(",") + OrNa(r.literalSuffix); }},
    {"Create Parameters:",
     [](const TypeRecord& r) { return r.createParams.empty() ? TString(DT("<none>")) : r.createParams; }},
    {"Nullable:", [](const TypeRecord& r) { return CodeText(kNullable, r.nullable); }},
    {"Case Sensitive:", [](const TypeRecord& r) { return TString(r.caseSensitive ? DT("Yes") : DT("No")); }},
    {"Searchable:", [](const TypeRecord& r) { return SearchableText(r.searchable); }},
    {"Unsigned:", [](const TypeRecord& r) { return FlagText(r.unsignedAttribute); }},
    {"Money:", [](const TypeRecord& r) { return TString(r.money ? DT("Yes") : DT("No")); }},
    {"Auto Increment:", [](const TypeRecord& r) { return FlagText(r.autoIncrement); }},
    {"Minimum Scale:", [](const TypeRecord& r) { return NumberOrNa(r.minimumScale); }},
    {"Maximum Scale:", [](const TypeRecord& r) { return NumberOrNa(r.maximumScale); }},
};

}  // namespace

CDataTypes::CDataTypes(wxWindow* parent) : CInfoPage(parent, Page(PageId::kDataTypes)) {
  m_typeList = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 120));
  m_conversionList = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 80));
  m_typeList->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { ShowType(m_typeList->GetStringSelection()); });

  auto* grid = new wxFlexGridSizer(4, 2, 8);
  grid->AddGrowableCol(1);
  grid->AddGrowableCol(3);
  for (const RecordField& field : kRecordFields) m_fields.push_back(AddValue(grid, field.caption));

  auto* types = new wxBoxSizer(wxVERTICAL);
  types->Add(new wxStaticText(this, wxID_ANY, "Data Types:"), 0, wxBOTTOM, 2);
  types->Add(m_typeList, 1, wxEXPAND);
  auto* details = new wxBoxSizer(wxVERTICAL);
  details->Add(grid, 0, wxEXPAND | wxBOTTOM, 6);
  details->Add(new wxStaticText(this, wxID_ANY, "Convert() conversions:"), 0, wxBOTTOM, 2);
  details->Add(m_conversionList, 1, wxEXPAND);
  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->Add(types, 0, wxEXPAND | wxALL, 8);
  sizer->Add(details, 1, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizer(sizer);
  SetMinSize(PageSize());
}

void CDataTypes::ShowValues(const CInfoSnapshot& snapshot) {
  m_pSnapshot = &snapshot;
  m_records = snapshot.Types();
  m_typeList->Clear();
  for (const TypeRecord& record : m_records) m_typeList->Append(ToWx(record.typeName));
  if (m_typeList->IsEmpty()) {
    ShowType(wxString());
    return;
  }
  m_typeList->SetSelection(0);
  ShowType(m_typeList->GetString(0));
}

void CDataTypes::ShowType(const wxString& typeName) {
  if (typeName.empty()) {
    ClearFields(DT("<n/a>"));
    return;
  }
  const TString name = FromWx(typeName);
  for (const TypeRecord& record : m_records) {
    if (record.typeName == name) {
      ShowRecord(record);
      return;
    }
  }
  ClearFields(DT("<n/a>?"));
}

void CDataTypes::ClearFields(const TString& sqlType) {
  for (wxStaticText* field : m_fields) SetValue(field, TString());
  SetValue(m_fields.front(), sqlType);
  m_conversionList->Clear();
}

void CDataTypes::ShowRecord(const TypeRecord& record) {
  for (size_t i = 0; i < m_fields.size(); ++i) SetValue(m_fields[i], kRecordFields[i].text(record));
  m_conversionList->Clear();
  const std::vector<TString> names =
      m_pSnapshot ? ConversionNames(*m_pSnapshot, record.sqlType) : std::vector<TString>();
  if (names.empty()) m_conversionList->Append("<none>");
  for (const TString& name : names) m_conversionList->Append(ToWx(name));
}

}  // namespace dossel::driverinfo
