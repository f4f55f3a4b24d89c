#include "support/foreign_paths.h"

#include <shlobj.h>

#include <algorithm>

#include "support/e2e.h"

namespace e2e {

std::optional<std::string> Latin1(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    if (c > 0xFF) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

std::wstring ReadAsLatin1(const std::string& bytes) {
  std::wstring text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

std::wstring PathOfLength(const std::wstring& base, size_t length, wchar_t fill) {
  std::wstring path = base;
  while (path.size() < length) {
    size_t room = length - path.size() - 1;
    // Never leave a single character for a last level of nothing.
    size_t level = room > 40 ? std::min<size_t>(40, room - 2) : room;
    path += L"\\" + std::wstring(level, fill);
  }
  return path;
}

std::wstring ShortPath(const std::wstring& path) {
  DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring result(size, L'\0');
  result.resize(GetShortPathNameW(path.c_str(), result.data(), size));
  return result;
}

std::wstring IncomingFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, FALSE);
  return std::wstring(folder) + L"\\.ledgrix\\system\\incoming";
}

void RemoveIncomingFolder() { RemoveTree(IncomingFolder()); }

std::vector<std::wstring> IncomingNames() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((IncomingFolder() + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> IncomingFile(const std::wstring& name) {
  return ReadWholeFile(IncomingFolder() + L"\\" + name);
}

std::optional<std::wstring> ClassesRootDefault(const std::wstring& key) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value;
}

}  // namespace e2e
