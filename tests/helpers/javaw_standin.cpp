// javaw.exe stand-in: appends one line to javaw.log in its current directory
// (the installation): its arguments as the C runtime split them, its own path
// and how many documents the incoming folder held, all separated by '|'. It
// sets the event named by LEDGRIX_JAVAW_SIGNAL, if any (for the benchmarks),
// then waits while a file "hold" is there (ten minutes at most), and exits with
// the code LEDGRIX_JAVAW_EXIT names, or 0.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FILE* log = _wfopen(L"javaw.log", L"a, ccs=UTF-8");
  if (!log) return 125;
  for (int i = 0; i < __argc; ++i) fwprintf(log, L"%ls|", __wargv[i]);
  wchar_t text[32768];
  int documents = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(
      (_wgetenv(L"APPDATA") + std::wstring(L"\\.ledgrix\\system\\incoming\\*.*")).c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
    documents += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  fwprintf(log,
           L"%ls|%d\n",
           std::wstring(text, GetModuleFileNameW(nullptr, text, 32768)).c_str(),
           documents);
  fclose(log);
  const wchar_t* signal = _wgetenv(L"LEDGRIX_JAVAW_SIGNAL");
  if (HANDLE event = signal ? OpenEventW(EVENT_MODIFY_STATE, FALSE, signal) : nullptr)
    SetEvent(event);
  for (int tick = 0; tick < 60000 && GetFileAttributesW(L"hold") != INVALID_FILE_ATTRIBUTES; ++tick)
    Sleep(10);
  const wchar_t* exit_code = _wgetenv(L"LEDGRIX_JAVAW_EXIT");
  return exit_code ? _wtoi(exit_code) : 0;
}
