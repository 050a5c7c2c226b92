#pragma once
// Stand-ins for the few operating-system services the core uses.

#include <cstdint>

#include "platform/text.h"

namespace dossel {

// Milliseconds from a steady clock, truncated to 32 bits so that it wraps
// like a tick counter; differences taken as uint32_t stay right across a wrap.
uint32_t GetTickCount();

// The host name, cut to 15 characters as a computer name is.
TString GetComputerName();

}  // namespace dossel
