#pragma once
// The desktop edition's "ODBC Driver Info" sheet, when this build has it.
// The sheet belongs to the desktop program: the narrow build of this
// library links it and returns its show function (driver_info_command.cpp),
// the UTF-16 build, which the handheld edition is made of, does not link it
// and returns null (driver_info_absent.cpp).

#include "app/edition.h"

DriverInfoSheet DesktopDriverInfoSheet();
