#include "app/sql_completion.h"

#include <wx/dcmemory.h>

#include <algorithm>

#include "app/sql_edit.h"
#include "schema/reserved_words.h"
#include "settings/settings_store.h"

using namespace dossel;
using completion::CompletionList;
using completion::ItemKind;

namespace {

constexpr const TChar* kQueryKey = DT("Software\\Harlune\\Dossel\\Query");
// The list's separators: no name holds them.
constexpr char kItemSeparator = '\n';
constexpr char kTypeSeparator = '\x1E';
constexpr int kListRows = 12;
// Typed while the list is open, these close it and go into the text.
constexpr const char* kStopCharacters = " \t()[]{},;=<>+-*/%!|&^~:'\"`.@#?";
// How far the statement around the caret is looked for at each step: the
// lexer styles the text this far ahead at a time.
constexpr int kStyleStep = 1 << 16;
// Between a column and its type in the list.
constexpr const char* kTypeGap = "  ";

enum Image { kImageColumn = 1, kImageTable, kImageView, kImageSchema, kImageAlias };

int ImageOf(ItemKind kind) {
  switch (kind) {
    case ItemKind::Column:
      return kImageColumn;
    case ItemKind::Table:
      return kImageTable;
    case ItemKind::View:
      return kImageView;
    case ItemKind::Schema:
      return kImageSchema;
    case ItemKind::Alias:
      return kImageAlias;
    case ItemKind::Keyword:
      break;
  }
  return 0;
}

// A small square of `colour` with a letter: the kind of a list item.
wxBitmap Glyph(const wxColour& colour, const char* letter, int size) {
  wxBitmap bitmap(size, size);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetBrush(wxBrush(colour));
  dc.SetPen(wxPen(colour));
  dc.DrawRoundedRectangle(0, 0, size, size, 2);
  wxFont font = wxNORMAL_FONT->Bold();
  font.SetPixelSize(wxSize(0, size - 3));
  dc.SetFont(font);
  dc.SetTextForeground(*wxWHITE);
  const wxSize extent = dc.GetTextExtent(letter);
  dc.DrawText(letter, (size - extent.x) / 2, (size - extent.y) / 2);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

bool IsWordByte(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
         c >= 0x80;
}

}  // namespace

CSqlCompletion::CSqlCompletion(CSqlEdit& edit, session::CSession& session)
    : m_edit(edit), m_session(session), m_cache(session), m_reserved(FromUtf8(schema::StandardReservedWords())) {
  m_edit.AutoCompSetSeparator(kItemSeparator);
  m_edit.AutoCompSetTypeSeparator(kTypeSeparator);
  m_edit.AutoCompSetIgnoreCase(true);
  m_edit.AutoCompSetCaseInsensitiveBehaviour(wxSTC_CASEINSENSITIVEBEHAVIOUR_IGNORECASE);
  // The list is ours to close: it may hold names that match by word parts
  // only, which Scintilla's own prefix search would not find.
  m_edit.AutoCompSetAutoHide(false);
  m_edit.AutoCompSetChooseSingle(false);
  m_edit.AutoCompSetCancelAtStart(true);
  m_edit.AutoCompSetDropRestOfWord(false);
  m_edit.AutoCompSetOrder(wxSTC_ORDER_CUSTOM);
  m_edit.AutoCompSetMaxHeight(kListRows);
  m_edit.AutoCompStops(kStopCharacters);
  RegisterImages();
  m_cache.SetOnChange([this] { OnCacheChanged(); });
  m_edit.Bind(wxEVT_KEY_DOWN, &CSqlCompletion::OnKeyDown, this);
  m_edit.Bind(wxEVT_STC_CHARADDED, &CSqlCompletion::OnCharAdded, this);
  m_edit.Bind(wxEVT_STC_AUTOCOMP_SELECTION, &CSqlCompletion::OnSelection, this);
  m_edit.Bind(wxEVT_STC_AUTOCOMP_CHAR_DELETED, &CSqlCompletion::OnCharDeleted, this);
  m_edit.Bind(wxEVT_IDLE, &CSqlCompletion::OnIdle, this);
}

CSqlCompletion::~CSqlCompletion() {
  m_edit.Unbind(wxEVT_KEY_DOWN, &CSqlCompletion::OnKeyDown, this);
  m_edit.Unbind(wxEVT_STC_CHARADDED, &CSqlCompletion::OnCharAdded, this);
  m_edit.Unbind(wxEVT_STC_AUTOCOMP_SELECTION, &CSqlCompletion::OnSelection, this);
  m_edit.Unbind(wxEVT_STC_AUTOCOMP_CHAR_DELETED, &CSqlCompletion::OnCharDeleted, this);
  m_edit.Unbind(wxEVT_IDLE, &CSqlCompletion::OnIdle, this);
}

bool CSqlCompletion::IsEnabledInSettings() {
  return KeyReadInteger(HKEY_LOCAL_MACHINE, kQueryKey, DT("Completion"), 1) != 0;
}

void CSqlCompletion::RegisterImages() {
  const int size = std::max(10, m_edit.TextHeight(0) - 4);
  m_edit.RegisterImage(kImageColumn, Glyph(wxColour(200, 110, 0), "C", size));
  m_edit.RegisterImage(kImageTable, Glyph(wxColour(40, 90, 180), "T", size));
  m_edit.RegisterImage(kImageView, Glyph(wxColour(20, 140, 130), "V", size));
  m_edit.RegisterImage(kImageSchema, Glyph(wxColour(120, 70, 160), "S", size));
  m_edit.RegisterImage(kImageAlias, Glyph(wxColour(110, 110, 110), "A", size));
}

void CSqlCompletion::OnKeyDown(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_SPACE && event.GetModifiers() == wxMOD_CONTROL) {
    ShowList();
    return;
  }
  event.Skip();
}

