#pragma once
// CHistoryWindow: the run history, searched as the user types. A search
// field (full-text, every word a word's start), a data-source filter and a
// list of the runs that match, newest first (time, duration, rows, outcome,
// data source and the text's first line), read a page at a time as the list
// scrolls. Enter or a double click hands the picked run's text to the
// window's owner ("&Insert"), Ctrl+Enter hands it to be run at once
// ("&Run"), Delete removes the selected runs. Every control is reached by
// the keyboard: Up, Down and the page keys move through the list from the
// search field. The history answers on its own thread; the answers are
// posted here and one that a newer search made stale is dropped.
//
// A modeless window: it hides when it has handed a text on or is closed,
// and is shown again with its search kept. UI thread only.

#include <wx/dialog.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "history/history.h"
#include "platform/text.h"

class wxButton;
class wxChoice;
class wxListCtrl;
class wxListView;
class wxStaticText;
class wxTextCtrl;

namespace dossel::history {

class CHistoryList;

class CHistoryWindow : public wxDialog {
 public:
  // Takes the text of a picked run; `run` when it is to be run at once.
  using Pick = std::function<void(const TString& text, bool run)>;

  CHistoryWindow(wxWindow* parent, CHistory& history, Pick pick);
  ~CHistoryWindow() override;

  // Shows the window with the search field focused and its words selected,
  // and searches again (runs may have ended since).
  void ShowAndSearch();

  // The picked run's text goes to the owner: the first selected run.
  void PickSelected(bool run);
  void RemoveSelected();

  wxTextCtrl* SearchField() const { return m_search; }
  wxChoice* SourceChoice() const { return m_source; }
  wxListView* List() const;
  wxStaticText* Status() const { return m_status; }
  const std::vector<HistoryEntry>& Entries() const { return m_entries; }
  // A search was asked for and its first page has not come yet.
  bool IsSearching() const { return m_bSearching; }

  // The texts of a row's cells, as the list shows them.
  static TString TimeText(int64_t startedAt);
  static TString DurationText(uint32_t milliseconds);
  static TString OutcomeText(const HistoryEntry& entry);

 private:
  friend class CHistoryList;
  void CreateControls();
  void Search();
  void LoadMore();
  void ShowPage(CHistory::Page page, bool append);
  void LoadDataSources();
  void ShowDataSources(std::vector<TString> names);
  void ShowStatus();
  void SelectRow(long row);
  // Runs `call` on the UI thread if the window still exists then (`alive`).
  static void PostTo(const std::shared_ptr<bool>& alive, std::function<void()> call);
  void OnCharHook(wxKeyEvent& event);
  bool MoveSelection(int keyCode);

  CHistory& m_history;
  Pick m_pick;
  // Shared with the calls posted from the history writer; false once the
  // window is gone.
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
  wxTextCtrl* m_search = nullptr;
  wxChoice* m_source = nullptr;
  CHistoryList* m_list = nullptr;
  wxStaticText* m_status = nullptr;
  wxButton* m_insert = nullptr;
  wxButton* m_run = nullptr;
  wxButton* m_delete = nullptr;
  std::vector<HistoryEntry> m_entries;
  std::vector<TString> m_sources;
  // The search shown; answers of another are stale.
  uint64_t m_generation = 0;
  HistoryQuery m_query;
  // The row selected when the next search's first page comes.
  long m_nKeepRow = 0;
  bool m_bMore = false;
  bool m_bSearching = false;
  bool m_bLoadingMore = false;
};

}  // namespace dossel::history
