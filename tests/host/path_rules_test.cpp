// Paths as the disk operations read them: documents qualified against the
// current folder, boot-file folders anchored at the installation root,
// directories refused for their characters or length, created level by level.
#include "disk/path_rules.h"

#include <gtest/gtest.h>

static WString Qualified(WString path, WStringView current) {
  return QualifyFile(path, current) ? path : path + u" (refused)";
}

TEST(PathRules, ADocumentIsQualifiedAgainstTheCurrentFolder) {
  const WString deep = u"C:\\" + WString(300, u'd') + u"\\a.ofx";
  EXPECT_EQ(Qualified(u"sub/f.txt", u"C:\\d\\w"), u"C:\\d\\w\\sub\\f.txt");
  EXPECT_EQ(Qualified(u"..\\sub\\a.ofx", u"C:\\d\\w"), u"C:\\d\\sub\\a.ofx");
  EXPECT_EQ(Qualified(u"\\docs", u"\\\\srv\\share"), u"\\\\srv\\share\\docs");
  EXPECT_EQ(Qualified(u"\\\\?\\UNC\\srv\\s\\a.qif", u"C:\\w"), u"\\\\?\\UNC\\srv\\s\\a.qif");
  EXPECT_EQ(Qualified(u"C:dir\\a", u"D:\\x"), u"C:dir\\a");
  EXPECT_EQ(Qualified(deep, u"C:\\w"), deep);
  EXPECT_EQ(Qualified(u"a*.ofx", u"C:\\w"), u"C:\\w\\a*.ofx (refused)");
  EXPECT_EQ(Qualified(u"C:\\a:b\\c", u"C:\\w"), u"C:\\a:b\\c (refused)");
  EXPECT_EQ(Qualified(u"C:*.qif", u"C:\\w"), u"C:*.qif (refused)");
}

TEST(PathRules, ADocumentKeepsItsNameInEveryForm) {
  EXPECT_EQ(FileNameOf(u"C:\\d\\a.qif"), u"a.qif");
  EXPECT_EQ(FileNameOf(u"C:a.qif"), u"a.qif");
  EXPECT_EQ(FileNameOf(u"\\\\?\\UNC\\srv\\s\\a.qif"), u"a.qif");
}

TEST(PathRules, ABootFileFolderIsAnchoredAtTheInstallationRootNeverTheCurrentFolder) {
  const WStringView root = u"C:\\P F\\Ledgrix";
  EXPECT_EQ(AnchoredFolder(u"jre", root), u"C:\\P F\\Ledgrix\\jre");
  EXPECT_EQ(AnchoredFolder(u".", root), root);
  EXPECT_EQ(AnchoredFolder(u"..\\..\\..\\jre/", root), u"C:\\jre");
  EXPECT_EQ(AnchoredFolder(u"\\jre", root), u"C:\\jre");
  EXPECT_EQ(AnchoredFolder(u"c:jre", root), u"C:\\P F\\Ledgrix\\jre");
  EXPECT_EQ(AnchoredFolder(u"D:jre", root), u"D:\\jre");
  EXPECT_EQ(AnchoredFolder(u"D:/jre", root), u"D:/jre");
  EXPECT_EQ(AnchoredFolder(u"", root), u"");
  EXPECT_EQ(AnchoredFolder(u"C:jre", u"\\\\srv\\share\\L"), u"C:\\jre");
  EXPECT_EQ(AnchoredFolder(u"\\jre", u"\\\\srv\\share\\L"), u"\\\\srv\\share\\jre");
  EXPECT_EQ(AnchoredFolder(u"jre", u"C:\\"), u"C:\\jre");
}

static WString QualifiedDirectory(WString directory) {
  const uint32_t code = QualifyDirectory(directory);
  return code ? u"error " + DecimalText(code) : directory;
}

// 256 characters, drive included, pass, in whatever form they are written.
TEST(PathRules, ADirectoryOfAnyFormIsRefusedBeyondTheWorkingDirectoryLimit) {
  const auto x = [](size_t count) { return WString(count, u'x'); };
  EXPECT_EQ(QualifiedDirectory(u"C:/a/b"), u"C:\\a\\b\\");
  EXPECT_EQ(QualifiedDirectory(u"a\\b"), u"error 123");
  EXPECT_EQ(QualifiedDirectory(u"C:\\a*"), u"error 123");
  EXPECT_EQ(QualifiedDirectory(u"//srv/*"), u"\\\\srv\\*\\");
  EXPECT_EQ(QualifiedDirectory(u"C:\\" + x(253)), u"C:\\" + x(253) + u"\\");
  EXPECT_EQ(QualifiedDirectory(u"C:\\" + x(254)), u"error 206");
  EXPECT_EQ(QualifiedDirectory(u"\\\\?\\C:\\" + x(253)), u"\\\\?\\C:\\" + x(253) + u"\\");
  EXPECT_EQ(QualifiedDirectory(u"\\\\?\\C:\\" + x(254)), u"error 206");
  EXPECT_EQ(QualifiedDirectory(u"\\\\s\\" + x(252)), u"\\\\s\\" + x(252) + u"\\");
  EXPECT_EQ(QualifiedDirectory(u"\\\\s\\" + x(253)), u"error 206");
  EXPECT_EQ(QualifiedDirectory(u"\\\\?\\UNC\\s\\" + x(252)), u"\\\\?\\UNC\\s\\" + x(252) + u"\\");
  EXPECT_EQ(QualifiedDirectory(u"\\\\?\\UNC\\s\\" + x(253)), u"error 206");
}

static std::vector<WString> RootAndLevels(WStringView directory) {
  std::vector<WString> found(1);
  CreationLevels(directory, &found[0], &found);
  return found;
}

TEST(PathRules, ADirectoryIsCreatedOneLevelAtATimeBelowItsRoot) {
  EXPECT_EQ(RootAndLevels(u"C:\\a\\\\b\\"),
            (std::vector<WString>{u"C:", u"C:\\a", u"C:\\a\\", u"C:\\a\\\\b"}));
  EXPECT_EQ(RootAndLevels(u"C:\\"), std::vector<WString>{u"C:"});
  EXPECT_EQ(RootAndLevels(u"\\\\?\\C:\\a\\"), (std::vector<WString>{u"C:", u"C:\\a"}));
  EXPECT_EQ(RootAndLevels(u"\\\\srv\\share\\d\\"),
            (std::vector<WString>{u"\\\\srv", u"\\\\srv\\share", u"\\\\srv\\share\\d"}));
}
