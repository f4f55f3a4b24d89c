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
    const char16_t* delimiter;
    int32_t result;
    std::vector<WString> pieces;
  } cases[] = {
      {u"lib\\app.jar", u";", 0, {}},
      {u"lib\\app.jar;", u";", 1, {u"lib\\app.jar"}},
      {u"a;b;c", u";", 2, {u"a", u"b", u"c"}},
      {u"a;;b", u";", 1, {u"a", u";b"}},
      {u"a;;;b", u";", 2, {u"a", u";", u"b"}},
      {u";a;b", u";", 0, {}},  // a leading delimiter records no position
      {u"a::b::c", u"::", 2, {u"a", u"b", u"c"}},
  };
  for (const Case& c : cases) {
    CStringArray pieces;
    EXPECT_EQ(splitString(c.source, c.delimiter, pieces), c.result) << ToUtf8(c.source);
    EXPECT_EQ(Pieces(pieces), c.pieces) << ToUtf8(c.source);
  }
  CStringArray kept;
  kept.Add(u"kept");
  splitString(u"a;b", u";", kept);
  EXPECT_EQ(Pieces(kept), (std::vector<WString>{u"kept", u"a", u"b"}));
}

const WString kLongest = u"D:\\" + WString(253, u'f');  // the longest folder the check accepts
const WString kLonger = kLongest + u"g";

// D:\Finance with its runtime in D:\Finance\jre, and beside it the longest
// folder the check accepts and a longer one.
struct Installation {
  Installation() : installed(os) {
    os.set_current_directory(u"C:\\");
    for (const WString& folder : {WString(u"D:\\Finance\\jre"), kLongest, kLonger}) os.fs().MakeDirectories(folder);
  }
  // The exit code when the check ended the process.
  std::optional<uint32_t> Check(const WString& install_dir, const WString& jrehome, const WString& lib_classpath) {
    settings.install_dir = install_dir;
    settings.jrehome = jrehome;
    settings.lib_classpath = lib_classpath;
    settings.java_home = u"stale";
    try {
      CDiskObject disk;
      checkLaunchEnvironment(settings, disk);
    } catch (const EmulatedExit& exit) {
      return exit.exit_code;
    }
    return std::nullopt;
  }
  EmulatedPlatform os;
  ScopedPlatform installed;
  LaunchSettings settings;
};

TEST(CheckLaunchEnvironment, BuildsTheQuotedClassPathFromEntriesAsTheyStand) {
  struct Case {
    WString install_dir;
    const char16_t* jrehome;  // empty: not tested, no java home
    const char16_t* lib_classpath;
    WString class_path;
  } cases[] = {
      {u"D:\\Finance", u"D:\\Finance\\jre", u"lib\\app.jar;lib\\ext.jar",
       u"\"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\""},  // 49 characters
      {u"D:\\Finance", u"", u"a;b;;", u"\"D:\\Finance\\a\";\"D:\\Finance\\b\";\"D:\\Finance\\;\""},
      {u"D:\\Finance", u"", u" a ;C:\\x.jar", u"\"D:\\Finance\\ a \";\"D:\\Finance\\C:\\x.jar\""},
      {u"D:\\Finance\\", u"", u"a;", u"\"D:\\Finance\\\\a\""},
      {u"D:\\Finance", u"", u"classes\\;b\\\\;", u"\"D:\\Finance\\classes\\\\\";\"D:\\Finance\\b\\\\\\\\\""},
      {kLongest, u"", u"a;", u"\"" + kLongest + u"\\a\""},
  };
  for (const Case& c : cases) {
    Installation at;
    EXPECT_EQ(at.Check(c.install_dir, c.jrehome, c.lib_classpath), std::nullopt) << ToUtf8(c.lib_classpath);
    EXPECT_EQ(at.settings.class_path, c.class_path) << ToUtf8(c.lib_classpath);
    EXPECT_EQ(at.settings.java_home, c.jrehome);
    EXPECT_EQ(at.settings.use_jrehome, !at.settings.java_home.empty());
  }
}

// A failed check shows one box with the code the failed step left and ends
// the process with it (1 for 0); a folder beyond the limit is refused before
// the system is asked, as too long.
TEST(CheckLaunchEnvironment, EachFailedCheckIsFatal) {
  struct Case {
    WString install_dir;
    WString jrehome;
    const char16_t* lib_classpath;
    WString message;
    std::optional<uint32_t> code;
  } cases[] = {
      {u"D:\\Elsewhere", u"", u"a;", u"Could not find installation directory at:\nD:\\Elsewhere", std::nullopt},
      {kLonger, u"", u"a;", u"Could not find installation directory at:\n" + kLonger, 206},
      {u"D:\\Finance", u"D:\\Finance\\jre8", u"a;", u"Could not find JRE at:\n\nD:\\Finance\\jre8", std::nullopt},
      {u"D:\\Finance", kLonger, u"a;", u"Could not find JRE at:\n\n" + kLonger, 206},
      {u"D:\\Finance", u"", u"lib\\app.jar", u"Application classpath is missing\n", std::nullopt},
      {u"D:\\Finance", u"", u";lib\\app.jar;", u"Application classpath is missing\n", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.message));
    Installation at;
    at.os.SetLastError(0);
    std::optional<uint32_t> exit_code = at.Check(c.install_dir, c.jrehome, c.lib_classpath);
    ASSERT_TRUE(exit_code.has_value()) << "the check returned";
    ASSERT_EQ(at.os.boxes().size(), 1u);
    const WString& text = at.os.boxes()[0].text;
    const WString head = c.message + u"\nledgrix launcher failed with error ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    uint32_t code = static_cast<uint32_t>(std::stoul(ToUtf8(text.substr(head.size()))));
    EXPECT_EQ(*exit_code, code == 0 ? 1u : code);
    if (c.code) {
      EXPECT_EQ(code, *c.code);
    }
    EXPECT_TRUE(at.settings.class_path.empty());
  }
}

}  // namespace
