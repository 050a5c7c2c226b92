#pragma once
// CGeneralPage: the handheld edition's "General" page of the options sheet
// (template 146). Its one field, "Rowset Size:" (1030), is kept hidden: the
// edition reads every result row by row. "&Reset All" (153) empties it.
// UI thread only.

#include <wx/panel.h>

class wxStaticText;
class wxTextCtrl;

class CGeneralPage : public wxPanel {
 public:
  static constexpr int kTemplateId = 146;
  enum ControlId { IDC_ROWSET_SIZE = 1030, IDC_RESET_ALL = 153 };

  explicit CGeneralPage(wxWindow* parent);

  // Makes the page on the options sheet's book.
  static wxWindow* Create(wxWindow* book);

 private:
  wxStaticText* m_pRowsetLabel;
  wxTextCtrl* m_pRowsetSize;
};
