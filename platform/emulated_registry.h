#pragma once
// A registry tree: key names compared without regard to letter case and kept
// in the spelling they were created with, values with their type and bytes,
// and keys that refuse writing. Operations answer Win32 status codes.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/wide.h"

class EmulatedRegistry {
 public:
  struct Value {
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool operator==(const Value&) const = default;
  };

  EmulatedRegistry();
  ~EmulatedRegistry();

  // Paths are "HKCR\a\b" style: the root's short name, then the key path.
  std::optional<WString> Spelling(WStringView path) const;
  std::optional<Value> GetValue(WStringView path, WStringView name) const;
  std::vector<WString> ValueNames(WStringView path) const;
  std::vector<WString> SubKeys(WStringView path) const;
  void PutValue(WStringView path, WStringView name, uint32_t type, std::vector<uint8_t> data);
  void PutString(WStringView path, WStringView name, WStringView text);
  // A key that refuses writing refuses creating subkeys below it, setting and
  // deleting its values. Creates the key when missing.
  void DenyWrite(WStringView path, bool deny = true);

  // Operations behind the platform calls. Key ids are opaque and nonzero.
  int32_t CreateKey(uint64_t root, WStringView sub_key, uint32_t access, uint64_t* key_id, uint32_t* disposition);
  int32_t SetValue(uint64_t key_id, WStringView name, uint32_t type, const uint8_t* data, uint32_t size);
  int32_t DeleteValue(uint64_t key_id, WStringView name);
  int32_t CloseKey(uint64_t key_id);
  int32_t QueryValue(uint64_t root, WStringView sub_key, WStringView name, uint32_t* type,
                     std::vector<uint8_t>* data) const;
  size_t open_keys() const { return open_.size(); }
  // Full path of an open key, for logs.
  WString PathOf(uint64_t key_id) const;

 private:
  struct Key;
  Key* Find(WStringView path) const;
  Key* FindBelow(Key* from, WStringView sub_key) const;
  Key* RootKey(uint64_t root) const;

  std::map<WString, std::unique_ptr<Key>> roots_;
  struct OpenKey {
    Key* key;
    WString path;
    uint32_t access;
  };
  std::map<uint64_t, OpenKey> open_;
  uint64_t next_id_ = 0x1000;
};
