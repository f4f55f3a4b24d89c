#pragma once
// The document types' keys below HKEY_CLASSES_ROOT as the end-to-end tests
// read them back and clear them.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace e2e {

extern const wchar_t* const kDocumentTypeKeys[8];
// Removed from HKEY_CLASSES_ROOT and from the user's own classes.
void RemoveDocumentTypeKeys();

// Every key and value below HKEY_CLASSES_ROOT\key, spelled as the registry
// spells it: "key [name]" -> the text of a REG_SZ (else "type <n>"), and
// "key" -> "" for a key without values. Empty when the key does not exist.
using RegistryTree = std::map<std::wstring, std::wstring>;
RegistryTree ReadClassesTree(const std::wstring& key);

// The spelling of a key right below HKEY_CLASSES_ROOT equal to name ignoring case.
std::optional<std::wstring> SubKeySpelling(const std::wstring& name);

}  // namespace e2e
