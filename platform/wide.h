#pragma once
// Every path and text inside the launcher is UTF-16. char16_t keeps the code
// unit count identical on the host (where wchar_t is 32 bits) and on Windows.
#include <string>
#include <string_view>

using WChar = char16_t;
using WString = std::u16string;
using WStringView = std::u16string_view;

// Length of a null-terminated wide text (lstrlenW semantics: null gives 0).
inline size_t WideLength(const WChar* text) {
  if (!text) return 0;
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

std::string ToUtf8(WStringView text);
WString DecimalText(long long value);
