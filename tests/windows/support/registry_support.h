#pragma once
// The real registry as the end-to-end tests see it: whole trees read back
// with their value types and bytes, keys laid out and removed.
#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool operator==(const RegistryValue&) const = default;
};
// For test failures: the type, the size and, for a string, its text.
void PrintTo(const RegistryValue& value, std::ostream* out);

// Every key and value below root\key: "key [value name]" for each value, and
// "key" alone for a key without values, with the names as the registry spells
// them. Empty when the key does not exist.
using RegistryTree = std::map<std::wstring, RegistryValue>;
RegistryTree ReadRegistryTree(HKEY root, const std::wstring& key);

// The bytes of a REG_SZ holding text, terminator included.
RegistryValue StringValue(const std::wstring& text);

// Creates the key and the missing keys above it and sets one value.
bool PutRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, const RegistryValue& value);
bool PutRegistryString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text);

// The spelling of a subkey of root\parent whose name equals name ignoring case.
std::optional<std::wstring> SubKeySpelling(HKEY root, const std::wstring& parent, const std::wstring& name);

// The extension and type keys of the four document types, removed from
// HKEY_CLASSES_ROOT and from the user's own classes.
void RemoveDocumentTypeKeys();
extern const wchar_t* const kDocumentTypeKeys[8];

}  // namespace e2e
