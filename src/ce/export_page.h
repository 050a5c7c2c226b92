#pragma once
// CExportPage: the handheld edition's "Export" page of the options sheet
// (template 132), holding the fields of the desktop's export panel: the
// delimited or tagged mode, the delimiter, the four tags and "Include
// Header". It reads the stored export choices when made and stores them when
// the sheet ends with OK; the export then asks only for the file name.
// UI thread only.

#include <wx/panel.h>

namespace dossel {
class CExportPanel;
}

class CExportPage : public wxPanel {
 public:
  static constexpr int kTemplateId = 132;

  explicit CExportPage(wxWindow* parent);

  dossel::CExportPanel* GetPanel() const { return m_pPanel; }
  bool TransferDataFromWindow() override;

  // Makes the page on the options sheet's book.
  static wxWindow* Create(wxWindow* book);

 private:
  dossel::CExportPanel* m_pPanel;
};
