#pragma once
// CInfoPage: what the eight pages of the driver-information sheet share: the
// page title, the value fields (a label and a static text showing the held
// value), groups of display-only check boxes (one per bitmask bit), the
// process-wide image list of the two function images (made with the first
// page, freed with the last), and the two operations the sheet calls:
// Refresh (show a snapshot's values) and WriteReport (append the page's
// report section). The snapshot belongs to the sheet and outlives the page's
// use of it. UI thread only.

#include <wx/checkbox.h>
#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "driverinfo/info_snapshot.h"

namespace dossel::driverinfo {

// Images of the shared list.
enum FunctionImage { kImageNotSupported = 0, kImageSupported = 1 };

class CInfoPage : public wxPanel {
 public:
  CInfoPage(wxWindow* parent, const wxString& title);
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
  // A group of display-only check boxes, one per bit of one bitmask.
  struct CheckGroup {
    std::vector<std::pair<wxCheckBox*, uint32_t>> boxes;
    uint32_t mask = 0;
  };
  struct CheckLabel {
    const char* label;
    uint32_t bit;
  };

  virtual void ShowValues(const CInfoSnapshot& snapshot) = 0;
  virtual void WriteSection(const CInfoSnapshot& snapshot, TString& out) const = 0;

  // Adds a label and a value field to `grid` (two columns per value).
  wxStaticText* AddValue(wxSizer* grid, const wxString& label);
  // A titled box of check boxes laid out in `columns` columns.
  wxSizer* MakeCheckGroup(const wxString& title, std::initializer_list<CheckLabel> labels, CheckGroup& group,
                          int columns = 1);
  static void SetChecks(CheckGroup& group, uint32_t mask);
  static void SetValue(wxStaticText* field, const TString& value);
  // The page's size in dialog units, as its template gives it.
  wxSize PageSize() const { return ConvertDialogToPixels(wxSize(375, 150)); }

 private:
  static wxImageList* s_pImages;
  static int s_nPages;

  wxString m_title;
  const CInfoSnapshot* m_pSnapshot = nullptr;
};

}  // namespace dossel::driverinfo
