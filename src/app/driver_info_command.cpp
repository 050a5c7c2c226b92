#include "app/driver_info_command.h"

#include "app/focus_keeper.h"
#include "driverinfo/wx/driver_info_sheet.h"
#include "session/session.h"

namespace {

// The sheet on the session's connection; every read it makes is asked of the
// connection's thread, and the sheet fills when the answer comes.
void ShowDriverInfo(wxWindow* parent, dossel::session::CSession& session) {
  const CFocusKeeper focus;
  dossel::driverinfo::CMyPropertySheet sheet(
      parent, [&session](std::function<void(dossel::db::CDbConnection&)> read, std::function<void()> then) {
        return session.Ask(
            [read](dossel::db::CDbConnection& connection) {
              read(connection);
              return true;
            },
            [then](bool) { then(); });
      });
  sheet.ShowModal();
}

}  // namespace

DriverInfoSheet DesktopDriverInfoSheet() { return ShowDriverInfo; }
