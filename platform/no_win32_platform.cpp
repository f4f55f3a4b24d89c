#include "platform/platform.h"

// Host builds have no real layer; tests install the emulation.
Platform* Win32PlatformInstance() { return nullptr; }
