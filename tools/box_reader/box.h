#pragma once
// Message boxes titled "Error" of another process under Wine: found, read
// and closed with OK, as a user would.
#include <windows.h>

#include <string>

// The visible box of the process (of any process for 0); null when none.
inline HWND FindErrorBox(DWORD process_id) {
  for (HWND box = nullptr; (box = FindWindowExW(nullptr, box, L"#32770", L"Error"));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if ((!process_id || owner == process_id) && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

// The box's text (control 0xFFFF), "(stop) " first when it has an icon
// (control 1088), "(cancel) " when it has a Cancel button; then OK.
inline std::wstring ReadAndClose(HWND box) {
  wchar_t text[4096] = {};
  DWORD_PTR icon = 0;
  GetDlgItemTextW(box, 0xFFFF, text, 4096);
  SendMessageTimeoutW(GetDlgItem(box, 1088), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
  const std::wstring read = std::wstring(icon ? L"(stop) " : L"") +
                            (GetDlgItem(box, IDCANCEL) ? L"(cancel) " : L"") + text;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int wait = 0; wait < 1000 && IsWindowVisible(box); ++wait) Sleep(10);
  return read;
}
