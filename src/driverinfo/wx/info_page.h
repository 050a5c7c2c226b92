#pragma once
// CInfoPage: what the eight pages of the driver-information sheet share: the
// page's description (page_tables.h), its title, the value fields (a caption
// and a static text showing the value), the process-wide image list of the
// two function images (made with the first page, freed with the last), and
// the two operations the sheet calls: Refresh (show a snapshot's values) and
// WriteReport (append the page's report section). The snapshot belongs to
// the sheet and outlives the page's use of it. UI thread only.

#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "driverinfo/info_snapshot.h"
#include "driverinfo/page_tables.h"

namespace dossel::driverinfo {

// Images of the shared list.
enum FunctionImage { kImageNotSupported = 0, kImageSupported = 1 };

class CInfoPage : public wxPanel {
 public:
  CInfoPage(wxWindow* parent, const PageSpec& spec);
  ~CInfoPage() override;

  const wxString& GetTitle() const { return m_title; }
  using wxPanel::Refresh;
  // Shows the values of `snapshot` (a closed connection's snapshot empties them).
  void Refresh(const CInfoSnapshot& snapshot);
  // Appends the page's report section; nothing before the first Refresh.
  void WriteReport(TString& out) const;

  // The process-wide image list, while a page exists.
  static wxImageList* GetImageList() { return s_pImages; }

 protected:
  virtual void ShowValues(const CInfoSnapshot& snapshot) = 0;

  const PageSpec& Spec() const { return m_spec; }
  // Adds a caption and a value field named by its caption to `grid` (two
  // columns per value).
  wxStaticText* AddValue(wxSizer* grid, const wxString& caption);
  static void SetValue(wxStaticText* field, const TString& value);
  // The page's size in dialog units, as its template gives it.
  wxSize PageSize() const { return ConvertDialogToPixels(wxSize(375, 150)); }

 private:
  static wxImageList* s_pImages;
  static int s_nPages;

  const PageSpec& m_spec;
  wxString m_title;
  const CInfoSnapshot* m_pSnapshot = nullptr;
};

}  // namespace dossel::driverinfo
