// The disk operations against the real calls and real folders.
#include <gtest/gtest.h>

#include "disk/disk_object.h"
#include "platform/platform.h"
#include "support/scratch_folder.h"

namespace {

WString CurrentDirectory() {
  WString buffer(4096, u'\0');
  buffer.resize(platform().GetCurrentDirectory(4096, buffer.data()));
  return buffer;
}

class DiskObjectOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = CurrentDirectory();
    work_ = scratch_.path() + u"\\work";
    scratch_.PutDirectory(work_);
    ASSERT_TRUE(platform().SetCurrentDirectory(work_.c_str()));
  }
  void TearDown() override { platform().SetCurrentDirectory(original_.c_str()); }

  ScratchFolder scratch_;
  WString original_;
  WString work_;
  CDiskObject disk_;
};

TEST_F(DiskObjectOnWindows, ExistenceAndThreeLevelCreation) {
  scratch_.PutFile(scratch_.path() + u"\\file.txt", "x");
  const WString deep = scratch_.path() + u"\\one\\two\\three";
  EXPECT_FALSE(disk_.DirectoryExists(deep));
  EXPECT_TRUE(disk_.CreateDirectory(deep));
  EXPECT_TRUE(scratch_.IsDirectory(deep));
  EXPECT_TRUE(disk_.DirectoryExists(u"..\\one\\two\\three"));
  EXPECT_FALSE(disk_.DirectoryExists(scratch_.path() + u"\\file.txt"));
  EXPECT_EQ(disk_.error_message, u"");
  EXPECT_EQ(CurrentDirectory(), work_);
}

TEST_F(DiskObjectOnWindows, CopiesWithReplaceAndStopsAtTheFirstFailure) {
  const WString in = scratch_.path() + u"\\in";
  const WString out = scratch_.path() + u"\\out";
  scratch_.PutDirectory(in);
  scratch_.PutDirectory(out);
  scratch_.PutFile(in + u"\\a.ofx", "new a");
  scratch_.PutFile(in + u"\\c.ofx", "c");
  scratch_.PutFile(out + u"\\a.ofx", "old a");
  CStringArray files;
  files.Add(in + u"\\a.ofx");
  files.Add(u"..\\in\\missing.ofx");
  files.Add(in + u"\\c.ofx");
  EXPECT_FALSE(disk_.CopyFiles(files, out, scratch_.path() + u"\\staging"));
  WString text;
  platform().FormatSystemMessage(err::kFileNotFound, &text);
  while (!text.empty() && text.back() <= u' ') text.pop_back();
  EXPECT_EQ(disk_.error_message, text + u" " + in + u"\\missing.ofx -> " + out + u"\\missing.ofx");
  EXPECT_EQ(scratch_.FileBytes(out + u"\\a.ofx"), std::optional<std::string>("new a"));
  EXPECT_FALSE(scratch_.FileBytes(out + u"\\c.ofx"));
  EXPECT_EQ(CurrentDirectory(), work_);
}

}  // namespace
