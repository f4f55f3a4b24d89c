// The cheapest GUI program: starts and ends. What one more process costs.
// With the argument "shell32" it also asks shell32 for the application-data
// folder, as a start that hands documents over does.
#include <shlobj.h>
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  if (command_line && std::wcsstr(command_line, L"shell32")) {
    using FolderFunction = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    auto folder = reinterpret_cast<FolderFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathW")));
    wchar_t path[MAX_PATH];
    if (folder) folder(nullptr, path, CSIDL_APPDATA, FALSE);
  }
  return 0;
}
