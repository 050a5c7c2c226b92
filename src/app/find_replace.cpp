#include "app/find_replace.h"

#include <wx/utils.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/text_edit.h"

namespace dossel {

namespace {

bool IsWordCharacter(wxUniChar c) { return wxIsalnum(c) || c == '_'; }

bool Matches(const wxString& text, const wxString& what, size_t at, int flags) {
  if (at + what.length() > text.length()) return false;
  const wxString part = text.Mid(at, what.length());
  if (flags & wxFR_MATCHCASE ? part != what : part.CmpNoCase(what) != 0) return false;
  if (!(flags & wxFR_WHOLEWORD)) return true;
  const bool startsWord = at == 0 || !IsWordCharacter(text[at - 1]);
  const size_t end = at + what.length();
  return startsWord && (end >= text.length() || !IsWordCharacter(text[end]));
}

int SearchFlags(int flags) {
  return (flags & wxFR_MATCHCASE ? wxSTC_FIND_MATCHCASE : 0) | (flags & wxFR_WHOLEWORD ? wxSTC_FIND_WHOLEWORD : 0);
}

// The control folds case in ASCII only; other letters are matched without
// case in a copy of the text, by characters.
bool NeedsTextSearch(const wxString& what, int flags) { return !(flags & wxFR_MATCHCASE) && !what.IsAscii(); }

// Byte positions of the control for character indexes of its text, found
// walking forwards from the last one asked for.
class PositionWalker {
 public:
  explicit PositionWalker(wxStyledTextCtrl& edit) : m_edit(edit) {}
  long At(long index) {
    if (index < m_index) m_index = m_position = 0;
    m_position = m_edit.PositionRelative(static_cast<int>(m_position), static_cast<int>(index - m_index));
    m_index = index;
    return m_position;
  }

 private:
  wxStyledTextCtrl& m_edit;
  long m_index = 0;
  long m_position = 0;
};

long FindByCharacters(wxStyledTextCtrl& edit, const wxString& what, long from, int flags, long* end) {
  const wxString text = edit.GetValue();
  const long at = FindInText(text, what, edit.CountCharacters(0, static_cast<int>(from)), flags);
  if (at < 0) return -1;
  PositionWalker walker(edit);
  const long position = walker.At(at);
  if (end) *end = walker.At(at + static_cast<long>(what.length()));
  return position;
}

int ReplaceAllByCharacters(wxStyledTextCtrl& edit, const wxString& what, const wxString& with, int flags) {
  const wxString text = edit.GetValue();
  std::vector<std::pair<long, long>> matches;
  PositionWalker walker(edit);
  for (long at = 0; (at = FindInText(text, what, at, flags | wxFR_DOWN)) >= 0; at += static_cast<long>(what.length())) {
    const long start = walker.At(at);
    matches.emplace_back(start, walker.At(at + static_cast<long>(what.length())));
  }
  // From the last, so the positions of the others stay valid.
  edit.BeginUndoAction();
  for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
    edit.SetTargetRange(static_cast<int>(match->first), static_cast<int>(match->second));
    edit.ReplaceTarget(with);
  }
  edit.EndUndoAction();
  return static_cast<int>(matches.size());
}

}  // namespace

long FindInText(const wxString& text, const wxString& what, long from, int flags) {
  if (what.empty() || what.length() > text.length()) return -1;
  const long last = static_cast<long>(text.length() - what.length());
  if (flags & wxFR_DOWN) {
    for (long at = std::max(0L, from); at <= last; ++at)
      if (Matches(text, what, static_cast<size_t>(at), flags)) return at;
    return -1;
  }
  for (long at = std::min(last, from - static_cast<long>(what.length())); at >= 0; --at)
    if (Matches(text, what, static_cast<size_t>(at), flags)) return at;
  return -1;
}

long FindInEdit(wxStyledTextCtrl& edit, const wxString& what, long from, int flags, long* end) {
  if (what.empty()) return -1;
  const long length = edit.GetTextLength();
  from = std::clamp(from, 0L, length);
  if (NeedsTextSearch(what, flags)) return FindByCharacters(edit, what, from, flags, end);
  edit.SetSearchFlags(SearchFlags(flags));
  // A target that runs backwards searches backwards.
  edit.SetTargetRange(static_cast<int>(from), flags & wxFR_DOWN ? static_cast<int>(length) : 0);
  const long at = edit.SearchInTarget(what);
  if (at >= 0 && end) *end = edit.GetTargetEnd();
  return at;
}

int ReplaceAllInEdit(wxStyledTextCtrl& edit, const wxString& what, const wxString& with, int flags) {
  if (what.empty()) return 0;
  if (NeedsTextSearch(what, flags)) return ReplaceAllByCharacters(edit, what, with, flags);
  int count = 0;
  long from = 0, end = 0;
  edit.BeginUndoAction();
  for (long at; (at = FindInEdit(edit, what, from, flags | wxFR_DOWN, &end)) >= 0; ++count) {
    edit.SetTargetRange(static_cast<int>(at), static_cast<int>(end));
    from = at + edit.ReplaceTarget(with);
  }
  edit.EndUndoAction();
  return count;
}

