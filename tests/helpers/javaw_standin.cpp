// javaw.exe stand-in: appends to javaw.log in its current directory (the
// installation) how it was started and what the incoming folder held, sets
// the event named by LEDGRIX_JAVAW_SIGNAL if any (for the benchmarks), then,
// while a file "hold" is there, waits (ten minutes at most).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FILE* log = _wfopen(L"javaw.log", L"a, ccs=UTF-8");
  if (!log) return 125;
  for (int i = 0; i < __argc; ++i) fwprintf(log, L"argv=%ls\n", __wargv[i]);
  wchar_t text[32768];
  GetModuleFileNameW(nullptr, text, 32768);
  fwprintf(log, L"module=%ls\n", text);
  WIN32_FIND_DATAW found;
  const std::wstring incoming = std::wstring(_wgetenv(L"APPDATA")) + L"\\.ledgrix\\system\\incoming\\*";
  HANDLE find = FindFirstFileW(incoming.c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) fwprintf(log, L"incoming=%ls\n", found.cFileName);
  fwprintf(log, L"end\n");
  fclose(log);
  if (HANDLE event = _wgetenv(L"LEDGRIX_JAVAW_SIGNAL") ? OpenEventW(EVENT_MODIFY_STATE, FALSE, _wgetenv(L"LEDGRIX_JAVAW_SIGNAL")) : nullptr)
    SetEvent(event), CloseHandle(event);
  for (int tick = 0; tick < 60000 && GetFileAttributesW(L"hold") != INVALID_FILE_ATTRIBUTES; ++tick) Sleep(10);
  return 0;
}
