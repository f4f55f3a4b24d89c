#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kSentinel = 0xDEADBEEF;

class FileCopyContract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    env_->PutFile(scratch() + u"\\source.ofx", "new");
    env_->PutDirectory(scratch() + u"\\dest");
  }
};

TEST_F(FileCopyContract, CopiesAndReplacesWhenAllowed) {
  env_->PutFile(scratch() + u"\\dest\\OLD.ofx", "old content");
  struct Case {
    WString target;
    WString check;
  } cases[] = {
      {scratch() + u"\\dest\\fresh.ofx", scratch() + u"\\dest\\fresh.ofx"},
      {scratch() + u"\\dest\\old.ofx", scratch() + u"\\dest\\OLD.ofx"},
      {scratch() + u"/dest/slashed.ofx", scratch() + u"\\dest\\slashed.ofx"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(os().CopyFile((scratch() + u"\\source.ofx").c_str(), c.target.c_str(), false)) << ToUtf8(c.target);
    EXPECT_EQ(env_->FileBytes(c.check), std::optional<std::string>("new")) << ToUtf8(c.target);
  }
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\source.ofx"), std::optional<std::string>("new"));
}

TEST_F(FileCopyContract, RefusalsGiveTheWindowsCodes) {
  env_->PutFile(scratch() + u"\\dest\\taken.ofx", "kept");
  const WString source = scratch() + u"\\source.ofx";
  struct Case {
    WString from;
    WString to;
    bool fail_if_exists;
    uint32_t code;
  } cases[] = {
      {source, scratch() + u"\\dest\\taken.ofx", true, err::kFileExists},
      {scratch() + u"\\missing.ofx", scratch() + u"\\dest\\x.ofx", false, err::kFileNotFound},
      {scratch() + u"\\nowhere\\a.ofx", scratch() + u"\\dest\\x.ofx", false, err::kPathNotFound},
      {source, scratch() + u"\\nowhere\\x.ofx", false, err::kPathNotFound},
      {source, scratch() + u"\\dest\\", false, err::kAccessDenied},
      {source, scratch() + u"\\dest", false, err::kAccessDenied},
      {scratch() + u"\\dest", scratch() + u"\\x.ofx", false, err::kAccessDenied},
      {scratch() + u"\\*.ofx", scratch() + u"\\dest\\x.ofx", false, err::kInvalidName},
      {source, source, false, err::kSharingViolation},
  };
  for (const Case& c : cases) {
    os().SetLastError(kSentinel);
    EXPECT_FALSE(os().CopyFile(c.from.c_str(), c.to.c_str(), c.fail_if_exists)) << ToUtf8(c.from) << " -> "
                                                                                  << ToUtf8(c.to);
    EXPECT_EQ(os().GetLastError(), c.code) << ToUtf8(c.from) << " -> " << ToUtf8(c.to);
  }
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\dest\\taken.ofx"), std::optional<std::string>("kept"));
  EXPECT_EQ(env_->FileBytes(source), std::optional<std::string>("new"));
  EXPECT_FALSE(env_->FileBytes(scratch() + u"\\dest\\x.ofx"));
}

TEST_F(FileCopyContract, RelativeNamesFollowTheCurrentDirectory) {
  ASSERT_TRUE(os().SetCurrentDirectory((scratch() + u"\\dest").c_str()));
  EXPECT_TRUE(os().CopyFile(u"..\\source.ofx", u"here.ofx", false));
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\dest\\here.ofx"), std::optional<std::string>("new"));
}

// Windows refuses a path beyond MAX_PATH unless the program is long-path
// aware; Wine copies it. The emulation copies as Wine does: the launcher hands
// the whole path to the system either way and depends on neither answer.
TEST_F(FileCopyContract, ASourceBeyondMaxPathIsCopied) {
  WString deep = scratch();
  while (deep.size() < 300) deep += u"\\level-of-twenty-chr";
  const WString source = deep + u"\\\u0441\u0447\u0451\u0442 \U0001F4B0.qif";
  env_->PutDirectory(deep);
  env_->PutFile(source, "deep");
  ASSERT_EQ(env_->FileBytes(source), std::optional<std::string>("deep"));
  EXPECT_TRUE(os().CopyFile(source.c_str(), (scratch() + u"\\dest\\deep.qif").c_str(), false));
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\dest\\deep.qif"), std::optional<std::string>("deep"));
}

}  // namespace
