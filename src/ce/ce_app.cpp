#include "ce/ce_app.h"

#include <cstdio>

#include "app/edition.h"
#include "app/main_frame.h"
#include "ce/ce_edition.h"
#include "ce/document_list.h"

namespace {

// The document list's file filter and the name of its every-folder choice.
constexpr const char* kDocumentFilter = "All Files|*.*|";
constexpr const char* kFolderFilter = "All Folders";

}  // namespace

bool CCeApp::OnInit() {
  SetEdition(CeEdition());
  return CDosselApp::OnInit();
}

bool CCeApp::StartFrame(CMainFrame* frame, bool /*opened*/) {
  frame->Show();
  auto* list = new CDocumentList(frame, kDocumentFilter, kFolderFilter);
  if (!list->ShowList()) {
    std::fputs("Dossel: the document list cannot be shown.\n", stderr);
    return false;
  }
  return true;
}
