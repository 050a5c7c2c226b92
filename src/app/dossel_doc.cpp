#include "app/dossel_doc.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include <fstream>
#include <iterator>

#include "app/query_view.h"
#include "platform/user_interface.h"
#include "platform/wx/wx_text.h"

using namespace dossel;

namespace {

constexpr const char* kScriptFilter = "SQL Scripts (*.sql)|*.sql|All Files (*.*)|*";

// The pane holds text as the build's characters; the file holds the bytes of
// that text as UTF-8 (for narrow text: the bytes themselves).
bool ReadBytes(const wxString& path, std::string& bytes) {
  std::ifstream in(path.utf8_string(), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteBytes(const wxString& path, const std::string& bytes) {
  std::ofstream out(path.utf8_string(), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return out.good();
}

}  // namespace

wxString CDosselDoc::GetTitle() const {
  return m_path.empty() ? wxString("Untitled") : wxFileName(m_path).GetFullName();
}

bool CDosselDoc::IsModified() const { return m_view->GetEdit()->IsModified(); }

bool CDosselDoc::SaveModified(wxWindow* parent) {
  if (!IsModified()) return true;
  const int answer = ShowMessageBox(FromWx(wxString::Format("Save changes to %s?", GetTitle())), DT("Dossel"),
                                    kMbYesNoCancel | kMbIconWarning);
  if (answer == kIdCancel) return false;
  if (answer == kIdNo) return true;
  return DoSave(parent, false);
}

void CDosselDoc::OnNewDocument() {
  m_bLatin1 = false;
  m_view->SetQueryText({});
  m_view->GetEdit()->DiscardEdits();
  m_path.clear();
}

bool CDosselDoc::OnOpenDocument(const wxString& path, wxWindow* /*parent*/) {
  std::string bytes;
  if (!ReadBytes(path, bytes)) {
    ShowMessageBox(FromWx(wxString::Format("Cannot open the file %s.", path)), DT("Dossel"), kMbOk | kMbIconError);
    return false;
  }
  wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
  m_bLatin1 = text.empty() && !bytes.empty();
  if (m_bLatin1) text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
  m_view->ReplaceText(text);
  m_view->GetEdit()->DiscardEdits();
  m_path = path;
  return true;
}

bool CDosselDoc::OnSaveDocument(const wxString& path, wxWindow* /*parent*/) {
  const wxString text = m_view->GetEdit()->GetValue();
  std::string bytes;
  if (m_bLatin1) {
    const wxCharBuffer latin1 = text.mb_str(wxConvISO8859_1);
    if (latin1.length() == text.length()) bytes.assign(latin1.data(), latin1.length());
  }
  if (bytes.empty() && !text.empty()) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    bytes.assign(utf8.data(), utf8.length());
  }
  if (!WriteBytes(path, bytes)) {
    ShowMessageBox(FromWx(wxString::Format("Cannot save the file %s.", path)), DT("Dossel"), kMbOk | kMbIconError);
    return false;
  }
  m_view->GetEdit()->DiscardEdits();
  m_path = path;
  return true;
}

bool CDosselDoc::DoSave(wxWindow* parent, bool askForName) {
  wxString path = m_path;
  if (askForName || path.empty()) {
    wxFileDialog dialog(parent, "Save As", wxEmptyString, GetTitle(), kScriptFilter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return false;
    path = dialog.GetPath();
  }
  return OnSaveDocument(path, parent);
}
