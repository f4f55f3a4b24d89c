// Runs the layer's behavioural tests against the real calls, in a fresh
// folder below the temporary folder, removed afterwards.
#include <windows.h>

#include "windows/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sstream>
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
    RegDeleteTreeW(HKEY_CURRENT_USER, W(registry_key_));
  }
  ~Win32Environment() override {
    SetCurrentDirectoryW(saved_directory_);  // before the folder goes
    RegDeleteTreeW(HKEY_CURRENT_USER, W(registry_key_));
  }
  Platform& os() override { return *Win32PlatformInstance(); }
  const WString& scratch() const override { return folder_.path(); }
  void PutFile(const WString& path, const std::string& bytes) override { folder_.PutFile(path, bytes); }
  void PutDirectory(const WString& path) override { folder_.PutDirectory(path); }
  std::optional<std::string> FileBytes(const WString& path) override { return folder_.FileBytes(path); }
  bool IsDirectory(const WString& path) override { return folder_.IsDirectory(path); }
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
    std::istringstream log(FileBytes(path.substr(0, path.rfind(u'\\')) + u"\\javaw-standin.log").value_or(""));
    std::wstring module, cwd;
    for (std::string line; std::getline(log, line);) {
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
  ScratchFolder folder_;
  WString registry_key_ = u"Software\\LedgrixContract";
};

}  // namespace

std::unique_ptr<ContractEnvironment> MakeContractEnvironment() { return std::make_unique<Win32Environment>(); }
