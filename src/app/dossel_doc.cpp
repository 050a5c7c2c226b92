#include "app/dossel_doc.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/edition.h"
#include "app/query_view.h"
#include "platform/file_writer.h"
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

// UTF-16 query files have no header; SQL text in UTF-8 or Latin-1 never
// holds a NUL byte, while UTF-16 text of any Latin script does.
bool ReadsAsUtf16(const std::string& bytes, wxString& text) {
  if (bytes.empty() || bytes.size() % 2 != 0 || bytes.find('\0') == std::string::npos) return false;
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  const std::string utf8 = Utf16ToUtf8(units);
  text = wxString::FromUTF8(utf8.data(), utf8.size());
  return !text.empty();
}

std::string Utf16Bytes(const wxString& text) {
  const std::u16string units = Utf8ToUtf16(text.utf8_string());
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace

CDosselDoc::CDosselDoc(CQueryView* view) : m_view(view), m_bUtf16(Edition().hasUtf16QueryFiles) {}

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
  m_bUtf16 = Edition().hasUtf16QueryFiles;
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
  wxString text;
  m_bUtf16 = Edition().hasUtf16QueryFiles && ReadsAsUtf16(bytes, text);
  m_bLatin1 = !m_bUtf16 && !bytes.empty() && wxString::FromUTF8(bytes.data(), bytes.size()).empty();
  // An empty file is a new query of this edition.
  if (bytes.empty()) m_bUtf16 = Edition().hasUtf16QueryFiles;
  if (m_bUtf16)
    m_view->ReplaceText(text);
  else if (m_bLatin1)
    m_view->ReplaceText(wxString(bytes.data(), wxConvISO8859_1, bytes.size()));
  else
    m_view->ReplaceTextUtf8(bytes);
  m_view->GetEdit()->DiscardEdits();
  m_path = path;
  return true;
}

bool CDosselDoc::OnSaveDocument(const wxString& path, wxWindow* /*parent*/) {
  std::string bytes;
  if (m_bUtf16) bytes = Utf16Bytes(m_view->GetEdit()->GetValue());
  if (m_bLatin1) {
    const wxString text = m_view->GetEdit()->GetValue();
    const wxCharBuffer latin1 = text.mb_str(wxConvISO8859_1);
    if (latin1.length() == text.length()) bytes.assign(latin1.data(), latin1.length());
  }
  if (bytes.empty() && !m_bUtf16) {
    // The control holds the text as UTF-8: its bytes are the file's.
    const wxCharBuffer utf8 = m_view->GetEdit()->GetTextRaw();
    bytes.assign(utf8.data(), utf8.length());
  }
  // Replaced as a whole: a failure part way leaves the old file whole.
  if (const int failure = ReplaceFileAtomically(path.utf8_string(), bytes); failure != 0) {
    ShowMessageBox(
        FromWx(wxString::Format("Cannot save the file %s.\r\n", path) + wxString::FromUTF8(std::strerror(failure))),
        DT("Dossel"), kMbOk | kMbIconError);
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
