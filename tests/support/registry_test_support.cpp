#include "support/registry_test_support.h"

std::vector<uint8_t> StringBytes(WStringView text) {
  std::vector<uint8_t> bytes;
  for (WChar c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<std::string> RegistryCalls(const EmulatedPlatform& os) {
  std::vector<std::string> calls;
  for (const std::string& line : os.log())
    if (line.rfind("Reg", 0) == 0) calls.push_back(line);
  return calls;
}

namespace {

void Collect(const EmulatedRegistry& registry, const WString& path,
             std::map<std::string, EmulatedRegistry::Value>* tree) {
  WString spelled = registry.Spelling(path).value_or(path);
  std::vector<WString> names = registry.ValueNames(path);
  if (names.empty()) (*tree)[ToUtf8(spelled)] = {};
  for (const WString& name : names) (*tree)[ToUtf8(spelled + u" [" + name + u"]")] = *registry.GetValue(path, name);
  for (const WString& child : registry.SubKeys(path)) Collect(registry, path + u"\\" + child, tree);
}

}  // namespace

std::map<std::string, EmulatedRegistry::Value> RegistryTree(const EmulatedRegistry& registry, const WString& path) {
  std::map<std::string, EmulatedRegistry::Value> tree;
  Collect(registry, path, &tree);
  return tree;
}
