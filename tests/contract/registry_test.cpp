#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

std::vector<uint8_t> StringBytes(const WString& text) {
  std::vector<uint8_t> bytes;
  for (WChar c : text) bytes.insert(bytes.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class RegistryContract : public ContractTest {
 protected:
  WString Path(const WString& below) const { return env_->scratch_registry_key() + u"\\" + below; }

  // Creates or opens a key below the scratch key for setting values; answers the disposition.
  uint32_t Open(const WString& below, RegKey* key) {
    uint32_t how = 0;
    EXPECT_EQ(os().RegCreateKeyEx(kHKeyCurrentUser, Path(below).c_str(), kRegOptionNonVolatile, kKeySetValue, key, &how),
              0)
        << ToUtf8(below);
    return how;
  }

  int32_t SetString(RegKey key, const WChar* name, const WString& text) {
    std::vector<uint8_t> bytes = StringBytes(text);
    return os().RegSetValueEx(key, name, kRegSz, bytes.data(), static_cast<uint32_t>(bytes.size()));
  }

  int32_t Query(const WString& below, const WChar* name, std::vector<uint8_t>* data, uint32_t* type = nullptr) {
    uint32_t ignored = 0;
    return os().RegQueryValue(kHKeyCurrentUser, Path(below).c_str(), name, type ? type : &ignored, data);
  }
};

TEST_F(RegistryContract, CreatesEveryMissingKeyAlongThePath) {
  RegKey key = kNullKey;
  EXPECT_EQ(Open(u"a\\b\\c", &key), kRegCreatedNewKey);
  EXPECT_EQ(os().RegCloseKey(key), 0);
  EXPECT_EQ(env_->RegistrySubKeys(Path(u"a")), std::vector<WString>{u"b"});
  EXPECT_EQ(env_->RegistrySubKeys(Path(u"a\\b")), std::vector<WString>{u"c"});
  EXPECT_EQ(Open(u"a\\b\\c", &key), kRegOpenedExistingKey);
  EXPECT_EQ(os().RegCloseKey(key), 0);
}

TEST_F(RegistryContract, StringValueIsStoredWithItsTerminatorByteForByte) {
  RegKey key = kNullKey;
  Open(u"values", &key);
  for (const WString& text : {WString(u""), WString(u"Konto \u00e9\u4e2d\U0001F4B6")}) {
    ASSERT_EQ(SetString(key, u"", text), 0) << ToUtf8(text);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(Query(u"values", u"", &data, &type), 0) << ToUtf8(text);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data.size(), (text.size() + 1) * 2) << ToUtf8(text);
    EXPECT_EQ(data, StringBytes(text)) << ToUtf8(text);
  }
  EXPECT_EQ(os().RegCloseKey(key), 0);
}

TEST_F(RegistryContract, NamesIgnoreLetterCaseAndKeysKeepTheirFirstSpelling) {
  RegKey key = kNullKey;
  Open(u".ofx", &key);
  os().RegCloseKey(key);
  EXPECT_EQ(Open(u".OFX", &key), kRegOpenedExistingKey);
  ASSERT_EQ(SetString(key, u"Command", u"stale"), 0);
  ASSERT_EQ(SetString(key, u"", u"kept"), 0);

  EXPECT_EQ(os().RegDeleteValue(key, u"command"), 0);
  EXPECT_EQ(os().RegDeleteValue(key, u"command"), 2) << "a value that does not exist";
  EXPECT_EQ(os().RegCloseKey(key), 0);

  EXPECT_EQ(env_->RegistrySubKeys(env_->scratch_registry_key()), std::vector<WString>{u".ofx"});
  std::vector<uint8_t> data;
  EXPECT_EQ(Query(u".Ofx", u"Command", &data), 2);
  ASSERT_EQ(Query(u".Ofx", u"", &data), 0) << "the default value stays";
  EXPECT_EQ(data, StringBytes(u"kept"));
}

}  // namespace
