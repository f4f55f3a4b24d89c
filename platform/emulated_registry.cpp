#include "platform/emulated_registry.h"

#include "platform/emulated_file_system.h"
#include "platform/platform.h"

struct EmulatedRegistry::Key {
  WString name;
  bool deny_write = false;
  std::map<WString, std::unique_ptr<Key>> children;  // by folded name
  std::map<WString, std::pair<WString, Value>> values;  // folded name -> (spelling, value)
};

namespace {

std::vector<WString> SplitKeyPath(WStringView path) {
  std::vector<WString> parts;
  WString current;
  for (WChar c : path) {
    if (c == u'\\') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

WString RootName(uint64_t root) {
  switch (root) {
    case 0x80000000u: return u"HKCR";
    case 0x80000001u: return u"HKCU";
    case 0x80000002u: return u"HKLM";
    default: return WString();
  }
}

constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;

}  // namespace

EmulatedRegistry::EmulatedRegistry() {
  for (const char16_t* name : {u"HKCR", u"HKCU", u"HKLM"}) {
    auto key = std::make_unique<Key>();
    key->name = name;
    roots_[name] = std::move(key);
  }
}

EmulatedRegistry::~EmulatedRegistry() = default;

EmulatedRegistry::Key* EmulatedRegistry::RootKey(uint64_t root) const {
  auto it = roots_.find(RootName(root));
  if (it != roots_.end()) return it->second.get();
  auto open = open_.find(root);
  return open == open_.end() ? nullptr : open->second.key;
}

EmulatedRegistry::Key* EmulatedRegistry::FindBelow(Key* from, WStringView sub_key) const {
  Key* key = from;
  for (const WString& part : SplitKeyPath(sub_key)) {
    if (!key) return nullptr;
    auto it = key->children.find(FoldCase(part));
    key = it == key->children.end() ? nullptr : it->second.get();
  }
  return key;
}

EmulatedRegistry::Key* EmulatedRegistry::Find(WStringView path) const {
  std::vector<WString> parts = SplitKeyPath(path);
  if (parts.empty()) return nullptr;
  auto it = roots_.find(FoldCase(parts[0]));
  if (it == roots_.end()) return nullptr;
  Key* key = it->second.get();
  for (size_t i = 1; i < parts.size() && key; ++i) {
    auto child = key->children.find(FoldCase(parts[i]));
    key = child == key->children.end() ? nullptr : child->second.get();
  }
  return key;
}

std::optional<WString> EmulatedRegistry::Spelling(WStringView path) const {
  std::vector<WString> parts = SplitKeyPath(path);
  if (parts.empty()) return std::nullopt;
  auto it = roots_.find(FoldCase(parts[0]));
  if (it == roots_.end()) return std::nullopt;
  Key* key = it->second.get();
  WString spelled = key->name;
  for (size_t i = 1; i < parts.size(); ++i) {
    auto child = key->children.find(FoldCase(parts[i]));
    if (child == key->children.end()) return std::nullopt;
    key = child->second.get();
    spelled += u"\\" + key->name;
  }
  return spelled;
}

std::optional<EmulatedRegistry::Value> EmulatedRegistry::GetValue(WStringView path, WStringView name) const {
  Key* key = Find(path);
  if (!key) return std::nullopt;
  auto it = key->values.find(FoldCase(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.second;
}

std::vector<WString> EmulatedRegistry::ValueNames(WStringView path) const {
  std::vector<WString> names;
  if (Key* key = Find(path))
    for (const auto& [folded, entry] : key->values) names.push_back(entry.first);
  return names;
}

std::vector<WString> EmulatedRegistry::SubKeys(WStringView path) const {
  std::vector<WString> names;
  if (Key* key = Find(path))
    for (const auto& [folded, child] : key->children) names.push_back(child->name);
  return names;
}

void EmulatedRegistry::PutValue(WStringView path, WStringView name, uint32_t type, std::vector<uint8_t> data) {
  std::vector<WString> parts = SplitKeyPath(path);
  Key* key = roots_.at(FoldCase(parts.at(0))).get();
  for (size_t i = 1; i < parts.size(); ++i) {
    auto& slot = key->children[FoldCase(parts[i])];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = parts[i];
    }
    key = slot.get();
  }
  if (name.data() == nullptr) return;
  key->values[FoldCase(name)] = {WString(name), Value{type, std::move(data)}};
}

void EmulatedRegistry::PutString(WStringView path, WStringView name, WStringView text) {
  std::vector<uint8_t> bytes;
  for (WChar c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  PutValue(path, name, 1, std::move(bytes));
}

void EmulatedRegistry::DenyWrite(WStringView path, bool deny) {
  if (!Find(path)) PutValue(path, WStringView(), 0, {});
  if (Key* key = Find(path)) key->deny_write = deny;
}

int32_t EmulatedRegistry::CreateKey(uint64_t root, WStringView sub_key, uint32_t access, uint64_t* key_id,
                                    uint32_t* disposition) {
  Key* key = RootKey(root);
  if (!key) return kErrorInvalidHandle;
  WString path = RootName(root).empty() ? open_.at(root).path : RootName(root);
  bool created = false;
  for (const WString& part : SplitKeyPath(sub_key)) {
    auto it = key->children.find(FoldCase(part));
    if (it == key->children.end()) {
      if (key->deny_write) return kErrorAccessDenied;
      auto child = std::make_unique<Key>();
      child->name = part;
      Key* raw = child.get();
      key->children[FoldCase(part)] = std::move(child);
      key = raw;
      created = true;
    } else {
      key = it->second.get();
    }
    path += u"\\" + key->name;
  }
  if (key->deny_write && (access & 0x0002)) return kErrorAccessDenied;
  uint64_t id = next_id_++;
  open_[id] = OpenKey{key, path, access};
  *key_id = id;
  if (disposition) *disposition = created ? 1 : 2;
  return 0;
}

int32_t EmulatedRegistry::SetValue(uint64_t key_id, WStringView name, uint32_t type, const uint8_t* data,
                                   uint32_t size) {
  auto it = open_.find(key_id);
  if (it == open_.end()) return kErrorInvalidHandle;
  if (!(it->second.access & 0x0002) || it->second.key->deny_write) return kErrorAccessDenied;
  WString spelled(name.data() ? name : WStringView());
  it->second.key->values[FoldCase(spelled)] = {spelled, Value{type, std::vector<uint8_t>(data, data + size)}};
  return 0;
}

int32_t EmulatedRegistry::DeleteValue(uint64_t key_id, WStringView name) {
  auto it = open_.find(key_id);
  if (it == open_.end()) return kErrorInvalidHandle;
  if (!(it->second.access & 0x0002) || it->second.key->deny_write) return kErrorAccessDenied;
  return it->second.key->values.erase(FoldCase(name)) ? 0 : kErrorFileNotFound;
}

int32_t EmulatedRegistry::CloseKey(uint64_t key_id) {
  if (RootName(key_id).size()) return 0;
  return open_.erase(key_id) ? 0 : kErrorInvalidHandle;
}

int32_t EmulatedRegistry::QueryValue(uint64_t root, WStringView sub_key, WStringView name, uint32_t* type,
                                     std::vector<uint8_t>* data) const {
  Key* key = FindBelow(RootKey(root), sub_key);
  if (!key) return kErrorFileNotFound;
  auto it = key->values.find(FoldCase(name));
  if (it == key->values.end()) return kErrorFileNotFound;
  *type = it->second.second.type;
  *data = it->second.second.data;
  return 0;
}

WString EmulatedRegistry::PathOf(uint64_t key_id) const {
  auto it = open_.find(key_id);
  return it == open_.end() ? RootName(key_id) : it->second.path;
}
