#include "support/registry_test_support.h"

std::vector<uint8_t> StringBytes(WStringView text) {
  std::vector<uint8_t> bytes;
  for (WChar c : text) bytes.insert(bytes.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<std::string> CallsStartingWith(const EmulatedPlatform& os, std::initializer_list<const char*> prefixes) {
  std::vector<std::string> calls;
  for (const std::string& line : os.log())
    for (const char* prefix : prefixes)
      if (line.rfind(prefix, 0) == 0) calls.push_back(line);
  return calls;
}
