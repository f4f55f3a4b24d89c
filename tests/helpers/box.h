#pragma once
// Message boxes titled "Error" of another process: found, read and closed
// with OK, as a user would.
#include <windows.h>

#include <string>

inline std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::wstring text(length + 1, L'\0');
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                      &length);
  text.resize(length);
  return text;
}

// The visible box of that process (of any process for 0), or null.
inline HWND FindErrorBox(DWORD process_id) {
  struct Search {
    DWORD process_id;
    HWND box;
  } search{process_id, nullptr};
  EnumWindows([](HWND window, LPARAM found) {
    auto* wanted = reinterpret_cast<Search*>(found);
    DWORD owner = 0;
    wchar_t name[16] = {};
    GetWindowThreadProcessId(window, &owner);
    GetClassNameW(window, name, 16);
    if ((wanted->process_id && owner != wanted->process_id) || wcscmp(name, L"#32770") || !IsWindowVisible(window) ||
        TextOf(window) != L"Error")
      return TRUE;
    wanted->box = window;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.box;
}

// The box's text, "(stop) " first when its stop-sign icon shows; then OK.
inline std::wstring ReadAndClose(HWND box) {
  std::wstring icon, text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    DWORD_PTR handle = 0;
    if (_wcsicmp(name, L"Static") || !(style & WS_VISIBLE)) continue;
    if ((style & SS_TYPEMASK) != SS_ICON) {
      if (text.empty()) text = TextOf(child);
    } else if (SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle) && handle) {
      icon = L"(stop) ";
    }
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int wait = 0; wait < 1000 && IsWindow(box) && IsWindowVisible(box); ++wait) Sleep(10);
  return icon + text;
}
