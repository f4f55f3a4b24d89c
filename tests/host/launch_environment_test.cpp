// The launch checks and the class path built from the boot file's entries.
#include "launcher/launch_environment.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

std::vector<WString> Pieces(const CStringArray& array) {
  std::vector<WString> out;
  for (int i = 0; i < array.GetSize(); ++i) out.push_back(array[i]);
  return out;
}

TEST(SplitString, RecognisesNoDelimiterRightAfterAnother) {
  struct Case {
    const char16_t* source;
    int32_t result;
    std::vector<WString> pieces;
  } cases[] = {
      {u"", 0, {}},
      {u"lib\\app.jar", 0, {}},
      {u"lib\\app.jar;", 1, {u"lib\\app.jar"}},
      {u"a;b", 1, {u"a", u"b"}},
      {u"a;b;", 2, {u"a", u"b"}},
      {u"a;b;c", 2, {u"a", u"b", u"c"}},
      {u"a;;b", 1, {u"a", u";b"}},
      {u"a;b;;", 2, {u"a", u"b", u";"}},
      {u"a; b", 1, {u"a", u" b"}},
      {u"a;;;b", 2, {u"a", u";", u"b"}},
      {u"a;b;c;d", 3, {u"a", u"b", u"c", u"d"}},
      // A leading delimiter records no position, so there is nothing to cut
      // and the class path counts as missing.
      {u";", 0, {}},
      {u";a;b", 0, {}},
      {u";;", 0, {}},
  };
  for (const Case& c : cases) {
    CStringArray pieces;
    EXPECT_EQ(splitString(c.source, u";", pieces), c.result) << ToUtf8(c.source);
    EXPECT_EQ(Pieces(pieces), c.pieces) << ToUtf8(c.source);
  }
}

TEST(SplitString, ALongerDelimiterAndAListThatIsNotEmptied) {
  CStringArray pieces;
  pieces.Add(u"kept");
  EXPECT_EQ(splitString(u"a::b::c", u"::", pieces), 2);
  EXPECT_EQ(Pieces(pieces), (std::vector<WString>{u"kept", u"a", u"b", u"c"}));
  CStringArray adjacent;
  EXPECT_EQ(splitString(u"a::::b", u"::", adjacent), 1);
  EXPECT_EQ(Pieces(adjacent), (std::vector<WString>{u"a", u"::b"}));
}

// An installation at D:\Finance with its runtime in D:\Finance\jre.
struct Installation {
  Installation() : installed(os) {
    os.set_current_directory(u"C:\\");
    os.fs().MakeDirectories(u"D:\\Finance\\jre");
    settings.install_dir = u"D:\\Finance";
    settings.jrehome = u"D:\\Finance\\jre";
    settings.lib_classpath = u"lib\\app.jar;lib\\ext.jar";
  }
  // The exit code when the check ended the process.
  std::optional<uint32_t> Check() {
    try {
      CDiskObject disk;
      checkLaunchEnvironment(settings, disk);
    } catch (const EmulatedExit& exit) {
      return exit.exit_code;
    }
    return std::nullopt;
  }
  // The one fatal box shows the message with the code the failed step left
  // behind, and the process ends with that code (1 when it is 0).
  void ExpectFatal(std::optional<uint32_t> exit_code, const WString& message) {
    ASSERT_TRUE(exit_code.has_value()) << "the check returned";
    ASSERT_EQ(os.boxes().size(), 1u);
    const RecordedBox& box = os.boxes()[0];
    const WString head = message + u"\nledgrix launcher failed with error ";
    ASSERT_EQ(box.text.substr(0, head.size()), head);
    uint32_t code = static_cast<uint32_t>(std::stoul(ToUtf8(box.text.substr(head.size()))));
    WString system_text;
    ASSERT_TRUE(os.FormatSystemMessage(code, &system_text));
    EXPECT_EQ(box.text, head + DecimalText(code) + u": " + system_text + u"\nPlease reinstall the application");
    EXPECT_EQ(box.caption, u"Error");
    EXPECT_EQ(box.style, kMbOk | kMbIconError);
    EXPECT_EQ(*exit_code, code == 0 ? 1u : code);
  }
  EmulatedPlatform os;
  ScopedPlatform installed;
  LaunchSettings settings;
};

TEST(CheckLaunchEnvironment, BuildsTheQuotedClassPath) {
  Installation at;
  EXPECT_EQ(at.Check(), std::nullopt);
  EXPECT_EQ(at.settings.class_path, u"\"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\"");
  EXPECT_EQ(at.settings.class_path.size(), 49u);
  EXPECT_EQ(at.settings.java_home, u"D:\\Finance\\jre");
  EXPECT_TRUE(at.settings.use_jrehome);
  EXPECT_TRUE(at.os.boxes().empty());
}

