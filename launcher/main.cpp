// The Windows entry point. The guard is created before it runs; the command
// line is the UTF-16 one, so that no character of a document's name is lost to
// the ANSI code page.
#include "launcher/launcher.h"
#include "platform/platform.h"

static InstanceGuard g_guard;

extern "C" int __stdcall wWinMain(void*, void*, wchar_t*, int) {
  return RunLauncher(g_guard, os::CommandLine());
}
