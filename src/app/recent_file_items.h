#pragma once
// CRecentFileItems: the recent-file list of the handheld edition, whose menu
// holds the files as items of its own (not a submenu), in place of a
// "Recent File" item: entry n (from 0) reads "&<(n + 1) mod 10> <name>". When
// the list is empty the placeholder item shows, disabled. UI thread only.

#include <wx/filehistory.h>

#include "platform/text.h"

class wxMenu;

// The caption of recent-file entry `index` (from 0) for the file `name`.
dossel::TString RecentFileCaption(int index, dossel::TStringView name);

class CRecentFileItems : public wxFileHistory {
 public:
  // `menu` holds the placeholder item, whose identifier is `firstId` and
  // caption `placeholder`; entries take the identifiers from `firstId` on.
  CRecentFileItems(size_t maxFiles, int firstId, wxMenu* menu, const wxString& placeholder);

  void AddFileToHistory(const wxString& file) override;
  void RemoveFileFromHistory(size_t index) override;

  // Writes the menu items for the current list.
  void RefreshItems();

 private:
  wxMenu* m_menu;
  wxString m_placeholder;
};
