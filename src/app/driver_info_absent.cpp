#include "app/driver_info_command.h"

DriverInfoSheet DesktopDriverInfoSheet() { return nullptr; }
