// The boot file: where the launcher looks for it, and what its bytes set.
#include "launcher/boot_file.h"

#include <gtest/gtest.h>

static WString BootPathFor(WStringView module_path) {
  return BootPathOf(RootFolderOf(module_path));
}

TEST(BootFile, IsBesideTheExecutableOrAboveItsBinFolder) {
  EXPECT_EQ(BootPathFor(u"C:\\Apps\\Finance\\BiN\\ledgrix.exe"),
            u"C:\\Apps\\Finance\\ledgrix.boot");
  EXPECT_EQ(BootPathFor(u"C:\\Apps\\binaries\\ledgrix.exe"), u"C:\\Apps\\binaries\\ledgrix.boot");
  EXPECT_EQ(RootFolderOf(u"C:\\bin\\ledgrix.exe"), u"C:\\");
  EXPECT_EQ(BootPathFor(u"C:\\ledgrix.exe"), u"C:\\ledgrix.boot");
}

static WString InstallDir(const std::string& bytes) {
  return ParseBootFile(bytes, false).install_dir;
}

TEST(BootFile, TakesAValueAsWrittenAfterItsKey) {
  EXPECT_EQ(InstallDir("   install_dir=\"C:\\A\"  \t\r\n"), u"C:\\A");
  EXPECT_EQ(InstallDir("install_dir= \"C:\\A\"\n"), u" \"C:\\A\"");
  EXPECT_EQ(InstallDir("install_dir=\"C:\\A\n"), u"\"C:\\A");
  EXPECT_EQ(InstallDir("install_dir=\"\n"), u"");
  EXPECT_EQ(InstallDir("install_dir=C:\\A #x = y"), u"C:\\A #x = y");
  EXPECT_EQ(InstallDir("install_dir=C:\\A\ninstall_dir=\n"), u"");
  EXPECT_EQ(InstallDir("install_dir = C:\\A\nINSTALL_DIR=C:\\A\n   #install_dir=C:\\A\n"), u"");
  EXPECT_EQ(InstallDir("\xEF\xBB\xBFinstall_dir=C:\\A\n"), u"");
  EXPECT_EQ(InstallDir("install_dir=C:\\\xC9t\xE9\n"), u"C:\\\u00c9t\u00e9");
  EXPECT_EQ(InstallDir("install_dir=a\rb\r"), u"a\rb");
  EXPECT_EQ(InstallDir(std::string("install_dir=a\0b\n", 16)), u"a");
  EXPECT_EQ(InstallDir("install_dir=a\x1Ainstall_dir=b\n"), u"a");
}

TEST(BootFile, ReadsALineInPiecesOf4095Characters) {
  const std::string key = "install_dir=";
  EXPECT_EQ(InstallDir(key + std::string(4083, 'x') + "\n"), WString(4083, u'x'));
  EXPECT_EQ(InstallDir(key + std::string(4083, 'x') + key + "b\n"), u"b");
}

TEST(BootFile, NeverUsesTheLineAReadErrorCut) {
  EXPECT_EQ(ParseBootFile("install_dir=a\ninstall_dir=C:\\rv3", true).install_dir, u"a");
  EXPECT_EQ(ParseBootFile("install_dir=a\ninstall_dir=C:\\rv3\r", true).install_dir, u"a");
  EXPECT_EQ(ParseBootFile("install_dir=a\x1A", true).install_dir, u"a");
  EXPECT_EQ(ParseBootFile("install_dir=" + std::string(4083, 'x'), true).install_dir,
            WString(4083, u'x'));
}
