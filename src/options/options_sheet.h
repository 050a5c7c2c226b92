#pragma once
// COptionsSheet: the modal "Options" sheet with its four pages in order,
// "Connections", "Script", "Template" and "Schema". The sheet builds the
// pages (each reads its values then) and handles OK itself: the values shown
// on the active page are taken, then the two time-outs are stored; a bad
// time-out keeps the sheet open. Leaving the Connections page for another
// takes its values the same way, so a bad time-out also keeps that page in
// front. The catalogue and schema pages store their changes at once, so
// Cancel discards only the time-outs. The caller applies the new query
// time-out (GetConnectionsPage()->m_nQueryTimeout) after OK. UI thread only.

#include <wx/bookctrl.h>
#include <wx/propdlg.h>

#include <span>
#include <vector>

namespace dossel {

class CConnectionsPage;
class CScriptPage;
class CTemplatePage;
class CSchemaItemPage;

// A page an edition adds to the four: made on the sheet's book by `create`,
// shown at tab `position` (past the end: last). Such a page stores its
// values when the sheet ends with OK (its TransferDataFromWindow).
struct OptionsPageSpec {
  const char* title;
  wxWindow* (*create)(wxWindow* book);
  size_t position;
};

class COptionsSheet : public wxPropertySheetDialog {
 public:
  explicit COptionsSheet(wxWindow* parent, std::span<const OptionsPageSpec> extraPages = {});

  CConnectionsPage* GetConnectionsPage() const { return m_pConnections; }
  CScriptPage* GetScriptPage() const { return m_pScript; }
  CTemplatePage* GetTemplatePage() const { return m_pTemplate; }
  CSchemaItemPage* GetSchemaItemPage() const { return m_pSchemaItem; }

 private:
  void OnOK(wxCommandEvent& event);
  void OnPageChanging(wxBookCtrlEvent& event);

  // Owned by the sheet's book control, which destroys them with the sheet.
  CConnectionsPage* m_pConnections = nullptr;
  CScriptPage* m_pScript = nullptr;
  CTemplatePage* m_pTemplate = nullptr;
  CSchemaItemPage* m_pSchemaItem = nullptr;
  std::vector<wxWindow*> m_extraPages;
};

}  // namespace dossel
