#include "disk_test_support.h"

namespace {

class DirectoryExists : public DiskTest {};

TEST_F(DirectoryExists, IsWhetherTheDirectoryCanBeEntered) {
  os_.fs().MakeDirectories(u"C:\\docs");
  os_.fs().MakeDirectories(u"C:\\locked");
  os_.fs().DenyEnter(u"C:\\locked");
  os_.fs().WriteFile(u"C:\\data\\file.txt", "x");
  os_.fs().AddShare(u"server", u"share");
  struct Case {
    const char16_t* path;
    bool exists;
    bool internal_error;
  } cases[] = {
      {u"C:/docs", true, false},
      {u"c:\\DOCS\\", true, false},
      {u"..\\work", true, false},
      {u"\\\\server\\share", true, false},
      {u"C:\\missing", false, false},
      {u"C:\\data\\file.txt", false, false},
      {u"C:\\locked", false, false},
      {u"\\\\server\\share\\a*b", false, false},  // left to the system
      {u"", false, true},
      {u"C:\\a*b", false, true},
      {u"C:\\docs?", false, true},
      {u"C:\\docs\\x:y", false, true},
  };
  for (const Case& c : cases) {
    disk_.error_message = u"stale";
    EXPECT_EQ(disk_.DirectoryExists(c.path), c.exists) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.internal_error ? kInternalError : u"") << ToUtf8(c.path);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.path);
  }
}

}  // namespace
