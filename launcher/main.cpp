// The Windows entry point. The process-wide objects are constructed before it
// runs, in their fixed order; the tail is taken from the wide command line so
// that no character of a document's name is lost to the ANSI code page.
#include "launcher/command_line.h"
#include "launcher/launcher.h"
#include "platform/platform.h"

static LauncherProcess g_process;

extern "C" int __stdcall wWinMain(void*, void*, wchar_t*, int) {
  return RunLauncher(g_process, CommandLineTail(platform().GetCommandLine()));
}
