#pragma once
// CHistoryPage: the options sheet's "History" page: whether every run is
// recorded, how many runs the history keeps (the oldest go first), and
// where its file is. The values are read when the page is made and stored
// when the sheet takes the page's values (OK, or leaving the page); a bad
// number keeps the page in front. UI thread only.

#include <wx/panel.h>

#include <string>

class wxCheckBox;
class wxTextCtrl;

namespace dossel::history {

class CHistoryPage : public wxPanel {
 public:
  enum ControlId { kIdRecord = 1300, kIdMaxRuns = 1301 };

  CHistoryPage(wxWindow* parent, const std::string& historyPath);
  // Makes the page on the options sheet's book, showing the program's history file.
  static wxWindow* Create(wxWindow* book);

  bool TransferDataFromWindow() override;

  wxCheckBox* RecordBox() const { return m_record; }
  wxTextCtrl* MaxRunsEdit() const { return m_maxRuns; }

 private:
  wxCheckBox* m_record = nullptr;
  wxTextCtrl* m_maxRuns = nullptr;
};

}  // namespace dossel::history
