#pragma once
// Message boxes titled "Error" of another process: found, read and closed
// with OK, as a user would.
#include <windows.h>

#include <string>

inline std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

// The visible box of the process (of any process for 0); null when none.
inline HWND FindErrorBox(DWORD process_id) {
  std::pair<DWORD, HWND> search{process_id, nullptr};
  EnumWindows([](HWND window, LPARAM found) -> BOOL {
    auto* wanted = reinterpret_cast<std::pair<DWORD, HWND>*>(found);
    DWORD owner = 0;
    wchar_t name[16] = {};
    GetWindowThreadProcessId(window, &owner), GetClassNameW(window, name, 16);
    if ((!wanted->first || owner == wanted->first) && !wcscmp(name, L"#32770") && IsWindowVisible(window) &&
        TextOf(window) == L"Error")
      wanted->second = window;
    return !wanted->second;
  }, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// The box's text, "(stop) " first when its stop-sign icon shows; then OK.
inline std::wstring ReadAndClose(HWND box) {
  std::wstring icon, text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    DWORD_PTR handle = 0;
    if ((style & SS_TYPEMASK) == SS_ICON && (style & WS_VISIBLE) &&
        SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle) && handle)
      icon = L"(stop) ";
    else if (text.empty() && GetDlgCtrlID(child) != IDOK && (style & WS_VISIBLE)) text = TextOf(child);
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int wait = 0; wait < 1000 && IsWindow(box) && IsWindowVisible(box); ++wait) Sleep(10);
  return icon + text;
}
