#include "scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "remove_tree.h"

namespace {

const wchar_t* W(const WString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::wstring folder = std::wstring(temp) + L"ledgrix-scratch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter);
  RemoveTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  path_.assign(reinterpret_cast<const WChar*>(folder.c_str()));
}

ScratchFolder::~ScratchFolder() { RemoveTree(W(path_)); }

void ScratchFolder::PutFile(const WString& path, const std::string& bytes) {
  HANDLE file = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot lay out a file";
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void ScratchFolder::PutDirectory(const WString& path) {
  for (size_t i = 3; i <= path.size(); ++i)
    if (i == path.size() || path[i] == u'\\') CreateDirectoryW(W(path.substr(0, i)), nullptr);
}

std::optional<std::string> ScratchFolder::FileBytes(const WString& path) const {
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

bool ScratchFolder::IsDirectory(const WString& path) const {
  DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
