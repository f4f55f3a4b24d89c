#pragma once
// Paths of every length and script for the end-to-end tests: the boot file's
// 8-bit encoding, folders of an exact length, short (8.3) names, the incoming
// folder and the shell's open command as the registry holds them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The bytes of text in the boot file's encoding, one byte a character; nullopt
// when a character lies beyond U+00FF.
std::optional<std::string> Latin1(const std::wstring& text);
// What the launcher reads from those bytes: each byte one character.
std::wstring ReadAsLatin1(const std::string& bytes);

// base followed by levels of at most 40 fill characters, exactly length
// characters in all (base must be shorter).
std::wstring PathOfLength(const std::wstring& base, size_t length, wchar_t fill = L'd');
// The short (8.3) form of an existing path, empty when the system has none.
std::wstring ShortPath(const std::wstring& path);

// %APPDATA%\.ledgrix\system\incoming and what it holds.
std::wstring IncomingFolder();
void RemoveIncomingFolder();
std::vector<std::wstring> IncomingNames();  // sorted by code unit
std::optional<std::string> IncomingFile(const std::wstring& name);

// The default value of HKEY_CLASSES_ROOT\key; nullopt when there is none.
std::optional<std::wstring> ClassesRootDefault(const std::wstring& key);

}  // namespace e2e
