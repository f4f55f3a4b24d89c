// ledgrix_faults.exe: the launcher whose nth system call fails, for the fault
// walk. LEDGRIX_FAIL=<n>:<code> picks the call; each call's name is appended to
// the file LEDGRIX_CALLS, then, after a start that returns, "end" and its
// current directory. (Wine counts no handles: GetProcessHandleCount answers 0,
// and the system's list holds handles that Wine's libraries keep.)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "launcher/launcher.h"

namespace {

long g_calls = 0, g_fail_at = 0;
uint32_t g_code = 0;
FILE* g_log = nullptr;

uint32_t Hook(const char* call) {
  if (g_log) std::fprintf(g_log, "%s\n", call);
  return ++g_calls == g_fail_at ? g_code : 0;
}

struct Installer {
  Installer() {
    if (const char* fail = std::getenv("LEDGRIX_FAIL")) std::sscanf(fail, "%ld:%u", &g_fail_at, &g_code);
    if (const char* calls = std::getenv("LEDGRIX_CALLS")) g_log = std::fopen(calls, "ab");
    if (g_log) std::setvbuf(g_log, nullptr, _IONBF, 0);
    os::SetFaultHook(Hook);
  }
} g_installer;

LauncherProcess g_process;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const int code = RunLauncher(g_process, os::CommandLine());
  wchar_t directory[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, directory);
  if (g_log) std::fprintf(g_log, "end %ls\n", directory);
  return code;
}
