#pragma once
// Completion in the query pane, shown in Scintilla's own auto-completion
// list. Ctrl+Space opens the list at the caret; a "." typed after a table,
// a view or an alias of the statement opens it with that table's columns.
// While it is open, typing goes on in the text and the list follows the
// word being typed; Tab or Enter inserts the chosen name, Escape closes it.
// It never opens inside a string or a comment.
//
// Nothing here waits for the driver: the list is made from what the catalog
// cache holds (keywords at least), and when the cache was still reading
// what the place needs, the list fills in when the read arrives, or opens
// then if the caret has stayed where it was asked for. The cache is pumped
// when the control is idle.
//
// UI thread only.

#include <wx/stc/stc.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "completion/catalog_cache.h"
#include "completion/completion_list.h"
#include "platform/text.h"
#include "session/session.h"

class CSqlEdit;

class CSqlCompletion {
 public:
  CSqlCompletion(CSqlEdit& edit, dossel::session::CSession& session);
  ~CSqlCompletion();
  CSqlCompletion(const CSqlCompletion&) = delete;
  CSqlCompletion& operator=(const CSqlCompletion&) = delete;

  // Whether the query pane completes: the setting "Completion" under
  // "Software\Harlune\Dossel\Query" (default 1), read when the pane is made.
  static bool IsEnabledInSettings();

  // Ctrl+Space: the list at the caret.
  void ShowList();
  // Closes the list, and forgets a list still waiting for names: the query
  // pane has gone behind another.
  void CloseList();
  // The command: read the names again.
  void Refresh() { m_cache.Refresh(); }
  // The text of a run that has just started (a run that changes the schema
  // makes the cache read again once it has ended).
  void NoteRun(dossel::TStringView text) { m_cache.NoteRun(text); }

  dossel::completion::CCatalogCache& Cache() { return m_cache; }
  // What the open list shows, in its order (nothing when it is closed).
  std::vector<std::string> ShownTexts() const;

 private:
  enum class Ask {
    User,    // Ctrl+Space: a list of keywords is worth showing
    Dot,     // after "name.": only the names the dot leads to
    Follow,  // the list is open: made again for the word being typed
  };
  struct Pending {
    bool set = false;
    Ask ask = Ask::User;
    int caret = -1;
    int length = -1;
  };

  void OnKeyDown(wxKeyEvent& event);
  void OnCharAdded(wxStyledTextEvent& event);
  void OnCharDeleted(wxStyledTextEvent& event);
  void OnSelection(wxStyledTextEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnCacheChanged();
  // Makes the list at the caret and shows it, or closes it.
  void Update(Ask ask);
  // Runs Update once Scintilla has finished with the key in hand.
  void UpdateLater(Ask ask);
  void Show(const dossel::completion::CompletionList& list, int wordStart, int caret);
  // The bytes of the statement around `caret`: from after the ";" before
  // it to the ";" after it, as the lexer sees them outside strings and
  // comments.
  void StatementAround(int caret, int& start, int& end);
  void RefreshWords();
  void RegisterImages();

  CSqlEdit& m_edit;
  dossel::session::CSession& m_session;
  dossel::completion::CCatalogCache m_cache;
  std::string m_keywordSource;
  dossel::completion::CWordList m_keywords;
  dossel::completion::CWordList m_reserved;
  Pending m_pending;
  // Making a list reads the cache, which may tell of a change meanwhile.
  bool m_bUpdating = false;
  // The shown list's items, and for each shown text the text it inserts.
  std::vector<std::string> m_shown;
  std::unordered_map<std::string, std::string> m_inserts;
  // Calls queued with CallAfter check it: the object may be gone by then.
  std::shared_ptr<const bool> m_pAlive = std::make_shared<const bool>(true);
};
