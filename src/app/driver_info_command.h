#pragma once
// The desktop edition's "ODBC Driver Info" sheet, when this build has it.
// The sheet belongs to the desktop program: the narrow build of this
// library links it and returns its show function (driver_info_command.cpp),
// the UTF-16 build, which the handheld edition is made of, does not link it
// and returns null (driver_info_absent.cpp).

#include "app/edition.h"

// Shows the "ODBC Driver Info" sheet on the session's connection.
using DriverInfoSheet = void (*)(wxWindow* parent, dossel::session::CSession& session);

DriverInfoSheet DesktopDriverInfoSheet();

// The sheet of `edition`; null when the program has none (the handheld
// edition, and every build on the UTF-16 libraries, which do not link it).
inline DriverInfoSheet DriverInfoSheetOf(const CEdition& edition) {
  return edition.kind == dossel::res::EditionKind::Desktop ? DesktopDriverInfoSheet() : nullptr;
}
