#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kSentinel = 0xDEADBEEF;

class DirectoryCreationContract : public ContractTest {};

TEST_F(DirectoryCreationContract, CreatesOneLevelWhateverTheSeparators) {
  env_->PutDirectory(scratch() + u"\\Existing");
  WString slashed = scratch() + u"/slashed/";
  for (WChar& c : slashed)
    if (c == u'\\') c = u'/';
  struct Case {
    WString path;
    WString made;
  } cases[] = {
      {scratch() + u"\\plain", scratch() + u"\\plain"},
      {scratch() + u"\\trailing\\", scratch() + u"\\trailing"},
      {slashed, scratch() + u"\\slashed"},
      {scratch() + u"\\\\doubled", scratch() + u"\\doubled"},
      {scratch() + u"\\Existing\\inner", scratch() + u"\\existing\\INNER"},
  };
  for (const Case& c : cases) {
    os().SetLastError(kSentinel);
    EXPECT_TRUE(os().CreateDirectory(c.path.c_str())) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), kSentinel) << ToUtf8(c.path);
    EXPECT_TRUE(env_->IsDirectory(c.made)) << ToUtf8(c.path);
  }
}

TEST_F(DirectoryCreationContract, RefusalsGiveTheWindowsCodes) {
  env_->PutDirectory(scratch() + u"\\dir");
  env_->PutFile(scratch() + u"\\file.txt", "x");
  struct Case {
    WString path;
    uint32_t code;
  } cases[] = {
      {scratch() + u"\\dir", err::kAlreadyExists},
      {scratch() + u"\\DIR\\", err::kAlreadyExists},
      {scratch() + u"\\file.txt", err::kAlreadyExists},
      {scratch() + u"\\missing\\level", err::kPathNotFound},
      {scratch() + u"\\file.txt\\level", err::kPathNotFound},
      {scratch() + u"\\a*b", err::kInvalidName},
      {scratch() + u"\\a?b", err::kInvalidName},
      {u"", err::kPathNotFound},
  };
  for (const Case& c : cases) {
    os().SetLastError(kSentinel);
    EXPECT_FALSE(os().CreateDirectory(c.path.c_str())) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), c.code) << ToUtf8(c.path);
  }
  EXPECT_FALSE(env_->IsDirectory(scratch() + u"\\missing"));
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\file.txt"), std::optional<std::string>("x"));
}

// Windows answers 5 for a drive root, Wine 183. The emulation follows Windows:
// the launcher never looks at why a creation failed.
TEST_F(DirectoryCreationContract, ADriveRootIsNeverCreated) {
  os().SetLastError(kSentinel);
  EXPECT_FALSE(os().CreateDirectory(u"C:\\"));
  uint32_t expected = std::string(env_->kind()) == "win32" ? err::kAlreadyExists : err::kAccessDenied;
  EXPECT_EQ(os().GetLastError(), expected);
}

TEST_F(DirectoryCreationContract, ARelativePathFollowsTheCurrentDirectory) {
  ASSERT_TRUE(os().SetCurrentDirectory(scratch().c_str()));
  EXPECT_TRUE(os().CreateDirectory(u"relative"));
  EXPECT_TRUE(os().CreateDirectory(u"relative\\..\\sibling"));
  EXPECT_TRUE(env_->IsDirectory(scratch() + u"\\relative"));
  EXPECT_TRUE(env_->IsDirectory(scratch() + u"\\sibling"));
}

}  // namespace
