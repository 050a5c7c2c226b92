#include "ce/document_list.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/stdpaths.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <filesystem>

#include "app/dossel_doc.h"
#include "app/main_frame.h"
#include "res/command_ids.h"

namespace {

constexpr const char* kWindowName = "DocumentList";

// Every file under `folder`, in its subfolders too when `deep`.
void CollectFiles(const wxString& folder, bool deep, std::vector<wxString>& files) {
  wxDir dir(folder);
  if (!dir.IsOpened()) return;
  wxString name;
  for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_FILES); more; more = dir.GetNext(&name))
    files.push_back(wxFileName(folder, name).GetFullPath());
  if (!deep) return;
  std::vector<wxString> folders;
  for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_DIRS); more; more = dir.GetNext(&name))
    folders.push_back(wxFileName(folder, name).GetFullPath());
  for (const wxString& sub : folders) CollectFiles(sub, true, files);
}

}  // namespace

CDocumentList::CDocumentList(CMainFrame* frame, const wxString& filter, const wxString& folderFilter)
    : wxFrame(frame, wxID_ANY, "Dossel", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT, kWindowName),
      m_pFrame(frame),
      m_strFolderFilter(folderFilter),
      m_strRoot(DocumentsFolder()) {
  const wxArrayString parts = wxSplit(filter, '|', '\0');
  const wxString description = parts.size() > 0 ? parts[0] : wxString("All Files");
  if (parts.size() > 1)
    for (const wxString& pattern : wxSplit(parts[1], ';', '\0'))
      if (!pattern.empty()) m_patterns.push_back(pattern);

  auto* panel = new wxPanel(this);
  m_pFolders = new wxChoice(panel, wxID_ANY);
  m_pFileTypes = new wxChoice(panel, wxID_ANY);
  m_pFileTypes->Append(description);
  m_pFileTypes->SetSelection(0);
  auto* newButton = new wxButton(panel, wxID_NEW, "New");
  m_pList = new wxListCtrl(panel, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
  m_pList->AppendColumn("Name", wxLIST_FORMAT_LEFT, FromDIP(160));
  m_pList->AppendColumn("Folder", wxLIST_FORMAT_LEFT, FromDIP(100));
  m_pList->AppendColumn("Date", wxLIST_FORMAT_LEFT, FromDIP(110));
  m_pList->AppendColumn("Size", wxLIST_FORMAT_RIGHT, FromDIP(60));

  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(m_pFolders, 1, wxRIGHT, FromDIP(4));
  top->Add(m_pFileTypes, 1, wxRIGHT, FromDIP(4));
  top->Add(newButton, 0);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(top, 0, wxEXPAND | wxALL, FromDIP(4));
  column->Add(m_pList, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(4));
  panel->SetSizer(column);
  SetClientSize(FromDIP(wxSize(480, 400)));

  m_pFolders->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { FillList(); });
  newButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { NewDocument(); });
  m_pList->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CDocumentList::OnActivated, this);
  Bind(wxEVT_CLOSE_WINDOW, &CDocumentList::OnClose, this);
}

wxString CDocumentList::DocumentsFolder() {
  wxString folder;
  if (wxGetEnv("DOSSEL_DOCUMENTS", &folder) && !folder.empty()) return folder;
  return wxStandardPaths::Get().GetDocumentsDir();
}

CDocumentList* CDocumentList::Of(wxWindow* frame) {
  return dynamic_cast<CDocumentList*>(wxWindow::FindWindowByName(kWindowName, frame));
}

bool CDocumentList::ShowList() {
  // Made quietly: a failure ends the program with its own message, not a log dialog.
  std::error_code error;
  std::filesystem::create_directories(m_strRoot.utf8_string(), error);
  if (!std::filesystem::is_directory(m_strRoot.utf8_string(), error)) return false;
  wxLogNull quiet;
  if (!wxDir(m_strRoot).IsOpened()) return false;
  FillFolders();
  FillList();
  CentreOnParent();
  if (!IsShown() && !Show()) return false;
  Raise();
  m_pList->SetFocus();
  return true;
}

void CDocumentList::FillFolders() {
  const wxString chosen = m_pFolders->GetStringSelection();
  m_pFolders->Clear();
  m_pFolders->Append(m_strFolderFilter);
  wxDir dir(m_strRoot);
  wxArrayString folders;
  wxString name;
  for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_DIRS); more; more = dir.GetNext(&name))
    folders.push_back(name);
  folders.Sort();
  m_pFolders->Append(folders);
  if (chosen.empty() || !m_pFolders->SetStringSelection(chosen)) m_pFolders->SetSelection(0);
}

bool CDocumentList::Matches(const wxString& name) const {
  for (const wxString& pattern : m_patterns)
    if (pattern == "*.*" || pattern == "*" || wxMatchWild(pattern, name, false)) return true;
  return false;
}

void CDocumentList::FillList() {
  const bool allFolders = m_pFolders->GetSelection() <= 0;
  const wxString folder =
      allFolders ? m_strRoot : wxFileName(m_strRoot, m_pFolders->GetStringSelection()).GetFullPath();
  std::vector<wxString> files;
  CollectFiles(folder, allFolders, files);
  std::sort(files.begin(), files.end(), [](const wxString& a, const wxString& b) {
    return wxFileName(a).GetFullName().CmpNoCase(wxFileName(b).GetFullName()) < 0;
  });
  m_paths.clear();
  m_pList->DeleteAllItems();
  for (const wxString& path : files) {
    const wxFileName file(path);
    if (!Matches(file.GetFullName())) continue;
    const long row = m_pList->InsertItem(m_pList->GetItemCount(), file.GetFullName());
    // The folder below the documents folder; empty for the documents folder itself.
    wxFileName folder = wxFileName::DirName(file.GetPath());
    if (!folder.SameAs(wxFileName::DirName(m_strRoot))) {
      folder.MakeRelativeTo(m_strRoot);
      m_pList->SetItem(row, 1, folder.GetPath());
    }
    m_pList->SetItem(row, 2, file.GetModificationTime().FormatISOCombined(' '));
    m_pList->SetItem(row, 3, file.GetHumanReadableSize("0 B"));
    m_paths.push_back(path);
  }
}

void CDocumentList::ShowFrame() {
  Hide();
  m_pFrame->Show();
  m_pFrame->Raise();
  m_pFrame->SwitchPane(0);
}

bool CDocumentList::OpenItem(long index) {
  if (index < 0 || static_cast<size_t>(index) >= m_paths.size()) return false;
  if (!m_pFrame->GetDocument()->SaveModified(m_pFrame)) return false;
  if (!m_pFrame->OpenDocumentFile(m_paths[static_cast<size_t>(index)])) return false;
  ShowFrame();
  return true;
}

void CDocumentList::NewDocument() {
  wxCommandEvent command(wxEVT_MENU, dossel::res::ToWxId(dossel::res::ID_FILE_NEW));
  m_pFrame->ProcessWindowEvent(command);
  // The user may have kept the old query (Cancel to saving it).
  if (!m_pFrame->GetDocument()->IsModified()) ShowFrame();
}

void CDocumentList::OnActivated(wxListEvent& event) { OpenItem(event.GetIndex()); }

void CDocumentList::OnClose(wxCloseEvent& event) {
  // The frame closes the program; the list only steps aside.
  if (event.CanVeto()) {
    event.Veto();
    ShowFrame();
    return;
  }
  Destroy();
}

void ShowDocumentList(CMainFrame* frame) {
  if (CDocumentList* list = CDocumentList::Of(frame)) list->ShowList();
}