CFindReplace::CFindReplace(wxWindow* owner, TargetFn target) : m_owner(owner), m_target(std::move(target)) {
  m_data.SetFlags(wxFR_DOWN);
}

CFindReplace::~CFindReplace() {
  if (m_dialog) m_dialog->Destroy();
}

wxString CFindReplace::SeedText(CTextEdit* edit) {
  const wxString selection = edit->GetSelectedText();
  // A selection that spans lines is not something to search for.
  return selection.find_first_of("\r\n") == wxString::npos ? selection : wxString();
}

void CFindReplace::Show(int style, const wxString& title) {
  CTextEdit* edit = m_target();
  if (!edit) return;
  if (const wxString seed = SeedText(edit); !seed.empty()) m_data.SetFindString(seed);
  if (m_dialog && (m_dialog->GetWindowStyle() & wxFR_REPLACEDIALOG) != (style & wxFR_REPLACEDIALOG)) {
    m_dialog->Destroy();
    m_dialog = nullptr;
  }
  if (!m_dialog) {
    m_dialog = new wxFindReplaceDialog(m_owner, &m_data, title, style);
    m_dialog->Bind(wxEVT_FIND, &CFindReplace::OnFindEvent, this);
    m_dialog->Bind(wxEVT_FIND_NEXT, &CFindReplace::OnFindEvent, this);
    m_dialog->Bind(wxEVT_FIND_REPLACE, &CFindReplace::OnFindEvent, this);
    m_dialog->Bind(wxEVT_FIND_REPLACE_ALL, &CFindReplace::OnFindEvent, this);
    m_dialog->Bind(wxEVT_FIND_CLOSE, &CFindReplace::OnFindClose, this);
  }
  m_dialog->Show();
  m_dialog->Raise();
}

void CFindReplace::ShowFind() { Show(0, "Find"); }

void CFindReplace::ShowReplace() { Show(wxFR_REPLACEDIALOG, "Replace"); }

void CFindReplace::FindNext() {
  if (m_data.GetFindString().empty())
    ShowFind();
  else if (!FindNextMatch())
    wxBell();
}

bool CFindReplace::FindNextMatch() {
  CTextEdit* edit = m_target();
  if (!edit) return false;
  long from = 0, to = 0, end = 0;
  edit->GetSelection(&from, &to);
  const int flags = m_data.GetFlags();
  const long at = FindInEdit(*edit, m_data.GetFindString(), flags & wxFR_DOWN ? to : from, flags, &end);
  if (at < 0) return false;
  edit->SetSelection(at, end);
  return true;
}

bool CFindReplace::ReplaceCurrent() {
  CTextEdit* edit = m_target();
  if (!edit || !edit->IsEditable()) return false;
  long from = 0, to = 0, end = 0;
  edit->GetSelection(&from, &to);
  const int flags = m_data.GetFlags();
  // The selection is replaced only when it is a match; then the next one is found.
  if (from != to && FindInEdit(*edit, m_data.GetFindString(), from, flags | wxFR_DOWN, &end) == from && end == to) {
    edit->BeginUndoAction();
    edit->SetTargetRange(static_cast<int>(from), static_cast<int>(to));
    const long replaced = from + edit->ReplaceTarget(m_data.GetReplaceString());
    edit->EndUndoAction();
    const long caret = flags & wxFR_DOWN ? replaced : from;
    edit->SetSelection(caret, caret);
  }
  return FindNextMatch();
}

int CFindReplace::ReplaceAll() {
  CTextEdit* edit = m_target();
  if (!edit || !edit->IsEditable()) return 0;
  const long first = FindInEdit(*edit, m_data.GetFindString(), 0, m_data.GetFlags() | wxFR_DOWN);
  const int count = ReplaceAllInEdit(*edit, m_data.GetFindString(), m_data.GetReplaceString(), m_data.GetFlags());
  if (count > 0) edit->SetSelection(first, first);
  return count;
}

void CFindReplace::OnFindEvent(wxFindDialogEvent& event) {
  const wxEventType type = event.GetEventType();
  bool found = true;
  if (type == wxEVT_FIND || type == wxEVT_FIND_NEXT)
    found = FindNextMatch();
  else if (type == wxEVT_FIND_REPLACE)
    found = ReplaceCurrent();
  else if (type == wxEVT_FIND_REPLACE_ALL)
    found = ReplaceAll() > 0;
  if (!found) wxBell();
}

void CFindReplace::OnFindClose(wxFindDialogEvent&) {
  m_dialog->Destroy();
  m_dialog = nullptr;
}

}  // namespace dossel
