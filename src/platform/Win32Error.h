#pragma once

#include "platform/Status.h"

// The Windows system's description of an error code (from GetLastError or a registry call).
Status StatusFromWin32(unsigned long error);
