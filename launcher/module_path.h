#pragma once
// The full path of the launcher's own executable, whole whatever its length;
// empty when the system cannot tell it.
#include "platform/wide.h"

WString OwnExecutablePath();
