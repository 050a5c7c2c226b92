#pragma once
// The query pane's control: SQL highlighted by wx's SQL lexer (keywords,
// strings, comments, numbers and identifiers each in a style of their own),
// line numbers in a margin, and the brace at the caret matched.
//
// The keywords are the standard's reserved words and the words of the Script
// catalogue. The control reads the catalogue again whenever the settings
// file changed (checked when the event loop is idle, a file status only), so
// an entry added in the options sheet is highlighted once the sheet closes.
//
// UI thread only.

#include <sys/types.h>

#include <ctime>
#include <string>

#include "app/text_edit.h"

class CSqlEdit : public CTextEdit {
 public:
  CSqlEdit(wxWindow* parent, bool wordWrap);

  // Reads the keywords again when the settings file changed since the last
  // reading (or always, with `force`); the text is styled again lazily.
  void RefreshKeywords(bool force = false);
  const std::string& Keywords() const { return m_keywords; }

 protected:
  void ApplyStyles() override;

 private:
  // The settings file as last seen: a change replaces it (a new inode) or
  // touches it.
  struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    bool operator==(const FileStamp& other) const;
  };
  static FileStamp SettingsStamp();
  void UpdateLineNumberWidth();
  void MatchBraces();

  std::string m_keywords;
  FileStamp m_stamp;
  int m_lineDigits = 0;
  bool m_bBraceShown = false;
};
