#pragma once
// The document: the query pane's text as a file. Files are read and written
// as raw bytes, without a header, so a script opened and saved comes back
// byte for byte. Its messages go through the installed user interface (so
// tests record them); `parent` owns the file dialogs. UI thread only.

#include <wx/string.h>

class CQueryView;
class wxWindow;

class CDosselDoc {
 public:
  explicit CDosselDoc(CQueryView* view);

  const wxString& GetPathName() const { return m_path; }
  wxString GetTitle() const;  // the file name, or "Untitled"
  bool IsModified() const;

  // Asks to save a modified document; false when the user cancels.
  bool SaveModified(wxWindow* parent);
  void OnNewDocument();
  // Reads `path` into the query pane; false (with a message) when it cannot.
  bool OnOpenDocument(const wxString& path, wxWindow* parent);
  // Writes the query pane's text to `path`.
  bool OnSaveDocument(const wxString& path, wxWindow* parent);
  // Save (asks for a name when there is none) and Save As.
  bool DoSave(wxWindow* parent, bool askForName);

 private:
  CQueryView* m_view;
  wxString m_path;
  // The file was not UTF-8 and was read byte for byte as Latin-1; it is
  // written back the same way.
  bool m_bLatin1 = false;
  // The file holds UTF-16 text (the handheld edition's query files); it is
  // written back the same way.
  bool m_bUtf16 = false;
};
