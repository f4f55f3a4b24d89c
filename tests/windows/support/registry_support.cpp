#include "support/registry_support.h"

#include <vector>

namespace e2e {

const wchar_t* const kDocumentTypeKeys[8] = {L".OFX", L"OFX.Document", L".OFC", L"OFC.Document",
                                             L".QIF", L"QIF.Document", L".OFF", L"OFF.Document"};

void RemoveDocumentTypeKeys() {
  for (const wchar_t* key : kDocumentTypeKeys) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    std::wstring own = std::wstring(L"Software\\Classes\\") + key;
    RegDeleteTreeW(HKEY_CURRENT_USER, own.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, own.c_str());
  }
}

namespace {

std::vector<std::wstring> SubKeys(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD i = 0, length = 256; RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                                  ERROR_SUCCESS;
       ++i, length = 256)
    names.emplace_back(name, length);
  return names;
}

void Collect(const std::wstring& path, const std::wstring& spelled, RegistryTree* tree) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  (*tree)[spelled] = L"";
  wchar_t name[1024];
  BYTE data[8192];
  for (DWORD i = 0, length = 1024, type, size = sizeof data;
       RegEnumValueW(key, i, name, &length, nullptr, &type, data, &size) == ERROR_SUCCESS;
       ++i, length = 1024, size = sizeof data) {
    tree->erase(spelled);
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    (*tree)[spelled + L" [" + std::wstring(name, length) + L"]"] =
        type == REG_SZ ? text : L"type " + std::to_wstring(type);
  }
  std::vector<std::wstring> children = SubKeys(key);
  RegCloseKey(key);
  for (const std::wstring& child : children) Collect(path + L"\\" + child, spelled + L"\\" + child, tree);
}

}  // namespace

std::optional<std::wstring> SubKeySpelling(const std::wstring& name) {
  for (const std::wstring& child : SubKeys(HKEY_CLASSES_ROOT))
    if (CompareStringOrdinal(child.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) return child;
  return std::nullopt;
}

RegistryTree ReadClassesTree(const std::wstring& key) {
  RegistryTree tree;
  Collect(key, SubKeySpelling(key).value_or(key), &tree);
  return tree;
}

}  // namespace e2e
