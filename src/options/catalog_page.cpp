#include "options/catalog_page.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <vector>

#include "platform/wx/wx_text.h"

namespace dossel {

namespace {

// Catalogue texts break lines with "\r\n", as the query pane inserts them;
// the edit breaks them with "\n".
wxString ToEditText(const TString& text) {
  wxString shown = ToWx(text);
  shown.Replace("\r\n", "\n");
  return shown;
}

TString FromEditText(const wxString& text) {
  wxString stored = text;
  stored.Replace("\r\n", "\n");
  stored.Replace("\n", "\r\n");
  return FromWx(stored);
}

// Case does not tell catalogue names apart: the settings' keys ignore it.
bool IsListed(const wxComboBox* list, const TString& text) {
  return list->FindString(ToWx(text), false) != wxNOT_FOUND;
}

// The chosen item of a drop-down list, or its typed text when none is chosen.
TString ChosenText(const wxComboBox* list) {
  const int selection = list->GetSelection();
  return FromWx(selection != wxNOT_FOUND ? list->GetString(static_cast<unsigned>(selection)) : list->GetValue());
}

}  // namespace

CCatalogPage::CCatalogPage(wxWindow* parent, CatalogKind kind, const CatalogPageIds& ids, const wxString& textLabel)
    : wxPanel(parent, wxID_ANY), m_kind(kind) {
  CreateControls(ids, textLabel);
  TransferDataToWindow();
  FillMenus();
}

void CCatalogPage::CreateControls(const CatalogPageIds& ids, const wxString& textLabel) {
  const int gap = ConvertDialogToPixels(wxSize(7, 0)).x;
  const auto dropDown = [this](int id) {
    return new wxComboBox(this, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                          wxCB_DROPDOWN | wxCB_SORT);
  };
  auto* lists = new wxFlexGridSizer(2, wxSize(gap, gap / 2));
  lists->AddGrowableCol(1);
  lists->Add(new wxStaticText(this, wxID_ANY, "Menu:"), wxSizerFlags().CenterVertical());
  m_menuList = dropDown(ids.menu);
  lists->Add(m_menuList, wxSizerFlags().Expand());
  lists->Add(new wxStaticText(this, wxID_ANY, "Name:"), wxSizerFlags().CenterVertical());
  m_nameList = dropDown(ids.name);
  lists->Add(m_nameList, wxSizerFlags().Expand());

  auto* label = new wxStaticText(this, wxID_ANY, textLabel);
  // Multi-line: Enter breaks the line instead of pressing the sheet's OK.
  m_textEdit = new wxTextCtrl(this, ids.text, wxEmptyString, wxDefaultPosition, ConvertDialogToPixels(wxSize(200, 60)),
                              wxTE_MULTILINE | wxVSCROLL);
  auto* add = new wxButton(this, ids.add, "&Add");
  auto* remove = new wxButton(this, ids.remove, "&Remove");
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(add, wxSizerFlags().Border(wxRIGHT, gap));
  buttons->Add(remove);

  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(lists, wxSizerFlags().Expand().Border(wxALL, gap));
  column->Add(label, wxSizerFlags().Border(wxLEFT | wxRIGHT, gap));
  column->Add(m_textEdit, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, gap));
  column->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, gap));
  SetSizer(column);

  m_menuList->Bind(wxEVT_COMBOBOX, &CCatalogPage::OnMenuSelected, this);
  m_nameList->Bind(wxEVT_COMBOBOX, &CCatalogPage::OnNameSelected, this);
  add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Add(); });
  remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Remove(); });
}

bool CCatalogPage::TransferDataToWindow() {
  m_menuList->ChangeValue(ToWx(m_strMenu));
  m_nameList->ChangeValue(ToWx(m_strName));
  m_textEdit->ChangeValue(ToEditText(m_strText));
  return true;
}

bool CCatalogPage::TransferDataFromWindow() {
  m_strMenu = FromWx(m_menuList->GetValue());
  m_strName = FromWx(m_nameList->GetValue());
  m_strText = FromEditText(m_textEdit->GetValue());
  return true;
}

void CCatalogPage::FillMenus() {
  m_menuList->Clear();
  std::vector<TString> menus;
  ListMenus(m_kind, menus);
  for (const TString& menu : menus) m_menuList->Append(ToWx(menu));
}

void CCatalogPage::OnMenuSelected(wxCommandEvent&) {
  const TString menu = ChosenText(m_menuList);
  m_nameList->Clear();
  std::vector<TString> names;
  ListEntries(menu, m_kind, names);
  for (const TString& name : names) m_nameList->Append(ToWx(name));
  // A menu without entries is an entry itself and carries the text.
  CatalogItem item;
  if (names.empty()) ReadItem(menu, TString(), m_kind, item);
  ShowText(item.text);
}

void CCatalogPage::OnNameSelected(wxCommandEvent&) {
  CatalogItem item;
  ReadItem(ChosenText(m_menuList), ChosenText(m_nameList), m_kind, item);
  ShowText(item.text);
}

void CCatalogPage::ShowText(const TString& text) {
  m_strText = text;
  m_textEdit->ChangeValue(ToEditText(text));
}

void CCatalogPage::ListIfMissing(wxComboBox* list, const TString& text) {
  if (!IsListed(list, text)) list->Append(ToWx(text));
}

void CCatalogPage::Add() {
  TransferDataFromWindow();
  if (m_strMenu.empty()) return;
  const bool menuListed = IsListed(m_menuList, m_strMenu);
  // A menu without entries has no name to list: it is known when its menu is.
  const bool nameListed = m_strName.empty() || IsListed(m_nameList, m_strName);
  CatalogItem item{m_strMenu, m_strName, m_strText, 0};
  if (menuListed && nameListed) {
    CatalogItem stored;
    ReadItem(m_strMenu, m_strName, m_kind, stored);
    item.id = stored.id;
  }
  // Both names listed can still name no stored entry (the name list shows
  // another menu's entries): such an entry needs a number of its own.
  if (item.id < CatalogFirstId(m_kind) || item.id > CatalogLastId(m_kind)) {
    item.id = AllocateId(m_kind);
    // The range is full and the user was told so: the entry is not added.
    if (item.id == 0) return;
  }
  ListIfMissing(m_menuList, m_strMenu);
  if (!m_strName.empty()) ListIfMissing(m_nameList, m_strName);
  WriteItem(m_kind, item);
}

void CCatalogPage::DeleteSelected(wxComboBox* list) {
  const int selection = list->GetSelection();
  if (selection == wxNOT_FOUND) return;
  list->Delete(static_cast<unsigned>(selection));
  list->SetSelection(wxNOT_FOUND);
}

void CCatalogPage::Remove() {
  TransferDataFromWindow();
  if (!m_strName.empty())
    DeleteSelected(m_nameList);
  else if (!m_strMenu.empty())
    DeleteSelected(m_menuList);
  ShowText(TString());
  RemoveItem(m_strMenu, m_strName, m_kind);
}

}  // namespace dossel
