#pragma once
// CConnectionsPage: the "Connections" page of the options sheet, the login
// and query time-outs in seconds. The page owns the two numbers: they are
// read from the settings when the page is built, shown in digits-only edits,
// and stored only when the sheet is confirmed (StoreTimeouts), so Cancel
// leaves the stored values as they were. "&Reset All" shows the stored
// values again. UI thread only.

#include <wx/panel.h>

#include <cstdint>

#include "platform/text.h"

class wxTextCtrl;

namespace dossel {

class CConnectionsPage : public wxPanel {
 public:
  // The desktop's control ids; ControlIds() gives those pages are made with.
  enum : int { kIdLoginTimeout = 1009, kIdQueryTimeout = 1084, kIdResetAll = 1198 };
  struct Ids {
    int loginTimeout, queryTimeout, resetAll;
  };
  static constexpr Ids kDesktopIds{kIdLoginTimeout, kIdQueryTimeout, kIdResetAll};
  // Set once at start-up by an edition that numbers the controls otherwise.
  static void SetControlIds(const Ids& ids);
  static const Ids& ControlIds();
  static constexpr const TChar* kOptionsKey = DT("Software\\Harlune\\Dossel\\Options");

  explicit CConnectionsPage(wxWindow* parent);

  bool TransferDataToWindow() override;
  // Takes the login, then the query time-out; a text that is not a signed
  // 32-bit number stops there with a message, the edit focused and the
  // members after it unchanged.
  bool TransferDataFromWindow() override;

  // Reads both members from the settings (0 where none is stored).
  void LoadTimeouts();
  // Writes both members as "LoginTimeOut" and "QueryTimeOut".
  void StoreTimeouts() const;

  wxTextCtrl* LoginEdit() const { return m_loginEdit; }
  wxTextCtrl* QueryEdit() const { return m_queryEdit; }

  int32_t m_nLoginTimeout = 0;
  int32_t m_nQueryTimeout = 0;

 private:
  void CreateControls();
  bool TakeTimeout(wxTextCtrl* edit, int32_t& member);
  void OnResetAll(wxCommandEvent& event);

  wxTextCtrl* m_loginEdit = nullptr;
  wxTextCtrl* m_queryEdit = nullptr;
};

}  // namespace dossel
