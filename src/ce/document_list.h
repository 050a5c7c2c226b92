#pragma once
// CDocumentList: the handheld edition's document list, the window over the
// frame from which the user opens or creates query files. It lists the files
// of the documents folder ($DOSSEL_DOCUMENTS, else the user's documents
// folder) that pass its file filter, in all its folders or one of them as the
// folder choice says; activating a file opens it in the frame, "New" starts a
// new query. It lives as long as the frame; closing it only hides it.
// UI thread only.

#include <wx/frame.h>

#include <vector>

class CMainFrame;
class wxChoice;
class wxListCtrl;
class wxListEvent;

class CDocumentList : public wxFrame {
 public:
  // `filter` as "All Files|*.*|" (description|patterns|...), `folderFilter`
  // the name of the choice that lists every folder ("All Folders").
  CDocumentList(CMainFrame* frame, const wxString& filter, const wxString& folderFilter);

  // Lists the folder's files and shows the window over the frame; false
  // when the documents folder cannot be read (nothing is shown then).
  bool ShowList();
  // The list of `frame`, or null.
  static CDocumentList* Of(wxWindow* frame);
  static wxString DocumentsFolder();

  // The listed files' paths, in list order.
  const std::vector<wxString>& GetPaths() const { return m_paths; }
  wxListCtrl* GetListCtrl() const { return m_pList; }
  wxChoice* GetFolderChoice() const { return m_pFolders; }
  // Opens the listed file `index` in the frame; false when it cannot be.
  bool OpenItem(long index);
  // Starts a new query in the frame.
  void NewDocument();

 private:
  void FillFolders();
  void FillList();
  bool Matches(const wxString& name) const;
  void ShowFrame();
  void OnActivated(wxListEvent& event);
  void OnClose(wxCloseEvent& event);

  CMainFrame* m_pFrame;
  wxString m_strFolderFilter;
  wxString m_strRoot;
  // The patterns of the filter's first entry ("*.*" is every file).
  std::vector<wxString> m_patterns;
  std::vector<wxString> m_paths;
  wxChoice* m_pFolders = nullptr;
  wxChoice* m_pFileTypes = nullptr;
  wxListCtrl* m_pList = nullptr;
};

// The handheld edition's Open command: shows the frame's document list.
void ShowDocumentList(CMainFrame* frame);