void CSqlCompletion::OnCharAdded(wxStyledTextEvent& event) {
  event.Skip();
  const int key = event.GetKey();
  if (key == '.')
    UpdateLater(Ask::Dot);
  else if (IsWordByte(key) && m_edit.AutoCompActive())
    UpdateLater(Ask::Follow);
}

void CSqlCompletion::OnCharDeleted(wxStyledTextEvent& event) {
  event.Skip();
  UpdateLater(Ask::Follow);
}

void CSqlCompletion::OnIdle(wxIdleEvent& event) {
  event.Skip();
  m_cache.Pump();
}

void CSqlCompletion::ShowList() { Update(Ask::User); }

void CSqlCompletion::CloseList() {
  m_pending = Pending();
  m_shown.clear();
  if (m_edit.AutoCompActive()) m_edit.AutoCompCancel();
}

// Scintilla sends the key's notifications before it has moved its list to
// the word, so the list is made once the key is done.
void CSqlCompletion::UpdateLater(Ask ask) {
  std::weak_ptr<const bool> alive = m_pAlive;
  m_edit.CallAfter([this, alive, ask] {
    if (!alive.expired()) Update(ask);
  });
}

void CSqlCompletion::RefreshWords() {
  if (m_edit.Keywords() == m_keywordSource) return;
  m_keywordSource = m_edit.Keywords();
  m_keywords = completion::CWordList(FromUtf8(m_keywordSource));
}

void CSqlCompletion::StatementAround(int caret, int& start, int& end) {
  const int length = m_edit.GetTextLength();
  const auto styleTo = [&](int pos) {
    if (m_edit.GetEndStyled() < pos) m_edit.Colourise(m_edit.GetEndStyled(), pos);
  };
  const auto endsStatement = [&](const char* text, int pos) {
    return text[pos] == ';' && m_edit.GetStyleAt(pos) == wxSTC_SQL_OPERATOR;
  };
  styleTo(caret);
  const char* text = m_edit.GetCharacterPointer();
  start = 0;
  for (int pos = caret - 1; pos >= 0; --pos) {
    if (endsStatement(text, pos)) {
      start = pos + 1;
      break;
    }
  }
  end = length;
  for (int from = caret; from < length; from += kStyleStep) {
    const int to = std::min(length, from + kStyleStep);
    styleTo(to);
    for (int pos = from; pos < to; ++pos) {
      if (endsStatement(text, pos)) {
        end = pos;
        return;
      }
    }
  }
}

