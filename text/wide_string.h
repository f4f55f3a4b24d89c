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
