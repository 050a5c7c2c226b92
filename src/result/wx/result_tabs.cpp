#include "result/wx/result_tabs.h"

#include <wx/sizer.h>
#include <wx/tglbtn.h>

CResultTabs::CResultTabs(wxWindow* parent, std::function<void(size_t)> onChoose)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), m_onChoose(std::move(onChoose)) {
  SetSizer(new wxBoxSizer(wxHORIZONTAL));
}

void CResultTabs::SetCount(size_t count) {
  while (m_buttons.size() > count) {
    m_buttons.back()->Destroy();
    m_buttons.pop_back();
  }
  while (m_buttons.size() < count) {
    auto* button = new wxToggleButton(this, wxID_ANY, wxString::Format("Result %zu", m_buttons.size() + 1),
                                      wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    button->Bind(wxEVT_TOGGLEBUTTON, &CResultTabs::OnToggle, this);
    GetSizer()->Add(button, 0, wxALL, 1);
    m_buttons.push_back(button);
  }
  if (m_selection >= count) m_selection = 0;
  Layout();
}

void CResultTabs::SetRows(size_t index, int32_t rows) {
  if (index >= m_buttons.size()) return;
  m_buttons[index]->SetLabel(
      wxString::Format(rows == 1 ? "Result %zu (%d row)" : "Result %zu (%d rows)", index + 1, static_cast<int>(rows)));
  Layout();
}

void CResultTabs::Select(size_t index) {
  if (index >= m_buttons.size()) return;
  m_selection = index;
  for (size_t i = 0; i < m_buttons.size(); ++i) m_buttons[i]->SetValue(i == index);
}

wxString CResultTabs::GetLabel(size_t index) const {
  return index < m_buttons.size() ? m_buttons[index]->GetLabel() : wxString();
}

wxWindow* CResultTabs::GetTab(size_t index) const { return index < m_buttons.size() ? m_buttons[index] : nullptr; }

// A click on the tab already shown would switch it off: it stays on.
void CResultTabs::OnToggle(wxCommandEvent& event) {
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttons[i] != event.GetEventObject()) continue;
    Select(i);
    if (m_onChoose) m_onChoose(i);
    return;
  }
}
