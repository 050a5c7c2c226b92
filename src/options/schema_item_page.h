#pragma once
// CSchemaItemPage: the "Schema" page of the options sheet, ten check boxes:
// which folders the schema tree shows, and what happens after scripting.
// Each box is a value under the Schema key (default 1), read when the page
// is built and written at each click, so the sheet's Cancel keeps clicks
// already made. The schema tree reads the values at every expansion.
// UI thread only.

#include <wx/panel.h>

#include <array>

#include "platform/text.h"

class wxCheckBox;

namespace dossel {

class CSchemaItemPage : public wxPanel {
 public:
  static constexpr int kBoxCount = 10;
  // The boxes' ids run on from this one, in the order of the page.
  static constexpr int kIdFirstBox = 1199;
  static constexpr const TChar* kSchemaKey = DT("Software\\Harlune\\Dossel\\Schema");

  explicit CSchemaItemPage(wxWindow* parent);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // The value name of the box with this index ("UserTable", ..., "SwitchView").
  static const TChar* ValueName(int index);
  wxCheckBox* Box(int index) const { return m_boxes[static_cast<size_t>(index)]; }

  // The boxes' states, 1 for checked.
  std::array<int, kBoxCount> m_bShow{};

 private:
  void CreateControls();
  void OnBoxClicked(wxCommandEvent& event);

  std::array<wxCheckBox*, kBoxCount> m_boxes{};
};

}  // namespace dossel
