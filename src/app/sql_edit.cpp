#include "app/sql_edit.h"

#include <sys/stat.h>

#include <algorithm>

#include "app/sql_keywords.h"
#include "settings/registry_file.h"

namespace {

// Colours of the highlighted parts (on the default white background).
const wxColour kKeywordColour(0, 0, 176);
const wxColour kStringColour(163, 21, 21);
const wxColour kCommentColour(0, 128, 0);
const wxColour kNumberColour(176, 90, 0);
const wxColour kIdentifierColour(26, 74, 90);
const wxColour kOperatorColour(80, 80, 80);
const wxColour kMarginColour(128, 128, 128);
const wxColour kMarginBackground(240, 240, 240);
const wxColour kBraceBackground(204, 230, 255);
const wxColour kBadBraceColour(220, 0, 0);

// Room around the widest line number, in characters.
constexpr int kLineNumberPadding = 1;
constexpr int kMinLineDigits = 3;

bool IsBrace(int c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; }

int Digits(int number) {
  int digits = 1;
  for (; number >= 10; number /= 10) ++digits;
  return digits;
}

}  // namespace

bool CSqlEdit::FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

CSqlEdit::CSqlEdit(wxWindow* parent, bool wordWrap) : CTextEdit(parent, wordWrap) {
  SetLexer(wxSTC_LEX_SQL);
  // `name` is a quoted identifier to the lexer, as in several servers' SQL.
  SetProperty("lexer.sql.backticks.identifier", "1");
  SetMarginType(0, wxSTC_MARGIN_NUMBER);
  RefreshKeywords(true);
  ApplyStyles();
  Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
    event.Skip();
    RefreshKeywords();
  });
  Bind(wxEVT_STC_UPDATEUI, [this](wxStyledTextEvent& event) {
    event.Skip();
    UpdateLineNumberWidth();
    MatchBraces();
  });
}

CSqlEdit::FileStamp CSqlEdit::SettingsStamp() {
  FileStamp stamp;
  struct stat status {};
  if (::stat(dossel::settings::RegistryFilePath().c_str(), &status) != 0) return stamp;
  stamp.device = status.st_dev;
  stamp.inode = status.st_ino;
  stamp.size = status.st_size;
  stamp.modified = status.st_mtim;
  return stamp;
}

void CSqlEdit::RefreshKeywords(bool force) {
  const FileStamp stamp = SettingsStamp();
  if (!force && stamp == m_stamp) return;
  m_stamp = stamp;
  std::string keywords = dossel::SqlKeywordList();
  if (!force && keywords == m_keywords) return;
  m_keywords = std::move(keywords);
  SetKeyWords(0, wxString::FromUTF8(m_keywords));
}

void CSqlEdit::ApplyStyles() {
  StyleSetForeground(wxSTC_SQL_WORD, kKeywordColour);
  StyleSetBold(wxSTC_SQL_WORD, true);
  StyleSetForeground(wxSTC_SQL_WORD2, kKeywordColour);
  for (int style : {wxSTC_SQL_CHARACTER, wxSTC_SQL_QOPERATOR}) StyleSetForeground(style, kStringColour);
  for (int style : {wxSTC_SQL_COMMENT, wxSTC_SQL_COMMENTLINE, wxSTC_SQL_COMMENTDOC, wxSTC_SQL_COMMENTLINEDOC,
                    wxSTC_SQL_COMMENTDOCKEYWORD, wxSTC_SQL_COMMENTDOCKEYWORDERROR}) {
    StyleSetForeground(style, kCommentColour);
    StyleSetItalic(style, true);
  }
  StyleSetForeground(wxSTC_SQL_NUMBER, kNumberColour);
  // Double quotes and backticks quote names in SQL, not strings.
  for (int style : {wxSTC_SQL_IDENTIFIER, wxSTC_SQL_STRING, wxSTC_SQL_QUOTEDIDENTIFIER})
    StyleSetForeground(style, kIdentifierColour);
  StyleSetForeground(wxSTC_SQL_OPERATOR, kOperatorColour);
  StyleSetForeground(wxSTC_STYLE_LINENUMBER, kMarginColour);
  StyleSetBackground(wxSTC_STYLE_LINENUMBER, kMarginBackground);
  StyleSetBackground(wxSTC_STYLE_BRACELIGHT, kBraceBackground);
  StyleSetBold(wxSTC_STYLE_BRACELIGHT, true);
  StyleSetForeground(wxSTC_STYLE_BRACEBAD, kBadBraceColour);
  StyleSetBold(wxSTC_STYLE_BRACEBAD, true);
  // The margin's width depends on the font.
  m_lineDigits = 0;
  UpdateLineNumberWidth();
}

void CSqlEdit::UpdateLineNumberWidth() {
  const int digits = std::max(kMinLineDigits, Digits(GetLineCount()));
  if (digits == m_lineDigits) return;
  m_lineDigits = digits;
  SetMarginWidth(0, TextWidth(wxSTC_STYLE_LINENUMBER, wxString('9', digits + kLineNumberPadding)));
}

void CSqlEdit::MatchBraces() {
  const int caret = GetCurrentPos();
  int brace = -1;
  if (caret > 0 && IsBrace(GetCharAt(caret - 1)))
    brace = caret - 1;
  else if (IsBrace(GetCharAt(caret)))
    brace = caret;
  if (brace < 0) {
    if (m_bBraceShown) BraceHighlight(wxSTC_INVALID_POSITION, wxSTC_INVALID_POSITION);
    m_bBraceShown = false;
    return;
  }
  const int match = BraceMatch(brace);
  if (match == wxSTC_INVALID_POSITION)
    BraceBadLight(brace);
  else
    BraceHighlight(brace, match);
  m_bBraceShown = true;
}
