#pragma once
// CCatalogPage: the editor of one catalogue (Script or Template) on the
// options sheet, the common part of CScriptPage and CTemplatePage. It shows
// the catalogue's menus and, for the chosen menu, its entries in two sorted
// editable drop-down lists, with the chosen entry's text below. "&Add" and
// "&Remove" change the catalogue at once, so Cancel on the sheet keeps what
// they did. The page owns its three field values (menu, name, text); the
// catalogue itself lives in the settings. UI thread only.

#include <wx/panel.h>

#include "platform/text.h"
#include "settings/catalogs.h"

class wxComboBox;
class wxTextCtrl;

namespace dossel {

// The control ids of one catalogue page.
struct CatalogPageIds {
  int menu;
  int name;
  int text;
  int add;
  int remove;
};

class CCatalogPage : public wxPanel {
 public:
  // `textLabel` names the text field ("Script:" or "Template:").
  CCatalogPage(wxWindow* parent, CatalogKind kind, const CatalogPageIds& ids, const wxString& textLabel);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // The buttons' actions.
  void Add();
  void Remove();

  wxComboBox* MenuList() const { return m_menuList; }
  wxComboBox* NameList() const { return m_nameList; }
  wxTextCtrl* TextEdit() const { return m_textEdit; }

  TString m_strMenu;
  TString m_strName;
  TString m_strText;

 private:
  void CreateControls(const CatalogPageIds& ids, const wxString& textLabel);
  void FillMenus();
  void OnMenuSelected(wxCommandEvent& event);
  void OnNameSelected(wxCommandEvent& event);
  void ShowText(const TString& text);
  // Adds `text` to the list unless it is listed already.
  static void ListIfMissing(wxComboBox* list, const TString& text);
  static void DeleteSelected(wxComboBox* list);

  const CatalogKind m_kind;
  wxComboBox* m_menuList = nullptr;
  wxComboBox* m_nameList = nullptr;
  wxTextCtrl* m_textEdit = nullptr;
};

}  // namespace dossel
