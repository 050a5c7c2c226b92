#include "app/result_view.h"

#include "grid/grid_ctrl.h"
#include "settings/settings_store.h"

using namespace dossel;

namespace {
constexpr const TChar* kResultKey = DT("Software\\Harlune\\Dossel\\Result");
}

CResultView::CResultView(wxWindow* parent, int id, CMainFrame* frame)
    : CEditPane(parent, id, kResultKey, false),
      m_pFrame(frame),
      m_nFormat(KeyReadInteger(HKEY_LOCAL_MACHINE, kResultKey, DT("Format"), kGridFormat)) {
  m_appender.SetTarget(GetEdit());
}

void CResultView::OnEditCreated(wxTextCtrl* edit) { m_appender.SetTarget(edit); }

void CResultView::ClearAll() {
  m_appender.Discard();
  GetEdit()->ChangeValue(wxEmptyString);
}

bool CResultView::IsGridShown() const { return m_pGrid && m_pGrid->IsShown(); }
