#include "support/registry_support.h"

#include "support/e2e.h"

namespace e2e {

const wchar_t* const kDocumentTypeKeys[8] = {L".OFX", L"OFX.Document", L".OFC", L"OFC.Document",
                                             L".QIF", L"QIF.Document", L".OFF", L"OFF.Document"};

namespace {

void Collect(HKEY root, const std::wstring& path, const std::wstring& spelled, RegistryTree* tree) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  bool has_values = false;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD name_length = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key, i, name, &name_length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    RegistryValue value{type, std::vector<BYTE>(size)};
    name_length = 16384;
    RegEnumValueW(key, i, name, &name_length, nullptr, &value.type, size ? value.data.data() : nullptr, &size);
    value.data.resize(size);
    (*tree)[spelled + L" [" + std::wstring(name, name_length) + L"]"] = value;
    has_values = true;
  }
  if (!has_values) (*tree)[spelled] = RegistryValue{};
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::wstring& child : children) Collect(root, path + L"\\" + child, spelled + L"\\" + child, tree);
}

}  // namespace

RegistryTree ReadRegistryTree(HKEY root, const std::wstring& key) {
  RegistryTree tree;
  size_t slash = key.rfind(L'\\');
  std::wstring parent = slash == std::wstring::npos ? L"" : key.substr(0, slash);
  std::wstring last = slash == std::wstring::npos ? key : key.substr(slash + 1);
  std::wstring spelled = SubKeySpelling(root, parent, last).value_or(key);
  if (!parent.empty()) spelled = parent + L"\\" + spelled;
  Collect(root, key, spelled, &tree);
  return tree;
}

void PrintTo(const RegistryValue& value, std::ostream* out) {
  *out << "type " << value.type << ", " << value.data.size() << " bytes";
  if (value.type == REG_SZ || value.type == REG_MULTI_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
    for (size_t zero; (zero = text.find(L'\0')) != std::wstring::npos;) text.replace(zero, 1, L"\\0");
    *out << " \"" << Utf8(text) << "\"";
  }
}

RegistryValue StringValue(const std::wstring& text) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return RegistryValue{REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

bool PutRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, const RegistryValue& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return false;
  LONG status =
      RegSetValueExW(opened, name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

bool PutRegistryString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  return PutRegistryValue(root, key, name, StringValue(text));
}

std::optional<std::wstring> SubKeySpelling(HKEY root, const std::wstring& parent, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, parent.empty() ? nullptr : parent.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::wstring> found;
  for (DWORD i = 0; !found; ++i) {
    wchar_t child[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (CompareStringOrdinal(child, static_cast<int>(length), name.c_str(), static_cast<int>(name.size()), TRUE) ==
        CSTR_EQUAL)
      found = std::wstring(child, length);
  }
  RegCloseKey(key);
  return found;
}

void RemoveDocumentTypeKeys() {
  for (const wchar_t* key : kDocumentTypeKeys) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Classes\\") + key).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Classes\\") + key).c_str());
  }
}

}  // namespace e2e
