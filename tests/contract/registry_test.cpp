#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kKeyQueryValue = 0x0001;

std::vector<uint8_t> StringBytes(const WString& text) {
  std::vector<uint8_t> bytes;
  for (WChar c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class RegistryContract : public ContractTest {
 protected:
  WString Path(const WString& below) const { return env_->scratch_registry_key() + u"\\" + below; }

  // Creates or opens a key below the scratch key for setting values.
  RegKey Open(const WString& below, uint32_t* disposition = nullptr, uint32_t access = kKeySetValue) {
    RegKey key = kNullKey;
    uint32_t how = 0;
    EXPECT_EQ(os().RegCreateKeyEx(kHKeyCurrentUser, Path(below).c_str(), kRegOptionNonVolatile, access, &key, &how), 0)
        << ToUtf8(below);
    if (disposition) *disposition = how;
    return key;
  }

  int32_t SetString(RegKey key, const WChar* name, const WString& text) {
    std::vector<uint8_t> bytes = StringBytes(text);
    return os().RegSetValueEx(key, name, kRegSz, bytes.data(), static_cast<uint32_t>(bytes.size()));
  }

  int32_t Query(const WString& below, const WChar* name, uint32_t* type, std::vector<uint8_t>* data) {
    return os().RegQueryValue(kHKeyCurrentUser, Path(below).c_str(), name, type, data);
  }
};

TEST_F(RegistryContract, CreatesEveryMissingKeyAlongThePath) {
  uint32_t disposition = 0;
  RegKey key = Open(u"a\\b\\c", &disposition);
  ASSERT_NE(key, kNullKey);
  EXPECT_EQ(disposition, kRegCreatedNewKey);
  EXPECT_EQ(os().RegCloseKey(key), 0);
  EXPECT_EQ(env_->RegistrySubKeys(env_->scratch_registry_key()), std::vector<WString>{u"a"});
  EXPECT_EQ(env_->RegistrySubKeys(Path(u"a")), std::vector<WString>{u"b"});
  EXPECT_EQ(env_->RegistrySubKeys(Path(u"a\\b")), std::vector<WString>{u"c"});

  key = Open(u"a\\b\\c", &disposition);
  EXPECT_EQ(disposition, kRegOpenedExistingKey);
  EXPECT_EQ(os().RegCloseKey(key), 0);
}

TEST_F(RegistryContract, StringValueIsStoredWithItsTerminatorByteForByte) {
  struct Case {
    const WChar* name;
    WString text;
    uint32_t size;
  } cases[] = {
      {u"", u"OFX.Document", 26},
      {u"", u"", 2},
      {u"named", u"C:\\Program Files\\Example\\bin\\launcher.exe -I \"%1\"", 100},
      {u"wide", u"Konto \u00e9\u4e2d\U0001F4B6", 22},
  };
  RegKey key = Open(u"values");
  ASSERT_NE(key, kNullKey);
  for (const Case& c : cases) {
    ASSERT_EQ(SetString(key, c.name, c.text), 0) << ToUtf8(c.text);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(Query(u"values", c.name, &type, &data), 0) << ToUtf8(c.text);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data.size(), c.size) << ToUtf8(c.text);
    EXPECT_EQ(data, StringBytes(c.text)) << ToUtf8(c.text);
  }
  EXPECT_EQ(os().RegCloseKey(key), 0);
}

TEST_F(RegistryContract, DeletesANamedValueWhateverItsLetterCase) {
  RegKey key = Open(u"shell\\open\\command");
  ASSERT_EQ(SetString(key, u"Command", u"stale"), 0);
  ASSERT_EQ(SetString(key, u"", u"kept"), 0);

  EXPECT_EQ(os().RegDeleteValue(key, u"command"), 0);
  uint32_t type = 0;
  std::vector<uint8_t> data;
  EXPECT_EQ(Query(u"shell\\open\\command", u"Command", &type, &data), static_cast<int32_t>(err::kFileNotFound));
  EXPECT_EQ(os().RegDeleteValue(key, u"command"), static_cast<int32_t>(err::kFileNotFound))
      << "a value that does not exist";
  ASSERT_EQ(Query(u"shell\\open\\command", u"", &type, &data), 0) << "the default value stays";
  EXPECT_EQ(data, StringBytes(u"kept"));
  EXPECT_EQ(os().RegCloseKey(key), 0);
}

TEST_F(RegistryContract, KeyNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  os().RegCloseKey(Open(u".ofx"));
  uint32_t disposition = 0;
  RegKey key = Open(u".OFX", &disposition);
  EXPECT_EQ(disposition, kRegOpenedExistingKey);
  ASSERT_EQ(SetString(key, u"", u"OFX.Document"), 0);
  EXPECT_EQ(os().RegCloseKey(key), 0);

  EXPECT_EQ(env_->RegistrySubKeys(env_->scratch_registry_key()), std::vector<WString>{u".ofx"});
  uint32_t type = 0;
  std::vector<uint8_t> data;
  ASSERT_EQ(Query(u".Ofx", u"", &type, &data), 0);
  EXPECT_EQ(data, StringBytes(u"OFX.Document"));
}

TEST_F(RegistryContract, AClosedKeyIsNoLongerUsable) {
  RegKey key = Open(u"closing");
  ASSERT_EQ(os().RegCloseKey(key), 0);
  EXPECT_EQ(SetString(key, u"", u"late"), static_cast<int32_t>(err::kInvalidHandle));
  EXPECT_EQ(os().RegCloseKey(key), static_cast<int32_t>(err::kInvalidHandle));
}

TEST_F(RegistryContract, AKeyOpenedOnlyForReadingRefusesWrites) {
  os().RegCloseKey(Open(u"reading"));
  RegKey key = Open(u"reading", nullptr, kKeyQueryValue);
  EXPECT_EQ(SetString(key, u"", u"x"), static_cast<int32_t>(err::kAccessDenied));
  EXPECT_EQ(os().RegDeleteValue(key, u"x"), static_cast<int32_t>(err::kAccessDenied));
  os().RegCloseKey(key);
}

}  // namespace
