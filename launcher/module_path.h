#pragma once
// The full path of the launcher's own executable, whole whatever its length;
// empty, with the system's code, when the system cannot tell it.
#include "platform/wide.h"

WString OwnExecutablePath(uint32_t* error);
