// Runs the layer's behavioural tests against the real calls, in a fresh
// folder below the temporary folder, removed afterwards.
#include <windows.h>

#include "windows/support/remove_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "contract_environment.h"

namespace {

const wchar_t* W(const WString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class Win32Environment final : public ContractEnvironment {
 public:
  Win32Environment() {
    GetCurrentDirectoryW(MAX_PATH, saved_directory_);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    std::wstring folder = std::wstring(temp) + L"ledgrix-contract-" + std::to_wstring(GetCurrentProcessId()) +
                          L"-" + std::to_wstring(++counter);
    CreateDirectoryW(folder.c_str(), nullptr);
    scratch_.assign(reinterpret_cast<const WChar*>(folder.c_str()));
    RegDeleteTreeW(HKEY_CURRENT_USER, W(registry_key_));
  }
  ~Win32Environment() override {
    SetCurrentDirectoryW(saved_directory_);
    RemoveTree(reinterpret_cast<const wchar_t*>(scratch_.c_str()));
    RegDeleteTreeW(HKEY_CURRENT_USER, W(registry_key_));
  }
  Platform& os() override { return *Win32PlatformInstance(); }
  const WString& scratch() const override { return scratch_; }
  void PutFile(const WString& path, const std::string& bytes) override {
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  void PutDirectory(const WString& path) override {
    // Every missing level, from the top.
    for (size_t i = 3; i <= path.size(); ++i) {
      if (i == path.size() || path[i] == u'\\') {
        WString level = path.substr(0, i);
        CreateDirectoryW(W(level), nullptr);
      }
    }
  }
  std::optional<std::string> FileBytes(const WString& path) override {
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
  }
  bool IsDirectory(const WString& path) override {
    DWORD attributes = GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  // The Java stand-in, which appends a record of each start to a log in its
  // own folder and, without settings, ends at once.
  void PutProgram(const WString& path) override {
    wchar_t helpers[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"LEDGRIX_HELPERS", helpers, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "LEDGRIX_HELPERS names the helper programs";
    ASSERT_TRUE(CopyFileW((std::wstring(helpers) + L"\\javaw.exe").c_str(), W(path), FALSE));
  }
  std::vector<WString> StartsOf(const WString& path) override {
    std::vector<WString> directories;
    std::optional<std::string> log = FileBytes(path.substr(0, path.rfind(u'\\')) + u"\\javaw-standin.log");
    if (!log) return directories;
    std::wstring module, cwd;
    size_t start = 0;
    while (start < log->size()) {
      size_t end = log->find('\n', start);
      if (end == std::string::npos) end = log->size();
      std::string line = log->substr(start, end - start);
      start = end + 1;
      if (line.rfind("module=", 0) == 0) module = Wide(line.substr(7));
      if (line.rfind("cwd=", 0) == 0) cwd = Wide(line.substr(4));
      if (line == "end" && SamePath(module, W(path))) directories.emplace_back(reinterpret_cast<const WChar*>(cwd.c_str()));
    }
    return directories;
  }
  const WString& scratch_registry_key() const override { return registry_key_; }
  std::vector<WString> RegistrySubKeys(const WString& key) override {
    std::vector<WString> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W(key), 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS) return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(reinterpret_cast<const WChar*>(name), length);
    }
    RegCloseKey(opened);
    return names;
  }
  const char* kind() const override { return "win32"; }

 private:
  wchar_t saved_directory_[MAX_PATH];
  WString scratch_;
  WString registry_key_ = u"Software\\LedgrixContract";
};

}  // namespace

std::unique_ptr<ContractEnvironment> MakeContractEnvironment() { return std::make_unique<Win32Environment>(); }
