#include "app/main_frame.h"

CMainFrame::CMainFrame() : wxFrame(nullptr, wxID_ANY, "Untitled - Dossel", wxDefaultPosition, wxSize(900, 650)) {}
