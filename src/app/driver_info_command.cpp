#include "app/driver_info_command.h"

#include "app/focus_keeper.h"
#include "driverinfo/wx/driver_info_sheet.h"
#include "session/session.h"

namespace {

// The sheet on the session's connection; every call it makes runs on the
// connection's thread.
void ShowDriverInfo(wxWindow* parent, dossel::session::CSession& session) {
  const CFocusKeeper focus;
  dossel::driverinfo::CMyPropertySheet sheet(
      parent,
      [&session](const std::function<void(dossel::db::CDbConnection&)>& call) { session.CallOnConnection(call); });
  sheet.ShowModal();
}

}  // namespace

DriverInfoSheet DesktopDriverInfoSheet() { return ShowDriverInfo; }
