#include "launcher/boot_file.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

WString Extract(const WString& line) {
  WString buffer = line;
  return extractValue(buffer.data());
}

TEST(ExtractValue, CutsBlanksAndOnePairOfQuotes) {
  struct Case {
    const char16_t* line;
    const char16_t* value;
  } cases[] = {
      {u"jrehome=C:\\jre", u"C:\\jre"},
      {u"jrehome=", u""},
      {u"jrehome=\"\"", u""},
      {u"jrehome=\"", u""},  // a lone quote is both the opening and the closing one
      {u"jrehome=\"\"\"", u"\""},
      {u"install_dir=\"C:\\Apps\\Finance\"  \r\n", u"C:\\Apps\\Finance"},
      {u"install_dir= \"C:\\Apps\"", u" \"C:\\Apps\""},  // a blank before the quote keeps both
      {u"install_dir=\"C:\\Apps", u"\"C:\\Apps"},
      {u"install_dir=C:\\Apps\"", u"C:\\Apps\""},
      {u"install_dir=\"C:\\ A \"\t \n", u"C:\\ A "},  // blanks inside the quotes stay
      {u"default_options=-Xms32m -Dfile.encoding=Cp1252  ", u"-Xms32m -Dfile.encoding=Cp1252"},
      {u"default_options= -Xmx256m", u" -Xmx256m"},
      {u"jrehome=C:\\jre #note", u"C:\\jre #note"},
      {u"jrehome='C:\\jre'", u"'C:\\jre'"},
      {u"jrehome=\"\"C:\\jre\"\"", u"\"C:\\jre\""},
      {u"jrehome=a=b", u"a=b"},
      {u"jrehome=\t\r\n", u""},
      {u"jrehome=x\x0b", u"x\x0b"},  // vertical tab is no blank
  };
  for (const Case& c : cases) EXPECT_EQ(Extract(c.line), c.value) << ToUtf8(c.line);
}

TEST(ExtractValue, ReturnsAPointerIntoTheSameBuffer) {
  WString buffer = u"jrehome=\"x\"  ";
  WChar* value = extractValue(buffer.data());
  EXPECT_EQ(value, buffer.data() + 9);
  EXPECT_EQ(WString(value), u"x");
}

class ParseConfigFile : public ::testing::Test {
 protected:
  LaunchSettings Parse(const std::string& bytes) {
    os_.fs().WriteFile(kBootPath, bytes);
    LaunchSettings settings;
    parseConfigFile(kBootPath, settings);
    return settings;
  }
  static constexpr const char16_t* kBootPath = u"C:\\Apps\\Finance\\ledgrix.boot";
  EmulatedPlatform os_;
  ScopedPlatform installed_{os_};
};

TEST_F(ParseConfigFile, ReadsTheWorkedExample) {
  LaunchSettings s = Parse(
      "# written by the installer\n"
      "install_dir = C:\\Apps\\Finance\n"
      "   install_dir=\"C:\\Apps\\Finance\"\n"
      "jrehome=\n"
      "default_options=-Xms32m -Dfile.encoding=Cp1252  \n"
      "lib-classpath=lib\\app.jar;lib\\ofx.jar\n"
      "Jrehome=C:\\jre\n"
      "default_options= -Xmx256m\n");
  EXPECT_EQ(s.default_options, u" -Xmx256m");
  EXPECT_EQ(s.jrehome, u"");
  EXPECT_EQ(s.install_dir, u"C:\\Apps\\Finance");
  EXPECT_EQ(s.lib_classpath, u"lib\\app.jar;lib\\ofx.jar");
  EXPECT_TRUE(s.java_home.empty());
  EXPECT_TRUE(s.class_path.empty());
  EXPECT_FALSE(s.use_jrehome);
}

