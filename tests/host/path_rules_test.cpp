// The disk operations' path rules as values.
#include "disk/path_rules.h"
#include "fake_system.h"

namespace {

TEST(PathRules, QualifiesAgainstTheCurrentDirectory) {
  const WString deep = u"C:\\" + WString(300, u'd') + u"\\a.ofx";
  const std::tuple<WString, const char16_t*, bool, WString> cases[] = {
      {u"file.txt", u"C:\\data\\work", true, u"C:\\data\\work\\file.txt"},
      {u"sub/file.txt", u"C:\\data\\work", true, u"C:\\data\\work\\sub\\file.txt"},
      {u"\\docs\\a.ofx", u"C:\\data\\work", true, u"C:\\docs\\a.ofx"},
      {u"..\\a.ofx", u"C:\\data\\work", true, u"C:\\data\\a.ofx"},
      {u"..\\..\\sub\\a.ofx", u"C:\\data\\work", true, u"C:\\\\sub\\a.ofx"},
      {u"..\\..\\..\\a.ofx", u"C:\\data\\work", true, u"C:\\\\a.ofx"},
      {u"..\\..\\a.ofx", u"\\\\srv\\share\\dir", true, u"\\\\srv\\share\\a.ofx"},
      {u"file.txt", u"C:\\", true, u"C:\\\\file.txt"},
      {u"\\docs\\a", u"\\\\srv\\share", true, u"\\docs\\a"},
      {u"\\\\srv\\share\\a.ofx", u"C:\\x", true, u"\\\\srv\\share\\a.ofx"},
      {u"C:dir\\a", u"D:\\x", true, u"C:dir\\a"},
      {u"C:", u"D:\\x", true, u"C:"},
      {u"\\\\a", u"C:\\w", true, u"C:\\\\a"},
      {u"a*.ofx", u"C:\\w", false, u"C:\\w\\a*.ofx"},
      {u"C:\\a:b\\c", u"C:\\w", false, u"C:\\a:b\\c"},
      {u"C:\\x\\a.of?", u"C:\\w", false, u"C:\\x\\a.of?"},
      {deep, u"C:\\w", true, deep},
      {u"\\\\?\\C:\\a\\b", u"C:\\w", true, u"\\\\?\\C:\\a\\b"},
  };
  for (const auto& [path, current, valid, qualified] : cases) {
    WString actual = path;
    EXPECT_EQ(QualifyFile(actual, current), valid) << Narrow(path);
    EXPECT_EQ(Narrow(actual), Narrow(qualified));
  }
}

TEST(PathRules, QualifiesDirectoriesWithATrailingSeparator) {
  const WString longest = u"C:\\" + WString(253, u'x');  // with its separator, 255 after the drive
  const std::tuple<WString, bool, uint32_t, WString> cases[] = {
      {u"", true, 0, u"C:\\w\\"},
      {u"C:/a/b", true, 0, u"C:\\a\\b\\"},
      {u"\\\\srv\\*\\", true, 0, u"\\\\srv\\*\\"},
      {u"C:\\a?", false, 0, u"C:\\a?\\"},
      {longest, true, 0, longest + u"\\"},
      {longest + u"y", false, kErrorFilenameTooLong, longest + u"y\\"},
  };
  for (const auto& [directory, valid, code, qualified] : cases) {
    WString actual = directory;
    uint32_t actual_code = 99;
    EXPECT_EQ(QualifyDirectory(actual, u"C:\\w", &actual_code), valid) << Narrow(directory);
    EXPECT_EQ(actual_code, code);
    EXPECT_EQ(Narrow(actual), Narrow(qualified));
  }
}

TEST(PathRules, DirectoriesAreCreatedLevelByLevelFromTheTop) {
  const std::tuple<const char16_t*, const char16_t*, std::vector<WString>> cases[] = {
      {u"C:\\a\\b\\", u"C:", {u"C:\\a", u"C:\\a\\b"}},
      {u"C:\\", u"C:", {}},
      {u"C:\\a\\\\b\\", u"C:", {u"C:\\a", u"C:\\a\\", u"C:\\a\\\\b"}},
      {u"\\\\srv\\share\\dir\\", u"\\\\srv", {u"\\\\srv\\share", u"\\\\srv\\share\\dir"}},
      {u"\\\\srv\\", u"\\\\srv", {}},
  };
  for (const auto& [directory, root, levels] : cases) {
    WString actual_root;
    std::vector<WString> actual;
    EXPECT_TRUE(CreationLevels(directory, &actual_root, &actual));
    EXPECT_EQ(actual_root, root) << Narrow(directory);
    EXPECT_EQ(actual, levels) << Narrow(directory);
  }
  WString root;
  std::vector<WString> levels;
  EXPECT_FALSE(CreationLevels(u"\\\\srv\\" + WString(300, u's') + u"\\", &root, &levels));
}

TEST(PathRules, CopiesAreStagedUnderTheProcessesOwnNames) {
  const std::vector<PlannedCopy> expected = {
      {u"C:\\in\\a.ofx", u"S\\9-0.part", u"D\\a.ofx"},
      {u"C:\\w\\b.qif", u"S\\9-2.part", u"D\\b.qif"},
      {u"C:\\w\\x*.qif", u"S\\9-3.part", u"D\\"},
  };
  EXPECT_TRUE(PlanCopies({u"C:\\in\\a.ofx", u"", u"b.qif", u"x*.qif"}, u"D\\", u"S\\", u"C:\\w", 9) == expected);
}

}  // namespace
