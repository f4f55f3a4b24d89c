// ledgrix_faults.exe: the launcher whose nth system call fails with a code,
// for the fault walk: LEDGRIX_FAIL=<n>:<code>. Each call's name is appended to
// the file LEDGRIX_CALLS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "launcher/launcher.h"
#include "platform/platform.h"

namespace {

long g_calls = 0;
long g_fail_at = 0;
uint32_t g_code = 0;
FILE* g_calls_file = nullptr;

// Set before the guard is created: the objects of this file are built in order.
const bool g_hooked = [] {
  if (const char* fail = std::getenv("LEDGRIX_FAIL"))
    std::sscanf(fail, "%ld:%u", &g_fail_at, &g_code);
  if (const wchar_t* calls = _wgetenv(L"LEDGRIX_CALLS")) g_calls_file = _wfopen(calls, L"ab");
  if (g_calls_file) std::setvbuf(g_calls_file, nullptr, _IONBF, 0);  // the process ends at once
  os::SetFaultHook([](const char* call) -> uint32_t {
    if (g_calls_file) std::fprintf(g_calls_file, "%s\n", call);
    return ++g_calls == g_fail_at ? g_code : 0;
  });
  return true;
}();

InstanceGuard g_guard;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return RunLauncher(g_guard, os::CommandLine());
}
