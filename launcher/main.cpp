// The Windows entry point. The process-wide objects are constructed before it
// runs, in their fixed order; the command line is the UTF-16 one, so that no
// character of a document's name is lost to the ANSI code page.
#include "launcher/launcher.h"

static LauncherProcess g_process;

extern "C" int __stdcall wWinMain(void*, void*, wchar_t*, int) {
  return RunLauncher(g_process, os::CommandLine());
}
