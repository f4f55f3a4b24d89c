#include "disk_test_support.h"

namespace {

class DirectoryCreation : public DiskTest {};

// Every level is created from the top, and the last level entered decides.
TEST_F(DirectoryCreation, WalksTheLevelsFromTheTop) {
  os_.fs().WriteFile(u"C:\\data\\file.txt", "x");
  os_.fs().AddShare(u"server", u"share");
  const WString blocked = u"C:\\data\\file.txt\\x\\y";
  struct Case {
    const char16_t* path;
    std::vector<std::string> created;  // every creation attempted, in order
    WString error = {};
  } cases[] = {
      {u"C:\\new\\a\\b", {"C:\\new", "C:\\new\\a", "C:\\new\\a\\b"}},
      {u"C:\\", {}},
      {u"C:\\e\\\\f", {"C:\\e", "C:\\e\\", "C:\\e\\\\f"}},
      {u"C:walked\\b", {"C:\\walked", "C:\\walked\\b"}},  // from the root
      {u"\\\\server\\share\\dir", {"\\\\server\\share", "\\\\server\\share\\dir"}},
      {blocked.c_str(), {"C:\\data", "C:\\data\\file.txt", "C:\\data\\file.txt\\x", "C:\\data\\file.txt\\x\\y"},
       Message(err::kPathNotFound, blocked)},
      {u"", {}, kInternalError},
      {u"C:\\a*b\\c", {}, kInternalError},
  };
  for (const Case& c : cases) {
    size_t before = Calls(Op::CreateDirectory).size();
    disk_.error_message = u"stale";
    EXPECT_EQ(disk_.CreateDirectory(c.path), c.error.empty()) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.error) << ToUtf8(c.path);
    std::vector<std::string> calls = Calls(Op::CreateDirectory);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + before, calls.end()), c.created) << ToUtf8(c.path);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.path);
  }
  for (const char16_t* made : {u"C:\\new\\a\\b", u"C:\\e\\f", u"C:\\walked\\b", u"\\\\server\\share\\dir"})
    EXPECT_TRUE(os_.fs().IsDirectory(made)) << ToUtf8(made);
  EXPECT_EQ(os_.fs().ReadFileBytes(u"C:\\data\\file.txt"), std::optional<std::string>("x"));
}

}  // namespace
