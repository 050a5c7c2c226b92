#pragma once
// CResultTabs: the strip over the results grid that names each result set
// a run kept ("Result 2 (15 rows)") and chooses the one shown. The result
// pane shows it only while the last run kept more than one result set; a
// run with one result set looks as if there were no strip.
//
// UI thread only.

#include <wx/panel.h>

#include <cstdint>
#include <functional>
#include <vector>

class wxToggleButton;

class CResultTabs : public wxPanel {
 public:
  // `onChoose` is called with the tab the user chose, after it is selected.
  CResultTabs(wxWindow* parent, std::function<void(size_t)> onChoose);

  // One tab per result set, numbered from 1; a new tab says only its number
  // until its rows are known.
  void SetCount(size_t count);
  size_t GetCount() const { return m_buttons.size(); }
  void SetRows(size_t index, int32_t rows);
  void Select(size_t index);
  size_t GetSelection() const { return m_selection; }
  wxString GetLabel(size_t index) const;
  // The tab's button, for tests that click it.
  wxWindow* GetTab(size_t index) const;

 private:
  void OnToggle(wxCommandEvent& event);

  std::vector<wxToggleButton*> m_buttons;
  size_t m_selection = 0;
  std::function<void(size_t)> m_onChoose;
};
