#include "disk_test_support.h"

namespace {

class DirectoryCreation : public DiskTest {
 protected:
  void SetUp() override {
    os_.fs().MakeDirectories(u"C:\\docs");
    os_.fs().WriteFile(u"C:\\data\\file.txt", "x");
    os_.fs().MakeDirectories(u"C:\\locked");
    os_.fs().DenyEnter(u"C:\\locked");
    os_.fs().AddShare(u"server", u"share");
  }
};

TEST_F(DirectoryCreation, WalksTheLevelsFromTheTop) {
  struct Case {
    const char16_t* path;
    std::vector<std::string> created;  // every creation attempted, in order
    const char16_t* now_exists;
  } cases[] = {
      {u"C:\\new\\a\\b", {"C:\\new", "C:\\new\\a", "C:\\new\\a\\b"}, u"C:\\new\\a\\b"},
      {u"C:/slashed/", {"C:\\slashed"}, u"C:\\slashed"},
      {u"C:\\docs", {"C:\\docs"}, u"C:\\docs"},
      {u"C:\\", {}, u"C:\\"},
      {u"rel\\x", {"C:\\data", "C:\\data\\work", "C:\\data\\work\\rel", "C:\\data\\work\\rel\\x"},
       u"C:\\data\\work\\rel\\x"},
      {u"..\\up", {"C:\\data", "C:\\data\\up"}, u"C:\\data\\up"},
      {u"C:\\e\\\\f", {"C:\\e", "C:\\e\\", "C:\\e\\\\f"}, u"C:\\e\\f"},
      {u"C:walked\\b", {"C:\\walked", "C:\\walked\\b"}, u"C:\\walked\\b"},  // from the root
      {u"\\\\server\\share\\dir\\sub",
       {"\\\\server\\share", "\\\\server\\share\\dir", "\\\\server\\share\\dir\\sub"},
       u"\\\\server\\share\\dir\\sub"},
  };
  for (const Case& c : cases) {
    os_.ClearFailures();
    size_t logged = os_.log().size();
    disk_.error_message = u"stale";
    EXPECT_TRUE(disk_.CreateDirectory(c.path)) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, u"") << ToUtf8(c.path);
    std::vector<std::string> created;
    for (size_t i = logged; i < os_.log().size(); ++i)
      if (os_.log()[i].rfind("CreateDirectory ", 0) == 0) created.push_back(os_.log()[i].substr(16));
    EXPECT_EQ(created, c.created) << ToUtf8(c.path);
    EXPECT_TRUE(os_.fs().IsDirectory(c.now_exists)) << ToUtf8(c.path);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.path);
  }
}

TEST_F(DirectoryCreation, ReportsTheFinalAttemptToEnter) {
  os_.fs().MakeDirectories(u"C:\\readonly");
  os_.fs().DenyWrite(u"C:\\readonly");
  const WString internal = kInternalError;
  struct Case {
    const char16_t* path;
    WString error;
    size_t creations;
  } cases[] = {
      {u"C:\\data\\file.txt\\x\\y", Message(err::kPathNotFound, u"C:\\data\\file.txt\\x\\y"), 4},
      {u"C:\\locked", Message(err::kAccessDenied, u"C:\\locked"), 1},
      // The creation was refused (5); the entry is what is reported.
      {u"C:\\readonly\\new", Message(err::kFileNotFound, u"C:\\readonly\\new"), 2},
      {u"\\\\server", Message(161, u"\\\\server"), 0},
      {u"\\\\nobody\\share\\x", Message(err::kBadNetPath, u"\\\\nobody\\share\\x"), 2},
      {u"", internal, 0},
      {u"C:\\a*b\\c", internal, 0},
      {u"C:\\x\\y:z", internal, 0},
  };
  for (const Case& c : cases) {
    size_t before = Calls(Op::CreateDirectory).size();
    EXPECT_FALSE(disk_.CreateDirectory(c.path)) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.error) << ToUtf8(c.path);
    EXPECT_EQ(Calls(Op::CreateDirectory).size() - before, c.creations) << ToUtf8(c.path);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.path);
  }
  EXPECT_EQ(os_.fs().ReadFileBytes(u"C:\\data\\file.txt"), std::optional<std::string>("x"));
}

}  // namespace