void CSqlCompletion::Update(Ask ask) {
  if (ask == Ask::Follow && !m_edit.AutoCompActive()) return;
  // A pane another one hides opens no list over it.
  if (m_bUpdating || !m_edit.IsShownOnScreen()) return;
  m_bUpdating = true;
  m_pending.set = false;
  m_cache.Pump();
  RefreshWords();
  const int caret = m_edit.GetCurrentPos();
  int start = 0, end = 0;
  StatementAround(caret, start, end);
  const std::string_view bytes(m_edit.GetCharacterPointer() + start, static_cast<size_t>(end - start));
  const TString text = FromUtf8(bytes);
  const size_t caretUnits = FromUtf8(bytes.substr(0, static_cast<size_t>(caret - start))).size();
  const bool backslash = session::DialectOf(m_session.GetDbmsName()) == session::SqlDialect::kMySql;
  const completion::CompletionContext context = completion::AnalyzeCompletion(text, caretUnits, backslash);
  const CompletionList list = completion::BuildCompletionList(text, context, m_cache.IsConnected() ? &m_cache : nullptr,
                                                              m_keywords, m_reserved);
  m_bUpdating = false;
  const bool wanted =
      context.place != completion::Place::None && (ask != Ask::Dot || context.place == completion::Place::Member);
  if (wanted && list.waiting)
    m_pending = Pending{true, ask == Ask::Follow ? Ask::User : ask, caret, m_edit.GetTextLength()};
  if (!wanted || list.items.empty()) {
    if (m_edit.AutoCompActive()) m_edit.AutoCompCancel();
    m_shown.clear();
    return;
  }
  const int wordStart = start + static_cast<int>(ToUtf8(TStringView(text).substr(0, context.wordStart)).size());
  Show(list, wordStart, caret);
}

void CSqlCompletion::Show(const CompletionList& list, int wordStart, int caret) {
  std::vector<std::string> shown;
  std::string joined;
  m_inserts.clear();
  for (const completion::CompletionItem& item : list.items) {
    const std::string insert = ToUtf8(item.text);
    std::string text = insert;
    if (!item.detail.empty()) text += kTypeGap + ToUtf8(item.detail);
    if (!joined.empty()) joined += kItemSeparator;
    joined += text;
    if (const int image = ImageOf(item.kind)) joined += kTypeSeparator + std::to_string(image);
    m_inserts.emplace(text, insert);
    shown.push_back(std::move(text));
  }
  // The same list at the same place stays as it is, with the item the
  // user has moved to.
  if (m_edit.AutoCompActive() && shown == m_shown && m_edit.AutoCompPosStart() == caret) return;
  m_shown = std::move(shown);
  m_edit.AutoCompShow(caret - wordStart, wxString::FromUTF8(joined));
  // The best match first, even when it matches by word parts only.
  m_edit.AutoCompSelect(wxString::FromUTF8(m_shown.front()));
}

// The chosen item goes in as its name alone (the list may show a type).
void CSqlCompletion::OnSelection(wxStyledTextEvent& event) {
  const auto found = m_inserts.find(std::string(event.GetText().utf8_str()));
  if (found == m_inserts.end()) {
    event.Skip();
    return;
  }
  m_edit.AutoCompCancel();
  const int from = event.GetPosition();
  const int to = std::max(from, m_edit.GetCurrentPos());
  m_edit.BeginUndoAction();
  m_edit.SetTargetStart(from);
  m_edit.SetTargetEnd(to);
  m_edit.ReplaceTargetRaw(found->second.data(), static_cast<int>(found->second.size()));
  m_edit.EndUndoAction();
  m_edit.GotoPos(from + static_cast<int>(found->second.size()));
  m_shown.clear();
}

void CSqlCompletion::OnCacheChanged() {
  if (m_bUpdating) return;
  if (m_edit.AutoCompActive()) {
    Update(Ask::Follow);
    return;
  }
  if (!m_pending.set) return;
  const Pending pending = m_pending;
  m_pending.set = false;
  // Opened only where it was asked for: the caret has stayed and nothing
  // was typed since.
  if (m_edit.GetCurrentPos() == pending.caret && m_edit.GetTextLength() == pending.length) Update(pending.ask);
}

std::vector<std::string> CSqlCompletion::ShownTexts() const {
  return m_edit.AutoCompActive() ? m_shown : std::vector<std::string>();
}