TEST(CheckLaunchEnvironment, EntriesAreTakenAsTheyStand) {
  struct Case {
    const char16_t* install_dir;
    const char16_t* lib_classpath;
    const char16_t* class_path;
  } cases[] = {
      {u"D:\\Finance", u"lib\\app.jar;", u"\"D:\\Finance\\lib\\app.jar\""},
      {u"D:\\Finance", u"a;;b", u"\"D:\\Finance\\a\";\"D:\\Finance\\;b\""},
      {u"D:\\Finance", u"a;b;;", u"\"D:\\Finance\\a\";\"D:\\Finance\\b\";\"D:\\Finance\\;\""},
      {u"D:\\Finance", u" a ; b ", u"\"D:\\Finance\\ a \";\"D:\\Finance\\ b \""},
      {u"D:\\Finance", u"C:\\other\\x.jar;", u"\"D:\\Finance\\C:\\other\\x.jar\""},
      {u"D:\\Finance\\", u"a;b", u"\"D:\\Finance\\\\a\";\"D:\\Finance\\\\b\""},
  };
  for (const Case& c : cases) {
    Installation at;
    at.settings.install_dir = c.install_dir;
    at.settings.lib_classpath = c.lib_classpath;
    EXPECT_EQ(at.Check(), std::nullopt) << ToUtf8(c.lib_classpath);
    EXPECT_EQ(at.settings.class_path, c.class_path) << ToUtf8(c.lib_classpath);
  }
}

TEST(CheckLaunchEnvironment, AnEmptyJreHomeIsNotTested) {
  Installation at;
  at.settings.jrehome = u"";
  at.settings.java_home = u"stale";
  at.settings.use_jrehome = true;
  EXPECT_EQ(at.Check(), std::nullopt);
  EXPECT_EQ(at.settings.java_home, u"");
  EXPECT_FALSE(at.settings.use_jrehome);
}

TEST(CheckLaunchEnvironment, AMissingInstallationDirectoryIsFatal) {
  Installation at;
  at.settings.install_dir = u"D:\\Elsewhere";
  at.ExpectFatal(at.Check(), u"Could not find installation directory at:\nD:\\Elsewhere");
  EXPECT_TRUE(at.settings.java_home.empty()) << "nothing after the failed test ran";
}

TEST(CheckLaunchEnvironment, AnEmptyInstallationDirectoryIsMissing) {
  Installation at;
  at.settings.install_dir = u"";
  at.os.SetLastError(0);
  at.ExpectFatal(at.Check(), u"Could not find installation directory at:\n");
}

TEST(CheckLaunchEnvironment, AMissingJreIsFatalOnceTheJavaHomeIsSet) {
  Installation at;
  at.settings.jrehome = u"D:\\Finance\\jre8";
  at.ExpectFatal(at.Check(), u"Could not find JRE at:\n\nD:\\Finance\\jre8");
  EXPECT_EQ(at.settings.java_home, u"D:\\Finance\\jre8");
  EXPECT_TRUE(at.settings.use_jrehome);
  EXPECT_TRUE(at.settings.class_path.empty());
}

// Folders of up to 256 characters pass; longer ones are refused before the
// system is asked, and the box says the name is too long.
TEST(CheckLaunchEnvironment, FoldersBeyondTheLimitOfTheCheckAreTooLong) {
  const WString longest = u"D:\\" + WString(253, u'f');
  const WString longer = longest + u"g";
  struct Case {
    WString install_dir;
    WString jrehome;
    std::optional<WString> message;
  } cases[] = {
      {longest, u"D:\\Finance\\jre", std::nullopt},
      {longer, u"", u"Could not find installation directory at:\n" + longer},
      {longest, longer, u"Could not find JRE at:\n\n" + longer},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.install_dir.size());
    Installation at;
    at.os.fs().MakeDirectories(longest);
    at.os.fs().MakeDirectories(longer);
    at.settings.install_dir = c.install_dir;
    at.settings.jrehome = c.jrehome;
    if (!c.message) {
      EXPECT_EQ(at.Check(), std::nullopt);
      continue;
    }
    at.os.SetLastError(0);
    std::optional<uint32_t> exit_code = at.Check();
    at.ExpectFatal(exit_code, *c.message);
    EXPECT_EQ(exit_code, std::optional<uint32_t>(err::kFilenameExcedRange));
  }
}

TEST(CheckLaunchEnvironment, AClassPathWithoutARecordedSeparatorIsMissing) {
  for (const char16_t* lib_classpath : {u"", u"lib\\app.jar", u";lib\\app.jar;"}) {
    SCOPED_TRACE(ToUtf8(lib_classpath));
    Installation at;
    at.settings.lib_classpath = lib_classpath;
    at.ExpectFatal(at.Check(), u"Application classpath is missing\n");
    EXPECT_TRUE(at.settings.class_path.empty());
  }
}

}  // namespace
