#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

class DirectoryCreationContract : public ContractTest {};

// Code 0: created, as `made`.
TEST_F(DirectoryCreationContract, CreatesOneLevelOrGivesTheWindowsCode) {
  env_->PutDirectory(scratch() + u"\\dir");
  env_->PutFile(scratch() + u"\\file.txt", "x");
  ASSERT_TRUE(os().SetCurrentDirectory(scratch().c_str()));
  // Windows answers 5 for a drive root, Wine 183. The emulation follows
  // Windows: the launcher never looks at why a creation failed.
  const uint32_t root = std::string(env_->kind()) == "win32" ? err::kAlreadyExists : err::kAccessDenied;
  struct Case {
    WString path;
    uint32_t code;
    WString made = {};
  } cases[] = {
      {scratch() + u"\\trailing\\", 0, scratch() + u"\\trailing"},
      {u"relative", 0, scratch() + u"\\relative"},
      {scratch() + u"\\DIR\\", err::kAlreadyExists},
      {scratch() + u"\\file.txt", err::kAlreadyExists},
      {scratch() + u"\\missing\\level", err::kPathNotFound},
      {scratch() + u"\\file.txt\\level", err::kPathNotFound},
      {scratch() + u"\\a*b", err::kInvalidName},
      {u"C:\\", root},
  };
  for (const Case& c : cases) {
    os().SetLastError(0xDEADBEEF);
    EXPECT_EQ(os().CreateDirectory(c.path.c_str()), c.code == 0) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), c.code == 0 ? 0xDEADBEEF : c.code) << ToUtf8(c.path);
    EXPECT_TRUE(c.code != 0 || env_->IsDirectory(c.made)) << ToUtf8(c.path);
  }
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\file.txt"), std::optional<std::string>("x"));
}

}  // namespace
