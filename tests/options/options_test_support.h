#pragma once
// Helpers of the options tests: the sheet run modally with a test's hand on
// its controls, and the settings the sheet writes.

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <functional>

#include "dialog_test_support.h"
#include "options/connections_page.h"
#include "options/options_sheet.h"
#include "settings/settings_store.h"

namespace dossel::test {

inline constexpr const TChar* kOptions = DT("Software\\Harlune\\Dossel\\Options");
inline constexpr const TChar* kSchema = DT("Software\\Harlune\\Dossel\\Schema");

// A stored integer, or -99 when there is none.
inline int Stored(const TChar* key, const TChar* name) { return KeyReadInteger(HKEY_LOCAL_MACHINE, key, name, -99); }

// Chooses the list item with this text as the user would, with the event the
// list sends.
inline void Pick(wxComboBox* list, const wxString& text) {
  const int index = list->FindString(text, true);
  ASSERT_NE(index, wxNOT_FOUND) << text;
  list->SetSelection(index);
  wxCommandEvent event(wxEVT_COMBOBOX, list->GetId());
  event.SetEventObject(list);
  event.SetInt(index);
  list->GetEventHandler()->ProcessEvent(event);
}

// Clicks a check box: its state flips and it tells its page.
inline void Toggle(wxCheckBox* box) {
  box->SetValue(!box->GetValue());
  wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
  event.SetEventObject(box);
  event.SetInt(box->GetValue() ? 1 : 0);
  box->GetEventHandler()->ProcessEvent(event);
}

class OptionsTest : public DialogTest {
 protected:
  // Builds the sheet, runs it modally and lets `action` work it from inside
  // its loop; answers how it ended (a sheet left open is cancelled).
  int RunSheet(std::function<void(COptionsSheet&)> action) {
    RunModal<COptionsSheet>(std::move(action));
    COptionsSheet sheet(nullptr);
    return sheet.ShowModal();
  }
};

}  // namespace dossel::test
