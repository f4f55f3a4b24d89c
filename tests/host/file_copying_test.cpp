#include "disk_test_support.h"

namespace {

class FileCopying : public DiskTest {
 protected:
  void SetUp() override {
    os_.fs().WriteFile(u"C:\\in\\a.ofx", "a");
    os_.fs().WriteFile(u"C:\\in\\c.ofx", "c");
    os_.fs().WriteFile(u"C:\\data\\up.ofx", "up");
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
      {List({u"..\\up.ofx"}), u"incoming\\new", {{u"C:\\data\\work\\incoming\\new\\up.ofx", "up"}}},
      {List({u"C:\\in\\c.ofx"}), u"", {{u"C:\\data\\work\\c.ofx", "c"}}},
  };
  for (const Case& c : cases) {
    disk_.error_message = u"stale";
    EXPECT_TRUE(disk_.CopyFiles(c.files, c.destination, u"C:\\staging")) << ToUtf8(c.destination);
    EXPECT_EQ(disk_.error_message, u"") << ToUtf8(c.destination);
    EXPECT_EQ(Current(), kWork) << ToUtf8(c.destination);
    for (const auto& [path, bytes] : c.expected)
      EXPECT_EQ(Bytes(path), std::optional<std::string>(bytes)) << ToUtf8(path);
  }
  EXPECT_EQ(*os_.fs().Spelling(u"C:\\out\\a.ofx"), u"C:\\out\\A.OFX") << "a replaced file keeps its name";
}

TEST_F(FileCopying, StopsAtTheFirstFailure) {
  EXPECT_FALSE(disk_.CopyFiles(List({u"C:\\in\\a.ofx", u"missing.ofx", u"C:\\in\\c.ofx"}), u"C:\\out", u"C:\\staging"));
  EXPECT_EQ(disk_.error_message,
            Message(err::kFileNotFound, u"C:\\data\\work\\missing.ofx -> C:\\out\\missing.ofx"));
  EXPECT_EQ(Calls(Op::CopyFile).size(), 2u) << "the third is not tried";
  EXPECT_EQ(Bytes(u"C:\\out\\a.ofx"), std::optional<std::string>("a"));
  EXPECT_EQ(Current(), kWork);

  EXPECT_FALSE(disk_.CopyFiles(List({}), u"C:\\never", u"C:\\staging"));
  EXPECT_EQ(disk_.error_message, kInternalError);
  EXPECT_FALSE(os_.fs().IsDirectory(u"C:\\never"));
}

}  // namespace
