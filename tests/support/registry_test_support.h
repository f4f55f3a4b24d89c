#pragma once
// Looking at the emulated registry from host tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/emulated_platform.h"

// The bytes of a REG_SZ holding text, terminator included.
std::vector<uint8_t> StringBytes(WStringView text);

// The platform's log lines that start with one of the prefixes, in order.
std::vector<std::string> CallsStartingWith(const EmulatedPlatform& os, std::initializer_list<const char*> prefixes);
