#pragma once
// Every path and text inside the launcher is UTF-16. char16_t keeps the code
// unit count identical on the host (where wchar_t is 32 bits) and on Windows.
#include <cstdint>
#include <string>
#include <string_view>

using WChar = char16_t;
using WString = std::u16string;
using WStringView = std::u16string_view;

// The decimal text of a number, '-' before a negative one.
WString DecimalText(int64_t value);

// The letter in upper case when it is an ASCII one, as drive letters and the
// bin folder's name compare.
inline WChar AsciiUpper(WChar c) { return c >= u'a' && c <= u'z' ? static_cast<WChar>(c - 32) : c; }
