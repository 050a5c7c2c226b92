#pragma once
// CFieldPage: a page that is one table of fields (page_tables.h). It lays
// the table out: the value fields and edits in a grid of caption-and-value
// pairs, below them the check-box groups, or beside them the lists; and it
// shows a snapshot's values field by field. Every control is named by its
// field's caption. The six pages that are nothing more keep their own type
// names (CDriverInfo ... CMisc2). UI thread only.

#include <wx/checkbox.h>

#include <utility>
#include <vector>

#include "driverinfo/section_values.h"
#include "driverinfo/wx/info_page.h"

namespace dossel::driverinfo {

class CFieldPage : public CInfoPage {
 public:
  CFieldPage(wxWindow* parent, const PageSpec& spec);

  // The control of the field captioned `caption`, or null.
  template <typename Control>
  Control* FindControl(const wxString& caption) const {
    return dynamic_cast<Control*>(FindWindowByName(caption, this));
  }

 private:
  // The window that shows one field; a check-box group keeps its boxes and
  // the mask they show.
  struct FieldControl {
    wxWindow* window = nullptr;
    std::vector<std::pair<wxCheckBox*, uint32_t>> boxes;
    uint32_t mask = 0;
  };

  void ShowValues(const CInfoSnapshot& snapshot) override;
  void ShowField(size_t index, const FieldValue& value);
  // The fields in the page's order.
  std::vector<size_t> LayoutOrder() const;
  void AddToGrid(size_t index, wxSizer* grid);
  wxSizer* MakeCheckGroup(size_t index);
  void MakeList(size_t index);
  void Arrange(wxSizer* grid, wxSizer* groups, const std::vector<size_t>& lists);

  std::vector<FieldControl> m_controls;  // by field index
};

// A page that is its table and nothing more.
template <PageId kId>
class CTablePage final : public CFieldPage {
 public:
  explicit CTablePage(wxWindow* parent) : CFieldPage(parent, Page(kId)) {}
};

using CDriverInfo = CTablePage<PageId::kDriverInfo>;
using CSupportedSQL = CTablePage<PageId::kSupportedSql>;
using CIdentifiers = CTablePage<PageId::kIdentifiers>;
using CLimits = CTablePage<PageId::kLimits>;
using CMisc1 = CTablePage<PageId::kMisc1>;
using CMisc2 = CTablePage<PageId::kMisc2>;

}  // namespace dossel::driverinfo
