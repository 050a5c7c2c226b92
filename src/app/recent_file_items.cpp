#include "app/recent_file_items.h"

#include <wx/filename.h>
#include <wx/menu.h>

#include "platform/format.h"
#include "platform/wx/wx_text.h"

using namespace dossel;

TString RecentFileCaption(int index, TStringView name) { return Format(DT("&%d "), (index + 1) % 10) + TString(name); }

CRecentFileItems::CRecentFileItems(size_t maxFiles, int firstId, wxMenu* menu, const wxString& placeholder)
    : wxFileHistory(maxFiles, static_cast<wxWindowID>(firstId)), m_menu(menu), m_placeholder(placeholder) {}

void CRecentFileItems::AddFileToHistory(const wxString& file) {
  wxFileHistory::AddFileToHistory(file);
  RefreshItems();
}

void CRecentFileItems::RemoveFileFromHistory(size_t index) {
  wxFileHistory::RemoveFileFromHistory(index);
  RefreshItems();
}

void CRecentFileItems::RefreshItems() {
  const int firstId = GetBaseId();
  // The entries (or the placeholder) sit where the first of them is.
  size_t position = 0;
  if (!m_menu->FindChildItem(firstId, &position)) return;
  for (int i = 0; i < GetMaxFiles(); ++i)
    if (m_menu->FindChildItem(firstId + i)) m_menu->Destroy(firstId + i);
  const size_t count = GetCount();
  if (count == 0) {
    m_menu->Insert(position, firstId, m_placeholder);
    m_menu->Enable(firstId, false);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const wxString name = wxFileName(GetHistoryFile(i)).GetFullName();
    // A "&" of the name is shown, not taken as the item's mnemonic.
    wxString escaped = name;
    escaped.Replace("&", "&&");
    m_menu->Insert(position + i, firstId + static_cast<int>(i),
                   ToWx(RecentFileCaption(static_cast<int>(i), FromWx(escaped))));
  }
}
