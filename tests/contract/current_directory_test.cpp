#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

class CurrentDirectoryContract : public ContractTest {
 protected:
  WString Current() {
    WChar buffer[1024] = {};
    return WString(buffer, os().GetCurrentDirectory(1024, buffer));
  }
};

// Code 0: entered, and the current directory reads `now`.
TEST_F(CurrentDirectoryContract, EnteringAndItsRefusals) {
  env_->PutDirectory(scratch() + u"\\a\\b");
  env_->PutFile(scratch() + u"\\file.txt", "x");
  WString slashed = scratch() + u"/a/b/";
  for (WChar& c : slashed)
    if (c == u'\\') c = u'/';
  struct Case {
    WString path;
    uint32_t code;
    WString now = {};
  } cases[] = {
      {slashed, 0, scratch() + u"\\a\\b"},
      {u"a\\b\\..", 0, scratch() + u"\\a"},
      {scratch() + u"\\missing", err::kFileNotFound},
      {scratch() + u"\\missing\\deeper", err::kPathNotFound},
      {scratch() + u"\\file.txt", err::kDirectory},
      {scratch() + u"\\a*b", err::kInvalidName},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(os().SetCurrentDirectory(scratch().c_str()));
    os().SetLastError(0xDEADBEEF);
    EXPECT_EQ(os().SetCurrentDirectory(c.path.c_str()), c.code == 0) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), c.code == 0 ? 0xDEADBEEF : c.code) << ToUtf8(c.path);
    EXPECT_EQ(Current(), c.code == 0 ? c.now : scratch()) << ToUtf8(c.path);
  }
  WChar small[4];
  EXPECT_EQ(os().GetCurrentDirectory(4, small), scratch().size() + 1) << "the size needed, terminator counted";
}

// Windows refuses a current directory that does not fit MAX_PATH with its
// trailing separator (206) unless the program is long-path aware; Wine takes
// it. The emulation follows Windows; the disk operations are tested with both.
TEST_F(CurrentDirectoryContract, ADirectoryBeyondMaxPath) {
  WString deep = scratch();
  while (deep.size() < 300) deep += u"\\level-of-twenty-chr";
  env_->PutDirectory(deep);
  ASSERT_TRUE(env_->IsDirectory(deep));
  bool entered = os().SetCurrentDirectory(deep.c_str());
  if (std::string(env_->kind()) == "emulated") {
    EXPECT_FALSE(entered);
    EXPECT_EQ(os().GetLastError(), err::kFilenameExcedRange);
    return;
  }
  ASSERT_TRUE(entered);
  EXPECT_EQ(Current(), deep);
}

}  // namespace
