#include "disk_test_support.h"

namespace {

class FileCopying : public DiskTest {
 protected:
  void SetUp() override {
    os_.fs().WriteFile(u"C:\\in\\a.ofx", "a");
    os_.fs().WriteFile(u"C:\\in\\c.ofx", "c");
    os_.fs().WriteFile(u"C:\\in2\\a.ofx", "a2");
    os_.fs().WriteFile(u"C:\\data\\up.ofx", "up");
    os_.fs().WriteFile(u"C:\\data\\work\\here.ofx", "here");
  }
  static CStringArray List(std::initializer_list<const char16_t*> entries) {
    CStringArray list;
    for (const char16_t* entry : entries) list.Add(entry);
    return list;
  }
  std::optional<std::string> Bytes(const char16_t* path) { return os_.fs().ReadFileBytes(path); }
};

TEST_F(FileCopying, CopiesEveryEntryKeepingItsName) {
  os_.fs().WriteFile(u"C:\\out\\A.OFX", "old");
  struct Case {
    CStringArray files;
    const char16_t* destination;
    std::vector<std::pair<const char16_t*, const char*>> expected;
  } cases[] = {
      {List({u"C:\\in\\a.ofx"}), u"C:\\out", {{u"C:\\out\\A.OFX", "a"}}},  // replaced
      {List({u"", u"C:\\in\\a.ofx", u"", u"C:/in/c.ofx", u""}), u"C:\\empties",
       {{u"C:\\empties\\a.ofx", "a"}, {u"C:\\empties\\c.ofx", "c"}}},
      {List({u"", u""}), u"C:\\only\\empties", {}},
      {List({u"..\\up.ofx", u"here.ofx"}), u"incoming\\new",
       {{u"C:\\data\\work\\incoming\\new\\up.ofx", "up"}, {u"C:\\data\\work\\incoming\\new\\here.ofx", "here"}}},
      {List({u"C:\\in\\c.ofx"}), u"", {{u"C:\\data\\work\\c.ofx", "c"}}},
      {List({u"C:\\in\\a.ofx", u"C:\\in2\\a.ofx"}), u"C:\\same", {{u"C:\\same\\a.ofx", "a2"}}},
  };
  for (const Case& c : cases) {
    disk_.error_message = u"stale";
    EXPECT_TRUE(disk_.CopyFiles(c.files, c.destination)) << ToUtf8(c.destination);
    EXPECT_EQ(disk_.error_message, u"") << ToUtf8(c.destination);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.destination);
    for (const auto& [path, bytes] : c.expected)
      EXPECT_EQ(Bytes(path), std::optional<std::string>(bytes)) << ToUtf8(path);
  }
  EXPECT_TRUE(os_.fs().IsDirectory(u"C:\\only\\empties"));
  EXPECT_EQ(*os_.fs().Spelling(u"C:\\out\\a.ofx"), u"C:\\out\\A.OFX") << "a replaced file keeps its name";
}

TEST_F(FileCopying, StopsAtTheFirstFailure) {
  os_.fs().WriteFile(u"C:\\blocked", "a file where the destination should be");
  os_.fs().MakeDirectories(u"C:\\readonly");
  os_.fs().DenyWrite(u"C:\\readonly");
  const WString internal = kInternalError;
  struct Case {
    CStringArray files;
    const char16_t* destination;
    WString error;
    size_t copies_tried;
  } cases[] = {
      {List({u"C:\\in\\a.ofx", u"C:\\in\\missing.ofx", u"C:\\in\\c.ofx"}), u"C:\\out",
       Message(err::kFileNotFound, u"C:\\in\\missing.ofx -> C:\\out\\missing.ofx"), 2},
      {List({u"gone.ofx"}), u"C:\\out", Message(err::kFileNotFound, u"C:\\data\\work\\gone.ofx -> C:\\out\\gone.ofx"), 1},
      {List({u"C:\\in\\*.ofx", u"C:\\in\\c.ofx"}), u"C:\\out",
       Message(err::kInvalidName, u"C:\\in\\*.ofx -> C:\\out\\"), 1},
      {List({u"C:\\in\\a.ofx"}), u"C:\\readonly", Message(err::kAccessDenied, u"C:\\in\\a.ofx -> C:\\readonly\\a.ofx"), 1},
      {List({u"C:\\in\\a.ofx"}), u"C:\\blocked", Message(err::kDirectory, u"C:\\blocked"), 0},
      {List({u"C:\\in\\a.ofx"}), u"C:\\out*", internal, 0},
      {List({}), u"C:\\never", internal, 0},
  };
  for (const Case& c : cases) {
    size_t before = Calls(Op::CopyFile).size();
    EXPECT_FALSE(disk_.CopyFiles(c.files, c.destination)) << ToUtf8(c.destination);
    EXPECT_EQ(disk_.error_message, c.error) << ToUtf8(c.destination);
    EXPECT_EQ(Calls(Op::CopyFile).size() - before, c.copies_tried) << ToUtf8(c.destination);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.destination);
  }
  EXPECT_EQ(Bytes(u"C:\\out\\a.ofx"), std::optional<std::string>("a")) << "copies before the failure stay";
  EXPECT_FALSE(Bytes(u"C:\\out\\c.ofx"));
  EXPECT_FALSE(os_.fs().IsDirectory(u"C:\\never"));
}

}  // namespace
