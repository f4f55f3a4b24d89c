#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

class FileCopyContract : public ContractTest {};

// Code 0: copied, so `to` holds the source's bytes.
TEST_F(FileCopyContract, CopiesOrGivesTheWindowsCode) {
  const WString source = scratch() + u"\\source.ofx";
  env_->PutFile(source, "new");
  env_->PutDirectory(scratch() + u"\\dest");
  env_->PutFile(scratch() + u"\\dest\\taken.ofx", "old");
  struct Case {
    WString from;
    WString to;
    bool fail_if_exists;
    uint32_t code;
  } cases[] = {
      {source, scratch() + u"\\dest\\taken.ofx", true, err::kFileExists},
      {source, scratch() + u"\\dest\\TAKEN.ofx", false, 0},
      {scratch() + u"\\missing.ofx", scratch() + u"\\dest\\x.ofx", false, err::kFileNotFound},
      {scratch() + u"\\nowhere\\a.ofx", scratch() + u"\\dest\\x.ofx", false, err::kPathNotFound},
      {source, scratch() + u"\\nowhere\\x.ofx", false, err::kPathNotFound},
      {source, scratch() + u"\\dest", false, err::kAccessDenied},
      {scratch() + u"\\*.ofx", scratch() + u"\\dest\\x.ofx", false, err::kInvalidName},
      {source, source, false, err::kSharingViolation},
  };
  for (const Case& c : cases) {
    os().SetLastError(0xDEADBEEF);
    EXPECT_EQ(os().CopyFile(c.from.c_str(), c.to.c_str(), c.fail_if_exists), c.code == 0) << ToUtf8(c.to);
    if (c.code != 0) {
      EXPECT_EQ(os().GetLastError(), c.code) << ToUtf8(c.from) << " -> " << ToUtf8(c.to);
    }
  }
  EXPECT_EQ(env_->FileBytes(scratch() + u"\\dest\\taken.ofx"), std::optional<std::string>("new"));
  EXPECT_EQ(env_->FileBytes(source), std::optional<std::string>("new"));
  EXPECT_FALSE(env_->FileBytes(scratch() + u"\\dest\\x.ofx"));
}

}  // namespace
