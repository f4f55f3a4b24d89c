#pragma once
// Looking at the emulated registry from host tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/emulated_platform.h"
#include "platform/emulated_registry.h"

// The bytes of a REG_SZ holding text, terminator included.
std::vector<uint8_t> StringBytes(WStringView text);

// The registry calls of the platform's log, in order.
std::vector<std::string> RegistryCalls(const EmulatedPlatform& os);

// Every key and value below path, by "key path [value name]" as spelled; a key
// without values appears as "key path" with an empty value. For comparing a
// whole tree before and after.
std::map<std::string, EmulatedRegistry::Value> RegistryTree(const EmulatedRegistry& registry, const WString& path);
