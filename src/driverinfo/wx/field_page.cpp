#include "driverinfo/wx/field_page.h"

#include <wx/listbox.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "driverinfo/wx/list_ctrl_ex.h"
#include "platform/wx/wx_text.h"

namespace dossel::driverinfo {

namespace {

// Where a field's control goes on its page.
enum class Place { kGrid, kGroups, kLists };

Place PlaceOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::kChecks:
      return Place::kGroups;
    case FieldKind::kKeywords:
    case FieldKind::kReservedKeywords:
    case FieldKind::kIntervals:
      return Place::kLists;
    default:
      return Place::kGrid;
  }
}

}  // namespace

CFieldPage::CFieldPage(wxWindow* parent, const PageSpec& spec)
    : CInfoPage(parent, spec), m_controls(spec.fields.size()) {
  auto* grid = new wxFlexGridSizer(2 * spec.valuePairs, 2, 8);
  for (int pair = 0; pair < spec.valuePairs; ++pair) grid->AddGrowableCol(2 * pair + 1);
  auto* groups = new wxFlexGridSizer(spec.groupColumns, 4, 8);
  std::vector<size_t> lists;
  // The order the controls are made in is their tab order: the grid's
  // first, then the groups', then the lists'.
  const std::vector<size_t> order = LayoutOrder();
  for (const Place place : {Place::kGrid, Place::kGroups, Place::kLists}) {
    for (const size_t index : order) {
      if (PlaceOf(spec.fields[index].kind) != place) continue;
      switch (place) {
        case Place::kGrid:
          AddToGrid(index, grid);
          break;
        case Place::kGroups:
          groups->Add(MakeCheckGroup(index), 0, wxEXPAND);
          break;
        case Place::kLists:
          MakeList(index);
          lists.push_back(index);
          break;
      }
    }
  }
  Arrange(grid, groups, lists);
  for (size_t index = 0; index < spec.fields.size(); ++index)
    if (spec.fields[index].kind == FieldKind::kReservedKeywords)
      ShowField(index, MakeValue(spec.fields[index], CInfoSnapshot()));
  SetMinSize(PageSize());
}

std::vector<size_t> CFieldPage::LayoutOrder() const {
  std::vector<size_t> order(Spec().layoutFirst.begin(), Spec().layoutFirst.end());
  for (size_t index = 0; index < Spec().fields.size(); ++index)
    if (std::find(order.begin(), order.end(), index) == order.end()) order.push_back(index);
  return order;
}

void CFieldPage::AddToGrid(size_t index, wxSizer* grid) {
  const FieldSpec& field = Spec().fields[index];
  const wxString caption = ToWx(FieldCaption(field));
  if (field.kind == FieldKind::kValue) {
    m_controls[index].window = AddValue(grid, caption);
    return;
  }
  const bool multiLine = field.kind == FieldKind::kLongText;
  grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, multiLine ? wxRIGHT : wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  auto* edit = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, multiLine ? wxSize(-1, 60) : wxDefaultSize,
                              multiLine ? wxTE_READONLY | wxTE_MULTILINE : wxTE_READONLY);
  edit->SetName(caption);
  grid->Add(edit, 1, multiLine ? wxEXPAND : wxEXPAND | wxBOTTOM, 2);
  m_controls[index].window = edit;
}

wxSizer* CFieldPage::MakeCheckGroup(size_t index) {
  const FieldSpec& field = Spec().fields[index];
  FieldControl& group = m_controls[index];
  auto* box = new wxStaticBoxSizer(wxVERTICAL, this, ToWx(FieldCaption(field)));
  auto* grid = new wxGridSizer(field.boxColumns, 0, 8);
  for (const BitName& bit : field.boxes) {
    auto* check = new wxCheckBox(box->GetStaticBox(), wxID_ANY, ToWx(bit.name));
    // The boxes only show the driver's answer: a click puts the box back.
    check->Bind(wxEVT_CHECKBOX,
                [check, bit = bit.bit, &group](wxCommandEvent&) { check->SetValue((group.mask & bit) != 0); });
    group.boxes.emplace_back(check, bit.bit);
    grid->Add(check);
  }
  box->Add(grid, 0, wxALL, 2);
  return box;
}

void CFieldPage::MakeList(size_t index) {
  const FieldSpec& field = Spec().fields[index];
  wxWindow* list = nullptr;
  if (field.kind == FieldKind::kIntervals) {
    auto* intervals = new CListCtrlEx(this, wxID_ANY);
    intervals->InsertColumn(0, "Interval", wxLIST_FORMAT_LEFT, 130);
    list = intervals;
  } else {
    // Created at a usable size: GTK allocates the scroll bar before the first layout.
    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(130, 120));
  }
  list->SetName(ToWx(FieldCaption(field)));
  m_controls[index].window = list;
}

void CFieldPage::Arrange(wxSizer* grid, wxSizer* groups, const std::vector<size_t>& lists) {
  const bool stack = Spec().stackLists;
  // Lists stand beside the fields, check-box groups below them.
  auto* sizer = new wxBoxSizer(lists.empty() ? wxVERTICAL : wxHORIZONTAL);
  sizer->Add(grid, lists.empty() ? 0 : 1, lists.empty() ? wxEXPAND | wxALL : wxALL, 8);
  if (groups->IsEmpty())
    delete groups;
  else
    sizer->Add(groups, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  wxBoxSizer* column = nullptr;
  for (const size_t index : lists) {
    if (!column || !stack) {
      column = new wxBoxSizer(wxVERTICAL);
      sizer->Add(column, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
    }
    column->Add(new wxStaticText(this, wxID_ANY, ToWx(FieldCaption(Spec().fields[index]))), 0, wxBOTTOM, 2);
    column->Add(m_controls[index].window, 1, stack ? wxEXPAND | wxBOTTOM : wxEXPAND, 4);
  }
  SetSizer(sizer);
}

void CFieldPage::ShowValues(const CInfoSnapshot& snapshot) {
  for (size_t index = 0; index < Spec().fields.size(); ++index)
    if (Spec().fields[index].kind != FieldKind::kReservedKeywords)
      ShowField(index, MakeValue(Spec().fields[index], snapshot));
}

void CFieldPage::ShowField(size_t index, const FieldValue& value) {
  FieldControl& control = m_controls[index];
  switch (Spec().fields[index].kind) {
    case FieldKind::kValue:
      SetValue(static_cast<wxStaticText*>(control.window), value.text);
      break;
    case FieldKind::kEdit:
    case FieldKind::kLongText:
      static_cast<wxTextCtrl*>(control.window)->ChangeValue(ToWx(value.text));
      break;
    case FieldKind::kChecks:
      control.mask = value.mask;
      for (auto& [box, bit] : control.boxes) box->SetValue((value.mask & bit) != 0);
      break;
    case FieldKind::kKeywords:
    case FieldKind::kReservedKeywords: {
      auto* list = static_cast<wxListBox*>(control.window);
      list->Clear();
      for (const TString& item : value.items) list->Append(ToWx(item));
      break;
    }
    case FieldKind::kIntervals: {
      auto* list = static_cast<CListCtrlEx*>(control.window);
      list->DeleteAllItems();
      for (const TString& item : value.items) list->InsertItem(list->GetItemCount(), ToWx(item));
      break;
    }
  }
}

}  // namespace dossel::driverinfo