TEST_F(ParseConfigFile, RecognisesOnlyExactKeysAtTheStartOfALine) {
  struct Case {
    std::string bytes;
    const char16_t* jrehome;
  } cases[] = {
      {"   #jrehome=C:\\jre\n", u""},
      {"jrehome=C:\\jre #comment\n", u"C:\\jre #comment"},
      {"JREHOME=C:\\jre\n", u""},
      {"jrehome =C:\\jre\n", u""},
      {"jrehome\n", u""},
      {" \t jrehome=C:\\jre\r\n", u"C:\\jre"},
      {"\xef\xbb\xbfjrehome=C:\\bom\njrehome=C:\\x\n", u"C:\\x"},
      {"\xef\xbb\xbfjrehome=C:\\bom\n", u""},  // the byte-order mark hides the first line
      {"jrehome=C:\\a\rinstall_dir=C:\\b\r", u"C:\\a\rinstall_dir=C:\\b"},  // CR-only ends
      {std::string("jrehome=C:\\a\0b\n", 14), u"C:\\a"},
      {"jrehome=C:\\a\n\x1ajrehome=C:\\b\n", u"C:\\a"},
      {"jrehome=C:\\a\njrehome=\n", u""},  // the last one wins, also when empty
      {"jrehome=C:\\\xe9t\xe9\n", u"C:\\\u00e9t\u00e9"},
      {"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.bytes).jrehome, c.jrehome) << c.bytes;
}

TEST_F(ParseConfigFile, HandlesLongLinesInPieces) {
  // A line of 4095 characters is whole; a longer one is cut after its 4095th
  // character and the rest is a line of its own, recognised only when it
  // begins with a key.
  std::string value(4095 - 14, 'a');
  EXPECT_EQ(Parse("lib-classpath=" + value + "\n").lib_classpath, WString(value.begin(), value.end()));

  std::string longer = "lib-classpath=" + std::string(4095 - 14, 'b') + "jrehome=C:\\tail\n";
  LaunchSettings s = Parse(longer);
  EXPECT_EQ(s.lib_classpath, WString(4095 - 14, u'b'));
  EXPECT_EQ(s.jrehome, u"C:\\tail");

  std::string no_key = "lib-classpath=" + std::string(4095 - 14, 'c') + "xjrehome=C:\\tail\n";
  EXPECT_EQ(Parse(no_key).jrehome, u"");
}

TEST_F(ParseConfigFile, KeepsAValueLongerThanAPathWhole) {
  std::string path = "C:\\" + std::string(400, 'p');
  EXPECT_EQ(Parse("install_dir=" + path + "\n").install_dir, WString(path.begin(), path.end()));
}

TEST_F(ParseConfigFile, AMissingFileIsFatalWithTheOpenError) {
  struct Case {
    const char16_t* path;
    uint32_t code;
  } cases[] = {
      {u"C:\\Apps\\Finance\\ledgrix.boot", 2},
      {u"C:\\Nowhere\\ledgrix.boot", 3},
  };
  for (const Case& c : cases) {
    EmulatedPlatform os;
    os.fs().MakeDirectories(u"C:\\Apps\\Finance");
    ScopedPlatform installed(os);
    LaunchSettings settings;
    try {
      parseConfigFile(c.path, settings);
      ADD_FAILURE() << "parseConfigFile returned";
    } catch (const EmulatedExit& exit) {
      EXPECT_EQ(exit.exit_code, c.code);
    }
    ASSERT_EQ(os.boxes().size(), 1u);
    WString system_text;
    os.FormatSystemMessage(c.code, &system_text);
    EXPECT_EQ(os.boxes()[0].text, u"Unable to open file: " + WString(c.path) + u"\nparseConfigFile failed with error " +
                                      DecimalText(c.code) + u": " + system_text +
                                      u"\nPlease reinstall the application");
    EXPECT_EQ(os.boxes()[0].caption, u"Error");
    EXPECT_EQ(os.boxes()[0].style, 0x10u);
  }
}

TEST_F(ParseConfigFile, AReadErrorKeepsWhatWasReadBefore) {
  std::string bytes = "jrehome=C:\\first\n" + std::string(5000, '#') + "\njrehome=C:\\second\n";
  os_.fs().WriteFile(kBootPath, bytes);
  os_.FailNext(Op::ReadFile, err::kAccessDenied, 2);
  LaunchSettings settings;
  parseConfigFile(kBootPath, settings);
  EXPECT_EQ(settings.jrehome, u"C:\\first");
}

TEST_F(ParseConfigFile, ClosesTheFile) {
  Parse("jrehome=C:\\jre\n");
  EXPECT_EQ(os_.open_handle_count(), 0u);
}

}  // namespace
