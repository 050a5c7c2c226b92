#include "driverinfo/wx/data_types_page.h"

#include "driverinfo/report_writer.h"
#include "platform/format.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

namespace {

TString NumberOrNa(int32_t value) { return value == -1 ? TString(DT("<n/a>")) : Format(DT("%d"), value); }

TString FlagText(int32_t value) {
  if (value == -1) return DT("<n/a>");
  return value ? DT("Yes") : DT("No");
}

}  // namespace

CDataTypes::CDataTypes(wxWindow* parent) : CInfoPage(parent, "Data Types") {
  m_typeList = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 120));
  m_conversionList = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 80));
  m_typeList->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { ShowType(m_typeList->GetStringSelection()); });

  auto* grid = new wxFlexGridSizer(4, 2, 8);
  grid->AddGrowableCol(1);
  grid->AddGrowableCol(3);
  m_sqlType = AddValue(grid, "SQL Type:");
  m_precision = AddValue(grid, "Precision:");
  m_literal = AddValue(grid, "Literal Prefix,Suffix:");
  m_createParams = AddValue(grid, "Create Parameters:");
  m_nullable = AddValue(grid, "Nullable:");
  m_caseSensitive = AddValue(grid, "Case Sensitive:");
  m_searchable = AddValue(grid, "Searchable:");
  m_unsigned = AddValue(grid, "Unsigned:");
  m_money = AddValue(grid, "Money:");
  m_autoIncrement = AddValue(grid, "Auto Increment:");
  m_minimumScale = AddValue(grid, "Minimum Scale:");
  m_maximumScale = AddValue(grid, "Maximum Scale:");

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

void CDataTypes::WriteSection(const CInfoSnapshot& snapshot, TString& out) const {
  WriteDataTypesSection(snapshot, out);
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
  SetValue(m_sqlType, sqlType);
  for (wxStaticText* field : {m_precision, m_literal, m_createParams, m_nullable, m_caseSensitive, m_searchable,
                              m_unsigned, m_money, m_autoIncrement, m_minimumScale, m_maximumScale})
    SetValue(field, TString());
  m_conversionList->Clear();
}

void CDataTypes::ShowRecord(const TypeRecord& r) {
  const SqlTypeName* type = FindSqlType(r.sqlType);
  SetValue(m_sqlType, type ? TString(type->name) : TString(DT("<new or driver-specific>")));
  SetValue(m_precision, NumberOrNa(r.precision));
  const auto orNa = [](const TString& text) { return text.empty() ? TString(DT("<n/a>")) : text; };
  SetValue(m_literal, orNa(r.literalPrefix) + DT(",") + orNa(r.literalSuffix));
  SetValue(m_createParams, r.createParams.empty() ? TString(DT("<none>")) : r.createParams);
  SetValue(m_nullable, r.nullable == 0   ? DT("No")
                       : r.nullable == 1 ? DT("Yes")
                       : r.nullable == 2 ? DT("Unknown")
                                         : DT(""));
  SetValue(m_caseSensitive, r.caseSensitive ? DT("Yes") : DT("No"));
  SetValue(m_searchable, SearchableText(r.searchable));
  SetValue(m_unsigned, FlagText(r.unsignedAttribute));
  SetValue(m_money, r.money ? DT("Yes") : DT("No"));
  SetValue(m_autoIncrement, FlagText(r.autoIncrement));
  SetValue(m_minimumScale, NumberOrNa(r.minimumScale));
  SetValue(m_maximumScale, NumberOrNa(r.maximumScale));
  m_conversionList->Clear();
  const std::vector<TString> names = m_pSnapshot ? ConversionNames(*m_pSnapshot, r.sqlType) : std::vector<TString>();
  if (names.empty()) m_conversionList->Append("<none>");
  for (const TString& name : names) m_conversionList->Append(ToWx(name));
}

}  // namespace dossel::driverinfo
