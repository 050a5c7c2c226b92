#include "app/find_replace.h"

#include <wx/textctrl.h>
#include <wx/utils.h>

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

wxString ReplaceAllInText(const wxString& text, const wxString& what, const wxString& with, int flags, int& count) {
  count = 0;
  wxString result;
  long from = 0;
  for (long at; (at = FindInText(text, what, from, flags | wxFR_DOWN)) >= 0;
       from = at + static_cast<long>(what.length())) {
    result += text.Mid(static_cast<size_t>(from), static_cast<size_t>(at - from)) + with;
    ++count;
  }
  result += text.Mid(static_cast<size_t>(from));
  return result;
}

CFindReplace::CFindReplace(wxWindow* owner, TargetFn target) : m_owner(owner), m_target(std::move(target)) {
  m_data.SetFlags(wxFR_DOWN);
}

CFindReplace::~CFindReplace() {
  if (m_dialog) m_dialog->Destroy();
}

wxString CFindReplace::SeedText(wxTextCtrl* edit) {
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  const wxString selection = edit->GetRange(from, to);
  // A selection that spans lines is not something to search for.
  return selection.find_first_of("\r\n") == wxString::npos ? selection : wxString();
}

void CFindReplace::Show(int style, const wxString& title) {
  wxTextCtrl* edit = m_target();
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
  wxTextCtrl* edit = m_target();
  if (!edit) return false;
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  const int flags = m_data.GetFlags();
  const wxString text = edit->GetValue();
  const long at = FindInText(text, m_data.GetFindString(), flags & wxFR_DOWN ? to : from, flags);
  if (at < 0) return false;
  edit->SetSelection(at, at + static_cast<long>(m_data.GetFindString().length()));
  edit->ShowPosition(at);
  return true;
}

bool CFindReplace::ReplaceCurrent() {
  wxTextCtrl* edit = m_target();
  if (!edit || !edit->IsEditable()) return false;
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  const int flags = m_data.GetFlags();
  // The selection is replaced only when it is a match; then the next one is found.
  if (from != to && to - from == static_cast<long>(m_data.GetFindString().length()) &&
      FindInText(edit->GetRange(from, to), m_data.GetFindString(), 0, flags | wxFR_DOWN) == 0) {
    edit->Replace(from, to, m_data.GetReplaceString());
    const long end = from + static_cast<long>(m_data.GetReplaceString().length());
    edit->SetSelection(flags & wxFR_DOWN ? end : from, flags & wxFR_DOWN ? end : from);
  }
  return FindNextMatch();
}

int CFindReplace::ReplaceAll() {
  wxTextCtrl* edit = m_target();
  if (!edit || !edit->IsEditable()) return 0;
  const wxString text = edit->GetValue();
  int count = 0;
  const wxString replaced =
      ReplaceAllInText(text, m_data.GetFindString(), m_data.GetReplaceString(), m_data.GetFlags(), count);
  if (count == 0) return 0;
  // One change from the first match on, so one Undo takes it back.
  const long first = FindInText(text, m_data.GetFindString(), 0, m_data.GetFlags() | wxFR_DOWN);
  edit->Replace(first, edit->GetLastPosition(), replaced.Mid(static_cast<size_t>(first)));
  edit->SetInsertionPoint(first);
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
