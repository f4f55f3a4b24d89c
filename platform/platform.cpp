#include "platform/platform.h"

#include <cstdlib>

namespace {
Platform* g_installed = nullptr;
}

Platform& platform() {
  if (g_installed) return *g_installed;
  Platform* real = Win32PlatformInstance();
  if (!real) std::abort();  // host builds run only against an installed emulation
  return *real;
}

Platform* SetPlatform(Platform* replacement) {
  Platform* previous = g_installed;
  g_installed = replacement;
  return previous;
}
