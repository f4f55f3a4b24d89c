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

  // What the disk object makes of a system error code and a detail.
  static WString Message(uint32_t code, const WString& detail) {
    WString text;
    platform().FormatSystemMessage(code, &text);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
    return text + u" " + detail;
  }

  ScratchFolder scratch_;
  WString original_;
  WString work_;
  CDiskObject disk_;
};

TEST_F(DiskObjectOnWindows, DirectoryExistsOnRealFolders) {
  scratch_.PutDirectory(scratch_.path() + u"\\dir");
  scratch_.PutFile(scratch_.path() + u"\\file.txt", "x");
  WString slashed = scratch_.path() + u"/dir/";
  for (WChar& c : slashed)
    if (c == u'\\') c = u'/';
  struct Case {
    WString path;
    bool exists;
  } cases[] = {
      {scratch_.path() + u"\\dir", true},
      {slashed, true},
      {u"..\\dir", true},
      {u"..", true},
      {scratch_.path() + u"\\file.txt", false},
      {scratch_.path() + u"\\missing", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(disk_.DirectoryExists(c.path), c.exists) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, u"") << ToUtf8(c.path);
    EXPECT_EQ(CurrentDirectory(), work_) << ToUtf8(c.path);
  }
}

TEST_F(DiskObjectOnWindows, CreatesThreeLevelsAndReportsAFileInTheWay) {
  const WString deep = scratch_.path() + u"\\one\\two\\three";
  EXPECT_TRUE(disk_.CreateDirectory(deep));
  EXPECT_EQ(disk_.error_message, u"");
  EXPECT_TRUE(scratch_.IsDirectory(deep));
  EXPECT_EQ(CurrentDirectory(), work_);

  EXPECT_TRUE(disk_.CreateDirectory(u"relative\\level"));
  EXPECT_TRUE(scratch_.IsDirectory(work_ + u"\\relative\\level"));
  EXPECT_EQ(CurrentDirectory(), work_);

  scratch_.PutFile(scratch_.path() + u"\\file.txt", "x");
  const WString blocked = scratch_.path() + u"\\file.txt\\x\\y";
  EXPECT_FALSE(disk_.CreateDirectory(blocked));
  EXPECT_EQ(disk_.error_message, Message(err::kPathNotFound, blocked));
  EXPECT_EQ(scratch_.FileBytes(scratch_.path() + u"\\file.txt"), std::optional<std::string>("x"));
  EXPECT_EQ(CurrentDirectory(), work_);
}

TEST_F(DiskObjectOnWindows, CopiesWithReplaceAndStopsAtTheFirstFailure) {
  const WString in = scratch_.path() + u"\\in";
  const WString out = scratch_.path() + u"\\out\\incoming";
  scratch_.PutDirectory(in);
  scratch_.PutFile(in + u"\\a.ofx", "new a");
  scratch_.PutFile(in + u"\\c.ofx", "c");
  scratch_.PutDirectory(out);
  scratch_.PutFile(out + u"\\a.ofx", "old a");

  CStringArray files;
  files.Add(in + u"\\a.ofx");
  files.Add(u"..\\in\\missing.ofx");
  files.Add(in + u"\\c.ofx");
  EXPECT_FALSE(disk_.CopyFiles(files, out));
  EXPECT_EQ(disk_.error_message,
            Message(err::kFileNotFound, in + u"\\missing.ofx -> " + out + u"\\missing.ofx"));
  EXPECT_EQ(scratch_.FileBytes(out + u"\\a.ofx"), std::optional<std::string>("new a"));
  EXPECT_FALSE(scratch_.FileBytes(out + u"\\c.ofx"));
  EXPECT_EQ(CurrentDirectory(), work_);

  CStringArray good;
  good.Add(u"");
  good.Add(in + u"/c.ofx");
  EXPECT_TRUE(disk_.CopyFiles(good, u"fresh"));
  EXPECT_EQ(disk_.error_message, u"");
  EXPECT_EQ(scratch_.FileBytes(work_ + u"\\fresh\\c.ofx"), std::optional<std::string>("c"));
  EXPECT_EQ(CurrentDirectory(), work_);
}

// Wine, unlike Windows without long-path support, lets a process into a
// directory beyond MAX_PATH: the operations then read it whole and return there.
TEST_F(DiskObjectOnWindows, ReturnsToACurrentDirectoryBeyondMaxPath) {
  WString deep = work_;
  while (deep.size() < 320) deep += u"\\level-of-twenty-chr";
  scratch_.PutDirectory(deep);
  if (!platform().SetCurrentDirectory(deep.c_str())) GTEST_SKIP() << "this system refuses such a directory";
  scratch_.PutDirectory(scratch_.path() + u"\\dir");

  EXPECT_TRUE(disk_.DirectoryExists(scratch_.path() + u"\\dir"));
  EXPECT_EQ(CurrentDirectory(), deep);
  EXPECT_TRUE(disk_.CreateDirectory(scratch_.path() + u"\\made"));
  EXPECT_TRUE(scratch_.IsDirectory(scratch_.path() + u"\\made"));
  EXPECT_EQ(CurrentDirectory(), deep);
  WString path = u"..\\a.ofx";
  EXPECT_TRUE(disk_.QualifyFile(path));
  EXPECT_EQ(path, deep.substr(0, deep.rfind(u'\\')) + u"\\a.ofx");
  EXPECT_EQ(CurrentDirectory(), deep);
}

}  // namespace
