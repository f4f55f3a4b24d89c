#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kSentinel = 0xDEADBEEF;

class CurrentDirectoryContract : public ContractTest {
 protected:
  WString Current() {
    WChar buffer[1024] = {};
    uint32_t length = os().GetCurrentDirectory(1024, buffer);
    EXPECT_EQ(WideLength(buffer), length);
    return WString(buffer, length);
  }
  void Enter(const WString& path) { ASSERT_TRUE(os().SetCurrentDirectory(path.c_str())) << ToUtf8(path); }
};

TEST_F(CurrentDirectoryContract, EnteringGivesTheFullPathWithoutTrailingSeparator) {
  env_->PutDirectory(scratch() + u"\\a\\b");
  WString slashed = scratch() + u"/a/b/";
  for (WChar& c : slashed)
    if (c == u'\\') c = u'/';
  struct Case {
    WString from;
    WString path;
    WString now;
  } cases[] = {
      {u"C:\\", scratch() + u"\\a", scratch() + u"\\a"},
      {u"C:\\", scratch() + u"\\a\\", scratch() + u"\\a"},
      {u"C:\\", slashed, scratch() + u"\\a\\b"},
      {u"C:\\", scratch() + u"\\\\a\\\\b", scratch() + u"\\a\\b"},
      {scratch(), u"a", scratch() + u"\\a"},
      {scratch() + u"\\a\\b", u"..", scratch() + u"\\a"},
      {scratch() + u"\\a\\b", u"..\\..\\a", scratch() + u"\\a"},
      {scratch() + u"\\a", u"C:", scratch() + u"\\a"},  // a drive alone: its current directory
      {u"C:\\", u"..", u"C:\\"},                      // no step above the root
      {scratch(), u"C:\\", u"C:\\"},
  };
  for (const Case& c : cases) {
    Enter(c.from);
    os().SetLastError(kSentinel);
    EXPECT_TRUE(os().SetCurrentDirectory(c.path.c_str())) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), kSentinel) << "success leaves the last error alone";
    EXPECT_EQ(Current(), c.now) << ToUtf8(c.from) << " + " << ToUtf8(c.path);
  }
}

TEST_F(CurrentDirectoryContract, KeepsTheSpellingItWasGiven) {
  env_->PutDirectory(scratch() + u"\\Mixed");
  WString lower = scratch() + u"\\mIXED";
  lower[0] = u'c';
  Enter(lower);
  EXPECT_EQ(Current(), lower);
}

TEST_F(CurrentDirectoryContract, RefusalsGiveTheWindowsCodesAndStayPut) {
  env_->PutFile(scratch() + u"\\file.txt", "x");
  struct Case {
    WString path;
    uint32_t code;
  } cases[] = {
      {scratch() + u"\\missing", err::kFileNotFound},
      {scratch() + u"\\missing\\deeper", err::kPathNotFound},
      {scratch() + u"\\file.txt", err::kDirectory},
      {scratch() + u"\\file.txt\\", err::kInvalidName},
      {scratch() + u"\\file.txt\\below", err::kPathNotFound},
      {scratch() + u"\\a*b", err::kInvalidName},
      {scratch() + u"\\a?b", err::kInvalidName},
      {u"", err::kInvalidName},
  };
  Enter(scratch());
  for (const Case& c : cases) {
    os().SetLastError(kSentinel);
    EXPECT_FALSE(os().SetCurrentDirectory(c.path.c_str())) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), c.code) << ToUtf8(c.path);
    EXPECT_EQ(Current(), scratch()) << ToUtf8(c.path);
  }
}

TEST_F(CurrentDirectoryContract, ASmallBufferGetsTheSizeNeeded) {
  Enter(scratch());
  uint32_t length = static_cast<uint32_t>(scratch().size());
  WChar buffer[1024];
  EXPECT_EQ(os().GetCurrentDirectory(4, buffer), length + 1) << "the terminator counts";
  EXPECT_EQ(os().GetCurrentDirectory(length, buffer), length + 1);
  EXPECT_EQ(os().GetCurrentDirectory(length + 1, buffer), length);
  EXPECT_EQ(WString(buffer, length), scratch());
}

// Windows refuses a current directory that does not fit MAX_PATH with its
// trailing separator (206) unless the program is long-path aware; Wine takes
// it. The emulation follows Windows; the disk operations are tested with both.
TEST_F(CurrentDirectoryContract, ADirectoryBeyondMaxPath) {
  WString deep = scratch();
  while (deep.size() < 300) deep += u"\\level-of-twenty-chr";
  env_->PutDirectory(deep);
  ASSERT_TRUE(env_->IsDirectory(deep));
  Enter(scratch());
  os().SetLastError(kSentinel);
  bool entered = os().SetCurrentDirectory(deep.c_str());
  if (std::string(env_->kind()) == "emulated") {
    EXPECT_FALSE(entered);
    EXPECT_EQ(os().GetLastError(), err::kFilenameExcedRange);
    EXPECT_EQ(Current(), scratch());
    return;
  }
  ASSERT_TRUE(entered);
  WChar small[kMaxPath];
  EXPECT_EQ(os().GetCurrentDirectory(kMaxPath, small), deep.size() + 1);
  EXPECT_EQ(Current(), deep);
}

}  // namespace
